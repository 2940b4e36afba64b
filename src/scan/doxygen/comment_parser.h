// The parser behind ParseDoxygenComment, shared by the files that hold its steps. Internal to the
// scan: nothing outside these files includes it.
//
// A comment is read in two passes. The first (comment.cpp, command_actions.cpp) reads it line by
// line for what places its text: the commands that open a section, a table row, a note or a
// block, name a group or an entity, or hide text; everything else is copied, as the author wrote
// it, into the Markdown source of the current place (its chunk). Code blocks become fenced code
// in that source, where they stand, so that a list item keeps the code written inside it. A chunk
// ends where the text changes place: at such a command, and, for every place but the
// Description, at a blank line.
//
// The second pass reads each chunk as Markdown (markdown.cpp, with md4c) into rich text blocks;
// the plain text in them goes through the inline pass (inline.cpp): the commands that format or
// link words, escapes, "%word" and "name()". Code spans and code blocks never reach it, so their
// bytes stay as written.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "scan/doxygen/commands.h"
#include "scan/doxygen/comment.h"
#include "support/byte_sets.h"
#include "support/text_format.h"
#include "support/warning_kind.h"

namespace sylva::doxygen_parse {

inline constexpr std::string_view kBlanks = " \t\r";
inline constexpr WarningKind kMissingWord = {"doxygen.missing-word",
                                             "\"%s\" needs a word behind it; it is left out"};

inline constexpr WarningKind kGroupInItself = {
    "doxygen.group-in-itself", "group \"%s\" is put into itself by \"%s\"; that is left out"};

// A byte that opens the info of a fence or the text of a code span in a chunk when the block or
// span is something Markdown has no syntax for. A source cannot bring it in (it is reserved).
inline constexpr char kChunkMark = '\x11';
inline constexpr std::string_view kFormulaInfo =
    "\x11"
    "formula";
inline constexpr std::string_view kPreformattedInfo =
    "\x11"
    "pre";
// The argument of the table of return values.
inline constexpr std::string_view kReturnValueTable = "retval";

inline bool IsWordByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

inline bool IsLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

inline bool IsBlank(std::string_view text) {
    return FindFirstNotOf(text, kBlanks) == std::string_view::npos;
}

// `text` with every reserved byte (scan/rich_text.h) replaced by a space: for names and titles,
// which are plain text.
std::string Plain(std::string_view text);

// `line` with reserved bytes replaced by blanks and its leading tabs expanded to the next tab
// stop, so that its indentation counts in columns.
std::string Normalized(std::string_view line);

// The next blank-separated word at or after `at`, which moves past it.
std::string_view NextWord(std::string_view text, std::size_t& at);
// The rest of the line from `at`, without blanks around it; `at` moves to the end.
std::string_view RestOfLine(std::string_view text, std::size_t& at);
// The name a reference looks up: "#member" and "Class#member" written with "::", without "()".
std::string ReferenceName(std::string_view word);

// True iff the "@" or "\\" at text[at] opens a command or an escape: at the start of a word, or,
// for a backslash, behind a word when a known command follows ("for\\code").
bool CommandStart(std::string_view text, std::size_t at);

// Where the run of backquotes `fence` stands in `text`, from `from` on, as a whole run (not part
// of a longer one); npos when it does not. `from` must not stand inside a run.
std::size_t FindFence(std::string_view text, std::string_view fence, std::size_t from);

class CommentParser;

// Appends the bytes of a code span's text as rich text: shown as written, in a formula without
// the marks that keep tags and entities literal.
void AppendCodeBytes(std::string& out, std::string_view code, bool formula);
// Appends a whole code span: a formula when its text opens with kChunkMark, else code.
void AppendCodeSpan(std::string& out, std::string_view code);

// Reads `chunk`, Markdown with the inline commands of documentation comments, into a rich text
// flow; its plain text goes through `parser`'s inline pass. Appends where each of the flow's
// blocks ends to `blockEnds`.
std::string ReadMarkdown(std::string_view chunk, CommentParser& parser,
                         std::vector<std::size_t>& blockEnds);

// One comment's parse; ParseDoxygenComment makes one per comment.
class CommentParser {
  public:
    CommentParser(const DoxygenReading& reading, DoxygenComment& out)
        : reading_(reading), out_(out) {
        // An earlier comment's "@cond" hides this one's text up to its "@endcond".
        conditionOpen_ = reading.hidden;
        skippingInternal_ = reading.hidden && !reading.options.showHidden;
    }

