#include "html/search_pages.h"

#include <array>

#include "engine/scan_source.h"
#include "html/output_files.h"
#include "html/page_sections.h"
#include "html/search_text.h"
#include "scan/syl_item.h"
#include "support/file_output.h"
#include "support/link_target.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::array<std::string_view, 4> kSwitchedOn = {"1", "ON", "YES", "TRUE"};
constexpr std::string_view kWritingIndex = "  Generating search index for %s items...";
constexpr std::string_view kOpenFailure = "    ERROR: Cannot access to search file %s !";
// The type label shows the group, a line break and the kind in parentheses.
constexpr std::string_view kTypeOpening = "<BR>(";
constexpr std::string_view kTypeClosing = ")";
// Longer first sentences are cut in the result list.
constexpr std::size_t kSummaryLimit = 160;

// The kind of item a type label names ("Public Constructor" of "Beds<BR>(Public Constructor)").
std::string KindOf(std::string_view typeLabel, std::string_view group) {
    std::string_view rest = typeLabel;
    if (rest.starts_with(group) && rest.substr(group.size()).starts_with(kTypeOpening) &&
        rest.ends_with(kTypeClosing)) {
        rest = rest.substr(group.size() + kTypeOpening.size());
        rest.remove_suffix(kTypeClosing.size());
    }
    return PlainTextOfHtml(rest);
}

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

bool SearchEnabled(const CZTScanSource& generator) {
    std::string_view value = TrimView(generator.Setting(SYL_HTML_SEARCH), " \t");
    for (std::string_view on : kSwitchedOn) {
        if (EqualsNoCase(value, on)) {
            return true;
        }
    }
    return false;
}

IndexedEntry SearchEntryOf(const CZTScanSource& generator, const CSylItem& item,
                           const ItemText& text, std::string_view typeLabel) {
    const RunOptions& options = generator.options;
    SearchEntry entry;
    entry.name = item.name;
    entry.page = LinkTarget(item.PageFile());
    entry.group = item.group;
    entry.type = KindOf(typeLabel, item.group);
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

SearchIndexWriter::FileWriter SearchFileWriter(CZTScanSource& generator) {
    return [&generator](const std::string& name, std::string_view content) {
        return WriteOutputFile(generator,
                               generator.outputPath + "/" + generator.projectDirName + "/" + name,
                               content, kOpenFailure, WriteWholeFile);
    };
}

void FinishSearchIndex(CZTScanSource& generator, SearchIndexWriter& index) {
    generator.Protocol(FormatLine(kWritingIndex, {std::to_string(index.Count())}));
    (void)index.Finish();
}

}  // namespace sylva
