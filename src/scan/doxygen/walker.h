// The walk behind ReadDoxygenComments: the state it keeps while it reads one file, shared by the
// files that hold its steps (reader.cpp: the pieces of the file and its directives;
// scopes.cpp: braces and statements; attach.cpp: comments; document.cpp:
// items and rows). Internal to the scan: nothing outside these files includes it.
//
// The walk keeps a stack of the braces it is inside (namespaces, extern "C" blocks, class,
// struct, union and enum bodies, and opaque bodies such as function bodies, whose inside it
// passes over) and the statement it is reading: the code since the last ";", "{" or "}" of the
// current scope (in an enum, since the last ","), without comments, initializer braces shown as
// "{ ... }".
//
// A leading comment waits (pending) for the next statement to end; a trailing comment documents
// the statement in progress or, at a boundary, the one that ended last. Preprocessor branches
// are alternatives: at "#else" and "#elif" the braces and the statement go back to where they
// stood at the "#if", so that "#if A  int f(int a) {  #else  int f(long a) {  #endif" opens one
// body, not two.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "scan/cpp/declaration.h"
#include "scan/doxygen/comment.h"
#include "scan/doxygen/reader.h"
#include "scan/doxygen/source_lexer.h"
#include "support/byte_sets.h"
#include "support/warning_kind.h"

namespace sylva::doxygen_walk {

inline constexpr std::string_view kSpaces = " \t\r\n\f\v";
inline constexpr std::string_view kElidedBody = " { ... }";
inline constexpr std::string_view kNamespaceWord = "namespace ";
inline constexpr WarningKind kNamelessRow = {
    "doxygen.nameless-row",
    "trailing documentation comment stands behind no named parameter; it is left out"};

inline bool IsWordByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

// True iff `text` is one or more words in capitals, such as "NS_BEGIN" or "API_BEGIN EXPORTS",
// and nothing else: macros that, unexpanded, declare nothing of their own. A declaration that
// starts with them keeps them ("EXPORTS int f(void);"); where no declaration follows them in
// the same statement (a comment that documents the next one, or the end of a scope stands behind
// them) they are passed over.
inline bool IsMacroWords(std::string_view text) {
    bool capital = false;
    bool wordStart = true;
    for (char ch : text) {
        if (IsOneOf(ch, kSpaces)) {
            wordStart = true;
            continue;
        }
        if (!IsWordByte(ch) || (ch >= 'a' && ch <= 'z') || (wordStart && ch >= '0' && ch <= '9')) {
            return false;
        }
        capital = capital || (ch >= 'A' && ch <= 'Z');
        wordStart = false;
    }
    return capital;
}

// True iff the walk looks at `ch` on its own in statement text: a brace, a statement's end, a
// bracket, a comma or colon, or a line feed. Other bytes are copied in runs.
inline bool IsStatementByte(char ch) {
    switch (ch) {
        case '{':
        case '}':
        case ';':
        case ',':
        case ':':
        case '(':
        case ')':
        case '[':
        case ']':
        case '\n':
            return true;
        default:
            return false;
    }
}

// `name` behind `scope`, joined by "::"; `name` alone when either is empty.
inline std::string Join(std::string_view scope, std::string_view name) {
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
    // The item of the innermost scope that has one, this one or one around it.
    int documented = -1;
    DeclarationKind declaration = DeclarationKind::kUnknown;
    Access access = Access::kPublic;
    // An anonymous struct or union inside a class body: its rows belong to the enclosing item.
    bool transparent = false;
    bool typedefBody = false;
    // A class, struct or union that names bases: its undocumented member functions may take
    // the texts of the base members they override.
    bool derived = false;
    // Its declarations are not counted as public: an anonymous namespace, a body, a type under
    // "private:", or anything inside one of them.
    bool unlisted = false;
    // The declaration of the type that opened it in the list of seen declarations, or -1.
    int seen = -1;
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
    int bodySeen = -1;
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
    // An undocumented macro listed as a row of its group's item (rowItem, row).
    bool listedMacro = false;
    int item = -1;
    int rowItem = -1;
    std::size_t row = 0;
    // Its index in the list of seen declarations, or -1.
    int seen = -1;
};

// One walk over one file; ReadDoxygenComments makes one per call.
class DoxygenWalker {
  public:
    DoxygenWalker(std::string_view content, const DoxygenWarning& warn,
                  const DoxygenOptions& options)
        : lexer_(content), reading_{warn, options, {}, false, {}}, warn_(reading_.warn) {
        scopes_.emplace_back();
    }