    // Reads one line; `after` holds the comment's lines behind it, where a code span or a quoted
    // string opened on this line may close.
    void Line(std::string_view text, int line, std::span<const std::string_view> after);
    void Finish();

    // Where the bytes of a text stand in the source: from each position on, the line given.
    using TextLines = std::vector<std::pair<std::size_t, int>>;

    // The inline pass: appends plain text of a chunk to `out` as rich text; `lines` tells the
    // warnings where its bytes stand (without it, on the current line).
    // `spanFollows`: a span comes behind the text, and stands for the word of a command at its end.
    void InlineText(std::string_view text, std::string& out, const TextLines* lines = nullptr,
                    bool spanFollows = false);
    // The inline pass over a plain paragraph whose only Markdown is simple code spans; `lines`
    // tells where the bytes of `text` stand.
    void InlineTextAndCodeSpans(std::string_view text, std::string& out, const TextLines& lines);
    // The source line of the byte at `offset` in the current chunk.
    int ChunkLine(std::size_t offset) const;
    // Ends the inline text of one block: a link still open ends with it.
    void EndInline(std::string& out);
    // The file an image at `line` (0: the current line) names as the pages show it, or empty
    // when none can be shown.
    std::string ImageFile(std::string_view file, int line);
    // The reference name of a link at `line` (0: the current line) to the local file `target`
    // (LinkResolver); nothing when `target` names an item as any reference does.
    std::optional<std::string> LinkName(std::string_view target, int line);

  private:
    enum class TargetKind { kSection, kRow, kNote, kReturnValue };
    enum class BlockKind { kNone, kCode, kDropped, kFormula, kFence, kPreformatted };

    // Where the text of the current chunk goes.
    struct Target {
        TargetKind kind = TargetKind::kSection;
        SectionKind section = kSectionDescription;
        std::size_t rowIndex = 0;
        std::string argument;  // kNote: the note block's argument; kReturnValue: the value
    };

    // The first pass over one line outside blocks; copies the line into the chunk.
    void Scan(std::string_view text);
    // Runs the command whose prefix stands at `at` and whose name ends at `end`; returns where
    // scanning goes on. A block command leaves the rest of the line to the block.
    std::size_t Command(const KnownCommand& known, std::string_view text, std::size_t at,
                        std::size_t end);
    std::size_t CodeSpan(std::string_view text, std::size_t at);
    // True iff `closer` stands in `rest` (the rest of the current line) or in a later line of
    // its paragraph, looking no further than kParagraphLookAhead bytes.
    bool ClosesInParagraph(std::string_view rest, std::string_view closer) const;
    std::size_t Formula(std::string_view text, std::size_t at);
    std::size_t MarkdownLinkTarget(std::string_view text, std::size_t at);
    void ApplyGroupMark(bool open, std::string_view text, std::size_t& at);
    void Image(std::string_view text, std::size_t& at);
    // Appends a formula to the chunk as a code span that the Markdown pass turns into one.
    void AppendFormula(std::string_view tex);

    // Ends the current chunk into its target, then starts `next`.
    void SetTarget(Target next);
    void Flush();
    void StartSection(SectionKind section);
    void StartNote(std::string_view kind, std::string_view label);
    void StartRow(bool templateParameter, std::string_view text, std::size_t& at,
                  std::string_view command);
    void AddSeeAlso(std::string_view flow);
    void AddReturnValue(std::string value, std::string flow);
    void PushLine(SectionKind section, std::string text);
    void Warn(const WarningKind& kind, std::initializer_list<std::string_view> values) {
        reading_.warn(line_, FormatLine(kind, values));
    }
    // Appends to the chunk; the leading blanks a chunk's first line had are taken from each line.
    void AppendToChunk(std::string_view text);
    // Puts a blank line in front of each pipe table whose header row stands right under a line
    // of text, where Doxygen reads a table and md4c only a paragraph's further line.
    void SeparateTableHeaders();

    void StartBlock(BlockKind kind, std::string end, bool endIsCommand, std::string opener,
                    std::string info = {});
    // Appends the lines `code` (normalized) to the chunk as fenced code with `info`: blank lines
    // at their ends left out, their common indentation too unless `keepIndent`; the fence stands
    // as a block opened at column `indent` of the comment's line `line` does.
    void AppendCode(std::span<const std::string> code, bool keepIndent, std::string_view info,
                    std::size_t indent, int line);

