// MainFields: the project fields of the main window with their initial values. The window shows
// them in its controls; batch mode fills them from the command line. Both hand them to the
// actions (main_actions.h).
#pragma once

#include <string>

#include "engine/engine.h"
#include "support/run_options.h"

namespace sylva {

inline constexpr const char* kDefaultFilter = ".CPP|.C|.H|.SYL";
inline constexpr const char* kDefaultMasterIndexName = "SYLVA_MAIN_INDEX.HTML";

// The most characters each edit of the window accepts.
inline constexpr int kFilterLimit = 220;
inline constexpr int kOutputPathLimit = 220;
inline constexpr int kScanPathLimit = 220;
inline constexpr int kProjectNameLimit = 40;
inline constexpr int kMasterIndexNameLimit = 220;
inline constexpr int kProjectDescLimit = 1000;
inline constexpr int kForeignHtmlLimit = 250;

// The options the window keeps: those a run reads, the configuration file the actions load,
// and four that only the Options dialog shows and edits (no stage reads them).
struct StoredOptions : RunOptions {
    int addSourceLink = 1;
    int groupByClass = 1;
    int searchAndLink = 0;
    int copySources = 1;
    std::string configFile = kConfigFileName;

    friend bool operator==(const StoredOptions&, const StoredOptions&) = default;
};

struct MainFields {
    std::string filter = kDefaultFilter;
    std::string outputPath;
    std::string scanPath;
    std::string projectName;
    std::string masterIndexName = kDefaultMasterIndexName;
    int typePrivate = 0;
    int typePublic = 1;
    std::string projectDesc;
    std::string foreignHtml;
    int scanMode = 1;    // the "Scan path:" check box
    int modeIsScan = 1;  // follows the check box's last click; Create looks at it
    StoredOptions options;

    // The initial values, with the process's current directory as the output path.
    static MainFields Initial();
};

}  // namespace sylva
