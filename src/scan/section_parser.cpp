// The keyword lines of a documentation block, and the History and Doc type texts an item derives
// from its sections.
#include "scan/section_parser.h"

#include <array>

#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kHistoryDateLine = "Source file last change: %s";
constexpr std::string_view kDefaultTypeText = "Public";

constexpr int kPublicRank = 100;
constexpr int kPrivateRank = 200;
constexpr int kUnchanged = -1;

struct TypeWord {
    SettingId word;
    std::string_view label;
    int accessRank;  // kUnchanged keeps the value of an earlier row
    int isPublic;    // kUnchanged likewise
};

// Applied in this order to each Doc type line; a later row overrides the numbers of an earlier.
constexpr std::array<TypeWord, 8> kTypeWords = {{
    {SYL_TYPE_PUBLIC_S, " Public", kPublicRank, 1},
    {SYL_TYPE_EXPORT_S, " Exported", kPublicRank, 1},
    {SYL_TYPE_PRIVATE_S, " Private", kPrivateRank, 0},
    {SYL_TYPE_CONSTRUCTOR_S, " Constructor", kPublicRank, kUnchanged},
    {SYL_TYPE_DESTRUCTOR_S, " Destructor", kPublicRank, kUnchanged},
    {SYL_TYPE_PROTECTED_S, " Protected", kPrivateRank, 0},
    {SYL_TYPE_HELPER_S, " Helper", kUnchanged, kUnchanged},
    {SYL_TYPE_INTERNAL_S, " Internal", kPrivateRank, 0},
}};

bool ContainsTypeWord(std::string_view upperLine, const TypeWord& row, std::string_view word) {
    // The constructor word alone is searched regardless of case.
    return row.word == SYL_TYPE_CONSTRUCTOR_S ? FindNoCase(upperLine, word) != upperLine.npos
                                              : upperLine.find(word) != upperLine.npos;
}

}  // namespace

std::string_view SeeAlsoName(std::string_view line) {
    return TrimView(line, " \n");
}

bool MatchKeyword(std::string_view keywordList, std::string_view key, std::string& line) {
    std::size_t begin = 0;
    for (;;) {
        std::size_t bar = keywordList.find('|', begin);
        std::string_view keyword =
            keywordList.substr(begin, bar == keywordList.npos ? keywordList.npos : bar - begin);
        if (KeywordOpensKey(keyword, key)) {
            line = TextBehindKeyword(key, keyword.size());
            return true;
        }
        if (bar == keywordList.npos) {
            return false;
        }
        begin = bar + 1;
    }
}

void ParseSections(const CSylItem& item, const Settings& settings, const RunOptions& options,
                   ItemText& text) {
    ForEachItemLine(item, settings, [&text](SectionKind kind, std::string_view line) {
        text.sections[kind].Add(std::string(line));
    });
    if (item.style == CommentStyle::kDoxygen) {
        text.parameterRows = RowsOf(item.BlockText());
        text.templateRows = RowsOf(item.BlockText(), kTemplateRowMark);
        text.hasParamTable = !text.parameterRows.empty();
    } else if (item.hasSyntax) {
        BuildParameterTable(settings, options, text);
    }
    if (options.sectionHistory) {
        AddHistoryDate(item, options, text);
    }
}

void AddHistoryDate(const CSylItem& item, const RunOptions& options, ItemText& text) {
    if (options.addHistoryDate) {
        text.sections[kSectionHistory].Add(
            FormatLine(kHistoryDateLine, {item.sourceTime.GetTimeAsString()}));
    }
}

ItemType TypeOf(const Settings& settings, const std::vector<std::string_view>& docTypeLines) {
    std::string labelText;
    ItemType type{{}, kPublicRank, 1};
    for (std::string_view line : docTypeLines) {
        CZTString upper(line);
        upper.MakeUpper();
        for (const TypeWord& row : kTypeWords) {
            if (!ContainsTypeWord(upper, row, settings[row.word])) {
                continue;
            }
            labelText.append(row.label);
            if (row.accessRank != kUnchanged) {
                type.accessRank = row.accessRank;
            }
            if (row.isPublic != kUnchanged) {
                type.isPublic = row.isPublic;
            }
        }
    }
    type.text = labelText.empty() ? std::string(kDefaultTypeText)
                                  : std::string(TrimLeftView(labelText, " "));
    return type;
}

}  // namespace sylva
