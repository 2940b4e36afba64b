// What an item derives from its declaration and block: its name and index fields when it is
// made, and the text of its page whenever that is asked for.
#include <algorithm>
#include <optional>

#include "scan/block_text.h"
#include "scan/declaration_name.h"
#include "scan/doxygen/items.h"
#include "scan/doxygen/reader.h"
#include "scan/item_fields.h"
#include "scan/rich_text.h"
#include "scan/section_parser.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kDeclarationLeadIn = "\n ";
constexpr std::string_view kDefaultGroup = kDefaultGroupName;
// The groups of a project's own documentation pages in the doxygen style.
constexpr std::string_view kFilesGroup = "Files";
constexpr std::string_view kPagesGroup = "Pages";
constexpr std::string_view kExamplesGroup = "Examples";
constexpr std::string_view kMainPageName = "Main page";
constexpr std::string_view kSortKeyJoint = "-";
constexpr std::size_t kShortDescriptionLines = 3;
constexpr std::size_t kShortDescriptionLimit = 120;
constexpr std::string_view kShortDescriptionCut = "...";
constexpr std::string_view kEmptyShortDescription = " ";

// The lines of the sections the index fields come from, as ForEachSectionLine passes them.
struct IndexLines {
    std::optional<std::string_view> group;
    std::vector<std::string_view> description;  // the first lines only
    std::vector<std::string_view> docType;
    std::vector<std::string_view> seeAlso;
};

IndexLines CollectIndexLines(const CSylItem& item, const Settings& settings) {
    IndexLines lines;
    ForEachItemLine(item, settings, [&lines](SectionKind kind, std::string_view line) {
        if (kind == kSectionGroup && !lines.group) {
            lines.group = line;
        } else if (kind == kSectionDescription &&
                   lines.description.size() < kShortDescriptionLines) {
            lines.description.push_back(line);
        } else if (kind == kSectionDocType) {
            lines.docType.push_back(line);
        } else if (kind == kSectionSeeAlso) {
            lines.seeAlso.push_back(line);
        }
    });
    return lines;
}

// True iff the Doc type lines of `documented` make it a protected member and nothing less public.
bool IsProtectedMember(const DoxygenItem& documented) {
    bool protectedMember = false;
    for (const DoxygenLine& line : documented.lines) {
        if (line.section != kSectionDocType) {
            continue;
        }
        if (line.text == kPrivateType || line.text == kInternalType) {
            return false;
        }
        protectedMember = protectedMember || line.text == kProtectedType;
    }
    return protectedMember;
}

}  // namespace

std::string_view DoxygenKindName(DoxygenKind kind) {
    switch (kind) {
        case DoxygenKind::kFunction:
            return "function";
        case DoxygenKind::kClass:
            return "class";
        case DoxygenKind::kStruct:
            return "struct";
        case DoxygenKind::kUnion:
            return "union";
        case DoxygenKind::kEnum:
            return "enum";
        case DoxygenKind::kTypedef:
            return "typedef";
        case DoxygenKind::kVariable:
            return "variable";
        case DoxygenKind::kMacro:
            return "macro";
        case DoxygenKind::kNamespace:
            return "namespace";
        case DoxygenKind::kGroup:
            return "group";
        case DoxygenKind::kFile:
            return "file";
        case DoxygenKind::kPage:
            return "page";
        case DoxygenKind::kMainPage:
            return "mainPage";
        case DoxygenKind::kOther:
            break;
    }
    return "other";
}

std::string_view DeclaredText(std::string_view declaration) {
    std::string_view declared = TrimLeftView(declaration, kDeclarationLeadIn);
    return declared.empty() ? kUntitledName : declared;
}

bool DeclaresNothing(std::string_view declaration) {
    return TrimLeftView(declaration, kDeclarationLeadIn).empty();
}

void DeriveIndexFields(CSylItem& item, const Settings& settings) {
    DerivedName derived = DeriveName(item.Declaration());
    item.name = std::move(derived.name);
    item.hasSyntax = derived.hasSyntax;
    IndexLines lines = CollectIndexLines(item, settings);
    item.group =
        lines.group ? std::string(TrimView(*lines.group, "\n ")) : std::string(kDefaultGroup);
    ItemType type = TypeOf(settings, lines.docType);
    item.accessRank = type.accessRank;
    item.isPublic = type.isPublic;
}

