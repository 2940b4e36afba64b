// Rendering an item's neutral text into the lines of its page.
#include "html/page_text.h"

#include <algorithm>

#include "html/html_markup.h"
#include "html/name_links.h"
#include "html/page_names.h"
#include "html/placeholders.h"
#include "html/scope_sections.h"
#include "scan/rich_text.h"
#include "scan/sorted_lines.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kTypeLabel = "%s<BR>(%s)";
// What a group's page names in place of its group: its own title already heads the page.
constexpr std::string_view kGroupTypeWord = "Group";
constexpr std::string_view kParameterName = "<I>%s</I>";
// A member row's name carries the anchor that links to the member lead to: its first name; each
// further name a declaration declares ("int x, y;") has an anchor of its own before it.
constexpr std::string_view kMemberName = "<I id=\"%s\">%s</I>";
constexpr std::string_view kFurtherAnchor = "<a id=\"%s\"></a>";
// A documented parameter's direction follows its name.
constexpr std::string_view kParameterDirection = " [%s]";
constexpr std::string_view kProjectIndexLinkName = "Project description index";
constexpr std::string_view kScope = "::";
// A place where a browser may break the line, taken only where the name does not fit.
constexpr std::string_view kScopeWithBreak = "::<wbr>";
constexpr std::string_view kMainLink = "<a href=\"[LinkedFile]\" target=\"_top\">Main</a><BR>";
constexpr std::string_view kMainTarget = "../%s";
constexpr std::string_view kLineBreak = "<BR>";
constexpr std::string_view kDeclaredAt =
    "<p class=\"declared\">Declared in <code>%s</code>, line %s.</p>";

// A link line of the See also section: `linkTemplate` with its target and its text filled in.
std::string MakeLink(std::string_view linkTemplate, std::string_view target,
                     std::string_view text) {
    return FillTemplate(linkTemplate,
                        {{placeholder::kLinkedFile, target}, {placeholder::kLinkName, text}});
}

// Where the references and the plain words of an item of the doxygen style lead.
struct PageLinks {
    LinkLookup references;
    LinkLookup words;
};

// The name cell of a member row: its further anchors, then the names with the first anchor.
std::string AnchoredMemberName(std::string_view names) {
    std::string cell;
    std::string_view first = names.substr(0, names.find(kRowNameSeparator));
    for (std::size_t at = first.size(); at < names.size();) {
        at += kRowNameSeparator.size();
        std::size_t end = std::min(names.find(kRowNameSeparator, at), names.size());
        cell.append(FormatLine(kFurtherAnchor, {HtmlEscaped(names.substr(at, end - at))}));
        at = end;
    }
    cell.append(FormatLine(kMemberName, {HtmlEscaped(first), HtmlEscaped(names)}));
    return cell;
}

// The Parameter section as a table: its start, one row per parameter, its end. `links`
// renders the rows of an item of the doxygen style, whose names are plain and whose comments are
// rich text; without it a row is HTML as written. `members`: the rows are members (data members,
// enumerators) that links lead to by their anchors.
void RenderParameterTable(const Settings& settings, const std::vector<ParameterRow>& rows,
                          const PageLinks* links, bool members, CZTStringArray& lines) {
    lines.Add(settings[SYL_HTML_STD_PARAM_TABLE_START]);
    for (const ParameterRow& row : rows) {
        // A member's type and tail stand around its name as its declaration writes them.
        std::string name = HtmlEscaped(row.type);
        name.append(members
                        ? AnchoredMemberName(row.name)
                        : FormatLine(kParameterName, {links ? HtmlEscaped(row.name) : row.name}));
        name.append(HtmlEscaped(row.tail));
        if (!row.direction.empty()) {
            name.append(FormatLine(kParameterDirection, {HtmlEscaped(row.direction)}));
        }
        lines.Add(
            FillTemplate(settings[SYL_HTML_STD_PARAM_ROW],
                         {{placeholder::kFont, settings[SYL_STD_FONT_TEXT]},
                          {placeholder::kLinkName, name},
                          {placeholder::kShortDesc,
                           links ? RenderRichText(row.comment, links->references, links->words)
                                 : row.comment}}));
    }
    lines.Add(settings[SYL_HTML_STD_PARAM_TABLE_END]);
}

