#include "html/search_text.h"

#include <array>

#include "html/utf8_text.h"

namespace sylva {

namespace {

// Tags inside a run of text: dropping them must not split the word they stand in.
constexpr std::array<std::string_view, 16> kInlineTags = {
    "a",    "abbr",  "b",    "big",    "code", "em",  "font", "i",
    "mark", "small", "span", "strong", "sub",  "sup", "tt",   "u",
};

struct Entity {
    std::string_view name;
    std::string_view text;
};
constexpr std::array<Entity, 6> kEntities = {{
    {"amp", "&"},
    {"lt", "<"},
    {"gt", ">"},
    {"quot", "\""},
    {"apos", "'"},
    {"nbsp", " "},
}};

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Decodes "&...;" at the start of `text` into `out`; returns the bytes it stands for in `text`,
// or 0 when it is not an entity this knows.
std::size_t DecodeEntity(std::string_view text, std::string& out) {
    std::size_t semicolon = text.find(';');
    constexpr std::size_t kLongestEntity = 10;
    if (semicolon == std::string_view::npos || semicolon > kLongestEntity) {
        return 0;
    }
    std::string_view name = text.substr(1, semicolon - 1);
    if (name.starts_with('#')) {
        bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return 0;
        }
        char32_t value = 0;
        for (char d : digits) {
            int digit = d >= '0' && d <= '9'          ? d - '0'
                        : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                        : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                      : -1;
            if (digit < 0) {
                return 0;
            }
            value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
            if (value > kLastCodePoint) {
                return 0;
            }
        }
        if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) {
            return 0;
        }
        AppendUtf8(out, value);
        return semicolon + 1;
    }
    for (const Entity& entity : kEntities) {
        if (entity.name == name) {
            out.append(entity.text);
            return semicolon + 1;
        }
    }
    return 0;
}

// The length of the tag at the start of `text` (through its '>'), or 0 when the '<' opens none.
// Sets `breaksText` when dropping it must leave a space.
std::size_t TagLength(std::string_view text, bool& breaksText) {
    std::size_t nameStart = text.size() > 1 && text[1] == '/' ? 2 : 1;
    if (nameStart >= text.size() || !(IsAsciiLetter(text[nameStart]) || text[nameStart] == '!')) {
        return 0;
    }
    std::size_t close = text.find('>', nameStart);
    if (close == std::string_view::npos) {
        return 0;
    }
    std::size_t nameEnd = nameStart;
    while (nameEnd < close &&
           (IsAsciiLetter(text[nameEnd]) || (text[nameEnd] >= '0' && text[nameEnd] <= '9'))) {
        ++nameEnd;
    }
    std::string name = FoldCase(text.substr(nameStart, nameEnd - nameStart));
    breaksText = true;
    for (std::string_view inlineTag : kInlineTags) {
        if (name == inlineTag) {
            breaksText = false;
        }
    }
    return close + 1;
}

}  // namespace

std::string PlainTextOfHtml(std::string_view html) {
    std::string text;
    text.reserve(html.size());
    bool pendingSpace = false;
    auto appendText = [&text, &pendingSpace](std::string_view part) {
        for (char c : part) {
            if (IsAsciiSpace(c)) {
                pendingSpace = true;
                continue;
            }
            if (pendingSpace && !text.empty()) {
                text.push_back(' ');
            }
            pendingSpace = false;
            text.push_back(c);
        }
    };
    std::string decoded;
    for (std::size_t i = 0; i < html.size();) {
        std::string_view rest = html.substr(i);
        if (html[i] == '<') {
            bool breaksText = false;
            if (std::size_t length = TagLength(rest, breaksText)) {
                pendingSpace = pendingSpace || breaksText;
                i += length;
                continue;
            }
        } else if (html[i] == '&') {
            decoded.clear();
            if (std::size_t length = DecodeEntity(rest, decoded)) {
                appendText(decoded);
                i += length;
                continue;
            }
        }
        appendText(html.substr(i, 1));
        ++i;
    }
    return text;
}

std::string FirstSentence(std::string_view text, std::size_t limit) {
    std::size_t end = text.size();
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if ((text[i] == '.' || text[i] == '!' || text[i] == '?') && text[i + 1] == ' ') {
            end = i + 1;
            break;
        }
    }
    if (end <= limit) {
        return std::string(text.substr(0, end));
    }
    std::size_t cut = text.rfind(' ', limit);
    if (cut == std::string_view::npos || cut == 0) {
        cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    std::string sentence(text.substr(0, cut));
    sentence.append(kEllipsis);
    return sentence;
}

}  // namespace sylva
