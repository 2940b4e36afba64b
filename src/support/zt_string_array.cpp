#include "support/zt_string_array.h"

#include <algorithm>

#include "support/zt_string.h"

namespace sylva {

namespace {

bool LessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(AsciiUpper(x)) <
               static_cast<unsigned char>(AsciiUpper(y));
    });
}

bool LessBytes(std::string_view a, std::string_view b) {
    // std::string_view compares through char_traits<char>, which orders as unsigned char.
    return a < b;
}

}  // namespace

int CZTStringArray::Add(std::string text, bool sorted, bool caseSensitive) {
    auto at = lines_.end();
    if (sorted) {
        at = caseSensitive ? std::upper_bound(lines_.begin(), lines_.end(), text, LessBytes)
                           : std::upper_bound(lines_.begin(), lines_.end(), text, LessNoCase);
    }
    auto index = at - lines_.begin();
    lines_.insert(at, std::move(text));
    return static_cast<int>(index);
}

int CZTStringArray::Find(std::string_view key, bool prefix, bool noCase) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = lines_[i];
        if (prefix) {
            line = line.substr(0, key.size());
        }
        if (noCase ? EqualsNoCase(line, key) : line == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace sylva
