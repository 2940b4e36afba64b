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

struct SectionKeywords {
    SettingId keywords;
    SectionKind section;
};

// Invariant: the order in which a line's key is tried; the first match wins, so an alternative
// that two lists share belongs to the earlier one.
constexpr std::array<SectionKeywords, kSectionCount> kKeywordOrder = {{
    {SYL_Q_CONTENT_SEE, kSectionContent},
    {SYL_Q_SECTION_SEE, kSectionGroup},
    {SYL_Q_DESCRIPTION_SEE, kSectionDescription},
    {SYL_Q_PARAMETER_SEE, kSectionParameter},
    {SYL_Q_ATTENTION_SEE, kSectionAttention},
    {SYL_Q_REMARK_SEE, kSectionRemarks},
    {SYL_Q_RETURN_SEE, kSectionReturn},
    {SYL_Q_THROWS_SEE, kSectionThrows},
    {SYL_Q_EXAMPLE_SEE, kSectionExamples},
    {SYL_Q_AUTHOR_SEE, kSectionAuthor},
    {SYL_Q_COPYRIGHT_SEE, kSectionCopyright},
    {SYL_Q_VERSION_SEE, kSectionVersion},
    {SYL_Q_HISTORY_SEE, kSectionHistory},
    {SYL_Q_REQUEST_SEE, kSectionRequest},
    {SYL_Q_SOURCE_SEE, kSectionSource},
    {SYL_Q_SEEALSO_SEE, kSectionSeeAlso},
    {SYL_Q_TYPE_SEE, kSectionDocType},
}};

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

bool MatchKeyword(std::string_view keywordList, std::string_view key, std::string& line) {
    std::size_t begin = 0;
    for (;;) {
        std::size_t bar = keywordList.find('|', begin);
        std::string_view keyword =
            keywordList.substr(begin, bar == keywordList.npos ? keywordList.npos : bar - begin);
        std::size_t n = keyword.size();
        if (key.size() >= n && EqualsNoCase(key.substr(0, n), keyword) &&
            (key.size() == n || key[n] == ':')) {
            line = TrimLeftView(key.substr(n), " :");
            return true;
        }
        if (bar == keywordList.npos) {
            return false;
        }
        begin = bar + 1;
    }
}

void ParseSections(CSylItem& item, const CZTStringArray& blockLines) {
    const CZTScanSource& owner = *item.owner;
    CZTStringArray* current = nullptr;
    std::string text;
    for (const std::string& line : blockLines) {
        std::string_view key = TrimRightView(TrimLeftView(line, " "), ": ");
        if (key.empty()) {
            if (current != nullptr) {
                current->Add(line);
            }
            continue;
        }
        bool matched = false;
        for (const SectionKeywords& entry : kKeywordOrder) {
            if (MatchKeyword(owner.Setting(entry.keywords), key, text)) {
                current = &item.sections[entry.section];
                if (!text.empty()) {
                    current->Add(text);
                }
                matched = true;
                break;
            }
        }
        if (!matched && current != nullptr) {
            current->Add(line);
        }
    }

    if (item.hasSyntax) {
        BuildParameterTable(item);
    }
    if (owner.options.sectionHistory) {
        AddHistoryDate(item);
    }
    if (owner.options.sectionSeeAlso) {
        BuildSeeAlsoLinks(item);
    }
}

void AddHistoryDate(CSylItem& item) {
    if (item.owner->options.addHistoryDate) {
        item.sections[kSectionHistory].Add(
            FormatLine(kHistoryDateLine, {item.sourceTime.GetTimeAsString()}));
    }
}

void BuildSeeAlsoLinks(CSylItem& item) {
    const CZTScanSource& owner = *item.owner;
    const std::string& linkTemplate = owner.Setting(SYL_HTML_STD_LINK);
    CZTStringArray& seeAlso = item.sections[kSectionSeeAlso];
    for (std::string& line : seeAlso.Lines()) {
        std::string_view text = TrimView(line, " \n");
        item.seeAlsoNames.emplace_back(text);
        CZTString safe(text);
        safe.ReplaceInvalidFilenameChars('_');
        line = MakeLink(linkTemplate, LinkTarget(FormatLine(kSeeAlsoTarget, {safe})), text);
    }
    seeAlso.Add(MakeLink(linkTemplate,
                         LinkTarget(FormatLine(kProjectIndexTarget, {owner.projectDirName})),
                         kProjectIndexLinkName));
    CZTString main(kMainLink);
    main.FindReplace("[LinkedFile]", LinkTarget(FormatLine(kMainTarget, {owner.masterIndexName})));
    seeAlso.Add(std::move(main));
}

void MakeTypeLabel(CSylItem& item) {
    const CZTScanSource& owner = *item.owner;
    std::string labelText;
    item.accessRank = kPublicRank;
    item.isPublic = 1;
    for (const std::string& line : item.sections[kSectionDocType]) {
        CZTString upper(line);
        upper.MakeUpper();
        for (const TypeWord& row : kTypeWords) {
            if (!ContainsTypeWord(upper, row, owner.Setting(row.word))) {
                continue;
            }
            labelText.append(row.label);
            if (row.accessRank != kUnchanged) {
                item.accessRank = row.accessRank;
            }
            if (row.isPublic != kUnchanged) {
                item.isPublic = row.isPublic;
            }
        }
    }
    if (labelText.empty()) {
        labelText = kDefaultTypeText;
    }
    item.typeLabel = FormatLine(kTypeLabel, {item.group, TrimLeftView(labelText, " ")});
}

}  // namespace sylva
