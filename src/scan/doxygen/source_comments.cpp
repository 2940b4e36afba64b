// Cutting source bytes into pieces: comments, documentation comments with their lines, and
// preprocessor directives.
#include "scan/doxygen/source_lexer.h"

#include <algorithm>

namespace sylva {

namespace {

constexpr std::string_view kBlockClose = "*/";
constexpr std::string_view kBlockOpen = "/*";

}  // namespace

std::size_t SourceLexer::LineFeedAt(std::size_t from) const {
    return std::min(content_.find('\n', from), content_.size());
}

std::size_t SourceLexer::BeforeCarriageReturns(std::size_t from, std::size_t end) const {
    while (end > from && content_[end - 1] == '\r') {
        --end;
    }
    return end;
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
            std::size_t end = LineFeedAt(at_);
            std::size_t last = BeforeCarriageReturns(at_, end);
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
        std::size_t end = LineFeedAt(textStart);
        std::size_t textEnd = BeforeCarriageReturns(textStart, end);
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
        while (next < content_.size() && IsSourceBlank(content_[next])) {
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
