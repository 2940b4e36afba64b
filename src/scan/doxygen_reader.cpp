// Walking a source file for documentation comments: which declaration each comment documents,
// and in which scope it stands.
//
// The walk keeps a stack of the braces it is inside (namespaces, extern "C" blocks, class,
// struct, union and enum bodies, and opaque bodies such as function bodies, whose inside it
// passes over) and the statement it is reading: the code since the last ";", "{" or "}" of the
// current scope (in an enum, since the last ","), with comments replaced by a space and
// initializer braces shown as "{ ... }".
//
// A leading comment waits (pending) for the next statement to end; a trailing comment documents
// the statement in progress or, at a boundary, the one that ended last. Preprocessor branches
// are alternatives: at "#else" and "#elif" the braces and the statement go back to where they
// stood at the "#if", so that "#if A  int f(int a) {  #else  int f(long a) {  #endif" opens one
// body, not two.
#include "scan/doxygen_reader.h"

#include <optional>
#include <unordered_set>
#include <utility>

#include "scan/cpp_declaration.h"
#include "scan/doxygen_comment.h"
#include "scan/doxygen_items.h"
#include "scan/source_lexer.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kUnterminatedComment =
    "comment is not closed before the end of the file; the rest of the file is read as its text";
constexpr std::string_view kUnterminatedDocComment =
    "documentation comment is not closed before the end of the file; it is left out";
constexpr std::string_view kNestedOpener =
    "\"/*\" inside a documentation comment: the comment ends at the first \"*/\"";
constexpr std::string_view kDocumentsNothing =
    "documentation comment documents no declaration; its item is named \"__Untitled\"";
constexpr std::string_view kTrailingWithoutDeclaration =
    "trailing documentation comment follows no declaration; it is left out";
constexpr std::string_view kNamelessRow =
    "trailing documentation comment stands behind no named parameter; it is left out";
constexpr std::string_view kCommentInParameterList =
    "documentation comment inside a parameter list documents nothing; write \"/**<\" behind "
    "the parameter instead";
constexpr std::string_view kStrayBrace = "\"}\" closes no open brace; it is passed over";
constexpr std::string_view kUnclosedGroup =
    "\"@{\" is not closed by \"@}\" before the end of the file";
constexpr std::string_view kStrayGroupClose = "\"@}\" closes no \"@{\"; it is passed over";
constexpr std::string_view kElidedBody = " { ... }";
constexpr std::size_t kMaxScopeDepth = 256;
// The longest scope prefix of a name; the names of scopes deeper in are not added to it.
constexpr std::size_t kMaxPrefix = 512;
// How much of a parameter's text, from its end, names the parameter of a trailing comment.
constexpr std::size_t kParameterTail = 4096;
constexpr std::string_view kSpaces = " \t\r\n\f\v";

bool IsWordByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

std::string_view LastComponent(std::string_view name) {
    std::size_t colons = name.rfind("::");
    return colons == std::string_view::npos ? name : name.substr(colons + 2);
}

std::string Join(std::string_view scope, std::string_view name) {
    if (scope.empty() || name.empty()) {
        return std::string(name);
    }
    std::string joined(scope);
    joined.append("::");
    joined.append(name);
    return joined;
}

enum class ScopeKind { kFile, kNamespace, kLinkage, kClass, kEnum, kBody };
enum class Access { kPublic, kProtected, kPrivate };

struct Scope {
    ScopeKind kind = ScopeKind::kFile;
    std::string name;       // as declared; empty adds nothing to names
    std::string qualified;  // the prefix of the names declared inside
    int item = -1;          // the item that documents it
    int documented =
        -1;  // the item of the innermost scope, this one or one around it, that has one
    DeclarationKind declaration = DeclarationKind::kUnknown;
    Access access = Access::kPublic;
    // An anonymous struct or union inside a class body: its rows belong to the enclosing item.
    bool transparent = false;
    bool typedefBody = false;
    // The declaration that opened the scope, resumed behind its closing brace.
    std::string head;
    int headLine = 0;
    std::size_t headColumn = 0;
};

