// Naming an item from the declaration beside its block: a function head, a structure or class
// with its body, or any other text (a macro, a comment line).
#pragma once

#include <string>
#include <string_view>

namespace sylva {

// True iff `ch` occurs in `text` outside "//" and "/* */" comments. Text without any comment
// opener is searched whole; otherwise the last character is never looked at, and a "/*" opens a
// block comment even inside a line comment.
bool ContainsOutsideComments(std::string_view text, char ch);

struct DerivedName {
    std::string name;
    int hasSyntax = 0;  // 1 for the function and body forms
};

// The name of a declaration, tried in three forms: function (a '(' outside comments: the word
// before the first '('), body (a '{' outside comments: the word before the last '{', or after the
// last '}' for an untagged "struct" or "typedef"), plain (the whole text without a leading "// ").
// REQUIRES: `declaration` has no leading newline or space.
DerivedName DeriveName(std::string_view declaration);

}  // namespace sylva
