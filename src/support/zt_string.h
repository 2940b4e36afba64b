// CZTString: the byte string every part of Sylva works with.
//
// Text is bytes: no locale is used, lengths and positions count bytes, and the case-insensitive
// operations fold only the ASCII letters. CZTString is a std::string with the extra operations the
// stages rely on; it adds no data members, so it converts to and from std::string freely.
#pragma once

#include <string>
#include <string_view>

namespace sylva {

class CZTString : public std::string {
  public:
    using std::string::string;
    CZTString() = default;
    CZTString(const std::string& text) : std::string(text) {}
    CZTString(std::string&& text) : std::string(std::move(text)) {}
    CZTString(std::string_view text) : std::string(text) {}

    char GetAt(std::size_t index) const { return (*this)[index]; }

    // Index of the first match at or after `start`, or -1.
    int Find(std::string_view text, std::size_t start = 0) const;
    int Find(char ch, std::size_t start = 0) const;
    int FindNoCase(std::string_view text, std::size_t start = 0) const;

    // Replaces in place, left to right, never rescanning replaced text. `all` = false replaces the
    // first occurrence only. An empty `find` changes nothing. Returns the number of replacements.
    int FindReplace(std::string_view find, std::string_view replace, bool all = true);
    int FindReplace(char find, char replace, bool all = true);
    int FindReplaceNoCase(std::string_view find, std::string_view replace, bool all = true);

    // The n-th field (from 0) when the text is cut at every occurrence of the separator. Empty
    // fields count; a field beyond the last is empty. An empty separator cuts nothing.
    CZTString GetField(char separator, std::size_t n) const;
    CZTString GetField(std::string_view separator, std::size_t n) const;

    int CountChar(char ch) const;
    void Delete(std::size_t index, std::size_t count);

    // The part of a path after its last '/'.
    CZTString GetFilename() const;

    // Replaces, in place, every byte that cannot stand in a file name on any common file system
    // (the Windows set \ / : * ? " < > | and the control bytes 0x00 to 0x1F) by `ch`, so that
    // generated trees can be copied anywhere; and '#' and '%', which would turn a page's name in
    // a link into a fragment or an escape, so that every link resolves. Returns the result too.
    CZTString& ReplaceInvalidFilenameChars(char ch = '_');

    // Removes every leading (trailing) byte that occurs in `chars`.
    CZTString& TrimLeft(std::string_view chars);
    CZTString& TrimRight(std::string_view chars);
    CZTString& Trim(std::string_view chars) { return TrimLeft(chars).TrimRight(chars); }

    // ASCII-only upper-casing; bytes above 127 stay as they are.
    CZTString& MakeUpper();
};

// Free forms of the text helpers, for code that holds plain std::string or string_view.
bool IsInvalidFilenameChar(unsigned char ch);
char AsciiUpper(char ch);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Index of the first case-insensitive match of `needle` at or after `start`, or npos.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t start = 0);
std::string_view TrimLeftView(std::string_view text, std::string_view chars);
std::string_view TrimRightView(std::string_view text, std::string_view chars);
std::string_view TrimView(std::string_view text, std::string_view chars);

}  // namespace sylva
