// The commands that show an example file's text as code where they stand: "@include",
// "@includelineno", "@snippet" (the lines between two "[label]" markers), "@example" (a page
// with the program at its end) and "@dontinclude" with the cursor that "@skip", "@skipline",
// "@until" and "@line" move through the file, a line at a time.
#include <algorithm>

#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/warning_kind.h"

namespace sylva::doxygen_parse {

namespace {

constexpr WarningKind kSnippetMissing = {
    "doxygen.snippet-missing",
    "snippet \"%s\" is not marked by two \"[%s]\" lines in example \"%s\"; nothing is shown"};
constexpr WarningKind kNoCursorFile = {
    "doxygen.example-cursor",
    "\"%s\" has no example file to move through: \"@dontinclude\" names one first"};
constexpr WarningKind kPatternMissing = {
    "doxygen.example-pattern",
    "\"%s\" does not find \"%s\" in the rest of example \"%s\"; the cursor ends there"};
constexpr std::string_view kExampleFileLabel = "Example file: ";
constexpr std::string_view kExampleCommand = "example";
constexpr std::string_view kDontIncludeCommand = "dontinclude";
constexpr std::string_view kSkipCommand = "skip";
constexpr std::string_view kSkipLineCommand = "skipline";
constexpr std::string_view kUntilCommand = "until";
constexpr std::string_view kNumberedOption = "lineno";
// The commands whose file becomes code; the others (htmlinclude, includedoc, ...) only name it.
constexpr std::string_view kShownCommands[] = {"include", "includelineno", "verbinclude",
                                               "snippet", "snippetlineno", "dontinclude",
                                               "example"};
constexpr std::string_view kNumberedCommands[] = {"includelineno", "snippetlineno"};

bool OneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The lines of `text`, without their line ends.
std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

// The fence info of a file's code: its extension, when that is a plain word.
std::string LanguageOf(std::string_view file) {
    const std::size_t slash = file.find_last_of("/\\");
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    std::string_view extension = file.substr(dot + 1);
    const bool plain =
        !extension.empty() && std::all_of(extension.begin(), extension.end(), IsWordByte);
    return plain ? std::string(extension) : std::string();
}

// The first line at or after `from` that holds `pattern`; npos when none does.
std::size_t FindLine(std::span<const std::string_view> lines, std::size_t from,
                     std::string_view pattern) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].find(pattern) != std::string_view::npos) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

void CommentParser::ExampleFile(const KnownCommand& known, std::string_view written,
                                std::string_view text, std::size_t& at) {
    // "{lineno}" numbers the lines, "{doc}" (and any other option) reads the file as text,
    // which is not shown.
    std::string_view option;
    if (at < text.size() && text[at] == '{') {
        const std::size_t close = std::min(text.find('}', at), text.size());
        option = text.substr(at + 1, close - at - 1);
        at = std::min(close + 1, text.size());
    }
    std::string_view file = NextWord(text, at);
    if (file.empty()) {
        Warn(kMissingWord, {written});
        RestOfLine(text, at);
        return;
    }
    const bool snippet = known.name.starts_with("snippet");
    std::string_view label = snippet ? NextWord(text, at) : std::string_view();
    RestOfLine(text, at);
    const bool page = known.name == kExampleCommand;
    // A comment that opens with "@example" describes that example program, as a page of its
    // own: the declaration after it has a comment of its own.
    if (page && out_.subject == CommentSubject::kNextDeclaration && !sawText_ &&
        out_.lines.empty() && out_.parameters.empty()) {
        out_.subject = CommentSubject::kPage;
        out_.subjectName = Plain(file);
        out_.example = true;
    }
    const bool shown = reading_.options.examples && OneOf(known.name, kShownCommands) &&
                       (option.empty() || option == kNumberedOption);
    if (!shown || page) {
        std::string line(kExampleFileLabel);
        line.push_back(rich::kCodeOpen);
        rich::AppendStripped(line, file);
        line.push_back(rich::kCodeClose);
        PushLine(kSectionExamples, std::move(line));
    }
    if (!shown) {
        return;
    }
    std::optional<std::string> content = reading_.options.examples(file, line_);
    if (!content) {
        return;
    }
    if (page) {
        exampleText_ = std::move(content);
        exampleInfo_ = LanguageOf(file);
        return;
    }
    // Each file command starts the cursor at the top of its file.
    cursorFile_ = file;
    cursorText_ = std::move(*content);
    cursorLines_ = LinesOf(cursorText_);
    cursor_ = 0;
    if (known.name == kDontIncludeCommand) {
        return;
    }
    const bool numbered = OneOf(known.name, kNumberedCommands) || option == kNumberedOption;
    if (!snippet) {
        ShowExampleLines(0, cursorLines_.size(), numbered, false);
        return;
    }
    const std::string marker = "[" + std::string(label) + "]";
    const std::size_t open =
        label.empty() ? std::string_view::npos : FindLine(cursorLines_, 0, marker);
    const std::size_t close =
        open == std::string_view::npos ? open : FindLine(cursorLines_, open + 1, marker);
    if (close == std::string_view::npos) {
        Warn(kSnippetMissing, {label, label, file});
        return;
    }
    ShowExampleLines(open + 1, close, numbered, false);
}

