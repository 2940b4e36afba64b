// Naming a declaration from its tokens.
//
// In this order it recognises template heads, extern "C", namespaces, using, class heads, and
// then functions and variables by their parameter lists (declaration_parser.h).
#include "scan/cpp/declaration.h"

#include "scan/cpp/declaration_parser.h"

namespace sylva {

namespace cpp_parse {

namespace {

// Words that may follow a parameter list without starting a new declaration.
constexpr std::array<std::string_view, 9> kTrailingWords = {
    "const", "volatile", "override", "final", "noexcept", "throw", "mutable", "requires", "try",
};
constexpr std::array<std::string_view, 4> kClassKeys = {"class", "struct", "union", "enum"};

std::string_view SkipSpaces(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t\\\r\n");
    return at == std::string_view::npos ? std::string_view() : text.substr(at);
}

// True iff `name` holds letters, none of them in lower case, as macro names are written.
bool IsCapitalized(std::string_view name) {
    bool letters = false;
    for (char ch : name) {
        if (ch >= 'a' && ch <= 'z') {
            return false;
        }
        letters = letters || (ch >= 'A' && ch <= 'Z');
    }
    return letters;
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
    // An attribute macro with arguments between the key and the name
    // ("struct __rte_aligned(64) rte_ml_op {") is passed over like a word.
    while (k + 2 < units.size() && At(units[k]).kind == TokenKind::kIdentifier &&
           UnitIs(units, k + 1, "(") && OpensGroup(units[k + 1]) &&
           At(units[k + 2]).kind == TokenKind::kIdentifier) {
        k += 2;
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
            if (group < units.size() && At(units[group]).Is("(") && OpensGroup(units[group])) {
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
        if (IsParenthesizedName(units, k)) {
            // Behind a macro in capitals the name is a pointer's that the macro writes
            // ("void *GIT_CALLBACK(gmalloc)(size_t n)": a function pointer member).
            bool macroDeclarator =
                k > u && IsName(units[k - 1]) && IsCapitalized(At(units[k - 1]).text);
            candidates.push_back({macroDeclarator ? k : k + 1, k,
                                  std::string(At(units[k] + 1).text), macroDeclarator});
            ++k;
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
    // chosen one was a macro in front of it (DEPRECATED("use g") int f(int)). So is one right
    // behind the chosen one when only the chosen one is named in capitals: a macro that gives
    // the return type (RETURN_TYPE(A, B) center() const), not one behind the parameter list
    // (int f(int a) PRINTF_LIKE(1, 2)).
    const Candidate* chosen = candidates.empty() ? nullptr : &candidates.front();
    for (const Candidate& later : candidates) {
        if (&later == chosen || later.declarator || chosen->declarator) {
            continue;
        }
        if (later.nameStart == chosen->group + 1 && IsCapitalized(chosen->name) &&
            !IsCapitalized(later.name)) {
            chosen = &later;
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
        const Units declarators = units.subspan(std::min(u, units.size()));
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
    if (signature_) {
        result.signature = Signature(units[chosen->group]);
        for (std::size_t k = chosen->group + 1; k < cut && !At(units[k]).Is(":"); ++k) {
            if (At(units[k]).Is("const")) {
                result.signature.append(" const");
                break;
            }
        }
    }
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
    UnitList units = TopLevel(0, tokens_.size());
    std::size_t u = 0;
    // Words in capitals in front of a template head are macros that, unexpanded, are no part of
    // the declaration ("NS_BEGIN template <class T> struct Lane {"): a declaration starts there.
    std::size_t head = 0;
    while (head < units.size() && At(units[head]).kind == TokenKind::kIdentifier &&
           IsCapitalized(At(units[head]).text)) {
        ++head;
    }
    if (head > 0 && UnitIs(units, head, "template")) {
        u = head;
    }
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
        result.isFriend = result.isFriend || At(unit).Is("friend");
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

}  // namespace cpp_parse

CppDeclaration ParseDeclaration(std::string_view text, char terminator) {
    return cpp_parse::DeclarationParser(text).Parse(terminator);
}

CppDeclaration ParseDeclarationWithoutSignature(std::string_view text, char terminator) {
    return cpp_parse::DeclarationParser(text, false).Parse(terminator);
}

CppDeclaration ParseMacro(std::string_view directive) {
    CppDeclaration macro;
    std::string_view rest = directive;
    if (!rest.starts_with("#")) {
        return macro;
    }
    rest = cpp_parse::SkipSpaces(rest.substr(1));
    if (cpp_parse::TakeIdentifier(rest) != "define") {
        return macro;
    }
    rest = cpp_parse::SkipSpaces(rest);
    macro.name = std::string(cpp_parse::TakeIdentifier(rest));
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
    while (!cpp_parse::SkipSpaces(list).empty()) {
        std::size_t comma = list.find(',');
        std::string_view piece = list.substr(0, comma);
        std::string_view name = cpp_parse::SkipSpaces(piece);
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
    return cpp_parse::DeclarationParser(text).FirstIdentifier();
}

std::vector<std::string> DeclaratorNames(std::string_view text) {
    return cpp_parse::DeclarationParser(text).Declarators();
}

}  // namespace sylva
