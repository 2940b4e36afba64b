// The inline pass of a documentation comment: the plain text of a paragraph, as the Markdown
// pass hands it over, with the commands that format or link the word behind them, "%word" and
// "name()" written as rich text.
#include <algorithm>

#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/byte_sets.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva::doxygen_parse {

namespace {

constexpr WarningKind kUnknownCommand = {
    "doxygen.unknown-command", "unknown command \"%s\"; it stays as text (said once per file)"};
constexpr WarningKind kUnclosedLink = {
    "doxygen.unclosed-link",
    "\"%s\" is not closed by \"%s\" before its paragraph ends; the link ends there"};
constexpr WarningKind kStrayEndLink = {"doxygen.stray-end-link",
                                       "\"%s\" closes nothing; it is left out"};
constexpr std::string_view kEndLink = "endlink";
// Trailing punctuation that belongs to the sentence, not to the word a command formats.
constexpr std::string_view kSentencePunctuation = ".,;:!?)";

// True iff the inline pass looks at `ch` on its own: markup, a command's or escape's prefix,
// "%word", "name()", and the "<" and "&" of plain text.
bool IsInlineSpecial(char ch) {
    switch (ch) {
        case '@':
        case '\\':
        case '%':
        case '(':
        case '<':
        case '&':
            return true;
        default:
            return rich::IsReservedByte(ch);
    }
}

// Appends a run of bytes without markup, a blank behind a blank left out.
void AppendPlainRun(std::string_view run, std::string& out) {
    bool leadingBlank = run.front() == ' ' || run.front() == '\t';
    if (run.find('\t') == std::string_view::npos && run.find("  ") == std::string_view::npos &&
        !(leadingBlank && (out.empty() || out.back() == ' '))) {
        out.append(run);
        return;
    }
    for (char ch : run) {
        if ((ch == ' ' || ch == '\t') && (out.empty() || out.back() == ' ')) {
            continue;
        }
        out.push_back(ch);
    }
}

bool IsNameByte(char ch) {
    return IsWordByte(ch) || ch == ':' || ch == '~';
}

// Where the word a command works on ends in `word`: before the sentence's punctuation, but
// behind a ")" that closes a "(" of the word ("f()." gives "f()").
std::size_t WordEnd(std::string_view word) {
    std::size_t last = FindLastNotOf(word, kSentencePunctuation);
    std::size_t end = last == std::string_view::npos ? 0 : last + 1;
    if (end < word.size() && word[end] == ')' &&
        word.substr(0, end).find('(') != std::string_view::npos) {
        ++end;
    }
    return end;
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
    std::size_t from = FindFirstNotOf(text, kBlanks, at);
    if (from == std::string_view::npos) {
        at = text.size();
        return {};
    }
    std::size_t end = FindFirstOf(text, kBlanks, from);
    end = end == std::string_view::npos ? text.size() : end;
    at = end;
    return text.substr(from, end - from);
}

std::string_view RestOfLine(std::string_view text, std::size_t& at) {
    std::string_view rest = TrimView(text.substr(std::min(at, text.size())), kBlanks);
    at = text.size();
    return rest;
}

void CommentParser::InlineText(std::string_view text, std::string& out, const TextLines* lines,
                               bool spanFollows) {
    spanFollows_ = spanFollows;
    std::size_t at = 0;
    std::size_t nextLine = 0;
    out.reserve(out.size() + text.size());
    while (at < text.size()) {
        char ch = text[at];
        if (!IsInlineSpecial(ch)) {
            // A run of plain text, its blanks run together as a browser shows them.
            std::size_t end = at + 1;
            while (end < text.size() && !IsInlineSpecial(text[end])) {
                ++end;
            }
            AppendPlainRun(text.substr(at, end - at), out);
            at = end;
            continue;
        }
        if (rich::IsReservedByte(ch)) {
            // Markup of the first pass, or a byte the Markdown pass found escaped.
            out.push_back(ch);
            if (ch == rich::kLiteral && at + 1 < text.size()) {
                out.push_back(text[++at]);
            }
            ++at;
            continue;
        }
        while (lines != nullptr && nextLine < lines->size() && (*lines)[nextLine].first <= at) {
            line_ = (*lines)[nextLine++].second;
        }
        if (CommandStart(text, at) && IsLetter(text[at + 1])) {
            std::size_t end = at + 1;
            while (end < text.size() && IsWordByte(text[end])) {
                ++end;
            }
            at = InlineCommand(text, at, end, out);
            continue;
        }
        bool wordStart = at == 0 || !IsWordByte(text[at - 1]);
        if (ch == '%' && wordStart && at + 1 < text.size() &&
            (IsLetter(text[at + 1]) || text[at + 1] == '_')) {
            // "%word" keeps a word from being taken for a name; the "%" is not shown, and the
            // word's first byte is literal, which marks it as no name for the pages too.
            out.push_back(rich::kLiteral);
            out.push_back(text[at + 1]);
            at += 2;
            continue;
        }
        if (ch == '(' && at + 1 < text.size() && text[at + 1] == ')') {
            LinkCall(out);
            at += 2;
            continue;
        }
        if (ch == '<' || ch == '&') {
            // Plain text of the Markdown pass: its tags and entities came apart from it.
            out.push_back(rich::kLiteral);
        }
        AppendText(text.substr(at, 1), out);
        ++at;
    }
}

void CommentParser::EndInline(std::string& out) {
    if (!linkOpen_) {
        return;
    }
    reading_.warn(linkLine_,
                  FormatLine(kUnclosedLink, {linkOpener_, std::string(1, linkOpener_.front()) +
                                                              std::string(kEndLink)}));
    out.push_back(rich::kReferenceClose);
    linkOpen_ = false;
}

std::size_t CommentParser::InlineCommand(std::string_view text, std::size_t at, std::size_t end,
                                         std::string& out) {
    std::string written(text.substr(at, end - at));
    const KnownCommand* known = FindCommand(text.substr(at + 1, end - at - 1));
    if (known == nullptr || !IsInline(known->action)) {
        if (known == nullptr && reading_.reportedUnknown.insert(written).second) {
            Warn(kUnknownCommand, {written});
        }
        AppendText(written, out);
        return end;
    }
    std::size_t p = end;
    switch (known->action) {
        case CommandAction::kLineBreak:
            out.push_back(rich::kLineBreak);
            return std::min(FindFirstNotOf(text, kBlanks, p), text.size());
        case CommandAction::kEndLink:
            if (!linkOpen_) {
                Warn(kStrayEndLink, {written});
                return p;
            }
            while (!out.empty() && out.back() == ' ') {
                out.pop_back();
            }
            out.push_back(rich::kReferenceClose);
            linkOpen_ = false;
            return p;
        default:
            break;
    }
    std::string_view word = NextWord(text, p);
    if (word.empty()) {
        bool formats = known->action == CommandAction::kCode ||
                       known->action == CommandAction::kBold ||
                       known->action == CommandAction::kEmphasis;
        if (!(formats && spanFollows_)) {
            Warn(kMissingWord, {written});
        }
        return p;
    }
    switch (known->action) {
        case CommandAction::kCode:
            AppendWordSpan(rich::kCodeOpen, word, rich::kCodeClose, out);
            break;
        case CommandAction::kBold:
            AppendWordSpan(rich::kBoldOpen, word, rich::kBoldClose, out);
            break;
        case CommandAction::kEmphasis:
            AppendWordSpan(rich::kEmphasisOpen, word, rich::kEmphasisClose, out);
            break;
        case CommandAction::kAnchor: {
            std::string label = Plain(word);
            out.push_back(rich::kAnchorOpen);
            out += label;
            out.push_back(rich::kAnchorClose);
            out_.anchors.push_back(std::move(label));
            // The blank behind the anchor's label would start the text behind it.
            p = std::min(FindFirstNotOf(text, kBlanks, p), text.size());
            break;
        }
        case CommandAction::kReference: {
            std::size_t wordEnd = WordEnd(word);
            std::string_view punctuation = word.substr(wordEnd);
            word = word.substr(0, wordEnd);
            std::string_view shown = word;
            std::size_t quote = FindFirstNotOf(text, kBlanks, p);
            if (quote != std::string_view::npos && text[quote] == '"') {
                std::size_t close = text.find('"', quote + 1);
                if (close != std::string_view::npos) {
                    shown = text.substr(quote + 1, close - quote - 1);
                    p = close + 1;
                }
            }
            AppendReference(word, shown, out);
            AppendText(punctuation, out);
            break;
        }
        case CommandAction::kLink:
            out.push_back(rich::kReferenceOpen);
            AppendText(ReferenceName(word), out);
            out.push_back(rich::kReferenceText);
            linkOpen_ = true;
            linkOpener_ = written;
            linkLine_ = line_;
            p = std::min(FindFirstNotOf(text, kBlanks, p), text.size());
            break;
        default:
            break;
    }
    return p;
}

void CommentParser::LinkCall(std::string& out) {
    std::size_t end = out.size();
    std::size_t start = end;
    while (start > 0 && IsNameByte(out[start - 1])) {
        --start;
    }
    while (start < end && out[start] == ':') {
        ++start;
    }
    // "operator()" is the name of its own; the pages read it with the parameter list behind it.
    bool name = !linkOpen_ && start < end &&
                (IsLetter(out[start]) || out[start] == '_' || out[start] == '~') &&
                (start == 0 || out[start - 1] != rich::kLiteral) &&
                !std::string_view(out).substr(start, end - start).ends_with("operator");
    if (!name) {
        out.append("()");
        return;
    }
    std::string called = out.substr(start, end - start);
    // "#name()" names a member; the '#' only says so and is not shown ("Class#name()" keeps
    // its '#').
    if (start > 0 && out[start - 1] == '#' &&
        (start == 1 || (!IsNameByte(out[start - 2]) && out[start - 2] != rich::kLiteral))) {
        out.erase(--start, 1);
    }
    out.insert(start, 1, rich::kReferenceOpen);
    out.push_back(rich::kReferenceText);
    out.append(called);
    out.append("()");
    out.push_back(rich::kReferenceClose);
}

void CommentParser::AppendText(std::string_view text, std::string& out) {
    bool blank = text.size() == 1 && (text[0] == ' ' || text[0] == '\t');
    if (blank && (out.empty() || out.back() == ' ')) {
        // Blanks run together, as a browser shows them.
        return;
    }
    rich::AppendStripped(out, text);
}

void CommentParser::AppendSpan(char open, std::string_view text, char close, std::string& out) {
    out.push_back(open);
    rich::AppendStripped(out, text);
    out.push_back(close);
}

void CommentParser::AppendWordSpan(char open, std::string_view word, char close, std::string& out) {
    std::size_t end = WordEnd(word);
    AppendSpan(open, word.substr(0, end), close, out);
    AppendText(word.substr(end), out);
}

void CommentParser::AppendReference(std::string_view name, std::string_view shown,
                                    std::string& out) {
    out.push_back(rich::kReferenceOpen);
    AppendText(ReferenceName(name), out);
    if (!shown.empty()) {
        out.push_back(rich::kReferenceText);
        AppendText(shown, out);
    }
    out.push_back(rich::kReferenceClose);
}

std::string CommentParser::ImageFile(std::string_view file, int line) {
    return reading_.options.images ? reading_.options.images(file, line == 0 ? line_ : line)
                                   : std::string();
}

std::optional<std::string> CommentParser::LinkName(std::string_view target, int line) {
    return reading_.options.links ? reading_.options.links(target, line == 0 ? line_ : line)
                                  : std::nullopt;
}

}  // namespace sylva::doxygen_parse
