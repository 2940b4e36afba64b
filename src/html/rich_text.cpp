// Rendering rich text as HTML.
#include "html/rich_text.h"

#include <algorithm>

#include "html/html_markup.h"
#include "html/name_links.h"
#include "html/page_names.h"
#include "scan/rich_text.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

// A span's closing byte follows its opening byte.
static_assert(rich::kCodeClose == rich::kCodeOpen + 1 && rich::kBoldClose == rich::kBoldOpen + 1 &&
              rich::kEmphasisClose == rich::kEmphasisOpen + 1);
constexpr std::string_view kWebSchemes[] = {"https://", "http://"};
// Markdown headings of level 1 stand below the page's own headings.
constexpr int kHeadingOffset = 2;
constexpr int kDeepestHeading = 6;

constexpr unsigned long kMaxPort = 65535;

bool IsHostByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '-' || ch == '.' || ch == '_';
}

// True iff `authority` is a host (a name, or an address in brackets) with an optional port that
// a browser accepts.
bool IsAuthority(std::string_view authority) {
    std::size_t hostEnd = 0;
    if (authority.starts_with("[")) {
        hostEnd = authority.find(']');
        if (hostEnd == std::string_view::npos || hostEnd == 1) {
            return false;
        }
        ++hostEnd;
    } else {
        while (hostEnd < authority.size() && IsHostByte(authority[hostEnd])) {
            ++hostEnd;
        }
        if (hostEnd == 0) {
            return false;
        }
    }
    std::string_view port = authority.substr(hostEnd);
    if (port.empty()) {
        return true;
    }
    if (port.front() != ':' || port.size() == 1 || port.size() > 6) {
        return false;
    }
    unsigned long value = 0;
    for (char ch : port.substr(1)) {
        if (ch < '0' || ch > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned long>(ch - '0');
    }
    return value <= kMaxPort;
}

// True iff a reference names a web page a browser can open rather than an item: "http://" or
// "https://", a host with an optional port, then nothing or a path, query or fragment.
bool IsWebAddress(std::string_view name) {
    for (std::string_view scheme : kWebSchemes) {
        if (name.starts_with(scheme)) {
            std::string_view rest = name.substr(scheme.size());
            return IsAuthority(rest.substr(0, rest.find_first_of("/?#")));
        }
    }
    return false;
}

// Appends `text` as an attribute value between double quotes.
void AppendAttribute(std::string& out, std::string_view text) {
    for (char ch : text) {
        if (ch == '"') {
            out.append("&quot;");
        } else {
            AppendHtmlEscaped(out, ch);
        }
    }
}

std::string_view CellAlignment(std::string_view argument) {
    return argument == "left" || argument == "center" || argument == "right" ? argument
                                                                             : std::string_view();
}

// Appends the author's tag `markup` (from its '<' to its '>') with each '<' and '>' inside it,
// which can only stand in a quoted attribute value, as an entity: the same element to a browser,
// and no reader of the page takes a quoted "</dl>" for a tag that closes one of the page's
// elements.
void AppendTagMarkup(std::string& out, std::string_view markup) {
    out.push_back(markup.front());
    for (char ch : markup.substr(1, markup.size() - 2)) {
        if (ch == '<') {
            out.append("&lt;");
        } else if (ch == '>') {
            out.append("&gt;");
        } else {
            out.push_back(ch);
        }
    }
    out.push_back(markup.back());
}

class Renderer {
  public:
    Renderer(const LinkLookup& lookup, const LinkLookup& words) : lookup_(lookup), words_(words) {}

    // Renders `text` and returns its HTML; the author's open tags stay open for the next text.
    std::string Render(std::string_view text);
    // The closing tags of the author's tags still open.
    std::string CloseAuthorTags();

  private:
    struct Span {
        char open;
        std::string_view closeTag;
    };

    // Renders the blocks of `text`; inline text between them reads as a paragraph, or, in a
    // list item, a cell or a note (`inlineRuns`), as the inline text it is.
    void Flow(std::string_view text, bool inlineRuns = false);
    void Inline(std::string_view text);
    void BlockElement(const rich::Block& block);
    // The content of a container block: its blocks, its inline text as it is, and the author's
    // tags opened inside it closed at its end.
    void Contents(std::string_view content);
    void Paragraph(std::string_view content);
    void Heading(const rich::Block& block);
    void Note(const rich::Block& block);
    void Cell(const rich::Block& block, std::string_view tag);
    void Text(std::string_view text, std::size_t& at);
    // A word of plain text at text[at], linked when it names an item; false when no word starts
    // there.
    bool Word(std::string_view text, std::size_t& at);
    // A code span at text[at] that is exactly a name of an item, as a link; false for any other.
    bool LinkedCodeSpan(std::string_view text, std::size_t& at);
    // True when a name in plain text may link here: not inside a reference, a code span, or a
    // link, code or preformatted text the author wrote.
    bool MayLinkWords() const;
    void AuthorTag(std::string_view markup);
    void OpenSpan(char open, std::string_view openTag, std::string_view closeTag);
    void CloseSpan(char open);
    // Closes the spans above `depth`, innermost first.
    void CloseSpansTo(std::size_t depth);
    void Reference(std::string_view text, std::size_t& at);
    void EndReference();
    void Image(std::string_view text, std::size_t& at);
    // The bytes from `at` to the next `end` byte (or the end), without reserved bytes; `at` moves
    // behind the `end` byte.
    static std::string Field(std::string_view text, std::size_t& at, char end);

    const LinkLookup& lookup_;
    const LinkLookup& words_;
    std::string out_;
    std::vector<Span> spans_;
    // The author's open tags, innermost last, by lower-case name.
    std::vector<std::string> authorTags_;
    // Inside a reference's shown text: spans below this depth were open before it.
    bool inReference_ = false;
    bool linked_ = false;
    std::size_t referenceDepth_ = 0;
    // References with a text of their own inside the current reference's text.
    int nested_ = 0;
    // Links of the author's to pages no Sylva site holds, whose end tags are left out too.
    int droppedLinks_ = 0;
};

std::string Renderer::Render(std::string_view text) {
    out_.clear();
    out_.reserve(text.size() + text.size() / 8);
    if (rich::StartsWithBlock(text)) {
        Flow(text);
    } else {
        Inline(text);
    }
    return std::move(out_);
}

std::string Renderer::CloseAuthorTags() {
    std::string closing;
    while (!authorTags_.empty()) {
        closing.append("</").append(authorTags_.back()).append(">");
        authorTags_.pop_back();
    }
    return closing;
}

void Renderer::Flow(std::string_view text, bool inlineRuns) {
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == rich::kBlockOpen) {
            rich::Block block = rich::ReadBlock(text, at);
            BlockElement(block);
            at = block.end;
            continue;
        }
        std::size_t next = std::min(text.find(rich::kBlockOpen, at), text.size());
        if (inlineRuns) {
            Inline(text.substr(at, next - at));
        } else {
            Paragraph(text.substr(at, next - at));
        }
        at = next;
    }
}

