// What a watch looks at, and which of the files it sees start a re-run: the files the run reads
// below its scan paths, judged by the scan's own file selection; the images and examples the
// pages may show from the image path and the example path, read from there whatever the scan
// paths are; and the files its settings come from (the configuration file and the Doxyfile),
// whatever their names, from the moment they are made.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/main_fields.h"
#include "app/watch.h"
#include "scan/file_selection.h"

namespace sylva {

class WatchInputs {
  public:
    // The inputs of a run of `fields`, with `doxyfile` (empty: none) as a settings file.
    WatchInputs(const MainFields& fields, const std::string& doxyfile);

    // The paths to watch: the scan paths, the image and example paths, then the settings files
    // (optional ones: they need not exist yet).
    std::vector<WatchRoot> Roots() const;
    // True iff a change of the file `path` (as the watch names it) changes what a run reads.
    bool Counts(std::string_view path) const;
    // True iff `path` is one of the settings files.
    bool IsSettingsFile(std::string_view path) const;

  private:
    WatchInputs(const MainFields& fields, const std::string& doxyfile, const Settings& settings);

    // Whether a watch of one of the image or example places sees the file at `path` (absolute,
    // lexically normal) the run may show.
    bool ShownFrom(const std::string& path) const;

    std::vector<std::string> scanPaths_;
    // The image and example places, as named and in their absolute, lexically normal form. A
    // file below one at any depth may be shown (the name a comment gives may hold folders), an
    // example only when its name passes the example patterns.
    struct ShownPlace {
        std::string path;
        std::string absolute;
        bool example = false;
    };
    std::vector<ShownPlace> shownPlaces_;
    std::vector<std::string> examplePatterns_;
    // The settings files named, as named and in their absolute, lexically normal form.
    std::vector<std::string> settingsFiles_;
    std::vector<std::string> absoluteSettingsFiles_;
    bool recurse_;
    FileSelection selection_;
};

}  // namespace sylva
