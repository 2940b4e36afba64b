// Reading one documentation comment, its first pass: lines into chunks of Markdown, each with
// the place its text goes to, and the blocks (code, formulas, the author's <pre>) in them.
#include "scan/doxygen/comment.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <forward_list>
#include <utility>

#include "scan/doxygen/aliases.h"
#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/byte_sets.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace doxygen_parse {

namespace {

constexpr WarningKind kUnclosedBlock = {
    "doxygen.unclosed-block",
    "\"%s\" is not closed before the end of the comment; the block runs to its end"};
constexpr WarningKind kRunawayAlias = {
    "doxygen.alias-runaway",
    "alias \"%s\" uses itself, or its uses grow the comment too far; the deepest use is left out"};
constexpr std::string_view kPreOpen = "<pre>";
constexpr std::string_view kPreClose = "</pre>";
constexpr std::string_view kCallParentheses = "()";
constexpr std::size_t kTabStop = 4;
// A Markdown line indented this far past its container is code.
constexpr std::size_t kCodeIndent = 4;
// How far a code span or a quoted string is looked for in the later lines of its paragraph: a
// backquote left open costs no more than this, however long the comment.
constexpr std::size_t kParagraphLookAhead = 4096;

// A line of a block comment without its decoration.
std::string_view StripDecoration(std::string_view line, bool blockComment) {
    while (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (!blockComment) {
        return line;
    }
    std::size_t at = FindFirstNotOf(line, " \t");
    if (at != std::string_view::npos && line[at] == '*') {
        // The run of "*" and the one blank that sets the text apart from it.
        at = line.find_first_not_of('*', at);
        if (at != std::string_view::npos && line[at] == ' ') {
            ++at;
        }
        return at == std::string_view::npos ? std::string_view() : line.substr(at);
    }
    return line;
}

bool HasTabOrReservedByte(std::string_view text) {
    // Every line of every comment is asked, and almost none holds such a byte: eight bytes are
    // tested at once for one below 0x20 (tabs and reserved bytes all are), and only a word that
    // holds one is looked at byte by byte.
    constexpr std::uint64_t kEachByte = 0x0101010101010101;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        if (((word - kEachByte * 0x20) & ~word & (kEachByte * 0x80)) != 0) {
            break;
        }
    }
    return std::any_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                       [](char ch) { return ch == '\t' || rich::IsReservedByte(ch); });
}

std::size_t Indentation(std::string_view line) {
    std::size_t indent = FindFirstNotOf(line, kBlanks);
    return indent == std::string_view::npos ? line.size() : indent;
}

// The size of a Markdown fence ("```" or "~~~", three or more) that opens `body`, or 0.
std::size_t FenceSize(std::string_view body) {
    if (body.empty() || (body[0] != '`' && body[0] != '~')) {
        return 0;
    }
    std::size_t size = body.find_first_not_of(body[0]);
    size = size == std::string_view::npos ? body.size() : size;
    return size >= 3 ? size : 0;
}

// The column where the text of a list item on `line` starts, or npos when it opens none.
std::size_t ListItemContent(std::string_view line) {
    std::size_t at = Indentation(line);
    std::string_view body = line.substr(at);
    std::size_t marker = 0;
    if (body.starts_with("-#")) {
        marker = 2;
    } else if (!body.empty() && (body[0] == '-' || body[0] == '*' || body[0] == '+')) {
        marker = 1;
    } else {
        while (marker < body.size() && body[marker] >= '0' && body[marker] <= '9') {
            ++marker;
        }
        if (marker == 0 || marker >= body.size() || (body[marker] != '.' && body[marker] != ')')) {
            return std::string_view::npos;
        }
        ++marker;
    }
    if (marker >= body.size() || (body[marker] != ' ' && body[marker] != '\t')) {
        return std::string_view::npos;
    }
    return at + marker + 1;
}

bool IsAsciiAlphanumeric(char ch) {
    return IsLetter(ch) || (ch >= '0' && ch <= '9');
}

