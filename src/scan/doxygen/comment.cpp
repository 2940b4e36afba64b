// Reading one documentation comment: lines into paragraphs, commands into sections, table rows
// and places, inline markup into rich text. This file holds the lines, paragraphs and blocks.
//
// A paragraph runs to a blank line, to the next command that opens a paragraph, or to a list
// item; it becomes one line of its section (or the text of its table row). After a blank line
// text goes to the Description again. Code and verbatim blocks become pre-formatted lines of the
// Examples section, wherever they stand.
#include "scan/doxygen/comment.h"

#include <algorithm>
#include <utility>

#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/zt_string.h"

namespace sylva {

namespace doxygen_parse {

namespace {

constexpr std::string_view kUnclosedBlock =
    "\"%s\" is not closed before the end of the comment; the block runs to its end";
constexpr std::string_view kUnclosedLink =
    "\"%s\" is not closed by \"%s\" before its paragraph ends; the link ends there";
constexpr std::string_view kEndLink = "endlink";
constexpr std::string_view kPreOpen = "<pre>";
constexpr std::string_view kPreClose = "</pre>";

// A line of a block comment without its decoration.
std::string_view StripDecoration(std::string_view line, bool blockComment) {
    while (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (!blockComment) {
        return line;
    }
    std::size_t at = line.find_first_not_of(" \t");
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

}  // namespace

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
        Flush(true);
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
            body = body.substr(InlineCommand(*waiting.known, waiting.written, body, 0));
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

void CommentParser::Flush(bool keepIndent) {
    if (linkOpen_) {
        warn_(linkLine_,
              FormatLine(kUnclosedLink, {linkOpener_, std::string(1, linkOpener_.front()) +
                                                          std::string(kEndLink)}));
        paragraph_.push_back(rich::kReferenceClose);
        linkOpen_ = false;
    }
    std::string text(keepIndent ? TrimRightView(paragraph_, " \t") : TrimView(paragraph_, " \t"));
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

}  // namespace doxygen_parse

bool DoxygenComment::OnlyGroupMarks() const {
    return subject == CommentSubject::kNextDeclaration && lines.empty() && parameters.empty() &&
           group.empty() && !internal && (!groupMarks.empty() || groupCommand);
}

DoxygenComment ParseDoxygenComment(const std::vector<CommentLine>& lines, bool blockComment,
                                   const DoxygenWarning& warn,
                                   std::unordered_set<std::string>& reportedUnknown) {
    DoxygenComment comment;
    comment.line = lines.empty() ? 0 : lines.front().line;
    doxygen_parse::CommentParser parser(warn, reportedUnknown, comment);
    for (const CommentLine& line : lines) {
        parser.Line(doxygen_parse::StripDecoration(line.text, blockComment), line.line);
    }
    parser.Finish();
    return comment;
}

}  // namespace sylva