void Renderer::Contents(std::string_view content) {
    // The author's tags opened inside a list item, a cell, a note or a quote end with it; a table
    // the author opens in one paragraph may still close in a later one.
    std::size_t depth = authorTags_.size();
    Flow(content, true);
    while (authorTags_.size() > depth) {
        out_.append("</").append(authorTags_.back()).append(">");
        authorTags_.pop_back();
    }
}

void Renderer::BlockElement(const rich::Block& block) {
    using rich::BlockKind;
    switch (block.kind) {
        case BlockKind::kParagraph:
            Paragraph(block.content);
            return;
        case BlockKind::kHeading:
            Heading(block);
            return;
        case BlockKind::kCode: {
            std::string_view code = block.content;
            if (code.ends_with('\n')) {
                code.remove_suffix(1);
            }
            out_.append("<pre class=\"code\">");
            AppendHtmlEscaped(out_, code);
            out_.append("</pre>\n");
            return;
        }
        case BlockKind::kPreformatted:
            Inline(block.content);
            out_.push_back('\n');
            return;
        case BlockKind::kBulletList:
        case BlockKind::kOrderedList: {
            bool ordered = block.kind == BlockKind::kOrderedList;
            std::string_view start = block.argument;
            if (!ordered) {
                out_.append("<ul>\n");
            } else if (start.empty() || start == "1" ||
                       start.find_first_not_of("0123456789") != std::string_view::npos) {
                out_.append("<ol>\n");
            } else {
                out_.append("<ol start=\"").append(start).append("\">\n");
            }
            Flow(block.content);
            out_.append(ordered ? "</ol>\n" : "</ul>\n");
            return;
        }
        case BlockKind::kListItem:
            out_.append("<li>");
            Contents(block.content);
            out_.append("</li>\n");
            return;
        case BlockKind::kTable:
            out_.append(block.argument.empty() ? "<table class=\"doc\""
                                               : "<table class=\"doc retval\"");
            out_.append(" border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n");
            Flow(block.content);
            out_.append("</table>\n");
            return;
        case BlockKind::kRow:
            out_.append("<tr>");
            Flow(block.content);
            out_.append("</tr>\n");
            return;
        case BlockKind::kHeaderCell:
            Cell(block, "th");
            return;
        case BlockKind::kCell:
            Cell(block, "td");
            return;
        case BlockKind::kQuote:
            out_.append("<blockquote>\n");
            Contents(block.content);
            out_.append("</blockquote>\n");
            return;
        case BlockKind::kRule:
            out_.append("<hr>\n");
            return;
        case BlockKind::kNote:
            Note(block);
            return;
        case BlockKind::kFormula:
            out_.append("<p class=\"formula\"><var>");
            AppendHtmlEscaped(out_, TrimView(block.content, " \t\r\n"));
            out_.append("</var></p>\n");
            return;
    }
    // A kind this renderer does not know: its text, as a paragraph.
    Paragraph(block.content);
}

