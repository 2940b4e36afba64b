// Rendering rich text as HTML.
#include "html/rich_text.h"

#include "html/html_markup.h"
#include "html/page_names.h"
#include "scan/rich_text.h"

namespace sylva {

namespace {

// A span's closing byte follows its opening byte.
static_assert(rich::kCodeClose == rich::kCodeOpen + 1 && rich::kBoldClose == rich::kBoldOpen + 1 &&
              rich::kEmphasisClose == rich::kEmphasisOpen + 1);
constexpr std::string_view kPreOpen = "<pre>";
constexpr std::string_view kPreClose = "</pre>";
constexpr std::string_view kWebSchemes[] = {"https://", "http://"};

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

// Appends `target` as the value of a link's href: its bytes as written, but those that would end
// the attribute or break the page.
void AppendHref(std::string& out, std::string_view target) {
    for (char ch : target) {
        if (ch == '"') {
            out.append("%22");
        } else {
            AppendHtmlEscaped(out, ch);
        }
    }
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
    // Links of the author's to pages no Sylva site holds, whose end tags are left out too.
    int droppedLinks_ = 0;
};

std::string Renderer::Render() {
    if (rich::IsPreformattedLine(text_)) {
        for (char ch : text_.substr(1)) {
            AppendHtmlEscaped(out_, ch);
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
                    AppendHtmlEscaped(out_, text_[++at_]);
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
        size = HtmlTagSize(text_, at_);
    } else if (ch == '&') {
        size = HtmlEntitySize(text_, at_);
    }
    if (size == 0) {
        AppendHtmlEscaped(out_, ch);
        ++at_;
        return;
    }
    std::string_view markup = text_.substr(at_, size);
    at_ += size;
    // Such a link would lead nowhere; its text stays.
    if (ch == '<' && IsLinkToNeighbourPage(markup)) {
        ++droppedLinks_;
        return;
    }
    if (droppedLinks_ > 0 && IsLinkEnd(markup)) {
        --droppedLinks_;
        return;
    }
    out_.append(markup);
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
                AppendHtmlEscaped(out_, ch);
            }
        }
        ++at_;
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
        for (char ch : name) {
            AppendHtmlEscaped(out_, ch);
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
