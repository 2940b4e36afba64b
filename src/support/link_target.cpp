#include "support/link_target.h"

namespace sylva {

namespace {

bool NeedsEscape(unsigned char byte) {
    return byte > 127 || byte == '&';
}

}  // namespace

std::string LinkTarget(std::string_view fileName) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string target;
    target.reserve(fileName.size());
    for (char ch : fileName) {
        unsigned char byte = static_cast<unsigned char>(ch);
        if (NeedsEscape(byte)) {
            target.push_back('%');
            target.push_back(kHexDigits[byte >> 4]);
            target.push_back(kHexDigits[byte & 0x0F]);
        } else {
            target.push_back(ch);
        }
    }
    return target;
}

}  // namespace sylva
