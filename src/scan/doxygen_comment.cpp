// Reading one documentation comment: lines into paragraphs, commands into sections, table rows
// and places, inline markup into rich text.
//
// A paragraph runs to a blank line, to the next command that opens a paragraph, or to a list
// item; it becomes one line of its section (or the text of its table row). After a blank line
// text goes to the Description again. Code and verbatim blocks become pre-formatted lines of the
// Examples section, wherever they stand.
#include "scan/doxygen_comment.h"

#include <optional>
#include <string_view>
#include <unordered_set>

#include "scan/doxygen_commands.h"
#include "scan/rich_text.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kUnknownCommand =
    "unknown command \"%s\"; it stays as text (said once per file)";
constexpr std::string_view kMissingWord = "\"%s\" needs a word behind it; it is left out";
constexpr std::string_view kMissingParameterName =
    "\"%s\" without a parameter name; the row is left out";
constexpr std::string_view kUnclosedBlock =
    "\"%s\" is not closed before the end of the comment; the block runs to its end";
constexpr std::string_view kStrayEnd = "\"%s\" closes nothing; it is left out";
constexpr std::string_view kUnclosedLink =
    "\"%s\" is not closed by \"%s\" before its paragraph ends; the link ends there";
constexpr std::string_view kExampleFileLabel = "Example file: ";
constexpr std::string_view kCopiedFromLabel = "See ";
constexpr std::string_view kEndLink = "endlink";
constexpr std::string_view kListBullet = "- ";
// How far a Markdown link "[text](@ref name)" may reach.
constexpr std::size_t kMaxMarkdownLink = 256;
constexpr std::string_view kPreOpen = "<pre>";
constexpr std::string_view kPreClose = "</pre>";
constexpr std::string_view kBlanks = " \t\r";
// The bytes a "\" or "@" makes plain text of.
constexpr std::string_view kEscapable = "\\@&$#<>%\".|";
// Trailing punctuation that belongs to the sentence, not to the word a command formats.
constexpr std::string_view kSentencePunctuation = ".,;:!?)";

bool IsWordByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

bool IsLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsNameByte(char ch) {
    return IsWordByte(ch) || ch == ':' || ch == '~';
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(kBlanks) == std::string_view::npos;
}

// A line of a block comment without its decoration: the blanks and the run of "*" that open it.
std::string_view StripDecoration(std::string_view line, bool blockComment) {
    while (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (!blockComment) {
        return line;
    }
    std::size_t at = line.find_first_not_of(" \t");
    if (at != std::string_view::npos && line[at] == '*') {
        at = line.find_first_not_of('*', at);
        return at == std::string_view::npos ? std::string_view() : line.substr(at);
    }
    return line;
}

// True iff `text` opens with a list item: "-", "*", "+", "-#" or a number with "." or ")",
// followed by a blank.
bool OpensListItem(std::string_view text) {
    std::size_t at = 0;
    if (text.starts_with("-#")) {
        at = 2;
    } else if (!text.empty() && (text[0] == '-' || text[0] == '*' || text[0] == '+')) {
        at = 1;
    } else {
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ++at;
        }
        if (at == 0 || at >= text.size() || (text[at] != '.' && text[at] != ')')) {
            return false;
        }
        ++at;
    }
    return at < text.size() && (text[at] == ' ' || text[at] == '\t');
}

// True iff the "\\" at text[at], behind a word, opens a known command ("for\\code"). An "@"
// behind a word is text ("user@example.com"), and so is an unknown name ("C:\\Temp").
bool KnownAfterWord(std::string_view text, std::size_t at) {
    if (text[at] != '\\') {
        return false;
    }
    std::size_t end = at + 1;
    while (end < text.size() && IsWordByte(text[end])) {
        ++end;
    }
    return end > at + 1 && FindCommand(text.substr(at + 1, end - at - 1)) != nullptr;
}

// Where the word a command works on ends in `word`: before the sentence's punctuation, but
// behind a ")" that closes a "(" of the word ("f()." gives "f()").
std::size_t WordEnd(std::string_view word) {
    std::size_t last = word.find_last_not_of(kSentencePunctuation);
    std::size_t end = last == std::string_view::npos ? 0 : last + 1;
    if (end < word.size() && word[end] == ')' &&
        word.substr(0, end).find('(') != std::string_view::npos) {
        ++end;
    }
    return end;
}

