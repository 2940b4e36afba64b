// The first pass over a line of a documentation comment, and what each command that places text
// does to the comment being read.
#include <algorithm>
#include <utility>

#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/byte_sets.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva::doxygen_parse {

namespace {

constexpr WarningKind kMissingParameterName = {
    "doxygen.missing-parameter-name", "\"%s\" without a parameter name; the row is left out"};
constexpr WarningKind kStrayEnd = {"doxygen.stray-end", "\"%s\" closes nothing; it is left out"};
constexpr std::string_view kListBullet = "- ";
constexpr std::string_view kNumberedItem = "1.";
constexpr std::string_view kHtmlFormat = "html";
// Bytes no file name starts with, but a sentence goes on with.
constexpr std::string_view kProsePunctuation = ",;:!?)";
// The bytes a backslash or "@" in front makes plain text of.
constexpr std::string_view kEscapable = "\\@&$#<>%\".|:~-";
// Headings by command: section, subsection, subsubsection, paragraph.
constexpr std::string_view kHeadingCommands[] = {"section", "subsection", "subsubsection",
                                                 "paragraph"};

// True iff the first pass looks at `ch` on its own: code spans, quotes, commands and escapes,
// and the "](" of a Markdown link.
bool IsScanSpecial(char ch) {
    return ch == '`' || ch == '"' || ch == '@' || ch == '\\' || ch == ']';
}

// True iff the backslash at text[at], behind a word, opens a known command ("for\code"). An "@"
// behind a word is text ("user@example.com"), and so is an unknown name ("C:\Temp").
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

// Appends `text` so that Markdown shows it as it stands inside a link's text or an image's alt.
void AppendMarkdownText(std::string& out, std::string_view text) {
    for (char ch : text) {
        if (ch == '[' || ch == ']' || ch == '\\' || ch == '`' || ch == '*' || ch == '_') {
            out.push_back('\\');
        }
        out.push_back(ch);
    }
}

}  // namespace

std::size_t FindFence(std::string_view text, std::string_view fence, std::size_t from) {
    std::size_t close = text.find(fence, from);
    while (close != std::string_view::npos && close + fence.size() < text.size() &&
           text[close + fence.size()] == '`') {
        close = text.find(fence, text.find_first_not_of('`', close));
    }
    return close;
}

bool CommandStart(std::string_view text, std::size_t at) {
    return (text[at] == '@' || text[at] == '\\') && at + 1 < text.size() &&
           (at == 0 || !IsWordByte(text[at - 1]) || KnownAfterWord(text, at));
}

