// Reading a Markdown file as a page of the project: its lines are the text of one comment, and
// its first heading, when the file opens with it, is the page's title.
#include <optional>

#include "scan/doxygen/comment.h"
#include "scan/doxygen/comment_parser.h"
#include "scan/doxygen/items.h"
#include "scan/doxygen/reader.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::size_t kMaxHeadingIndent = 3;

// The first line of a file that opens with a heading of level 1, and the lines it takes.
struct OpeningHeading {
    std::string title;
    std::string label;      // from "{#label}" behind the title
    std::size_t line = 0;   // 0-based index of its first line
    std::size_t lines = 1;  // 2 for an underlined heading
};

// The heading whose line (after its '#') is `text`: its title without a closing run of '#'
// (behind a blank) and without the "{#label}" behind it, which names its label.
OpeningHeading ReadHeading(std::string_view text, std::size_t line, std::size_t lines) {
    OpeningHeading heading{{}, {}, line, lines};
    text = TrimView(text, kBlanks);
    if (text.ends_with('}')) {
        const std::size_t open = text.rfind("{#");
        if (open != std::string_view::npos) {
            heading.label = doxygen_parse::Plain(
                TrimView(text.substr(open + 2, text.size() - open - 3), kBlanks));
            text = TrimRightView(text.substr(0, open), kBlanks);
        }
    }
    std::string_view closed = TrimRightView(text, "#");
    if (closed.size() < text.size() && (closed.empty() || closed.back() == ' ')) {
        text = TrimRightView(closed, kBlanks);
    }
    heading.title = doxygen_parse::Plain(text);
    return heading;
}

// The level-1 heading the first non-blank line of `lines` starts ("# Title", or "Title" above a
// line of '='), if any.
std::optional<OpeningHeading> FindOpeningHeading(const std::vector<CommentLine>& lines) {
    std::size_t first = 0;
    while (first < lines.size() && TrimView(lines[first].text, kBlanks).empty()) {
        ++first;
    }
    if (first == lines.size()) {
        return std::nullopt;
    }
    std::string_view text = lines[first].text;
    const std::size_t indent = text.find_first_not_of(' ');
    if (indent > kMaxHeadingIndent) {
        return std::nullopt;
    }
    text.remove_prefix(indent);
    if (text.starts_with("# ") || text.starts_with("#\t")) {
        return ReadHeading(text.substr(1), first, 1);
    }
    if (first + 1 < lines.size()) {
        std::string_view below = TrimView(lines[first + 1].text, kBlanks);
        if (!below.empty() && below.find_first_not_of('=') == std::string_view::npos) {
            return ReadHeading(text, first, 2);
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<DoxygenItem> ReadMarkdownPage(std::string_view content, std::string_view label,
                                          std::string_view fileName, bool mainPage,
                                          const DoxygenWarning& warn,
                                          const DoxygenOptions& options) {
    std::vector<CommentLine> lines;
    for (std::size_t at = 0; at < content.size();) {
        std::size_t end = content.find('\n', at);
        end = end == std::string_view::npos ? content.size() : end;
        lines.push_back({content.substr(at, end - at), static_cast<int>(lines.size()) + 1});
        at = end + 1;
    }
    std::string title(fileName);
    std::string headingLabel;
    if (std::optional<OpeningHeading> heading = FindOpeningHeading(lines)) {
        if (!heading->title.empty()) {
            title = std::move(heading->title);
        }
        headingLabel = std::move(heading->label);
        // Blank, not removed: the lines keep their numbers for the warnings.
        for (std::size_t i = 0; i < heading->lines; ++i) {
            lines[heading->line + i].text = {};
        }
    }
    DoxygenReading reading{warn, options, {}, false, {}};
    DoxygenComment comment = ParseDoxygenComment(lines, false, reading);
    const CommentSubject subject = comment.subject;
    std::string name = comment.subjectName;
    std::string ownTitle = comment.title;
    DoxygenItem page = ItemFromComment(std::move(comment));
    page.line = 1;
    if (subject == CommentSubject::kPage && !name.empty()) {
        page.kind = DoxygenKind::kPage;
        page.name = std::move(name);
    } else {
        page.kind = mainPage || subject == CommentSubject::kMainPage ? DoxygenKind::kMainPage
                                                                     : DoxygenKind::kPage;
        page.name = std::string(label);
    }
    page.title = ownTitle.empty() ? std::move(title) : std::move(ownTitle);
    // References reach the page by the heading's label as by its own.
    if (!headingLabel.empty()) {
        page.anchors.push_back(std::move(headingLabel));
    }
    return {std::move(page)};
}

}  // namespace sylva
