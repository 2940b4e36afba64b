// Turning rich text (scan/rich_text.h) into HTML: spans become tags, references become links to
// the pages of the items they name, and every "<", ">" and "&" that is not part of a real tag or
// entity is escaped, so that text such as "a < b", "std::vector<int>" or "x && y" cannot break a
// page.
//
// What stays a tag: "<" directly followed by an optional "/" and a name from a fixed list of
// HTML tag names (any letter case: a, abbr, b, big, blockquote, br, caption, center, cite, code,
// dd, del, dfn, div, dl, dt, em, font, h1 to h6, hr, i, img, ins, kbd, li, ol, p, pre, s, samp,
// small, span, strike, strong, sub, sup, table, tbody, td, tfoot, th, thead, tr, tt, u, ul,
// var), then ">", "/>" or a blank and attributes up to a ">" on the same line. A tag with an
// attribute named "on..." or a "javascript:", "vbscript:" or "data:" address, and a closing tag
// with attributes, are text. So "<b>" and '<a href="x.html">' stay, "<int>" and "<T>" do not.
// What stays an entity: "&name;" (a letter, then up to 31 letters and digits), "&#123;" and
// "&#x1F;".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// The page file (the link's target) of the item named `name`, or nothing when no page shows it.
using LinkLookup = std::function<std::optional<std::string>(std::string_view name)>;

// `text` as HTML. A pre-formatted line gives its text escaped, without the "<pre>" around it.
// Spans left open at the end are closed, and a stray closing byte is dropped, so the result is
// always well nested.
std::string RenderRichText(std::string_view text, const LinkLookup& lookup);

// The lines of one section as HTML, one output line per input line; every run of pre-formatted
// lines stands between a line "<pre>" and a line "</pre>".
std::vector<std::string> RenderRichLines(const std::vector<std::string_view>& lines,
                                         const LinkLookup& lookup);

}  // namespace sylva
