// Text for the search index: the plain text of a page's HTML lines, its first sentence, and the
// words (terms) by which a text or a name is found.
//
// Page text is bytes. Everything handed on from here is UTF-8: a byte sequence that is valid
// UTF-8 stays as it is, any other byte is read as a Windows-1252 character. The search runtime
// splits and folds a query by the same rules (IsWordCharacter, ASCII-only case folding), so a
// term written here and a word typed there meet.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace sylva {

// The plain text of HTML: every tag dropped (one that breaks the text, such as <BR>, <td> or <p>,
// leaves a space; an inline one, such as <b> or <a>, nothing), the common entities decoded
// (&amp; &lt; &gt; &quot; &apos; &nbsp; and numeric ones), runs of white space made one space,
// both ends trimmed. A '<' that opens no tag is text.
std::string PlainTextOfHtml(std::string_view html);

// `bytes` as UTF-8: valid UTF-8 sequences kept, every other byte taken as Windows-1252.
std::string ToUtf8(std::string_view bytes);

// True for the characters words are made of: ASCII letters, digits and '_', and the characters
// above U+00BF that are not punctuation, spaces or symbols of the general punctuation blocks.
bool IsWordCharacter(char32_t character);

// Reads the character at `position` of valid UTF-8 `text` and moves `position` past it.
char32_t NextCharacter(std::string_view text, std::size_t& position);

// `text` with ASCII letters in lower case; every other byte as it is.
std::string FoldCase(std::string_view text);

// Calls `visit` for each term of UTF-8 `text`, in text order, repeats included: each word in
// lower case, then, for a word made of several parts, each part ("WinterCutHeight" gives
// "wintercutheight", "winter", "cut", "height"; "m_name" gives "m_name" and "name"). Parts begin
// after '_', at a capital after a small letter, at a capital followed by a small letter after
// capitals, and where letters and digits meet. Kept are only terms of 2 to kMaxTermLength
// characters that hold a letter.
inline constexpr std::size_t kMaxTermLength = 64;
void ForEachTerm(std::string_view text, const std::function<void(std::string_view)>& visit);

// The first sentence of plain text: up to and including the first '.', '!' or '?' that is
// followed by a space, or all of it. When that is longer than `limit` bytes it is cut at its last
// space within them (or at a character boundary) and ends with an ellipsis.
std::string FirstSentence(std::string_view text, std::size_t limit);

}  // namespace sylva