// Where the single backquote at text[at] closes a code span that Markdown reads exactly as the
// bytes between: on the same line, by a single backquote, around text that neither starts nor
// ends with a blank (Markdown would strip one); npos for any other shape.
std::size_t SimpleCodeSpanEnd(std::string_view text, std::size_t at) {
    if (at > 0 && text[at - 1] == '`') {
        return std::string_view::npos;
    }
    const std::size_t close = FindFirstOf(text, "`\n", at + 1);
    if (close == std::string_view::npos || text[close] != '`' || close == at + 1 ||
        (close + 1 < text.size() && text[close + 1] == '`') ||
        kBlanks.find(text[at + 1]) != std::string_view::npos ||
        kBlanks.find(text[close - 1]) != std::string_view::npos) {
        return std::string_view::npos;
    }
    return close;
}

// True iff Markdown reads `text` as paragraphs of plain text and simple code spans
// (SimpleCodeSpanEnd), parted by blank lines: no other byte that opens a span, a link, a tag, an
// entity or an escape, no web address, no opening that starts a block and no line break. Such a
// chunk needs no Markdown parser.
bool IsPlainParagraph(std::string_view text) {
    static constexpr auto kMarkdownBytes = [] {
        std::array<bool, 256> bytes{};
        for (unsigned char ch : std::string_view("*_`[]!<>&\\|~#:")) {
            bytes[ch] = true;
        }
        return bytes;
    }();
    if (text.empty()) {
        return false;
    }
    // What Markdown would read in the shapes a single line of prose does not have: a run of "_"
    // inside a word (snake_case), a paragraph behind a blank line, a continuation line indented
    // as code would be. There a line ending in two blanks is a line break, which the plain
    // reading does not give.
    bool widened = false;
    bool lineBreak = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        unsigned char ch = static_cast<unsigned char>(text[at]);
        if (!kMarkdownBytes[ch]) {
            continue;
        }
        if (ch == '`') {
            // What a code span holds is not Markdown.
            at = SimpleCodeSpanEnd(text, at);
            if (at == std::string_view::npos) {
                return false;
            }
            continue;
        }
        if (ch == '_') {
            // A run of "_" between letters or digits can neither open nor close emphasis.
            std::size_t end = text.find_first_not_of('_', at);
            if (at > 0 && IsAsciiAlphanumeric(text[at - 1]) && end != std::string_view::npos &&
                IsAsciiAlphanumeric(text[end])) {
                widened = true;
                at = end - 1;
                continue;
            }
            return false;
        }
        // A ":" matters only in a web address ("://").
        if (!(ch == ':' && text.substr(at, 3) != "://")) {
            return false;
        }
    }
    bool paragraphStart = true;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        std::size_t indent = FindFirstNotOf(line, " \t\r");
        if (indent == std::string_view::npos) {
            widened = true;
            paragraphStart = true;
            start = end + 1;
            continue;
        }
        if (start > 0 && indent >= kCodeIndent) {
            // Behind a blank line such a line is code; inside a paragraph it goes on with it.
            if (paragraphStart) {
                return false;
            }
            widened = true;
        }
        char first = line[indent];
        if (first == '-' || first == '+' || first == '=' || (first >= '0' && first <= '9')) {
            return false;
        }
        lineBreak = lineBreak || (end < text.size() && TrimRightView(line, "\r").ends_with("  "));
        paragraphStart = false;
        start = end + 1;
    }
    return !(widened && lineBreak);
}

// True iff `body` opens with a command that is no inline one ("@param", "@code", "@note").
bool OpensPlacingCommand(std::string_view body) {
    if (body.size() < 2 || (body[0] != '@' && body[0] != '\\') || !IsLetter(body[1])) {
        return false;
    }
    std::size_t end = 1;
    while (end < body.size() && IsWordByte(body[end])) {
        ++end;
    }
    const KnownCommand* known = FindCommand(body.substr(1, end - 1));
    return known != nullptr && !IsInline(known->action);
}

