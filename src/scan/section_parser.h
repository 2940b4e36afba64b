// Sorting a documentation block's lines into an item's sections, and what an item's text adds on
// its own afterwards: the parameter table, the history date and the type words. Each works on
// the item's fields, the run's settings and its options.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/block_text.h"
#include "scan/items.h"
#include "scan/section_keywords.h"
#include "scan/sorted_lines.h"
#include "support/zt_string.h"

namespace sylva {

// Calls `visit(SectionKind, std::string_view line)` for every line of `blockText` (built by
// AppendBlockLine) that reaches a section, in order: a line whose key opens with a keyword switches
// the section and reaches it with the text behind the keyword, when there is any; any other line
// reaches the current section unchanged; lines before the first keyword reach none. The key of a
// line is the line without its leading spaces and its trailing colons and spaces. Every view
// passed is a part of `blockText`.
template <typename Visit>
void ForEachSectionLine(const SectionKeywords& keywords, std::string_view blockText, Visit visit) {
    bool inSection = false;
    SectionKind current = kSectionParameter;
    ForEachBlockLine(blockText, [&](std::string_view line) {
        std::string_view key = TrimRightView(TrimLeftView(line, " "), ": ");
        if (!key.empty()) {
            if (std::optional<SectionKeywords::Match> match = keywords.Find(key)) {
                inSection = true;
                current = match->section;
                if (!match->text.empty()) {
                    visit(current, match->text);
                }
                return;
            }
        }
        if (inSection) {
            visit(current, line);
        }
    });
}

// Calls `visit(SectionKind, std::string_view line)` for every section line of `item`, in order:
// its block's lines as the keywords sort them, or, for an item of the doxygen style, its lines
// as the reader sorted them.
template <typename Visit>
void ForEachItemLine(const CSylItem& item, const Settings& settings, Visit visit) {
    if (item.style == CommentStyle::kDoxygen) {
        ForEachSortedLine(item.BlockText(), visit);
    } else {
        ForEachSectionLine(settings.Keywords(), item.BlockText(), visit);
    }
}

// Fills `text.sections` from the item's lines (ForEachItemLine). Then takes the parameter table:
// built from `text.declaration` (when the item has syntax), or the rows a documentation comment
// gave; and adds the history date, as the options ask. REQUIRES: `text` holds the item's
// declaration and no section lines.
void ParseSections(const CSylItem& item, const Settings& settings, const RunOptions& options,
                   ItemText& text);

// True iff `key` opens with one of the "|"-separated alternatives of `keywordList` (ASCII case
// folded), followed by nothing or by ':'. Then `line` becomes the rest of the key without its
// leading spaces and colons.
bool MatchKeyword(std::string_view keywordList, std::string_view key, std::string& line);

// Appends "Source file last change: <time>" to the History section when the options ask for it.
void AddHistoryDate(const CSylItem& item, const RunOptions& options, ItemText& text);

struct ItemType {
    std::string text;  // the type words, "Public" when there are none
    int accessRank;
    int isPublic;
};

// The type words and kind that the Doc type lines give an item.
ItemType TypeOf(const Settings& settings, const std::vector<std::string_view>& docTypeLines);

// Builds the Parameter section as a table from the "//" comments of the declaration's parameter
// list (or structure members), when the block left that section empty or pointed elsewhere.
// Shortens or removes those comments in `text.declaration` as the options ask.
void BuildParameterTable(const Settings& settings, const RunOptions& options, ItemText& text);

}  // namespace sylva
