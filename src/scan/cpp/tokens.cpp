// Cutting a declaration into tokens and pairing its brackets.
#include "scan/cpp/tokens.h"

#include <algorithm>
#include <array>

namespace sylva {

namespace {

bool IsIdentifierStart(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_' || ch == '$' ||
           static_cast<unsigned char>(ch) >= 0x80;
}

bool IsIdentifierByte(char ch) {
    return IsIdentifierStart(ch) || (ch >= '0' && ch <= '9');
}

bool IsSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
}

// Sorted byte-wise, for binary search.
constexpr std::array<std::string_view, 92> kReservedWords = {
    "_Alignas",   "_Alignof",      "_Bool",         "_Noreturn",  "_Static_assert", "__asm",
    "__asm__",    "__attribute",   "__attribute__", "__declspec", "__extension__",  "__inline",
    "__inline__", "__restrict",    "__restrict__",  "__typeof",   "__typeof__",     "alignas",
    "alignof",    "asm",           "auto",          "bool",       "break",          "case",
    "catch",      "char",          "char16_t",      "char32_t",   "char8_t",        "class",
    "co_await",   "co_return",     "co_yield",      "const",      "consteval",      "constexpr",
    "constinit",  "continue",      "decltype",      "default",    "defined",        "delete",
    "do",         "double",        "else",          "enum",       "explicit",       "extern",
    "false",      "float",         "for",           "friend",     "goto",           "if",
    "inline",     "int",           "long",          "mutable",    "namespace",      "new",
    "noexcept",   "nullptr",       "private",       "protected",  "public",         "register",
    "requires",   "restrict",      "return",        "short",      "signed",         "sizeof",
    "static",     "static_assert", "struct",        "switch",     "template",       "this",
    "throw",      "true",          "try",           "typedef",    "typename",       "typeof",
    "union",      "unsigned",      "using",         "virtual",    "void",           "volatile",
    "wchar_t",    "while",
};
static_assert(std::is_sorted(kReservedWords.begin(), kReservedWords.end()));

bool IsOpening(char ch) {
    return ch == '(' || ch == '[' || ch == '{';
}

char ClosingOf(char ch) {
    return ch == '(' ? ')' : ch == '[' ? ']' : '}';
}

// Pairs the brackets of `tokens` with one stack. A tentative "<" is dropped from the stack, and
// stays plain, when a bracket that encloses it closes first or the text ends.
void PairBrackets(std::vector<Token>& tokens) {
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.kind != TokenKind::kPunctuation || token.text.size() != 1) {
            continue;
        }
        char ch = token.text.front();
        if (IsOpening(ch)) {
            open.push_back(i);
        } else if (ch == '<') {
            bool afterName = i > 0 && tokens[i - 1].kind == TokenKind::kIdentifier &&
                             !tokens[i - 1].Is("operator");
            if (afterName) {
                open.push_back(i);
            }
        } else if (ch == '>') {
            if (!open.empty() && tokens[open.back()].Is("<")) {
                tokens[open.back()].match = i;
                tokens[i].match = open.back();
                open.pop_back();
            }
        } else if (ch == ')' || ch == ']' || ch == '}') {
            while (!open.empty() && tokens[open.back()].Is("<")) {
                open.pop_back();
            }
            if (!open.empty() && ClosingOf(tokens[open.back()].text.front()) == ch) {
                tokens[open.back()].match = i;
                tokens[i].match = open.back();
                open.pop_back();
            }
        }
    }
}

}  // namespace

bool IsReservedWord(std::string_view word) {
    return std::binary_search(kReservedWords.begin(), kReservedWords.end(), word);
}

std::vector<Token> Tokenize(std::string_view text) {
    std::vector<Token> tokens;
    // A declaration holds about one token per three bytes: one allocation, not a dozen.
    tokens.reserve(text.size() / 3 + 1);
    std::size_t at = 0;
    while (at < text.size()) {
        char ch = text[at];
        if (IsSpace(ch)) {
            ++at;
            continue;
        }
        std::size_t from = at;
        TokenKind kind = TokenKind::kPunctuation;
        if (ch == '/' && at + 1 < text.size() && (text[at + 1] == '/' || text[at + 1] == '*')) {
            bool line = text[at + 1] == '/';
            std::size_t end = text.find(line ? "\n" : "*/", at + 2);
            at = end == std::string_view::npos ? text.size() : end + (line ? 1 : 2);
            continue;
        }
        if (IsIdentifierStart(ch)) {
            kind = TokenKind::kIdentifier;
            while (at < text.size() && IsIdentifierByte(text[at])) {
                ++at;
            }
        } else if (ch >= '0' && ch <= '9') {
            kind = TokenKind::kNumber;
            while (at < text.size() &&
                   (IsIdentifierByte(text[at]) || text[at] == '.' || text[at] == '\'')) {
                ++at;
            }
        } else if (ch == '"' || ch == '\'') {
            kind = TokenKind::kLiteral;
            ++at;
            while (at < text.size() && text[at] != ch && text[at] != '\n') {
                at += text[at] == '\\' && at + 1 < text.size() ? 2 : 1;
            }
            at = std::min(at + 1, text.size());
        } else {
            std::string_view rest = text.substr(at);
            if (rest.starts_with("::") || rest.starts_with("->")) {
                at += 2;
            } else if (rest.starts_with("...")) {
                at += 3;
            } else {
                ++at;
            }
        }
        tokens.push_back({kind, text.substr(from, at - from)});
    }
    PairBrackets(tokens);
    return tokens;
}

}  // namespace sylva