// Every section of an item of the doxygen style as HTML; See also only when `seeAlsoAsText`,
// else its names become links.
void RenderRichSections(const PageLinks& links, bool seeAlsoAsText, SectionLists& sections) {
    for (int kind = 0; kind < kSectionCount; ++kind) {
        if (kind == kSectionSeeAlso && !seeAlsoAsText) {
            continue;
        }
        CZTStringArray& section = sections[kind];
        std::vector<std::string_view> lines(section.begin(), section.end());
        std::vector<std::string> rendered = RenderRichLines(lines, links.references, links.words);
        for (std::size_t i = 0; i < rendered.size(); ++i) {
            // A line of inline text (a name, a type word) ends with a break; a block carries its
            // own.
            if (!rich::StartsWithBlock(lines[i])) {
                rendered[i].append(kLineBreak);
            }
        }
        section.Lines().assign(std::make_move_iterator(rendered.begin()),
                               std::make_move_iterator(rendered.end()));
    }
}

// Every See also line becomes a link to the plain page of the name it gives (never a numbered
// page); links to the project index and, as "Main", to the master index one directory up follow.
// With `links` (an item of the doxygen style) a line that names a listed item links to it
// as the references resolve it, and any other line is rich text.
void RenderSeeAlsoLinks(const Settings& settings, const Project& project, const PageLinks* links,
                        CZTStringArray& lines) {
    const std::string& linkTemplate = settings[SYL_HTML_STD_LINK];
    for (std::string& line : lines.Lines()) {
        std::string_view name = SeeAlsoName(line);
        if (links == nullptr) {
            line = MakeLink(linkTemplate, LinkTarget(PlainPageFile(name)), name);
        } else if (std::optional<std::string> page = links->references(name)) {
            line = MakeLink(linkTemplate, LinkTarget(*page), HtmlEscaped(name));
        } else {
            line = RenderRichText(line, links->references, links->words);
            line.append(kLineBreak);
        }
    }
    lines.Add(MakeLink(linkTemplate, LinkTarget(ProjectIndexFile(project.directoryName)),
                       kProjectIndexLinkName));
    lines.Add(FillTemplate(kMainLink,
                           {{placeholder::kLinkedFile,
                             LinkTarget(FormatLine(kMainTarget, {project.masterIndexName}))}}));
}

}  // namespace

std::string_view ShownText(const CSylItem& item, std::string_view text, std::string& escaped) {
    if (item.style != CommentStyle::kDoxygen) {
        return text;
    }
    escaped = HtmlEscaped(text);
    return escaped;
}

std::string_view ShownName(const CSylItem& item, std::string& escaped) {
    return ShownText(item, item.name, escaped);
}

std::string_view ShownBreakableName(const CSylItem& item, std::string& escaped) {
    std::string_view shown = ShownName(item, escaped);
    if (item.style != CommentStyle::kDoxygen) {
        return shown;
    }
    for (std::size_t at = escaped.find(kScope); at != std::string::npos;
         at = escaped.find(kScope, at)) {
        escaped.replace(at, kScope.size(), kScopeWithBreak);
        at += kScopeWithBreak.size();
    }
    return escaped;
}

std::string_view ShownGroup(const CSylItem& item, std::string& escaped) {
    return ShownText(item, item.ShownGroup(), escaped);
}

std::string ShownShortDescription(const CSylItem& item, const Settings& settings,
                                  const ItemList& items) {
    std::string text = ShortDescription(item, settings);
    return item.style == CommentStyle::kDoxygen ? RenderRichText(text, ReferencesOf(item, items))
                                                : text;
}

