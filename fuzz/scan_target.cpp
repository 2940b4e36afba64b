// Fuzzing the source scanners: the bytes of one source file, with the first byte choosing the
// options that change how marker blocks are parsed, read by the marker-block scanner and by the
// documentation comment reader, whose items then go through the item list to their page text.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "html/html_markup.h"
#include "html/page_names.h"
#include "html/page_text.h"
#include "html/rich_text.h"
#include "html/scope_index.h"
#include "scan/doxygen/reader.h"
#include "scan/rich_text.h"
#include "support/zt_string.h"

namespace sylva::fuzz {

namespace {

bool HoldsReservedByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), rich::IsReservedByte);
}

// `address` as a browser reads it: character references decoded, blanks and control bytes gone.
std::string DecodedAddress(std::string_view address) {
    std::string decoded;
    for (std::size_t at = 0; at < address.size(); ++at) {
        char ch = address[at];
        if (ch == '&') {
            std::size_t end = address.find(';', at);
            std::string_view entity =
                address.substr(at + 1, end == std::string_view::npos ? 0 : end - at - 1);
            if (entity.starts_with('#') && entity.size() > 1) {
                bool hex = entity[1] == 'x' || entity[1] == 'X';
                std::string digits(entity.substr(hex ? 2 : 1));
                if (!digits.empty() && digits.size() < 8 &&
                    digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") ==
                        std::string::npos) {
                    ch = static_cast<char>(std::stoul(digits, nullptr, hex ? 16 : 10) & 0x7F);
                    at = end;
                }
            }
        }
        if (static_cast<unsigned char>(ch) > ' ') {
            decoded.push_back(ch);
        }
    }
    return decoded;
}

// Aborts unless every href and src attribute of `html` is an address a page may hold: no script or
// data scheme, however its letters are written (character references decoded, blanks dropped).
void RequireSafeAddresses(std::string_view html) {
    for (std::string_view attribute : {"href=", "src="}) {
        for (std::size_t at = FindNoCase(html, attribute); at != std::string_view::npos;
             at = FindNoCase(html, attribute, at + 1)) {
            // Text that reads "href=" is no address; only an attribute inside a tag is.
            std::size_t tagStart = html.rfind('<', at);
            std::size_t tagEnd = html.rfind('>', at);
            if (tagStart == std::string_view::npos ||
                (tagEnd != std::string_view::npos && tagEnd > tagStart)) {
                continue;
            }
            std::size_t start = at + attribute.size();
            char quote = start < html.size() ? html[start] : '\0';
            std::size_t end = quote == '"' || quote == '\'' ? html.find(quote, start + 1)
                                                            : html.find_first_of(" >", start);
            std::string address = DecodedAddress(html.substr(start, end - start));
            address.erase(0, address.find_first_not_of("\"'"));
            for (std::string_view scheme : {"javascript:", "vbscript:", "data:"}) {
                Require(FindNoCase(address.substr(0, scheme.size()), scheme) != 0,
                        "a script or data address reached the HTML");
            }
        }
    }
}

// Aborts unless no element is closed in `html` more often than it is opened there: a comment
// cannot close an element of the page around it.
void RequireBalancedClosings(std::string_view html) {
    for (std::string_view name : {"div", "font", "p", "table", "td", "tr", "ul", "ol", "li", "dl",
                                  "pre", "b", "a", "blockquote", "body", "html"}) {
        std::size_t opened = 0;
        std::size_t closed = 0;
        std::string open = std::string(1, '<').append(name);
        std::string close = std::string("</").append(name).append(1, '>');
        for (std::size_t at = FindNoCase(html, open); at != std::string_view::npos;
             at = FindNoCase(html, open, at + 1)) {
            // A tag's name ends at a blank, a '/' or the '>', as a browser reads it.
            char next = at + open.size() < html.size() ? html[at + open.size()] : '\0';
            opened += next != '\0' &&
                      std::string_view(" \t\n\r\f/>").find(next) != std::string_view::npos;
        }
        for (std::size_t at = FindNoCase(html, close); at != std::string_view::npos;
             at = FindNoCase(html, close, at + 1)) {
            ++closed;
        }
        Require(closed <= opened, "a closing tag without its opening tag reached the HTML");
    }
}

// Aborts unless rendering `text` gives HTML without reserved bytes, script tags, script
// addresses or stray closing tags, whatever the source held.
void RequireSafeHtml(std::string_view text) {
    static const LinkLookup kEveryName = [](std::string_view name) {
        return std::optional<std::string>("SYLVA_" + std::string(name) + ".html");
    };
    std::string html = RenderRichText(text, kEveryName);
    Require(!HoldsReservedByte(html), "a reserved byte reached the HTML");
    Require(FindNoCase(html, "<script") == std::string::npos, "a script tag reached the HTML");
    RequireSafeAddresses(html);
    RequireBalancedClosings(html);
}

