// Cutting source bytes into pieces: the order of the pieces, code and literals.
#include "scan/doxygen/source_lexer.h"

#include <array>

namespace sylva {

namespace {

constexpr std::size_t kMaxRawDelimiter = 16;

constexpr bool IsIdentifierByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_' || static_cast<unsigned char>(ch) >= 0x80;
}

constexpr bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// What ReadCode needs to know of a byte, one bit each.
constexpr unsigned char kWord = 1;          // a byte of an identifier or number
constexpr unsigned char kDigit = 2;         // 0 to 9
constexpr unsigned char kBlankByte = 4;     // a blank other than a line feed
constexpr unsigned char kMaybeSpecial = 8;  // may start a literal, comment or directive

constexpr std::array<unsigned char, 256> MakeByteKinds() {
    std::array<unsigned char, 256> kinds{};
    for (int ch = 0; ch < 256; ++ch) {
        unsigned char kind = 0;
        if (IsIdentifierByte(static_cast<char>(ch))) {
            kind |= kWord;
        }
        if (IsDigit(static_cast<char>(ch))) {
            kind |= kDigit;
        }
        if (IsSourceBlank(static_cast<char>(ch))) {
            kind |= kBlankByte;
        }
        if (ch == '/' || ch == '"' || ch == '\'' || ch == '#') {
            kind |= kMaybeSpecial;
        }
        kinds[static_cast<std::size_t>(ch)] = kind;
    }
    return kinds;
}

constexpr std::array<unsigned char, 256> kByteKinds = MakeByteKinds();

// The prefixes a raw string literal may carry before its '"'.
bool IsRawPrefix(std::string_view token) {
    return token == "R" || token == "u8R" || token == "uR" || token == "UR" || token == "LR";
}

}  // namespace

void SourceLexer::Advance() {
    char ch = content_[at_++];
    if (ch == '\n') {
        ++line_;
        lineStart_ = at_;
        lineBlank_ = true;
    } else if (!IsSourceBlank(ch)) {
        lineBlank_ = false;
    }
}

void SourceLexer::Start(SourcePiece piece) {
    event_ = SourceEvent();
    event_.piece = piece;
    event_.line = line_;
    event_.column = at_ - lineStart_;
}

const SourceEvent& SourceLexer::Next() {
    if (queuedComment_ != std::string_view::npos) {
        std::size_t at = at_;
        int line = line_;
        std::size_t lineStart = lineStart_;
        bool lineBlank = lineBlank_;
        at_ = queuedComment_;
        line_ = queuedLine_;
        lineStart_ = queuedLineStart_;
        queuedComment_ = std::string_view::npos;
        bool trailing = false;
        bool block = false;
        std::size_t marker = DocMarkerSize(trailing, block);
        if (block) {
            ReadBlockDocComment(marker);
        } else {
            Start(SourcePiece::kDocComment);
            ReadLineDocComments(trailing, true);
        }
        at_ = at;
        line_ = line;
        lineStart_ = lineStart;
        lineBlank_ = lineBlank;
        return event_;
    }
    if (AtEnd()) {
        Start(SourcePiece::kEnd);
        return event_;
    }
    char ch = Peek();
    if (ch == '/' && (Peek(1) == '/' || Peek(1) == '*')) {
        ReadComment();
    } else if (ch == '"') {
        if (!ReadRawString()) {
            ReadLiteral();
        }
    } else if (ch == '\'' && !IsDigitSeparator()) {
        ReadLiteral();
    } else if (ch == '#' && lineBlank_) {
        ReadDirective();
    } else {
        ReadCode();
        return event_;
    }
    tokenOpen_ = false;
    numberToken_ = false;
    return event_;
}

bool SourceLexer::IsDigitSeparator() const {
    return numberToken_ && at_ + 1 < content_.size() && IsIdentifierByte(content_[at_ + 1]);
}

void SourceLexer::ReadCode() {
    Start(SourcePiece::kCode);
    // The hot loop of the whole reader: every byte of code passes here once, so it keeps its
    // state in locals and classifies each byte with one table look-up.
    const std::size_t from = at_;
    const std::size_t size = content_.size();
    const char* data = content_.data();
    std::size_t at = at_;
    bool lineBlank = lineBlank_;
    bool tokenOpen = tokenOpen_;
    bool numberToken = numberToken_;
    for (; at < size; ++at) {
        char ch = data[at];
        unsigned char kind = kByteKinds[static_cast<unsigned char>(ch)];
        if ((kind & kMaybeSpecial) != 0 && at > from) {
            char next = at + 1 < size ? data[at + 1] : '\0';
            bool separator = ch == '\'' && numberToken && at + 1 < size &&
                             (kByteKinds[static_cast<unsigned char>(next)] & kWord) != 0;
            bool special = (ch == '/' && (next == '/' || next == '*')) || ch == '"' ||
                           (ch == '\'' && !separator) || (ch == '#' && lineBlank);
            if (special) {
                break;
            }
        }
        if ((kind & kWord) != 0 || (ch == '.' && numberToken)) {
            if (!tokenOpen) {
                tokenOpen = true;
                numberToken = (kind & kDigit) != 0;
            }
        } else if (ch != '\'' || !numberToken) {
            tokenOpen = false;
            numberToken = false;
        }
        if (ch == '\n') {
            ++line_;
            lineStart_ = at + 1;
            lineBlank = true;
        } else if ((kind & kBlankByte) == 0) {
            lineBlank = false;
        }
    }
    at_ = at;
    lineBlank_ = lineBlank;
    tokenOpen_ = tokenOpen;
    numberToken_ = numberToken;
    event_.text = content_.substr(from, at_ - from);
}

void SourceLexer::ReadLiteral() {
    Start(SourcePiece::kLiteral);
    std::size_t from = at_;
    char quote = Peek();
    Advance();
    while (!AtEnd() && Peek() != '\n') {
        char ch = Peek();
        Advance();
        if (ch == '\\' && !AtEnd() && Peek() != '\n') {
            Advance();
        } else if (ch == quote) {
            break;
        }
    }
    event_.text = content_.substr(from, at_ - from);
}

bool SourceLexer::ReadRawString() {
    std::size_t prefixStart = at_;
    while (prefixStart > 0 && at_ - prefixStart < 3 &&
           IsIdentifierByte(content_[prefixStart - 1])) {
        --prefixStart;
    }
    if (prefixStart > 0 && IsIdentifierByte(content_[prefixStart - 1])) {
        return false;
    }
    if (!IsRawPrefix(content_.substr(prefixStart, at_ - prefixStart))) {
        return false;
    }
    std::size_t open = at_ + 1;
    while (open < content_.size() && open - at_ - 1 <= kMaxRawDelimiter) {
        char ch = content_[open];
        if (ch == '(') {
            break;
        }
        if (ch == ')' || ch == '\\' || IsSourceBlank(ch) || ch == '\n' || ch == '"') {
            return false;
        }
        ++open;
    }
    if (open >= content_.size() || content_[open] != '(') {
        return false;
    }
    std::string closing = ")";
    closing.append(content_.substr(at_ + 1, open - at_ - 1));
    closing.push_back('"');
    std::size_t close = content_.find(closing, open + 1);
    if (close == std::string_view::npos) {
        return false;
    }
    Start(SourcePiece::kLiteral);
    std::size_t from = at_;
    while (at_ < close + closing.size()) {
        Advance();
    }
    event_.text = content_.substr(from, at_ - from);
    return true;
}

}  // namespace sylva
