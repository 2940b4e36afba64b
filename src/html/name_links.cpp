// Reading and resolving the names of plain text that link by their shape.
#include "html/name_links.h"

#include <unordered_set>
#include <vector>
#include "html/html_markup.h"

#include "html/page_names.h"
#include "html/scope_index.h"
#include "scan/rich_text.h"
#include "scan/sorted_lines.h"

namespace sylva {

namespace {

constexpr std::string_view kScope = "::";
constexpr std::string_view kCall = "()";
constexpr std::string_view kSchemeEnd = "://";
// Bytes that end a web address written in plain text.
constexpr std::string_view kAddressEnd = " \t\r\n<&\"'";
// The longest parameter list read behind a name ("resize(Index,Index)"), its parentheses
// included. The bound keeps reading linear: a "(" that is never closed is scanned this far at
// most from each word before it.
constexpr std::size_t kMaxArgumentsBytes = 160;
// Bytes besides those of names that a parameter list of types holds.
constexpr std::string_view kArgumentBytes = " ,:<>*&[].";
// The most classes looked at for one name among the bases of the class that holds it: a cycle
// or a chain 10,000 deep costs no more than a name's lookup in a class with a few bases.
constexpr std::size_t kMaxBasesWalked = 64;

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

// The end of the parameter list "(...)" that opens at text[at], its ")" included, or 0 when none
// does: the list holds only types (names, blanks, ",", "::", "<>", "*", "&", "[]", "...") and
// no markup, so that a link made of the word and its list never swallows a tag or an entity.
// Rich text marks the "<" and "&" an author wrote as literal; unmarked, they open markup.
std::size_t ArgumentsEnd(std::string_view text, std::size_t at) {
    if (at >= text.size() || text[at] != '(') {
        return 0;
    }
    const std::size_t last = std::min(text.size(), at + kMaxArgumentsBytes);
    for (std::size_t i = at + 1; i < last; ++i) {
        const char ch = text[i];
        if (ch == ')') {
            return i + 1;
        }
        if (ch == rich::kLiteral && i + 1 < last && (text[i + 1] == '<' || text[i + 1] == '&')) {
            ++i;
        } else if (ch == '<' || ch == '&' ||
                   (!IsNameByte(ch) && kArgumentBytes.find(ch) == std::string_view::npos)) {
            return 0;
        }
    }
    return 0;
}

// The end of the operator token behind the name "operator" that ends at text[end] ("()", "[]",
// "+=", "=="), or 0 when `name` is no operator's. A "<" or "&" would be markup or a literal's
// mark in rich text: such operators are left to references.
std::size_t OperatorEnd(std::string_view text, std::string_view name, std::size_t end) {
    constexpr std::string_view kOperator = "operator";
    constexpr std::string_view kSymbols = "+-*/%^|~!=";
    constexpr std::size_t kMaxSymbols = 3;
    if (!name.ends_with(kOperator) ||
        !(name.size() == kOperator.size() ||
          name.substr(0, name.size() - kOperator.size()).ends_with(kScope))) {
        return 0;
    }
    if (StartsAt(text, end, kCall) || StartsAt(text, end, "[]")) {
        return end + 2;
    }
    std::size_t symbols = end;
    while (symbols < text.size() && symbols - end < kMaxSymbols &&
           kSymbols.find(text[symbols]) != std::string_view::npos) {
        ++symbols;
    }
    return symbols > end ? symbols : 0;
}

// `end`, or the place behind a " const" that follows it: a reference to a const overload names
// its qualifier too.
std::size_t QualifierEnd(std::string_view text, std::size_t end) {
    constexpr std::string_view kConst = " const";
    const std::size_t behind = end + kConst.size();
    return StartsAt(text, end, kConst) && (behind == text.size() || !IsNameByte(text[behind]))
               ? behind
               : end;
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

std::optional<NameWord> ReadNameWord(std::string_view text, std::size_t at, NameForm form) {
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
        const std::size_t operatorEnd =
            form == NameForm::kWithArguments
                ? OperatorEnd(text, text.substr(nameStart, end - nameStart), end)
                : 0;
        if (operatorEnd > 0) {
            end = word.end = operatorEnd;
        }
        word.name = text.substr(lookupStart, end - lookupStart);
        const std::size_t arguments =
            form == NameForm::kWithArguments ? ArgumentsEnd(text, end) : 0;
        const bool call = arguments > 0 || StartsAt(text, end, kCall);
        if (arguments > 0) {
            word.end = QualifierEnd(text, arguments);
            word.nameEnd = end;
        } else if (call) {
            word.end += kCall.size();
        }
        word.byShape = prefixed || call || operatorEnd > 0 ||
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

// The answer `find` gives for `candidate`, else for the same member of the bases of the class
// that holds it, nearest first ("Derived::f" is found as "Base::f"): a member a class inherits is
// named through the class. Without `scopes` only `candidate` itself is asked for.
template <typename Find>
std::optional<std::string> FindWithBases(std::string_view candidate, const ScopeIndex* scopes,
                                         const Find& find) {
    if (std::optional<std::string> found = find(candidate)) {
        return found;
    }
    const std::size_t colons = candidate.rfind(kScope);
    if (scopes == nullptr || colons == std::string_view::npos) {
        return std::nullopt;
    }
    // A page is as fresh as the bases its names were looked up through, which may change while
    // every name stays.
    const auto noteBases = [scopes](std::string_view type) {
        NameLookups::Note(NameLookups::Kind::kBases, type, scopes->BaseNames(type));
    };
    noteBases(candidate.substr(0, colons));
    const CSylItem* holder = scopes->Named(candidate.substr(0, colons));
    // Most scopes have no paged base: nothing to walk, nothing to allocate for a walk.
    if (holder == nullptr || scopes->Bases(*holder).empty()) {
        return std::nullopt;
    }
    const std::string_view member = candidate.substr(colons + kScope.size());
    std::vector<const CSylItem*> walk = {holder};
    std::unordered_set<const CSylItem*> seen = {holder};
    std::string inherited;
    for (std::size_t i = 0; i < walk.size(); ++i) {
        for (const CSylItem* base : scopes->Bases(*walk[i])) {
            if (seen.size() > kMaxBasesWalked) {
                return std::nullopt;
            }
            if (!seen.insert(base).second) {
                continue;
            }
            inherited.assign(base->name).append(kScope).append(member);
            if (std::optional<std::string> found = find(inherited)) {
                return found;
            }
            noteBases(base->name);
            walk.push_back(base);
        }
    }
    return std::nullopt;
}

// The first answer `find` gives for `name` within `scope` and the scopes around it, innermost
// first, then for the name alone; a leading "::" asks for the name alone. `find` answers a
// candidate name; with `scopes`, a class's scope holds what its bases hold too (FindWithBases).
template <typename Find>
std::optional<std::string> FirstFromScopes(std::string_view name, std::string_view scope,
                                           const ScopeIndex* scopes, const Find& find) {
    if (name.starts_with(kScope)) {
        return FindWithBases(name.substr(kScope.size()), scopes, find);
    }
    std::string candidate;
    while (!scope.empty()) {
        candidate.assign(scope).append(kScope).append(name);
        if (std::optional<std::string> found = FindWithBases(candidate, scopes, find)) {
            return found;
        }
        std::size_t colons = scope.rfind(kScope);
        scope = colons == std::string_view::npos ? std::string_view() : scope.substr(0, colons);
    }
    return FindWithBases(name, scopes, find);
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
                                             std::string_view scope, const ScopeIndex* scopes) {
    return FirstFromScopes(name, scope, scopes, [&items](std::string_view candidate) {
        return items.Contains(candidate) ? std::optional<std::string>(candidate) : std::nullopt;
    });
}

std::optional<std::string> RowTargetFromScopes(const ItemList& items, std::string_view name,
                                               std::string_view scope, const ScopeIndex* scopes) {
    return FirstFromScopes(name, scope, scopes, [&items](std::string_view candidate) {
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
                                          std::string_view scope, const ScopeIndex* scopes) {
    if (std::optional<std::string> row = RowTargetFromScopes(items, name, scope, scopes)) {
        return row;
    }
    const std::string* address = items.ExternalAddress(name);
    return address != nullptr ? std::optional<std::string>(*address) : std::nullopt;
}

LinkLookup WordLinksOf(const CSylItem& item, const ItemList& items, const ScopeIndex* scopes) {
    return [&item, &items, scopes,
            scope = LookupScope(item)](std::string_view name) -> std::optional<std::string> {
        std::optional<std::string> listed = ResolveFromScopes(items, name, scope, scopes);
        if (!listed) {
            return RowOrElsewhere(items, name, scope, scopes);
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
    for (char ch : shown) {
        if (ch != rich::kLiteral) {
            AppendHtmlEscaped(out, ch);
        }
    }
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
