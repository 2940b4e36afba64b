// SourceLexer: cuts C or C++ source bytes into the pieces the documentation comment reader walks:
// runs of code, string and character literals, ordinary comments, documentation comments with
// their lines, and preprocessor directives (source_lexer.cpp: code and literals;
// source_comments.cpp: comments and directives).
//
// It never fails: an unterminated comment runs to the end of the input and says so, a string or
// character literal ends at its line's end at the latest, and every byte is visited a bounded
// number of times, so the whole input is read in linear time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// True iff `ch` is a blank other than a line feed.
constexpr bool IsSourceBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v';
}

// One line of a documentation comment's text: for a block comment the text between its markers,
// cut at line feeds; for a run of line comments the text behind each marker.
struct CommentLine {
    std::string_view text;
    int line = 0;
};

enum class SourcePiece {
    kCode,        // code bytes outside literals and comments, line feeds included
    kLiteral,     // a string or character literal, quotes included
    kComment,     // an ordinary comment
    kDocComment,  // a documentation comment: see the fields below
    kDirective,   // a preprocessor directive's logical line, comments replaced by a space
    kEnd,
};

struct SourceEvent {
    SourcePiece piece = SourcePiece::kEnd;
    std::string_view text;      // the bytes of the piece (kDirective: cleaned, see above)
    int line = 0;               // the line where the piece starts
    std::size_t column = 0;     // its byte offset from the start of that line
    bool trailing = false;      // kDocComment: "/**<", "/*!<", "///<" or "//!<"
    bool blockComment = false;  // kDocComment: "/**" or "/*!" rather than line comments
    bool unterminated = false;  // kComment, kDocComment: the input ended inside it
    bool nestedOpener = false;  // kDocComment: a "/*" stands inside the block
    std::vector<CommentLine> const* lines = nullptr;  // kDocComment; valid until Next()
};

class SourceLexer {
  public:
    explicit SourceLexer(std::string_view content) : content_(content) {}

    // The next piece; kEnd at the end and ever after.
    const SourceEvent& Next();

  private:
    bool AtEnd() const { return at_ >= content_.size(); }
    char Peek(std::size_t ahead = 0) const {
        return at_ + ahead < content_.size() ? content_[at_ + ahead] : '\0';
    }
    // Moves past one byte, counting lines.
    void Advance();
    void Start(SourcePiece piece);
    // The line feed at or after `from` that ends its line, or the end of the input.
    std::size_t LineFeedAt(std::size_t from) const;
    // `end` moved back over the carriage returns before it, but not before `from`.
    std::size_t BeforeCarriageReturns(std::size_t from, std::size_t end) const;

    void ReadCode();
    void ReadLiteral();
    // Tries a raw string literal at the '"' under the cursor; false (cursor unchanged) when the
    // bytes before it are no raw string prefix or it is not closed.
    bool ReadRawString();
    void ReadComment();
    void ReadBlockDocComment(std::size_t markerSize);
    // Reads a run of line comments of one kind on consecutive lines; `single`: this line only.
    void ReadLineDocComments(bool trailing, bool single);
    void ReadDirective();
    // Moves past a comment that opens at the cursor inside a directive, appending a space to the
    // directive's text; keeps the first trailing documentation comment for the next event.
    void SkipDirectiveComment();

    // True iff a "'" at the cursor separates digits of a number (1'000) rather than opening a
    // character literal.
    bool IsDigitSeparator() const;
    // The kind of comment at the cursor: 0 for none, else the opener's length with the
    // documentation flags set in the event.
    std::size_t DocMarkerSize(bool& trailing, bool& block) const;

    std::string_view content_;
    std::size_t at_ = 0;
    int line_ = 1;
    std::size_t lineStart_ = 0;
    // Only blanks stand between the start of the current line and the cursor.
    bool lineBlank_ = true;
    // The code read last ended inside a token, and that token is a number.
    bool tokenOpen_ = false;
    bool numberToken_ = false;
    SourceEvent event_;
    std::vector<CommentLine> lines_;
    std::string directive_;
    // A trailing documentation comment found inside the last directive, given as the next event.
    std::size_t queuedComment_ = std::string_view::npos;
    int queuedLine_ = 0;
    std::size_t queuedLineStart_ = 0;
};

}  // namespace sylva
