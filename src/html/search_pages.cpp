#include "html/search_pages.h"

#include <array>

#include "html/output_files.h"
#include "html/page_names.h"
#include "html/page_sections.h"
#include "html/search_text.h"
#include "support/file_output.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kWritingIndex = "  Generating search index for %s items...";
constexpr std::string_view kOpenFailure = "    ERROR: Cannot access to search file %s !";
// Longer first sentences are cut in the result list.
constexpr std::size_t kSummaryLimit = 160;

void AppendPlainLines(std::string& out, const CZTStringArray& lines, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        std::string plain = PlainTextOfHtml(lines.GetAt(static_cast<int>(i)));
        if (plain.empty()) {
            continue;
        }
        if (!out.empty()) {
            out.push_back(' ');
        }
        out.append(plain);
    }
}

}  // namespace

bool SearchEnabled(const Settings& settings) {
    return IsSwitchedOn(settings[SYL_HTML_SEARCH]);
}

IndexedEntry SearchEntryOf(const PageJob& job, const CSylItem& item, const PageText& text) {
    const RunOptions& options = job.options;
    SearchEntry entry;
    entry.name = item.name;
    entry.page = LinkTarget(PageFile(item));
    entry.group = item.group;
    entry.type = PlainTextOfHtml(text.typeText);
    for (const SectionRow& row : kPageSections) {
        if (options.*row.enabled == 0 || row.kind == kSectionSeeAlso ||
            row.kind == kSectionDocType) {
            continue;
        }
        const CZTStringArray& lines = text.sections[row.kind];
        std::size_t count = static_cast<std::size_t>(lines.GetSize());
        // The run ends every History section with the source file's date (AddHistoryDate).
        if (row.kind == kSectionHistory && options.addHistoryDate != 0 && count > 0) {
            --count;
        }
        AppendPlainLines(row.kind == kSectionDescription ? entry.description : entry.other, lines,
                         count);
    }
    entry.summary = FirstSentence(entry.description, kSummaryLimit);
    return IndexSearchEntry(entry);
}

SearchIndexWriter::FileWriter SearchFileWriter(PageJob& job) {
    return [&job](const std::string& name, std::string_view content) {
        return WriteOutputFile(job.reporter, job.project.Directory() + "/" + name, content,
                               kOpenFailure, WriteWholeFile);
    };
}

void FinishSearchIndex(PageJob& job, SearchIndexWriter& index) {
    job.reporter.Protocol(FormatLine(kWritingIndex, {std::to_string(index.Count())}));
    (void)index.Finish();
}

}  // namespace sylva