// The fence that keeps `lines` a code block: more backticks than any run in them, three at least.
std::string FenceFor(const std::vector<std::string>& lines) {
    std::size_t longest = 0;
    for (const std::string& line : lines) {
        std::size_t run = 0;
        for (char ch : line) {
            run = ch == '`' ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return std::string(std::max<std::size_t>(3, longest + 1), '`');
}

}  // namespace

std::string Normalized(std::string_view line) {
    std::string normal;
    normal.reserve(line.size());
    std::size_t at = 0;
    for (; at < line.size() && (line[at] == ' ' || line[at] == '\t'); ++at) {
        std::size_t width = line[at] == '\t' ? kTabStop - normal.size() % kTabStop : 1;
        normal.append(width, ' ');
    }
    std::size_t start = normal.size();
    normal.append(line.substr(at));
    std::replace_if(normal.begin() + static_cast<std::ptrdiff_t>(start), normal.end(),
                    rich::IsReservedByte, ' ');
    return normal;
}

void CommentParser::Line(std::string_view text, int line, std::span<const std::string_view> after) {
    line_ = line;
    after_ = after;
    if (blockKind_ != BlockKind::kNone) {
        std::string_view rest;
        if (BlockLine(text, rest) && !IsBlank(rest)) {
            Scan(rest);
        }
        return;
    }
    if (IsBlank(text)) {
        previousText_ = false;
        previousBlank_ = true;
        openSpan_.clear();
        quoted_ = false;
        // A blank line ends the paragraph of a command; the Description's chunk goes on, for a
        // list or a code block may hold blank lines.
        if (target_.kind != TargetKind::kSection || target_.section != kSectionDescription) {
            SetTarget({});
        } else if (chunkStarted_) {
            chunk_.push_back('\n');
        }
        return;
    }
    std::size_t indent = Indentation(text);
    std::string_view body = text.substr(indent);
    if (std::size_t fence = FenceSize(body); fence != 0 && !skippingInternal_) {
        // A Markdown fence: its lines reach the Markdown pass as they are.
        AppendToChunk(text);
        AppendToChunk("\n");
        StartBlock(BlockKind::kFence, std::string(body.substr(0, fence)), false,
                   std::string(body.substr(0, fence)));
        return;
    }
    std::size_t pre = body.find('<') == std::string_view::npos ? std::string_view::npos
                                                               : FindNoCase(body, kPreOpen);
    if (pre != std::string_view::npos && openSpan_.empty() &&
        std::count(body.begin(), body.begin() + pre, '`') % 2 == 0 && !skippingInternal_) {
        // The author's <pre> keeps its lines, blanks and tags as written.
        lineIndent_ = indent;
        StartBlock(BlockKind::kPreformatted, std::string(kPreClose), false, std::string(kPreOpen));
        std::string_view rest;
        if (BlockLine(text, rest) && !IsBlank(rest)) {
            Scan(rest);
        }
        return;
    }
    // A list written under a sentence, indented as code would be ("features:" then "    * a"),
    // is a list: its lines move left to the sentence's margin. A sentence that goes on a list
    // item's text (indented as the item's text) is none: a list under it nests in the item.
    std::size_t content = ListItemContent(text);
    std::size_t relative = indent > chunkIndent_ ? indent - chunkIndent_ : 0;
    const std::size_t previousRelative =
        lineIndent_ > chunkIndent_ ? lineIndent_ - chunkIndent_ : 0;
    const bool inItem = listContent_ != std::string_view::npos && previousRelative >= listContent_;
    if (content != std::string_view::npos && relative >= kCodeIndent && listShift_ == 0 &&
        previousText_ && !inItem) {
        listShift_ = relative;
    } else if (listShift_ > 0 &&
               (relative < listShift_ || (previousBlank_ && content == std::string_view::npos))) {
        // Past the list: a line out of it, or a paragraph behind a blank line.
        listShift_ = 0;
    }
    previousBlank_ = false;
    std::string shifted;
    if (listShift_ > 0) {
        shifted = std::string(text.substr(0, indent - listShift_)) + std::string(body);
        text = shifted;
        indent -= listShift_;
        content = ListItemContent(text);
    }
    previousText_ = content == std::string_view::npos;
    lineIndent_ = indent;
    if (content != std::string_view::npos) {
        listContent_ = content > chunkIndent_ ? content - chunkIndent_ : 0;
    }
    Scan(text);
}

bool CommentParser::ClosesInParagraph(std::string_view rest, std::string_view closer) const {
    auto holds = [closer](std::string_view text) {
        return (closer.front() == '`' ? FindFence(text, closer, 0) : text.find(closer)) !=
               std::string_view::npos;
    };
    if (holds(rest)) {
        return true;
    }
    // A blank line ends the paragraph; so do a fence and a list item, which Markdown lets
    // interrupt one, and a command that places the text behind it elsewhere.
    std::size_t budget = kParagraphLookAhead;
    for (std::string_view line : after_) {
        std::string_view body = line.substr(Indentation(line));
        if (budget == 0 || body.empty() || FenceSize(body) != 0 ||
            ListItemContent(line) != std::string_view::npos || OpensPlacingCommand(body)) {
            return false;
        }
        std::string_view looked = line.substr(0, budget);
        if (holds(looked)) {
            return true;
        }
        budget -= looked.size();
    }
    return false;
}

void CommentParser::AppendToChunk(std::string_view text) {
    if (text.empty()) {
        return;
    }
    bool lineStart = chunk_.empty() || chunk_.back() == '\n';
    if (!chunkStarted_) {
        if (IsBlank(text)) {
            return;
        }
        chunkStarted_ = true;
        if (lineStart && !midLineStart_) {
            // A chunk that opens with the end of a command's line ("@defgroup g Title") is
            // indented as that line: text below it as far in is no code. When nothing stands
            // there ("@note" alone), the line right below cannot be code either, since no blank
            // line stands before it: it tells the indentation, as behind a command's words.
            chunkIndent_ = text.front() == '\n' ? lineIndent_ : Indentation(text);
            midLineStart_ = text.front() == '\n';
        } else {
            text = TrimLeftView(text, kBlanks);
            midLineStart_ = true;
        }
        sawText_ = true;
    } else if (lineStart && midLineStart_) {
        // The chunk began behind a command: its next line tells how far its text is indented,
        // unless a blank line stands between.
        chunkIndent_ = chunk_.ends_with("\n\n") ? chunkIndent_ : Indentation(text);
        midLineStart_ = false;
    }
    if (lineStart) {
        text.remove_prefix(std::min(chunkIndent_, Indentation(text)));
        chunkLines_.emplace_back(chunk_.size(), line_);
    }
    chunk_.append(text);
}

namespace {

// True iff `body` (a line without its indentation) is the delimiter row under a pipe table's
// header: bars, dashes, colons and blanks, with at least one bar and one dash.
bool IsTableDelimiter(std::string_view body) {
    body = TrimView(body, " \t\r");
    return body.find('|') != std::string_view::npos && body.find('-') != std::string_view::npos &&
           body.find_first_not_of("|-: \t") == std::string_view::npos;
}

}  // namespace

void CommentParser::SeparateTableHeaders() {
    // The start of the line before the current one and of the one before that (npos: none, or
    // a blank line, a fence or indented code); code inside a fence keeps its bytes.
    std::size_t header = std::string::npos;
    std::size_t text = std::string::npos;
    std::size_t fence = 0;
    char fenceByte = '\0';
    for (std::size_t start = 0; start < chunk_.size();) {
        const std::size_t end = std::min(chunk_.find('\n', start), chunk_.size());
        const std::string_view line(chunk_.data() + start, end - start);
        const std::size_t indent = Indentation(line);
        const std::string_view body = line.substr(indent);
        const std::size_t size = FenceSize(body);
        std::size_t next = end + 1;
        if (fence != 0) {
            if (size >= fence && body[0] == fenceByte) {
                fence = 0;
            }
            header = text = std::string::npos;
        } else if (size != 0) {
            fence = size;
            fenceByte = body[0];
            header = text = std::string::npos;
        } else if (TrimView(body, " \t\r").empty() || indent >= kCodeIndent) {
            header = text = std::string::npos;
        } else if (IsTableDelimiter(body) && header != std::string::npos &&
                   text != std::string::npos &&
                   chunk_.substr(header, start - header).find('|') != std::string::npos &&
                   chunk_[text + Indentation(std::string_view(chunk_).substr(text))] != '|') {
            chunk_.insert(header, 1, '\n');
            for (auto& [offset, sourceLine] : chunkLines_) {
                offset += offset >= header ? 1 : 0;
            }
            header = text = std::string::npos;
            ++next;
        } else {
            text = header;
            header = start;
        }
        start = next;
    }
}

int CommentParser::ChunkLine(std::size_t offset) const {
    auto next = std::upper_bound(
        chunkLines_.begin(), chunkLines_.end(), offset,
        [](std::size_t at, const std::pair<std::size_t, int>& start) { return at < start.first; });
    return next == chunkLines_.begin() ? line_ : std::prev(next)->second;
}

void CommentParser::SetTarget(Target next) {
    Flush();
    target_ = std::move(next);
    targetOpen_ = target_.kind == TargetKind::kReturnValue;
}

void CommentParser::StartSection(SectionKind section) {
    SetTarget({TargetKind::kSection, section, 0, {}});
}

void CommentParser::StartNote(std::string_view kind, std::string_view label) {
    std::string argument(kind);
    argument.push_back(' ');
    argument.append(label);
    SetTarget({TargetKind::kNote, kSectionDescription, 0, std::move(argument)});
    targetOpen_ = true;
}

void CommentParser::PushLine(SectionKind section, std::string text) {
    out_.lines.push_back({section, std::move(text)});
}

namespace {

// The inline text of a flow that is one paragraph, else the flow: a row, a note or a cell holds
// a paragraph of its own without the space around one.
std::string Unwrapped(std::string flow) {
    if (!rich::StartsWithBlock(flow)) {
        return flow;
    }
    rich::Block block = rich::ReadBlock(flow, 0);
    if (block.kind != rich::BlockKind::kParagraph || block.end != flow.size()) {
        return flow;
    }
    return std::string(block.content);
}

}  // namespace

void CommentParser::InlineTextAndCodeSpans(std::string_view text, std::string& out,
                                           const TextLines& lines) {
    // One piece of text between code spans, with the lines of its own bytes.
    auto inlinePiece = [&](std::size_t from, std::size_t to, bool spanFollows) {
        if (from == 0 && to == text.size()) {
            InlineText(text, out, &lines, spanFollows);
            return;
        }
        if (from == to) {
            return;
        }
        TextLines pieceLines;
        for (const auto& [at, line] : lines) {
            if (at <= from) {
                pieceLines.assign(1, {0, line});
            } else if (at < to) {
                pieceLines.emplace_back(at - from, line);
            }
        }
        InlineText(text.substr(from, to - from), out, &pieceLines, spanFollows);
    };
    std::size_t from = 0;
    for (std::size_t open = text.find('`'); open != std::string_view::npos;
         open = text.find('`', from)) {
        const std::size_t close = text.find('`', open + 1);
        if (close == std::string_view::npos) {
            break;  // IsPlainParagraph lets only closed spans through; a lone one stays text
        }
        inlinePiece(from, open, true);
        AppendCodeSpan(out, text.substr(open + 1, close - open - 1));
        from = close + 1;
    }
    inlinePiece(from, text.size(), false);
}

void CommentParser::Flush() {
    std::string flow;
    std::vector<std::size_t> blockEnds;
    if (chunkStarted_) {
        // The inline pass points its warnings at the chunk's lines; the line read goes on after.
        int line = line_;
        std::string_view text = TrimView(chunk_, " \t\r\n");
        if (text.empty()) {
            // Blank lines hold no block: the Markdown parser is not worth starting for them.
        } else if (IsPlainParagraph(text)) {
            // Most chunks (a brief, a parameter's text) hold nothing Markdown reads: paragraphs.
            // Their lines run together, each without its indentation, as Markdown joins them.
            std::string joined;
            TextLines lines;
            std::size_t offset = static_cast<std::size_t>(text.data() - chunk_.data());
            auto paragraph = [&] {
                if (joined.empty()) {
                    return;
                }
                rich::OpenBlock(flow, rich::BlockKind::kParagraph);
                InlineTextAndCodeSpans(joined, flow, lines);
                EndInline(flow);
                rich::CloseBlock(flow);
                blockEnds.push_back(flow.size());
                joined.clear();
                lines.clear();
            };
            for (std::size_t start = 0; start <= text.size();) {
                std::size_t end = std::min(text.find('\n', start), text.size());
                std::string_view line = TrimView(text.substr(start, end - start), " \t\r");
                if (line.empty()) {
                    paragraph();
                } else {
                    if (!joined.empty()) {
                        joined.push_back(' ');
                    }
                    lines.emplace_back(joined.size(), ChunkLine(offset + start));
                    joined.append(line);
                }
                start = end + 1;
            }
            paragraph();
        } else {
            SeparateTableHeaders();
            flow = ReadMarkdown(chunk_, *this, blockEnds);
        }
        line_ = line;
    }
    chunk_.clear();
    shownEnd_ = 0;
    chunkLines_.clear();
    chunkStarted_ = false;
    midLineStart_ = false;
    chunkIndent_ = 0;
    listContent_ = std::string_view::npos;
    listShift_ = 0;
    if (flow.empty() && !targetOpen_) {
        return;
    }
    targetOpen_ = false;
    switch (target_.kind) {
        case TargetKind::kRow: {
            std::string& row = out_.parameters[target_.rowIndex].text;
            if (!row.empty() && !flow.empty()) {
                row.push_back(' ');
            }
            row += Unwrapped(std::move(flow));
            return;
        }
        case TargetKind::kNote: {
            std::string note;
            rich::OpenBlock(note, rich::BlockKind::kNote, target_.argument);
            note += Unwrapped(std::move(flow));
            rich::CloseBlock(note);
            PushLine(kSectionDescription, std::move(note));
            return;
        }
        case TargetKind::kReturnValue:
            AddReturnValue(std::move(target_.argument), Unwrapped(std::move(flow)));
            return;
        case TargetKind::kSection:
            break;
    }
    if (target_.section == kSectionSeeAlso) {
        AddSeeAlso(flow);
        return;
    }
    // Each block is a line of its section.
    std::size_t at = 0;
    for (std::size_t end : blockEnds) {
        PushLine(target_.section, flow.substr(at, end - at));
        at = end;
    }
    if (at < flow.size()) {
        PushLine(target_.section, flow.substr(at));
    }
}

// Return values stand in one table, a row each, as long as no other Return text comes between.
void CommentParser::AddReturnValue(std::string value, std::string flow) {
    std::string row;
    rich::OpenBlock(row, rich::BlockKind::kRow);
    rich::OpenBlock(row, rich::BlockKind::kCell);
    row.push_back(rich::kCodeOpen);
    row += value;
    row.push_back(rich::kCodeClose);
    rich::CloseBlock(row);
    rich::OpenBlock(row, rich::BlockKind::kCell);
    row += flow;
    rich::CloseBlock(row);
    rich::CloseBlock(row);
    std::string table;
    rich::OpenBlock(table, rich::BlockKind::kTable, kReturnValueTable);
    if (!out_.lines.empty() && out_.lines.back().section == kSectionReturn &&
        out_.lines.back().text.starts_with(table)) {
        std::string& open = out_.lines.back().text;
        open.insert(open.size() - 1, row);
        return;
    }
    table += row;
    rich::CloseBlock(table);
    PushLine(kSectionReturn, std::move(table));
}

// See also lines: a list of names gives one line per name; any other text stays one line.
void CommentParser::AddSeeAlso(std::string_view flow) {
    std::string text = rich::InlineText(flow);
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string_view piece =
            TrimView(std::string_view(text).substr(start, comma - start), kBlanks);
        std::string name;
        std::string shown;
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
            } else if (inReference && shownPart) {
                shown.push_back(ch);
            } else if (!rich::IsReservedByte(ch)) {
                name.push_back(ch);
            }
        }
        // A function named as a call ("f()", or a reference shown so) is shown so; its page is
        // looked up without "()".
        const bool call = name.ends_with(kCallParentheses) || shown.ends_with(kCallParentheses);
        name = ReferenceName(name);
        if (name.empty() || name.find_first_of(" \t") != std::string::npos) {
            PushLine(kSectionSeeAlso, std::move(text));
            return;
        }
        if (call) {
            name.append(kCallParentheses);
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
                               std::string opener, std::string info) {
    blockKind_ = kind;
    blockEnd_ = std::move(end);
    blockEndIsCommand_ = endIsCommand;
    blockOpener_ = std::move(opener);
    blockInfo_ = std::move(info);
    blockLine_ = line_;
    blockIndent_ = lineIndent_;
    blockLines_.clear();
}

