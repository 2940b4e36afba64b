// Scope sections: a link line to the scope, base and derived lines, and one table per kind of
// member.
#include "html/scope_sections.h"

#include <algorithm>
#include <array>
#include <string>

#include "html/html_markup.h"
#include "html/page_names.h"
#include "html/page_text.h"
#include "scan/cpp/declaration.h"
#include "scan/cpp/declaration_parser.h"
#include "scan/doxygen/items.h"
#include "scan/sorted_lines.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kMemberOf = "Member of";
constexpr std::string_view kInGroup = "In group";
constexpr std::string_view kInherits = "Inherits";
constexpr std::string_view kInheritedBy = "Inherited by";
constexpr std::string_view kLinkLine = "<p class=\"scope\">%s %s</p>";
constexpr std::string_view kLink = "<a href=\"%s\">%s</a>";
constexpr std::string_view kTableHeading = "<h3 class=\"members\">%s</h3>";
constexpr std::string_view kTableStart = "<table class=\"members\">";
constexpr std::string_view kTableRow =
    "<tr><td class=\"member\">%s</td><td class=\"brief\">%s</td></tr>";
constexpr std::string_view kTableEnd = "</table>";
constexpr std::string_view kStaticWord = "static";
constexpr std::string_view kDataMembersHeading = "Data members:";
constexpr std::string_view kValuesHeading = "Values:";

enum class Access : unsigned char { kPublic, kProtected, kPrivate, kCount };
constexpr std::array<std::string_view, static_cast<std::size_t>(Access::kCount)> kAccessWords = {
    "", "protected ", "private "};

// The kinds of member, in the order their tables stand.
enum class Sort : unsigned char {
    kNamespaces,
    kClasses,
    kTypes,
    kFunctions,
    kStaticFunctions,
    kData,
    kStaticData,
    kMacros,
    kCount
};
// What a table of each kind is called on a class page and on any other scope's page.
struct SortWords {
    std::string_view inClass;
    std::string_view elsewhere;
};
constexpr std::array<SortWords, static_cast<std::size_t>(Sort::kCount)> kSortWords = {{
    {"namespaces", "namespaces"},
    {"classes", "classes"},
    {"types", "types"},
    {"member functions", "functions"},
    {"static member functions", "static functions"},
    {"data members", "variables"},
    {"static data members", "static variables"},
    {"macros", "macros"},
}};

bool IsClassLike(DoxygenKind kind) {
    return kind == DoxygenKind::kClass || kind == DoxygenKind::kStruct ||
           kind == DoxygenKind::kUnion;
}

std::string LinkTo(const CSylItem& item, std::string_view shown) {
    return FormatLine(kLink, {LinkTarget(PageFile(item)), HtmlEscaped(shown)});
}

Access AccessOf(const CSylItem& item) {
    Access access = Access::kPublic;
    ForEachSortedLine(item.BlockText(), [&](SectionKind section, std::string_view text) {
        if (section != kSectionDocType) {
            return;
        }
        if (text == kProtectedType) {
            access = Access::kProtected;
        } else if (text == kPrivateType) {
            access = Access::kPrivate;
        }
    });
    return access;
}

// Whether the word "static" stands in the declaration before its parameter list or value.
bool IsStatic(std::string_view declaration) {
    declaration = declaration.substr(0, declaration.find_first_of("(={"));
    for (std::size_t at = declaration.find(kStaticWord); at != std::string_view::npos;
         at = declaration.find(kStaticWord, at + 1)) {
        const std::size_t end = at + kStaticWord.size();
        const bool wordStart = at == 0 || !cpp_parse::IsIdentifierByte(declaration[at - 1]);
        const bool wordEnd =
            end == declaration.size() || !cpp_parse::IsIdentifierByte(declaration[end]);
        if (wordStart && wordEnd) {
            return true;
        }
    }
    return false;
}

Sort SortOf(const CSylItem& item) {
    switch (item.kind) {
        case DoxygenKind::kNamespace:
            return Sort::kNamespaces;
        case DoxygenKind::kClass:
        case DoxygenKind::kStruct:
        case DoxygenKind::kUnion:
            return Sort::kClasses;
        case DoxygenKind::kEnum:
        case DoxygenKind::kTypedef:
            return Sort::kTypes;
        case DoxygenKind::kFunction:
            return IsStatic(item.Declaration()) ? Sort::kStaticFunctions : Sort::kFunctions;
        case DoxygenKind::kVariable:
            return IsStatic(item.Declaration()) ? Sort::kStaticData : Sort::kData;
        default:
            return Sort::kMacros;
    }
}

