// The names in a declaration: qualified names, operator names, declarator groups, parameters
// and the declarators of a variable.
#include "scan/cpp/declaration_parser.h"

namespace sylva::cpp_parse {

namespace {

constexpr std::array<std::string_view, 8> kAttributeWords = {
    "__attribute__", "__attribute", "__declspec", "alignas", "_Alignas", "__asm__", "__asm", "asm",
};
// Words that qualify a type without being one: a parameter of nothing else is unnamed.
constexpr std::array<std::string_view, 11> kQualifierWords = {
    "const",    "volatile", "struct",   "enum",       "union",        "class",
    "typename", "register", "restrict", "__restrict", "__restrict__",
};

}  // namespace

DeclarationParser::UnitList DeclarationParser::TopLevel(std::size_t from, std::size_t to) const {
    UnitList units;
    to = std::min(to, tokens_.size());
    units.reserve(to > from ? to - from : 0);
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

std::vector<DeclarationParser::Units> DeclarationParser::SplitAtCommas(Units units) const {
    std::vector<Units> pieces;
    std::size_t start = 0;
    for (std::size_t u = 0; u < units.size(); ++u) {
        if (At(units[u]).Is(",")) {
            pieces.push_back(units.subspan(start, u - start));
            start = u + 1;
        }
    }
    pieces.push_back(units.subspan(start));
    return pieces;
}

std::string DeclarationParser::QualifiedNameEndingAt(const Units& units, std::size_t first,
                                                     std::size_t last, std::string name,
                                                     std::size_t& start) const {
    std::size_t u = last;
    if (u > first && UnitIs(units, u - 1, "~")) {
        // Built anew, not name.insert(0, ...): GCC 12 at -O3 warns falsely of that (-Wrestrict).
        std::string destructor(1, '~');
        destructor.append(name);
        name = std::move(destructor);
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
    if (!OpensGroup(open)) {
        return false;
    }
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

bool DeclarationParser::IsParenthesizedName(const Units& units, std::size_t u) const {
    if (!OpensGroup(units[u]) || !At(units[u]).Is("(") || !UnitIs(units, u + 1, "(")) {
        return false;
    }
    std::size_t open = units[u];
    return At(open).match == open + 2 && IsName(open + 1);
}

std::string DeclarationParser::DeclaratorGroupName(std::size_t open) const {
    if (!OpensGroup(open)) {
        return {};
    }
    const UnitList inner = TopLevel(open + 1, At(open).match);
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
    if (!OpensGroup(open)) {
        return names;
    }
    const UnitList list = TopLevel(open + 1, At(open).match);
    const std::vector<Units> pieces = SplitAtCommas(list);
    if (pieces.size() == 1 &&
        (pieces[0].empty() || (pieces[0].size() == 1 && At(pieces[0][0]).Is("void")))) {
        return names;
    }
    for (const auto& piece : pieces) {
        names.push_back(ParameterName(piece, templateList));
    }
    return names;
}

std::string DeclarationParser::Signature(std::size_t open) const {
    std::string signature(1, '(');
    if (!OpensGroup(open)) {
        return signature + ")";
    }
    const UnitList list = TopLevel(open + 1, At(open).match);
    const std::vector<Units> pieces = SplitAtCommas(list);
    bool none = pieces.size() == 1 &&
                (pieces[0].empty() || (pieces[0].size() == 1 && At(pieces[0][0]).Is("void")));
    for (std::size_t p = 0; !none && p < pieces.size(); ++p) {
        const Units& piece = pieces[p];
        if (p > 0) {
            signature.push_back(',');
        }
        if (piece.empty()) {
            continue;
        }
        std::string name = ParameterName(piece, false);
        std::size_t end = Behind(piece.back());
        for (std::size_t u = 0; u < piece.size(); ++u) {
            if (At(piece[u]).Is("=")) {
                end = piece[u];
                break;
            }
        }
        // The last token that spells the name is the name; every other token is the type.
        std::size_t nameToken = kNoToken;
        for (std::size_t t = piece.front(); t < end; ++t) {
            if (!name.empty() && At(t).kind == TokenKind::kIdentifier && At(t).text == name) {
                nameToken = t;
            }
        }
        bool lastWord = false;
        int depth = 0;
        for (std::size_t t = piece.front(); t < end; ++t) {
            depth += At(t).Is("(") ? 1 : At(t).Is(")") ? -1 : 0;
            // Inside the parentheses of a function pointer, a name stands behind its type.
            bool nestedName = depth > 0 && At(t).kind == TokenKind::kIdentifier &&
                              !IsReservedWord(At(t).text) && t > piece.front() &&
                              (At(t - 1).kind == TokenKind::kIdentifier || At(t - 1).Is("*") ||
                               At(t - 1).Is("&")) &&
                              t + 1 < end && (At(t + 1).Is(")") || At(t + 1).Is(","));
            if (t == nameToken || nestedName) {
                continue;
            }
            bool word = At(t).kind == TokenKind::kIdentifier || At(t).kind == TokenKind::kNumber;
            if (word && lastWord) {
                signature.push_back(' ');
            }
            signature.append(At(t).text);
            lastWord = word;
        }
    }
    signature.push_back(')');
    return signature;
}

std::vector<std::string> DeclarationParser::DeclaratorNames(Units units) const {
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

std::string DeclarationParser::FirstIdentifier() const {
    for (std::size_t unit : TopLevel(0, tokens_.size())) {
        if (IsName(unit)) {
            return std::string(At(unit).text);
        }
    }
    return {};
}

}  // namespace sylva::cpp_parse