    std::vector<DoxygenItem> Read();

  private:
    Scope& Current() { return scopes_.back(); }
    bool Opaque() const { return scopes_.back().kind == ScopeKind::kBody; }

    void Code(const SourceEvent& event);
    // Moves the line and column past `bytes`.
    void MoveOver(std::string_view bytes);
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
    // A "@name" comment: its title waits for the next "@{"; its text documents the member group
    // where the group heads items in the index, else the class or enum around it.
    void MemberGroupComment(DoxygenComment comment);
    // True iff a member group opened here gives its items their group: at file or namespace
    // scope, inside no group a "@defgroup" or "@addtogroup" opened.
    bool IndexesMemberGroups() const;
    void TrailingComment(DoxygenComment comment);
    void ApplyGroupMarks(const DoxygenComment& comment, int line);
    // "/*@{*/" and "/*@}*/": group marks in an ordinary comment.
    void GroupMarkComment(const SourceEvent& event);
    // "@endcond" in an ordinary comment ("// @endcond", a doc comment's marker mistyped) still
    // ends the hidden part that a "@cond" opened, as its author meant.
    void EndConditionComment(const SourceEvent& event);
    void Directive(const SourceEvent& event);
    void Finish();

    DoxygenComment TakePending();
    // Documents the statement `s` ended by `terminator` with `comment`: an item or a row of the
    // enclosing item. A comment that names another entity goes back to wait for it.
    LastDeclaration Document(const Statement& s, char terminator, DoxygenComment comment);
    // Documents the declaration `s` that opens a body with the pending comment, if any, setting
    // `item`; counts it as seen and returns its index there, or -1.
    int DocumentBody(const Statement& s, const CppDeclaration& declaration, int& item);
    LastDeclaration DocumentMacro(std::string_view directive, const CppDeclaration& macro,
                                  DoxygenComment comment);
    LastDeclaration FinishBody(const Statement& s);
    // `shape`: what the member's declaration writes around its name (empty for a parameter).
    LastDeclaration AddRow(std::string name, const DoxygenComment& comment, MemberShape shape = {});
    // The index of the scope whose item takes the rows of the current scope: the current one,
    // or the one around an anonymous struct or union inside a class.
    std::size_t RowScope() const;
    // An undocumented data member or enumerator of a documented class, struct, union or enum: a
    // row of that item without text, so that its table lists every public member.
    LastDeclaration UndocumentedMember(const Statement& s, char terminator);
    // "using Base::member;" in a derived class: an item of the class's own name for `member`
    // that takes the text of the documented base member of that name, or is no item.
    LastDeclaration UsedBaseMember(const Statement& s, char terminator, std::string_view member);
    // An undocumented macro inside a group whose defining comment stands in this file: a row of
    // the group's item with the macro's value, so that the group's page lists it.
    LastDeclaration ListMacro(std::string_view directive, const std::string& name);
    // True iff a named-entity comment names the declaration `name` (or names nothing).
    bool NamesDeclaration(const DoxygenComment& comment, std::string_view name) const;
    // An item of a comment's own: a file, a page, a group, or a named entity that no declaration
    // of this file matched, named in `scope`.
    void AddStandalone(DoxygenComment comment, std::string_view scope);
    void AddStandalone(DoxygenComment comment) {
        std::string scope = Current().qualified;
        AddStandalone(std::move(comment), scope);
    }
    // Makes the waiting comment that names `declared` the pending one; true when one does.
    bool TakeNamed(std::string_view declared);
    void FlushPending();
    int AddItem(DoxygenItem item);
    // The group an item added here gets when it names none.
    std::string GroupHere() const;
    // True iff a declaration ending here is counted as public (see DoxygenOptions).
    bool Countable() const;
    // Counts the declaration `s` (`declaration`, ended by `terminator`) as seen; `item`: the
    // item documenting it, or -1; `internal`: its comment says "@internal". Returns its index in
    // the list of seen declarations, or -1 when it is not counted.
    int CountDeclaration(const Statement& s, const CppDeclaration& declaration, char terminator,
                         int item, bool documented, bool internal);
    int CountMacro(std::string_view directive, const CppDeclaration& macro, int item,
                   bool internal);
    // A trailing comment documents the seen declaration `index` (-1: none) after all.
    void MarkSeenDocumented(int index);
    // Adds `seen` under `key` (empty: none yet), or marks the one of that key documented too.
    int CountSeen(SeenDeclaration seen, const std::string& key, bool internal);
    // A type counted before its body gets the name that follows the body, as its item does.
    void NameSeenBody(const Statement& s);
    // An anonymous type that got no name is no declaration a user can document.
    void DropNamelessSeen();
    // The name behind the body the statement `s` holds: its first declarator where the body has
    // no name of its own (`named` false); empty otherwise. A tag names its type even where a
    // typedef gives it another name, as in "typedef struct _Image {...} Image;".
    std::string NameBehindBody(const Statement& s, bool named) const;
    // The item that stands for the class or namespace scopes_[index] where no comment documents
    // it: its name and declaration, no text.
    DoxygenItem HolderOf(std::size_t index) const;
    // The item of scopes_[index], made from HolderOf when it has none; what follows in the scope
    // takes its group.
    int ScopeItem(std::size_t index);
    // Gives every named class and namespace around the place read an item where none documents
    // it, so that a documented member always has a scope page that lists it and that it leads
    // back to.
    void HoldEnclosingScopes();
    std::string Qualify(std::string_view name) const;

