#include "support/text_format.h"

namespace sylva {

std::string FormatLine(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string line;
    line.reserve(pattern.size() + 32);
    auto next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            if (next != values.end()) {
                line.append(*next++);
            }
            ++i;
        } else {
            line.push_back(pattern[i]);
        }
    }
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
