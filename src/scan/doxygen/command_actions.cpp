// What each command of a documentation comment does to the comment being read.
#include <algorithm>
#include <utility>

#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/zt_string.h"

namespace sylva::doxygen_parse {

namespace {

constexpr std::string_view kUnknownCommand =
    "unknown command \"%s\"; it stays as text (said once per file)";
constexpr std::string_view kMissingParameterName =
    "\"%s\" without a parameter name; the row is left out";
constexpr std::string_view kStrayEnd = "\"%s\" closes nothing; it is left out";
constexpr std::string_view kExampleFileLabel = "Example file: ";
constexpr std::string_view kExampleCommand = "example";
constexpr std::string_view kListBullet = "- ";
// Bytes no file name starts with, but a sentence goes on with.
constexpr std::string_view kProsePunctuation = ",;:!?)";

}  // namespace

std::size_t CommentParser::Command(std::string_view text, std::size_t at, std::size_t end) {
    std::string_view name = text.substr(at + 1, end - at - 1);
    std::string written(text.substr(at, end - at));
    const KnownCommand* known = FindCommand(name);
    if (known == nullptr) {
        if (reportedUnknown_.insert(written).second) {
            Warn(kUnknownCommand, {written});
        }
        AppendText(written);
        return end;
    }
    std::size_t p = end;
    switch (known->action) {
        case CommandAction::kSection:
            StartSection(known->section, known->label);
            break;
        case CommandAction::kParameter:
        case CommandAction::kTemplateParameter:
            StartRow(known->action == CommandAction::kTemplateParameter, text, p, written);
            break;
        case CommandAction::kReturnValue:
        case CommandAction::kException: {
            StartSection(known->section);
            std::string_view word = NextWord(text, p);
            if (!word.empty()) {
                AppendSpan(rich::kCodeOpen, word, rich::kCodeClose);
                AppendText(" ");
            }
            break;
        }
        case CommandAction::kParagraphTitle: {
            std::string_view title = RestOfLine(text, p);
            StartSection(known->section);
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
                known->action == CommandAction::kCodeBlock ? BlockKind::kCode : BlockKind::kDropped,
                std::string(known->label), true, written);
            break;
        case CommandAction::kCode:
        case CommandAction::kBold:
        case CommandAction::kEmphasis:
        case CommandAction::kReference:
        case CommandAction::kLink:
        case CommandAction::kCopyDoc:
            p = InlineCommand(*known, written, text, p);
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
            groupLabel_ = Plain(label);
            out_.subjectName = groupLabel_;
            out_.title = Plain(title);
            if (known->action == CommandAction::kDefineGroup) {
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
                AppendText(written);
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
            out_.namedKind = known->namedKind;
            if (known->argument == NamedArgument::kDeclaration) {
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
            // A comment that opens with "@example" describes that example program, as a page
            // of its own: the declaration after it has a comment of its own.
            if (known->name == kExampleCommand &&
                out_.subject == CommentSubject::kNextDeclaration && !sawText_ &&
                out_.lines.empty() && out_.parameters.empty()) {
                out_.subject = CommentSubject::kPage;
                out_.subjectName = Plain(file);
            }
            Flush();
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
    target_ = {true, kSectionParameter, out_.parameters.size() - 1};
    sawText_ = true;
}

}  // namespace sylva::doxygen_parse
