// Searches for the bytes of a small set, the way std::string_view's find_first_of and its kin do.
//
// The library's forms test each byte of the text with a call to memchr over the set. The readers
// ask these of every line and of every run of code up to a brace, with sets of two to six bytes:
// over OpenCV's headers that was seven million calls, 7 % of the reader's instructions. A loop
// over the set, inlined, costs a few compares a byte.
#pragma once

#include <string_view>

namespace sylva {

inline bool IsOneOf(char ch, std::string_view set) {
    for (char member : set) {
        if (member == ch) {
            return true;
        }
    }
    return false;
}

// The first byte at or after `from` that is in `set` (FindFirstOf) or not in it (FindFirstNotOf),
// the last one that is not (FindLastNotOf); npos when there is none.
inline std::size_t FindFirstOf(std::string_view text, std::string_view set, std::size_t from = 0) {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (IsOneOf(text[at], set)) {
            return at;
        }
    }
    return std::string_view::npos;
}

inline std::size_t FindFirstNotOf(std::string_view text, std::string_view set,
                                  std::size_t from = 0) {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (!IsOneOf(text[at], set)) {
            return at;
        }
    }
    return std::string_view::npos;
}

inline std::size_t FindLastNotOf(std::string_view text, std::string_view set) {
    for (std::size_t at = text.size(); at > 0; --at) {
        if (!IsOneOf(text[at - 1], set)) {
            return at - 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace sylva