void Renderer::Paragraph(std::string_view content) {
    std::string_view lead = TrimLeftView(content, " \t\r\n");
    if (lead.empty()) {
        return;
    }
    // A paragraph the author opens with a block of HTML (a table, a list) is that block: a
    // paragraph around it would end where it starts.
    bool authorBlock = false;
    if (lead.front() == '<') {
        std::size_t size = HtmlTagSize(lead, 0);
        authorBlock = size != 0 && IsBlockElement(ReadHtmlTag(lead.substr(0, size)).name);
    }
    if (!authorBlock) {
        out_.append("<p>");
    }
    std::size_t openBefore = authorTags_.size();
    Inline(content);
    // A block the author opened in the paragraph and closes later (a table whose cells hold
    // code) ends the paragraph itself.
    bool blockLeftOpen = std::any_of(
        authorTags_.begin() + static_cast<std::ptrdiff_t>(std::min(openBefore, authorTags_.size())),
        authorTags_.end(), [](const std::string& name) { return IsBlockElement(name); });
    out_.append(authorBlock || blockLeftOpen ? "\n" : "</p>\n");
}

void Renderer::Heading(const rich::Block& block) {
    std::string_view argument = block.argument;
    int level =
        !argument.empty() && argument[0] >= '1' && argument[0] <= '6' ? argument[0] - '0' : 1;
    std::string_view label =
        TrimView(argument.substr(std::min<std::size_t>(1, argument.size())), " ");
    char tag = static_cast<char>('0' + std::min(level + kHeadingOffset, kDeepestHeading));
    out_.append("<h").push_back(tag);
    if (!label.empty()) {
        out_.append(" id=\"");
        AppendAttribute(out_, label);
        out_.push_back('"');
    }
    out_.push_back('>');
    Inline(block.content);
    out_.append("</h").push_back(tag);
    out_.append(">\n");
}

void Renderer::Note(const rich::Block& block) {
    std::string_view argument = block.argument;
    std::size_t blank = argument.find(' ');
    std::string_view kind = argument.substr(0, blank);
    std::string_view label =
        blank == std::string_view::npos ? std::string_view() : argument.substr(blank + 1);
    out_.append("<dl class=\"note");
    if (!kind.empty()) {
        out_.push_back(' ');
        AppendAttribute(out_, kind);
    }
    out_.append("\"><dt><b>");
    AppendHtmlEscaped(out_, label);
    out_.append("</b></dt><dd>");
    Contents(block.content);
    out_.append("</dd></dl>\n");
}

void Renderer::Cell(const rich::Block& block, std::string_view tag) {
    out_.push_back('<');
    out_.append(tag);
    std::string_view align = CellAlignment(block.argument);
    if (!align.empty()) {
        out_.append(" align=\"").append(align).append("\"");
    }
    out_.push_back('>');
    Contents(block.content);
    out_.append("</").append(tag).append(">");
}

