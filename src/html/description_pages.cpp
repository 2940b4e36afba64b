// The description pages: one HTML page per item, assembled from the page templates (head, the
// Syntax block with the declaration, up to sixteen sections in a fixed order, and the end with
// the creation time) and written whole into the project directory.
//
// Documentation text is copied through unchanged, so HTML written into a comment block reaches
// the page as HTML. Reads the items and the settings; changes nothing but the files and the
// run's progress position.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scan_source.h"
#include "html/cross_link.h"
#include "html/output_files.h"
#include "html/page_sections.h"
#include "html/placeholders.h"
#include "html/search_pages.h"
#include "scan/syl_item.h"
#include "support/file_output.h"
#include "support/text_format.h"
#include "support/zt_string.h"
#include "support/zt_time.h"

namespace sylva {

namespace {

constexpr std::string_view kProgressStatus = "Generate html description file %s...";
constexpr std::string_view kProtocolLine = "    %s to HTML %s (type: %s)";
constexpr std::string_view kOpenFailure = "    ERROR: Cannot access to HTML-file %s !";
constexpr std::string_view kPreStart = "<pre>";
constexpr std::string_view kPreEnd = "</pre>";
// Pre-formatted blocks have a fixed face and size, whatever the configured text font.
constexpr std::string_view kPreFontStart = "<font face=\"Lucida Console\" size=3>";
constexpr std::string_view kPreFontEnd = "</font>";
constexpr std::string_view kLineBreak = "<BR>";
constexpr std::string_view kProductNotice = "Sylva " SYLVA_VERSION;

// What every page of one stage call shares.
struct PageContext {
    const CZTScanSource& generator;
    bool markerImages;
    std::string timeText;
    bool search;
};

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return FindNoCase(text, part) != std::string_view::npos;
}

void AppendPageHead(std::string& page, const PageContext& context, const CSylItem& item,
                    std::string_view typeLabel) {
    const CZTScanSource& generator = context.generator;
    std::string head;
    if (context.markerImages) {
        head = FillTemplate(
            generator.Setting(SYL_HTML_DESC_FILE_START_GIF),
            {{placeholder::kGifFile, item.accessRank == 200 ? kRedImage : kGreenImage}});
    } else {
        head = generator.Setting(SYL_HTML_DESC_FILE_START);
    }
    AppendLine(page,
               FillTemplate(head, {{placeholder::kFont, generator.Setting(SYL_STD_FONT_HEADER)},
                                   {placeholder::kHtmlTitle, item.name},
                                   {placeholder::kFncTitle, item.name},
                                   {placeholder::kShortDesc, typeLabel}}));
}

void AppendSectionHeading(std::string& page, const CZTScanSource& generator,
                          std::string_view heading) {
    AppendLine(page, FillTemplate(generator.Setting(SYL_HTML_DESC_CNT_HEADER),
                                  {{placeholder::kFont, generator.Setting(SYL_STD_FONT_HEADER)},
                                   {placeholder::kCntHeader, heading}}));
}

void AppendSyntaxBlock(std::string& page, const CZTScanSource& generator,
                       const std::string& declaration) {
    AppendSectionHeading(page, generator, generator.Setting(SYL_Q_SYNTAX));
    // A line break inside the declaration would end the pre-formatted line early.
    CZTString shown(declaration);
    shown.FindReplaceNoCase(kLineBreak, " ");
    AppendLine(page, FillTemplate(generator.Setting(SYL_HTML_DESC_CNT_TEXT_PRE_BOLD),
                                  {{placeholder::kFont, generator.Setting(SYL_STD_FONT_TEXT)},
                                   {placeholder::kCntText, shown}}));
}

// Writes the lines of one section. A line holding "<pre>" opens a pre-formatted block in the
// fixed font and the lines up to the one holding "</pre>" are written as they stand; every other
// line gets "<BR>" when `lineBreak` is set. A block left open is not closed: the mode belongs to
// this one section.
void AppendSection(std::string& page, const CZTScanSource& generator, std::string_view heading,
                   const CZTStringArray& lines, bool lineBreak) {
    if (lines.IsEmpty()) {
        return;
    }
    AppendSectionHeading(page, generator, heading);
    AppendLine(page, FillTemplate(generator.Setting(SYL_HTML_DESC_CNT_TEXT_START),
                                  {{placeholder::kFont, generator.Setting(SYL_STD_FONT_TEXT)}}));
    bool preformatted = false;
    for (const std::string& line : lines) {
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
    AppendLine(page, generator.Setting(SYL_HTML_DESC_CNT_TEXT_END));
}

void AppendPageEnd(std::string& page, const PageContext& context) {
    AppendLine(page,
               FillTemplate(context.generator.Setting(SYL_HTML_DESC_FILE_END),
                            {{placeholder::kFont, context.generator.Setting(SYL_STD_FONT_HEADER)},
                             {placeholder::kDateTime, context.timeText},
                             {placeholder::kZTCopyright, kProductNotice}}));
}

// A description page with the type label it shows, and its entry of the search index when the
// run writes one.
struct BuiltPage {
    std::string text;
    std::string typeLabel;
    std::optional<IndexedEntry> searchEntry;
};

std::string BuildPage(const PageContext& context, const CSylItem& item, const ItemText& text,
                      std::string_view typeLabel) {
    const CZTScanSource& generator = context.generator;
    std::string page;
    AppendPageHead(page, context, item, typeLabel);
    if (item.hasSyntax == 1) {
        AppendSyntaxBlock(page, generator, text.declaration);
    }
    for (const SectionRow& row : kPageSections) {
        if (generator.options.*row.enabled == 0) {
            continue;
        }
        bool lineBreak = !(row.kind == kSectionParameter && text.hasParamTable == 1);
        AppendSection(page, generator, generator.Setting(row.heading), text.sections[row.kind],
                      lineBreak);
    }
    AppendPageEnd(page, context);
    return page;
}

// The page of `item`: from the text it holds, or, when it dropped it, from its text derived
// again and linked as the run links item names.
BuiltPage BuildItemPage(const PageContext& context, const CSylItem& item) {
    auto built = [&context, &item](const ItemText& text, std::string typeLabel) {
        BuiltPage page{BuildPage(context, item, text, typeLabel), std::move(typeLabel), {}};
        if (context.search) {
            page.searchEntry = SearchEntryOf(context.generator, item, text, page.typeLabel);
        }
        return page;
    };
    if (item.HasPageText()) {
        const ItemDetails& details = item.Details();
        return built(details, details.typeLabel);
    }
    ItemText text = item.DerivePageText();
    // The type label comes from the Doc type lines, which linking may change.
    std::string typeLabel = item.TypeLabel(text);
    if (context.generator.options.linkItemNames != 0) {
        LinkItemText(context.generator, text, item.name);
    }
    return built(text, std::move(typeLabel));
}

}  // namespace

int CZTScanSource::WriteDescriptionPages() {
    // The images cannot come or go while the run writes its pages; one look serves them all.
    const PageContext context{*this, MarkerImagesInstalled(outputPath),
                              CZTTime::Now().GetTimeAsString(), SearchEnabled(*this)};
    std::optional<SearchIndexWriter> searchIndex;
    if (context.search) {
        searchIndex.emplace(SearchFileWriter(*this));
    }
    const std::vector<CSylItem*> pageItems = ItemsWithPages(*this);
    Keywords();
    // The pages are built on the other threads and written on this one: files created in one
    // directory by several threads at once wait for each other in the file system, and the
    // waiting costs far more than building a page.
    RunInOrder<BuiltPage>(
        pageItems.size(), WorkersFor(threadCount, true),
        [&](std::size_t i) { return BuildItemPage(context, *pageItems[i]); },
        [&](std::size_t i, BuiltPage& page) {
            const CSylItem& item = *pageItems[i];
            ProgressStatus(FormatLine(kProgressStatus, {item.name}));
            AdvanceProgress();
            Protocol(FormatLine(kProtocolLine, {item.name, item.PageFile(), page.typeLabel}));
            (void)WriteOutputFile(*this, item.PagePath(), page.text, kOpenFailure, WriteWholeFile);
            if (searchIndex) {
                searchIndex->Add(std::move(*page.searchEntry));
            }
        });
    if (searchIndex) {
        FinishSearchIndex(*this, *searchIndex);
    }
    return 1;
}

}  // namespace sylva
