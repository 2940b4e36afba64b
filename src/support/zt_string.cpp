#include "support/zt_string.h"

#include <string.h>

#include <algorithm>

#include "support/byte_sets.h"

namespace sylva {

namespace {

int ToIndex(std::size_t pos) {
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

// Needles up to this length are looked for by the naive search, which costs at most this many
// comparisons per position and needs no set-up, where memmem's set-up dominates on the short
// lines and placeholders that most calls look for.
constexpr std::size_t kNaiveSearchMaxNeedle = 16;

// The first occurrence of the non-empty `needle` in `text` from `from`, in time linear in the
// lengths of both: the naive search behind std::string::find compares up to the needle's length
// at every position, which a long needle over repetitive text (a declaration of thousands of
// similar lines) turns quadratic.
std::size_t FindLinear(std::string_view text, std::string_view needle, std::size_t from) {
    if (from > text.size()) {
        return std::string::npos;
    }
    if (needle.size() <= kNaiveSearchMaxNeedle) {
        return text.find(needle, from);
    }
    const void* found =
        ::memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return found == nullptr
               ? std::string::npos
               : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

template <typename Finder>
int ReplaceWith(std::string& text, std::size_t findLength, std::string_view replace, bool all,
                Finder find) {
    if (findLength == 0) {
        return 0;
    }
    int count = 0;
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = find(text, 0); at != std::string::npos; at = find(text, from)) {
        if (count == 0) {
            result.reserve(text.size());
        }
        result.append(text, from, at - from);
        result.append(replace);
        from = at + findLength;
        ++count;
        if (!all) {
            break;
        }
    }
    if (count > 0) {
        result.append(text, from, std::string::npos);
        text.swap(result);
    }
    return count;
}

template <typename Separator>
CZTString FieldOf(std::string_view text, Separator separator, std::size_t separatorLength,
                  std::size_t n) {
    if (separatorLength == 0) {
        return n == 0 ? CZTString(text) : CZTString();
    }
    std::size_t begin = 0;
    for (std::size_t field = 0; field < n; ++field) {
        std::size_t at = text.find(separator, begin);
        if (at == std::string_view::npos) {
            return {};
        }
        begin = at + separatorLength;
    }
    std::size_t end = text.find(separator, begin);
    return CZTString(text.substr(begin, end == std::string_view::npos ? text.npos : end - begin));
}

}  // namespace

bool IsInvalidFilenameChar(unsigned char ch) {
    if (ch < 0x20) {
        return true;
    }
    switch (ch) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
        case '#':
        case '%':
            return true;
        default:
            return false;
    }
}

char AsciiUpper(char ch) {
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiUpper(x) == AsciiUpper(y);
           });
}

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t start) {
    if (start > haystack.size() || needle.size() > haystack.size() - start) {
        return std::string_view::npos;
    }
    auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(start), haystack.end(),
                          needle.begin(), needle.end(),
                          [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
    return it == haystack.end() && !needle.empty()
               ? std::string_view::npos
               : static_cast<std::size_t>(it - haystack.begin());
}

std::string_view TrimLeftView(std::string_view text, std::string_view chars) {
    std::size_t first = FindFirstNotOf(text, chars);
    return first == text.npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRightView(std::string_view text, std::string_view chars) {
    std::size_t last = FindLastNotOf(text, chars);
    return last == text.npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view TrimView(std::string_view text, std::string_view chars) {
    return TrimRightView(TrimLeftView(text, chars), chars);
}

int CZTString::Find(std::string_view text, std::size_t start) const {
    return ToIndex(find(text, start));
}

int CZTString::Find(char ch, std::size_t start) const {
    return ToIndex(find(ch, start));
}

int CZTString::FindNoCase(std::string_view text, std::size_t start) const {
    return ToIndex(sylva::FindNoCase(*this, text, start));
}

int CZTString::FindReplace(std::string_view find, std::string_view replace, bool all) {
    return ReplaceWith(
        *this, find.size(), replace, all,
        [find](const std::string& text, std::size_t from) { return FindLinear(text, find, from); });
}

int CZTString::FindReplace(char find, char replace, bool all) {
    int count = 0;
    for (char& ch : *this) {
        if (ch == find) {
            ch = replace;
            ++count;
            if (!all) {
                break;
            }
        }
    }
    return count;
}

int CZTString::FindReplaceNoCase(std::string_view find, std::string_view replace, bool all) {
    return ReplaceWith(*this, find.size(), replace, all,
                       [find](const std::string& text, std::size_t from) {
                           return sylva::FindNoCase(text, find, from);
                       });
}

CZTString CZTString::GetField(char separator, std::size_t n) const {
    return FieldOf(*this, separator, 1, n);
}

CZTString CZTString::GetField(std::string_view separator, std::size_t n) const {
    return FieldOf(*this, separator, separator.size(), n);
}

int CZTString::CountChar(char ch) const {
    return static_cast<int>(std::count(begin(), end(), ch));
}

void CZTString::Delete(std::size_t index, std::size_t count) {
    if (index < size()) {
        erase(index, count);
    }
}

CZTString CZTString::GetFilename() const {
    std::size_t slash = rfind('/');
    return slash == npos ? *this : CZTString(substr(slash + 1));
}

CZTString& CZTString::ReplaceInvalidFilenameChars(char ch) {
    for (char& c : *this) {
        if (IsInvalidFilenameChar(static_cast<unsigned char>(c))) {
            c = ch;
        }
    }
    return *this;
}

CZTString& CZTString::TrimLeft(std::string_view chars) {
    std::size_t first = find_first_not_of(chars);
    erase(0, first == npos ? size() : first);
    return *this;
}

CZTString& CZTString::TrimRight(std::string_view chars) {
    std::size_t last = find_last_not_of(chars);
    erase(last == npos ? 0 : last + 1);
    return *this;
}

CZTString& CZTString::MakeUpper() {
    for (char& c : *this) {
        c = AsciiUpper(c);
    }
    return *this;
}

}  // namespace sylva