void CommentParser::Scan(std::string_view text) {
    std::size_t at = 0;
    bool behindCommand = false;
    std::size_t indent = FindFirstNotOf(text, kBlanks);
    if (!openSpan_.empty()) {
        // A code span an earlier line opened: its bytes up to the closing backquotes are code.
        std::size_t close = FindFence(text, openSpan_, 0);
        at = close == std::string_view::npos ? text.size() : close + openSpan_.size();
        if (close != std::string_view::npos) {
            openSpan_.clear();
        }
        if (!skippingInternal_) {
            piece_.append(text.substr(0, at));
        }
    } else if (indent != std::string_view::npos && text.substr(indent).starts_with("-#") &&
               (indent + 2 == text.size() || text[indent + 2] == ' ' || text[indent + 2] == '\t')) {
        // "-#" opens an item of a numbered list, as "1." does in Markdown.
        piece_.append(text.substr(0, indent)).append(kNumberedItem);
        at = indent + 2;
    }
    while (at < text.size()) {
        char ch = text[at];
        if (!IsScanSpecial(ch)) {
            std::size_t end = at + 1;
            while (end < text.size() && !IsScanSpecial(text[end])) {
                ++end;
            }
            if (!skippingInternal_) {
                piece_.append(text.substr(at, end - at));
            }
            at = end;
            continue;
        }
        if (ch == '`') {
            at = CodeSpan(text, at);
            continue;
        }
        if (ch == '"') {
            quoted_ = !quoted_;
        }
        if (CommandStart(text, at)) {
            char next = text[at + 1];
            if (kEscapable.find(next) != std::string_view::npos) {
                // Written for Markdown, which shows the byte behind a backslash as it is.
                if (!skippingInternal_) {
                    piece_.push_back('\\');
                    piece_.push_back(next);
                }
                at += 2;
                continue;
            }
            if (next == '{' || next == '}') {
                // In a quoted string ("@{" names a revision) the bytes are text.
                if (quoted_ && ClosesInParagraph(text.substr(at + 2), "\"")) {
                    piece_.append(text.substr(at, 2));
                    at += 2;
                    continue;
                }
                ApplyGroupMark(next == '{', text, at);
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
                const KnownCommand* known = FindCommand(text.substr(at + 1, end - at - 1));
                if (known == nullptr || IsInline(known->action)) {
                    // The inline pass runs it, or says it is unknown.
                    if (!skippingInternal_) {
                        piece_.append(text.substr(at, end - at));
                    }
                    at = end;
                    continue;
                }
                AppendToChunk(piece_);
                piece_.clear();
                at = Command(*known, text, at, end);
                behindCommand = true;
            } else {
                if (!skippingInternal_) {
                    piece_.push_back(ch);
                }
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
                quoted_ = false;
            }
            continue;
        }
        if (ch == ']' && text.substr(at, 2) == "](") {
            at = MarkdownLinkTarget(text, at);
            continue;
        }
        if (!skippingInternal_) {
            piece_.push_back(ch);
        }
        ++at;
    }
    if (behindCommand && !chunkStarted_ && !IsBlank(piece_)) {
        // A chunk that starts behind a command ("@brief  Text") starts mid-line: the blanks
        // before its text are no indentation of its lines.
        midLineStart_ = true;
    }
    piece_.push_back('\n');
    AppendToChunk(piece_);
    piece_.clear();
}

std::size_t CommentParser::CodeSpan(std::string_view text, std::size_t at) {
    std::size_t run = text.find_first_not_of('`', at);
    run = (run == std::string_view::npos ? text.size() : run) - at;
    std::string_view fence = text.substr(at, run);
    std::size_t close = FindFence(text, fence, at + run);
    std::size_t end = close == std::string_view::npos ? at + run : close + run;
    if (close == std::string_view::npos && ClosesInParagraph({}, fence)) {
        // A later line of the paragraph closes the span: the rest of this line is code.
        openSpan_ = std::string(fence);
        end = text.size();
    }
    if (!skippingInternal_) {
        piece_.append(text.substr(at, end - at));
    }
    return end;
}

// "[text](@ref name)": Markdown links to an item by its name, so the command goes.
std::size_t CommentParser::MarkdownLinkTarget(std::string_view text, std::size_t at) {
    std::size_t p = at + 2;
    if (!skippingInternal_) {
        piece_.append("](");
    }
    std::string_view target = text.substr(p);
    if (target.starts_with("@ref") || target.starts_with("\\ref")) {
        p += 4;
        p = std::min(FindFirstNotOf(text, kBlanks, p), text.size());
    }
    return p;
}

std::size_t CommentParser::Formula(std::string_view text, std::size_t at) {
    char opener = text[at + 2];
    char closer = opener == '[' ? ']' : opener == '{' ? '}' : opener == '(' ? ')' : '$';
    std::string end = {text[at], 'f', closer};
    std::size_t from = at + 3;
    if (opener == '{') {
        // "\f{eqnarray*}{": the environment's name goes.
        std::size_t brace = text.find("}{", from);
        from = brace == std::string_view::npos ? from : brace + 2;
    }
    std::size_t close = text.find(end, from);
    if (opener == '$' || opener == '(') {
        if (close != std::string_view::npos) {
            AppendFormula(text.substr(from, close - from));
            return close + end.size();
        }
        StartBlock(BlockKind::kFormula, end, false, std::string(text.substr(at, 3)));
        return from;
    }
    AppendToChunk(piece_);
    piece_.clear();
    StartBlock(BlockKind::kFormula, end, false, std::string(text.substr(at, 3)),
               std::string(kFormulaInfo));
    return from;
}