// The name a reference looks up: "#member" and "Class#member" written with "::", without "()".
std::string ReferenceName(std::string_view word) {
    std::string name(word);
    if (name.ends_with("()")) {
        name.resize(name.size() - 2);
    }
    if (name.starts_with("#")) {
        name.erase(0, 1);
    }
    for (std::size_t at = name.find('#'); at != std::string::npos; at = name.find('#', at)) {
        name.replace(at, 1, "::");
    }
    return name;
}

DoxygenKind NamedKind(std::string_view command) {
    if (command == "fn") {
        return DoxygenKind::kFunction;
    }
    if (command == "struct") {
        return DoxygenKind::kStruct;
    }
    if (command == "union") {
        return DoxygenKind::kUnion;
    }
    if (command == "enum") {
        return DoxygenKind::kEnum;
    }
    if (command == "namespace") {
        return DoxygenKind::kNamespace;
    }
    if (command == "def") {
        return DoxygenKind::kMacro;
    }
    if (command == "typedef") {
        return DoxygenKind::kTypedef;
    }
    if (command == "var" || command == "property") {
        return DoxygenKind::kVariable;
    }
    return DoxygenKind::kClass;
}

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
    std::size_t InlineCommand(const CommandSpec& spec, std::string_view written,
                              std::string_view text, std::size_t p);
    std::size_t MarkdownReference(std::string_view text, std::size_t at);
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

    void Flush();
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
        const CommandSpec* spec;
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

void CommentParser::Line(std::string_view text, int line) {
    line_ = line;
    if (blockKind_ != BlockKind::kNone) {
        std::string_view rest;
        if (!BlockLine(text, rest)) {
            return;
        }
        Scan(rest);
        return;
    }
    if (IsBlank(text)) {
        DropDeferred();
        EndParagraph();
        if (htmlPre_) {
            PushLine(target_.section, {});
        }
        blankBefore_ = true;
        return;
    }
    std::size_t indent = text.find_first_not_of(kBlanks);
    std::string_view body = text.substr(indent);
    if (htmlPre_ || FindNoCase(body, kPreOpen) != std::string_view::npos) {
        // A <pre> block of HTML keeps its lines apart.
        Flush();
        htmlPre_ = FindNoCase(body, kPreClose) == std::string_view::npos;
        Scan(text);
        Flush();
        return;
    }
    if (body.starts_with("```") || body.starts_with("~~~")) {
        Flush();
        StartBlock(BlockKind::kCode, std::string(body.substr(0, 3)), false,
                   std::string(body.substr(0, 3)));
        return;
    }
    if (OpensListItem(body)) {
        DropDeferred();
        Flush();
    }
    if (!paragraph_.empty() && paragraph_.back() != ' ') {
        paragraph_.push_back(' ');
    }
    if (deferred_) {
        bool command = (body[0] == '@' || body[0] == '\\') && body.size() > 1 && IsLetter(body[1]);
        if (command) {
            DropDeferred();
        } else {
            Deferred waiting = std::move(*deferred_);
            deferred_.reset();
            body = body.substr(InlineCommand(*waiting.spec, waiting.written, body, 0));
        }
    }
    Scan(body);
}

void CommentParser::DropDeferred() {
    if (deferred_) {
        warn_(deferred_->line, FormatLine(kMissingWord, {deferred_->written}));
        deferred_.reset();
    }
}

void CommentParser::Scan(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        char ch = text[at];
        bool commandStart = (ch == '@' || ch == '\\') && at + 1 < text.size() &&
                            (at == 0 || !IsWordByte(text[at - 1]) || KnownAfterWord(text, at));
        if (commandStart) {
            char next = text[at + 1];
            if (kEscapable.find(next) != std::string_view::npos) {
                if (!skippingInternal_) {
                    AppendMarkup(rich::kLiteral);
                    paragraph_.push_back(next);
                }
                at += 2;
                continue;
            }
            if (next == '{' || next == '}') {
                GroupMark mark{next == '{', next == '{' ? groupLabel_ : std::string()};
                out_.groupMarks.push_back(std::move(mark));
                groupLabel_.clear();
                at += 2;
                continue;
            }
            if (next == 'f' && at + 2 < text.size() &&
                std::string_view("$[{(").find(text[at + 2]) != std::string_view::npos) {
                at = Formula(text, at);
            } else if (IsLetter(next)) {
                std::size_t end = at + 1;
                while (end < text.size() && IsWordByte(text[end])) {
                    ++end;
                }
                at = Command(text, at, end);
            } else {
                AppendText(text.substr(at, 1));
                ++at;
                continue;
            }
            if (blockKind_ != BlockKind::kNone) {
                std::string_view rest;
                if (!BlockLine(text.substr(at), rest)) {
                    return;
                }
                text = rest;
                at = 0;
            }
            continue;
        }
        std::size_t link = ch == '[' ? MarkdownReference(text, at) : 0;
        if (link != 0) {
            at += link;
        } else if (ch == '`') {
            at = Backticks(text, at);
        } else if (ch == '(' && at + 1 < text.size() && text[at + 1] == ')') {
            LinkCall();
            at += 2;
        } else {
            AppendText(text.substr(at, 1));
            ++at;
        }
    }
}

