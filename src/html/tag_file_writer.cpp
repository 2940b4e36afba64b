// The tag file of a project: its compounds (classes, structs, unions, namespaces, files, groups,
// pages), each with its page and the members declared in it, so that another site, of Sylva or of
// any program that reads this format, links the names to the project's pages.
//
// Every page address is relative to the project's directory, where the pages are. A member whose
// scope has no page of its own (an undocumented namespace) stands in a compound without a page,
// and a global member in the compound of the file it was declared in, as the format has it.
#include <algorithm>
#include <map>
#include <string_view>
#include <vector>

#include "html/html.h"
#include "html/html_markup.h"
#include "html/page_names.h"

namespace sylva {

namespace {

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<tagfile>\n";
constexpr std::string_view kTail = "</tagfile>\n";
constexpr std::string_view kScope = "::";
constexpr std::string_view kBlanks = " \t\r\n";

// The format's word for a compound kind (the model's own name for it); empty for a member kind.
std::string_view CompoundKind(DoxygenKind kind) {
    switch (kind) {
        case DoxygenKind::kClass:
        case DoxygenKind::kStruct:
        case DoxygenKind::kUnion:
        case DoxygenKind::kNamespace:
        case DoxygenKind::kFile:
        case DoxygenKind::kGroup:
        case DoxygenKind::kPage:
            return DoxygenKindName(kind);
        default:
            return {};
    }
}

// The format's word for a member kind; empty for the kinds no member has.
std::string_view MemberKind(DoxygenKind kind) {
    switch (kind) {
        case DoxygenKind::kFunction:
            return "function";
        case DoxygenKind::kEnum:
            return "enumeration";
        case DoxygenKind::kTypedef:
            return "typedef";
        case DoxygenKind::kVariable:
            return "variable";
        case DoxygenKind::kMacro:
            return "define";
        default:
            return {};
    }
}

// Appends `text` escaped for XML character data; control bytes, which XML cannot hold, are left
// out, and each run of blanks becomes one space.
void AppendXml(std::string& out, std::string_view text) {
    bool blank = false;
    for (char ch : text) {
        const bool isBlank = kBlanks.find(ch) != std::string_view::npos;
        if (isBlank || static_cast<unsigned char>(ch) < 0x20) {
            blank = blank || isBlank;
            continue;
        }
        if (blank) {
            out.push_back(' ');
            blank = false;
        }
        AppendHtmlEscaped(out, ch);
    }
}

void AppendElement(std::string& out, std::string_view indent, std::string_view element,
                   std::string_view text) {
    out.append(indent).append("<").append(element).append(">");
    AppendXml(out, text);
    out.append("</").append(element).append(">\n");
}

// A member's type and its argument list as its declaration writes them: what stands before its
// name and, for a function or a macro with parameters, its parameter list; a function's with the
// qualifiers after it, up to a body or ";".
struct Signature {
    std::string_view type;
    std::string_view arguments;
};

std::string_view TrimmedRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(kBlanks);
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// The end of the parenthesised list that opens at text[0], past its ")"; the whole text when it
// does not close.
std::size_t ListEnd(std::string_view text) {
    int depth = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        depth += text[at] == '(' ? 1 : text[at] == ')' ? -1 : 0;
        if (depth == 0) {
            return at + 1;
        }
    }
    return text.size();
}

Signature SignatureOf(const CSylItem& item, std::string_view bare) {
    const std::string_view declaration = item.Declaration();
    const std::size_t at = bare.empty() ? std::string_view::npos : declaration.find(bare);
    if (at == std::string_view::npos) {
        return {};
    }
    const bool macro = item.kind == DoxygenKind::kMacro;
    Signature signature;
    signature.type = macro ? std::string_view() : TrimmedRight(declaration.substr(0, at));
    const std::size_t open = declaration.find_first_not_of(kBlanks, at + bare.size());
    if ((item.kind == DoxygenKind::kFunction || macro) && open != std::string_view::npos &&
        declaration[open] == '(') {
        std::string_view arguments = declaration.substr(open);
        arguments = macro ? arguments.substr(0, ListEnd(arguments))
                          : arguments.substr(0, arguments.find_first_of("{;"));
        signature.arguments = TrimmedRight(arguments);
    }
    return signature;
}

struct Compound {
    std::string_view kind;
    std::string name;
    std::string file;  // empty: the compound has no page
    std::vector<const CSylItem*> members;
};

std::string_view FileName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string TagFileText(const ItemList& items) {
    // By kind and name, so that the file is the same for the same items.
    std::map<std::pair<std::string_view, std::string>, Compound> compounds;
    std::map<std::string, std::pair<std::string_view, std::string>, std::less<>> scopes;
    std::vector<const CSylItem*> members;
    for (const ItemList::Slot& item : items) {
        if (!item || item->style != CommentStyle::kDoxygen) {
            continue;
        }
        const std::string_view kind = CompoundKind(item->kind);
        if (!kind.empty()) {
            std::string name =
                item->kind == DoxygenKind::kFile ? std::string(FileName(item->name)) : item->name;
            if (std::optional<std::string_view> label = GroupLabel(*item)) {
                name = std::string(*label);
            }
            auto [entry, added] = compounds.try_emplace({kind, name}, Compound{kind, name, "", {}});
            if (added || item->pageNumber < 0) {
                entry->second.file = PageFile(*item);
            }
            if (kind != "file" && kind != "group" && kind != "page") {
                scopes.try_emplace(name, entry->first);
            }
        } else if (!MemberKind(item->kind).empty()) {
            members.push_back(item.get());
        }
    }
    for (const CSylItem* member : members) {
        const std::size_t colons = member->name.rfind(kScope);
        std::pair<std::string_view, std::string> key;
        if (colons == std::string::npos) {
            key = {"file", std::string(FileName(member->sourceFile))};
        } else if (auto scope = scopes.find(std::string_view(member->name).substr(0, colons));
                   scope != scopes.end()) {
            key = scope->second;
        } else {
            key = {"namespace", member->name.substr(0, colons)};
        }
        auto [entry, added] = compounds.try_emplace(key, Compound{key.first, key.second, "", {}});
        entry->second.members.push_back(member);
    }

    std::string out(kHead);
    for (auto& [key, compound] : compounds) {
        out.append("  <compound kind=\"").append(compound.kind).append("\">\n");
        AppendElement(out, "    ", "name", compound.name);
        AppendElement(out, "    ", "filename", compound.file);
        std::stable_sort(compound.members.begin(), compound.members.end(),
                         [](const CSylItem* a, const CSylItem* b) { return a->name < b->name; });
        for (const CSylItem* member : compound.members) {
            const std::size_t colons = member->name.rfind(kScope);
            const std::string_view bare = colons == std::string::npos
                                              ? std::string_view(member->name)
                                              : std::string_view(member->name).substr(colons + 2);
            const Signature signature = SignatureOf(*member, bare);
            out.append("    <member kind=\"").append(MemberKind(member->kind)).append("\">\n");
            AppendElement(out, "      ", "type", signature.type);
            AppendElement(out, "      ", "name", bare);
            AppendElement(out, "      ", "anchorfile", PageFile(*member));
            AppendElement(out, "      ", "anchor", "");
            AppendElement(out, "      ", "arglist", signature.arguments);
            out.append("    </member>\n");
        }
        out.append("  </compound>\n");
    }
    out.append(kTail);
    return out;
}

}  // namespace sylva
