#include "support/json_text.h"

#include <cstdint>

namespace sylva {

namespace {

constexpr std::string_view kReplacement = "\\ufffd";
constexpr char kHexDigits[] = "0123456789abcdef";

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when it does not start with
// one (the ranges of RFC 3629: no overlong forms, no surrogates, nothing above U+10FFFF).
std::size_t ValidSequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const auto continuation = [&](std::size_t i, std::uint8_t low = 0x80,
                                  std::uint8_t high = 0xBF) {
        return i < text.size() && byte(i) >= low && byte(i) <= high;
    };
    const std::uint8_t lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF) {
        return continuation(1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
        const std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const std::uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
        const std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

// True for the bytes that stand in a JSON string as they are: printable ASCII but the quote and
// the backslash.
bool IsPlainByte(std::uint8_t byte) {
    return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\';
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out.reserve(out.size() + text.size() + 2);
    out.push_back('"');
    std::size_t i = 0;
    while (i < text.size()) {
        // Plain bytes and valid sequences go in whole runs: most text needs no escaping.
        std::size_t end = i;
        while (end < text.size()) {
            const auto byte = static_cast<std::uint8_t>(text[end]);
            if (IsPlainByte(byte)) {
                ++end;
            } else if (const std::size_t length =
                           byte >= 0x80 ? ValidSequenceLength(text.substr(end)) : 0;
                       length != 0) {
                end += length;
            } else {
                break;
            }
        }
        out.append(text.substr(i, end - i));
        i = end;
        if (i == text.size()) {
            break;
        }
        const auto byte = static_cast<std::uint8_t>(text[i]);
        switch (byte) {
            case '"':
                out.append("\\\"");
                break;
            case '\\':
                out.append("\\\\");
                break;
            case '\n':
                out.append("\\n");
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\t':
                out.append("\\t");
                break;
            default:
                if (byte < 0x20) {
                    out.append("\\u00");
                    out.push_back(kHexDigits[byte >> 4]);
                    out.push_back(kHexDigits[byte & 0xF]);
                } else {
                    out.append(kReplacement);  // a byte that starts no valid sequence
                }
        }
        ++i;
    }
    out.push_back('"');
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

}  // namespace sylva
