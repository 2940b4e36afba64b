// Comments: which declaration a leading or trailing comment documents, the group marks, and
// comments that document something of their own (a file, a page, a group, a named entity).
#include "scan/doxygen/walker.h"

#include <utility>

#include "scan/doxygen/items.h"
#include "scan/rich_text.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva::doxygen_walk {

namespace {

constexpr WarningKind kUnterminatedDocComment = {
    "doxygen.unterminated-doc-comment",
    "documentation comment is not closed before the end of the file; it is left out"};
constexpr WarningKind kNestedOpener = {
    "doxygen.nested-opener",
    "\"/*\" inside a documentation comment: the comment ends at the first \"*/\""};
constexpr WarningKind kDocumentsNothing = {
    "doxygen.documents-nothing",
    "documentation comment documents no declaration; its item is named \"__Untitled\""};
constexpr WarningKind kTrailingWithoutDeclaration = {
    "doxygen.trailing-without-declaration",
    "trailing documentation comment follows no declaration; it is left out"};
constexpr WarningKind kCommentInParameterList = {
    "doxygen.comment-in-parameter-list",
    "documentation comment inside a parameter list documents nothing; write \"/**<\" behind "
    "the parameter instead"};
constexpr WarningKind kStrayGroupClose = {"doxygen.stray-group-close",
                                          "\"@}\" closes no \"@{\"; it is passed over"};
constexpr WarningKind kMemberGroupDescribesNothing = {
    "doxygen.member-group-describes-nothing",
    "the text of a \"@name\" member group stands in no documented class or enum; it is left out"};
// How much of a parameter's text, from its end, names the parameter of a trailing comment.
constexpr std::size_t kParameterTail = 4096;

}  // namespace

void DoxygenWalker::DocComment(const SourceEvent& event) {
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
    DoxygenComment comment = ParseDoxygenComment(*event.lines, event.blockComment, reading_);
    reading_.hidden = comment.hidesWhatFollows;
    if (!event.trailing && statement_.braceDepth > 0) {
        // Inside an initializer's braces a comment documents nothing, and the statement goes on
        // behind it: dropping the statement would leave its closing brace to close the scope.
        ApplyGroupMarks(comment, event.line);
        return;
    }
    SeparateInStatement();
    if (event.trailing) {
        ApplyGroupMarks(comment, event.line);
        TrailingComment(std::move(comment));
    } else {
        LeadingComment(std::move(comment));
    }
}

void DoxygenWalker::LeadingComment(DoxygenComment comment) {
    int line = comment.line;
    if (Current().kind != ScopeKind::kEnum && IsMacroWords(statement_.text)) {
        // A macro on its own line ("NS_BEGIN") with a comment behind it: the comment documents
        // what follows, so no declaration starts at the macro. In an enum such a word is the
        // last enumerator.
        statement_ = {};
    }
    switch (comment.subject) {
        case CommentSubject::kFile:
        case CommentSubject::kMainPage:
        case CommentSubject::kPage:
        case CommentSubject::kGroup: {
            FlushPending();
            DoxygenComment marks;
            marks.groupMarks = std::move(comment.groupMarks);
            const bool opens = std::any_of(marks.groupMarks.begin(), marks.groupMarks.end(),
                                           [](const GroupMark& mark) { return mark.open; });
            std::string label = comment.subject == CommentSubject::kGroup && !opens
                                    ? comment.subjectName
                                    : std::string();
            AddStandalone(std::move(comment));
            ApplyGroupMarks(marks, line);
            unopenedGroup_ = std::move(label);
            return;
        }
        case CommentSubject::kNamedEntity:
            // It waits for the declaration it names, which may come after other declarations
            // and in another scope.
            FlushPending();
            ApplyGroupMarks(comment, line);
            named_.push_back({std::move(comment), Current().qualified});
            ResetStatement();
            return;
        case CommentSubject::kNextDeclaration:
            break;
    }
    if (comment.memberGroup) {
        MemberGroupComment(std::move(comment));
        return;
    }
    ApplyGroupMarks(comment, line);
    if (comment.OnlyGroupMarks()) {
        return;
    }
    // A "@name" title belongs to the "@{" right behind it, not to one after a declaration.
    memberGroupTitle_.clear();
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

void DoxygenWalker::MemberGroupComment(DoxygenComment comment) {
    FlushPending();
    const int line = comment.line;
    std::string title = comment.title;
    DoxygenComment marks;
    marks.groupMarks = std::move(comment.groupMarks);
    if (!comment.lines.empty() || !comment.parameters.empty()) {
        Scope& scope = Current();
        if (IndexesMemberGroups() && !title.empty()) {
            comment.subject = CommentSubject::kGroup;
            comment.subjectName = title;
            AddStandalone(std::move(comment));
        } else if ((scope.kind == ScopeKind::kClass || scope.kind == ScopeKind::kEnum) &&
                   scope.item >= 0) {
            if (!title.empty()) {
                std::string heading(1, rich::kBoldOpen);
                rich::AppendStripped(heading, title);
                heading.push_back(rich::kBoldClose);
                comment.lines.insert(comment.lines.begin(),
                                     {kSectionDescription, std::move(heading)});
            }
            MergeComment(items_[static_cast<std::size_t>(scope.item)], std::move(comment));
        } else {
            warn_(line, kMemberGroupDescribesNothing);
        }
    }
    memberGroupTitle_ = std::move(title);
    ApplyGroupMarks(marks, line);
}

bool DoxygenWalker::IndexesMemberGroups() const {
    ScopeKind kind = scopes_.back().kind;
    bool fileLevel =
        kind == ScopeKind::kFile || kind == ScopeKind::kNamespace || kind == ScopeKind::kLinkage;
    int labelled = groups_.empty() ? -1 : groups_.back().labelled;
    return fileLevel && (labelled < 0 || groups_[static_cast<std::size_t>(labelled)].member);
}

void DoxygenWalker::TrailingComment(DoxygenComment comment) {
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
    } else if (last_.listedMacro) {
        // A documented macro is an item of its own, not a row of its group.
        items_[static_cast<std::size_t>(last_.rowItem)].parameters.pop_back();
        LastDeclaration documented = DocumentMacro(
            last_.statement.text, ParseMacro(last_.statement.text), std::move(comment));
        last_.listedMacro = false;
        last_.rowItem = -1;
        last_.item = documented.item;
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
            last_.macro ? DocumentMacro(last_.statement.text, ParseMacro(last_.statement.text),
                                        std::move(comment))
                        : Document(last_.statement, last_.terminator, std::move(comment));
        last_.item = documented.item;
        last_.rowItem = documented.rowItem;
        last_.row = documented.row;
    }
    if (last_.item >= 0 || last_.rowItem >= 0) {
        MarkSeenDocumented(last_.seen);
    }
}

