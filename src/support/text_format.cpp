#include "support/text_format.h"

namespace sylva {

std::string FormatLine(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string line;
    line.reserve(pattern.size() + 32);
    auto next = values.begin();
    std::size_t from = 0;
    // The text between the conversions goes in whole runs; only '%' is looked at.
    for (std::size_t at = pattern.find('%'); at != std::string_view::npos;
         at = pattern.find('%', at + 1)) {
        if (at + 1 < pattern.size() && (pattern[at + 1] == 's' || pattern[at + 1] == 'd')) {
            line.append(pattern.substr(from, at - from));
            if (next != values.end()) {
                line.append(*next++);
            }
            from = at + 2;
            ++at;
        }
    }
    line.append(pattern.substr(from));
    return line;
}

std::string ThreeDigits(int value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    return value < 0 ? "-" + digits : digits;
}

}  // namespace sylva
