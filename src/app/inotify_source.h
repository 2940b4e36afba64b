// The ChangeSource of the program: inotify watches on every root (and, for a root that recurses,
// every directory below it, including those made or moved in later; a root that is a file, or an
// optional one not there yet, is watched through its directory, for that file alone), and SIGINT
// and SIGTERM as the request to stop.
//
// The two signals are blocked from construction on and read from a signalfd, so that Ctrl-C
// never interrupts a run: it is seen between runs, when the cache and the pages are consistent.
// Construct it before any thread starts, so that every thread inherits the blocked signals.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/watch.h"

namespace sylva {

class InotifySource : public ChangeSource {
  public:
    // Watches each of `roots`, leaving out the directory `ignored` and what is below it (the
    // project directory, whose pages each run writes). A directory two roots reach is watched
    // once, with its subdirectories when either recurses. Roots that cannot be watched (and are
    // not optional) are told to `warn`.
    InotifySource(std::vector<WatchRoot> roots, std::string ignored,
                  std::function<void(std::string_view)> warn);
    ~InotifySource() override;
    InotifySource(const InotifySource&) = delete;
    InotifySource& operator=(const InotifySource&) = delete;

    // False when inotify, the signals or the watch on any root could not be set up (told to
    // `warn`).
    bool ok() const { return inotify_ >= 0 && signals_ >= 0 && rootsWatched_; }
    // Whether a stop request is already waiting (for the time before watching begins).
    bool StopRequested();

    // Watches `roots` instead of the roots watched so far (after the settings that name them
    // changed); false as ok() is.
    bool Rewatch(std::vector<WatchRoot> roots);

    Waited Wait(std::optional<std::chrono::milliseconds> timeout) override;
    std::vector<std::string> Files() override;

  private:
    using DirectoryId = std::pair<dev_t, ino_t>;
    // The directories entered while watching the roots, each with whether those below it were
    // entered too.
    using Entered = std::map<DirectoryId, bool>;
    struct WatchedDirectory {
        std::string path;
        bool recurse = false;
    };

    // Watches `directory` and, when `recurse`, the directories below it; appends a kCreated
    // event to `found` for each file in them (files made before the watch took hold).
    void WatchTree(const std::string& directory, bool recurse, std::vector<FileEvent>* found,
                   Entered& entered);
    // Watches every root anew; false when one of them could not be watched.
    bool WatchRoots(std::vector<FileEvent>* found);
    void Unwatch(const std::string& directory);
    void ReadEvents(std::vector<FileEvent>& events);

    std::vector<WatchRoot> roots_;
    // The roots that are files, as "directory/name", and the watches of their directories that
    // no directory root needs: only those files' events count there.
    std::set<std::string> fileRoots_;
    std::set<int> fileRootWatches_;
    bool rootsWatched_ = false;
    std::string ignored_;
    std::function<void(std::string_view)> warn_;
    int inotify_ = -1;
    int signals_ = -1;
    std::map<int, WatchedDirectory> directories_;  // by watch descriptor
    sigset_t blocked_{};
    sigset_t previousMask_{};
};

}  // namespace sylva
