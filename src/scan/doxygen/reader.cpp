// Reading a source file for documentation comments: the pieces of the file in order, code byte
// by byte, preprocessor directives, and the end of the file.
#include "scan/doxygen/reader.h"

#include <algorithm>

#include "scan/doxygen/walker.h"
#include "support/byte_sets.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace doxygen_walk {

namespace {

constexpr WarningKind kUnterminatedComment = {
    "doxygen.unterminated-comment",
    "comment is not closed before the end of the file; the rest of the file is read as its text"};
constexpr WarningKind kUnclosedGroup = {
    "doxygen.unclosed-group", "\"@{\" is not closed by \"@}\" before the end of the file"};

}  // namespace

std::vector<DoxygenItem> DoxygenWalker::Read() {
    while (true) {
        const SourceEvent& event = lexer_.Next();
        line_ = event.line;
        column_ = event.column;
        switch (event.piece) {
            case SourcePiece::kCode:
                Code(event);
                break;
            case SourcePiece::kLiteral:
                if (!Opaque() && statement_.braceDepth == 0) {
                    Append(event.text);
                }
                statement_.initializerContent = true;
                break;
            case SourcePiece::kComment:
                if (event.unterminated) {
                    warn_(event.line, kUnterminatedComment);
                }
                GroupMarkComment(event);
                EndConditionComment(event);
                SeparateInStatement();
                break;
            case SourcePiece::kDocComment:
                DocComment(event);
                break;
            case SourcePiece::kDirective:
                Directive(event);
                break;
            case SourcePiece::kEnd:
                Finish();
                return std::move(items_);
        }
    }
}

void DoxygenWalker::Code(const SourceEvent& event) {
    std::string_view text = event.text;
    std::size_t at = 0;
    while (at < text.size()) {
        // Runs the walk need not look into byte by byte: an opaque body up to its next brace,
        // an initializer up to its next brace, or statement text up to its next punctuation.
        std::size_t end = at;
        if (Opaque() || statement_.braceDepth > 0) {
            end = std::min(FindFirstOf(text, "{}", at), text.size());
            if (!Opaque() &&
                FindFirstNotOf(text.substr(at, end - at), kSpaces) != std::string_view::npos) {
                statement_.initializerContent = true;
            }
        } else {
            while (end < text.size() && !IsStatementByte(text[end])) {
                ++end;
            }
            Append(text.substr(at, end - at));
        }
        MoveOver(text.substr(at, end - at));
        at = end;
        if (at < text.size()) {
            CodeByte(text, at);
            MoveOver(text.substr(at, 1));
            ++at;
        }
    }
}

void DoxygenWalker::MoveOver(std::string_view bytes) {
    std::size_t feed = bytes.rfind('\n');
    if (feed == std::string_view::npos) {
        column_ += bytes.size();
        return;
    }
    line_ += static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
    column_ = bytes.size() - feed - 1;
}

void DoxygenWalker::Append(std::string_view bytes) {
    Statement& s = statement_;
    if (s.commentGap && !s.text.empty()) {
        std::size_t first = FindFirstNotOf(bytes, " \t");
        if (first == std::string_view::npos) {
            return;
        }
        bytes.remove_prefix(first);
        if (IsWordByte(s.text.back()) && IsWordByte(bytes.front())) {
            s.text.push_back(' ');
        }
        s.commentGap = false;
    }
    if (s.text.empty()) {
        std::size_t first = FindFirstNotOf(bytes, kSpaces);
        if (first == std::string_view::npos) {
            return;
        }
        bytes.remove_prefix(first);
        s.line = line_;
        s.column = column_ + first;
        s.id = ++statementCount_;
    }
    s.text.append(bytes);
}

void DoxygenWalker::CodeByte(std::string_view text, std::size_t at) {
    char ch = text[at];
    if (Opaque()) {
        if (ch == '{') {
            Scope body;
            body.kind = ScopeKind::kBody;
            PushScope(std::move(body));
        } else if (ch == '}') {
            PopScope(false);
        }
        return;
    }
    Statement& s = statement_;
    if (s.braceDepth > 0) {
        s.braceDepth += ch == '{' ? 1 : ch == '}' ? -1 : 0;
        if (s.braceDepth == 0) {
            s.text.append(s.initializerContent ? kElidedBody.substr(2) : "}");
        } else if (kSpaces.find(ch) == std::string_view::npos) {
            s.initializerContent = true;
        }
        return;
    }
    switch (ch) {
        case '{':
            OpenBrace();
            return;
        case '}':
            CloseBrace();
            return;
        case ';':
            EndStatement(';');
            return;
        case ',':
            if (Current().kind == ScopeKind::kEnum && s.parenDepth == 0) {
                EndStatement(',');
                return;
            }
            break;
        case ':':
            if (AccessLabel(text, at)) {
                return;
            }
            if (s.parenDepth == 0 && s.closedParenthesis && !IsDoubleColon(text, at)) {
                s.memberInitializers = true;
            }
            break;
        default:
            break;
    }
    Append(text.substr(at, 1));
    if (ch == '(' || ch == '[') {
        if (++s.parenDepth == 1 && ch == '(') {
            s.parameterStart = s.previousParameterStart = s.text.size();
        }
    } else if ((ch == ')' || ch == ']') && s.parenDepth > 0) {
        --s.parenDepth;
        s.closedParenthesis = s.closedParenthesis || (ch == ')' && s.parenDepth == 0);
    } else if (ch == ',' && s.parenDepth == 1) {
        s.previousParameterStart = s.parameterStart;
        s.parameterStart = s.text.size();
    }
}

