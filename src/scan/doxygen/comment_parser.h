// The parser behind ParseDoxygenComment, shared by the files that hold its steps
// (comment.cpp: lines, paragraphs and blocks; inline.cpp: inline text and
// markup; command_actions.cpp: what each command does). Internal to the scan: nothing
// outside these files includes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "scan/doxygen/commands.h"
#include "scan/doxygen/comment.h"
#include "support/text_format.h"

namespace sylva::doxygen_parse {

inline constexpr std::string_view kBlanks = " \t\r";
inline constexpr std::string_view kMissingWord = "\"%s\" needs a word behind it; it is left out";

inline bool IsWordByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

inline bool IsLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

inline bool IsBlank(std::string_view text) {
    return text.find_first_not_of(kBlanks) == std::string_view::npos;
}

// `text` with every reserved byte (scan/rich_text.h) replaced by a space: for names and titles,
// which are plain text.
std::string Plain(std::string_view text);

// The next blank-separated word at or after `at`, which moves past it.
std::string_view NextWord(std::string_view text, std::size_t& at);
// The rest of the line from `at`, without blanks around it; `at` moves to the end.
std::string_view RestOfLine(std::string_view text, std::size_t& at);
// The name a reference looks up: "#member" and "Class#member" written with "::", without "()".
std::string ReferenceName(std::string_view word);

// One comment's parse; ParseDoxygenComment makes one per comment.
class CommentParser {
  public:
    CommentParser(const DoxygenWarning& warn, std::unordered_set<std::string>& reportedUnknown,
                  DoxygenComment& out)
        : warn_(warn), out_(out), reportedUnknown_(reportedUnknown) {}

    void Line(std::string_view text, int line);
    void Finish();

  private:
    enum class BlockKind { kNone, kCode, kDropped, kFormula };

    struct Target {
        bool row = false;  // the text goes to parameters[rowIndex]
        SectionKind section = kSectionDescription;
        std::size_t rowIndex = 0;
    };

    void Scan(std::string_view text);
    // Runs the command whose prefix stands at `at` and whose name ends at `end`; returns where
    // scanning goes on. A block command leaves the rest of the line to the block.
    std::size_t Command(std::string_view text, std::size_t at, std::size_t end);
    std::size_t Formula(std::string_view text, std::size_t at);
    // A command that formats or links the word behind it; a command at the end of its line takes
    // the first word of the next line.
    std::size_t InlineCommand(const KnownCommand& known, std::string_view written,
                              std::string_view text, std::size_t p);
    std::size_t MarkdownReference(std::string_view text, std::size_t at);
    std::size_t Strong(std::string_view text, std::size_t at);
    std::size_t WebAddress(std::string_view text, std::size_t at);
    void AppendReference(std::string_view name, std::string_view shown);
    // Ends a command left waiting for its word: the word did not come.
    void DropDeferred();
    std::size_t Backticks(std::string_view text, std::size_t at);
    void LinkCall();

    void AppendText(std::string_view text);
    void AppendSpan(char open, std::string_view text, char close);
    // A word a command formats, with the sentence's punctuation behind it kept as text.
    void AppendWordSpan(char open, std::string_view word, char close);
    void AppendMarkup(char byte);

    // Ends the current paragraph into its target; `keepIndent`: a line of a <pre> block, whose
    // leading blanks stay.
    void Flush(bool keepIndent = false);
    void EndParagraph();
    void StartSection(SectionKind section, std::string_view label = {});
    void StartRow(bool templateParameter, std::string_view text, std::size_t& at,
                  std::string_view command);
    void AddSeeAlso(std::string_view text);
    void PushLine(SectionKind section, std::string text);
    void Warn(std::string_view pattern, std::initializer_list<std::string_view> values) {
        warn_(line_, FormatLine(pattern, values));
    }

    void StartBlock(BlockKind kind, std::string end, bool endIsCommand, std::string opener);
    // Feeds a line to the open block; when the block ends in it, returns true with the text
    // behind the end in `rest`.
    bool BlockLine(std::string_view text, std::string_view& rest);
    void FinishBlock();

    const DoxygenWarning& warn_;
    DoxygenComment& out_;
    int line_ = 0;
    Target target_;
    std::string paragraph_;
    // A blank line came since the last paragraph: a new Description paragraph is set apart.
    bool blankBefore_ = false;
    // A Description line was written.
    bool described_ = false;
    bool sawText_ = false;
    bool skippingInternal_ = false;
    bool linkOpen_ = false;
    std::string linkOpener_;
    int linkLine_ = 0;
    bool htmlPre_ = false;
    bool addToGroup_ = false;
    std::string groupLabel_;
    // An inline command at the end of a line, waiting for the next line's first word.
    struct Deferred {
        const KnownCommand* known;
        std::string written;
        int line;
    };
    std::optional<Deferred> deferred_;
    std::unordered_set<std::string>& reportedUnknown_;

    BlockKind blockKind_ = BlockKind::kNone;
    std::string blockEnd_;
    bool blockEndIsCommand_ = false;
    std::string blockOpener_;
    int blockLine_ = 0;
    std::vector<std::string_view> blockLines_;
};

}  // namespace sylva::doxygen_parse
