// How an item made by the list gets its index fields: the steps ItemList::Add runs, and the
// helpers the file scan and the tests share with it.
#pragma once

#include <string>
#include <string_view>

#include "scan/items.h"

namespace sylva {

// The declaration an item keeps: `declaration` without leading line feeds and spaces, or
// kUntitledName when nothing is left.
std::string_view DeclaredText(std::string_view declaration);

// True iff `declaration` holds nothing but line feeds and spaces: its item is named
// kUntitledName.
bool DeclaresNothing(std::string_view declaration);

// Derives the name, the syntax flag, the group, the access rank and the public flag of `item`
// from its declaration and block. REQUIRES: the item holds its source text.
void DeriveIndexFields(CSylItem& item, const Settings& settings);

// The same for an item of the doxygen style, from what the reader found: its name and syntax
// flag as read, its group label ("Common" without one; the files, pages and main page of a
// project in the groups "Files" and "Pages"), and its kind from its Doc type lines.
// REQUIRES: the item holds its source text; item.sourceFile is set.
void DeriveDocumentedFields(CSylItem& item, const Settings& settings,
                            const DoxygenItem& documented);

// The part of a qualified name between its first "::" and the next one (or the end); the whole
// name when it holds no "::". "A::B::C" gives "B".
std::string SplitClassMember(const std::string& name);

}  // namespace sylva
