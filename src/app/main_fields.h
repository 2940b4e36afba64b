// MainFields: the project fields of the main window with their initial values. The window shows
// them in its controls; batch mode fills them from the command line. Both hand them to the
// actions (main_actions.h).
#pragma once

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "engine/engine.h"
#include "support/run_options.h"

namespace sylva {

inline constexpr const char* kDefaultFilter = ".CPP|.C|.H|.SYL";
inline constexpr const char* kDefaultMasterIndexName = "SYLVA_MAIN_INDEX.HTML";

// The most characters each edit of the window accepts. Each takes every value the command line,
// a file choice or the current directory can give it, so that the window acts on the very paths
// and names batch mode would; a longer value is refused with a message, never cut.
inline constexpr int kCommandLineValueLimit = static_cast<int>(kMaxOptionValueLength);
// The longest path the system calls take (PATH_MAX counts the terminating zero).
inline constexpr int kPathLimit = PATH_MAX - 1;
inline constexpr int kOutputPathLimit = kPathLimit;
inline constexpr int kScanPathLimit = kPathLimit;
inline constexpr int kForeignHtmlLimit = kPathLimit;
inline constexpr int kProjectNameLimit = kCommandLineValueLimit;
// A file name without its directory, which is all the master index field holds.
inline constexpr int kMasterIndexNameLimit = NAME_MAX;
inline constexpr int kProjectDescLimit = 1000;
// Only ever typed.
inline constexpr int kFilterLimit = 220;

static_assert(kPathLimit >= kCommandLineValueLimit && kProjectDescLimit >= kCommandLineValueLimit,
              "every value of the command line fits its field");

// The options the window keeps: those a run reads, the configuration file the actions load,
// and four that only the Options dialog shows and edits (no stage reads them).
struct StoredOptions : RunOptions {
    int addSourceLink = 1;
    int groupByClass = 1;
    int searchAndLink = 0;
    int copySources = 1;
    std::string configFile = kConfigFileName;
    // How the sources are documented ("sylva" or "doxygen"); empty: as the configuration says.
    std::string commentStyle;

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
    // Where runs keep what makes the next one cost what changed (-CACHE, -REBUILD).
    CacheChoice cache;
    // Settings a run takes over the configuration file's, in order (a later one of a setting
    // wins): from a Doxyfile, then from the command line.
    std::vector<std::pair<SettingId, std::string>> settingOverrides;

    // The initial values, with the process's current directory as the output path.
    static MainFields Initial();
};

}  // namespace sylva