// Aborts unless every item of the reader points into the file, names itself without reserved
// bytes, and holds sections and rich text that render safely.
void RequireSoundDoxygenItems(std::string_view content) {
    int lines = 1 + static_cast<int>(std::count(content.begin(), content.end(), '\n'));
    for (const DoxygenItem& item :
         ReadDoxygenComments(content, [lines](int line, std::string_view) {
             Require(line >= 1 && line <= lines, "a warning outside the file");
         })) {
        Require(item.line >= 1 && item.line <= lines, "an item outside the file");
        Require(!HoldsReservedByte(item.name) && !HoldsReservedByte(item.group) &&
                    !HoldsReservedByte(item.title),
                "a reserved byte in a name, group or title");
        for (const DoxygenLine& line : item.lines) {
            Require(line.section >= 0 && line.section < kSectionCount, "a section out of range");
            RequireSafeHtml(line.text);
        }
        for (const DoxygenParameter& row : item.parameters) {
            Require(!HoldsReservedByte(row.name), "a reserved byte in a row's name");
            RequireSafeHtml(row.text);
        }
    }
}

// Aborts unless `html` holds no reserved byte, no script tag and no script address.
void RequireSafeRendered(std::string_view html) {
    Require(!HoldsReservedByte(html), "a reserved byte reached a page");
    Require(FindNoCase(html, "<script") == std::string::npos, "a script tag reached a page");
    RequireSafeAddresses(html);
}

// Aborts unless every link of `html` to a page of the project (or a row on it) leads to a page
// in `written`.
void RequireLinksToWrittenPages(std::string_view html, const std::set<std::string>& written) {
    constexpr std::string_view kHref = "href=\"";
    for (std::size_t at = html.find(kHref); at != std::string_view::npos;
         at = html.find(kHref, at + 1)) {
        // Text that reads 'href="' (an author's tag shown as text) is no link.
        std::size_t tagStart = html.rfind('<', at);
        std::size_t tagEnd = html.rfind('>', at);
        if (tagStart == std::string_view::npos ||
            (tagEnd != std::string_view::npos && tagEnd > tagStart)) {
            continue;
        }
        std::size_t start = at + kHref.size();
        std::string_view target = html.substr(start, html.find('"', start) - start);
        // A link to a row of a scope's page names the row behind '#'.
        target = target.substr(0, target.find('#'));
        if (target.starts_with("SYLVA_")) {
            Require(written.contains(std::string(target)), "a link to a page that is not written");
        }
    }
}

// Scans `content` as a run of the doxygen style does and renders what every item's page and
// index rows show, its names linked; aborts unless the items are sound, the HTML is safe and
// every link leads to a written page.
void RequireSafeDoxygenPages(std::uint8_t flags, std::string_view content) {
    FuzzProject fuzzed(flags);
    fuzzed.Scan(content, "/src/fuzz.h", CommentStyle::kDoxygen);
    RequireSoundItems(fuzzed);
    PageJob job = fuzzed.Job();
    std::set<std::string> written;
    std::vector<const CSylItem*> paged;
    for (const ItemList::Slot& item : fuzzed.items) {
        if (item) {
            paged.push_back(item.get());
            std::string href;
            AppendHref(href, LinkTarget(PageFile(*item)));
            written.insert(std::move(href));
        }
    }
    const ScopeIndex scopes(fuzzed.items, paged);
    for (const ItemList::Slot& item : fuzzed.items) {
        if (!item) {
            continue;
        }
        // Names resolve through the bases of classes, as the pages of a run resolve them.
        PageText text = DerivePageText(*item, job, nullptr, nullptr, &scopes);
        RequireSafeRendered(text.declaration);
        RequireLinksToWrittenPages(text.declaration, written);
        RequireSafeRendered(text.typeLabel);
        for (int kind = 0; kind < kSectionCount; ++kind) {
            std::string section;
            for (const std::string& line : text.sections[kind]) {
                RequireSafeRendered(line);
                RequireLinksToWrittenPages(line, written);
                section += line;
            }
            // The rows of a parameter table are the template's HTML, not the comment's.
            if (!(kind == kSectionParameter && text.hasParamTable)) {
                RequireBalancedClosings(section);
            }
        }
        std::string escaped;
        RequireSafeRendered(ShownBreakableName(*item, escaped));
        RequireSafeRendered(ShownShortDescription(*item, fuzzed.settings, fuzzed.items));
    }
}

}  // namespace

int FuzzScan(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    FuzzProject fuzzed(data[0]);
    int items = fuzzed.Scan(AsText(data + 1, size - 1), "/src/fuzz.cpp");
    // A binary input is skipped whole.
    Require(items == kSkippedAsBinary ? fuzzed.items.size() == 0
                                      : items == static_cast<int>(fuzzed.items.size()),
            "items created but not listed");
    RequireSoundItems(fuzzed);
    for (const ItemList::Slot& item : fuzzed.items) {
        (void)DeriveItemText(*item, fuzzed.settings, fuzzed.options);
    }
    RequireSoundDoxygenItems(AsText(data + 1, size - 1));
    RequireSafeDoxygenPages(data[0], AsText(data + 1, size - 1));
    return 0;
}

}  // namespace sylva::fuzz
