// The tokens of one C or C++ declaration, with their brackets paired, for naming what it declares.
// Views into the text: the tokens live no longer than the text they were cut from.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace sylva {

enum class TokenKind { kIdentifier, kNumber, kLiteral, kPunctuation };

struct Token {
    TokenKind kind;
    std::string_view text;
    // For "(", "[", "{" and a "<" that opens template arguments: the index of the closing token;
    // for the closing token: the index of the opening one. npos otherwise and when unpaired.
    std::size_t match = static_cast<std::size_t>(-1);

    bool Is(std::string_view spelling) const { return text == spelling; }
};

inline constexpr std::size_t kNoToken = static_cast<std::size_t>(-1);

// The tokens of `text`. Comments are skipped, "::", "->" and "..." are single tokens and every
// other punctuation byte is a token of its own ("<<" is two "<"). A "<" directly behind an
// identifier opens template arguments when a ">" at the same depth closes it before any bracket
// that encloses it closes; otherwise it is a plain "<". Linear in the size of `text`.
std::vector<Token> Tokenize(std::string_view text);

// True iff `word` is a C or C++ keyword or a built-in type word: it can name no function,
// parameter or variable.
bool IsReservedWord(std::string_view word);

}  // namespace sylva
