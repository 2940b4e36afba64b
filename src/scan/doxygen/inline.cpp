// Inline text of a documentation comment: escapes, formulas, code spans, references and the
// commands that format or link the word behind them, written as rich text.
#include <algorithm>

#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/zt_string.h"

namespace sylva::doxygen_parse {

namespace {

constexpr std::string_view kCopiedFromLabel = "See ";
// How far a Markdown link "[text](@ref name)" or "[text](https://...)" may reach.
constexpr std::size_t kMaxMarkdownLink = 1024;
constexpr std::string_view kWebSchemes[] = {"https://", "http://"};
// Bytes that end a web address written in text.
constexpr std::string_view kAddressEnd = " \t\r<>\"'`";
// The bytes a backslash or "@" in front makes plain text of.
constexpr std::string_view kEscapable = "\\@&$#<>%\".|";
// Trailing punctuation that belongs to the sentence, not to the word a command formats.
constexpr std::string_view kSentencePunctuation = ".,;:!?)";

bool IsNameByte(char ch) {
    return IsWordByte(ch) || ch == ':' || ch == '~';
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

bool IsWebAddress(std::string_view text) {
    for (std::string_view scheme : kWebSchemes) {
        if (text.starts_with(scheme) && text.size() > scheme.size()) {
            return true;
        }
    }
    return false;
}

}  // namespace

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

std::string Plain(std::string_view text) {
    std::string plain;
    rich::AppendStripped(plain, text);
    return plain;
}

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

std::string_view RestOfLine(std::string_view text, std::size_t& at) {
    std::string_view rest = TrimView(text.substr(std::min(at, text.size())), kBlanks);
    at = text.size();
    return rest;
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
                // Words behind "@}" on its line, without a command among them, name the group it
                // closes ("@} core_utils", "@}  // core_utils"): a label, not documentation.
                if (next == '}' && text.find_first_of("@\\", at) == std::string_view::npos) {
                    at = text.size();
                }
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
        bool wordStart = at == 0 || !IsWordByte(text[at - 1]);
        if (link != 0) {
            at += link;
        } else if (ch == '%' && wordStart && at + 1 < text.size() &&
                   (IsLetter(text[at + 1]) || text[at + 1] == '_')) {
            // "%word" keeps a word from being taken for a name; the "%" is not shown.
            ++at;
        } else if (ch == '*' && text.substr(at, 2) == "**" && wordStart &&
                   (at == 0 || text[at - 1] != '*')) {
            at = Strong(text, at);
        } else if (ch == 'h' &&
                   (at == 0 || text[at - 1] == ' ' || text[at - 1] == '\t' ||
                    text[at - 1] == '(') &&
                   IsWebAddress(text.substr(at))) {
            at = WebAddress(text, at);
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

// A Markdown link to an item or a web page, "[text](@ref name)" or "[text](https://...)", at
// text[at]; its size, or 0 when there is none.
std::size_t CommentParser::MarkdownReference(std::string_view text, std::size_t at) {
    std::string_view window = text.substr(at, kMaxMarkdownLink);
    std::size_t middle = window.find("](");
    if (middle == std::string_view::npos) {
        return 0;
    }
    std::string_view target = window.substr(middle + 2);
    std::size_t nameStart = 0;
    if (target.starts_with("@ref") || target.starts_with("\\ref")) {
        nameStart = 4;
    } else if (!IsWebAddress(target)) {
        return 0;
    }
    std::size_t close = target.find(')');
    if (close == std::string_view::npos) {
        return 0;
    }
    std::string_view name = TrimView(target.substr(nameStart, close - nameStart), kBlanks);
    if (name.empty() || name.find_first_of(kBlanks) != std::string_view::npos) {
        return 0;
    }
    AppendReference(name, window.substr(1, middle - 1));
    return middle + 2 + close + 1;
}

// "**text**" on one line, at text[at]: the text in bold. Returns where scanning goes on.
std::size_t CommentParser::Strong(std::string_view text, std::size_t at) {
    std::size_t from = at + 2;
    std::size_t close = text.find("**", from);
    bool closes = close != std::string_view::npos && close > from && text[from] != ' ' &&
                  text[from] != '\t' && text[close - 1] != ' ' && text[close - 1] != '\t' &&
                  (close + 2 == text.size() || !IsWordByte(text[close + 2]));
    if (!closes) {
        AppendText(text.substr(at, 2));
        return from;
    }
    AppendSpan(rich::kBoldOpen, text.substr(from, close - from), rich::kBoldClose);
    return close + 2;
}

// A web address written in text, at text[at]: a reference to it, without the sentence's
// punctuation behind it. Returns where scanning goes on.
std::size_t CommentParser::WebAddress(std::string_view text, std::size_t at) {
    std::size_t end = std::min(text.find_first_of(kAddressEnd, at), text.size());
    std::string_view address = text.substr(at, end - at);
    address = address.substr(0, WordEnd(address));
    if (!IsWebAddress(address)) {
        AppendText(text.substr(at, 1));
        return at + 1;
    }
    AppendReference(address, {});
    return at + address.size();
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

void CommentParser::AppendReference(std::string_view name, std::string_view shown) {
    AppendMarkup(rich::kReferenceOpen);
    AppendText(ReferenceName(name));
    if (!shown.empty()) {
        AppendMarkup(rich::kReferenceText);
        AppendText(shown);
    }
    AppendMarkup(rich::kReferenceClose);
}

std::size_t CommentParser::InlineCommand(const KnownCommand& known, std::string_view written,
                                         std::string_view text, std::size_t p) {
    if (text.find_first_not_of(kBlanks, p) == std::string_view::npos) {
        // The word stands on the next line.
        deferred_ = Deferred{&known, std::string(written), line_};
        return text.size();
    }
    std::string_view word = NextWord(text, p);
    switch (known.action) {
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
            StartSection(kSectionDescription);
            AppendText(kCopiedFromLabel);
            AppendReference(word, {});
            break;
    }
    return p;
}

}  // namespace sylva::doxygen_parse
