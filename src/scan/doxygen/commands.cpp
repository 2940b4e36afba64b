// The table of known commands.
#include "scan/doxygen/commands.h"

#include <algorithm>
#include <array>

namespace sylva {

namespace {

using enum CommandAction;

constexpr KnownCommand Plain(std::string_view name, CommandAction action,
                             SectionKind section = kSectionDescription) {
    return {name, action, section, {}, NamedArgument::kName, DoxygenKind::kOther};
}

constexpr KnownCommand Section(std::string_view name, SectionKind section,
                               std::string_view label = {}) {
    return {name, kSection, section, label, NamedArgument::kName, DoxygenKind::kOther};
}

constexpr KnownCommand Block(std::string_view name, CommandAction action, std::string_view end) {
    return {name, action, kSectionExamples, end, NamedArgument::kName, DoxygenKind::kOther};
}

constexpr KnownCommand Note(std::string_view name, std::string_view label) {
    return {name, kNote, kSectionDescription, label, NamedArgument::kName, DoxygenKind::kOther};
}

constexpr KnownCommand Named(std::string_view name, DoxygenKind kind,
                             NamedArgument argument = NamedArgument::kName) {
    return {name, kNamedEntity, kSectionDescription, {}, argument, kind};
}

// Sorted by name, for binary search.
constexpr auto kCommands = std::to_array<KnownCommand>({
    Plain("a", kEmphasis),
    Plain("addindex", kIgnoreLine),
    Plain("addtogroup", kAddToGroup),
    Plain("anchor", kAnchor),
    Plain("arg", kListItem),
    Note("attention", "Attention"),
    Section("author", kSectionAuthor),
    Section("authors", kSectionAuthor),
    Plain("b", kBold),
    Section("brief", kSectionDescription),
    Note("bug", "Bug"),
    Plain("c", kCode),
    Plain("callergraph", kIgnore),
    Plain("callgraph", kIgnore),
    Named("category", DoxygenKind::kClass),
    Plain("cite", kIgnoreWord),
    Named("class", DoxygenKind::kClass),
    Block("code", kCodeBlock, "endcode"),
    Named("concept", DoxygenKind::kClass),
    Plain("cond", kCondition),
    Plain("copybrief", kCopyDoc),
    Plain("copydetails", kCopyDoc),
    Plain("copydoc", kCopyDoc),
    Section("copyright", kSectionCopyright),
    Section("date", kSectionHistory),
    Named("def", DoxygenKind::kMacro),
    Plain("defgroup", kDefineGroup),
    Note("deprecated", "Deprecated"),
    Section("details", kSectionDescription),
    Plain("dir", kIgnoreLine),
    Block("docbookonly", kDroppedBlock, "enddocbookonly"),
    Plain("dontinclude", kExampleFile),
    Block("dot", kDroppedBlock, "enddot"),
    Plain("e", kEmphasis),
    Plain("else", kIgnore),
    Plain("elseif", kIgnoreWord),
    Plain("em", kEmphasis),
    Plain("endcode", kStrayEnd),
    Plain("endcond", kEndCondition),
    Plain("enddocbookonly", kStrayEnd),
    Plain("enddot", kStrayEnd),
    Plain("endhtmlonly", kIgnore),
    Plain("endif", kIgnore),
    Plain("endinternal", kEndInternal),
    Plain("endlatexonly", kStrayEnd),
    Plain("endlink", kEndLink),
    Plain("endmanonly", kStrayEnd),
    Plain("endmsc", kStrayEnd),
    Plain("endrtfonly", kStrayEnd),
    Plain("enduml", kStrayEnd),
    Plain("endverbatim", kStrayEnd),
    Plain("endxmlonly", kStrayEnd),
    Named("enum", DoxygenKind::kEnum),
    Plain("example", kExampleFile),
    Plain("exception", kException, kSectionThrows),
    Plain("extends", kBase),
    Plain("file", kFile),
    Named("fn", DoxygenKind::kFunction, NamedArgument::kDeclaration),
    Plain("headerfile", kIgnoreLine),
    Plain("hidecallergraph", kIgnore),
    Plain("hidecallgraph", kIgnore),
    Plain("hideinitializer", kIgnore),
    Plain("hiderefby", kIgnore),
    Plain("hiderefs", kIgnore),
    Plain("htmlinclude", kExampleFile),
    Plain("htmlonly", kIgnore),
    Plain("if", kIgnoreWord),
    Plain("ifnot", kIgnoreWord),
    Plain("image", kImage),
    Plain("implements", kBase),
    Plain("include", kExampleFile),
    Plain("includedoc", kExampleFile),
    Plain("includelineno", kExampleFile),
    Plain("ingroup", kInGroup),
    Named("interface", DoxygenKind::kClass),
    Plain("internal", kInternal),
    Note("invariant", "Invariant"),
    Block("latexonly", kDroppedBlock, "endlatexonly"),
    Plain("li", kListItem),
    Plain("line", kExampleCursor),
    Plain("lineinfo", kIgnore),
    Plain("link", kLink),
    Plain("mainpage", kMainPage),
    Block("manonly", kDroppedBlock, "endmanonly"),
    Plain("memberof", kRelates),
    Block("msc", kDroppedBlock, "endmsc"),
    Plain("n", kLineBreak),
    Plain("name", kMemberGroup),
    Named("namespace", DoxygenKind::kNamespace),
    Plain("nosubgrouping", kIgnore),
    Note("note", "Note"),
    Plain("overload", kOverload),
    Plain("p", kCode),
    Plain("page", kPage),
    Plain("par", kParagraphTitle, kSectionRemarks),
    Plain("paragraph", kHeading),
    Plain("param", kParameter),
    Note("post", "Postcondition"),
    Note("pre", "Precondition"),
    Plain("private", kIgnore),
    Plain("privatesection", kIgnore),
    Named("property", DoxygenKind::kVariable, NamedArgument::kDeclaration),
    Plain("protected", kIgnore),
    Plain("protectedsection", kIgnore),
    Named("protocol", DoxygenKind::kClass),
    Plain("public", kIgnore),
    Plain("publicsection", kIgnore),
    Plain("pure", kIgnore),
    Plain("ref", kReference),
    Plain("related", kRelates),
    Plain("relatedalso", kRelates),
    Plain("relates", kRelates),
    Plain("relatesalso", kRelates),
    Note("remark", "Remarks"),
    Note("remarks", "Remarks"),
    Section("result", kSectionReturn),
    Section("return", kSectionReturn),
    Section("returns", kSectionReturn),
    Plain("retval", kReturnValue, kSectionReturn),
    Block("rtfonly", kDroppedBlock, "endrtfonly"),
    Section("sa", kSectionSeeAlso),
    Plain("section", kHeading),
    Section("see", kSectionSeeAlso),
    Plain("short", kSection, kSectionDescription),
    Plain("showinitializer", kIgnore),
    Plain("showrefby", kIgnore),
    Plain("showrefs", kIgnore),
    Section("since", kSectionVersion, "Since:"),
    Plain("skip", kExampleCursor),
    Plain("skipline", kExampleCursor),
    Plain("snippet", kExampleFile),
    Plain("snippetdoc", kExampleFile),
    Plain("snippetlineno", kExampleFile),
    Block("startuml", kDroppedBlock, "enduml"),
    Plain("static", kIgnore),
    Named("struct", DoxygenKind::kStruct),
    Plain("subpage", kIgnoreWord),
    Plain("subsection", kHeading),
    Plain("subsubsection", kHeading),
    Plain("tableofcontents", kIgnore),
    Note("test", "Test"),
    Plain("throw", kException, kSectionThrows),
    Plain("throws", kException, kSectionThrows),
    Note("todo", "Todo"),
    Plain("tparam", kTemplateParameter),
    Named("typedef", DoxygenKind::kTypedef, NamedArgument::kDeclaration),
    Named("union", DoxygenKind::kUnion),
    Plain("until", kExampleCursor),
    Named("var", DoxygenKind::kVariable, NamedArgument::kDeclaration),
    Block("verbatim", kCodeBlock, "endverbatim"),
    Plain("verbinclude", kExampleFile),
    Section("version", kSectionVersion),
    Note("warning", "Warning"),
    Plain("weakgroup", kAddToGroup),
    Block("xmlonly", kDroppedBlock, "endxmlonly"),
});

constexpr bool NamesSorted() {
    for (std::size_t i = 1; i < kCommands.size(); ++i) {
        if (!(kCommands[i - 1].name < kCommands[i].name)) {
            return false;
        }
    }
    return true;
}
static_assert(NamesSorted(), "the command table must stay sorted by name");

}  // namespace

bool IsInline(CommandAction action) {
    switch (action) {
        case kCode:
        case kBold:
        case kEmphasis:
        case kReference:
        case kLink:
        case kEndLink:
        case kLineBreak:
        case kAnchor:
            return true;
        default:
            return false;
    }
}

const KnownCommand* FindCommand(std::string_view name) {
    auto found = std::lower_bound(
        kCommands.begin(), kCommands.end(), name,
        [](const KnownCommand& known, std::string_view key) { return known.name < key; });
    return found != kCommands.end() && found->name == name ? &*found : nullptr;
}

}  // namespace sylva