std::size_t CommentParser::Formula(std::string_view text, std::size_t at) {
    char opener = text[at + 2];
    char closer = opener == '[' ? ']' : opener == '{' ? '}' : opener == '(' ? ')' : '$';
    std::string end = {text[at], 'f', closer};
    std::size_t from = at + 3;
    std::size_t close = text.find(end, from);
    if (close != std::string_view::npos) {
        AppendSpan(rich::kCodeOpen, text.substr(from, close - from), rich::kCodeClose);
        return close + end.size();
    }
    StartBlock(BlockKind::kFormula, end, false, std::string(text.substr(at, 3)));
    return from;
}

std::size_t CommentParser::Backticks(std::string_view text, std::size_t at) {
    std::size_t run = text.find_first_not_of('`', at);
    run = (run == std::string_view::npos ? text.size() : run) - at;
    std::string_view fence = text.substr(at, run);
    std::size_t close = text.find(fence, at + run);
    while (close != std::string_view::npos && close + run < text.size() &&
           text[close + run] == '`') {
        close = text.find(fence, text.find_first_not_of('`', close));
    }
    if (close == std::string_view::npos) {
        AppendText(fence);
        return at + run;
    }
    AppendSpan(rich::kCodeOpen, text.substr(at + run, close - at - run), rich::kCodeClose);
    return close + run;
}

void CommentParser::LinkCall() {
    if (skippingInternal_) {
        return;
    }
    std::size_t end = paragraph_.size();
    std::size_t start = end;
    while (start > 0 && IsNameByte(paragraph_[start - 1])) {
        --start;
    }
    while (start < end && paragraph_[start] == ':') {
        ++start;
    }
    bool name =
        !linkOpen_ && start < end &&
        (IsLetter(paragraph_[start]) || paragraph_[start] == '_' || paragraph_[start] == '~');
    if (!name) {
        paragraph_.append("()");
        return;
    }
    std::string called = paragraph_.substr(start, end - start);
    paragraph_.insert(start, 1, rich::kReferenceOpen);
    paragraph_.push_back(rich::kReferenceText);
    paragraph_.append(called);
    paragraph_.append("()");
    paragraph_.push_back(rich::kReferenceClose);
}

void CommentParser::AppendText(std::string_view text) {
    if (skippingInternal_) {
        return;
    }
    bool blank =
        text.size() == 1 && (text[0] == ' ' || text[0] == '\t' || rich::IsReservedByte(text[0]));
    if (!htmlPre_ && blank && (paragraph_.empty() || paragraph_.back() == ' ')) {
        // Blanks run together outside pre-formatted text, as a browser shows them.
        return;
    }
    rich::AppendStripped(paragraph_, text);
    sawText_ = sawText_ || !IsBlank(text);
}

void CommentParser::AppendMarkup(char byte) {
    if (!skippingInternal_) {
        paragraph_.push_back(byte);
        sawText_ = true;
    }
}

void CommentParser::AppendSpan(char open, std::string_view text, char close) {
    if (skippingInternal_) {
        return;
    }
    AppendMarkup(open);
    rich::AppendStripped(paragraph_, text);
    AppendMarkup(close);
}

void CommentParser::AppendWordSpan(char open, std::string_view word, char close) {
    std::size_t end = WordEnd(word);
    AppendSpan(open, word.substr(0, end), close);
    AppendText(word.substr(end));
}

