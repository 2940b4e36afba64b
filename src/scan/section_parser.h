// Sorting a documentation block's lines into an item's sections, and the texts an item adds on
// its own afterwards: the parameter table, the history date, the See also links and the type
// caption. Each works on the item's fields and its owner's settings and run options.
#pragma once

#include <string>
#include <string_view>

#include "scan/syl_item.h"
#include "support/zt_string_array.h"

namespace sylva {

// Fills the item's sections from `blockLines`: a line whose key opens with a keyword switches the
// section (and keeps the text behind the keyword); other lines go to the current section; lines
// before the first keyword are dropped. Then builds the parameter table (when the item has
// syntax), the history date and the See also links, as the run options ask.
// REQUIRES: item.owner is set; the sections are empty.
void ParseSections(CSylItem& item, const CZTStringArray& blockLines);

// True iff `key` opens with one of the "|"-separated alternatives of `keywordList` (ASCII case
// folded), followed by nothing or by ':'. Then `line` becomes the rest of the key without its
// leading spaces and colons.
bool MatchKeyword(std::string_view keywordList, std::string_view key, std::string& line);

// Appends "Source file last change: <time>" to the History section when the run asks for it.
void AddHistoryDate(CSylItem& item);

// Turns every See also line into a link to the page of that name, then appends the links to the
// project index and to the master index.
void BuildSeeAlsoLinks(CSylItem& item);

// Sets typeLabel, accessRank and isPublic from the Doc type lines.
void MakeTypeLabel(CSylItem& item);

// Builds the Parameter section as a table from the "//" comments of the declaration's parameter
// list (or structure members), when the block left that section empty or pointed elsewhere.
// Shortens or removes those comments in the declaration as the run options ask.
void BuildParameterTable(CSylItem& item);

}  // namespace sylva