void CommentParser::AppendFormula(std::string_view tex) {
    if (skippingInternal_) {
        return;
    }
    std::size_t longest = 0;
    std::size_t run = 0;
    for (char ch : tex) {
        run = ch == '`' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    std::string ticks(longest + 1, '`');
    piece_.append(ticks).push_back(kChunkMark);
    for (char ch : tex) {
        piece_.push_back(ch == '\n' ? ' ' : ch);
    }
    piece_.append(ticks);
}

void CommentParser::ApplyGroupMark(bool open, std::string_view text, std::size_t& at) {
    sylva::GroupMark mark{open, open ? groupLabel_ : std::string()};
    out_.groupMarks.push_back(std::move(mark));
    groupLabel_.clear();
    at += 2;
    // Words behind "@}" on its line, without a command among them, name the group it closes
    // ("@} core_utils", "@}  // core_utils"): a label, not documentation.
    if (!open && FindFirstOf(text, "@\\", at) == std::string_view::npos) {
        at = text.size();
    }
}

// "\image html file.png "caption"": an image of the pages, as Markdown writes one; images for
// other outputs go.
void CommentParser::Image(std::string_view text, std::size_t& at) {
    std::string_view format = NextWord(text, at);
    if (format.starts_with("{")) {
        format = NextWord(text, at);
    }
    std::string_view file = NextWord(text, at);
    std::string_view rest = RestOfLine(text, at);
    if (file.empty()) {
        Warn(kMissingWord, {"\\image"});
        return;
    }
    if (format != kHtmlFormat || skippingInternal_ || file.find('>') != std::string_view::npos) {
        return;
    }
    std::string_view caption;
    if (rest.starts_with("\"")) {
        std::size_t close = rest.find('"', 1);
        caption = rest.substr(1, close == std::string_view::npos ? rest.npos : close - 1);
    }
    piece_.append("![");
    AppendMarkdownText(piece_, caption);
    piece_.append("](<").append(file).append(">)");
    if (!caption.empty()) {
        piece_.push_back(rich::kLineBreak);
        AppendMarkdownText(piece_, caption);
    }
    piece_.push_back('\n');
}

std::size_t CommentParser::Command(const KnownCommand& known, std::string_view text, std::size_t at,
                                   std::size_t end) {
    std::string written(text.substr(at, end - at));
    std::size_t p = end;
    if (skippingInternal_ && known.action != CommandAction::kEndInternal &&
        known.action != CommandAction::kEndCondition) {
        // Hidden text: only its end counts.
        return p;
    }
    switch (known.action) {
        case CommandAction::kSection:
            StartSection(known.section);
            if (!known.label.empty()) {
                chunkStarted_ = true;
                midLineStart_ = true;
                chunk_.push_back(rich::kBoldOpen);
                chunk_.append(known.label);
                chunk_.push_back(rich::kBoldClose);
                chunk_.push_back(' ');
            }
            break;
        case CommandAction::kNote:
            StartNote(known.name, known.label);
            break;
        case CommandAction::kParameter:
        case CommandAction::kTemplateParameter:
            StartRow(known.action == CommandAction::kTemplateParameter, text, p, written);
            break;
        case CommandAction::kReturnValue: {
            std::string_view word = NextWord(text, p);
            SetTarget({TargetKind::kReturnValue, kSectionReturn, 0, Plain(word)});
            break;
        }
        case CommandAction::kException: {
            StartSection(known.section);
            std::string_view word = NextWord(text, p);
            if (!word.empty()) {
                chunkStarted_ = true;
                midLineStart_ = true;
                chunk_.push_back(rich::kCodeOpen);
                rich::AppendStripped(chunk_, word);
                chunk_.push_back(rich::kCodeClose);
                chunk_.push_back(' ');
            }
            break;
        }
        case CommandAction::kParagraphTitle: {
            std::string_view title = RestOfLine(text, p);
            if (title.empty()) {
                StartSection(kSectionDescription);
            } else {
                StartNote(known.name, Plain(title));
            }
            break;
        }
        case CommandAction::kHeading: {
            std::string_view label = NextWord(text, p);
            std::string_view title = RestOfLine(text, p);
            StartSection(kSectionDescription);
            std::size_t level = 1;
            while (level <= std::size(kHeadingCommands) &&
                   kHeadingCommands[level - 1] != known.name) {
                ++level;
            }
            std::string heading;
            std::string argument = std::to_string(std::min<std::size_t>(level, 4));
            if (!label.empty()) {
                argument.push_back(' ');
                argument.append(label);
                out_.anchors.push_back(Plain(label));
            }
            rich::OpenBlock(heading, rich::BlockKind::kHeading, argument);
            InlineText(title.empty() ? label : title, heading);
            EndInline(heading);
            rich::CloseBlock(heading);
            PushLine(kSectionDescription, std::move(heading));
            sawText_ = true;
            break;
        }
        case CommandAction::kCodeBlock:
        case CommandAction::kDroppedBlock: {
            std::string language;
            if (p < text.size() && text[p] == '{') {
                std::size_t close = text.find('}', p);
                close = close == std::string_view::npos ? text.size() : close;
                language = Plain(TrimLeftView(text.substr(p + 1, close - p - 1), "."));
                p = std::min(close + 1, text.size());
            }
            AppendToChunk(piece_);
            piece_.clear();
            StartBlock(
                known.action == CommandAction::kCodeBlock ? BlockKind::kCode : BlockKind::kDropped,
                std::string(known.label), true, written, std::move(language));
            break;
        }
        case CommandAction::kListItem:
            if (!chunk_.empty() && chunk_.back() != '\n') {
                chunk_.push_back('\n');
            }
            piece_.append(lineIndent_, ' ').append(kListBullet);
            p = std::min(FindFirstNotOf(text, kBlanks, p), text.size());
            break;
        case CommandAction::kImage:
            Image(text, p);
            break;
        case CommandAction::kInGroup: {
            std::string_view label = NextWord(text, p);
            if (label.empty()) {
                Warn(kMissingWord, {written});
            } else if (out_.subject == CommentSubject::kGroup && Plain(label) == groupLabel_) {
                // A group holds no other groups, so it cannot hold itself either.
                Warn(kGroupInItself, {groupLabel_, written});
            } else if (out_.group.empty()) {
                out_.group = Plain(label);
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
            if (known.action == CommandAction::kDefineGroup &&
                out_.subject == CommentSubject::kGroup) {
                // A second group in one comment: the first one's text ends here.
                SetTarget({});
                out_.earlierGroups.push_back(
                    {std::move(out_.subjectName), std::move(out_.title), std::move(out_.lines)});
                out_.lines.clear();
            }
            groupLabel_ = Plain(label);
            out_.subjectName = groupLabel_;
            out_.title = Plain(title);
            if (known.action == CommandAction::kDefineGroup) {
                out_.subject = CommentSubject::kGroup;
            } else {
                addToGroup_ = true;
                out_.groupCommand = true;
            }
            break;
        }
        case CommandAction::kMemberGroup:
            out_.title = Plain(RestOfLine(text, p));
            groupLabel_.clear();
            out_.groupCommand = true;
            out_.memberGroup = true;
            break;
        case CommandAction::kFile: {
            std::size_t peek = p;
            std::string_view word = NextWord(text, peek);
            if (!word.empty() && kProsePunctuation.find(word.front()) != std::string_view::npos) {
                // "the form of @file, in which case": a word in a sentence, no file comment.
                piece_.append(written);
                break;
            }
            out_.subject = CommentSubject::kFile;
            out_.subjectName = Plain(NextWord(text, p));
            break;
        }
        case CommandAction::kMainPage:
            out_.subject = CommentSubject::kMainPage;
            out_.title = Plain(RestOfLine(text, p));
            break;
        case CommandAction::kPage:
            out_.subject = CommentSubject::kPage;
            out_.subjectName = Plain(NextWord(text, p));
            out_.title = Plain(RestOfLine(text, p));
            break;
        case CommandAction::kNamedEntity:
            out_.subject = CommentSubject::kNamedEntity;
            out_.namedKind = known.namedKind;
            if (known.argument == NamedArgument::kDeclaration) {
                out_.namedDeclaration = std::string(RestOfLine(text, p));
            } else {
                out_.subjectName = Plain(NextWord(text, p));
                RestOfLine(text, p);
            }
            break;
        case CommandAction::kInternal:
            if (!sawText_ && out_.lines.empty() && out_.parameters.empty()) {
                out_.internal = true;
            } else {
                skippingInternal_ = !reading_.options.showHidden;
            }
            break;
        case CommandAction::kEndInternal:
            skippingInternal_ = false;
            break;
        case CommandAction::kCondition:
            NextWord(text, p);
            conditionOpen_ = true;
            skippingInternal_ = !reading_.options.showHidden;
            break;
        case CommandAction::kEndCondition:
            if (!conditionOpen_ && !reading_.hidden) {
                Warn(kStrayEnd, {written});
            }
            conditionOpen_ = false;
            skippingInternal_ = false;
            break;
        case CommandAction::kCopyDoc:
        case CommandAction::kOverload: {
            std::string_view name =
                known.action == CommandAction::kOverload ? std::string_view() : NextWord(text, p);
            if (known.action == CommandAction::kCopyDoc && name.empty()) {
                Warn(kMissingWord, {written});
                break;
            }
            if (known.action == CommandAction::kOverload) {
                RestOfLine(text, p);
            }
            StartSection(kSectionDescription);
            std::string copy(1, kCopyMark);
            copy.push_back(known.name == "copybrief"     ? kCopyBrief
                           : known.name == "copydetails" ? kCopyDetails
                                                         : kCopyAll);
            copy += ReferenceName(Plain(name));
            PushLine(kSectionDescription, std::move(copy));
            sawText_ = true;
            break;
        }
        case CommandAction::kBase: {
            std::string_view base = NextWord(text, p);
            if (base.empty()) {
                Warn(kMissingWord, {written});
            } else {
                out_.bases.push_back(Plain(base));
            }
            break;
        }
        case CommandAction::kRelates: {
            std::string_view scope = NextWord(text, p);
            if (scope.empty()) {
                Warn(kMissingWord, {written});
            } else {
                out_.relatesTo = ReferenceName(Plain(scope));
                out_.memberOf = known.name == "memberof";
            }
            break;
        }
        case CommandAction::kExampleFile:
            ExampleFile(known, written, text, p);
            break;
        case CommandAction::kExampleCursor:
            ExampleCursor(known, written, text, p);
            break;
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
        case CommandAction::kCode:
        case CommandAction::kBold:
        case CommandAction::kEmphasis:
        case CommandAction::kReference:
        case CommandAction::kLink:
        case CommandAction::kEndLink:
        case CommandAction::kLineBreak:
        case CommandAction::kAnchor:
            break;
    }
    return p;
}

void CommentParser::StartRow(bool templateParameter, std::string_view text, std::size_t& at,
                             std::string_view command) {
    SetTarget({});
    std::string direction;
    std::size_t from = FindFirstNotOf(text, kBlanks, at);
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
    // "@param size: the size" names "size".
    std::string_view word = TrimRightView(NextWord(text, at), ":");
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
    target_ = {TargetKind::kRow, kSectionParameter, out_.parameters.size() - 1, {}};
    sawText_ = true;
}

}  // namespace sylva::doxygen_parse