struct Statement {
    std::string text;
    int line = 0;
    std::size_t column = 0;
    int id = 0;  // 0 while empty
    int parenDepth = 0;
    int braceDepth = 0;               // inside an initializer's braces
    bool initializerContent = false;  // the initializer's braces hold something
    // A comment was left out at the end of the text: the next code is set apart by a blank
    // only where two words would run together.
    bool commentGap = false;
    // A variable: every later brace of the statement opens an initializer too.
    bool initializer = false;
    // A ":" behind a ")": a constructor's member initializers, whose braces initialize.
    bool closedParenthesis = false;
    bool memberInitializers = false;
    std::size_t parameterStart = 0;
    std::size_t previousParameterStart = 0;
    // Behind a class body: the text holds the head and " { ... }" up to bodyEnd.
    bool afterBody = false;
    std::size_t bodyEnd = 0;
    int bodyItem = -1;
};

// Where the walk stood at an "#if", to go back there at its "#else".
struct Condition {
    std::size_t depth;
    int statement;
    std::size_t length;
    int parenDepth;
    int braceDepth;
};

// The declaration that ended last in the current scope, for a trailing comment behind it.
struct LastDeclaration {
    bool valid = false;
    Statement statement;
    char terminator = ';';
    bool macro = false;
    int item = -1;
    int rowItem = -1;
    std::size_t row = 0;
};

class Reader {
  public:
    Reader(std::string_view content, const DoxygenWarning& warn) : lexer_(content), warn_(warn) {
        scopes_.emplace_back();
    }

    std::vector<DoxygenItem> Read();

  private:
    Scope& Current() { return scopes_.back(); }
    bool Opaque() const { return scopes_.back().kind == ScopeKind::kBody; }

    void Code(const SourceEvent& event);
    void CodeByte(std::string_view text, std::size_t at);
    void Append(std::string_view bytes);
    bool AccessLabel(std::string_view text, std::size_t at);
    // True iff the ':' at text[at] is one of a "::".
    bool IsDoubleColon(std::string_view text, std::size_t at) const;
    void OpenBrace();
    // A brace that opens an initializer: shown as "{ ... }", or "{}" when empty.
    void OpenInitializer();
    void CloseBrace();
    void EndStatement(char terminator);
    void PushScope(Scope scope);
    void PopScope(bool resume);
    void ResetStatement();
    // A comment in a statement stands for one blank.
    void SeparateInStatement();

    void DocComment(const SourceEvent& event);
    void LeadingComment(DoxygenComment comment);
    void TrailingComment(DoxygenComment comment);
    void ApplyGroupMarks(const DoxygenComment& comment, int line);
    // "/*@{*/" and "/*@}*/": group marks in an ordinary comment.
    void GroupMarkComment(const SourceEvent& event);
    void Directive(const SourceEvent& event);
    void Finish();

    DoxygenComment TakePending();
    // Documents the statement `s` ended by `terminator` with `comment`: an item or a row of the
    // enclosing item. A comment that names another entity goes back to wait for it.
    LastDeclaration Document(const Statement& s, char terminator, DoxygenComment comment);
    LastDeclaration DocumentMacro(std::string_view directive, DoxygenComment comment);
    LastDeclaration FinishBody(const Statement& s);
    LastDeclaration AddRow(std::string name, const DoxygenComment& comment);
    // True iff a named-entity comment names the declaration `name` (or names nothing).
    bool NamesDeclaration(const DoxygenComment& comment, std::string_view name) const;
    void AddStandalone(DoxygenComment comment);
    void FlushPending();
    int AddItem(DoxygenItem item);
    int ScopeItem(std::size_t index);
    std::string Qualify(std::string_view name) const;

    SourceLexer lexer_;
    const DoxygenWarning& warn_;
    std::vector<DoxygenItem> items_;
    std::vector<Scope> scopes_;
    Statement statement_;
    int statementCount_ = 0;
    std::optional<DoxygenComment> pending_;
    LastDeclaration last_;
    std::vector<Condition> conditions_;
    // The open "@{" marks, innermost last.
    struct OpenGroup {
        std::string label;  // empty for a member group
        int line;
        int labelled;  // the index of the innermost open group with a label, or -1
    };
    std::vector<OpenGroup> groups_;
    std::unordered_set<std::string> reportedUnknown_;
    int line_ = 1;
    std::size_t column_ = 0;
};

