// RunOptions: the plain record of the options of one generation run. The window owns it and the
// Options dialog edits it; a run copies it whole.
#pragma once

#include <string>

namespace sylva {

// The standard configuration file, looked for in the current directory.
inline constexpr const char* kConfigFileName = "SYLVA.INI";

struct RunOptions {
    int includeSubdirs = 1;
    int addHistoryDate = 1;
    int addSourceLink = 1;  // stored and edited; no stage reads it
    int groupByClass = 1;   // stored and edited; no stage reads it
    int removeInlineComments = 0;
    int searchAndLink = 0;  // stored and edited; no stage reads it
    int copySources = 1;    // stored and edited; no stage reads it
    unsigned maxInlineComment = 40;
    std::string configFile = kConfigFileName;
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
