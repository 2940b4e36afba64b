// Watch mode: after the first run, a re-run after each burst of changes below the scan path,
// until the user asks to stop.
//
// The loop knows nothing of the file system: a ChangeSource brings the events and the stop
// request (inotify and the signals in the program, scripted events in the tests), TreeChanges
// (app/tree_changes.h) counts them, and the caller's re-run does the work.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/tree_changes.h"
#include "engine/engine.h"

namespace sylva {

// One path a watch looks at: a directory (with those below it when `recurse`, including those
// made later) or a file, watched through its directory for that file alone.
struct WatchRoot {
    std::string path;
    bool recurse = false;
    // A file that need not exist (a configuration file the user may create while watching):
    // its directory is watched for it, and its absence is no fault.
    bool optional = false;

    bool operator==(const WatchRoot&) const = default;
};

class ChangeSource {
  public:
    virtual ~ChangeSource() = default;

    struct Waited {
        std::vector<FileEvent> events;
        bool stop = false;  // the user asked to stop (Ctrl-C, SIGTERM)
    };
    // Waits at most `timeout` (without one: until something happens) and returns the events
    // that arrived, none when the time passed quietly.
    virtual Waited Wait(std::optional<std::chrono::milliseconds> timeout) = 0;
    // The files below the watched directory now.
    virtual std::vector<std::string> Files() = 0;
};

// When a burst of changes counts as over.
struct BurstTiming {
    // A burst ends when no event came for this long: an editor's save (a temporary file
    // written, then renamed into place) takes well under it.
    std::chrono::milliseconds quiet{30};
    // A burst that never goes quiet ends after this long, so that a steady stream of changes
    // still gets re-runs.
    std::chrono::milliseconds longest{1000};
};

// What one re-run did.
struct RerunResult {
    RunSummary summary;
    int status = 0;  // its exit status
};

// "Re-run after src/a.h changed: 3 files written, 0 removed, 41 ms."
std::string RerunLine(const ChangeCount& changes, const RunSummary& summary,
                      std::chrono::milliseconds took);

// Waits for bursts of changes from `source` and calls `rerun` with the net changes after each one
// that changed a file that `changes` counts, telling each re-run to `tell` as one RerunLine. A stop
// request ends the loop between runs: a burst under way is not run. Returns the status of the last
// run, `status` (the first run's) while none ran.
int WatchForChanges(ChangeSource& source, TreeChanges& changes, const BurstTiming& timing,
                    const std::function<RerunResult(const ChangeCount&)>& rerun,
                    const std::function<void(std::string_view)>& tell, int status);

}  // namespace sylva
