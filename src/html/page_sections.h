// The sections of a description page, in the order they are written, with the run option that
// switches each on and the setting that heads it. The Group section never appears on a page.
#pragma once

#include <array>

#include "scan/items.h"
#include "support/run_options.h"
#include "support/setting_table.h"

namespace sylva {

struct SectionRow {
    int RunOptions::*enabled;
    SettingId heading;
    SectionKind kind;
};

inline constexpr std::array<SectionRow, 16> kPageSections = {{
    {&RunOptions::sectionContent, SYL_Q_CONTENT, kSectionContent},
    {&RunOptions::sectionDescription, SYL_Q_DESCRIPTION, kSectionDescription},
    {&RunOptions::sectionParameter, SYL_Q_PARAMETER, kSectionParameter},
    {&RunOptions::sectionAttention, SYL_Q_ATTENTION, kSectionAttention},
    {&RunOptions::sectionRemark, SYL_Q_REMARK, kSectionRemarks},
    {&RunOptions::sectionReturn, SYL_Q_RETURN, kSectionReturn},
    {&RunOptions::sectionThrows, throwsHeading, kSectionThrows},
    {&RunOptions::sectionType, SYL_Q_TYPE, kSectionDocType},
    {&RunOptions::sectionExamples, SYL_Q_EXAMPLE, kSectionExamples},
    {&RunOptions::sectionAuthor, SYL_Q_AUTHOR, kSectionAuthor},
    {&RunOptions::sectionCopyright, SYL_Q_COPYRIGHT, kSectionCopyright},
    {&RunOptions::sectionVersion, SYL_Q_VERSION, kSectionVersion},
    {&RunOptions::sectionHistory, SYL_Q_HISTORY, kSectionHistory},
    {&RunOptions::sectionRequest, SYL_Q_REQUEST, kSectionRequest},
    {&RunOptions::sectionSource, SYL_Q_SOURCE, kSectionSource},
    {&RunOptions::sectionSeeAlso, SYL_Q_SEEALSO, kSectionSeeAlso},
}};

}  // namespace sylva