// The next blank-separated word at or after `at`, which moves past it.
std::string_view NextWord(std::string_view text, std::size_t& at) {
    std::size_t from = text.find_first_not_of(kBlanks, at);
    if (from == std::string_view::npos) {
        at = text.size();
        return {};
    }
    std::size_t end = text.find_first_of(kBlanks, from);
    end = end == std::string_view::npos ? text.size() : end;
    at = end;
    return text.substr(from, end - from);
}

// The rest of the line from `at`, without blanks around it; `at` moves to the end.
std::string_view RestOfLine(std::string_view text, std::size_t& at) {
    std::string_view rest = TrimView(text.substr(std::min(at, text.size())), kBlanks);
    at = text.size();
    return rest;
}

std::size_t CommentParser::Command(std::string_view text, std::size_t at, std::size_t end) {
    std::string_view name = text.substr(at + 1, end - at - 1);
    std::string written(text.substr(at, end - at));
    const CommandSpec* spec = FindCommand(name);
    if (spec == nullptr) {
        if (reportedUnknown_.insert(written).second) {
            Warn(kUnknownCommand, {written});
        }
        AppendText(written);
        return end;
    }
    std::size_t p = end;
    switch (spec->action) {
        case CommandAction::kSection:
            StartSection(spec->section, spec->label);
            break;
        case CommandAction::kParameter:
        case CommandAction::kTemplateParameter:
            StartRow(spec->action == CommandAction::kTemplateParameter, text, p, written);
            break;
        case CommandAction::kReturnValue:
        case CommandAction::kException: {
            StartSection(spec->section);
            std::string_view word = NextWord(text, p);
            if (!word.empty()) {
                AppendSpan(rich::kCodeOpen, word, rich::kCodeClose);
                AppendText(" ");
            }
            break;
        }
        case CommandAction::kParagraphTitle: {
            std::string_view title = RestOfLine(text, p);
            StartSection(spec->section);
            if (!title.empty()) {
                AppendSpan(rich::kBoldOpen, title, rich::kBoldClose);
                Flush();
            }
            break;
        }
        case CommandAction::kHeading: {
            NextWord(text, p);
            std::string_view title = RestOfLine(text, p);
            StartSection(kSectionDescription);
            AppendSpan(rich::kBoldOpen, title, rich::kBoldClose);
            Flush();
            break;
        }
        case CommandAction::kCodeBlock:
        case CommandAction::kDroppedBlock:
            Flush();
            if (p < text.size() && text[p] == '{') {
                std::size_t close = text.find('}', p);
                p = close == std::string_view::npos ? text.size() : close + 1;
            }
            StartBlock(
                spec->action == CommandAction::kCodeBlock ? BlockKind::kCode : BlockKind::kDropped,
                std::string(spec->label), true, written);
            break;
        case CommandAction::kCode:
        case CommandAction::kBold:
        case CommandAction::kEmphasis:
        case CommandAction::kReference:
        case CommandAction::kLink:
        case CommandAction::kCopyDoc:
            p = InlineCommand(*spec, written, text, p);
            break;
        case CommandAction::kEndLink:
            if (!linkOpen_) {
                Warn(kStrayEnd, {written});
                break;
            }
            if (!paragraph_.empty() && paragraph_.back() == ' ') {
                paragraph_.pop_back();
            }
            AppendMarkup(rich::kReferenceClose);
            AppendText(" ");
            linkOpen_ = false;
            break;
        case CommandAction::kLineBreak:
            Flush();
            break;
        case CommandAction::kListItem:
            Flush();
            AppendText(kListBullet);
            break;
        case CommandAction::kInGroup: {
            std::string_view label = NextWord(text, p);
            if (label.empty()) {
                Warn(kMissingWord, {written});
            } else if (out_.group.empty()) {
                out_.group = std::string(label);
            }
            RestOfLine(text, p);
            break;
        }
        case CommandAction::kDefineGroup:
        case CommandAction::kAddToGroup: {
            std::string_view label = NextWord(text, p);
            std::string_view title = RestOfLine(text, p);
            if (label.empty()) {
                Warn(kMissingWord, {written});
                break;
            }
            groupLabel_ = std::string(label);
            out_.subjectName = groupLabel_;
            out_.title = std::string(title);
            if (spec->action == CommandAction::kDefineGroup) {
                out_.subject = CommentSubject::kGroup;
            } else {
                addToGroup_ = true;
                out_.groupCommand = true;
            }
            break;
        }
        case CommandAction::kMemberGroup:
            RestOfLine(text, p);
            groupLabel_.clear();
            out_.groupCommand = true;
            break;
        case CommandAction::kFile:
            out_.subject = CommentSubject::kFile;
            out_.subjectName = std::string(NextWord(text, p));
            break;
        case CommandAction::kMainPage:
            out_.subject = CommentSubject::kMainPage;
            out_.title = std::string(RestOfLine(text, p));
            break;
        case CommandAction::kPage:
            out_.subject = CommentSubject::kPage;
            out_.subjectName = std::string(NextWord(text, p));
            out_.title = std::string(RestOfLine(text, p));
            break;
        case CommandAction::kNamedEntity:
            out_.subject = CommentSubject::kNamedEntity;
            out_.namedKind = NamedKind(name);
            if (spec->argument == NamedArgument::kDeclaration) {
                out_.namedDeclaration = std::string(RestOfLine(text, p));
            } else {
                out_.subjectName = std::string(NextWord(text, p));
                RestOfLine(text, p);
            }
            break;
        case CommandAction::kInternal:
            if (!sawText_ && out_.lines.empty() && out_.parameters.empty()) {
                out_.internal = true;
            } else {
                skippingInternal_ = true;
            }
            break;
        case CommandAction::kEndInternal:
            skippingInternal_ = false;
            break;
        case CommandAction::kExampleFile: {
            std::string_view file = NextWord(text, p);
            RestOfLine(text, p);
            if (file.empty()) {
                Warn(kMissingWord, {written});
                break;
            }
            std::string line(kExampleFileLabel);
            line.push_back(rich::kCodeOpen);
            rich::AppendStripped(line, file);
            line.push_back(rich::kCodeClose);
            PushLine(kSectionExamples, std::move(line));
            break;
        }
        case CommandAction::kStrayEnd:
            Warn(kStrayEnd, {written});
            break;
        case CommandAction::kIgnoreLine:
            p = text.size();
            break;
        case CommandAction::kIgnoreWord:
            NextWord(text, p);
            break;
        case CommandAction::kIgnore:
            break;
    }
    return p;
}