    SourceLexer lexer_;
    DoxygenReading reading_;
    const DoxygenWarning& warn_;
    std::vector<DoxygenItem> items_;
    std::vector<Scope> scopes_;
    Statement statement_;
    int statementCount_ = 0;
    std::optional<DoxygenComment> pending_;
    // Comments that name the entity they document ("@class X"), waiting for its declaration,
    // with the scope prefix of the place they stand.
    struct NamedComment {
        DoxygenComment comment;
        std::string scope;
    };
    std::vector<NamedComment> named_;
    LastDeclaration last_;
    std::vector<Condition> conditions_;
    // The open "@{" marks, innermost last.
    struct OpenGroup {
        // The group's label; a member group's title where it heads items in the index, else empty.
        std::string label;
        int line;
        int labelled;  // the index of the innermost open group with a label, or -1
        bool member;   // opened behind "@name" (or by a bare "@{"), not for a named group
        int item;      // the group's item, when a comment of this file defined the group
    };
    std::vector<OpenGroup> groups_;
    // The title of the last "@name", until an "@{" opens its group.
    std::string memberGroupTitle_;
    // The last group item a comment of this file defined, for the "@{" that opens its group.
    int groupItem_ = -1;
    // The label of the group the last comment defined or added to without opening it, for a
    // bare "@{" right behind it; empty once anything else comes.
    std::string unopenedGroup_;
    int line_ = 1;
    std::size_t column_ = 0;
    // The index in the list of seen declarations of each key (kind, name, signature) counted.
    std::unordered_map<std::string, std::size_t> seenKeys_;
    // The name of the last "#ifndef", to tell an include guard's "#define".
    std::string guard_;
};

}  // namespace sylva::doxygen_walk