void Renderer::Inline(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        char ch = text[at];
        switch (ch) {
            case rich::kCodeOpen:
                if (LinkedCodeSpan(text, at)) {
                    continue;
                }
                OpenSpan(ch, "<code>", "</code>");
                break;
            case rich::kBoldOpen:
                OpenSpan(ch, "<b>", "</b>");
                break;
            case rich::kEmphasisOpen:
                OpenSpan(ch, "<em>", "</em>");
                break;
            case rich::kCodeClose:
            case rich::kBoldClose:
            case rich::kEmphasisClose:
                CloseSpan(static_cast<char>(ch - 1));
                break;
            case rich::kReferenceOpen:
                Reference(text, at);
                continue;
            case rich::kReferenceClose:
                if (nested_ > 0) {
                    --nested_;
                } else {
                    EndReference();
                }
                break;
            case rich::kImageOpen:
                Image(text, at);
                continue;
            case rich::kFormulaOpen: {
                ++at;
                std::string tex = Field(text, at, rich::kFormulaClose);
                out_.append("<var class=\"formula\">");
                AppendHtmlEscaped(out_, tex);
                out_.append("</var>");
                continue;
            }
            case rich::kAnchorOpen: {
                ++at;
                std::string label = Field(text, at, rich::kAnchorClose);
                out_.append("<a id=\"");
                AppendAttribute(out_, label);
                out_.append("\"></a>");
                continue;
            }
            case rich::kLineBreak:
                out_.append("<br>");
                break;
            case rich::kLiteral:
                if (at + 1 < text.size()) {
                    AppendHtmlEscaped(out_, text[++at]);
                }
                break;
            case rich::kBlockOpen: {
                // A block inside inline text: its text, inline.
                rich::Block block = rich::ReadBlock(text, at);
                Inline(block.content);
                at = block.end;
                continue;
            }
            default:
                Text(text, at);
                continue;
        }
        ++at;
    }
    EndReference();
    CloseSpansTo(0);
}

void Renderer::Text(std::string_view text, std::size_t& at) {
    char ch = text[at];
    std::size_t size = 0;
    if (ch == '<') {
        size = HtmlTagSize(text, at);
    } else if (ch == '&') {
        size = HtmlEntitySize(text, at);
    }
    if (size == 0) {
        if (!words_ || !Word(text, at)) {
            AppendHtmlEscaped(out_, ch);
            ++at;
        }
        return;
    }
    std::string_view markup = text.substr(at, size);
    at += size;
    if (ch == '&') {
        out_.append(markup);
        return;
    }
    // Such a link would lead nowhere; its text stays.
    if (IsLinkToNeighbourPage(markup)) {
        ++droppedLinks_;
        return;
    }
    if (droppedLinks_ > 0 && IsLinkEnd(markup)) {
        --droppedLinks_;
        return;
    }
    AuthorTag(markup);
}

bool Renderer::Word(std::string_view text, std::size_t& at) {
    std::optional<NameWord> word = ReadNameWord(text, at, NameForm::kWithArguments);
    if (!word) {
        return false;
    }
    std::optional<std::string> page;
    if (word->byShape && MayLinkWords()) {
        page = words_(word->name);
    }
    if (page) {
        AppendNameLink(out_, *page, word->shown);
        at = word->end;
        return true;
    }
    // An unknown name's parameter list is plain text, whose names may link on their own.
    const std::size_t end = word->nameEnd > 0 ? word->nameEnd : word->end;
    AppendHtmlEscaped(out_, text.substr(at, end - at));
    at = end;
    return true;
}

bool Renderer::LinkedCodeSpan(std::string_view text, std::size_t& at) {
    if (!words_ || !MayLinkWords()) {
        return false;
    }
    std::size_t close = text.find(rich::kCodeClose, at + 1);
    if (close == std::string_view::npos) {
        return false;
    }
    std::string_view code = text.substr(at + 1, close - at - 1);
    std::optional<NameWord> word = ReadNameWord(code, 0, NameForm::kWithArguments);
    if (!word || word->end != code.size() || word->name.empty()) {
        return false;
    }
    std::optional<std::string> page = words_(word->name);
    if (!page) {
        return false;
    }
    out_.append("<code>");
    AppendNameLink(out_, *page, code);
    out_.append("</code>");
    at = close + 1;
    return true;
}

bool Renderer::MayLinkWords() const {
    if (inReference_ || std::any_of(spans_.begin(), spans_.end(), [](const Span& span) {
            return span.open == rich::kCodeOpen;
        })) {
        return false;
    }
    return std::none_of(authorTags_.begin(), authorTags_.end(), [](const std::string& name) {
        return name == "a" || name == "code" || name == "pre" || name == "tt";
    });
}

void Renderer::AuthorTag(std::string_view markup) {
    HtmlTag tag = ReadHtmlTag(markup);
    if (tag.empty) {
        AppendTagMarkup(out_, markup);
        return;
    }
    if (!tag.closing) {
        AppendTagMarkup(out_, markup);
        authorTags_.push_back(std::move(tag.name));
        return;
    }
    auto open = std::find(authorTags_.rbegin(), authorTags_.rend(), tag.name);
    if (open == authorTags_.rend()) {
        // It would close an element of the page, not one the author opened.
        AppendHtmlEscaped(out_, markup);
        return;
    }
    // The elements the author left open inside it end with it.
    std::size_t keep = static_cast<std::size_t>(authorTags_.rend() - open) - 1;
    while (authorTags_.size() > keep + 1) {
        out_.append("</").append(authorTags_.back()).append(">");
        authorTags_.pop_back();
    }
    out_.append(markup);
    authorTags_.pop_back();
}

