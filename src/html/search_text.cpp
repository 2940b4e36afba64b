#include "html/search_text.h"

#include <array>
#include <vector>

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

// What the bytes 0x80 to 0x9F stand for in Windows-1252; the five it leaves undefined keep their
// own value, as browsers read them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The length of the valid UTF-8 sequence at the start of `bytes`, or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view bytes) {
    auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
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

// What a byte of a word is, for finding the word's parts. The bytes of a character above U+007F
// count as small letters: such letters have no case here.
enum class PartClass : char { kUpper, kLower, kDigit, kSeparator };

PartClass ClassOf(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') {
        return PartClass::kUpper;
    }
    if (byte >= '0' && byte <= '9') {
        return PartClass::kDigit;
    }
    return byte == '_' ? PartClass::kSeparator : PartClass::kLower;
}

bool IsAsciiWordByte(unsigned char byte) {
    return IsAsciiLetter(static_cast<char>(byte)) || (byte >= '0' && byte <= '9') || byte == '_';
}

// True when a new part of a word begins at byte `i`. REQUIRES: 0 < i < classes.size().
bool PartBeginsAt(const std::vector<PartClass>& classes, std::size_t i) {
    PartClass before = classes[i - 1];
    PartClass here = classes[i];
    if (before == PartClass::kSeparator || here == PartClass::kSeparator) {
        return before != here;
    }
    if ((before == PartClass::kDigit) != (here == PartClass::kDigit)) {
        return true;
    }
    if (before == PartClass::kLower && here == PartClass::kUpper) {
        return true;
    }
    return before == PartClass::kUpper && here == PartClass::kUpper && i + 1 < classes.size() &&
           classes[i + 1] == PartClass::kLower;
}

// True when bytes [begin, end) of a word make a term: 2 to kMaxTermLength characters, a letter
// among them.
bool IsTerm(std::string_view word, const std::vector<PartClass>& classes, std::size_t begin,
            std::size_t end) {
    std::size_t characters = 0;
    bool letter = false;
    for (std::size_t i = begin; i < end; ++i) {
        characters += (static_cast<unsigned char>(word[i]) & 0xC0) != 0x80 ? 1 : 0;
        letter = letter || classes[i] == PartClass::kUpper || classes[i] == PartClass::kLower;
    }
    return letter && characters >= 2 && characters <= kMaxTermLength;
}

// Visits the word `folded`, whose bytes were of `classes` before folding, and, when it has
// several parts, each of them.
void VisitWord(std::string_view folded, const std::vector<PartClass>& classes,
               const std::function<void(std::string_view)>& visit) {
    if (IsTerm(folded, classes, 0, folded.size())) {
        visit(folded);
    }
    std::size_t begin = 0;
    for (std::size_t i = 1; i <= folded.size(); ++i) {
        if (i < folded.size() && !PartBeginsAt(classes, i)) {
            continue;
        }
        if (begin == 0 && i == folded.size()) {
            return;  // a word of one part: the word itself
        }
        if (classes[begin] != PartClass::kSeparator && IsTerm(folded, classes, begin, i)) {
            visit(folded.substr(begin, i - begin));
        }
        begin = i;
    }
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

std::string ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (std::size_t length = Utf8SequenceLength(bytes.substr(i))) {
            text.append(bytes.substr(i, length));
            i += length;
            continue;
        }
        auto byte = static_cast<unsigned char>(bytes[i]);
        AppendUtf8(text, byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
        ++i;
    }
    return text;
}

bool IsWordCharacter(char32_t c) {
    if (c < 0x80) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    }
    return c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F) &&
           !(c >= 0x3000 && c <= 0x303F) && c != 0xFEFF && c != 0xFFFD;
}

char32_t NextCharacter(std::string_view text, std::size_t& position) {
    auto byte = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[i]));
    };
    char32_t lead = byte(position);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && position + i < text.size(); ++i) {
        c = (c << 6) | (byte(position + i) & 0x3F);
    }
    position += length;
    return c;
}

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return folded;
}

void ForEachTerm(std::string_view text, const std::function<void(std::string_view)>& visit) {
    std::string folded;
    std::vector<PartClass> classes;
    auto endWord = [&] {
        if (!folded.empty()) {
            VisitWord(folded, classes, visit);
            folded.clear();
            classes.clear();
        }
    };
    for (std::size_t position = 0; position < text.size();) {
        auto byte = static_cast<unsigned char>(text[position]);
        if (byte < 0x80) {
            if (IsAsciiWordByte(byte)) {
                folded.push_back(byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + ('a' - 'A'))
                                                            : static_cast<char>(byte));
                classes.push_back(ClassOf(byte));
            } else {
                endWord();
            }
            ++position;
            continue;
        }
        std::size_t start = position;
        if (IsWordCharacter(NextCharacter(text, position))) {
            folded.append(text.substr(start, position - start));
            classes.insert(classes.end(), position - start, PartClass::kLower);
        } else {
            endWord();
        }
    }
    endWord();
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
