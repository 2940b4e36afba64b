// Rendering an item's neutral text into the lines of its page.
#include "html/page_text.h"

#include "html/page_names.h"
#include "html/placeholders.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kTypeLabel = "%s<BR>(%s)";
constexpr std::string_view kParameterName = "<I>%s</I>";
constexpr std::string_view kProjectIndexLinkName = "Project description index";
constexpr std::string_view kMainLink = "<a href=\"[LinkedFile]\" target=\"_top\">Main</a><BR>";
constexpr std::string_view kMainTarget = "../%s";

// A link line of the See also section: `linkTemplate` with its target and its text filled in.
std::string MakeLink(std::string_view linkTemplate, std::string_view target,
                     std::string_view text) {
    return FillTemplate(linkTemplate,
                        {{placeholder::kLinkedFile, target}, {placeholder::kLinkName, text}});
}

// The Parameter section as a table: its start, one row per parameter, its end.
void RenderParameterTable(const Settings& settings, const std::vector<ParameterRow>& rows,
                          CZTStringArray& lines) {
    lines.Add(settings[SYL_HTML_STD_PARAM_TABLE_START]);
    for (const ParameterRow& row : rows) {
        lines.Add(FillTemplate(settings[SYL_HTML_STD_PARAM_ROW],
                               {{placeholder::kFont, settings[SYL_STD_FONT_TEXT]},
                                {placeholder::kLinkName, FormatLine(kParameterName, {row.name})},
                                {placeholder::kShortDesc, row.comment}}));
    }
    lines.Add(settings[SYL_HTML_STD_PARAM_TABLE_END]);
}

// Every See also line becomes a link to the plain page of the name it gives (never a numbered
// page); links to the project index and, as "Main", to the master index one directory up follow.
void RenderSeeAlsoLinks(const Settings& settings, const Project& project, CZTStringArray& lines) {
    const std::string& linkTemplate = settings[SYL_HTML_STD_LINK];
    for (std::string& line : lines.Lines()) {
        std::string_view name = SeeAlsoName(line);
        line = MakeLink(linkTemplate, LinkTarget(PlainPageFile(name)), name);
    }
    lines.Add(MakeLink(linkTemplate, LinkTarget(ProjectIndexFile(project.directoryName)),
                       kProjectIndexLinkName));
    lines.Add(FillTemplate(kMainLink,
                           {{placeholder::kLinkedFile,
                             LinkTarget(FormatLine(kMainTarget, {project.masterIndexName}))}}));
}

}  // namespace

PageText RenderPageText(const CSylItem& item, ItemText text, const Settings& settings,
                        const RunOptions& options, const Project& project) {
    PageText page;
    page.declaration = std::move(text.declaration);
    page.sections = std::move(text.sections);
    page.hasParamTable = text.hasParamTable;
    if (text.hasParamTable) {
        RenderParameterTable(settings, text.parameterRows, page.sections[kSectionParameter]);
    }
    if (options.sectionSeeAlso != 0) {
        RenderSeeAlsoLinks(settings, project, page.sections[kSectionSeeAlso]);
    }
    page.typeLabel = FormatLine(kTypeLabel, {item.group, text.typeText});
    return page;
}

PageText DerivePageText(const CSylItem& item, const PageJob& job) {
    return RenderPageText(item, DeriveItemText(item, job.settings, job.options), job.settings,
                          job.options, job.project);
}

}  // namespace sylva
