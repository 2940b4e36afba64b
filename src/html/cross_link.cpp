// Cross-linking of item names: a documented item's name written in double quotes in any section
// but See also becomes a link to that item's description page. Works on the lines of a page's
// text when the page is built; the CrossLink stage before the pages only reports.
//
// When a name is linked, every other occurrence of it in the line is linked too (also inside a
// longer word), except where it stands inside an HTML tag or inside the text of a link: replacing
// there would break the tags of links made before, and the line could then be rescanned for ever.
#include "html/cross_link.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/case_folded_names.h"
#include "html/output_files.h"
#include "html/page_names.h"
#include "support/ordered_work.h"
#include "support/text_format.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kProtocolStart = "Search all HTML files for linkable text...";
constexpr std::string_view kProgressStatus = "Search for linkable text in %s...";
constexpr std::string_view kLinkPattern = "<a href=\"%s\">%s</a>";
constexpr std::string_view kLinkOpen = "<a";
constexpr std::string_view kLinkClose = "</a>";
constexpr int kExtraRescans = 2;
constexpr WarningKind kCaseOnlyName = {
    "sylva.case-only-name",
    "\"%s\" matches the item \"%s\" only when letter case is ignored; it stays unlinked"};

struct Range {
    std::size_t begin;
    std::size_t end;
};

bool IsAsciiLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

// A tag opens at "<" directly followed by a letter, "/" or "!" (so "a < b" is text) and ends
// after the next ">"; without a ">" the "<" is text.
std::size_t TagEnd(std::string_view line, std::size_t at) {
    if (at + 1 >= line.size()) {
        return std::string_view::npos;
    }
    char next = line[at + 1];
    if (!IsAsciiLetter(next) && next != '/' && next != '!') {
        return std::string_view::npos;
    }
    std::size_t close = line.find('>', at + 1);
    return close == std::string_view::npos ? close : close + 1;
}

// A link opens at "<a" followed by a blank (any case) and runs past the next "</a>", or to the
// end of the line when its end stands on a later line.
std::size_t LinkEnd(std::string_view line, std::size_t at) {
    if (at + 2 >= line.size() || !EqualsNoCase(line.substr(at, 2), kLinkOpen) ||
        (line[at + 2] != ' ' && line[at + 2] != '\t')) {
        return std::string_view::npos;
    }
    std::size_t close = FindNoCase(line, kLinkClose, at + 2);
    return close == std::string_view::npos ? line.size() : close + kLinkClose.size();
}

// The parts of `line` where a name may be replaced: outside every tag and every link's text.
std::vector<Range> ReplaceableRanges(std::string_view line) {
    std::vector<Range> ranges;
    std::size_t from = 0;
    std::size_t at = line.find('<');
    while (at != std::string_view::npos) {
        std::size_t end = LinkEnd(line, at);
        if (end == std::string_view::npos) {
            end = TagEnd(line, at);
        }
        if (end == std::string_view::npos) {
            at = line.find('<', at + 1);
            continue;
        }
        ranges.push_back({from, at});
        from = end;
        at = line.find('<', end);
    }
    ranges.push_back({from, line.size()});
    return ranges;
}

// `line` with every replaceable occurrence of `name` replaced by `link`; the number of
// replacements goes to `count`.
std::string ReplaceOutsideMarkup(std::string_view line, std::string_view name,
                                 std::string_view link, int& count) {
    std::string result;
    result.reserve(line.size() + link.size());
    count = 0;
    std::size_t copied = 0;
    for (const Range& range : ReplaceableRanges(line)) {
        result.append(line.substr(copied, range.begin - copied));
        CZTString part(line.substr(range.begin, range.end - range.begin));
        count += part.FindReplace(name, link);
        result.append(part);
        copied = range.end;
    }
    return result;
}

// A link to the plain page of `name`: the page of the first item of that name.
std::string LinkText(const std::string& name) {
    return FormatLine(kLinkPattern, {LinkTarget(PlainPageFile(name)), name});
}

// The text between the next pair of double quotes at or after `from`, which then moves past the
// closing quote; nothing when no pair is left (an unmatched quote ends the line's candidates).
std::optional<std::string_view> NextQuoted(std::string_view line, std::size_t& from) {
    std::size_t open = line.find('"', from);
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    from = close + 1;
    return line.substr(open + 1, close - open - 1);
}