bool DoxygenWalker::IsDoubleColon(std::string_view text, std::size_t at) const {
    return (at + 1 < text.size() && text[at + 1] == ':') ||
           (!statement_.text.empty() && statement_.text.back() == ':');
}

// "public:", "protected:", "private:" (also "public slots:" and "signals:") in a class body
// set the access of the members that follow.
bool DoxygenWalker::AccessLabel(std::string_view text, std::size_t at) {
    Statement& s = statement_;
    if (Current().kind != ScopeKind::kClass || s.parenDepth != 0 || IsDoubleColon(text, at)) {
        return false;
    }
    std::string_view words = TrimRightView(s.text, kSpaces);
    std::optional<Access> access;
    bool labelled = false;
    while (!words.empty()) {
        std::size_t start = words.size();
        while (start > 0 && IsWordByte(words[start - 1])) {
            --start;
        }
        std::string_view word = words.substr(start);
        if (word == "public" || word == "signals" || word == "Q_SIGNALS") {
            access = access.value_or(Access::kPublic);
        } else if (word == "protected") {
            access = access.value_or(Access::kProtected);
        } else if (word == "private") {
            access = access.value_or(Access::kPrivate);
        } else if (word != "slots" && word != "Q_SLOTS") {
            break;
        }
        labelled = true;
        words = TrimRightView(words.substr(0, start), kSpaces);
    }
    if (!labelled) {
        return false;
    }
    if (access) {
        Current().access = *access;
    }
    statement_ = {};
    return true;
}

void DoxygenWalker::Directive(const SourceEvent& event) {
    std::string_view rest = TrimLeftView(event.text.substr(1), " \t");
    std::size_t size = 0;
    while (size < rest.size() && IsWordByte(rest[size])) {
        ++size;
    }
    std::string_view keyword = rest.substr(0, size);
    if (keyword == "define") {
        if (Opaque() || !statement_.text.empty()) {
            return;
        }
        // One parse of the directive serves the named comments, the item, the group's row and
        // the count: a header may hold thousands of macros.
        const CppDeclaration macro = ParseMacro(event.text);
        if (pending_ || TakeNamed(macro.name)) {
            DoxygenComment comment = TakePending();
            const bool internal = comment.internal;
            last_ = DocumentMacro(event.text, macro, std::move(comment));
            last_.seen = CountMacro(event.text, macro, last_.item, internal);
        } else {
            last_ = ListMacro(event.text, macro.name);
            last_.statement.text = std::string(event.text);
            last_.seen = CountMacro(event.text, macro, -1, false);
        }
        last_.valid = true;
        last_.macro = true;
    } else if (keyword == "if" || keyword == "ifdef" || keyword == "ifndef") {
        if (keyword == "ifndef") {
            std::string_view name = TrimLeftView(rest.substr(size), " \t");
            std::size_t length = 0;
            while (length < name.size() && IsWordByte(name[length])) {
                ++length;
            }
            guard_ = name.substr(0, length);
        }
        conditions_.push_back({scopes_.size(), statement_.id, statement_.text.size(),
                               statement_.parenDepth, statement_.braceDepth});
    } else if (keyword.starts_with("el") && !conditions_.empty()) {
        const Condition& at = conditions_.back();
        while (scopes_.size() > at.depth) {
            PopScope(false);
        }
        if (statement_.id != 0 && statement_.id == at.statement) {
            Statement& s = statement_;
            s.text.resize(std::min(at.length, s.text.size()));
            // Invariant: the parameter starts lie inside the text.
            s.parameterStart = std::min(s.parameterStart, s.text.size());
            s.previousParameterStart = std::min(s.previousParameterStart, s.parameterStart);
            s.parenDepth = at.parenDepth;
            s.braceDepth = at.braceDepth;
        } else {
            statement_ = {};
        }
    } else if (keyword == "endif" && !conditions_.empty()) {
        conditions_.pop_back();
    }
}

void DoxygenWalker::Finish() {
    if (!statement_.text.empty()) {
        EndStatement('\0');
    }
    while (scopes_.size() > 1) {
        PopScope(true);
        if (!statement_.text.empty()) {
            EndStatement('\0');
        }
    }
    FlushPending();
    for (NamedComment& waiting : named_) {
        AddStandalone(std::move(waiting.comment), waiting.scope);
    }
    named_.clear();
    DropNamelessSeen();
    for (const OpenGroup& group : groups_) {
        warn_(group.line, kUnclosedGroup);
    }
    for (DoxygenItem& item : items_) {
        bool unnamed = item.kind != DoxygenKind::kFile && item.kind != DoxygenKind::kMainPage;
        if (item.name.empty() && unnamed) {
            item.name = std::string(kUntitledName);
        }
    }
}

}  // namespace doxygen_walk

std::vector<DoxygenItem> ReadDoxygenComments(std::string_view content, const DoxygenWarning& warn,
                                             const DoxygenOptions& options) {
    return doxygen_walk::DoxygenWalker(content, warn, options).Read();
}

}  // namespace sylva