bool CommentParser::BlockLine(std::string_view text, std::string_view& rest) {
    std::size_t end = std::string_view::npos;
    std::size_t endSize = blockEnd_.size();
    if (blockKind_ == BlockKind::kFence) {
        std::string_view body = text.substr(Indentation(text));
        std::size_t size = FenceSize(body);
        bool closes =
            size >= blockEnd_.size() && body[0] == blockEnd_[0] && IsBlank(body.substr(size));
        AppendToChunk(text);
        AppendToChunk("\n");
        if (closes) {
            blockKind_ = BlockKind::kNone;
        }
        return false;
    }
    if (blockKind_ == BlockKind::kPreformatted) {
        end = FindNoCase(text, blockEnd_);
        if (end != std::string_view::npos) {
            // The closing tag belongs to the block; text behind it goes on as usual.
            end += endSize;
            endSize = 0;
        }
    } else if (!blockEndIsCommand_) {
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
        blockLines_.push_back(Normalized(text));
        return false;
    }
    if (!IsBlank(text.substr(0, end))) {
        blockLines_.push_back(Normalized(text.substr(0, end)));
    }
    FinishBlock();
    rest = text.substr(end + endSize);
    return true;
}

void CommentParser::FinishBlock() {
    BlockKind kind = blockKind_;
    blockKind_ = BlockKind::kNone;
    if (kind == BlockKind::kDropped || skippingInternal_) {
        return;
    }
    if (kind == BlockKind::kFormula && blockInfo_.empty()) {
        // An inline formula that ran over lines.
        std::string tex;
        for (std::string_view line : blockLines_) {
            if (!tex.empty()) {
                tex.push_back(' ');
            }
            tex.append(TrimView(line, kBlanks));
        }
        AppendFormula(tex);
        AppendToChunk(piece_);
        piece_.clear();
        return;
    }
    std::string info =
        kind == BlockKind::kPreformatted ? std::string(kPreformattedInfo) : blockInfo_;
    AppendCode(blockLines_, kind == BlockKind::kPreformatted, info, blockIndent_, blockLine_);
}

