// Preparing and matching the section keyword lists.
#include "scan/section_keywords.h"

#include "support/zt_string.h"

namespace sylva {

namespace {

struct SectionList {
    SettingId keywords;
    SectionKind section;
};

// Invariant: the order in which a line's key is tried; the first match wins, so an alternative
// that two lists share belongs to the earlier one.
constexpr std::array<SectionList, kSectionCount> kKeywordOrder = {{
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

unsigned char FoldedByte(char ch) {
    return static_cast<unsigned char>(AsciiUpper(ch));
}

}  // namespace

bool KeywordOpensKey(std::string_view keyword, std::string_view key) {
    std::size_t n = keyword.size();
    return key.size() >= n && EqualsNoCase(key.substr(0, n), keyword) &&
           (key.size() == n || key[n] == ':');
}

std::string_view TextBehindKeyword(std::string_view key, std::size_t keywordSize) {
    return TrimLeftView(key.substr(keywordSize), " :");
}

SectionKeywords::SectionKeywords(const std::array<std::string, kSettingCount>& values) {
    for (const SectionList& list : kKeywordOrder) {
        std::string_view keywords = values[static_cast<std::size_t>(list.keywords)];
        std::size_t begin = 0;
        for (;;) {
            std::size_t bar = keywords.find('|', begin);
            std::size_t end = bar == keywords.npos ? keywords.size() : bar;
            std::string_view keyword = keywords.substr(begin, end - begin);
            unsigned char first = keyword.empty() ? ':' : FoldedByte(keyword.front());
            byFirstByte_[first].push_back(alternatives_.size());
            alternatives_.push_back({std::string(keyword), list.section});
            if (bar == keywords.npos) {
                break;
            }
            begin = bar + 1;
        }
    }
}

std::optional<SectionKeywords::Match> SectionKeywords::Find(std::string_view key) const {
    if (key.empty()) {
        return std::nullopt;
    }
    for (std::size_t index : byFirstByte_[FoldedByte(key.front())]) {
        const Alternative& alternative = alternatives_[index];
        if (KeywordOpensKey(alternative.keyword, key)) {
            return Match{alternative.section, TextBehindKeyword(key, alternative.keyword.size())};
        }
    }
    return std::nullopt;
}

}  // namespace sylva