void DoxygenWalker::ApplyGroupMarks(const DoxygenComment& comment, int line) {
    std::string unopened = std::exchange(unopenedGroup_, {});
    for (const GroupMark& mark : comment.groupMarks) {
        if (mark.open) {
            std::string memberTitle = std::exchange(memberGroupTitle_, {});
            // A bare "@{" right behind a group's comment opens that group, not a member group.
            const bool opensGroup = mark.label.empty() && memberTitle.empty() && !unopened.empty();
            bool member = mark.label.empty() && !opensGroup;
            std::string label = opensGroup              ? std::exchange(unopened, {})
                                : !member               ? mark.label
                                : IndexesMemberGroups() ? std::move(memberTitle)
                                                        : std::string();
            int labelled = !label.empty()    ? static_cast<int>(groups_.size())
                           : groups_.empty() ? -1
                                             : groups_.back().labelled;
            int item = -1;
            if (!label.empty() && groupItem_ >= 0 &&
                items_[static_cast<std::size_t>(groupItem_)].name == label) {
                item = groupItem_;
            }
            groups_.push_back({std::move(label), line, labelled, member, item});
        } else if (groups_.empty()) {
            warn_(line, kStrayGroupClose);
        } else {
            groups_.pop_back();
        }
    }
}

void DoxygenWalker::GroupMarkComment(const SourceEvent& event) {
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

void DoxygenWalker::EndConditionComment(const SourceEvent& event) {
    if (!reading_.hidden || event.unterminated) {
        return;
    }
    constexpr std::string_view kEnd = "endcond";
    const std::string_view text = event.text;
    for (std::size_t at = text.find(kEnd); at != std::string_view::npos;
         at = text.find(kEnd, at + 1)) {
        const std::size_t end = at + kEnd.size();
        if (at > 0 && (text[at - 1] == '@' || text[at - 1] == '\\') &&
            (end == text.size() || !IsWordByte(text[end]))) {
            reading_.hidden = false;
            return;
        }
    }
}

DoxygenComment DoxygenWalker::TakePending() {
    DoxygenComment comment = std::move(*pending_);
    pending_.reset();
    return comment;
}

void DoxygenWalker::FlushPending() {
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

bool DoxygenWalker::TakeNamed(std::string_view declared) {
    if (named_.empty() || pending_ || declared.empty()) {
        return false;
    }
    for (auto waiting = named_.begin(); waiting != named_.end(); ++waiting) {
        if (NamesDeclaration(waiting->comment, declared)) {
            pending_ = std::move(waiting->comment);
            named_.erase(waiting);
            return true;
        }
    }
    return false;
}

void DoxygenWalker::AddStandalone(DoxygenComment comment, std::string_view scope) {
    for (DoxygenComment::DefinedGroup& earlier : comment.earlierGroups) {
        DoxygenItem group;
        group.line = comment.line;
        group.kind = DoxygenKind::kGroup;
        group.name = std::move(earlier.label);
        group.title = std::move(earlier.title);
        group.lines = std::move(earlier.lines);
        AddItem(std::move(group));
    }
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
    DoxygenItem item = ItemFromComment(std::move(comment));
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
                if (name.starts_with("::")) {
                    name.erase(0, 2);
                }
                name = Join(scope, name);
            }
            break;
    }
    if (subject != CommentSubject::kNamedEntity && subject != CommentSubject::kNextDeclaration) {
        item.space = std::string(scope);
    }
    item.name = std::move(name);
    if (!declared.empty()) {
        item.declaration = ShownDeclaration(declared, 0, '\0');
        item.hasSyntax = true;
        if (item.kind == DoxygenKind::kFunction) {
            item.signature = declaration.signature;
        }
        CheckParameters(item, declaration, comment.parameterLines, warn_);
    }
    int added = AddItem(std::move(item));
    if (subject == CommentSubject::kGroup) {
        groupItem_ = added;
    }
}

}  // namespace sylva::doxygen_walk
