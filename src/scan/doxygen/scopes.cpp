// Braces and statements: what a "{" opens, what a "}" closes, and where a statement ends.
#include "scan/doxygen/walker.h"

#include <algorithm>
#include <utility>

#include "scan/class_bases.h"
#include "scan/doxygen/items.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva::doxygen_walk {

namespace {

constexpr WarningKind kStrayBrace = {"doxygen.stray-brace",
                                     "\"}\" closes no open brace; it is passed over"};
constexpr std::size_t kMaxScopeDepth = 256;
// The longest scope prefix of a name; the names of scopes deeper in are not added to it.
constexpr std::size_t kMaxPrefix = 512;

}  // namespace

void DoxygenWalker::OpenBrace() {
    Statement& s = statement_;
    std::string_view before = TrimRightView(s.text, kSpaces);
    bool memberInitializer = s.memberInitializers && !before.empty() &&
                             (IsWordByte(before.back()) || before.back() == '>');
    if (s.parenDepth > 0 || s.initializer || memberInitializer) {
        OpenInitializer();
        return;
    }
    // Only the count takes the signature from this parse; an item parses its declaration anew.
    CppDeclaration declaration =
        Countable() ? ParseDeclaration(s.text, '{') : ParseDeclarationWithoutSignature(s.text, '{');
    if (!declaration.braceInitializer) {
        TakeNamed(declaration.name);
    }
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
            scope.unlisted = declaration.name.empty() && !declaration.inlineNamespace;
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
            scope.seen = DocumentBody(s, declaration, scope.item);
            scope.derived = !DeclaredBases(s.text).empty();
            scope.head = std::move(s.text);
            break;
        default:
            scope.kind = ScopeKind::kBody;
            if (!s.text.empty()) {
                scope.seen = DocumentBody(s, declaration, scope.item);
            }
            scope.head = std::move(s.text);
            break;
    }
    statement_ = {};
    PushScope(std::move(scope));
}

int DoxygenWalker::DocumentBody(const Statement& s, const CppDeclaration& declaration, int& item) {
    const bool internal = pending_ && pending_->internal;
    if (pending_) {
        item = Document(s, '{', TakePending()).item;
    }
    return CountDeclaration(s, declaration, '{', item, item >= 0, internal);
}

void DoxygenWalker::OpenInitializer() {
    Append("{");
    statement_.braceDepth = 1;
    statement_.initializerContent = false;
}

void DoxygenWalker::CloseBrace() {
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

void DoxygenWalker::PushScope(Scope scope) {
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
    scope.unlisted = scope.unlisted || parent.unlisted || scope.kind == ScopeKind::kBody ||
                     (parent.kind == ScopeKind::kClass && parent.access == Access::kPrivate);
    scopes_.push_back(std::move(scope));
    last_ = {};
}

void DoxygenWalker::PopScope(bool resume) {
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
            last_.seen = scope.seen;
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
        s.bodySeen = scope.seen;
        s.line = scope.headLine;
        s.column = scope.headColumn;
        s.id = ++statementCount_;
    }
}

void DoxygenWalker::EndStatement(char terminator) {
    Statement s = std::move(statement_);
    statement_ = {};
    if (s.text.empty()) {
        return;
    }
    unopenedGroup_.clear();
    if (terminator == '\0' && Current().kind != ScopeKind::kEnum && IsMacroWords(s.text)) {
        // Macros before the closing brace of a scope ("NS_END }", "Q_OBJECT }") declare
        // nothing; in an enum they are its last enumerator.
        return;
    }
    LastDeclaration last;
    if (s.afterBody) {
        if (pending_ && s.bodyItem >= 0) {
            MergeComment(items_[static_cast<std::size_t>(s.bodyItem)], TakePending());
        }
        last = FinishBody(s);
        NameSeenBody(s);
        last.seen = s.bodySeen;
    } else if (pending_ || (!named_.empty() && Current().kind != ScopeKind::kEnum &&
                            TakeNamed(ParseDeclarationWithoutSignature(s.text, terminator).name))) {
        DoxygenComment comment = TakePending();
        const bool internal = comment.internal;
        last = Document(s, terminator, std::move(comment));
        if (Countable()) {
            const int item = last.rowItem >= 0 ? last.rowItem : last.item;
            last.seen = CountDeclaration(s, ParseDeclaration(s.text, terminator), terminator, item,
                                         last.item >= 0 || last.rowItem >= 0, internal);
        }
    } else {
        last = UndocumentedMember(s, terminator);
        if (Countable()) {
            last.seen = CountDeclaration(s, ParseDeclaration(s.text, terminator), terminator, -1,
                                         false, false);
        }
    }
    last.valid = true;
    last.terminator = terminator;
    last.statement = std::move(s);
    last_ = std::move(last);
}

void DoxygenWalker::SeparateInStatement() {
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

void DoxygenWalker::ResetStatement() {
    if (!statement_.afterBody && statement_.parenDepth == 0) {
        statement_ = {};
    }
}

}  // namespace sylva::doxygen_walk
