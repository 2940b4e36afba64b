// Rendering rich text as HTML.
#include "html/rich_text.h"

#include <algorithm>
#include <array>

#include "scan/rich_text.h"
#include "support/link_target.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

// Sorted, for binary search; lower case.
constexpr auto kTagNames = std::to_array<std::string_view>({
    "a",    "abbr",   "b",      "big", "blockquote", "br",    "caption", "center", "cite",
    "code", "dd",     "del",    "dfn", "div",        "dl",    "dt",      "em",     "font",
    "h1",   "h2",     "h3",     "h4",  "h5",         "h6",    "hr",      "i",      "img",
    "ins",  "kbd",    "li",     "ol",  "p",          "pre",   "s",       "samp",   "small",
    "span", "strike", "strong", "sub", "sup",        "table", "tbody",   "td",     "tfoot",
    "th",   "thead",  "tr",     "tt",  "u",          "ul",    "var",
});
static_assert(std::is_sorted(kTagNames.begin(), kTagNames.end()));

constexpr std::array<std::string_view, 3> kUnsafeSchemes = {"javascript:", "vbscript:", "data:"};
constexpr std::size_t kMaxEntityName = 32;
// A span's closing byte follows its opening byte.
static_assert(rich::kCodeClose == rich::kCodeOpen + 1 && rich::kBoldClose == rich::kBoldOpen + 1 &&
              rich::kEmphasisClose == rich::kEmphasisOpen + 1);
constexpr std::string_view kPreOpen = "<pre>";
constexpr std::string_view kPreClose = "</pre>";

bool IsLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

bool IsHexDigit(char ch) {
    return IsDigit(ch) || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r';
}

char Lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

void AppendEscaped(std::string& out, char ch) {
    switch (ch) {
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '&':
            out.append("&amp;");
            break;
        default:
            if (!rich::IsReservedByte(ch)) {
                out.push_back(ch);
            }
            break;
    }
}

// The size of the tag that opens at text[at] ('<'), or 0 when it is text (see the header).
std::size_t TagSize(std::string_view text, std::size_t at) {
    std::size_t p = at + 1;
    bool closing = p < text.size() && text[p] == '/';
    if (closing) {
        ++p;
    }
    std::size_t nameStart = p;
    while (p < text.size() && (IsLetter(text[p]) || (p > nameStart && IsDigit(text[p])))) {
        ++p;
    }
    std::string name;
    for (char ch : text.substr(nameStart, p - nameStart)) {
        name.push_back(Lower(ch));
    }
    if (name.empty() || !std::binary_search(kTagNames.begin(), kTagNames.end(), name)) {
        return 0;
    }
    std::size_t attributesStart = p;
    char quote = '\0';
    for (; p < text.size(); ++p) {
        char ch = text[p];
        if (ch == '\n' || rich::IsReservedByte(ch) || (ch == '<' && quote == '\0')) {
            return 0;
        }
        if (quote != '\0') {
            quote = ch == quote ? '\0' : quote;
        } else if (ch == '"' || ch == '\'') {
            if (p == attributesStart) {
                return 0;
            }
            quote = ch;
        } else if (ch == '>') {
            break;
        } else if (p == attributesStart && !IsBlank(ch) && ch != '/') {
            return 0;
        }
    }
    if (p >= text.size()) {
        return 0;
    }
    std::string_view attributes = text.substr(attributesStart, p - attributesStart);
    std::string_view trimmed = TrimView(attributes, " \t\r/");
    if (closing && !trimmed.empty()) {
        return 0;
    }
    for (std::string_view scheme : kUnsafeSchemes) {
        if (FindNoCase(attributes, scheme) != std::string_view::npos) {
            return 0;
        }
    }
    // An event handler attribute: "on" at the start of an attribute name.
    for (std::size_t on = FindNoCase(attributes, "on"); on != std::string_view::npos;
         on = FindNoCase(attributes, "on", on + 1)) {
        if (on == 0 || IsBlank(attributes[on - 1]) || attributes[on - 1] == '/') {
            return 0;
        }
    }
    return p + 1 - at;
}

// The size of the entity that opens at text[at] ('&'), or 0 when the '&' is text.
std::size_t EntitySize(std::string_view text, std::size_t at) {
    std::size_t p = at + 1;
    if (p < text.size() && text[p] == '#') {
        ++p;
        bool hex = p < text.size() && (text[p] == 'x' || text[p] == 'X');
        if (hex) {
            ++p;
        }
        std::size_t digits = p;
        while (p < text.size() && p - digits < 8 &&
               (hex ? IsHexDigit(text[p]) : IsDigit(text[p]))) {
            ++p;
        }
        return p > digits && p < text.size() && text[p] == ';' ? p + 1 - at : 0;
    }
    if (p >= text.size() || !IsLetter(text[p])) {
        return 0;
    }
    std::size_t name = p;
    while (p < text.size() && p - name < kMaxEntityName &&
           (IsLetter(text[p]) || IsDigit(text[p]))) {
        ++p;
    }
    return p < text.size() && text[p] == ';' ? p + 1 - at : 0;
}

