// The reader of Javadoc/Doxygen-style documentation comments: a second input style beside the
// marker blocks, turning a source file's bytes into documented items that feed the same sections.
//
// It reads "/** ... */" and "/*! ... */" blocks (with or without a leading "*" on each line),
// runs of "///" or "//!" lines, and trailing member comments ("/**<", "/*!<", "///<", "//!<").
// A comment documents the declaration that follows it, up to its first ";" or "{" (a "#define"
// to the end of its logical line). A trailing comment documents what stands before it: an enum
// value, a data member or a parameter becomes a row of the enclosing item's table; a declaration
// at namespace scope becomes an item of its own.
//
// Items: one per documented function, class, struct, union, enum, typedef, variable, macro and
// namespace. Data members and enum values are rows of their enclosing item, whether their
// comment stands before or behind them; an enclosing struct without a comment of its own gets
// an item for its rows. A documented type lists its undocumented public data members and enum
// values as rows without text, and a group whose defining comment stands in the file lists the
// undocumented macros inside it as rows with their values. Comments inside function bodies are
// passed over. A comment with "@file", "@mainpage", "@page" or "@defgroup" is an item of its
// kind, and so is one that opens with "@example" (a page named by the example's file); one with
// "@fn", "@class", "@struct", "@def" (and the like) documents the declaration of that name that
// follows, anywhere later in the file, or, when none does, an item of that name without syntax.
//
// Names carry every enclosing named scope, joined by "::": namespaces, classes, structs and
// unions (ns::Outer::Inner::f). Anonymous and inline namespaces and extern "C" blocks add
// nothing. A declaration written with a qualified name keeps it behind the scopes it stands in
// (inside "namespace garden", "void CBed::Plant()" is "garden::CBed::Plant"). A typedef'd body
// keeps its tag ("typedef struct tag {...} Name;" is tag) and without one takes the typedef's
// name ("typedef struct {...} Name;" is Name); an anonymous body
// without one takes its first row's name; an item with no name at all is "__Untitled".
//
// Groups: an item's group is the label of its "@ingroup", else the group of the documented
// class it stands in, else the innermost group opened by "@defgroup" or "@addtogroup" and "@{",
// else, at file or namespace scope, the title of the innermost member group ("@name" and "@{").
// A "@name" comment documents its member group, not a declaration: its text is the page of a
// group item named by the title where the title heads items, else part of the description of
// the class or enum it stands in.
// Doc type lines carry what the type label shows: "Protected" or "Private" for class members
// under those labels, "Constructor", "Destructor", and "Internal" for an "@internal" comment.
//
// Text is rich text (scan/rich_text.h). Everything here is a pure function of the bytes: no
// state is shared, so files may be read on several threads at once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan.h"
#include "support/warning_kind.h"

