// The commands of documentation comments ("@param" or "\param") and what each one does: one row
// per command, so that the list of known commands and their meaning cannot drift apart.
#pragma once

#include <string_view>

#include "scan/doxygen/reader.h"
#include "scan/items.h"

namespace sylva {

enum class CommandAction {
    kSection,    // a paragraph into `section`, opened by `label` in bold when it has one
    kNote,       // note, warning, todo, pre, ...: a paragraph in place, headed by `label`
    kParameter,  // param: a row of the parameter table
    kTemplateParameter,
    kReturnValue,     // retval: a Return paragraph opened by the value as code
    kException,       // throw: a Throws paragraph opened by the exception type as code
    kParagraphTitle,  // par: a bold title, then a Remarks paragraph
    kHeading,         // section, subsection: a label, then a bold title line in Description
    kCodeBlock,       // code ... endcode, verbatim ... endverbatim: code where it stands
    kDroppedBlock,    // latexonly ... endlatexonly and the like: lines for other outputs
    kCode,            // c, p: the next word as code
    kBold,            // b
    kEmphasis,        // a, e, em
    kReference,       // ref name ["text"]
    kLink,            // link name text endlink
    kEndLink,
    kLineBreak,  // n
    kAnchor,     // anchor label: a place references may lead to
    kListItem,   // li, arg
    kImage,      // image format file ["caption"]
    kInGroup,
    kDefineGroup,  // defgroup label title
    kAddToGroup,   // addtogroup, weakgroup: label [title]
    kMemberGroup,  // name: a title for the "@{" that follows
    kFile,
    kMainPage,
    kPage,
    kNamedEntity,  // class, struct, fn, def, ...: documents `kind`'s entity named by its argument
    kInternal,
    kEndInternal,
    kCondition,  // cond [label]: hides what follows, up to endcond, unless asked
    kEndCondition,
    kCopyDoc,        // copydoc, copybrief, copydetails: the text of the item named, copied
    kOverload,       // overload: the text of the function it overloads, copied
    kBase,           // extends, implements: a base of the class documented
    kRelates,        // relates, memberof, ...: the class whose page shows the function
    kExampleFile,    // include, snippet, example, ...: the file named as an example
    kExampleCursor,  // skip, skipline, until, line: a move through the file of dontinclude
    kStrayEnd,       // an end command without its opening command
    kIgnoreLine,     // headerfile, addindex, ...: no place on a page; the rest of the line goes
    kIgnoreWord,     // anchor, cite, cond, if, ...: one word goes
    kIgnore,         // nosubgrouping, hideinitializer, ...: nothing else goes
};

// What kNamedEntity names: the argument is a declaration (fn, var, typedef) or a plain name.
enum class NamedArgument { kName, kDeclaration };

struct KnownCommand {
    std::string_view name;
    CommandAction action;
    SectionKind section = kSectionDescription;
    std::string_view label;  // kSection: the bold label; blocks: the closing command
    NamedArgument argument = NamedArgument::kName;
    DoxygenKind namedKind = DoxygenKind::kOther;  // kNamedEntity: what its entity is
};

// The command named `name` (without its "@" or "\"), or null for an unknown command.
const KnownCommand* FindCommand(std::string_view name);

// True iff the command formats or links words of a paragraph: the inline pass runs it, where the
// paragraph's text has been read as Markdown.
bool IsInline(CommandAction action);

}  // namespace sylva