// Scans `line` from its start for a name between double quotes that names another item and
// links it. Returns false when the scan reached the end without changing the line: two adjacent
// quotes (the empty name), the item's own name, unknown names and names that stand only inside
// markup are passed over, and an unmatched quote ends the scan.
bool LinkNextName(const ItemList& items, std::string& line, std::string_view ownName) {
    std::size_t from = 0;
    while (std::optional<std::string_view> candidate = NextQuoted(line, from)) {
        if (candidate->empty() || *candidate == ownName || !items.Contains(*candidate)) {
            continue;
        }
        const std::string name(*candidate);
        int replaced = 0;
        std::string linked = ReplaceOutsideMarkup(line, name, LinkText(name), replaced);
        if (replaced > 0) {
            line = std::move(linked);
            return true;
        }
    }
    return false;
}

// Adds to `warnings` a warning for each quoted text of `line` that names no item exactly but one
// when letter case is ignored: most likely a misspelt name, and it stays unlinked.
void FindCaseOnlyNames(const ItemList& items, std::string_view line, const CaseFoldedNames& names,
                       std::vector<std::string>& warnings) {
    std::size_t from = 0;
    while (std::optional<std::string_view> candidate = NextQuoted(line, from)) {
        if (candidate->empty() || items.Contains(*candidate)) {
            continue;
        }
        if (const std::string* name = names.Find(*candidate)) {
            warnings.push_back(FormatLine(kCaseOnlyName, {*candidate, *name}).text);
        }
    }
}

}  // namespace

int RescanBound(std::string_view line) {
    return static_cast<int>(std::count(line.begin(), line.end(), '"')) + kExtraRescans;
}

void LinkQuotedNames(const ItemList& items, std::string& line, std::string_view ownName,
                     int maxRescans) {
    int rescans = 0;
    while (LinkNextName(items, line, ownName) && rescans < maxRescans) {
        ++rescans;
    }
}

void ForEachLinkableLine(PageText& text, const std::function<void(std::string&)>& visit) {
    for (int kind = 0; kind < kSectionCount; ++kind) {
        // See also lines are links already, made when the page text was rendered.
        if (kind == kSectionSeeAlso) {
            continue;
        }
        for (std::string& line : text.sections[kind].Lines()) {
            visit(line);
        }
    }
}

void LinkItemText(const ItemList& items, PageText& text, std::string_view ownName) {
    ForEachLinkableLine(
        text, [&](std::string& line) { LinkQuotedNames(items, line, ownName, RescanBound(line)); });
}

void CrossLink(PageJob& job) {
    job.reporter.Protocol(kProtocolStart);
    const CaseFoldedNames foldedNames(job.items);
    const std::vector<const CSylItem*> linked = ItemsWithPages(job);
    // The links themselves are made when each page is built; here each item's text is derived
    // only for the warnings, which look at each line before it is linked.
    // What one item's text gave: its warnings, or for a fresh page the memo's record of them.
    struct Checked {
        std::vector<std::string> warnings;
        NameLookups lookups;
        const PageRecord* fresh = nullptr;
    };
    RunInOrder<Checked>(
        // The calling thread only hands on the warnings: every thread may derive texts.
        linked.size(), WorkersFor(job.threadCount, false),
        [&](std::size_t i) {
            Checked checked;
            // Quoted names are no references in the doxygen style.
            if (linked[i]->style != CommentStyle::kSylva) {
                return checked;
            }
            if (job.memo != nullptr && (checked.fresh = job.memo->Fresh(*linked[i])) != nullptr) {
                return checked;
            }
            const NameLookups::Recording recording(checked.lookups);
            PageText text = DerivePageText(*linked[i], job);
            ForEachLinkableLine(text, [&](std::string& line) {
                FindCaseOnlyNames(job.items, line, foldedNames, checked.warnings);
            });
            return checked;
        },
        [&](std::size_t i, Checked& checked) {
            const CSylItem& item = *linked[i];
            job.reporter.Status(FormatLine(kProgressStatus, {item.name}));
            job.reporter.Advance();
            const std::vector<std::string>& warnings =
                checked.fresh != nullptr ? checked.fresh->linkWarnings : checked.warnings;
            for (const std::string& warning : warnings) {
                job.reporter.Warning(item.sourceFile, item.sourceLine,
                                     WarningMessage(kCaseOnlyName.rule, warning, item.name));
            }
            if (job.memo != nullptr && checked.fresh == nullptr) {
                job.memo->Linked(item, std::move(checked.warnings), checked.lookups);
            }
        });
}

}  // namespace sylva
