// Text as the search index and its scripts hold it: UTF-8. Page text is bytes; a byte sequence
// that is valid UTF-8 stays as it is, any other byte is read as a Windows-1252 character, as a
// browser reads a page that names no encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sylva {

// `bytes` as UTF-8: valid UTF-8 sequences kept, every other byte taken as Windows-1252.
std::string ToUtf8(std::string_view bytes);
// The same without a copy for bytes that are valid UTF-8 already; others are converted into
// `storage`, which the result then views.
std::string_view AsUtf8(std::string_view bytes, std::string& storage);

// Appends the UTF-8 bytes of `character`. REQUIRES: a code point, not a surrogate.
void AppendUtf8(std::string& out, char32_t character);

// Reads the character at `position` of valid UTF-8 `text` and moves `position` past it.
char32_t NextCharacter(std::string_view text, std::size_t& position);

// `text` with ASCII letters in lower case; every other byte as it is. No locale: the search
// folds only ASCII letters, here and in its script alike.
std::string FoldCase(std::string_view text);

}  // namespace sylva
