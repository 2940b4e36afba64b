// The description pages: one HTML page per item, assembled from the page templates (head, the
// Syntax block with the declaration, up to sixteen sections in a fixed order, and the end with
// the creation time) and written whole into the project directory.
//
// Documentation text is copied through unchanged, so HTML written into a comment block reaches
// the page as HTML. Reads the items and the settings; changes nothing but the files and the
// run's progress position.
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/cross_link.h"
#include "html/output_files.h"
#include "html/page_names.h"
#include "html/page_sections.h"
#include "html/page_text.h"
#include "html/placeholders.h"
#include "html/scope_sections.h"
#include "html/search_pages.h"
#include "support/ordered_work.h"
#include "support/text_format.h"
#include "support/zt_string.h"
#include "support/zt_time.h"

namespace sylva {

namespace {

constexpr std::string_view kProtocolLine = "    %s to HTML %s (type: %s)";
constexpr std::string_view kOpenFailure = kPageOpenFailure;
constexpr std::string_view kPreStart = "<pre>";
constexpr std::string_view kPreEnd = "</pre>";
// Pre-formatted blocks have a fixed face and size, whatever the configured text font.
constexpr std::string_view kPreFontStart = "<font face=\"Lucida Console\" size=3>";
constexpr std::string_view kPreFontEnd = "</font>";
constexpr std::string_view kLineBreak = "<BR>";
constexpr std::string_view kImageUnreadable = "    ERROR: Cannot read the image %s !";
constexpr std::string_view kTemplateParametersHeading = "Template parameters:";

// What every page of one stage call shares.
struct PageContext {
    const PageJob& job;
    bool markerImages;
    std::string timeText;
    bool search;
    const ScopeIndex& scopes;
};

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return FindNoCase(text, part) != std::string_view::npos;
}

void AppendPageHead(std::string& page, const PageContext& context, const CSylItem& item,
                    std::string_view typeLabel) {
    const Settings& settings = context.job.settings;
    std::string head;
    if (context.markerImages) {
        head = FillTemplate(
            settings[SYL_HTML_DESC_FILE_START_GIF],
            {{placeholder::kGifFile, item.accessRank == 200 ? kRedImage : kGreenImage}});
    } else {
        head = settings[SYL_HTML_DESC_FILE_START];
    }
    std::string escapedName;
    const std::string_view name = ShownName(item, escapedName);
    std::string breakableEscaped;
    const std::string_view breakableName = ShownBreakableName(item, breakableEscaped);
    AppendLine(page, FillTemplate(head, {{placeholder::kFont, settings[SYL_STD_FONT_HEADER]},
                                         {placeholder::kHtmlTitle, name},
                                         {placeholder::kFncTitle, breakableName},
                                         {placeholder::kShortDesc, typeLabel}}));
}

void AppendSectionHeading(std::string& page, const Settings& settings, std::string_view heading) {
    AppendLine(page, FillTemplate(settings[SYL_HTML_DESC_CNT_HEADER],
                                  {{placeholder::kFont, settings[SYL_STD_FONT_HEADER]},
                                   {placeholder::kCntHeader, heading}}));
}

void AppendSyntaxBlock(std::string& page, const Settings& settings,
                       const std::string& declaration) {
    AppendSectionHeading(page, settings, settings[SYL_Q_SYNTAX]);
    // A line break inside the declaration would end the pre-formatted line early.
    CZTString shown(declaration);
    shown.FindReplaceNoCase(kLineBreak, " ");
    AppendLine(page, FillTemplate(settings[SYL_HTML_DESC_CNT_TEXT_PRE_BOLD],
                                  {{placeholder::kFont, settings[SYL_STD_FONT_TEXT]},
                                   {placeholder::kCntText, shown}}));
}

// How the lines of a section are written.
enum class SectionLines {
    kBroken,     // marker-block text: "<pre>" blocks in the fixed font, other lines with "<BR>"
    kUnbroken,   // the same without "<BR>" (a parameter table)
    kBlockHtml,  // rich text rendered: HTML blocks that carry their own breaks, written as they are
};

// Writes the lines of one section. Unless they are block HTML, a line holding "<pre>" opens a
// pre-formatted block in the fixed font and the lines up to the one holding "</pre>" are written
// as they stand; every other line gets "<BR>" when broken. A block left open is not closed: the
// mode belongs to this one section.
void AppendSection(std::string& page, const Settings& settings, std::string_view heading,
                   const CZTStringArray& lines, SectionLines form) {
    if (lines.IsEmpty()) {
        return;
    }
    AppendSectionHeading(page, settings, heading);
    AppendLine(page, FillTemplate(settings[SYL_HTML_DESC_CNT_TEXT_START],
                                  {{placeholder::kFont, settings[SYL_STD_FONT_TEXT]}}));
    const bool lineBreak = form == SectionLines::kBroken;
    bool preformatted = false;
    for (const std::string& line : lines) {
        if (form == SectionLines::kBlockHtml) {
            AppendLine(page, line);
            continue;
        }
        if (ContainsNoCase(line, kPreStart)) {
            page.append(kPreFontStart);
            AppendLine(page, line);
            preformatted = true;
            continue;
        }
        if (preformatted) {
            if (!ContainsNoCase(line, kPreEnd)) {
                AppendLine(page, line);
                continue;
            }
            page.append(kPreFontEnd);
            preformatted = false;
        }
        page.append(line);
        AppendLine(page, lineBreak ? kLineBreak : std::string_view());
    }
    AppendLine(page, settings[SYL_HTML_DESC_CNT_TEXT_END]);
}

// The page end, which holds the run's date, with `timeText` as the date.
std::string PageEnd(const PageContext& context, std::string_view timeText) {
    return DescriptionPageEnd(context.job.settings, timeText);
}

// A description page with the type label it shows, its entry of the search index when the run
// writes one, and the names it looked up.
struct BuiltPage {
    std::string text;
    // The page end from here on holds the date; undatedEnd is the same end without it.
    std::size_t datedFrom = 0;
    std::string undatedEnd;
    std::string typeLabel;
    std::optional<IndexedEntry> searchEntry;
    std::string indexBrief;  // kept only for a memo
    NameLookups lookups;
    // Whether the page was built; a fresh page is told from the memo's record.
    bool built = false;
    // What the job's text reader made of the page's text.
    std::string read;
};

void BuildPage(const PageContext& context, const CSylItem& item, const PageText& text,
               BuiltPage& built) {
    const Settings& settings = context.job.settings;
    const RunOptions& options = context.job.options;
    std::string& page = built.text;
    AppendPageHead(page, context, item, text.typeLabel);
    if (item.hasSyntax == 1) {
        AppendSyntaxBlock(page, settings, text.declaration);
    }
    for (const SectionRow& row : kPageSections) {
        if (options.*row.enabled == 0) {
            continue;
        }
        SectionLines form = item.style == CommentStyle::kDoxygen ? SectionLines::kBlockHtml
                            : row.kind == kSectionParameter && text.hasParamTable
                                ? SectionLines::kUnbroken
                                : SectionLines::kBroken;
        std::string_view heading = settings[row.heading];
        if (row.kind == kSectionParameter && !RowsHeading(item).empty()) {
            heading = RowsHeading(item);
        }
        if (row.kind == kSectionParameter) {
            AppendSection(page, settings, kTemplateParametersHeading, text.templateParameters,
                          SectionLines::kBlockHtml);
        }
        AppendSection(page, settings, heading, text.sections[row.kind], form);
    }
    if (!text.declaredAt.empty()) {
        AppendLine(page, text.declaredAt);
    }
    built.datedFrom = page.size();
    page.append(PageEnd(context, context.timeText));
    built.undatedEnd = PageEnd(context, "");
}

// The page of `item` with the type label it shows: its text derived again and linked as the run
// links item names. A fresh page is not built.
BuiltPage BuildItemPage(const PageContext& context, const CSylItem& item) {
    const PageJob& job = context.job;
    BuiltPage page;
    if (job.memo != nullptr && job.memo->Fresh(item) != nullptr) {
        if (job.textReader != nullptr) {
            page.read = job.textReader->Read(item, nullptr);
        }
        return page;
    }
    page.built = true;
    const NameLookups::Recording recording(page.lookups);
    PageText text = DerivePageText(item, job, job.textReader, &page.read, &context.scopes);
    // Quoted names link in the default style; the doxygen style links by its references.
    if (job.options.linkItemNames != 0 && item.style == CommentStyle::kSylva) {
        LinkItemText(job.items, text, item.name);
    }
    if (item.style == CommentStyle::kDoxygen) {
        AppendScopeLines(item, context.scopes, job, text.sections[kSectionContent]);
    }
    BuildPage(context, item, text, page);
    page.typeLabel = text.typeLabel;
    if (context.search) {
        page.searchEntry = SearchEntryOf(job, item, text);
    }
    if (job.memo != nullptr) {
        page.indexBrief = ShownShortDescription(item, job.settings, job.items);
    }
    return page;
}

// Copies the images the comments show beside the pages. The scan found each inside the scan
// path; one that cannot be read now is reported like a page that cannot be written.
void CopyImages(PageJob& job) {
    for (const auto& [source, name] : job.items.Images()) {
        std::ifstream in(source, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string path = job.project.Directory() + "/" + name;
        if (!in.good() && !in.eof()) {
            job.reporter.Failure(FormatLine(kImageUnreadable, {source}));
            continue;
        }
        (void)WriteOutputFile(job, path, {bytes}, OutputKind::kImage, kOpenFailure);
    }
}

}  // namespace

int WriteDescriptionPages(PageJob& job) {
    // The images cannot come or go while the run writes its pages; one look serves them all.
    const std::vector<const CSylItem*> pageItems = ItemsWithPages(job);
    std::optional<ScopeIndex> ownScopes;
    const ScopeIndex& scopes =
        job.scopes != nullptr ? *job.scopes : ownScopes.emplace(job.items, pageItems);
    const PageContext context{job, MarkerImagesInstalled(job.project.outputPath),
                              CZTTime::Now().GetTimeAsString(), SearchEnabled(job.settings),
                              scopes};
    std::optional<SearchFeed> search;
    if (context.search) {
        search.emplace(job);
    }
    int written = 0;
    // The pages are built on the other threads and written on this one: files created in one
    // directory by several threads at once wait for each other in the file system, and the
    // waiting costs far more than building a page.
    RunInOrder<BuiltPage>(
        pageItems.size(), WorkersFor(job.threadCount, true),
        [&](std::size_t i) { return BuildItemPage(context, *pageItems[i]); },
        [&](std::size_t i, BuiltPage& page) {
            const CSylItem& item = *pageItems[i];
            const PageRecord* fresh = page.built ? nullptr : job.memo->Fresh(item);
            if (job.textReader != nullptr) {
                job.textReader->Take(item, std::move(page.read));
            }
            job.reporter.Status(FormatLine(kDescriptionPageStatus, {item.name}));
            job.reporter.Advance();
            job.reporter.Protocol(
                FormatLine(kProtocolLine,
                           {item.name, PageFile(item), fresh ? fresh->typeLabel : page.typeLabel}));
            if (fresh != nullptr) {
                ++written;
                if (search) {
                    search->AddRecorded(item, fresh->searchEntry);
                }
                return;
            }
            if (WriteOutputFile(job, PagePath(job.project, item),
                                {page.text, page.datedFrom, page.undatedEnd},
                                OutputKind::kDescriptionPage, kOpenFailure)
                    .ok()) {
                ++written;
            }
            PageRecord record;
            record.typeLabel = std::move(page.typeLabel);
            record.indexBrief = std::move(page.indexBrief);
            if (search) {
                record.searchEntry = search->AddBuilt(item, std::move(*page.searchEntry));
            }
            if (job.memo != nullptr) {
                job.memo->Built(item, std::move(record), page.lookups);
            }
        });
    if (search) {
        search->Finish();
    }
    CopyImages(job);
    return written;
}

}  // namespace sylva