void DeriveDocumentedFields(CSylItem& item, const Settings& settings,
                            const DoxygenItem& documented) {
    item.name = documented.name;
    item.hasSyntax = documented.hasSyntax ? 1 : 0;
    item.group = documented.group.empty() ? std::string(kDefaultGroup) : documented.group;
    switch (documented.kind) {
        case DoxygenKind::kFile:
            if (item.name.empty()) {
                item.name = CZTString(std::string(item.sourceFile)).GetFilename();
            }
            item.group = kFilesGroup;
            break;
        case DoxygenKind::kMainPage:
        case DoxygenKind::kPage:
            item.name = !documented.title.empty() ? documented.title
                        : item.name.empty()       ? std::string(kMainPageName)
                                                  : item.name;
            item.group = documented.example ? kExamplesGroup : kPagesGroup;
            break;
        case DoxygenKind::kGroup:
            // The group item stands in its own group, under the group's title.
            item.group = documented.name;
            if (!documented.title.empty()) {
                item.name = documented.title;
            }
            break;
        default:
            break;
    }
    ItemType type = TypeOf(settings, CollectIndexLines(item, settings).docType);
    item.accessRank = type.accessRank;
    // A documented protected member belongs to the interface that a derived class's author reads,
    // and Doxygen shows it; private and internal items wait for the Private/Internal box.
    item.isPublic = IsProtectedMember(documented) ? 1 : type.isPublic;
}

std::string SplitClassMember(const std::string& name) {
    std::size_t first = name.find("::");
    if (first == std::string::npos) {
        return name;
    }
    std::size_t begin = first + 2;
    std::size_t next = name.find("::", begin);
    return name.substr(begin, next == std::string::npos ? std::string::npos : next - begin);
}

std::string CSylItem::MemberName() const {
    return SplitClassMember(name);
}

ItemText DeriveItemText(const CSylItem& item, const Settings& settings, const RunOptions& options) {
    ItemText text;
    text.declaration = item.Declaration();
    ParseSections(item, settings, options, text);
    const CZTStringArray& docType = text.sections[kSectionDocType];
    text.typeText =
        TypeOf(settings, std::vector<std::string_view>(docType.begin(), docType.end())).text;
    return text;
}

std::string ShortDescription(const CSylItem& item, const Settings& settings) {
    std::vector<std::string_view> firstLines = CollectIndexLines(item, settings).description;
    if (firstLines.empty()) {
        return std::string(kEmptyShortDescription);
    }
    std::string text;
    if (item.style == CommentStyle::kDoxygen) {
        // The first paragraph, the brief of the comment, as inline text.
        text = rich::InlineText(firstLines.front());
        text.resize(TrimRightView(text, " \n,").size());
        text.erase(0, text.size() - TrimLeftView(text, " \n,").size());
        text.push_back(' ');
        firstLines.clear();
    }
    for (std::string_view line : firstLines) {
        text.append(TrimView(line, "\n ,"));
        text.push_back(' ');
    }
    if (text.size() > kShortDescriptionLimit) {
        text.replace(kShortDescriptionLimit, std::string::npos, kShortDescriptionCut);
    }
    return text;
}

std::vector<std::string> SeeAlsoNames(const CSylItem& item, const Settings& settings,
                                      const RunOptions& options) {
    std::vector<std::string> names;
    if (options.sectionSeeAlso != 0) {
        for (std::string_view line : CollectIndexLines(item, settings).seeAlso) {
            // A See also line of the doxygen style that holds a space is a sentence, no name.
            std::string_view name = SeeAlsoName(line);
            if (item.style != CommentStyle::kDoxygen || name.find(' ') == name.npos) {
                names.emplace_back(name);
            }
        }
    }
    return names;
}

bool SortsBefore(const CSylItem& a, const CSylItem& b) {
    // Compares a.group + "-" + a.name with b.group + "-" + b.name, piece by piece. Most items
    // compared share their group, and then only the names differ.
    if (a.group == b.group) {
        return a.name < b.name;
    }
    const std::array<std::string_view, 3> left = {a.group, kSortKeyJoint, a.name};
    const std::array<std::string_view, 3> right = {b.group, kSortKeyJoint, b.name};
    std::size_t li = 0;
    std::size_t ri = 0;
    std::string_view l = left[0];
    std::string_view r = right[0];
    for (;;) {
        while (l.empty() && ++li < left.size()) {
            l = left[li];
        }
        while (r.empty() && ++ri < right.size()) {
            r = right[ri];
        }
        if (l.empty() || r.empty()) {
            return l.empty() && !r.empty();
        }
        std::size_t n = std::min(l.size(), r.size());
        if (int order = l.substr(0, n).compare(r.substr(0, n)); order != 0) {
            return order < 0;
        }
        l.remove_prefix(n);
        r.remove_prefix(n);
    }
}

}  // namespace sylva