void Renderer::OpenSpan(char open, std::string_view openTag, std::string_view closeTag) {
    out_.append(openTag);
    spans_.push_back({open, closeTag});
}

void Renderer::CloseSpan(char open) {
    std::size_t floor = inReference_ ? referenceDepth_ : 0;
    for (std::size_t depth = spans_.size(); depth > floor; --depth) {
        if (spans_[depth - 1].open == open) {
            CloseSpansTo(depth - 1);
            return;
        }
    }
}

void Renderer::CloseSpansTo(std::size_t depth) {
    while (spans_.size() > depth) {
        out_.append(spans_.back().closeTag);
        spans_.pop_back();
    }
}

std::string Renderer::Field(std::string_view text, std::size_t& at, char end) {
    std::string field;
    while (at < text.size() && text[at] != end) {
        if (!rich::IsReservedByte(text[at])) {
            field.push_back(text[at]);
        }
        ++at;
    }
    at = std::min(at + 1, text.size());
    return field;
}

// A reference: its name up to kReferenceText or kReferenceClose; shown as its text when it has
// one, else as its name. A reference inside a reference's text shows its text only.
void Renderer::Reference(std::string_view text, std::size_t& at) {
    std::size_t nameStart = ++at;
    while (at < text.size() && text[at] != rich::kReferenceText &&
           text[at] != rich::kReferenceClose) {
        ++at;
    }
    std::string name;
    for (char ch : text.substr(nameStart, at - nameStart)) {
        if (!rich::IsReservedByte(ch)) {
            name.push_back(ch);
        }
    }
    bool hasText = at < text.size() && text[at] == rich::kReferenceText;
    if (inReference_) {
        if (hasText) {
            ++nested_;
        } else {
            AppendHtmlEscaped(out_, name);
        }
        ++at;
        return;
    }
    std::optional<std::string> target = lookup_ ? lookup_(name) : std::nullopt;
    linked_ = target.has_value() || IsWebAddress(name);
    if (linked_) {
        out_.append("<a href=\"");
        AppendHref(out_, target ? LinkTarget(*target) : name);
        out_.append("\">");
    }
    inReference_ = true;
    referenceDepth_ = spans_.size();
    if (!hasText) {
        AppendHtmlEscaped(out_, name);
        EndReference();
    }
    ++at;
}

void Renderer::EndReference() {
    if (!inReference_) {
        return;
    }
    CloseSpansTo(referenceDepth_);
    if (linked_) {
        out_.append("</a>");
    }
    inReference_ = false;
    linked_ = false;
    nested_ = 0;
}

// An image: its file (a page beside this one, or a web address), then its alt text. Without a
// file, or with any other address, the alt text alone shows.
void Renderer::Image(std::string_view text, std::size_t& at) {
    ++at;
    std::string file;
    while (at < text.size() && text[at] != rich::kReferenceText && text[at] != rich::kImageClose) {
        if (!rich::IsReservedByte(text[at])) {
            file.push_back(text[at]);
        }
        ++at;
    }
    std::string alt;
    if (at < text.size() && text[at] == rich::kReferenceText) {
        ++at;
        alt = Field(text, at, rich::kImageClose);
    } else {
        at = std::min(at + 1, text.size());
    }
    bool local = !file.empty() && file.find_first_of(":/\\") == std::string::npos;
    if (!local && !IsWebAddress(file)) {
        AppendHtmlEscaped(out_, alt);
        return;
    }
    out_.append("<img src=\"");
    AppendHref(out_, local ? LinkTarget(file) : file);
    out_.append("\" alt=\"");
    AppendAttribute(out_, alt);
    out_.append("\">");
}

}  // namespace

std::string RenderRichText(std::string_view text, const LinkLookup& lookup,
                           const LinkLookup& words) {
    Renderer renderer(lookup, words);
    std::string html = renderer.Render(text);
    html.append(renderer.CloseAuthorTags());
    return html;
}

std::vector<std::string> RenderRichLines(const std::vector<std::string_view>& lines,
                                         const LinkLookup& lookup, const LinkLookup& words) {
    Renderer renderer(lookup, words);
    std::vector<std::string> rendered;
    rendered.reserve(lines.size());
    for (std::string_view line : lines) {
        rendered.push_back(renderer.Render(line));
    }
    std::string closing = renderer.CloseAuthorTags();
    if (!closing.empty()) {
        if (rendered.empty()) {
            rendered.push_back(std::move(closing));
        } else {
            rendered.back().append(closing);
        }
    }
    return rendered;
}

}  // namespace sylva
