// Strings in the script files Sylva writes: what a name or a text becomes between the quotes of a
// JavaScript string literal.
#pragma once

#include <string>
#include <string_view>

namespace sylva {

// Appends `utf8` as a double-quoted JavaScript string literal that holds only printable ASCII:
// '"' and '\' escaped, control characters, '<', '>', '&' and every character above U+007E
// written as \uXXXX escapes (UTF-16, a pair of them above U+FFFF). Such a literal reads the same
// whatever encoding the browser assumes for the file, and cannot end a <script> element.
// REQUIRES: `utf8` is valid UTF-8 (ToUtf8 makes it so).
void AppendScriptString(std::string& out, std::string_view utf8);

}  // namespace sylva
