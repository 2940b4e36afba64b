// The block text of an item of the doxygen style: its lines already sorted into sections, the
// rows of its parameter or member table, and what else the reader found out about the item, each
// kept as one line of scan/block_text.h.
//
// A section line opens with its SectionKind as one byte, then its rich text. A row opens with
// kRowMark (kTemplateRowMark for a template parameter), then its direction, name, type, tail and
// rich text, separated by kRowFieldSeparator, a byte that rich text never holds. Any other line
// opens with a mark of its own (kSignatureMark, ...), then its plain text; a kind of fact is added
// to an item by giving it a mark here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/block_text.h"
#include "scan/items.h"
#include "scan/rich_text.h"

namespace sylva {

inline constexpr char kRowMark = static_cast<char>(kSectionCount);
// A function's parameter types, behind '1' for a definition (with its body) or '0'.
inline constexpr char kSignatureMark = static_cast<char>(kSectionCount + 1);
// A label in the item's text that a reference may lead to.
inline constexpr char kAnchorMark = static_cast<char>(kSectionCount + 2);
// A base the item's comment names.
inline constexpr char kBaseMark = static_cast<char>(kSectionCount + 3);
// The class whose page shows the item.
inline constexpr char kRelatesMark = static_cast<char>(kSectionCount + 4);
// The label of a page ("@page" or a Markdown file's) by which references reach it, or the label
// a group is defined by ("@defgroup label Title"), which names its page.
inline constexpr char kLabelMark = static_cast<char>(kSectionCount + 5);
// A row of the template parameter table.
inline constexpr char kTemplateRowMark = static_cast<char>(kSectionCount + 6);
// The scope a group's, page's or file's comment stood in: its text's names are looked up there.
inline constexpr char kSpaceMark = static_cast<char>(kSectionCount + 7);
inline constexpr char kRowFieldSeparator = '\x1F';
// Between the names of a row of a declaration that declares several ("int x, y;").
inline constexpr std::string_view kRowNameSeparator = ", ";

inline void AppendFact(std::string& blockText, char mark, std::string_view text) {
    std::string line(1, mark);
    rich::AppendStripped(line, text);
    AppendBlockLine(blockText, line);
}

// The texts of the facts of one `mark` in `blockText`, in order.
inline std::vector<std::string_view> FactsOf(std::string_view blockText, char mark) {
    std::vector<std::string_view> facts;
    ForEachBlockLine(blockText, [&](std::string_view line) {
        if (!line.empty() && line.front() == mark) {
            facts.push_back(line.substr(1));
        }
    });
    return facts;
}

inline void AppendSortedLine(std::string& blockText, SectionKind section, std::string_view text) {
    std::string line(1, static_cast<char>(section));
    line.append(text);
    AppendBlockLine(blockText, line);
}

inline void AppendRow(std::string& blockText, const ParameterRow& row, char mark = kRowMark) {
    std::string line(1, mark);
    for (const std::string* field : {&row.direction, &row.name, &row.type, &row.tail}) {
        rich::AppendStripped(line, *field);
        line.push_back(kRowFieldSeparator);
    }
    line.append(row.comment);
    AppendBlockLine(blockText, line);
}

// Calls `visit(SectionKind, std::string_view text)` for every section line of `blockText`, in
// order. REQUIRES: `blockText` was built by AppendSortedLine and AppendRow.
template <typename Visit>
void ForEachSortedLine(std::string_view blockText, Visit visit) {
    ForEachBlockLine(blockText, [&](std::string_view line) {
        if (!line.empty() && static_cast<unsigned char>(line.front()) < kSectionCount) {
            visit(static_cast<SectionKind>(line.front()), line.substr(1));
        }
    });
}

// The fields of a row line behind its mark, as views of it. REQUIRES: built by AppendRow.
struct RowFields {
    std::string_view direction;
    std::string_view name;
    std::string_view type;
    std::string_view tail;
    std::string_view comment;
};
inline RowFields FieldsOfRow(std::string_view line) {
    std::string_view fields[4];
    line.remove_prefix(1);
    for (std::string_view& field : fields) {
        std::size_t end = line.find(kRowFieldSeparator);
        field = line.substr(0, end);
        line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    }
    return {fields[0], fields[1], fields[2], fields[3], line};
}

// The rows of one `mark` in `blockText`, in order. REQUIRES: as for ForEachSortedLine.
inline std::vector<ParameterRow> RowsOf(std::string_view blockText, char mark = kRowMark) {
    std::vector<ParameterRow> rows;
    ForEachBlockLine(blockText, [&](std::string_view line) {
        if (line.empty() || line.front() != mark) {
            return;
        }
        RowFields row = FieldsOfRow(line);
        rows.push_back({std::string(row.name), std::string(row.comment), std::string(row.direction),
                        std::string(row.type), std::string(row.tail)});
    });
    return rows;
}

}  // namespace sylva
