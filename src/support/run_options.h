// RunOptions: the options a generation run reads: what to scan, which sections to write, how
// to treat the declarations' inline comments, whether to add an alphabetical index and to link
// item names. The window keeps them inside its stored options and the Options dialog edits them;
// a run copies them whole.
#pragma once

namespace sylva {

struct RunOptions {
    int includeSubdirs = 1;
    int addHistoryDate = 1;
    int removeInlineComments = 0;
    unsigned maxInlineComment = 40;
    int sectionAttention = 1;
    int sectionAuthor = 1;
    int sectionContent = 1;
    int sectionCopyright = 1;
    int sectionDescription = 1;
    int sectionExamples = 1;
    int sectionHistory = 1;
    int sectionParameter = 1;
    int sectionRemark = 1;
    int sectionRequest = 1;
    int sectionReturn = 1;
    int sectionSeeAlso = 1;
    int sectionSource = 0;
    int sectionThrows = 1;
    int sectionType = 0;
    int sectionVersion = 1;
    int alphaIndex = 1;
    int linkItemNames = 1;  // nothing changes it; switches the cross-linking of item names

    friend bool operator==(const RunOptions&, const RunOptions&) = default;
};

}  // namespace sylva