namespace sylva {

class CommentAliases;

// One row of an item's parameter or member table.
struct DoxygenParameter {
    std::string name;                // as the comment or the declaration names it ("a, b" for two)
    std::string direction;           // "in", "out", "in,out" or empty
    std::string text;                // rich text
    bool templateParameter = false;  // from tparam
    // A data member's type, and what follows its name (bounds, a bit-field width, an
    // enumerator's value), as its declaration writes them; empty for anything else.
    std::string type = {};
    std::string tail = {};
};

// One line of a section: one block of rich text (a paragraph, a list, a code block, ...). A See
// also line without spaces names one item; a Doc type line is a plain word. A Description line
// that opens with kCopyMark stands for the text of another item, copied once every file is read:
// then kCopyAll, kCopyBrief or kCopyDetails, then the item's name as written (empty: the function
// an "@overload" comment overloads), or kCopyInherited alone: an undocumented member function of
// a derived class, which takes the text of the documented base member it overrides or, when it
// overrides none, is no item.
struct DoxygenLine {
    SectionKind section;
    std::string text;  // rich text
};

inline constexpr char kCopyMark = '\x07';
inline constexpr char kCopyAll = 'a';
inline constexpr char kCopyBrief = 'b';
inline constexpr char kCopyDetails = 'd';
inline constexpr char kCopyInherited = 'i';

// One documented entity found in a source file.
struct DoxygenItem {
    int line = 0;  // 1-based line where its comment starts
    // 1-based line where the declaration it documents starts; 0 when the comment names an
    // entity declared elsewhere, or none.
    int declarationLine = 0;
    DoxygenKind kind = DoxygenKind::kOther;
    std::string name;                // enclosing scopes joined by "::" + the declared name
    std::string declaration;         // the code documented, as the page's Syntax block shows it
    bool hasSyntax = false;          // true when there is a declaration to show
    std::string group;               // the label from ingroup / addtogroup / defgroup; empty: none
    std::string title;               // the title of a group or page item
    bool addsToGroup = false;        // a group's text from "@addtogroup": it defines no group
    std::vector<DoxygenLine> lines;  // section lines in the order written
    std::vector<DoxygenParameter> parameters;  // rows of the parameter/member table
    // A function's parameter types, as "(int,const char*)", to tell overloads apart; empty for
    // anything else.
    std::string signature;
    bool definition = false;           // a function with its body, a variable with its value
    std::vector<std::string> anchors;  // places in its text that references may lead to
    std::vector<std::string> bases;    // the bases its comment names
    std::string relatesTo;             // the class whose page shows it ("@relates")
    // A group's, page's or file's: the scope its comment stood in, where the names its text
    // writes are looked up first ("@ref lane_add" in "namespace pond { /** @addtogroup lanes").
    std::string space;
    bool example = false;  // a page of "@example": in the group of examples
};

// Calls warn(line, message) for every problem worth telling the author.
using DoxygenWarning = std::function<void(int line, const WarningMessage& message)>;

// The file name under which the pages show the image `file` that a comment at `line` names: a
// web address as it is, a file found beside the source as the name of its copy beside the pages;
// empty when it cannot be shown (the resolver says why).
using ImageResolver = std::function<std::string(std::string_view file, int line)>;

// The reference name a Markdown link to the local file `target` at `line` leads to (the label of
// a Markdown page, the name of a file's item); empty when the link is not followed, its text
// kept (the resolver says why); nothing when `target` is no file path and names an item as any
// reference does.
using LinkResolver = std::function<std::optional<std::string>(std::string_view target, int line)>;

// The text of the example file `file` that a command at `line` names, found in the example path;
// nothing when it is not shown (the resolver says why). The text may have been cut short.
using ExampleResolver = std::function<std::optional<std::string>(std::string_view file, int line)>;

// How the comments of a file are read.
struct DoxygenOptions {
    // Show what "@internal" and "@cond" hide (the text of an internal comment, the declarations
    // and comments between "@cond" and "@endcond").
    bool showHidden = false;
    // Without one, no image is shown: its alt text stands in its place.
    ImageResolver images;
    // Without one, every link target is a reference name.
    LinkResolver links;
    // With one, "@include", "@snippet", "@dontinclude" (and its cursor) and "@example" show the
    // file's text as code; without one, nothing is read and the Examples section names the file.
    ExampleResolver examples;
    // Replaced in each comment before its commands are read; null: none.
    const CommentAliases* aliases = nullptr;
    // With one, every public declaration the file holds is appended to it, documented or not,
    // once each (a declaration repeated in two branches of an "#if" is one, documented when
    // either is). Public: at file or namespace scope, or a public or protected member of a
    // class, struct or union that is itself public; not inside an anonymous namespace, a
    // function body or "@cond"; not "static" outside a class; not a forward declaration, a
    // friend, a definition of a member outside its class (a qualified name), an include guard,
    // an anonymous type, an enumerator, or a namespace. An "@internal" declaration counts only
    // when `showHidden`, then as documented.
    std::vector<SeenDeclaration>* declarations = nullptr;
};

// The documented items of one source file, in the order their comments stand (an item whose
// table a later trailing comment fills stands where it was first needed; a named entity's comment
// whose declaration is not in the file, at the end).
std::vector<DoxygenItem> ReadDoxygenComments(std::string_view content, const DoxygenWarning& warn,
                                             const DoxygenOptions& options = {});

// The page of a Markdown file, `content`: one item of kind kPage named `label` (kMainPage when
// `mainPage`), titled by its first heading of level 1 (which the text then leaves out) or, without
// one, by `fileName`; read with the Markdown and commands of a comment. A "@page" or "@mainpage"
// in the text names and titles the page as it does in a comment. Never more than one item.
std::vector<DoxygenItem> ReadMarkdownPage(std::string_view content, std::string_view label,
                                          std::string_view fileName, bool mainPage,
                                          const DoxygenWarning& warn,
                                          const DoxygenOptions& options = {});

// Files one item of `job`'s list per item that the comments of `content`, the bytes of the file
// `path`, document; their warnings go to the job's reporter at `path`. Returns the number of
// items.
int ScanDoxygenContent(ScanJob& job, std::string_view content, const std::string& path,
                       CZTTime lastWrite);

// Files the page of the Markdown file `path`, `content` (ReadMarkdownPage): labelled by
// MarkdownPageLabel, the main page when the settings name it so; its warnings go to the job's
// reporter at `path`. Returns the number of items (1).
int ScanMarkdownPage(ScanJob& job, std::string_view content, const std::string& path,
                     CZTTime lastWrite);

// The label of the page of the Markdown file at `path`: "md_" and its path from the current
// directory (the absolute path when it lies elsewhere) without its extension, each byte but an
// ASCII letter or digit replaced by '_'. "docs/guide.md" gives "md_docs_guide".
std::string MarkdownPageLabel(std::string_view path);
// True iff `path` names a header file (.h, .hh, .hpp, .hxx, .h++, in any case): the files whose
// declarations the coverage counts are made of.
bool IsHeaderFile(std::string_view path);

// What a comment of the file `source` that shows the image `written` shows in a scan of
// `scanPath` with `settings`: a web address as written; a file found beside the source, in a scan
// path or in the image path (or at its absolute path) and lying inside one of those places, by the
// name of its copy beside the pages; nothing otherwise, with `found` telling a file outside them
// from one that is missing. Nothing is read.
ItemList::ImageLookup LookUpImage(const Settings& settings, const std::string& scanPath,
                                  const std::string& source, std::string_view written);

// The most bytes of an example file that are shown.
inline constexpr std::size_t kExampleMostBytes = std::size_t{4} << 20;

// An example file as a comment's command names it: found in a directory or as a file of the
// example path (SYL_EXAMPLE_PATH; below the directories too when SYL_EXAMPLE_RECURSIVE is on,
// the name passing SYL_EXAMPLE_PATTERNS), and at most kExampleMostBytes of it read, cut at a
// line end. No file outside the example path is read.
struct ExampleRead {
    ItemList::ExampleLookup lookup;
    std::optional<std::string> text;  // nothing: not found, outside or unreadable
    bool outside = false;             // the name leads out of the example path
    bool cut = false;                 // the file is larger than what is shown
};
ExampleRead ReadExample(const Settings& settings, std::string_view written);

}  // namespace sylva
