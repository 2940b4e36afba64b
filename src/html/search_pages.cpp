#include "html/search_pages.h"

#include <array>

#include "html/output_files.h"
#include "html/page_names.h"
#include "html/page_sections.h"
#include "html/search_text.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kWritingIndex = "  Generating search index for %s items...";
constexpr std::string_view kOpenFailure = "    ERROR: Cannot access to search file %s !";
// Longer first sentences are cut in the result list.
constexpr std::size_t kSummaryLimit = 160;

// What marks an item deprecated: a deprecation note in its description (the doxygen style's
// @deprecated), or the attribute in its declaration.
constexpr std::string_view kDeprecatedNote = "<dl class=\"note deprecated\">";
constexpr std::array<std::string_view, 3> kDeprecatedAttributes = {
    "[[deprecated", "__attribute__((deprecated", "__declspec(deprecated"};

bool IsDeprecated(const CSylItem& item, const CZTStringArray& description) {
    const std::string_view declaration = item.Declaration();
    for (std::string_view attribute : kDeprecatedAttributes) {
        if (declaration.find(attribute) != std::string_view::npos) {
            return true;
        }
    }
    for (int i = 0; i < description.GetSize(); ++i) {
        if (description.GetAt(i).find(kDeprecatedNote) != std::string::npos) {
            return true;
        }
    }
    return false;
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

bool SearchEnabled(const Settings& settings) {
    return IsSwitchedOn(settings[SYL_HTML_SEARCH]);
}

IndexedEntry SearchEntryOf(const PageJob& job, const CSylItem& item, const PageText& text) {
    const RunOptions& options = job.options;
    SearchEntry entry;
    entry.name = item.name;
    entry.page = LinkTarget(PageFile(item));
    entry.group = item.ShownGroup();
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
    entry.deprecated = IsDeprecated(item, text.sections[kSectionDescription]);
    return IndexSearchEntry(entry);
}

SearchFeed::SearchFeed(PageJob& job)
    : job_(job),
      writer_([&job](const std::string& name, std::string_view content) {
          return WriteOutputFile(job, job.project.Directory() + "/" + name, {content},
                                 OutputKind::kSearchIndex, kOpenFailure);
      }),
      deferring_(job.memo != nullptr) {}

void SearchFeed::AddRecorded(const CSylItem& item, std::string_view encoded) {
    ++count_;
    sequence_.Add(DigestOf(encoded));
    if (deferring_) {
        deferred_.push_back(&item);
        return;
    }
    writer_.Add(DecodeIndexedEntry(encoded).value_or(IndexedEntry{}));
}

std::string SearchFeed::AddBuilt(const CSylItem& item, IndexedEntry entry) {
    ++count_;
    std::string encoded = EncodeIndexedEntry(entry);
    sequence_.Add(DigestOf(encoded));
    if (deferring_) {
        const PageRecord* previous = job_.memo->Previous(item);
        if (previous != nullptr && previous->searchEntry == encoded) {
            deferred_.push_back(&item);
            return encoded;
        }
        StopDeferring();
    }
    writer_.Add(std::move(entry));
    return encoded;
}

void SearchFeed::StopDeferring() {
    deferring_ = false;
    for (const CSylItem* item : deferred_) {
        // A deferred entry is the one its page's last record holds.
        writer_.Add(
            DecodeIndexedEntry(job_.memo->Previous(*item)->searchEntry).value_or(IndexedEntry{}));
    }
    deferred_.clear();
}

void SearchFeed::Finish() {
    job_.reporter.Protocol(FormatLine(kWritingIndex, {std::to_string(count_)}));
    const bool fresh = job_.memo != nullptr && job_.memo->SearchIndexFresh(sequence_.Finish());
    if (fresh && deferring_) {
        return;
    }
    if (deferring_) {
        StopDeferring();
    }
    (void)writer_.Finish();
}

}  // namespace sylva
