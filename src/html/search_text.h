// The plain text of a page's HTML, for the search index: what a section line reads as, and the
// first sentence of a text, shown in the search's result list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sylva {

// The plain text of HTML: every tag dropped (one that breaks the text, such as <BR>, <td> or <p>,
// leaves a space; an inline one, such as <b> or <a>, nothing), the common entities decoded
// (&amp; &lt; &gt; &quot; &apos; &nbsp; and numeric ones, as UTF-8), runs of white space made one
// space, both ends trimmed. A '<' that opens no tag is text. Other bytes stay as they are.
std::string PlainTextOfHtml(std::string_view html);

// The first sentence of plain text: up to and including the first '.', '!' or '?' that is
// followed by a space, or all of it. When that is longer than `limit` bytes it is cut at its last
// space within them (or at a UTF-8 character boundary) and ends with an ellipsis.
std::string FirstSentence(std::string_view text, std::size_t limit);

}  // namespace sylva
