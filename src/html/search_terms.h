// The terms by which the search finds a text or a name: its words in lower case, and the parts
// of words made of several ("WinterCutHeight", "m_name"). The search's script splits and folds a
// query by the same rules (IsWordCharacter, ASCII-only folding), so that a term written here and a
// word typed there meet.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace sylva {

// True for the characters words are made of: ASCII letters, digits and '_', and the characters
// above U+00BF that are not punctuation, spaces or symbols of the general punctuation blocks.
bool IsWordCharacter(char32_t character);

// Calls `visit` for each term of UTF-8 `text`, in text order, repeats included: each word in
// lower case, then, for a word made of several parts, each part ("WinterCutHeight" gives
// "wintercutheight", "winter", "cut", "height"; "m_name" gives "m_name" and "name"). Parts begin
// after '_', at a capital after a small letter, at a capital followed by a small letter after
// capitals, and where letters and digits meet. Kept are only terms of 2 to kMaxTermLength
// characters that hold a letter.
inline constexpr std::size_t kMaxTermLength = 64;
void ForEachTerm(std::string_view text, const std::function<void(std::string_view)>& visit);

}  // namespace sylva
