// The type and tail of a data member or enumerator: its tokens say where its name stands, its
// text gives both parts as written.
#include "scan/cpp/declaration.h"
#include "scan/cpp/tokens.h"

namespace sylva {

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\\' || ch == '\f' ||
           ch == '\v';
}

// `text` with each run of blanks (a line end or line continuation included) as one space; none
// at its start (`keepStart` false) or at its end (`keepEnd` false), so that the parts of a
// member joined around its name read as the declaration did.
std::string Collapsed(std::string_view text, bool keepStart, bool keepEnd) {
    std::string collapsed;
    bool blank = false;
    for (char ch : text) {
        if (IsBlank(ch)) {
            blank = true;
            continue;
        }
        if (blank && (keepStart || !collapsed.empty())) {
            collapsed.push_back(' ');
        }
        blank = false;
        collapsed.push_back(ch);
    }
    if (blank && keepEnd && !collapsed.empty()) {
        collapsed.push_back(' ');
    }
    return collapsed;
}

bool EndsDeclarator(const Token& token) {
    return token.Is("=") || token.Is(":") || token.Is("[") || token.Is("{") || token.Is(",") ||
           token.Is(";");
}

// True iff the token at `at` opens a group that is passed over whole when looking for the name:
// template arguments and an attribute ("[[nodiscard]]").
bool IsSkippedGroup(const std::vector<Token>& tokens, std::size_t at) {
    const Token& token = tokens[at];
    if (token.match == kNoToken || token.match <= at) {
        return false;
    }
    return token.Is("<") || (token.Is("[") && at + 1 < tokens.size() && tokens[at + 1].Is("["));
}

}  // namespace

MemberShape ShapeOfMember(std::string_view text, std::string_view name) {
    const std::vector<Token> tokens = Tokenize(text);
    std::size_t found = kNoToken;
    std::size_t i = 0;
    // Parentheses around the name are a declarator group ("void (*swim)(int)"): inside one, the
    // tokens that end a declarator stand in a parameter list instead.
    for (int depth = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (IsSkippedGroup(tokens, i)) {
            i = token.match;
        } else if (depth == 0 && EndsDeclarator(token)) {
            break;
        } else if (token.Is("(")) {
            ++depth;
        } else if (token.Is(")") && depth > 0) {
            --depth;
        } else if (token.kind == TokenKind::kIdentifier && token.text == name) {
            found = i;
        }
    }
    if (found == kNoToken) {
        return {};
    }
    const std::string_view& named = tokens[found].text;
    const std::size_t nameStart = static_cast<std::size_t>(named.data() - text.data());
    MemberShape shape{Collapsed(text.substr(0, nameStart), false, true),
                      Collapsed(text.substr(nameStart + named.size()), true, false)};
    for (std::size_t after = found + 1; after < tokens.size(); ++after) {
        if (tokens[after].Is(",") && after + 1 < tokens.size()) {
            shape.tail.clear();
            break;
        }
        if (tokens[after].match != kNoToken && tokens[after].match > after) {
            after = tokens[after].match;
        }
    }
    while (!shape.tail.empty() &&
           (shape.tail.back() == ';' || shape.tail.back() == ',' || shape.tail.back() == ' ')) {
        shape.tail.pop_back();
    }
    if (shape.type.size() > kMaxMemberType) {
        shape.type.clear();
    }
    if (shape.tail.size() > kMaxMemberTail) {
        shape.tail.clear();
    }
    return shape;
}

MemberShape ShapeOfVariable(std::string_view declaration) {
    const CppDeclaration parsed = ParseDeclaration(declaration, ';');
    std::string_view declared =
        parsed.declarators.empty() ? parsed.name : parsed.declarators.front();
    declared = declared.substr(declared.rfind(':') + 1);
    return ShapeOfMember(declaration, declared);
}

}  // namespace sylva
