// Scanning a file of the doxygen style: its documented items, filed into the run's item list.
#include "scan/doxygen/reader.h"

namespace sylva {

int ScanDoxygenContent(ScanJob& job, std::string_view content, const std::string& path,
                       CZTTime lastWrite) {
    Reporter& reporter = job.reporter;
    std::vector<DoxygenItem> documented = ReadDoxygenComments(
        content, [&](int line, std::string_view text) { reporter.Warning(path, line, text); });
    if (documented.empty()) {
        return 0;
    }
    std::string_view sourceName = job.items.KeepSourceName(path);
    for (const DoxygenItem& item : documented) {
        reporter.Advance();
        job.items.Add(job.settings, item, {{}, {}, lastWrite, sourceName, item.line});
    }
    return static_cast<int>(documented.size());
}

}  // namespace sylva
