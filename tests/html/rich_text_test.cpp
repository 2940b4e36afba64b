// Rendering rich text: markup into tags, references into links, and the escaping that keeps
// "<", ">" and "&" of plain text from breaking a page while real tags and entities stay.
#include "html/rich_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "scan/rich_text.h"

namespace sylva {
namespace {

// Rich text from a readable form: ` code, * bold, ~ emphasis (each opens, then closes),
// [[ ]] a reference with | before its text, ^ a pre-formatted line's mark, \ a literal's.
std::string Rich(std::string_view readable) {
    std::string text;
    bool code = false;
    bool bold = false;
    bool emphasis = false;
    for (std::size_t i = 0; i < readable.size(); ++i) {
        char ch = readable[i];
        if (ch == '`') {
            text += (code = !code) ? rich::kCodeOpen : rich::kCodeClose;
        } else if (ch == '*') {
            text += (bold = !bold) ? rich::kBoldOpen : rich::kBoldClose;
        } else if (ch == '~') {
            text += (emphasis = !emphasis) ? rich::kEmphasisOpen : rich::kEmphasisClose;
        } else if (readable.substr(i, 2) == "[[") {
            text += rich::kReferenceOpen;
            ++i;
        } else if (readable.substr(i, 2) == "]]") {
            text += rich::kReferenceClose;
            ++i;
        } else if (ch == '|') {
            text += rich::kReferenceText;
        } else if (ch == '^') {
            text += rich::kPreformattedLine;
        } else if (ch == '\\') {
            text += rich::kLiteral;
        } else {
            text += ch;
        }
    }
    return text;
}

const LinkLookup kLookup = [](std::string_view name) -> std::optional<std::string> {
    static const std::map<std::string, std::string, std::less<>> kPages = {
        {"pond_fill", "SYLVA_pond_fill.html"},
        {"garden::CBed", "SYLVA_garden__CBed.html"},
        {"Fish&Chips", "SYLVA_Fish&Chips.html"},
        {"Odd", "SYLVA_\"Odd\"\xE9.html"},
    };
    auto page = kPages.find(name);
    return page == kPages.end() ? std::nullopt : std::optional<std::string>(page->second);
};

TEST(RichText, EscapesWhatIsNoTagOrEntityAndKeepsWhatIs) {
    struct Case {
        std::string text;
        std::string html;
    };
    const Case cases[] = {
        // Plain text of C and C++.
        {"a < b and c > d", "a &lt; b and c &gt; d"},
        {"std::vector<int> v", "std::vector&lt;int&gt; v"},
        {"x && y & z", "x &amp;&amp; y &amp; z"},
        {"template <T> and <bool> and <b2>", "template &lt;T&gt; and &lt;bool&gt; and &lt;b2&gt;"},
        {"a <b", "a &lt;b"},
        {"<b\n>", "&lt;b\n&gt;"},
        {"<>", "&lt;&gt;"},
        // Real tags, in any case, with attributes and self-closing.
        {"<b>bold</b> <BR> <br/> <Code>x</Code>", "<b>bold</b> <BR> <br/> <Code>x</Code>"},
        {"<a href=\"https://x.example/\">x</a> <a name=\"n\">n</a> <A HREF='#t'>t</A>",
         "<a href=\"https://x.example/\">x</a> <a name=\"n\">n</a> <A HREF='#t'>t</A>"},
        {"<a href=\"mailto:a@x.example\">a</a>", "<a href=\"mailto:a@x.example\">a</a>"},
        // A link to a page beside this one leads into another generator's output: its text stays.
        {"see <a href=\"group__Core.html#x\">the <b>core</b></a>.", "see the <b>core</b>."},
        {"<A class=\"el\" HREF = 'dir/p.html'>p</A> </a>", "p </a>"},
        {"<p class='n' id=\"a>b\">", "<p class='n' id=\"a>b\">"},
        {"<pre>a < b</pre>", "<pre>a &lt; b</pre>"},
        // Tags that could run code, and malformed ones, are text.
        {"<script>x</script>", "&lt;script&gt;x&lt;/script&gt;"},
        {"<b onclick=\"x()\">", "&lt;b onclick=\"x()\"&gt;"},
        {"<a href=\"JavaScript:x()\">", "&lt;a href=\"JavaScript:x()\"&gt;"},
        {"<img src=\"data:image/png,x\">", "&lt;img src=\"data:image/png,x\"&gt;"},
        {"</b class=\"x\">", "&lt;/b class=\"x\"&gt;"},
        {"<b\"x\">", "&lt;b\"x\"&gt;"},
        {"<b <i>>", "&lt;b <i>&gt;"},
        // Entities stay; a lone or unfinished "&" is escaped.
        {"&amp; &lt; &#60; &#x3C; &eacute;", "&amp; &lt; &#60; &#x3C; &eacute;"},
        {"&amp &#; &#xZZ; & x &1;", "&amp;amp &amp;#; &amp;#xZZ; &amp; x &amp;1;"},
        // Control bytes a source could not bring in are dropped.
        {std::string("a\x07\x1F b"), "a b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenderRichText(c.text, kLookup), c.html) << c.text;
    }
}

TEST(RichText, MarkupBecomesWellNestedTagsAndLinks) {
    struct Case {
        std::string readable;
        std::string html;
    };
    const Case cases[] = {
        {"`code` *bold* ~em~", "<code>code</code> <b>bold</b> <em>em</em>"},
        {"*bold `both`*", "<b>bold <code>both</code></b>"},
        // Spans closed out of order, left open, or closed without an opening.
        {"`a *b` c*", "<code>a <b>b</b></code> c"},
        {"*open `and open", "<b>open <code>and open</code></b>"},
        {std::string(1, rich::kBoldClose) + "x", "x"},
        // References: a link when the item has a page, else the text alone.
        {"see [[pond_fill]].", "see <a href=\"SYLVA_pond_fill.html\">pond_fill</a>."},
        {"[[pond_fill|the *filler*]]", "<a href=\"SYLVA_pond_fill.html\">the <b>filler</b></a>"},
        {"[[garden::CBed|CBed]] and [[nowhere|not found]]",
         "<a href=\"SYLVA_garden__CBed.html\">CBed</a> and not found"},
        {"[[nowhere]] x < y", "nowhere x &lt; y"},
        // Names and targets are escaped; a target keeps its exact bytes.
        {"[[Fish&Chips]]", "<a href=\"SYLVA_Fish%26Chips.html\">Fish&amp;Chips</a>"},
        {"[[Odd]]", "<a href=\"SYLVA_%22Odd%22%E9.html\">Odd</a>"},
        // A web address links to itself, escaped; no other scheme links.
        {"[[https://example.org/a?b=1&c=\"2\"<x>]]",
         "<a href=\"https://example.org/a?b=1&amp;c=%222%22&lt;x&gt;\">"
         "https://example.org/a?b=1&amp;c=\"2\"&lt;x&gt;</a>"},
        {"[[http://example.org|the *site*]]", "<a href=\"http://example.org\">the <b>site</b></a>"},
        {"[[javascript:alert(1)|x]] [[file:///etc/passwd]]", "x file:///etc/passwd"},
        {"[[https://[::1]:8080/x#y]] [[http://a.example:99999/]] [[http://u@a.example/]]",
         "<a href=\"https://[::1]:8080/x#y\">https://[::1]:8080/x#y</a> "
         "http://a.example:99999/ http://u@a.example/"},
        {"[[http://]] [[http://:80/]] [[https://a.example:/]]",
         "http:// http://:80/ https://a.example:/"},
        // A span opened in a reference's text ends with the reference.
        {"[[pond_fill|*bold]] after", "<a href=\"SYLVA_pond_fill.html\"><b>bold</b></a> after"},
        // A reference inside a reference's text shows its text only.
        {"[[pond_fill|a [[garden::CBed|b]] c]]", "<a href=\"SYLVA_pond_fill.html\">a b c</a>"},
        {"[[pond_fill|open", "<a href=\"SYLVA_pond_fill.html\">open</a>"},
        // Pre-formatted lines and literal bytes are text, whatever they hold.
        {"^if (a < b && <b>) {", "if (a &lt; b &amp;&amp; &lt;b&gt;) {"},
        {"\\<b>", "&lt;b&gt;"},
        {"\\&amp;", "&amp;amp;"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenderRichText(Rich(c.readable), kLookup), c.html) << c.readable;
    }
    EXPECT_EQ(RenderRichText(Rich("[[pond_fill]]"), nullptr), "pond_fill");
}

TEST(RichText, PreformattedRunsStandBetweenPreLines) {
    const std::string first = Rich("^int a;");
    const std::string second = Rich("^a < b;");
    const std::string plain = Rich("Then *this*.");
    EXPECT_EQ(RenderRichLines({first, second, plain, first}, kLookup),
              (std::vector<std::string>{"<pre>", "int a;", "a &lt; b;", "</pre>",
                                        "Then <b>this</b>.", "<pre>", "int a;", "</pre>"}));
    EXPECT_EQ(RenderRichLines({plain}, kLookup), (std::vector<std::string>{"Then <b>this</b>."}));
}

}  // namespace
}  // namespace sylva
