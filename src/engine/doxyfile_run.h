// What a Doxyfile asks of a run: its project, inputs and output place, and the settings its keys
// map to. Keys are Doxygen's; only their meaning for Sylva's site is decided here.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/doxyfile.h"
#include "support/setting_table.h"

namespace sylva {

struct DoxyfileRun {
    std::string projectName;
    std::string projectDesc;  // PROJECT_BRIEF, after PROJECT_NUMBER when there is one
    std::string outputPath;   // OUTPUT_DIRECTORY/HTML_OUTPUT
    std::vector<std::string> inputs;
    bool recursive = false;
    bool extractPrivate = false;
    bool warningsAreErrors = false;
    // In order; the comment style is always among them.
    std::vector<std::pair<SettingId, std::string>> settings;
    // Keys that were set and that Sylva does not use, in the order first set.
    std::vector<std::string> unusedKeys;
    // Values that would change the site and that Sylva cannot honour, and inputs that do not
    // exist: the run goes on.
    std::vector<std::string> warnings;
    // The run cannot be right (no input exists).
    std::vector<std::string> errors;
};

// The run `doxyfile` asks for, from the current directory.
DoxyfileRun MapDoxyfile(const Doxyfile& doxyfile);

}  // namespace sylva
