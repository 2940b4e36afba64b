// The keyword lines of a documentation block, and the History, See also and Doc type texts an
// item derives from its sections.
#include "scan/section_parser.h"

#include <array>

#include "engine/scan_source.h"
#include "support/link_target.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kHistoryDateLine = "Source file last change: %s";
constexpr std::string_view kSeeAlsoTarget = "SYLVA_%s.html";
// The project index page is written with an upper-case extension; file names are case-sensitive.
constexpr std::string_view kProjectIndexTarget = "%s.HTML";
constexpr std::string_view kProjectIndexLinkName = "Project description index";
constexpr std::string_view kMainLink = "<a href=\"[LinkedFile]\" target=\"_top\">Main</a><BR>";
constexpr std::string_view kMainTarget = "../%s";
constexpr std::string_view kTypeLabel = "%s<BR>(%s)";
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

// A link line of the See also section: `linkTemplate` with its target and its text filled in.
std::string MakeLink(std::string_view linkTemplate, std::string_view target,
                     std::string_view text) {
    CZTString link(linkTemplate);
    link.FindReplace("[LinkedFile]", target);
    link.FindReplace("[LinkName]", text);
    return link;
}

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

void ParseSections(const CSylItem& item, std::string_view blockText, ItemText& text) {
    const CZTScanSource& owner = *item.owner;
    ForEachSectionLine(owner.Keywords(), blockText,
                       [&text](SectionKind kind, std::string_view line) {
                           text.sections[kind].Add(std::string(line));
                       });
    if (item.hasSyntax) {
        BuildParameterTable(item, text);
    }
    if (owner.options.sectionHistory) {
        AddHistoryDate(item, text);
    }
    if (owner.options.sectionSeeAlso) {
        BuildSeeAlsoLinks(item, text);
    }
}

void AddHistoryDate(const CSylItem& item, ItemText& text) {
    if (item.owner->options.addHistoryDate) {
        text.sections[kSectionHistory].Add(
            FormatLine(kHistoryDateLine, {item.sourceTime.GetTimeAsString()}));
    }
}

void BuildSeeAlsoLinks(const CSylItem& item, ItemText& text) {
    const CZTScanSource& owner = *item.owner;
    const std::string& linkTemplate = owner.Setting(SYL_HTML_STD_LINK);
    CZTStringArray& seeAlso = text.sections[kSectionSeeAlso];
    for (std::string& line : seeAlso.Lines()) {
        std::string_view name = SeeAlsoName(line);
        CZTString safe(name);
        safe.ReplaceInvalidFilenameChars('_');
        line = MakeLink(linkTemplate, LinkTarget(FormatLine(kSeeAlsoTarget, {safe})), name);
    }
    seeAlso.Add(MakeLink(linkTemplate,
                         LinkTarget(FormatLine(kProjectIndexTarget, {owner.projectDirName})),
                         kProjectIndexLinkName));
    CZTString main(kMainLink);
    main.FindReplace("[LinkedFile]", LinkTarget(FormatLine(kMainTarget, {owner.masterIndexName})));
    seeAlso.Add(std::move(main));
}

ItemType TypeOf(const CZTScanSource& owner, std::string_view group,
                const std::vector<std::string_view>& docTypeLines) {
    std::string labelText;
    ItemType type{{}, kPublicRank, 1};
    for (std::string_view line : docTypeLines) {
        CZTString upper(line);
        upper.MakeUpper();
        for (const TypeWord& row : kTypeWords) {
            if (!ContainsTypeWord(upper, row, owner.Setting(row.word))) {
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
    if (labelText.empty()) {
        labelText = kDefaultTypeText;
    }
    type.label = FormatLine(kTypeLabel, {group, TrimLeftView(labelText, " ")});
    return type;
}

}  // namespace sylva