std::string Heading(Access access, Sort sort, bool inClass) {
    const SortWords& words = kSortWords[static_cast<std::size_t>(sort)];
    std::string heading(kAccessWords[static_cast<std::size_t>(access)]);
    heading.append(inClass ? words.inClass : words.elsewhere);
    heading.front() = static_cast<char>(heading.front() - 'a' + 'A');
    return heading;
}

// The name a member shows on its scope's page: without the scope the page is about.
std::string_view MemberName(const CSylItem& member, const CSylItem& scope) {
    std::string_view name = member.name;
    if (name.size() > scope.name.size() + 2 && name.starts_with(scope.name) &&
        name.substr(scope.name.size(), 2) == "::") {
        name.remove_prefix(scope.name.size() + 2);
    }
    return name;
}

// A member's cell: the link to its page, a variable's type and tail around it.
std::string MemberCell(const CSylItem& member, std::string_view name) {
    std::string link = LinkTo(member, name);
    if (member.kind != DoxygenKind::kVariable) {
        return link;
    }
    const MemberShape shape = ShapeOfVariable(member.Declaration());
    return HtmlEscaped(shape.type) + link + HtmlEscaped(shape.tail);
}

void AppendLinkLine(std::string_view words, const std::vector<const CSylItem*>& targets,
                    CZTStringArray& lines) {
    if (targets.empty()) {
        return;
    }
    std::string links;
    for (const CSylItem* target : targets) {
        if (!links.empty()) {
            links.append(", ");
        }
        links.append(LinkTo(*target, target->name));
    }
    lines.Add(FormatLine(kLinkLine, {words, links}));
}

void AppendMemberTables(const CSylItem& scope, const ScopeIndex& scopes, const PageJob& job,
                        CZTStringArray& lines) {
    const std::vector<const CSylItem*>& members = scopes.Members(scope);
    struct Placed {
        std::size_t table;
        std::string_view name;
        const CSylItem* item;
    };
    std::vector<Placed> placed;
    placed.reserve(members.size());
    for (const CSylItem* member : members) {
        const std::size_t table =
            static_cast<std::size_t>(AccessOf(*member)) * static_cast<std::size_t>(Sort::kCount) +
            static_cast<std::size_t>(SortOf(*member));
        placed.push_back({table, MemberName(*member, scope), member});
    }
    // Overloads stand together, in the order they were written.
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.table != b.table ? a.table < b.table : a.name < b.name;
    });
    const bool inClass = IsClassLike(scope.kind);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (i == 0 || placed[i].table != placed[i - 1].table) {
            const std::size_t sorts = static_cast<std::size_t>(Sort::kCount);
            lines.Add(FormatLine(kTableHeading,
                                 {Heading(static_cast<Access>(placed[i].table / sorts),
                                          static_cast<Sort>(placed[i].table % sorts), inClass)}));
            lines.Add(std::string(kTableStart));
        }
        lines.Add(FormatLine(kTableRow, {MemberCell(*placed[i].item, placed[i].name),
                                         ShownMemberBrief(*placed[i].item, scope, job.settings,
                                                          job.items, scopes)}));
        if (i + 1 == placed.size() || placed[i + 1].table != placed[i].table) {
            lines.Add(std::string(kTableEnd));
        }
    }
}

}  // namespace

void AppendScopeLines(const CSylItem& item, const ScopeIndex& scopes, const PageJob& job,
                      CZTStringArray& lines) {
    if (const CSylItem* scope = scopes.ScopeOf(item)) {
        AppendLinkLine(scope->kind == DoxygenKind::kGroup ? kInGroup : kMemberOf, {scope}, lines);
    }
    if (const CSylItem* group = scopes.GroupOf(item)) {
        AppendLinkLine(kInGroup, {group}, lines);
    }
    AppendLinkLine(kInherits, scopes.Bases(item), lines);
    AppendLinkLine(kInheritedBy, scopes.Derived(item), lines);
    AppendMemberTables(item, scopes, job, lines);
}

std::string_view RowsHeading(const CSylItem& item) {
    if (item.style != CommentStyle::kDoxygen) {
        return {};
    }
    if (IsClassLike(item.kind)) {
        return kDataMembersHeading;
    }
    return item.kind == DoxygenKind::kEnum ? kValuesHeading : std::string_view();
}

}  // namespace sylva
