// Cutting source bytes into code, literals, comments and directives.
#include "scan/source_lexer.h"

#include <array>

namespace sylva {

namespace {

constexpr std::string_view kBlockClose = "*/";
constexpr std::string_view kBlockOpen = "/*";
constexpr std::size_t kMaxRawDelimiter = 16;

constexpr bool IsIdentifierByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_' || static_cast<unsigned char>(ch) >= 0x80;
}

constexpr bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

constexpr bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v';
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
        if (IsBlank(static_cast<char>(ch))) {
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
    } else if (!IsBlank(ch)) {
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
        if (ch == ')' || ch == '\\' || IsBlank(ch) || ch == '\n' || ch == '"') {
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

std::size_t SourceLexer::DocMarkerSize(bool& trailing, bool& block) const {
    trailing = false;
    block = Peek(1) == '*';
    char third = Peek(2);
    char fourth = Peek(3);
    bool doc = false;
    if (block) {
        doc = third == '!' || (third == '*' && fourth != '*' && fourth != '/');
    } else {
        doc = third == '!' || (third == '/' && fourth != '/');
    }
    if (!doc) {
        return 0;
    }
    trailing = fourth == '<';
    return trailing ? 4 : 3;
}

void SourceLexer::ReadComment() {
    bool trailing = false;
    bool block = false;
    std::size_t marker = DocMarkerSize(trailing, block);
    if (marker != 0 && block) {
        ReadBlockDocComment(marker);
        return;
    }
    if (marker != 0) {
        Start(SourcePiece::kDocComment);
        ReadLineDocComments(trailing, false);
        return;
    }
    Start(SourcePiece::kComment);
    std::size_t from = at_;
    if (block) {
        std::size_t close = content_.find(kBlockClose, at_ + 2);
        event_.unterminated = close == std::string_view::npos;
        std::size_t end = event_.unterminated ? content_.size() : close + kBlockClose.size();
        bool blank = lineBlank_;
        while (at_ < end) {
            Advance();
        }
        lineBlank_ = blank || event_.line != line_;
    } else {
        // A line comment ends at its line's end, unless a backslash continues it.
        while (!AtEnd()) {
            std::size_t end = content_.find('\n', at_);
            if (end == std::string_view::npos) {
                end = content_.size();
            }
            std::size_t last = end;
            while (last > at_ && content_[last - 1] == '\r') {
                --last;
            }
            bool continued = end < content_.size() && last > at_ && content_[last - 1] == '\\';
            bool blank = lineBlank_;
            while (at_ < end) {
                Advance();
            }
            lineBlank_ = blank;
            if (!continued) {
                break;
            }
            Advance();
        }
    }
    event_.text = content_.substr(from, at_ - from);
}

void SourceLexer::ReadBlockDocComment(std::size_t markerSize) {
    Start(SourcePiece::kDocComment);
    event_.blockComment = true;
    bool trailing = false;
    bool block = false;
    DocMarkerSize(trailing, block);
    event_.trailing = trailing;
    std::size_t from = at_;
    std::size_t textStart = at_ + markerSize;
    std::size_t close = content_.find(kBlockClose, textStart);
    event_.unterminated = close == std::string_view::npos;
    std::size_t textEnd = event_.unterminated ? content_.size() : close;
    std::string_view text = content_.substr(textStart, textEnd - textStart);
    event_.nestedOpener = text.find(kBlockOpen) != std::string_view::npos;
    lines_.clear();
    int line = line_;
    std::size_t start = 0;
    while (true) {
        std::size_t feed = text.find('\n', start);
        if (feed == std::string_view::npos) {
            lines_.push_back({text.substr(start), line});
            break;
        }
        lines_.push_back({text.substr(start, feed - start), line});
        ++line;
        lineStart_ = textStart + feed + 1;
        start = feed + 1;
    }
    if (line != line_) {
        lineBlank_ = true;
    }
    line_ = line;
    at_ = event_.unterminated ? content_.size() : close + kBlockClose.size();
    event_.text = content_.substr(from, at_ - from);
    event_.lines = &lines_;
}

void SourceLexer::ReadLineDocComments(bool trailing, bool single) {
    event_.trailing = trailing;
    std::size_t from = at_;
    lines_.clear();
    while (true) {
        bool markerTrailing = false;
        bool block = false;
        std::size_t marker = DocMarkerSize(markerTrailing, block);
        std::size_t textStart = at_ + marker;
        std::size_t end = content_.find('\n', textStart);
        if (end == std::string_view::npos) {
            end = content_.size();
        }
        std::size_t textEnd = end;
        while (textEnd > textStart && content_[textEnd - 1] == '\r') {
            --textEnd;
        }
        lines_.push_back({content_.substr(textStart, textEnd - textStart), line_});
        bool blank = lineBlank_;
        while (at_ < end) {
            Advance();
        }
        lineBlank_ = blank;
        if (single || AtEnd()) {
            break;
        }
        // The run goes on when the next line holds, after blanks only, a marker of the same kind.
        std::size_t next = end + 1;
        while (next < content_.size() && IsBlank(content_[next])) {
            ++next;
        }
        std::size_t saved = at_;
        at_ = next;
        bool nextTrailing = false;
        bool nextMarker = Peek() == '/' && Peek(1) == '/' &&
                          DocMarkerSize(nextTrailing, block) != 0 && nextTrailing == trailing;
        at_ = saved;
        if (!nextMarker) {
            break;
        }
        while (at_ < next) {
            Advance();
        }
    }
    event_.text = content_.substr(from, at_ - from);
    event_.lines = &lines_;
}

void SourceLexer::ReadDirective() {
    Start(SourcePiece::kDirective);
    directive_.clear();
    while (!AtEnd()) {
        char ch = Peek();
        if (ch == '\n') {
            break;
        }
        if (ch == '\\' && (Peek(1) == '\n' || (Peek(1) == '\r' && Peek(2) == '\n'))) {
            while (Peek() != '\n') {
                directive_.push_back(Peek());
                Advance();
            }
            directive_.push_back('\n');
            Advance();
        } else if (ch == '/' && (Peek(1) == '/' || Peek(1) == '*')) {
            SkipDirectiveComment();
        } else if (ch == '"' || ch == '\'') {
            char quote = ch;
            directive_.push_back(ch);
            Advance();
            while (!AtEnd() && Peek() != '\n') {
                char inner = Peek();
                directive_.push_back(inner);
                Advance();
                if (inner == '\\' && !AtEnd() && Peek() != '\n') {
                    directive_.push_back(Peek());
                    Advance();
                } else if (inner == quote) {
                    break;
                }
            }
        } else {
            directive_.push_back(ch);
            Advance();
        }
    }
    event_.text = directive_;
}

void SourceLexer::SkipDirectiveComment() {
    bool trailing = false;
    bool block = false;
    std::size_t marker = DocMarkerSize(trailing, block);
    if (marker != 0 && trailing && queuedComment_ == std::string_view::npos) {
        queuedComment_ = at_;
        queuedLine_ = line_;
        queuedLineStart_ = lineStart_;
    }
    directive_.push_back(' ');
    if (block) {
        std::size_t close = content_.find(kBlockClose, at_ + 2);
        std::size_t end = close == std::string_view::npos ? content_.size() : close + 2;
        while (at_ < end) {
            Advance();
        }
    } else {
        while (!AtEnd() && Peek() != '\n') {
            Advance();
        }
    }
}

}  // namespace sylva