void CommentParser::AppendCode(std::span<const std::string> code, bool keepIndent,
                               std::string_view info, std::size_t indent, int line) {
    std::size_t first = 0;
    std::size_t last = code.size();
    while (first < last && IsBlank(code[first])) {
        ++first;
    }
    while (last > first && IsBlank(code[last - 1])) {
        --last;
    }
    std::vector<std::string> lines;
    std::size_t common = std::string_view::npos;
    for (std::size_t i = first; i < last; ++i) {
        if (!IsBlank(code[i])) {
            common = std::min(common, Indentation(code[i]));
        }
    }
    for (std::size_t i = first; i < last; ++i) {
        std::string_view text = code[i];
        text = keepIndent ? text : text.substr(std::min(common, text.size()));
        lines.emplace_back(TrimRightView(text, kBlanks));
    }
    // The fence stands where the block does: inside the list item it is indented under, else
    // at the chunk's margin, where Markdown reads it as a fence and not as indented text.
    std::size_t column = indent > chunkIndent_ ? indent - chunkIndent_ : 0;
    if (column >= kCodeIndent || (listContent_ != std::string_view::npos && column > 0)) {
        column =
            listContent_ != std::string_view::npos && column >= listContent_ ? listContent_ : 0;
    }
    std::string margin(column, ' ');
    std::string fence = FenceFor(lines);
    if (!chunk_.empty() && chunk_.back() != '\n') {
        chunk_.push_back('\n');
    }
    chunkLines_.emplace_back(chunk_.size(), line);
    chunkStarted_ = true;
    sawText_ = true;
    chunk_.append(margin).append(fence).append(info).push_back('\n');
    for (const std::string& text : lines) {
        chunk_.append(margin).append(text).push_back('\n');
    }
    chunk_.append(margin).append(fence).push_back('\n');
}

