#include "html/script_literal.h"

#include "html/utf8_text.h"

namespace sylva {

namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";

void AppendUnicodeEscape(std::string& out, char32_t unit) {
    out.append("\\u");
    for (int shift = 12; shift >= 0; shift -= 4) {
        out.push_back(kHexDigits[(unit >> shift) & 0xF]);
    }
}

// True for the bytes a literal holds as they are.
bool IsPlain(char c) {
    return c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '<' && c != '>' && c != '&';
}

}  // namespace

void AppendScriptString(std::string& out, std::string_view utf8) {
    out.push_back('"');
    for (std::size_t position = 0; position < utf8.size();) {
        std::size_t plain = position;
        while (plain < utf8.size() && IsPlain(utf8[plain])) {
            ++plain;
        }
        out.append(utf8.substr(position, plain - position));
        position = plain;
        if (position == utf8.size()) {
            break;
        }
        char32_t c = NextCharacter(utf8, position);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x10000) {
            AppendUnicodeEscape(out, c);
        } else {
            char32_t offset = c - 0x10000;
            AppendUnicodeEscape(out, 0xD800 + (offset >> 10));
            AppendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
        }
    }
    out.push_back('"');
}

}  // namespace sylva
