// Linking the quoted item names of one section line: the step behind CrossLinkSections.
#pragma once

#include <string>
#include <string_view>

namespace sylva {

class CZTScanSource;

// How often a line may be scanned again after a link was made in it: once per double quote it
// holds, and two more. Every rescan but the last links a name found between two quotes, so honest
// text never comes near the bound; it only guarantees that no line can be rescanned for ever.
int RescanBound(std::string_view line);

// Links every name between double quotes in `line` that names an item of `generator` other than
// `ownName`, scanning the line again from its start after each link, at most `maxRescans` times.
void LinkQuotedNames(const CZTScanSource& generator, std::string& line, std::string_view ownName,
                     int maxRescans);

}  // namespace sylva
