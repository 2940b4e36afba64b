// Rendering rich text: markup into tags, references into links, and the escaping that keeps
// "<", ">" and "&" of plain text from breaking a page while real tags and entities stay.
#include "html/rich_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "html/html_markup.h"
#include "scan/rich_text.h"

namespace sylva {
namespace {

// Rich text from a readable form: ` code, * bold, ~ emphasis, $ formula (each opens, then
// closes), [[ ]] a reference with | before its text, \ a literal's mark, «K arg: a block of kind K
// with its argument and » its end, !( an image with | before its alt text and ) its end.
std::string Rich(std::string_view readable) {
    std::string text;
    bool code = false;
    bool bold = false;
    bool emphasis = false;
    bool formula = false;
    bool image = false;
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
        } else if (ch == '$') {
            text += (formula = !formula) ? rich::kFormulaOpen : rich::kFormulaClose;
        } else if (readable.substr(i, 2) == "«") {
            std::size_t colon = readable.find(':', i);
            text += rich::kBlockOpen;
            text += readable[i + 2];
            text += readable.substr(i + 4, colon > i + 4 ? colon - i - 4 : 0);
            text += rich::kArgumentEnd;
            i = colon;
        } else if (readable.substr(i, 2) == "»") {
            text += rich::kBlockClose;
            ++i;
        } else if (readable.substr(i, 2) == "!(") {
            text += rich::kImageOpen;
            image = true;
            ++i;
        } else if (ch == ')' && image) {
            text += rich::kImageClose;
            image = false;
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
        {"<A class=\"el\" HREF = 'dir/p.html'>p</A> </a>", "p &lt;/a&gt;"},
        {"<p class='n' id=\"a>b\">", "<p class='n' id=\"a&gt;b\"></p>"},
        {"<pre>a < b</pre>", "<pre>a &lt; b</pre>"},
        // Tags that could run code, and malformed ones, are text.
        {"<script>x</script>", "&lt;script&gt;x&lt;/script&gt;"},
        {"<b onclick=\"x()\">", "&lt;b onclick=\"x()\"&gt;"},
        {"<a href=\"JavaScript:x()\">", "&lt;a href=\"JavaScript:x()\"&gt;"},
        {"<a href=\"jav&#x61;script:x()\">", "&lt;a href=\"jav&#x61;script:x()\"&gt;"},
        {"<a href=\"java&Tab;script:x()\">", "&lt;a href=\"java&Tab;script:x()\"&gt;"},
        {"<a href=\"vb&#115;cript:x\">", "&lt;a href=\"vb&#115;cript:x\"&gt;"},
        {"<img src=\"DA&#84;A&colon;x\">", "&lt;img src=\"DA&#84;A&colon;x\"&gt;"},
        {"<img src=\"data:image/png,x\">", "&lt;img src=\"data:image/png,x\"&gt;"},
        {"</b class=\"x\">", "&lt;/b class=\"x\"&gt;"},
        {"<b\"x\">", "&lt;b\"x\"&gt;"},
        {"<b <i>>", "&lt;b <i>&gt;</i>"},
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
        // Literal bytes, formulas and images are text, whatever they hold.
        {"\\<b>", "&lt;b&gt;"},
        {"\\&amp;", "&amp;amp;"},
        {"$a < b$", "<var class=\"formula\">a &lt; b</var>"},
        {"!(pic.png|a \"pic\") !(https://x.example/p.png|web) !(|missing) !(data:x|evil)",
         "<img src=\"pic.png\" alt=\"a &quot;pic&quot;\"> "
         "<img src=\"https://x.example/p.png\" alt=\"web\"> missing evil"},
        {"!(../up.png|up) !(javascript:x|js)", "up js"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenderRichText(Rich(c.readable), kLookup), c.html) << c.readable;
    }
    EXPECT_EQ(RenderRichText(Rich("[[pond_fill]]"), nullptr), "pond_fill");
}

// The names of plain text that link by their shape, and where they never do.
TEST(RichText, PlainWordsAndCodeSpansThatNameItemsLink) {
    const LinkLookup words = [](std::string_view name) -> std::optional<std::string> {
        static const std::map<std::string, std::string, std::less<>> kPages = {
            {"Circle", "C.html"},
            {"geo::Shape", "S.html"},
            {"draw", "d.html"},
            {"::draw", "gd.html"},
            {"git_oid", "o.html"},
            {"Matrix", "M.html"},
            {"SDL_Init", "I.html"},
            {"shape", "lower.html"},
            {"A", "A.html"},
            {"resize", "d.html"},
            {"geo::Shape::area", "a.html"},
            {"operator()", "op.html"},
            {"geo::Shape::operator[]", "ix.html"},
            {"operator==", "eq.html"},
        };
        auto page = kPages.find(name);
        return page == kPages.end() ? std::nullopt : std::optional<std::string>(page->second);
    };
    struct Case {
        std::string readable;
        std::string html;
    };
    const Case cases[] = {
        {"Use Circle, geo::Shape or SDL_Init.",
         "Use <a href=\"C.html\">Circle</a>, <a href=\"S.html\">geo::Shape</a> or "
         "<a href=\"I.html\">SDL_Init</a>."},
        // A plain lower-case word needs "()", "#" or "::"; one letter is no name.
        {"draw and shape; draw(), #draw, ::draw; A b",
         "draw and shape; <a href=\"d.html\">draw()</a>, <a href=\"d.html\">draw</a>, "
         "<a href=\"gd.html\">::draw</a>; A b"},
        // Names that differ in case or scope are other names; "%word" keeps its word.
        {"matrix MATRIX Matrix \\Matrix x::Circle",
         "matrix MATRIX <a href=\"M.html\">Matrix</a> "
         "Matrix x::Circle"},
        // Part of a web address, a path, a file name or a member access.
        {"https://x.example/Circle?a=SDL_Init Circle.h a/Circle p->Circle p.Circle",
         "https://x.example/Circle?a=SDL_Init Circle.h a/Circle p-&gt;Circle p.Circle"},
        // Inside markup, a reference, code or a link the author wrote.
        {"<b title=\"Circle\">Circle</b> <a href=\"https://x.example\">Circle</a> <tt>Circle</tt>",
         "<b title=\"Circle\"><a href=\"C.html\">Circle</a></b> "
         "<a href=\"https://x.example\">Circle</a> <tt>Circle</tt>"},
        {"«P:[[pond_fill|a Circle]] `a Circle`»«C:Circle»",
         "<p><a href=\"SYLVA_pond_fill.html\">a Circle</a> <code>a Circle</code></p>\n"
         "<pre class=\"code\">Circle</pre>\n"},
        // A parameter list of types that picks an overload belongs to the link, as written.
        {"resize(Index,Index), #draw(const Shape\\&), geo::Shape::area(unsigned int, long[]) const",
         "<a href=\"d.html\">resize(Index,Index)</a>, <a href=\"d.html\">draw(const "
         "Shape&amp;)</a>, "
         "<a href=\"a.html\">geo::Shape::area(unsigned int, long[]) const</a>"},
        // An operator's name holds its token; a " const" behind a list belongs to it.
        {"operator()(Index,Index) const, geo::Shape::operator[](int), operator== and "
         "draw(int) constant",
         "<a href=\"op.html\">operator()(Index,Index) const</a>, <a "
         "href=\"ix.html\">geo::Shape::operator[](int)</a>, <a href=\"eq.html\">operator==</a> "
         "and <a href=\"d.html\">draw(int)</a> constant"},
        // A list that holds no types, markup or no ")" is text; its names link on their own.
        {"draw(x + 1) draw(<b>Circle</b>) draw(&lt;) draw(Shape&) nothing(Circle) draw(Circle",
         "draw(x + 1) draw(<b><a href=\"C.html\">Circle</a></b>) draw(&lt;) draw(Shape&amp;) "
         "nothing(<a href=\"C.html\">Circle</a>) draw(<a href=\"C.html\">Circle</a>"},
        {"\\resize(Index) and <a href=\"https://x.example\">draw(int)</a>",
         "resize(Index) and <a href=\"https://x.example\">draw(int)</a>"},
        // A code span that is exactly a name links, whatever its shape.
        {"`git_oid` `draw` `draw()` `*Circle*` `nothing`",
         "<code><a href=\"o.html\">git_oid</a></code> <code><a href=\"d.html\">draw</a></code> "
         "<code><a href=\"d.html\">draw()</a></code> <code><b>Circle</b></code> "
         "<code>nothing</code>"},
        {"`resize(Index, Index)` `draw(x + 1)`",
         "<code><a href=\"d.html\">resize(Index, Index)</a></code> <code>draw(x + 1)</code>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenderRichText(Rich(c.readable), kLookup, words), c.html) << c.readable;
    }
    // A word's lookup ends at markup bytes; a long text is read once.
    const std::string many(200000, 'a');
    EXPECT_EQ(RenderRichText(many + " Circle", kLookup, words),
              many + " <a href=\"C.html\">Circle</a>");
}

TEST(RichText, BlocksBecomeTheirElements) {
    struct Case {
        std::string readable;
        std::string html;
    };
    const Case cases[] = {
        {"«P:A *b*.»«P:C.»", "<p>A <b>b</b>.</p>\n<p>C.</p>\n"},
        // List items hold their text inline, and lists inside them.
        {"«U:«I:one»«I:two«O 3:«I:deep»»»»",
         "<ul>\n<li>one</li>\n<li>two<ol start=\"3\">\n<li>deep</li>\n</ol>\n</li>\n</ul>\n"},
        {"«O 1:«I:a»» «O x\":»", "<ol>\n<li>a</li>\n</ol>\n<ol>\n</ol>\n"},
        {"«T:«R:«h left:A»«h bogus\":B»»«R:«d right:1»»»",
         "<table class=\"doc\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"
         "<tr><th align=\"left\">A</th><th>B</th></tr>\n<tr><td align=\"right\">1</td></tr>\n"
         "</table>\n"},
        // Code keeps every byte as text; a heading its level below the page's own.
        {"«C cpp:if (a < b && <b>) { x; }\n»",
         "<pre class=\"code\">if (a &lt; b &amp;&amp; &lt;b&gt;) { x; }</pre>\n"},
        {"«H 1 intro\":Intro»«H 9:Deep»", "<h3 id=\"intro&quot;\">Intro</h3>\n<h3>Deep</h3>\n"},
        {"«N warning Warning:Hot <b>x»",
         "<dl class=\"note warning\"><dt><b>Warning</b></dt><dd>Hot <b>x</b></dd></dl>\n"},
        {"«Q:«P:q»»«-:»«F:x^2»",
         "<blockquote>\n<p>q</p>\n</blockquote>\n<hr>\n<p class=\"formula\"><var>x^2</var></p>\n"},
        // A paragraph the author opens with a block of HTML is that block.
        {"«P:<table><tr><td>»«C:x»«P:</td></tr></table>»",
         "<table><tr><td>\n<pre class=\"code\">x</pre>\n</td></tr></table>\n"},
        {"«P:See <table><tr><td>»", "<p>See <table><tr><td>\n</td></tr></table>"},
        // A block left open runs to the end.
        {"«U:«I:open", "<ul>\n<li>open</li>\n</ul>\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenderRichText(Rich(c.readable), kLookup), c.html) << c.readable;
    }
}

// A comment may not close what the page opened: a closing tag without the author's opening tag
// is text, and the author's open tags close at the end of the section.
TEST(RichText, AuthorTagsStayBalancedAcrossASection) {
    EXPECT_EQ(RenderRichText("a </div></font> b", kLookup), "a &lt;/div&gt;&lt;/font&gt; b");
    EXPECT_EQ(RenderRichText("<div onclick=\"x\">a</div>", kLookup),
              "&lt;div onclick=\"x\"&gt;a&lt;/div&gt;");
    EXPECT_EQ(RenderRichText("<b><i>x</b> y", kLookup), "<b><i>x</i></b> y");
    EXPECT_EQ(RenderRichText("<a title=\"</dl> <b>\">x</a>", kLookup),
              "<a title=\"&lt;/dl&gt; &lt;b&gt;\">x</a>");
    EXPECT_EQ(RenderRichText("<br><hr/><img src=\"a.png\"></br>", kLookup),
              "<br><hr/><img src=\"a.png\">&lt;/br&gt;");
    EXPECT_EQ(RenderRichLines({Rich("«P:<table><tr><td>a»"), Rich("«C:x»"), Rich("«P:</td></tr>»"),
                               Rich("more </table> <b>open")},
                              kLookup),
              (std::vector<std::string>{"<table><tr><td>a\n", "<pre class=\"code\">x</pre>\n",
                                        "</td></tr>\n", "more </table> <b>open</b>"}));
}

// Plain text: the three markup bytes become entities, reserved bytes go, all else stays.
TEST(HtmlEscaped, EscapesMarkupBytesAndDropsReservedOnes) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"plain name_1", "plain name_1"},
        {"a<b>&c", "a&lt;b&gt;&amp;c"},
        {"<&>", "&lt;&amp;&gt;"},
        {std::string_view("x\x01y\x1f", 4), "xy"},
        {"tab\tline\nend\r", "tab\tline\nend\r"},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(HtmlEscaped(text), escaped) << text;
    }
}

}  // namespace
}  // namespace sylva