    // The example commands (example_commands.cpp). `known` names a file (include, snippet,
    // dontinclude, example, ...) or moves the cursor (skip, skipline, until, line); the command's
    // arguments stand in `text` from `at`, which moves past them.
    void ExampleFile(const KnownCommand& known, std::string_view written, std::string_view text,
                     std::size_t& at);
    void ExampleCursor(const KnownCommand& known, std::string_view written, std::string_view text,
                       std::size_t& at);
    // Shows the lines [from, to) of the cursor's file, indented as there, as code where the
    // command stands. `joins`: a cursor's move, whose lines join those the move before showed
    // when nothing but blanks stands between them, as one piece of code.
    void ShowExampleLines(std::size_t from, std::size_t to, bool numbered, bool joins);
    // Shows the text of the file "@example" named as code at the end of the page.
    void FinishExamplePage();
    // Feeds a line to the open block; when the block ends in it, returns true with the text
    // behind the end in `rest`.
    bool BlockLine(std::string_view text, std::string_view& rest);
    void FinishBlock();

    // The inline pass's steps.
    std::size_t InlineCommand(std::string_view text, std::size_t at, std::size_t end,
                              std::string& out);
    void LinkCall(std::string& out);
    void AppendText(std::string_view text, std::string& out);
    void AppendSpan(char open, std::string_view text, char close, std::string& out);
    // A word a command formats, with the sentence's punctuation behind it kept as text.
    void AppendWordSpan(char open, std::string_view word, char close, std::string& out);
    void AppendReference(std::string_view name, std::string_view shown, std::string& out);

    const DoxygenReading& reading_;
    DoxygenComment& out_;
    int line_ = 0;
    Target target_;
    // The Markdown source of the current chunk, and the leading blanks taken from its lines.
    std::string chunk_;
    TextLines chunkLines_;
    std::size_t chunkIndent_ = 0;
    bool chunkStarted_ = false;
    // The chunk began behind a command on its line: its next line sets chunkIndent_.
    bool midLineStart_ = false;
    // The column in the chunk where the text of the last list item starts (npos: none).
    std::size_t listContent_ = std::string_view::npos;
    // How far the lines of a list written indented under a sentence move left; the last line
    // read was text (no blank line, no list item).
    std::size_t listShift_ = 0;
    bool previousText_ = false;
    bool previousBlank_ = false;
    // The lines of the comment behind the current one.
    std::span<const std::string_view> after_;
    // The backquotes of a code span that a later line of the paragraph closes: the bytes up to
    // them are code, where no command is run.
    std::string openSpan_;
    // Inside a double-quoted string of the paragraph.
    bool quoted_ = false;
    // The part of the current line not yet appended to the chunk, and the line's indentation.
    std::string piece_;
    std::size_t lineIndent_ = 0;
    // The target has text or was opened by a command that stands for something on its own.
    bool targetOpen_ = false;
    bool sawText_ = false;
    // Inside "@internal" ... "@endinternal" or "@cond" ... "@endcond", shown only when asked.
    bool skippingInternal_ = false;
    // "@cond" is open in this comment.
    bool conditionOpen_ = false;
    bool addToGroup_ = false;
    std::string groupLabel_;
    // The text the inline pass reads has a span behind it.
    bool spanFollows_ = false;
    // The inline pass's "@link" ... "@endlink".
    bool linkOpen_ = false;
    std::string linkOpener_;
    int linkLine_ = 0;

    // The example file "@include" or "@dontinclude" named last, its lines, and the cursor into
    // them that "@skip", "@skipline", "@until" and "@line" move; the lines view cursorText_.
    std::string cursorFile_;
    std::string cursorText_;
    std::vector<std::string_view> cursorLines_;
    std::size_t cursor_ = 0;
    // The lines the example commands showed last, and where in the chunk their block stands.
    std::vector<std::string> shownLines_;
    std::size_t shownStart_ = 0;
    std::size_t shownEnd_ = 0;
    // The text of the example program a page of "@example" shows, once the comment is read.
    std::optional<std::string> exampleText_;
    std::string exampleInfo_;

    BlockKind blockKind_ = BlockKind::kNone;
    std::string blockEnd_;
    bool blockEndIsCommand_ = false;
    std::string blockOpener_;
    std::string blockInfo_;
    int blockLine_ = 0;
    std::size_t blockIndent_ = 0;
    std::vector<std::string> blockLines_;
};

}  // namespace sylva::doxygen_parse