std::size_t CommentParser::InlineCommand(const CommandSpec& spec, std::string_view written,
                                         std::string_view text, std::size_t p) {
    if (text.find_first_not_of(kBlanks, p) == std::string_view::npos) {
        // The word stands on the next line.
        deferred_ = Deferred{&spec, std::string(written), line_};
        return text.size();
    }
    std::string_view word = NextWord(text, p);
    switch (spec.action) {
        case CommandAction::kCode:
            AppendWordSpan(rich::kCodeOpen, word, rich::kCodeClose);
            break;
        case CommandAction::kBold:
            AppendWordSpan(rich::kBoldOpen, word, rich::kBoldClose);
            break;
        case CommandAction::kEmphasis:
            AppendWordSpan(rich::kEmphasisOpen, word, rich::kEmphasisClose);
            break;
        case CommandAction::kReference: {
            std::size_t end = WordEnd(word);
            std::string_view punctuation = word.substr(end);
            word = word.substr(0, end);
            std::string_view shown = word;
            std::size_t quote = text.find_first_not_of(kBlanks, p);
            if (quote != std::string_view::npos && text[quote] == '"') {
                std::size_t close = text.find('"', quote + 1);
                if (close != std::string_view::npos) {
                    shown = text.substr(quote + 1, close - quote - 1);
                    p = close + 1;
                }
            }
            AppendReference(word, shown);
            AppendText(punctuation);
            break;
        }
        case CommandAction::kLink:
            AppendMarkup(rich::kReferenceOpen);
            AppendText(ReferenceName(word));
            AppendMarkup(rich::kReferenceText);
            linkOpen_ = true;
            linkOpener_ = written;
            linkLine_ = line_;
            p = std::min(text.size(), text.find_first_not_of(kBlanks, p));
            break;
        default:
            AppendText(kCopiedFromLabel);
            AppendReference(word, {});
            break;
    }
    return p;
}

void CommentParser::AppendReference(std::string_view name, std::string_view shown) {
    AppendMarkup(rich::kReferenceOpen);
    AppendText(ReferenceName(name));
    if (!shown.empty()) {
        AppendMarkup(rich::kReferenceText);
        AppendText(shown);
    }
    AppendMarkup(rich::kReferenceClose);
}