void CommentParser::ExampleCursor(const KnownCommand& known, std::string_view written,
                                  std::string_view text, std::size_t& at) {
    const std::string_view pattern = RestOfLine(text, at);
    if (!reading_.options.examples) {
        return;
    }
    if (pattern.empty()) {
        Warn(kMissingWord, {written});
        return;
    }
    if (cursorFile_.empty()) {
        Warn(kNoCursorFile, {written});
        return;
    }
    const std::size_t size = cursorLines_.size();
    std::size_t found = std::string_view::npos;
    if (known.name == kSkipCommand || known.name == kSkipLineCommand ||
        known.name == kUntilCommand) {
        found = FindLine(cursorLines_, cursor_, pattern);
    } else {
        // "@line": the next line that is not blank, when it holds the pattern.
        while (cursor_ < size && IsBlank(cursorLines_[cursor_])) {
            ++cursor_;
        }
        found = cursor_ < size && cursorLines_[cursor_].find(pattern) != std::string_view::npos
                    ? cursor_
                    : std::string_view::npos;
    }
    if (found == std::string_view::npos) {
        Warn(kPatternMissing, {written, pattern, cursorFile_});
        if (known.name == kUntilCommand) {
            ShowExampleLines(cursor_, size, false, true);
        }
        cursor_ = size;
        return;
    }
    if (known.name == kSkipCommand) {
        cursor_ = found;
    } else if (known.name == kUntilCommand) {
        ShowExampleLines(cursor_, found + 1, false, true);
        cursor_ = found + 1;
    } else {
        ShowExampleLines(found, found + 1, false, true);
        cursor_ = found + 1;
    }
}

void CommentParser::ShowExampleLines(std::size_t from, std::size_t to, bool numbered, bool joins) {
    const std::size_t width = std::to_string(to).size();
    AppendToChunk(piece_);
    piece_.clear();
    // Lines shown by commands with nothing but blanks between them are one piece of code, as
    // the file holds them; the block shown last is taken back and shown again with them.
    const bool follows = joins && shownEnd_ != 0 && shownEnd_ <= chunk_.size() &&
                         chunk_.find_first_not_of(" \t\r\n", shownEnd_) == std::string::npos;
    if (follows) {
        chunk_.resize(shownStart_);
        while (!chunkLines_.empty() && chunkLines_.back().first >= shownStart_) {
            chunkLines_.pop_back();
        }
    } else {
        shownLines_.clear();
    }
    for (std::size_t i = from; i < to; ++i) {
        std::string line;
        if (numbered) {
            const std::string number = std::to_string(i + 1);
            line.append(width - number.size(), ' ').append(number).push_back(' ');
        }
        shownLines_.push_back(line.append(Normalized(cursorLines_[i])));
    }
    shownStart_ = chunk_.size();
    AppendCode(shownLines_, true, LanguageOf(cursorFile_), lineIndent_, line_);
    shownEnd_ = joins ? chunk_.size() : 0;
}

void CommentParser::FinishExamplePage() {
    if (!exampleText_) {
        return;
    }
    std::vector<std::string> code;
    for (std::string_view line : LinesOf(*exampleText_)) {
        code.push_back(Normalized(line));
    }
    exampleText_.reset();
    SetTarget({});
    AppendCode(code, false, exampleInfo_, 0, line_);
}

}  // namespace sylva::doxygen_parse
