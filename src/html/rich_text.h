// Turning rich text (scan/rich_text.h) into HTML: blocks become paragraphs, lists, tables, code
// and notes, spans become tags, references become links to the pages of the items they name, and
// every "<", ">" and "&" that is not part of a real tag or entity is escaped, so that text such as
// "a < b", "std::vector<int>" or "x && y" cannot break a page. What counts as a tag or an entity
// is the rule of html/html_markup.h; the author's tags are also kept balanced (below).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// The link target of the item (or the place in it) named `name`, a page file optionally followed
// by "#" and an anchor, or nothing when no page shows it.
using LinkLookup = std::function<std::optional<std::string>(std::string_view name)>;

// `text` as HTML. A flow of blocks gives block HTML (a paragraph is "<p>...</p>", a code block a
// "<pre class=\"code\">", and so on); inline text alone gives inline HTML, without a paragraph
// around it. A reference links to the target `lookup` gives its name, or, when its name is a web
// address (http:// or https://), to that address. A link the author wrote to a page beside this
// one (html/html_markup.h, IsLinkToNeighbourPage) is left out, its text kept: such pages belong
// to another generator's output.
//
// Balance: spans left open are closed, and a stray closing byte is dropped. The author's tags
// are kept balanced too: a closing tag that closes no tag the author opened is shown as text, and
// the tags left open are closed at the end. So no comment can close an element of the page
// around its text.
//
// With `words`, the names of plain text link too (html/name_links.h): a word whose shape marks it
// as a name, and a code span that is exactly a name, link to the target `words` gives. Never
// inside a reference, a link or code the author wrote, a code block or a web address; a word whose
// first byte is literal ("%word" as the reader keeps it) never links.
std::string RenderRichText(std::string_view text, const LinkLookup& lookup,
                           const LinkLookup& words = {});

// The lines of one section, one HTML text per line. The author's tags are balanced across the
// whole section: a table the author opens in one paragraph may be closed in a later one.
std::vector<std::string> RenderRichLines(const std::vector<std::string_view>& lines,
                                         const LinkLookup& lookup, const LinkLookup& words = {});

}  // namespace sylva
