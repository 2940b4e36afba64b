// Building documented items from what a comment says and what the declaration beside it declares:
// the declaration as shown, table rows, the Doc type lines, and the parameter checks.
#pragma once

#include <string>
#include <string_view>

#include "scan/cpp/declaration.h"
#include "scan/doxygen/comment.h"
#include "scan/doxygen/reader.h"

namespace sylva {

// The Doc type words the reader gives an item; the type label reads them as configured.
inline constexpr std::string_view kInternalType = "Internal";
inline constexpr std::string_view kProtectedType = "Protected";
inline constexpr std::string_view kPrivateType = "Private";
inline constexpr std::string_view kConstructorType = "Constructor";
inline constexpr std::string_view kDestructorType = "Destructor";

// A declaration shown as written, from its text: comments are gone already; line ends stay,
// blank lines go, and the indentation its first line had (`column`) is taken from the lines
// after it. `terminator` ';' is shown; past kMaxShownLines lines the rest is cut to "...".
std::string ShownDeclaration(std::string_view text, std::size_t column, char terminator);
inline constexpr std::size_t kMaxShownLines = 30;

// The item kind of a declaration kind.
DoxygenKind KindOf(DeclarationKind kind);

// An item carrying the comment's lines, rows and group; an internal comment adds its Doc type.
// The comment's text moves into the item; its subject and the lines of its rows
// (`parameterLines`) stay with the comment, for the warnings that follow.
DoxygenItem ItemFromComment(DoxygenComment&& comment);

// Adds what `more` says to `into`: a later comment before the same declaration, or a trailing
// comment behind it. Description paragraphs of the two stay apart.
void MergeComment(DoxygenComment& into, DoxygenComment more);
void MergeComment(DoxygenItem& into, DoxygenComment more);

// The text of a table row that `comment` documents: its lines and rows run together.
std::string RowText(const DoxygenComment& comment);

// Warns of rows of `item` that name no parameter of `declaration`, and, when the item documents
// some parameters, of the parameters it leaves out; `rowLines` holds the source line of each
// row's command. Says nothing when the declaration has no parameter list or leaves a parameter
// unnamed.
void CheckParameters(const DoxygenItem& item, const CppDeclaration& declaration,
                     const std::vector<int>& rowLines, const DoxygenWarning& warn);

}  // namespace sylva
