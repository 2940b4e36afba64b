// What one documentation comment says, read from its lines: its section lines and table rows in
// rich text, and the commands that place it (a group, a file or page of its own, a named entity).
// Joining it to the declaration it documents is the reader's work (reader.cpp).
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "scan/doxygen/reader.h"
#include "scan/doxygen/source_lexer.h"

namespace sylva {

// "@{" (open) and "@}" (close), in the order a comment gives them.
struct GroupMark {
    bool open = true;
    std::string label;  // the group an "@{" opens; empty for a member group
};

// What a comment documents.
enum class CommentSubject {
    kNextDeclaration,  // the declaration that follows (or precedes, for a trailing comment)
    kFile,
    kMainPage,
    kPage,
    kGroup,
    kNamedEntity,  // an entity a command names (class, fn, def, ...)
};

struct DoxygenComment {
    int line = 0;
    std::vector<DoxygenLine> lines;
    std::vector<DoxygenParameter> parameters;
    std::vector<int> parameterLines;  // the line of each row's command, for warnings
    std::string group;                // from ingroup
    bool internal = false;            // "@internal" before any text: an internal item
    // The comment ended inside "@cond": what follows it is hidden until "@endcond".
    bool hidesWhatFollows = false;
    CommentSubject subject = CommentSubject::kNextDeclaration;
    DoxygenKind namedKind = DoxygenKind::kOther;  // kNamedEntity: the kind its command gives
    std::string subjectName;       // the file, page, group or entity name; may be empty
    std::string namedDeclaration;  // kNamedEntity by fn, var, typedef: the declaration given
    std::string title;             // of a page or group
    std::vector<GroupMark> groupMarks;
    // Groups a "@defgroup" defined before another one in the same comment: each is a group of
    // its own, with the text written up to the next one.
    struct DefinedGroup {
        std::string label;
        std::string title;
        std::vector<DoxygenLine> lines;
    };
    std::vector<DefinedGroup> earlierGroups;
    std::vector<std::string> anchors;  // the labels of "@anchor", "@section" and the like
    std::vector<std::string> bases;    // from "@extends" and "@implements"
    std::string relatesTo;             // the class "@relates" or "@memberof" names
    bool memberOf = false;             // "@memberof": a member of that class
    bool example = false;              // "@example" opened it: a page of an example program
    bool groupCommand = false;         // "@name", "@addtogroup" or "@weakgroup" was given
    // A group's text that "@addtogroup" or "@weakgroup" gave: it adds to the group of its label
    // wherever that is defined, and defines none.
    bool addsToGroup = false;
    // "@name" was given: the comment describes the member group its `title` names (which the
    // next "@{" opens), not a declaration.
    bool memberGroup = false;

    // True iff the comment holds no text, no rows and no subject of its own, only group marks
    // or group commands: it documents nothing and only changes the groups that follow.
    bool OnlyGroupMarks() const;
};

// What reading the comments of one file needs beside their text, and what it remembers from one
// comment to the next.
struct DoxygenReading {
    DoxygenWarning warn;
    DoxygenOptions options;
    // The unknown commands reported already: each is reported once per file.
    mutable std::unordered_set<std::string> reportedUnknown;
    // Inside "@cond" ... "@endcond" that an earlier comment opened: text and declarations are
    // hidden until a comment closes it (unless the options show hidden text).
    mutable bool hidden = false;
    // The aliases whose runaway use was reported already: each is reported once per file.
    mutable std::unordered_set<std::string> reportedAliases;
};

// Reads one comment. `blockComment`: its lines come from "/**" or "/*!" and may carry a leading
// "*" each. Warns of commands without their argument, unclosed blocks and unknown commands.
DoxygenComment ParseDoxygenComment(const std::vector<CommentLine>& lines, bool blockComment,
                                   const DoxygenReading& reading);

}  // namespace sylva
