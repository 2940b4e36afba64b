// Linking the quoted item names of a page's lines: what CrossLink announces and each page does.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "html/page_text.h"

namespace sylva {

// How often a line may be scanned again after a link was made in it: once per double quote it
// holds, and two more. Every rescan but the last links a name found between two quotes, so honest
// text never comes near the bound; it only guarantees that no line can be rescanned for ever.
int RescanBound(std::string_view line);

// Links every name between double quotes in `line` that names an item of `items` other than
// `ownName`, scanning the line again from its start after each link, at most `maxRescans` times.
void LinkQuotedNames(const ItemList& items, std::string& line, std::string_view ownName,
                     int maxRescans);

// Calls `visit` for every line of `text` whose quoted names are linked: all sections but See
// also, whose lines are links already.
void ForEachLinkableLine(PageText& text, const std::function<void(std::string&)>& visit);

// Links the quoted item names of every linkable line of `text` (LinkQuotedNames).
void LinkItemText(const ItemList& items, PageText& text, std::string_view ownName);

}  // namespace sylva