std::vector<DoxygenItem> Reader::Read() {
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

void Reader::Code(const SourceEvent& event) {
    std::string_view text = event.text;
    for (std::size_t at = 0; at < text.size(); ++at) {
        CodeByte(text, at);
        if (text[at] == '\n') {
            ++line_;
            column_ = 0;
        } else {
            ++column_;
        }
    }
}

void Reader::Append(std::string_view bytes) {
    Statement& s = statement_;
    if (s.commentGap && !s.text.empty()) {
        std::size_t first = bytes.find_first_not_of(" \t");
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
        std::size_t first = bytes.find_first_not_of(kSpaces);
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

void Reader::CodeByte(std::string_view text, std::size_t at) {
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

// "public:", "protected:", "private:" (also "public slots:" and "signals:") in a class body
// set the access of the members that follow.
bool Reader::IsDoubleColon(std::string_view text, std::size_t at) const {
    return (at + 1 < text.size() && text[at + 1] == ':') ||
           (!statement_.text.empty() && statement_.text.back() == ':');
}

bool Reader::AccessLabel(std::string_view text, std::size_t at) {
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

void Reader::OpenBrace() {
    Statement& s = statement_;
    std::string_view before = TrimRightView(s.text, kSpaces);
    bool memberInitializer = s.memberInitializers && !before.empty() &&
                             (IsWordByte(before.back()) || before.back() == '>');
    if (s.parenDepth > 0 || s.initializer || memberInitializer) {
        OpenInitializer();
        return;
    }
    CppDeclaration declaration = ParseDeclaration(s.text, '{');
    if (declaration.braceInitializer && !s.text.empty()) {
        s.initializer = declaration.kind != DeclarationKind::kFunction;
        OpenInitializer();
        return;
    }
    Scope scope;
    scope.headLine = s.line;
    scope.headColumn = s.column;
    scope.declaration = declaration.kind;
    switch (declaration.kind) {
        case DeclarationKind::kNamespace:
            scope.kind = ScopeKind::kNamespace;
            scope.name = declaration.inlineNamespace ? std::string() : declaration.name;
            if (pending_) {
                Document(s, '{', TakePending());
            }
            break;
        case DeclarationKind::kLinkage:
            scope.kind = ScopeKind::kLinkage;
            break;
        case DeclarationKind::kClass:
        case DeclarationKind::kStruct:
        case DeclarationKind::kUnion:
        case DeclarationKind::kEnum:
            scope.kind =
                declaration.kind == DeclarationKind::kEnum ? ScopeKind::kEnum : ScopeKind::kClass;
            scope.name = declaration.name;
            scope.typedefBody = declaration.typedefBody;
            scope.access =
                declaration.kind == DeclarationKind::kClass ? Access::kPrivate : Access::kPublic;
            scope.transparent = declaration.name.empty() && !declaration.typedefBody &&
                                Current().kind == ScopeKind::kClass && !pending_;
            if (pending_) {
                scope.item = Document(s, '{', TakePending()).item;
            }
            scope.head = std::move(s.text);
            break;
        default:
            scope.kind = ScopeKind::kBody;
            if (pending_ && !s.text.empty()) {
                scope.item = Document(s, '{', TakePending()).item;
            }
            scope.head = std::move(s.text);
            break;
    }
    statement_ = {};
    PushScope(std::move(scope));
}

void Reader::OpenInitializer() {
    Append("{");
    statement_.braceDepth = 1;
    statement_.initializerContent = false;
}

void Reader::CloseBrace() {
    if (scopes_.size() == 1) {
        warn_(line_, kStrayBrace);
        return;
    }
    if (!statement_.text.empty()) {
        EndStatement('\0');
    }
    FlushPending();
    PopScope(true);
}

void Reader::PushScope(Scope scope) {
    const Scope& parent = scopes_.back();
    if (scopes_.size() >= kMaxScopeDepth) {
        // Deeper braces are passed over, so that no input can make names or the stack grow
        // without bound.
        scope = Scope();
        scope.kind = ScopeKind::kBody;
    }
    bool names = (scope.kind == ScopeKind::kNamespace || scope.kind == ScopeKind::kClass) &&
                 !scope.name.empty() && parent.qualified.size() + scope.name.size() < kMaxPrefix;
    scope.qualified = names ? Join(parent.qualified, scope.name) : parent.qualified;
    scope.documented = scope.item >= 0 ? scope.item : parent.documented;
    scopes_.push_back(std::move(scope));
    last_ = {};
}

void Reader::PopScope(bool resume) {
    if (scopes_.size() == 1) {
        return;
    }
    Scope scope = std::move(scopes_.back());
    scopes_.pop_back();
    last_ = {};
    if (scope.kind == ScopeKind::kBody) {
        if (!Opaque() && !scope.head.empty()) {
            // A trailing comment behind the body documents the function.
            last_.valid = true;
            last_.item = scope.item;
            last_.terminator = '{';
            last_.statement.text = std::move(scope.head);
            last_.statement.line = scope.headLine;
            last_.statement.column = scope.headColumn;
        }
        return;
    }
    statement_ = {};
    if (resume && (scope.kind == ScopeKind::kClass || scope.kind == ScopeKind::kEnum)) {
        Statement& s = statement_;
        s.text = std::move(scope.head);
        s.text.resize(TrimRightView(s.text, kSpaces).size());
        s.text.append(kElidedBody);
        s.afterBody = true;
        s.bodyEnd = s.text.size();
        s.bodyItem = scope.item;
        s.line = scope.headLine;
        s.column = scope.headColumn;
        s.id = ++statementCount_;
    }
}

void Reader::EndStatement(char terminator) {
    Statement s = std::move(statement_);
    statement_ = {};
    if (s.text.empty()) {
        return;
    }
    LastDeclaration last;
    if (s.afterBody) {
        if (pending_ && s.bodyItem >= 0) {
            MergeComment(items_[static_cast<std::size_t>(s.bodyItem)], TakePending());
        }
        last = FinishBody(s);
    } else if (pending_) {
        last = Document(s, terminator, TakePending());
    }
    last.valid = true;
    last.terminator = terminator;
    last.statement = std::move(s);
    last_ = std::move(last);
}

void Reader::SeparateInStatement() {
    Statement& s = statement_;
    if (Opaque() || s.text.empty() || s.braceDepth > 0) {
        return;
    }
    // The blanks before a comment only aligned it.
    s.text.resize(TrimRightView(s.text, " \t").size());
    s.parameterStart = std::min(s.parameterStart, s.text.size());
    s.previousParameterStart = std::min(s.previousParameterStart, s.text.size());
    s.commentGap = true;
}

void Reader::ResetStatement() {
    if (!statement_.afterBody && statement_.parenDepth == 0) {
        statement_ = {};
    }
}

void Reader::DocComment(const SourceEvent& event) {
    if (event.unterminated) {
        warn_(event.line, kUnterminatedDocComment);
        return;
    }
    if (Opaque()) {
        return;
    }
    if (event.nestedOpener) {
        for (const CommentLine& line : *event.lines) {
            if (line.text.find("/*") != std::string_view::npos) {
                warn_(line.line, kNestedOpener);
                break;
            }
        }
    }
    if (!event.trailing && statement_.parenDepth > 0) {
        warn_(event.line, kCommentInParameterList);
        return;
    }
    DoxygenComment comment =
        ParseDoxygenComment(*event.lines, event.blockComment, warn_, reportedUnknown_);
    SeparateInStatement();
    if (event.trailing) {
        ApplyGroupMarks(comment, event.line);
        TrailingComment(std::move(comment));
    } else {
        LeadingComment(std::move(comment));
    }
}

void Reader::LeadingComment(DoxygenComment comment) {
    int line = comment.line;
    switch (comment.subject) {
        case CommentSubject::kFile:
        case CommentSubject::kMainPage:
        case CommentSubject::kPage:
        case CommentSubject::kGroup: {
            FlushPending();
            DoxygenComment marks;
            marks.groupMarks = std::move(comment.groupMarks);
            AddStandalone(std::move(comment));
            ApplyGroupMarks(marks, line);
            return;
        }
        case CommentSubject::kNamedEntity:
            FlushPending();
            ApplyGroupMarks(comment, line);
            pending_ = std::move(comment);
            ResetStatement();
            return;
        case CommentSubject::kNextDeclaration:
            break;
    }
    ApplyGroupMarks(comment, line);
    if (comment.OnlyGroupMarks()) {
        return;
    }
    if (pending_ && pending_->subject == CommentSubject::kNamedEntity) {
        FlushPending();
    }
    if (pending_) {
        MergeComment(*pending_, std::move(comment));
    } else {
        pending_ = std::move(comment);
    }
    ResetStatement();
}

void Reader::TrailingComment(DoxygenComment comment) {
    Statement& s = statement_;
    if (!s.text.empty() && s.parenDepth > 0 && !s.afterBody) {
        std::string_view parameter = std::string_view(s.text).substr(s.parameterStart);
        if (parameter.find_first_not_of(kSpaces) == std::string_view::npos) {
            parameter = std::string_view(s.text).substr(
                s.previousParameterStart, s.parameterStart - s.previousParameterStart);
        }
        if (parameter.size() > kParameterTail) {
            parameter.remove_prefix(parameter.size() - kParameterTail);
        }
        std::vector<std::string> names = DeclaratorNames(parameter);
        if (names.empty()) {
            warn_(comment.line, kNamelessRow);
            return;
        }
        if (!pending_) {
            pending_ = DoxygenComment();
            pending_->line = comment.line;
        }
        pending_->parameters.push_back({names.front(), {}, RowText(comment)});
        pending_->parameterLines.push_back(comment.line);
        return;
    }
    if (!s.text.empty()) {
        if (pending_) {
            MergeComment(*pending_, std::move(comment));
        } else {
            pending_ = std::move(comment);
        }
        return;
    }
    if (!last_.valid) {
        warn_(comment.line, kTrailingWithoutDeclaration);
        return;
    }
    if (last_.item >= 0) {
        MergeComment(items_[static_cast<std::size_t>(last_.item)], std::move(comment));
    } else if (last_.rowItem >= 0) {
        DoxygenParameter& row =
            items_[static_cast<std::size_t>(last_.rowItem)].parameters[last_.row];
        std::string more = RowText(comment);
        if (!row.text.empty() && !more.empty()) {
            row.text.push_back(' ');
        }
        row.text += more;
    } else {
        LastDeclaration documented =
            last_.macro ? DocumentMacro(last_.statement.text, std::move(comment))
                        : Document(last_.statement, last_.terminator, std::move(comment));
        last_.item = documented.item;
        last_.rowItem = documented.rowItem;
        last_.row = documented.row;
    }
}

void Reader::ApplyGroupMarks(const DoxygenComment& comment, int line) {
    for (const GroupMark& mark : comment.groupMarks) {
        if (mark.open) {
            int labelled = !mark.label.empty() ? static_cast<int>(groups_.size())
                           : groups_.empty()   ? -1
                                               : groups_.back().labelled;
            groups_.push_back({mark.label, line, labelled});
        } else if (groups_.empty()) {
            warn_(line, kStrayGroupClose);
        } else {
            groups_.pop_back();
        }
    }
}

void Reader::GroupMarkComment(const SourceEvent& event) {
    std::string_view text = event.text;
    if (event.unterminated || !text.starts_with("/*") || text.size() < 4) {
        return;
    }
    std::string_view inside = TrimView(text.substr(2, text.size() - 4), kSpaces);
    if (inside.size() == 2 && (inside[0] == '@' || inside[0] == '\\') &&
        (inside[1] == '{' || inside[1] == '}')) {
        DoxygenComment marks;
        marks.groupMarks.push_back({inside[1] == '{', {}});
        ApplyGroupMarks(marks, event.line);
    }
}

void Reader::Directive(const SourceEvent& event) {
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
        if (pending_) {
            last_ = DocumentMacro(event.text, TakePending());
        } else {
            last_ = {};
            last_.statement.text = std::string(event.text);
        }
        last_.valid = true;
        last_.macro = true;
    } else if (keyword == "if" || keyword == "ifdef" || keyword == "ifndef") {
        conditions_.push_back({scopes_.size(), statement_.id, statement_.text.size(),
                               statement_.parenDepth, statement_.braceDepth});
    } else if (keyword.starts_with("el") && !conditions_.empty()) {
        const Condition& at = conditions_.back();
        while (scopes_.size() > at.depth) {
            PopScope(false);
        }
        if (statement_.id != 0 && statement_.id == at.statement) {
            statement_.text.resize(std::min(at.length, statement_.text.size()));
            statement_.parenDepth = at.parenDepth;
            statement_.braceDepth = at.braceDepth;
        } else {
            statement_ = {};
        }
    } else if (keyword == "endif" && !conditions_.empty()) {
        conditions_.pop_back();
    }
}

void Reader::Finish() {
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

DoxygenComment Reader::TakePending() {
    DoxygenComment comment = std::move(*pending_);
    pending_.reset();
    return comment;
}

bool Reader::NamesDeclaration(const DoxygenComment& comment, std::string_view name) const {
    if (comment.subject != CommentSubject::kNamedEntity) {
        return true;
    }
    std::string named = comment.subjectName;
    if (named.empty() && !comment.namedDeclaration.empty()) {
        named = ParseDeclaration(comment.namedDeclaration, ';').name;
    }
    return named.empty() || LastComponent(named) == LastComponent(name);
}

LastDeclaration Reader::Document(const Statement& s, char terminator, DoxygenComment comment) {
    LastDeclaration documented;
    Scope& scope = Current();
    if (scope.kind == ScopeKind::kEnum) {
        std::string name = EnumeratorName(s.text);
        if (NamesDeclaration(comment, name)) {
            return AddRow(std::move(name), comment);
        }
        pending_ = std::move(comment);
        return documented;
    }
    CppDeclaration declaration = ParseDeclaration(s.text, terminator);
    if (!NamesDeclaration(comment, declaration.name)) {
        pending_ = std::move(comment);
        return documented;
    }
    if (scope.kind == ScopeKind::kClass && declaration.kind == DeclarationKind::kVariable) {
        std::string names;
        for (const std::string& name : declaration.declarators) {
            names += (names.empty() ? "" : ", ") + name;
        }
        return AddRow(names.empty() ? declaration.name : names, comment);
    }
    DoxygenItem item = ItemFromComment(comment);
    item.kind = KindOf(declaration.kind);
    item.name = Qualify(declaration.name);
    item.hasSyntax = true;
    bool body = terminator == '{';
    if (body && item.kind != DoxygenKind::kFunction && item.kind != DoxygenKind::kNamespace &&
        item.kind != DoxygenKind::kOther) {
        item.declaration = ShownDeclaration(s.text, s.column, '\0') + std::string(kElidedBody);
    } else {
        std::string_view shown = std::string_view(s.text).substr(0, declaration.shownEnd);
        item.declaration = ShownDeclaration(shown, s.column, terminator);
    }
    if (scope.kind == ScopeKind::kClass && scope.access != Access::kPublic) {
        item.lines.push_back(
            {kSectionDocType,
             std::string(scope.access == Access::kProtected ? kProtectedType : kPrivateType)});
    }
    if (item.kind == DoxygenKind::kFunction) {
        std::string_view member = LastComponent(declaration.name);
        std::string_view qualifier =
            std::string_view(declaration.name).substr(0, declaration.name.size() - member.size());
        qualifier = LastComponent(TrimRightView(qualifier, ":"));
        if (member.starts_with("~")) {
            item.lines.push_back({kSectionDocType, std::string(kDestructorType)});
        } else if (!member.empty() && (qualifier.empty() ? scope.kind == ScopeKind::kClass &&
                                                               member == LastComponent(scope.name)
                                                         : member == qualifier)) {
            item.lines.push_back({kSectionDocType, std::string(kConstructorType)});
        }
    }
    CheckParameters(item, declaration, comment, warn_);
    documented.item = AddItem(std::move(item));
    return documented;
}

LastDeclaration Reader::DocumentMacro(std::string_view directive, DoxygenComment comment) {
    LastDeclaration documented;
    CppDeclaration macro = ParseMacro(directive);
    if (!NamesDeclaration(comment, macro.name)) {
        pending_ = std::move(comment);
        return documented;
    }
    DoxygenItem item = ItemFromComment(comment);
    item.kind = DoxygenKind::kMacro;
    item.name = macro.name;
    item.declaration = ShownDeclaration(directive, 0, '\0');
    item.hasSyntax = true;
    CheckParameters(item, macro, comment, warn_);
    documented.item = AddItem(std::move(item));
    return documented;
}

LastDeclaration Reader::FinishBody(const Statement& s) {
    LastDeclaration documented;
    if (s.bodyItem < 0) {
        return documented;
    }
    DoxygenItem& item = items_[static_cast<std::size_t>(s.bodyItem)];
    std::vector<std::string> names = DeclaratorNames(std::string_view(s.text).substr(s.bodyEnd));
    std::string_view head = std::string_view(s.text).substr(0, s.bodyEnd - kElidedBody.size());
    bool typedefBody = ParseDeclaration(head, '{').typedefBody;
    if (!names.empty() && (item.name.empty() || typedefBody)) {
        item.name = Qualify(names.front());
    } else if (item.name.empty() && !item.parameters.empty()) {
        item.name = Qualify(item.parameters.front().name);
    }
    item.declaration = ShownDeclaration(s.text, s.column, ';');
    documented.item = s.bodyItem;
    return documented;
}

LastDeclaration Reader::AddRow(std::string name, const DoxygenComment& comment) {
    LastDeclaration documented;
    if (name.empty()) {
        warn_(comment.line, kNamelessRow);
        return documented;
    }
    std::size_t index = scopes_.size() - 1;
    while (index > 0 && scopes_[index].transparent) {
        --index;
    }
    int item = ScopeItem(index);
    std::vector<DoxygenParameter>& rows = items_[static_cast<std::size_t>(item)].parameters;
    rows.push_back({std::move(name), {}, RowText(comment)});
    documented.rowItem = item;
    documented.row = rows.size() - 1;
    return documented;
}

int Reader::ScopeItem(std::size_t index) {
    Scope& scope = scopes_[index];
    if (scope.item >= 0) {
        return scope.item;
    }
    DoxygenItem item;
    item.line = scope.headLine;
    item.kind = KindOf(scope.declaration);
    item.name = Join(scopes_[index - 1].qualified, scope.name);
    item.declaration = ShownDeclaration(scope.head, scope.headColumn, '\0');
    item.declaration.append(kElidedBody);
    item.hasSyntax = true;
    scope.item = AddItem(std::move(item));
    scope.documented = scope.item;
    return scope.item;
}

void Reader::AddStandalone(DoxygenComment comment) {
    CommentSubject subject = comment.subject;
    DoxygenKind namedKind = comment.namedKind;
    std::string name = comment.subjectName;
    std::string title = comment.title;
    std::string declared = comment.namedDeclaration;
    CppDeclaration declaration;
    if (!declared.empty()) {
        declaration = ParseDeclaration(declared, ';');
        name = declaration.name;
    }
    DoxygenItem item = ItemFromComment(comment);
    item.title = std::move(title);
    switch (subject) {
        case CommentSubject::kFile:
            item.kind = DoxygenKind::kFile;
            break;
        case CommentSubject::kMainPage:
            item.kind = DoxygenKind::kMainPage;
            break;
        case CommentSubject::kPage:
            item.kind = DoxygenKind::kPage;
            break;
        case CommentSubject::kGroup:
            item.kind = DoxygenKind::kGroup;
            break;
        case CommentSubject::kNamedEntity:
        case CommentSubject::kNextDeclaration:
            item.kind = namedKind;
            if (namedKind != DoxygenKind::kMacro) {
                name = Qualify(name);
            }
            break;
    }
    item.name = std::move(name);
    if (!declared.empty()) {
        item.declaration = ShownDeclaration(declared, 0, '\0');
        item.hasSyntax = true;
        CheckParameters(item, declaration, comment, warn_);
    }
    AddItem(std::move(item));
}

void Reader::FlushPending() {
    if (!pending_) {
        return;
    }
    DoxygenComment comment = TakePending();
    if (comment.subject == CommentSubject::kNamedEntity) {
        AddStandalone(std::move(comment));
        return;
    }
    if (comment.lines.empty() && comment.parameters.empty()) {
        return;
    }
    warn_(comment.line, kDocumentsNothing);
    DoxygenItem item = ItemFromComment(std::move(comment));
    item.name = std::string(kUntitledName);
    AddItem(std::move(item));
}

int Reader::AddItem(DoxygenItem item) {
    // Without a group of its own, an item is in the group of the class it stands in, else in
    // the innermost group opened by "@{".
    int documented = scopes_.back().documented;
    if (item.group.empty() && documented >= 0) {
        item.group = items_[static_cast<std::size_t>(documented)].group;
    }
    if (item.group.empty() && !groups_.empty() && groups_.back().labelled >= 0) {
        item.group = groups_[static_cast<std::size_t>(groups_.back().labelled)].label;
    }
    items_.push_back(std::move(item));
    return static_cast<int>(items_.size() - 1);
}

std::string Reader::Qualify(std::string_view name) const {
    if (name.starts_with("::")) {
        name.remove_prefix(2);
    }
    return Join(scopes_.back().qualified, name);
}

}  // namespace

std::vector<DoxygenItem> ReadDoxygenComments(std::string_view content, const DoxygenWarning& warn) {
    return Reader(content, warn).Read();
}

}  // namespace sylva