// A Markdown link to an item, "[text](@ref name)", at text[at]; its size, or 0 when there is none.
std::size_t CommentParser::MarkdownReference(std::string_view text, std::size_t at) {
    std::string_view window = text.substr(at, kMaxMarkdownLink);
    std::size_t middle = window.find("](");
    if (middle == std::string_view::npos) {
        return 0;
    }
    std::string_view target = window.substr(middle + 2);
    if (!target.starts_with("@ref") && !target.starts_with("\\ref")) {
        return 0;
    }
    std::size_t close = target.find(')');
    if (close == std::string_view::npos) {
        return 0;
    }
    std::string_view name = TrimView(target.substr(4, close - 4), kBlanks);
    if (name.empty() || name.find_first_of(kBlanks) != std::string_view::npos) {
        return 0;
    }
    AppendReference(name, window.substr(1, middle - 1));
    return middle + 2 + close + 1;
}

void CommentParser::StartRow(bool templateParameter, std::string_view text, std::size_t& at,
                             std::string_view command) {
    Flush();
    target_ = {};
    std::string direction;
    std::size_t from = text.find_first_not_of(kBlanks, at);
    if (from != std::string_view::npos && text[from] == '[') {
        std::size_t close = text.find(']', from);
        close = close == std::string_view::npos ? text.size() : close;
        for (char ch : text.substr(from + 1, close - from - 1)) {
            if (ch != ' ' && ch != '\t') {
                direction.push_back(static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch));
            }
        }
        if (direction == "out,in") {
            direction = "in,out";
        }
        at = std::min(close + 1, text.size());
    }
    std::string_view word = NextWord(text, at);
    std::string name;
    std::size_t start = 0;
    while (start <= word.size()) {
        std::size_t comma = word.find(',', start);
        std::string_view piece = word.substr(start, comma - start);
        if (!piece.empty()) {
            if (!name.empty()) {
                name += ", ";
            }
            rich::AppendStripped(name, piece);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (name.empty()) {
        Warn(kMissingParameterName, {command});
        return;
    }
    out_.parameters.push_back({std::move(name), std::move(direction), {}, templateParameter});
    out_.parameterLines.push_back(line_);
    target_ = {true, kSectionParameter, out_.parameters.size() - 1};
    sawText_ = true;
}

void CommentParser::StartSection(SectionKind section, std::string_view label) {
    Flush();
    target_ = {false, section, 0};
    sawText_ = true;
    if (!label.empty()) {
        AppendSpan(rich::kBoldOpen, label, rich::kBoldClose);
        AppendText(" ");
    }
}

void CommentParser::PushLine(SectionKind section, std::string text) {
    out_.lines.push_back({section, std::move(text)});
}

void CommentParser::Flush() {
    if (linkOpen_) {
        warn_(linkLine_,
              FormatLine(kUnclosedLink, {linkOpener_, std::string(1, linkOpener_.front()) +
                                                          std::string(kEndLink)}));
        paragraph_.push_back(rich::kReferenceClose);
        linkOpen_ = false;
    }
    std::string text(TrimView(paragraph_, " \t"));
    paragraph_.clear();
    if (text.empty()) {
        return;
    }
    if (target_.row) {
        std::string& row = out_.parameters[target_.rowIndex].text;
        if (!row.empty()) {
            row.push_back(' ');
        }
        row += text;
    } else if (target_.section == kSectionSeeAlso) {
        AddSeeAlso(text);
    } else {
        if (target_.section == kSectionDescription && blankBefore_ && described_) {
            PushLine(kSectionDescription, {});
        }
        described_ = described_ || target_.section == kSectionDescription;
        PushLine(target_.section, std::move(text));
    }
    blankBefore_ = false;
}

void CommentParser::EndParagraph() {
    Flush();
    target_ = {};
}

// See also lines: a list of names gives one line per name; any other text stays one line.
void CommentParser::AddSeeAlso(std::string_view text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string_view piece = TrimView(text.substr(start, comma - start), kBlanks);
        std::string name;
        bool inReference = false;
        bool shownPart = false;
        for (char ch : piece) {
            if (ch == rich::kReferenceOpen) {
                inReference = true;
            } else if (ch == rich::kReferenceText) {
                shownPart = true;
            } else if (ch == rich::kReferenceClose) {
                inReference = false;
                shownPart = false;
            } else if (!rich::IsReservedByte(ch) && !(inReference && shownPart)) {
                name.push_back(ch);
            }
        }
        name = ReferenceName(name);
        if (name.empty() || name.find_first_of(" \t") != std::string::npos) {
            PushLine(kSectionSeeAlso, std::string(text));
            return;
        }
        names.push_back(std::move(name));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    for (std::string& name : names) {
        PushLine(kSectionSeeAlso, std::move(name));
    }
}

void CommentParser::StartBlock(BlockKind kind, std::string end, bool endIsCommand,
                               std::string opener) {
    blockKind_ = kind;
    blockEnd_ = std::move(end);
    blockEndIsCommand_ = endIsCommand;
    blockOpener_ = std::move(opener);
    blockLine_ = line_;
    blockLines_.clear();
}

bool CommentParser::BlockLine(std::string_view text, std::string_view& rest) {
    std::size_t end = std::string_view::npos;
    std::size_t endSize = blockEnd_.size();
    if (!blockEndIsCommand_) {
        end = text.find(blockEnd_);
    } else {
        // The closing command, written with either prefix, standing as a word of its own.
        for (std::size_t at = text.find(blockEnd_); at != std::string_view::npos;
             at = text.find(blockEnd_, at + 1)) {
            bool prefixed = at > 0 && (text[at - 1] == '@' || text[at - 1] == '\\');
            bool wordEnds = at + endSize >= text.size() || !IsWordByte(text[at + endSize]);
            if (prefixed && wordEnds) {
                end = at - 1;
                ++endSize;
                break;
            }
        }
    }
    if (end == std::string_view::npos) {
        blockLines_.push_back(text);
        return false;
    }
    if (!IsBlank(text.substr(0, end))) {
        blockLines_.push_back(text.substr(0, end));
    }
    FinishBlock();
    rest = text.substr(end + endSize);
    return true;
}

void CommentParser::FinishBlock() {
    BlockKind kind = blockKind_;
    blockKind_ = BlockKind::kNone;
    if (kind == BlockKind::kFormula) {
        std::string formula;
        for (std::string_view line : blockLines_) {
            if (!formula.empty()) {
                formula.push_back(' ');
            }
            formula.append(TrimView(line, kBlanks));
        }
        AppendSpan(rich::kCodeOpen, formula, rich::kCodeClose);
        return;
    }
    if (kind != BlockKind::kCode) {
        return;
    }
    std::size_t first = 0;
    std::size_t last = blockLines_.size();
    while (first < last && IsBlank(blockLines_[first])) {
        ++first;
    }
    while (last > first && IsBlank(blockLines_[last - 1])) {
        --last;
    }
    std::size_t indent = std::string_view::npos;
    for (std::size_t i = first; i < last; ++i) {
        std::size_t text = blockLines_[i].find_first_not_of(" \t");
        if (text != std::string_view::npos) {
            indent = std::min(indent, text);
        }
    }
    for (std::size_t i = first; i < last; ++i) {
        std::string_view line = blockLines_[i];
        line = line.substr(std::min(indent, line.size()));
        line = TrimRightView(line, kBlanks);
        std::string pre(1, rich::kPreformattedLine);
        rich::AppendStripped(pre, line);
        PushLine(kSectionExamples, std::move(pre));
    }
}

void CommentParser::Finish() {
    DropDeferred();
    if (blockKind_ != BlockKind::kNone) {
        line_ = blockLine_;
        Warn(kUnclosedBlock, {blockOpener_});
        FinishBlock();
    }
    Flush();
    if (addToGroup_ && out_.subject == CommentSubject::kNextDeclaration &&
        (!out_.lines.empty() || !out_.title.empty())) {
        out_.subject = CommentSubject::kGroup;
    }
}

}  // namespace

bool DoxygenComment::OnlyGroupMarks() const {
    return subject == CommentSubject::kNextDeclaration && lines.empty() && parameters.empty() &&
           group.empty() && !internal && (!groupMarks.empty() || groupCommand);
}

DoxygenComment ParseDoxygenComment(const std::vector<CommentLine>& lines, bool blockComment,
                                   const DoxygenWarning& warn,
                                   std::unordered_set<std::string>& reportedUnknown) {
    DoxygenComment comment;
    comment.line = lines.empty() ? 0 : lines.front().line;
    CommentParser parser(warn, reportedUnknown, comment);
    for (const CommentLine& line : lines) {
        parser.Line(StripDecoration(line.text, blockComment), line.line);
    }
    parser.Finish();
    return comment;
}

}  // namespace sylva
