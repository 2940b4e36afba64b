// Turning rich text (scan/rich_text.h) into HTML: spans become tags, references become links to
// the pages of the items they name, and every "<", ">" and "&" that is not part of a real tag or
// entity is escaped, so that text such as "a < b", "std::vector<int>" or "x && y" cannot break a
// page. What counts as a tag or an entity is the rule of html/html_markup.h.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// The page file (the link's target) of the item named `name`, or nothing when no page shows it.
using LinkLookup = std::function<std::optional<std::string>(std::string_view name)>;

// `text` as HTML. A reference links to the page `lookup` gives its name, or, when its name is a
// web address (http:// or https://), to that address. A link the author wrote to a page beside
// this one (html/html_markup.h, IsLinkToNeighbourPage) is left out, its text kept: such pages
// belong to another generator's output. A pre-formatted line gives its text escaped, without the
// "<pre>" around it.
// Spans left open at the end are closed, and a stray closing byte is dropped, so the result is
// always well nested.
std::string RenderRichText(std::string_view text, const LinkLookup& lookup);

// The lines of one section as HTML, one output line per input line; every run of pre-formatted
// lines stands between a line "<pre>" and a line "</pre>".
std::vector<std::string> RenderRichLines(const std::vector<std::string_view>& lines,
                                         const LinkLookup& lookup);

}  // namespace sylva
