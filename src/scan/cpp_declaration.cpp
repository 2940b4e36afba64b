// Naming a declaration from its tokens.
//
// The analysis works on the declaration's top-level units: tokens at bracket depth zero, a bracket
// group standing as its opening token, attributes ([[...]], __attribute__((...)), __declspec(...),
// alignas(...)) left out. In that order it recognises template heads, extern "C", namespaces,
// using, class heads, and then functions and variables by their parameter lists.
#include "scan/cpp_declaration.h"

#include <algorithm>
#include <array>

#include "scan/cpp_tokens.h"

namespace sylva {

namespace {

constexpr std::array<std::string_view, 8> kAttributeWords = {
    "__attribute__", "__attribute", "__declspec", "alignas", "_Alignas", "__asm__", "__asm", "asm",
};
// Words that qualify a type without being one: a parameter of nothing else is unnamed.
constexpr std::array<std::string_view, 11> kQualifierWords = {
    "const",    "volatile", "struct",   "enum",       "union",        "class",
    "typename", "register", "restrict", "__restrict", "__restrict__",
};
// Words that may follow a parameter list without starting a new declaration.
constexpr std::array<std::string_view, 9> kTrailingWords = {
    "const", "volatile", "override", "final", "noexcept", "throw", "mutable", "requires", "try",
};
constexpr std::array<std::string_view, 4> kClassKeys = {"class", "struct", "union", "enum"};

template <std::size_t N>
bool IsOneOf(const std::array<std::string_view, N>& words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool IsIdentifierByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

class DeclarationParser {
  public:
    explicit DeclarationParser(std::string_view text) : text_(text), tokens_(Tokenize(text)) {}

    CppDeclaration Parse(char terminator);
    std::vector<std::string> Declarators() { return DeclaratorNames(TopLevel(0, tokens_.size())); }
    std::string FirstIdentifier() const;

  private:
    using Units = std::vector<std::size_t>;

    const Token& At(std::size_t index) const { return tokens_[index]; }
    bool OpensGroup(std::size_t index) const {
        return At(index).match != kNoToken && At(index).match > index &&
               At(index).kind == TokenKind::kPunctuation;
    }
    // The index behind a token, behind its whole group when it opens one.
    std::size_t Behind(std::size_t index) const {
        return OpensGroup(index) ? At(index).match + 1 : index + 1;
    }
    bool IsName(std::size_t index) const {
        return At(index).kind == TokenKind::kIdentifier && !IsReservedWord(At(index).text);
    }

    // The top-level units of the tokens [from, to).
    Units TopLevel(std::size_t from, std::size_t to) const;
    bool UnitIs(const Units& units, std::size_t u, std::string_view spelling) const {
        return u < units.size() && At(units[u]).Is(spelling);
    }

    bool ParseClassHead(const Units& units, std::size_t u, char terminator, bool isTypedef,
                        CppDeclaration& result) const;
    void ParseFunctionOrVariable(const Units& units, std::size_t u, char terminator, bool isTypedef,
                                 CppDeclaration& result) const;

    // "A::B" ending at units[last], back to `first`; template arguments left out.
    std::string QualifiedNameEndingAt(const Units& units, std::size_t first, std::size_t last,
                                      std::string name, std::size_t& start) const;
    // The name of an operator whose "operator" is units[u]; `group` receives the unit of its
    // parameter list (units.size() when it has none).
    std::string OperatorName(const Units& units, std::size_t u, std::size_t& group) const;
    bool HasPointer(std::size_t open) const;
    // A "(" group followed by "(" or "[" that holds a pointer: the name declared inside it.
    bool IsDeclaratorGroup(const Units& units, std::size_t u) const;
    std::string DeclaratorGroupName(std::size_t open) const;
    // The parameter names of the group opened at `open`, a parameter list or (`templateList`)
    // a template head's.
    std::vector<std::string> ParameterNames(std::size_t open, bool templateList) const;
    std::string ParameterName(const Units& piece, bool templateList) const;
    std::vector<std::string> DeclaratorNames(const Units& units) const;
    std::vector<Units> SplitAtCommas(const Units& units) const;

    std::string_view text_;
    std::vector<Token> tokens_;
};

DeclarationParser::Units DeclarationParser::TopLevel(std::size_t from, std::size_t to) const {
    std::vector<std::size_t> units;
    std::size_t i = from;
    while (i < to) {
        const Token& token = At(i);
        if (token.Is("[") && i + 1 < to && At(i + 1).Is("[")) {
            i = OpensGroup(i) ? Behind(i) : i + 2;
            continue;
        }
        if (token.kind == TokenKind::kIdentifier && IsOneOf(kAttributeWords, token.text)) {
            i = i + 1 < to && At(i + 1).Is("(") ? Behind(i + 1) : i + 1;
            continue;
        }
        units.push_back(i);
        i = Behind(i);
    }
    return units;
}

std::vector<DeclarationParser::Units> DeclarationParser::SplitAtCommas(const Units& units) const {
    std::vector<std::vector<std::size_t>> pieces(1);
    for (std::size_t unit : units) {
        if (At(unit).Is(",")) {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(unit);
        }
    }
    return pieces;
}

std::string DeclarationParser::QualifiedNameEndingAt(const Units& units, std::size_t first,
                                                     std::size_t last, std::string name,
                                                     std::size_t& start) const {
    std::size_t u = last;
    if (u > first && UnitIs(units, u - 1, "~")) {
        name.insert(0, "~");
        --u;
    }
    while (u >= first + 2 && UnitIs(units, u - 1, "::")) {
        std::size_t scope = u - 2;
        if (At(units[scope]).Is("<") && scope > first) {
            --scope;
        }
        if (!IsName(units[scope])) {
            break;
        }
        name.insert(0, "::");
        name.insert(0, At(units[scope]).text);
        u = scope;
    }
    start = u;
    return name;
}

std::string DeclarationParser::OperatorName(const Units& units, std::size_t u,
                                            std::size_t& group) const {
    std::string name = "operator";
    std::size_t next = u + 1;
    if (UnitIs(units, next, "(") && At(units[next]).match == units[next] + 1) {
        name += "()";
        group = next + 1;
        return name;
    }
    for (; next < units.size() && !At(units[next]).Is("("); ++next) {
        const Token& token = At(units[next]);
        if (token.kind == TokenKind::kIdentifier && IsIdentifierByte(name.back())) {
            name += ' ';
        }
        if (OpensGroup(units[next])) {
            std::size_t close = token.match;
            name.append(token.text);
            name.append(At(close).text);
        } else {
            name.append(token.text);
        }
    }
    group = next;
    return name;
}

bool DeclarationParser::HasPointer(std::size_t open) const {
    for (std::size_t unit : TopLevel(open + 1, At(open).match)) {
        const Token& token = At(unit);
        if (token.Is("*") || token.Is("&") || token.Is("^")) {
            return true;
        }
    }
    return false;
}

bool DeclarationParser::IsDeclaratorGroup(const Units& units, std::size_t u) const {
    return OpensGroup(units[u]) && At(units[u]).Is("(") &&
           (UnitIs(units, u + 1, "(") || UnitIs(units, u + 1, "[")) && HasPointer(units[u]);
}

std::string DeclarationParser::DeclaratorGroupName(std::size_t open) const {
    std::vector<std::size_t> inner = TopLevel(open + 1, At(open).match);
    for (std::size_t u = 0; u < inner.size(); ++u) {
        if (IsDeclaratorGroup(inner, u)) {
            return DeclaratorGroupName(inner[u]);
        }
    }
    for (std::size_t u = inner.size(); u-- > 0;) {
        if (IsName(inner[u])) {
            return std::string(At(inner[u]).text);
        }
    }
    return {};
}

std::string DeclarationParser::ParameterName(const Units& piece, bool templateList) const {
    std::size_t end = piece.size();
    for (std::size_t u = 0; u < piece.size(); ++u) {
        if (At(piece[u]).Is("=")) {
            end = u;
            break;
        }
        if (!templateList && IsDeclaratorGroup(piece, u)) {
            return DeclaratorGroupName(piece[u]);
        }
    }
    if (end == 1 && At(piece[0]).Is("...")) {
        return "...";
    }
    while (end > 0 && At(piece[end - 1]).Is("[")) {
        --end;
    }
    if (end < 2 || !IsName(piece[end - 1])) {
        return {};
    }
    for (std::size_t u = 0; u + 1 < end; ++u) {
        std::string_view word = At(piece[u]).text;
        bool qualifier = templateList ? word == "const" : IsOneOf(kQualifierWords, word);
        if (!qualifier) {
            return std::string(At(piece[end - 1]).text);
        }
    }
    return {};
}

std::vector<std::string> DeclarationParser::ParameterNames(std::size_t open,
                                                           bool templateList) const {
    std::vector<std::string> names;
    std::vector<Units> pieces = SplitAtCommas(TopLevel(open + 1, At(open).match));
    if (pieces.size() == 1 &&
        (pieces[0].empty() || (pieces[0].size() == 1 && At(pieces[0][0]).Is("void")))) {
        return names;
    }
    for (const auto& piece : pieces) {
        names.push_back(ParameterName(piece, templateList));
    }
    return names;
}

std::vector<std::string> DeclarationParser::DeclaratorNames(const Units& units) const {
    std::vector<std::string> names;
    for (const auto& piece : SplitAtCommas(units)) {
        std::string name;
        for (std::size_t u = 0; u < piece.size(); ++u) {
            const Token& token = At(piece[u]);
            if (token.Is("=") || token.Is("[") || token.Is(":") || token.Is("{")) {
                break;
            }
            if (IsDeclaratorGroup(piece, u)) {
                name = DeclaratorGroupName(piece[u]);
                break;
            }
            if (IsName(piece[u])) {
                name = std::string(token.text);
            }
        }
        if (!name.empty()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool DeclarationParser::ParseClassHead(const Units& units, std::size_t u, char terminator,
                                       bool isTypedef, CppDeclaration& result) const {
    std::size_t k = u;
    while (k < units.size() && At(units[k]).kind == TokenKind::kIdentifier &&
           !IsOneOf(kClassKeys, At(units[k]).text)) {
        ++k;
    }
    if (k == units.size() || !IsOneOf(kClassKeys, At(units[k]).text)) {
        return false;
    }
    std::string_view key = At(units[k]).text;
    ++k;
    if (key == "enum" && (UnitIs(units, k, "class") || UnitIs(units, k, "struct"))) {
        ++k;
    }
    std::size_t nameStart = k;
    bool separateWords = false;
    while (k < units.size()) {
        const Token& token = At(units[k]);
        bool word = token.kind == TokenKind::kIdentifier && !token.Is("final");
        if (word && k > nameStart && At(units[k - 1]).kind == TokenKind::kIdentifier) {
            separateWords = true;
        }
        if (!word && !token.Is("::") && !(token.Is("<") && OpensGroup(units[k]))) {
            break;
        }
        ++k;
    }
    bool restFits = k == units.size() || UnitIs(units, k, ":") || UnitIs(units, k, "final");
    if (!restFits || (terminator != '{' && (isTypedef || separateWords))) {
        return false;
    }
    std::size_t last = k;
    while (last > nameStart && !IsName(units[last - 1])) {
        --last;
    }
    if (last > nameStart) {
        std::size_t start = 0;
        result.name = QualifiedNameEndingAt(units, nameStart, last - 1,
                                            std::string(At(units[last - 1]).text), start);
    }
    result.kind = key == "class"    ? DeclarationKind::kClass
                  : key == "struct" ? DeclarationKind::kStruct
                  : key == "union"  ? DeclarationKind::kUnion
                                    : DeclarationKind::kEnum;
    result.typedefBody = isTypedef;
    return true;
}

void DeclarationParser::ParseFunctionOrVariable(const Units& units, std::size_t u, char terminator,
                                                bool isTypedef, CppDeclaration& result) const {
    struct Candidate {
        std::size_t group;      // the unit of the parameter list, or of the declarator group
        std::size_t nameStart;  // the first unit of the name
        std::string name;
        bool declarator = false;
    };
    std::vector<Candidate> candidates;
    std::size_t cut = units.size();
    for (std::size_t k = u; k < cut; ++k) {
        const Token& token = At(units[k]);
        if (token.Is("operator")) {
            std::size_t group = 0;
            std::string name = OperatorName(units, k, group);
            if (group < units.size()) {
                std::size_t start = k;
                name = QualifiedNameEndingAt(units, u, k, name, start);
                candidates.push_back({group, start, std::move(name)});
            }
            k = group;
            continue;
        }
        if (token.Is("=")) {
            cut = k;
            break;
        }
        if (token.Is(":") && !candidates.empty()) {
            // A constructor's member initializers: calls, not declarations.
            break;
        }
        if (!token.Is("(") || !OpensGroup(units[k])) {
            continue;
        }
        if (IsDeclaratorGroup(units, k)) {
            candidates.push_back({k, k, DeclaratorGroupName(units[k]), true});
            continue;
        }
        std::size_t nameUnit = k;
        if (k > u && IsName(units[k - 1])) {
            nameUnit = k - 1;
        } else if (k > u + 1 && At(units[k - 1]).Is("<") && IsName(units[k - 2])) {
            nameUnit = k - 2;
        }
        if (nameUnit != k) {
            std::size_t start = nameUnit;
            std::string name = QualifiedNameEndingAt(units, u, nameUnit,
                                                     std::string(At(units[nameUnit]).text), start);
            candidates.push_back({k, start, std::move(name)});
        }
    }
    // A later candidate with a type word between it and the chosen one is the declaration; the
    // chosen one was a macro in front of it (DEPRECATED("use g") int f(int)).
    const Candidate* chosen = candidates.empty() ? nullptr : &candidates.front();
    for (const Candidate& later : candidates) {
        if (&later == chosen || later.declarator || chosen->declarator) {
            continue;
        }
        for (std::size_t k = chosen->group + 1; k < later.nameStart; ++k) {
            const Token& token = At(units[k]);
            if (token.kind == TokenKind::kIdentifier && !IsOneOf(kTrailingWords, token.text)) {
                chosen = &later;
                break;
            }
        }
    }
    if (chosen == nullptr) {
        Units declarators(units.begin() + static_cast<std::ptrdiff_t>(u), units.end());
        result.declarators = DeclaratorNames(declarators);
        if (!declarators.empty()) {
            result.kind = isTypedef ? DeclarationKind::kTypedef : DeclarationKind::kVariable;
            result.name = result.declarators.empty() ? std::string() : result.declarators[0];
        }
        result.braceInitializer = terminator == '{';
        return;
    }
    result.name = chosen->name;
    if (chosen->declarator) {
        result.kind = isTypedef ? DeclarationKind::kTypedef : DeclarationKind::kVariable;
        result.declarators = {chosen->name};
        result.braceInitializer = terminator == '{';
        if (UnitIs(units, chosen->group + 1, "(")) {
            result.hasParameterList = true;
            result.parameters = ParameterNames(units[chosen->group + 1], false);
        }
        return;
    }
    result.kind = isTypedef ? DeclarationKind::kTypedef : DeclarationKind::kFunction;
    result.hasParameterList = true;
    result.parameters = ParameterNames(units[chosen->group], false);
    for (std::size_t k = chosen->group + 1; k < cut; ++k) {
        if (At(units[k]).Is(":")) {
            // A constructor's member initializers: not shown, and a brace among them initializes.
            result.shownEnd = static_cast<std::size_t>(At(units[k]).text.data() - text_.data());
            const Token& last = At(units.back());
            result.braceInitializer =
                terminator == '{' && (last.kind == TokenKind::kIdentifier || last.Is("<"));
            break;
        }
    }
    if (cut < units.size() && terminator == '{') {
        result.braceInitializer = true;
    }
}

CppDeclaration DeclarationParser::Parse(char terminator) {
    CppDeclaration result;
    std::vector<std::size_t> units = TopLevel(0, tokens_.size());
    std::size_t u = 0;
    while (UnitIs(units, u, "template")) {
        if (UnitIs(units, u + 1, "<") && OpensGroup(units[u + 1])) {
            if (result.templateParameters.empty()) {
                result.templateParameters = ParameterNames(units[u + 1], true);
            }
            ++u;
        }
        ++u;
    }
    if (UnitIs(units, u, "extern") && u + 1 < units.size() &&
        At(units[u + 1]).kind == TokenKind::kLiteral) {
        if (u + 2 == units.size() && terminator == '{') {
            result.kind = DeclarationKind::kLinkage;
            return result;
        }
        u += 2;
    }
    if (UnitIs(units, u, "inline") && UnitIs(units, u + 1, "namespace")) {
        result.inlineNamespace = true;
        ++u;
    }
    if (UnitIs(units, u, "namespace") || UnitIs(units, u, "using")) {
        bool isUsing = At(units[u]).Is("using");
        bool directive = isUsing && UnitIs(units, u + 1, "namespace");
        std::size_t k = u + (directive ? 2 : 1);
        std::string name;
        for (; k < units.size() && (IsName(units[k]) || At(units[k]).Is("::")); ++k) {
            name.append(At(units[k]).text);
        }
        result.name = name.starts_with("::") ? name.substr(2) : name;
        result.kind = !isUsing                              ? DeclarationKind::kNamespace
                      : !directive && UnitIs(units, k, "=") ? DeclarationKind::kAlias
                                                            : DeclarationKind::kUnknown;
        return result;
    }
    bool isTypedef = false;
    std::erase_if(units, [&](std::size_t unit) {
        bool drop = At(unit).Is("typedef") || At(unit).Is("friend");
        isTypedef = isTypedef || At(unit).Is("typedef");
        return drop;
    });
    if (u > units.size()) {
        u = units.size();
    }
    if (!ParseClassHead(units, u, terminator, isTypedef, result)) {
        ParseFunctionOrVariable(units, u, terminator, isTypedef, result);
    }
    return result;
}

std::string DeclarationParser::FirstIdentifier() const {
    for (std::size_t unit : TopLevel(0, tokens_.size())) {
        if (IsName(unit)) {
            return std::string(At(unit).text);
        }
    }
    return {};
}

std::string_view SkipSpaces(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t\\\r\n");
    return at == std::string_view::npos ? std::string_view() : text.substr(at);
}

std::string_view TakeIdentifier(std::string_view& text) {
    std::size_t size = 0;
    while (size < text.size() && IsIdentifierByte(text[size])) {
        ++size;
    }
    std::string_view word = text.substr(0, size);
    text.remove_prefix(size);
    return word;
}

}  // namespace

CppDeclaration ParseDeclaration(std::string_view text, char terminator) {
    return DeclarationParser(text).Parse(terminator);
}

CppDeclaration ParseMacro(std::string_view directive) {
    CppDeclaration macro;
    std::string_view rest = directive;
    if (!rest.starts_with("#")) {
        return macro;
    }
    rest = SkipSpaces(rest.substr(1));
    if (TakeIdentifier(rest) != "define") {
        return macro;
    }
    rest = SkipSpaces(rest);
    macro.name = std::string(TakeIdentifier(rest));
    if (macro.name.empty()) {
        return macro;
    }
    macro.kind = DeclarationKind::kVariable;
    if (!rest.starts_with("(")) {
        return macro;
    }
    macro.kind = DeclarationKind::kFunction;
    macro.hasParameterList = true;
    std::size_t close = rest.find(')');
    std::string_view list = rest.substr(1, close == std::string_view::npos ? rest.npos : close - 1);
    while (!SkipSpaces(list).empty()) {
        std::size_t comma = list.find(',');
        std::string_view piece = list.substr(0, comma);
        std::string_view name = SkipSpaces(piece);
        name = name.substr(0, name.find_last_not_of(" \t\\\r\n") + 1);
        if (name.size() > 3 && name.ends_with("...")) {
            name.remove_suffix(3);
        }
        macro.parameters.emplace_back(name);
        if (comma == std::string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
    }
    return macro;
}

std::string EnumeratorName(std::string_view text) {
    return DeclarationParser(text).FirstIdentifier();
}

std::vector<std::string> DeclaratorNames(std::string_view text) {
    return DeclarationParser(text).Declarators();
}

}  // namespace sylva
