// Reading and resolving the names of plain text that link by their shape.
#include "html/name_links.h"

#include "html/html_markup.h"
#include "html/page_names.h"
#include "scan/sorted_lines.h"

namespace sylva {

namespace {

constexpr std::string_view kScope = "::";
constexpr std::string_view kCall = "()";
constexpr std::string_view kSchemeEnd = "://";
// Bytes that end a web address written in plain text.
constexpr std::string_view kAddressEnd = " \t\r\n<&\"'";

bool IsLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsNameStart(char ch) {
    return IsLetter(ch) || ch == '_';
}

bool IsNameByte(char ch) {
    return IsNameStart(ch) || (ch >= '0' && ch <= '9');
}

bool StartsAt(std::string_view text, std::size_t at, std::string_view part) {
    return text.substr(at, part.size()) == part;
}

// True iff no word can start at text[at] (at > 0): it would continue a word, a scoped name, a
// path, a member access ("a.b", "a->b"), a file name, a destructor or a command.
bool ContinuesSomething(std::string_view text, std::size_t at) {
    char before = text[at - 1];
    if (before == '>') {
        return at >= 2 && text[at - 2] == '-';
    }
    return IsNameByte(before) ||
           std::string_view(":./\\~@$#%").find(before) != std::string_view::npos;
}

// The end of the name "a::b::c" that starts at text[at] (a name's first byte).
std::size_t ScopedNameEnd(std::string_view text, std::size_t at) {
    std::size_t end = at;
    for (;;) {
        while (end < text.size() && IsNameByte(text[end])) {
            ++end;
        }
        if (!StartsAt(text, end, kScope) || end + 2 >= text.size() || !IsNameStart(text[end + 2])) {
            return end;
        }
        end += kScope.size();
    }
}

// True iff a plain word reads as a name: more than one byte, an upper-case letter or a "_" among
// them, and a letter.
bool HasNameShape(std::string_view word) {
    bool marked = false;
    bool letter = false;
    for (char ch : word) {
        marked = marked || ch == '_' || (ch >= 'A' && ch <= 'Z');
        letter = letter || IsLetter(ch);
    }
    return word.size() > 1 && marked && letter;
}

bool IsScopeKind(DoxygenKind kind) {
    switch (kind) {
        case DoxygenKind::kClass:
        case DoxygenKind::kStruct:
        case DoxygenKind::kUnion:
        case DoxygenKind::kEnum:
        case DoxygenKind::kNamespace:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<NameWord> ReadNameWord(std::string_view text, std::size_t at) {
    if (at >= text.size() || (at > 0 && ContinuesSomething(text, at))) {
        return std::nullopt;
    }
    std::size_t nameStart = at;
    bool prefixed = false;
    if (text[at] == '#' || StartsAt(text, at, kScope)) {
        nameStart = at + (text[at] == '#' ? 1 : kScope.size());
        prefixed = true;
    }
    if (nameStart >= text.size() || !IsNameStart(text[nameStart])) {
        return std::nullopt;
    }
    NameWord word;
    std::size_t end = ScopedNameEnd(text, nameStart);
    if (StartsAt(text, end, kSchemeEnd)) {
        word.end = std::min(text.find_first_of(kAddressEnd, end), text.size());
        word.shown = text.substr(at, word.end - at);
        return word;
    }
    word.end = end;
    const bool partOfPath =
        end < text.size() &&
        (text[end] == '/' || text[end] == '\\' || text[end] == '@' ||
         (text[end] == '.' && end + 1 < text.size() && IsNameByte(text[end + 1])));
    if (!partOfPath) {
        const std::size_t lookupStart = text[at] == '#' ? nameStart : at;
        word.name = text.substr(lookupStart, end - lookupStart);
        const bool call = StartsAt(text, end, kCall);
        if (call) {
            word.end += kCall.size();
        }
        word.byShape = prefixed || call ||
                       text.substr(nameStart, end - nameStart).find(kScope) != std::string::npos ||
                       HasNameShape(text.substr(nameStart, end - nameStart));
    }
    const std::size_t shownStart = text[at] == '#' ? nameStart : at;
    word.shown = text.substr(shownStart, word.end - shownStart);
    if (word.name.empty()) {
        word.shown = text.substr(at, word.end - at);
    }
    return word;
}

namespace {

// The first answer `find` gives for `name` within `scope` and the scopes around it, innermost
// first, then for the name alone; a leading "::" asks for the name alone. `find` answers a
// candidate name.
template <typename Find>
std::optional<std::string> FirstFromScopes(std::string_view name, std::string_view scope,
                                           Find find) {
    if (name.starts_with(kScope)) {
        return find(name.substr(kScope.size()));
    }
    std::string candidate;
    while (!scope.empty()) {
        candidate.assign(scope).append(kScope).append(name);
        if (std::optional<std::string> found = find(candidate)) {
            return found;
        }
        std::size_t colons = scope.rfind(kScope);
        scope = colons == std::string_view::npos ? std::string_view() : scope.substr(0, colons);
    }
    return find(name);
}

}  // namespace

std::string LookupScope(const CSylItem& from) {
    if (from.style != CommentStyle::kDoxygen) {
        return {};
    }
    if (IsScopeKind(from.kind)) {
        return from.name;
    }
    switch (from.kind) {
        case DoxygenKind::kGroup:
        case DoxygenKind::kPage:
        case DoxygenKind::kMainPage:
        case DoxygenKind::kFile: {
            // Their names are labels, titles and paths, whose "::" is no scope.
            const std::vector<std::string_view> spaces = FactsOf(from.BlockText(), kSpaceMark);
            return spaces.empty() ? std::string() : std::string(spaces.front());
        }
        default:
            break;
    }
    const std::size_t colons = from.name.rfind(kScope);
    return colons == std::string::npos ? std::string() : from.name.substr(0, colons);
}

std::optional<std::string> ResolveFromScopes(const ItemList& items, std::string_view name,
                                             std::string_view scope) {
    return FirstFromScopes(name, scope, [&items](std::string_view candidate) {
        return items.Contains(candidate) ? std::optional<std::string>(candidate) : std::nullopt;
    });
}

std::optional<std::string> RowTargetFromScopes(const ItemList& items, std::string_view name,
                                               std::string_view scope) {
    return FirstFromScopes(name, scope, [&items](std::string_view candidate) {
        std::optional<std::string> holder = items.RowHolder(candidate);
        if (!holder) {
            return holder;
        }
        // A row's anchor is its own name, the last part of the scoped one.
        const std::size_t colons = candidate.rfind(kScope);
        std::string target = PlainPageFile(*holder, CommentStyle::kDoxygen);
        target.push_back('#');
        target.append(colons == std::string_view::npos ? candidate
                                                       : candidate.substr(colons + kScope.size()));
        return std::optional<std::string>(std::move(target));
    });
}

std::optional<std::string> RowOrElsewhere(const ItemList& items, std::string_view name,
                                          std::string_view scope) {
    if (std::optional<std::string> row = RowTargetFromScopes(items, name, scope)) {
        return row;
    }
    const std::string* address = items.ExternalAddress(name);
    return address != nullptr ? std::optional<std::string>(*address) : std::nullopt;
}

LinkLookup WordLinksOf(const CSylItem& item, const ItemList& items) {
    return [&item, &items,
            scope = LookupScope(item)](std::string_view name) -> std::optional<std::string> {
        std::optional<std::string> listed = ResolveFromScopes(items, name, scope);
        if (!listed) {
            return RowOrElsewhere(items, name, scope);
        }
        if (*listed == item.name) {
            return std::nullopt;
        }
        return PlainPageFile(*listed, CommentStyle::kDoxygen);
    };
}

void AppendNameLink(std::string& out, std::string_view page, std::string_view shown) {
    out.append("<a href=\"");
    AppendHref(out, LinkTarget(page));
    out.append("\">");
    AppendHtmlEscaped(out, shown);
    out.append("</a>");
}

std::string LinkedDeclaration(std::string_view declaration, const LinkLookup& words) {
    std::string html;
    html.reserve(declaration.size() + declaration.size() / 4);
    std::size_t at = 0;
    while (at < declaration.size()) {
        // "#define" and "::" stand for themselves in a declaration.
        std::optional<NameWord> word = declaration[at] == '#' || declaration[at] == ':'
                                           ? std::nullopt
                                           : ReadNameWord(declaration, at);
        if (!word) {
            AppendHtmlEscaped(html, declaration[at]);
            ++at;
            continue;
        }
        std::optional<std::string> page;
        if (word->byShape && words) {
            page = words(word->name);
        }
        if (page) {
            AppendNameLink(html, *page, word->shown);
        } else {
            AppendHtmlEscaped(html, declaration.substr(at, word->end - at));
        }
        at = word->end;
    }
    return html;
}

}  // namespace sylva
