// The block text of an item of the doxygen style: its lines already sorted into sections, and the
// rows of its parameter or member table, each kept as one line of scan/block_text.h.
//
// A section line opens with its SectionKind as one byte, then its rich text. A row opens with
// kRowMark, then its direction, name and rich text, separated by kRowFieldSeparator, a byte
// that rich text never holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/block_text.h"
#include "scan/items.h"
#include "scan/rich_text.h"

namespace sylva {

inline constexpr char kRowMark = static_cast<char>(kSectionCount);
inline constexpr char kRowFieldSeparator = '\x1F';

inline void AppendSortedLine(std::string& blockText, SectionKind section, std::string_view text) {
    std::string line(1, static_cast<char>(section));
    line.append(text);
    AppendBlockLine(blockText, line);
}

inline void AppendRow(std::string& blockText, const ParameterRow& row) {
    std::string line(1, kRowMark);
    for (std::string_view field : {std::string_view(row.direction), std::string_view(row.name)}) {
        rich::AppendStripped(line, field);
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
        if (!line.empty() && line.front() != kRowMark) {
            visit(static_cast<SectionKind>(line.front()), line.substr(1));
        }
    });
}

// The rows of `blockText`, in order. REQUIRES: as for ForEachSortedLine.
inline std::vector<ParameterRow> RowsOf(std::string_view blockText) {
    std::vector<ParameterRow> rows;
    ForEachBlockLine(blockText, [&](std::string_view line) {
        if (line.empty() || line.front() != kRowMark) {
            return;
        }
        line.remove_prefix(1);
        std::size_t first = line.find(kRowFieldSeparator);
        std::size_t second = line.find(kRowFieldSeparator, first + 1);
        rows.push_back({std::string(line.substr(first + 1, second - first - 1)),
                        std::string(line.substr(second + 1)), std::string(line.substr(0, first))});
    });
    return rows;
}

}  // namespace sylva
