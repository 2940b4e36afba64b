#include "html/search_terms.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "html/utf8_text.h"

namespace sylva {

namespace {

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

// Indexed by an ASCII byte: whether it belongs to words.
constexpr std::array<bool, 128> kAsciiWordBytes = [] {
    std::array<bool, 128> table{};
    for (int byte = 0; byte < 128; ++byte) {
        table[byte] = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                      (byte >= '0' && byte <= '9') || byte == '_';
    }
    return table;
}();

// Visits a part of a word (its bytes in lower case) when it is a term.
void VisitPart(std::string_view part, const std::function<void(std::string_view)>& visit) {
    if (part.front() == '_') {
        return;
    }
    std::size_t characters = 0;
    bool letter = false;
    for (char c : part) {
        auto byte = static_cast<unsigned char>(c);
        characters += (byte & 0xC0) != 0x80 ? 1 : 0;
        PartClass type = ClassOf(byte);
        letter = letter || type == PartClass::kUpper || type == PartClass::kLower;
    }
    if (letter && characters >= 2 && characters <= kMaxTermLength) {
        visit(part);
    }
}

// Visits `word` (a run of word characters of valid UTF-8) in lower case when it is a term, and,
// when it has several parts, each part. The bytes of a character above U+007F count as small
// letters: such letters have no case here. `folded` and `partStarts` are scratch space.
void VisitWord(std::string_view word, std::string& folded, std::vector<std::uint32_t>& partStarts,
               const std::function<void(std::string_view)>& visit) {
    // Most words are small letters after at most one capital: one part, nothing to split.
    std::size_t small = word[0] >= 'A' && word[0] <= 'Z' ? 1 : 0;
    while (small < word.size() && word[small] >= 'a' && word[small] <= 'z') {
        ++small;
    }
    if (small == word.size() && word.size() <= kMaxTermLength) {
        if (word.size() >= 2) {
            folded.assign(word);
            if (small > 0 && word[0] >= 'A' && word[0] <= 'Z') {
                folded[0] = static_cast<char>(word[0] + ('a' - 'A'));
            }
            visit(folded);
        }
        return;
    }
    folded.assign(word);
    partStarts.clear();
    std::size_t characters = 0;
    bool letter = false;
    PartClass beforeLast = PartClass::kSeparator;
    PartClass last = PartClass::kSeparator;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        auto byte = static_cast<unsigned char>(folded[i]);
        PartClass type = ClassOf(byte);
        if (type == PartClass::kUpper) {
            folded[i] = static_cast<char>(byte + ('a' - 'A'));
        }
        characters += (byte & 0xC0) != 0x80 ? 1 : 0;
        letter = letter || type == PartClass::kUpper || type == PartClass::kLower;
        if (i > 0) {
            bool separators = last == PartClass::kSeparator || type == PartClass::kSeparator;
            if (separators ? last != type
                           : (last == PartClass::kDigit) != (type == PartClass::kDigit) ||
                                 (last == PartClass::kLower && type == PartClass::kUpper)) {
                partStarts.push_back(static_cast<std::uint32_t>(i));
            } else if (beforeLast == PartClass::kUpper && last == PartClass::kUpper &&
                       type == PartClass::kLower) {
                // "HTMLParser": "Parser" begins at its capital.
                partStarts.push_back(static_cast<std::uint32_t>(i - 1));
            }
        }
        beforeLast = last;
        last = type;
    }
    if (letter && characters >= 2 && characters <= kMaxTermLength) {
        visit(folded);
    }
    if (partStarts.empty()) {
        return;
    }
    partStarts.push_back(static_cast<std::uint32_t>(folded.size()));
    std::size_t begin = 0;
    for (std::size_t end : partStarts) {
        VisitPart(std::string_view(folded).substr(begin, end - begin), visit);
        begin = end;
    }
}

}  // namespace

bool IsWordCharacter(char32_t c) {
    if (c < 0x80) {
        return kAsciiWordBytes[c];
    }
    return c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F) &&
           !(c >= 0x3000 && c <= 0x303F) && c != 0xFEFF && c != 0xFFFD;
}

void ForEachTerm(std::string_view text, const std::function<void(std::string_view)>& visit) {
    std::string folded;
    std::vector<std::uint32_t> partStarts;
    std::size_t wordStart = 0;
    auto endWord = [&](std::size_t end) {
        if (end > wordStart) {
            VisitWord(text.substr(wordStart, end - wordStart), folded, partStarts, visit);
        }
    };
    for (std::size_t position = 0; position < text.size();) {
        auto byte = static_cast<unsigned char>(text[position]);
        if (byte < 0x80) {
            if (!kAsciiWordBytes[byte]) {
                endWord(position);
                wordStart = position + 1;
            }
            ++position;
            continue;
        }
        std::size_t start = position;
        if (!IsWordCharacter(NextCharacter(text, position))) {
            endWord(start);
            wordStart = position;
        }
    }
    endWord(text.size());
}

}  // namespace sylva
