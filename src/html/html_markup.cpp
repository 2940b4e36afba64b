// Telling the HTML an author wrote into documentation text from plain text.
#include "html/html_markup.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "scan/rich_text.h"
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

// Sorted, for binary search.
constexpr auto kEmptyElements = std::to_array<std::string_view>({"br", "hr", "img"});
static_assert(std::is_sorted(kEmptyElements.begin(), kEmptyElements.end()));
constexpr auto kBlockElements = std::to_array<std::string_view>({
    "blockquote", "caption", "center", "dd",    "div", "dl",    "dt", "h1", "h2",
    "h3",         "h4",      "h5",     "h6",    "hr",  "li",    "ol", "p",  "pre",
    "table",      "tbody",   "td",     "tfoot", "th",  "thead", "tr", "ul",
});
static_assert(std::is_sorted(kBlockElements.begin(), kBlockElements.end()));

constexpr std::array<std::string_view, 3> kUnsafeSchemes = {"javascript:", "vbscript:", "data:"};
constexpr std::size_t kMaxEntityName = 32;

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

// The attributes as a browser reads their values: character references decoded, and the blanks
// and control bytes a browser passes over inside an address left out, so that
// "jav&#x61;script:" and "java&Tab;script:" read as the scheme they spell. Nothing when they hold
// a named reference other than the few that spell plain characters: the tag is then text.
std::optional<std::string> DecodedAttributes(std::string_view attributes) {
    static constexpr std::array<std::pair<std::string_view, char>, 6> kNamed = {{
        {"amp", '&'},
        {"lt", '<'},
        {"gt", '>'},
        {"quot", '"'},
        {"apos", '\''},
        {"nbsp", ' '},
    }};
    std::string decoded;
    for (std::size_t at = 0; at < attributes.size(); ++at) {
        char ch = attributes[at];
        std::size_t size = ch == '&' ? HtmlEntitySize(attributes, at) : 0;
        if (size != 0) {
            std::string_view entity = attributes.substr(at + 1, size - 2);
            at += size - 1;
            if (entity.starts_with('#')) {
                bool hex = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X');
                unsigned long value =
                    std::stoul(std::string(entity.substr(hex ? 2 : 1)), nullptr, hex ? 16 : 10);
                ch = value < 0x80 ? static_cast<char>(value) : '?';
            } else {
                auto named = std::find_if(kNamed.begin(), kNamed.end(),
                                          [&](const auto& known) { return known.first == entity; });
                if (named == kNamed.end()) {
                    return std::nullopt;
                }
                ch = named->second;
            }
        }
        if (static_cast<unsigned char>(ch) > ' ') {
            decoded.push_back(ch);
        }
    }
    return decoded;
}

}  // namespace

void AppendHtmlEscaped(std::string& out, char ch) {
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

void AppendHtmlEscaped(std::string& out, std::string_view text) {
    // The bytes that need nothing go in whole runs: most names and briefs hold no other.
    std::size_t from = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char ch = text[at];
        if (ch == '<' || ch == '>' || ch == '&' || rich::IsReservedByte(ch)) {
            out.append(text.substr(from, at - from));
            AppendHtmlEscaped(out, ch);
            from = at + 1;
        }
    }
    out.append(text.substr(from));
}

std::string HtmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    AppendHtmlEscaped(escaped, text);
    return escaped;
}

void AppendHref(std::string& out, std::string_view target) {
    for (char ch : target) {
        if (ch == '"') {
            out.append("%22");
        } else {
            AppendHtmlEscaped(out, ch);
        }
    }
}

std::size_t HtmlTagSize(std::string_view text, std::size_t at) {
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
    std::optional<std::string> values = DecodedAttributes(attributes);
    if (!values) {
        return 0;
    }
    for (std::string_view scheme : kUnsafeSchemes) {
        if (FindNoCase(*values, scheme) != std::string_view::npos) {
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

HtmlTag ReadHtmlTag(std::string_view tag) {
    HtmlTag read;
    std::size_t p = 1;
    read.closing = p < tag.size() && tag[p] == '/';
    if (read.closing) {
        ++p;
    }
    while (p < tag.size() && (IsLetter(tag[p]) || (!read.name.empty() && IsDigit(tag[p])))) {
        read.name.push_back(Lower(tag[p++]));
    }
    read.empty = !read.closing &&
                 (std::binary_search(kEmptyElements.begin(), kEmptyElements.end(), read.name) ||
                  tag.ends_with("/>"));
    return read;
}

bool IsBlockElement(std::string_view name) {
    return std::binary_search(kBlockElements.begin(), kBlockElements.end(), name);
}

bool IsLinkToNeighbourPage(std::string_view tag) {
    if (tag.size() < 3 || Lower(tag[1]) != 'a' || !IsBlank(tag[2])) {
        return false;
    }
    std::size_t href = FindNoCase(tag, "href");
    while (href != std::string_view::npos && !IsBlank(tag[href - 1])) {
        href = FindNoCase(tag, "href", href + 1);
    }
    if (href == std::string_view::npos) {
        return false;
    }
    std::string_view value = TrimLeftView(tag.substr(href + 4), " \t\r");
    if (!value.starts_with("=")) {
        return false;
    }
    value = TrimLeftView(value.substr(1), " \t\r\"'");
    std::size_t end = value.find_first_of(" \t\r\"'>");
    std::string_view target = value.substr(0, end);
    if (target.empty() || target.front() == '#') {
        return false;
    }
    std::size_t colon = target.find(':');
    // A scheme is letters before the first ":", ahead of any "/", "?" or "#".
    return colon == std::string_view::npos || colon == 0 ||
           target.substr(0, colon).find_first_of("/?#") != std::string_view::npos;
}

bool IsLinkEnd(std::string_view tag) {
    return tag.size() == 4 && tag[0] == '<' && tag[1] == '/' && Lower(tag[2]) == 'a' &&
           tag[3] == '>';
}

std::size_t HtmlEntitySize(std::string_view text, std::size_t at) {
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

}  // namespace sylva
