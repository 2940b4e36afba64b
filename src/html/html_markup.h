// Telling the HTML an author wrote into documentation text from plain text, so that a page keeps
// the author's tags and entities and shows every other "<", ">" and "&" as text.
//
// What is a tag: "<" directly followed by an optional "/" and a name from a fixed list of HTML
// tag names (any letter case: a, abbr, b, big, blockquote, br, caption, center, cite, code, dd,
// del, dfn, div, dl, dt, em, font, h1 to h6, hr, i, img, ins, kbd, li, ol, p, pre, s, samp,
// small, span, strike, strong, sub, sup, table, tbody, td, tfoot, th, thead, tr, tt, u, ul,
// var), then ">", "/>" or a blank and attributes up to a ">" on the same line. A tag with an
// attribute named "on..." or a "javascript:", "vbscript:" or "data:" address, and a closing tag
// with attributes, are text. So "<b>" and '<a href="x.html">' are tags, "<int>" and "<T>" are
// not. What is an entity: "&name;" (a letter, then up to 31 letters and digits), "&#123;" and
// "&#x1F;".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sylva {

// The size of the tag that opens at text[at] (a '<'), or 0 when that '<' is text.
std::size_t HtmlTagSize(std::string_view text, std::size_t at);

// What a tag as HtmlTagSize finds it is: its name in lower case, and whether it closes an element
// ("</b>") or opens one that holds nothing and needs no closing tag ("<br>", "<img ...>", "<hr/>").
struct HtmlTag {
    std::string name;
    bool closing = false;
    bool empty = false;
};
HtmlTag ReadHtmlTag(std::string_view tag);

// True iff an element of `name` (lower case) starts a block of its own in a page: a paragraph
// around it would end where it starts.
bool IsBlockElement(std::string_view name);

// True iff `tag`, a tag as HtmlTagSize finds it, opens a link ("<a" with an href) whose target is
// a page beside the page it stands on: no web or mail address ("scheme:") and no "#fragment".
// Documentation comments written for another generator link so to that generator's pages.
bool IsLinkToNeighbourPage(std::string_view tag);
// True iff `tag` is "</a>", in any letter case.
bool IsLinkEnd(std::string_view tag);

// The size of the entity that opens at text[at] (a '&'), or 0 when that '&' is text.
std::size_t HtmlEntitySize(std::string_view text, std::size_t at);

// Appends `ch` as page text: '<', '>' and '&' escaped, reserved bytes (scan/rich_text.h) left out.
void AppendHtmlEscaped(std::string& out, char ch);
// Appends every byte of `text` so.
void AppendHtmlEscaped(std::string& out, std::string_view text);
// `text` as page text, escaped so.
std::string HtmlEscaped(std::string_view text);

// Appends `target` as the value of a link's href: its bytes as written, but those that would end
// the attribute or break the page.
void AppendHref(std::string& out, std::string_view target);

}  // namespace sylva
