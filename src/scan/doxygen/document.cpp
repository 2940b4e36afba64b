// Items and rows: a documented declaration named in its scope, the rows of the item around it.
#include "scan/doxygen/walker.h"

#include <algorithm>
#include <utility>

#include "scan/class_bases.h"
#include "scan/doxygen/items.h"
#include "scan/rich_text.h"
#include "scan/sorted_lines.h"
#include "support/zt_string.h"

namespace sylva::doxygen_walk {

namespace {

// A listed macro's value is shown up to this size; a longer one is left out.
constexpr std::size_t kMaxListedValue = 60;

std::string_view LastComponent(std::string_view name) {
    std::size_t colons = name.rfind("::");
    return colons == std::string_view::npos ? name : name.substr(colons + 2);
}

// The names a data member declaration declares, "a, b" for "int a, b;".
std::string MemberNames(const CppDeclaration& declaration) {
    std::string names;
    for (const std::string& name : declaration.declarators) {
        names += (names.empty() ? "" : std::string(kRowNameSeparator)) + name;
    }
    return names.empty() ? declaration.name : names;
}

// The shape of a data member declaration around the first name it declares.
MemberShape MemberShapeOf(std::string_view text, const CppDeclaration& declaration) {
    return ShapeOfMember(text, declaration.declarators.empty() ? std::string_view(declaration.name)
                                                               : declaration.declarators.front());
}

// The value of the macro `name` that `directive` defines, as code, from its first line; empty
// when it has none or a long one.
std::string MacroValue(std::string_view directive, std::string_view name) {
    std::size_t at = directive.find(name);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view rest = directive.substr(at + name.size());
    if (rest.starts_with("(")) {
        std::size_t close = rest.find(')');
        rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
    }
    rest = rest.substr(0, rest.find_first_of("\n\\"));
    rest = rest.substr(0, std::min(rest.find("/*"), rest.find("//")));
    rest = TrimView(rest, kSpaces);
    if (rest.empty() || rest.size() > kMaxListedValue) {
        return {};
    }
    std::string value(1, rich::kCodeOpen);
    rich::AppendStripped(value, rest);
    value.push_back(rich::kCodeClose);
    return value;
}

// True iff `text` is a using-declaration that brings a base's member into a class
// ("using Base::rows;"), not a using-directive nor an alias.
bool IsMemberUsing(std::string_view text, const CppDeclaration& declaration) {
    text = TrimLeftView(text, " \t\r\n");
    return declaration.kind == DeclarationKind::kUnknown && text.starts_with("using") &&
           text.size() > 5 && (text[5] == ' ' || text[5] == '\t' || text[5] == '\n') &&
           declaration.name.find("::") != std::string::npos &&
           !LastComponent(declaration.name).empty();
}

// True iff an "@internal" comment documents `item`.
bool IsInternal(const DoxygenItem& item) {
    return std::any_of(item.lines.begin(), item.lines.end(), [](const DoxygenLine& line) {
        return line.section == kSectionDocType && line.text == kInternalType;
    });
}

}  // namespace

bool DoxygenWalker::NamesDeclaration(const DoxygenComment& comment, std::string_view name) const {
    if (comment.subject != CommentSubject::kNamedEntity) {
        return true;
    }
    std::string named = comment.subjectName;
    if (named.empty() && !comment.namedDeclaration.empty()) {
        named = ParseDeclarationWithoutSignature(comment.namedDeclaration, ';').name;
    }
    return named.empty() || LastComponent(named) == LastComponent(name);
}

LastDeclaration DoxygenWalker::Document(const Statement& s, char terminator,
                                        DoxygenComment comment) {
    LastDeclaration documented;
    Scope& scope = Current();
    if (scope.kind == ScopeKind::kEnum) {
        std::string name = EnumeratorName(s.text);
        if (NamesDeclaration(comment, name)) {
            MemberShape shape = ShapeOfMember(s.text, name);
            return AddRow(std::move(name), comment, std::move(shape));
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
        return AddRow(MemberNames(declaration), comment, MemberShapeOf(s.text, declaration));
    }
    DoxygenItem item = ItemFromComment(std::move(comment));
    item.kind = KindOf(declaration.kind);
    // A befriended function is shown as one of the class's, under its own name: the namespace
    // that may qualify it is not a scope inside the class.
    item.name = Qualify(declaration.isFriend ? LastComponent(declaration.name)
                                             : std::string_view(declaration.name));
    item.hasSyntax = true;
    item.declarationLine = s.line;
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
    if (item.kind == DoxygenKind::kFunction) {
        item.signature = declaration.signature;
    }
    item.definition = body || declaration.braceInitializer ||
                      (item.kind == DoxygenKind::kVariable &&
                       std::string_view(s.text).find('=') != std::string_view::npos);
    CheckParameters(item, declaration, comment.parameterLines, warn_);
    HoldEnclosingScopes();
    documented.item = AddItem(std::move(item));
    return documented;
}

LastDeclaration DoxygenWalker::DocumentMacro(std::string_view directive,
                                             const CppDeclaration& macro, DoxygenComment comment) {
    LastDeclaration documented;
    if (!NamesDeclaration(comment, macro.name)) {
        pending_ = std::move(comment);
        return documented;
    }
    DoxygenItem item = ItemFromComment(std::move(comment));
    item.kind = DoxygenKind::kMacro;
    item.name = macro.name;
    item.declaration = ShownDeclaration(directive, 0, '\0');
    item.hasSyntax = true;
    CheckParameters(item, macro, comment.parameterLines, warn_);
    documented.item = AddItem(std::move(item));
    return documented;
}

LastDeclaration DoxygenWalker::FinishBody(const Statement& s) {
    LastDeclaration documented;
    if (s.bodyItem < 0) {
        return documented;
    }
    DoxygenItem& item = items_[static_cast<std::size_t>(s.bodyItem)];
    if (std::string behind = NameBehindBody(s, !item.name.empty()); !behind.empty()) {
        item.name = std::move(behind);
    } else if (item.name.empty() && !item.parameters.empty()) {
        item.name = Qualify(item.parameters.front().name);
    }
    item.declaration = ShownDeclaration(s.text, s.column, ';');
    documented.item = s.bodyItem;
    return documented;
}

std::string DoxygenWalker::NameBehindBody(const Statement& s, bool named) const {
    if (named) {
        return {};
    }
    std::vector<std::string> names = DeclaratorNames(std::string_view(s.text).substr(s.bodyEnd));
    if (names.empty()) {
        return {};
    }
    return Qualify(names.front());
}

LastDeclaration DoxygenWalker::UndocumentedMember(const Statement& s, char terminator) {
    const Scope& scope = Current();
    if (s.afterBody || scopes_[RowScope()].item < 0) {
        return {};
    }
    if (scope.kind == ScopeKind::kEnum) {
        std::string name = EnumeratorName(s.text);
        MemberShape shape = ShapeOfMember(s.text, name);
        return name.empty() ? LastDeclaration()
                            : AddRow(std::move(name), DoxygenComment(), std::move(shape));
    }
    if (scope.kind != ScopeKind::kClass || scope.access == Access::kPrivate) {
        return {};
    }
    CppDeclaration declaration = ParseDeclarationWithoutSignature(s.text, terminator);
    if (declaration.kind == DeclarationKind::kFunction && scope.derived) {
        // Whether it overrides a documented member is known once every file is read.
        DoxygenComment inherited;
        inherited.line = s.line;
        inherited.lines.push_back({kSectionDescription, std::string{kCopyMark, kCopyInherited}});
        return Document(s, terminator, std::move(inherited));
    }
    if (scope.derived && IsMemberUsing(s.text, declaration)) {
        return UsedBaseMember(s, terminator, LastComponent(declaration.name));
    }
    if (scope.access != Access::kPublic) {
        return {};
    }
    std::string names = MemberNames(declaration);
    if (declaration.kind != DeclarationKind::kVariable || names.empty()) {
        return {};
    }
    return AddRow(std::move(names), DoxygenComment(), MemberShapeOf(s.text, declaration));
}

LastDeclaration DoxygenWalker::UsedBaseMember(const Statement& s, char terminator,
                                              std::string_view member) {
    LastDeclaration documented;
    DoxygenItem item;
    item.kind = DoxygenKind::kFunction;
    item.name = Qualify(member);
    item.line = s.line;
    item.declarationLine = s.line;
    item.hasSyntax = true;
    item.declaration = ShownDeclaration(s.text, s.column, terminator);
    // Which base member it names, and whether that one is documented, is known once every file
    // is read; until then it stands for the text of one.
    item.lines.push_back({kSectionDescription, std::string{kCopyMark, kCopyInherited}});
    if (Current().access == Access::kProtected) {
        item.lines.push_back({kSectionDocType, std::string(kProtectedType)});
    }
    documented.item = AddItem(std::move(item));
    return documented;
}

LastDeclaration DoxygenWalker::ListMacro(std::string_view directive, const std::string& name) {
    LastDeclaration listed;
    int labelled = groups_.empty() ? -1 : groups_.back().labelled;
    int item = labelled < 0 ? -1 : groups_[static_cast<std::size_t>(labelled)].item;
    if (item < 0 || name.empty() || reading_.hidden) {
        return listed;
    }
    std::vector<DoxygenParameter>& rows = items_[static_cast<std::size_t>(item)].parameters;
    std::string value = MacroValue(directive, name);
    rows.push_back({name, {}, std::move(value)});
    listed.listedMacro = true;
    listed.rowItem = item;
    listed.row = rows.size() - 1;
    return listed;
}

std::size_t DoxygenWalker::RowScope() const {
    std::size_t index = scopes_.size() - 1;
    while (index > 0 && scopes_[index].transparent) {
        --index;
    }
    return index;
}

LastDeclaration DoxygenWalker::AddRow(std::string name, const DoxygenComment& comment,
                                      MemberShape shape) {
    LastDeclaration documented;
    if (reading_.hidden) {
        return documented;
    }
    if (name.empty()) {
        warn_(comment.line, kNamelessRow);
        return documented;
    }
    int item = ScopeItem(RowScope());
    std::vector<DoxygenParameter>& rows = items_[static_cast<std::size_t>(item)].parameters;
    std::replace_if(name.begin(), name.end(), rich::IsReservedByte, ' ');
    rows.push_back({std::move(name),
                    {},
                    RowText(comment),
                    false,
                    std::move(shape.type),
                    std::move(shape.tail)});
    documented.rowItem = item;
    documented.row = rows.size() - 1;
    return documented;
}

DoxygenItem DoxygenWalker::HolderOf(std::size_t index) const {
    const Scope& scope = scopes_[index];
    DoxygenItem item;
    item.line = scope.headLine;
    item.declarationLine = scope.headLine;
    item.kind = KindOf(scope.declaration);
    item.name = Join(scopes_[index - 1].qualified, scope.name);
    if (scope.kind == ScopeKind::kNamespace) {
        item.declaration = std::string(kNamespaceWord) + scope.name;
    } else {
        item.declaration = ShownDeclaration(scope.head, scope.headColumn, '\0');
        item.declaration.append(kElidedBody);
    }
    item.hasSyntax = true;
    return item;
}

int DoxygenWalker::ScopeItem(std::size_t index) {
    Scope& scope = scopes_[index];
    if (scope.item >= 0) {
        return scope.item;
    }
    scope.item = AddItem(HolderOf(index));
    scope.documented = scope.item;
    return scope.item;
}

void DoxygenWalker::HoldEnclosingScopes() {
    if (reading_.hidden) {
        return;
    }
    for (std::size_t index = 1; index < scopes_.size(); ++index) {
        Scope& scope = scopes_[index];
        if (scope.item >= 0 && !reading_.options.showHidden &&
            IsInternal(items_[static_cast<std::size_t>(scope.item)])) {
            // An "@internal" class or namespace keeps its text hidden, and has the page of a
            // scope without one for its documented members to lead back to.
            items_[static_cast<std::size_t>(scope.item)] = HolderOf(index);
        }
        const bool named = scope.kind == ScopeKind::kNamespace ||
                           (scope.kind == ScopeKind::kClass && !scope.transparent);
        // A specialization gets no holder: its page would stand beside its template's under the
        // same name, and take the plain page a documented template or specialization is found by.
        if (scope.item >= 0 || !named || scope.name.empty() || scope.qualified.empty() ||
            DeclaresSpecialization(scope.head, scope.name)) {
            continue;
        }
        // A holder is in no group, and the group of what follows stays as the "@{" marks say:
        // it is the page of the scope only, not a documented item that members take a group
        // from.
        items_.push_back(HolderOf(index));
        scope.item = static_cast<int>(items_.size() - 1);
    }
}

int DoxygenWalker::AddItem(DoxygenItem item) {
    if (reading_.hidden) {
        // Between "@cond" and "@endcond": not documented unless asked.
        return -1;
    }
    // A name is plain text even where the code held control bytes.
    std::replace_if(item.name.begin(), item.name.end(), rich::IsReservedByte, ' ');
    // Without a group of its own, an item is in the group of the class it stands in, else in
    // the innermost group opened by "@{".
    if (item.group.empty()) {
        item.group = GroupHere();
    }
    items_.push_back(std::move(item));
    return static_cast<int>(items_.size() - 1);
}

std::string DoxygenWalker::Qualify(std::string_view name) const {
    if (name.starts_with("::")) {
        name.remove_prefix(2);
    }
    return Join(scopes_.back().qualified, name);
}

}  // namespace sylva::doxygen_walk
