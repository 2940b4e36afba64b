// Rich text (scan/rich_text.h) as JSON for other tools: a flow becomes an array of blocks, each
// {"type": ..., "argument"?: ..., "content" | "text": ...}; a paragraph's or heading's content is
// an array of inline nodes: strings for text, {"code"|"bold"|"emphasis": [nodes]}, {"ref": name,
// "target": page or null, "text": [nodes]}, {"image": file, "alt": [nodes]}, {"formula": tex},
// {"anchor": label}, {"break": true}. Spans left open close at the end of their text, and stray
// closing bytes are dropped, as the HTML renderer does.
#pragma once

#include <string>
#include <string_view>

#include "html/rich_text.h"

namespace sylva {

// Appends the flow `text` to `out` as a JSON array of blocks; references lead where `lookup`
// says.
void AppendRichJson(std::string& out, std::string_view text, const LinkLookup& lookup);

}  // namespace sylva