void CommentParser::Finish() {
    if (blockKind_ != BlockKind::kNone) {
        if (blockKind_ != BlockKind::kFence) {
            line_ = blockLine_;
            Warn(kUnclosedBlock, {blockOpener_});
        }
        FinishBlock();
    }
    AppendToChunk(piece_);
    piece_.clear();
    FinishExamplePage();
    Flush();
    if (addToGroup_ && out_.subject == CommentSubject::kNextDeclaration &&
        (!out_.lines.empty() || !out_.title.empty())) {
        out_.subject = CommentSubject::kGroup;
        out_.addsToGroup = true;
    }
    out_.hidesWhatFollows = conditionOpen_ && skippingInternal_;
}

}  // namespace doxygen_parse

bool DoxygenComment::OnlyGroupMarks() const {
    return subject == CommentSubject::kNextDeclaration && lines.empty() && parameters.empty() &&
           group.empty() && !internal && (!groupMarks.empty() || groupCommand);
}

DoxygenComment ParseDoxygenComment(const std::vector<CommentLine>& lines, bool blockComment,
                                   const DoxygenReading& reading) {
    DoxygenComment comment;
    comment.line = lines.empty() ? 0 : lines.front().line;
    // One entry per line of text: a line an alias expanded into several gives several, all with
    // its number. Most lines need no change: only those with aliases, tabs or reserved bytes are
    // copied.
    struct TextLine {
        std::string_view text;
        int line = 0;
        // The text of a block comment's first line stands behind its opener, so only the later
        // lines tell how far the comment's text is indented.
        bool behindOpener = false;
        std::size_t indent = 0;
    };
    std::vector<TextLine> normal;
    // Holds the copied lines where `normal` views them; a forward list allocates nothing for the
    // comments that need no copy, which are most.
    std::forward_list<std::string> changed;
    normal.reserve(lines.size());
    std::size_t common = std::string_view::npos;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view stripped = doxygen_parse::StripDecoration(lines[i].text, blockComment);
        if (reading.options.aliases != nullptr &&
            FindFirstOf(stripped, "@\\") != std::string_view::npos) {
            std::string runaway;
            stripped = changed.emplace_front(reading.options.aliases->Expand(stripped, runaway));
            if (!runaway.empty() && reading.reportedAliases.insert(runaway).second) {
                reading.warn(lines[i].line, FormatLine(doxygen_parse::kRunawayAlias, {runaway}));
            }
        }
        for (std::size_t start = 0; start <= stripped.size();) {
            const std::size_t end = std::min(stripped.find('\n', start), stripped.size());
            std::string_view piece = stripped.substr(start, end - start);
            TextLine& added = normal.emplace_back();
            added.text =
                doxygen_parse::HasTabOrReservedByte(piece)
                    ? std::string_view(changed.emplace_front(doxygen_parse::Normalized(piece)))
                    : piece;
            added.line = lines[i].line;
            added.behindOpener = blockComment && i == 0 && start == 0;
            added.indent = doxygen_parse::Indentation(added.text);
            // A blank line is indented to its end and says nothing of the text's indentation.
            if (!added.behindOpener && added.indent < added.text.size()) {
                common = std::min(common, added.indent);
            }
            start = end + 1;
        }
    }
    common = common == std::string_view::npos ? 0 : common;
    doxygen_parse::CommentParser parser(reading, comment);
    // The lines behind each line, where a code span or a quoted string may close.
    std::vector<std::string_view> texts;
    texts.reserve(normal.size());
    for (const TextLine& line : normal) {
        texts.push_back(line.text);
    }
    for (std::size_t i = 0; i < normal.size(); ++i) {
        std::string_view text = normal[i].text;
        const std::size_t indent = normal[i].indent;
        text.remove_prefix(normal[i].behindOpener ? indent : std::min(common, indent));
        parser.Line(text, normal[i].line, std::span<const std::string_view>(texts).subspan(i + 1));
    }
    parser.Finish();
    return comment;
}

}  // namespace sylva
