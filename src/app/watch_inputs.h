// What a watch looks at, and which of the files it sees start a re-run: the files the run reads
// below its scan paths, judged by the scan's own file selection, and the files its settings come
// from (the configuration file and the Doxyfile), whatever their names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/main_fields.h"
#include "scan/file_selection.h"

namespace sylva {

class WatchInputs {
  public:
    // The inputs of a run of `fields`, with `doxyfile` (empty: none) as a settings file.
    WatchInputs(const MainFields& fields, const std::string& doxyfile);

    // The scan paths, then the settings files that exist: the paths to watch.
    std::vector<std::string> Roots() const;
    // True iff a change of the file `path` (as the watch names it) changes what a run reads.
    bool Counts(std::string_view path) const;
    // True iff `path` is one of the settings files.
    bool IsSettingsFile(std::string_view path) const;

  private:
    WatchInputs(const MainFields& fields, const std::string& doxyfile, const Settings& settings);

    std::vector<std::string> scanPaths_;
    // The settings files that exist, as named and in their absolute, lexically normal form.
    std::vector<std::string> settingsFiles_;
    std::vector<std::string> absoluteSettingsFiles_;
    bool recurse_;
    FileSelection selection_;
};

}  // namespace sylva