std::string ShownMemberBrief(const CSylItem& member, const CSylItem& table,
                             const Settings& settings, const ItemList& items,
                             const ScopeIndex& scopes) {
    // A word naming the scope whose page shows the table would lead to the page it stands on.
    const LinkLookup words = [own = WordLinksOf(member, items, &scopes),
                              here = PlainPageFile(table.name, CommentStyle::kDoxygen)](
                                 std::string_view name) -> std::optional<std::string> {
        std::optional<std::string> target = own(name);
        return target == here ? std::nullopt : target;
    };
    return RenderRichText(ShortDescription(member, settings), ReferencesOf(member, items, &scopes),
                          words);
}

LinkLookup ReferencesOf(const CSylItem& item, const ItemList& items, const ScopeIndex* scopes) {
    return [&items, scopes,
            scope = LookupScope(item)](std::string_view name) -> std::optional<std::string> {
        name = WithoutParameterList(name);
        std::optional<std::string> listed = ResolveFromScopes(items, name, scope, scopes);
        // A reference may name a page by its label, which its title replaced as its name.
        if (!listed) {
            listed = items.LabelledName(name);
        }
        if (listed) {
            return PlainPageFile(*listed, CommentStyle::kDoxygen);
        }
        // "@ref label" names a group by the label it was defined with.
        if (const CSylItem* group = items.LabelledGroup(name)) {
            return PageFile(*group);
        }
        return RowOrElsewhere(items, name, scope, scopes);
    };
}

PageText RenderPageText(const CSylItem& item, ItemText text, const Settings& settings,
                        const RunOptions& options, const Project& project, const ItemList& items,
                        const ScopeIndex* scopes) {
    const bool rich = item.style == CommentStyle::kDoxygen;
    const PageLinks links =
        rich ? PageLinks{ReferencesOf(item, items, scopes), WordLinksOf(item, items, scopes)}
             : PageLinks{};
    PageText page;
    page.declaration =
        rich ? LinkedDeclaration(text.declaration, links.words) : std::move(text.declaration);
    page.sections = std::move(text.sections);
    page.hasParamTable = text.hasParamTable;
    if (rich) {
        RenderRichSections(links, options.sectionSeeAlso == 0, page.sections);
    }
    if (text.hasParamTable) {
        RenderParameterTable(settings, text.parameterRows, rich ? &links : nullptr,
                             !RowsHeading(item).empty(), page.sections[kSectionParameter]);
    }
    if (!text.templateRows.empty()) {
        RenderParameterTable(settings, text.templateRows, &links, false, page.templateParameters);
    }
    if (options.sectionSeeAlso != 0) {
        RenderSeeAlsoLinks(settings, project, rich ? &links : nullptr,
                           page.sections[kSectionSeeAlso]);
    }
    std::string escapedGroup;
    const std::string_view group =
        GroupLabel(item) ? kGroupTypeWord : ShownGroup(item, escapedGroup);
    page.typeLabel = FormatLine(kTypeLabel, {group, text.typeText});
    page.typeText = std::move(text.typeText);
    return page;
}

std::string DeclaredAt(const CSylItem& item, std::string_view scanPath) {
    std::string_view path = item.sourceFile;
    const int line = item.declarationLine > 0 ? item.declarationLine : item.sourceLine;
    if (path.empty() || line <= 0) {
        return {};
    }
    if (!scanPath.empty() && path.size() > scanPath.size() && path.starts_with(scanPath) &&
        path[scanPath.size()] == '/') {
        path.remove_prefix(scanPath.size() + 1);
    }
    return FormatLine(kDeclaredAt, {HtmlEscaped(path), std::to_string(line)});
}

PageText DerivePageText(const CSylItem& item, const PageJob& job, PageTextReader* reader,
                        std::string* read, const ScopeIndex* scopes) {
    ItemText derived = DeriveItemText(item, job.settings, job.options);
    if (reader != nullptr) {
        // What the reader looks up is not what the page shows: it must not decide whether the
        // page is fresh next time.
        NameLookups apart;
        const NameLookups::Recording aside(apart);
        *read = reader->Read(item, &derived);
    }
    PageText page = RenderPageText(item, std::move(derived), job.settings, job.options, job.project,
                                   job.items, scopes);
    if (item.style == CommentStyle::kDoxygen) {
        page.declaredAt = DeclaredAt(item, job.scanPath);
    }
    return page;
}

}  // namespace sylva