class Renderer {
  public:
    Renderer(std::string_view text, const LinkLookup& lookup) : text_(text), lookup_(lookup) {}

    std::string Render();

  private:
    struct Span {
        char open;
        std::string_view closeTag;
    };

    void Text(char ch);
    void OpenSpan(char open, std::string_view openTag, std::string_view closeTag);
    void CloseSpan(char open);
    // Closes the spans above `depth`, innermost first.
    void CloseSpansTo(std::size_t depth);
    void Reference();
    void EndReference();

    std::string_view text_;
    const LinkLookup& lookup_;
    std::size_t at_ = 0;
    std::string out_;
    std::vector<Span> spans_;
    // Inside a reference's shown text: spans below this depth were open before it.
    bool inReference_ = false;
    bool linked_ = false;
    std::size_t referenceDepth_ = 0;
    // References with a text of their own inside the current reference's text.
    int nested_ = 0;
};

std::string Renderer::Render() {
    if (rich::IsPreformattedLine(text_)) {
        for (char ch : text_.substr(1)) {
            AppendEscaped(out_, ch);
        }
        return std::move(out_);
    }
    out_.reserve(text_.size() + text_.size() / 8);
    while (at_ < text_.size()) {
        char ch = text_[at_];
        switch (ch) {
            case rich::kCodeOpen:
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
                Reference();
                continue;
            case rich::kReferenceClose:
                if (nested_ > 0) {
                    --nested_;
                } else {
                    EndReference();
                }
                break;
            case rich::kLiteral:
                if (at_ + 1 < text_.size()) {
                    AppendEscaped(out_, text_[++at_]);
                }
                break;
            default:
                Text(ch);
                continue;
        }
        ++at_;
    }
    EndReference();
    CloseSpansTo(0);
    return std::move(out_);
}

void Renderer::Text(char ch) {
    std::size_t size = 0;
    if (ch == '<') {
        size = TagSize(text_, at_);
    } else if (ch == '&') {
        size = EntitySize(text_, at_);
    }
    if (size == 0) {
        AppendEscaped(out_, ch);
        ++at_;
        return;
    }
    out_.append(text_.substr(at_, size));
    at_ += size;
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

// A reference: its name up to kReferenceText or kReferenceClose; shown as its text when it has
// one, else as its name. A reference inside a reference's text shows its text only.
void Renderer::Reference() {
    std::size_t nameStart = ++at_;
    while (at_ < text_.size() && text_[at_] != rich::kReferenceText &&
           text_[at_] != rich::kReferenceClose) {
        ++at_;
    }
    std::string name;
    for (char ch : text_.substr(nameStart, at_ - nameStart)) {
        if (!rich::IsReservedByte(ch)) {
            name.push_back(ch);
        }
    }
    bool hasText = at_ < text_.size() && text_[at_] == rich::kReferenceText;
    if (inReference_) {
        if (hasText) {
            ++nested_;
        } else {
            for (char ch : name) {
                AppendEscaped(out_, ch);
            }
        }
        ++at_;
        return;
    }
    std::optional<std::string> target = lookup_ ? lookup_(name) : std::nullopt;
    linked_ = target.has_value();
    if (linked_) {
        out_.append("<a href=\"");
        for (char ch : LinkTarget(*target)) {
            if (ch == '"') {
                out_.append("%22");
            } else {
                AppendEscaped(out_, ch);
            }
        }
        out_.append("\">");
    }
    inReference_ = true;
    referenceDepth_ = spans_.size();
    if (!hasText) {
        for (char ch : name) {
            AppendEscaped(out_, ch);
        }
        EndReference();
    }
    ++at_;
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

}  // namespace

std::string RenderRichText(std::string_view text, const LinkLookup& lookup) {
    return Renderer(text, lookup).Render();
}

std::vector<std::string> RenderRichLines(const std::vector<std::string_view>& lines,
                                         const LinkLookup& lookup) {
    std::vector<std::string> rendered;
    rendered.reserve(lines.size());
    bool inPre = false;
    for (std::string_view line : lines) {
        bool pre = rich::IsPreformattedLine(line);
        if (pre != inPre) {
            rendered.emplace_back(pre ? kPreOpen : kPreClose);
            inPre = pre;
        }
        rendered.push_back(RenderRichText(line, lookup));
    }
    if (inPre) {
        rendered.emplace_back(kPreClose);
    }
    return rendered;
}

}  // namespace sylva
