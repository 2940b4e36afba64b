// What changed below a watched directory in one burst of file system events, counted as a person
// would count it: an editor's save (write a temporary file, then rename it over the original) is
// one changed file, and a file made and removed again within the burst is no change at all.
//
// The count is the net effect of the burst: a file that existed before it and exists after it
// changed, one that exists only after it was added, one that existed only before it was removed.
// A file is known to exist from the files listed when watching began and from the events since.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// One event below the watched directory.
struct FileEvent {
    enum class Kind {
        kWritten,    // a file was written and closed
        kCreated,    // a file or directory appeared (also each file of a directory moved in)
        kRemoved,    // a file or directory was removed
        kMovedAway,  // a file or directory was renamed away from `path`
        kMovedHere,  // a file or directory was renamed to `path`
        kLost,       // events were lost (the kernel's queue overflowed): anything may have changed
    };
    Kind kind = Kind::kWritten;
    std::string path;  // the full path, "/"-separated; empty for kLost
    bool directory = false;
};

// The net changes of one burst, each list in ascending order.
struct ChangeCount {
    std::vector<std::string> changed;
    std::vector<std::string> added;
    std::vector<std::string> removed;
    bool lost = false;  // events were lost: the lists may be short

    bool Empty() const { return changed.empty() && added.empty() && removed.empty() && !lost; }
};

// "src/a.h changed" for one file; "2 changed, 1 added, 1 removed" for more (parts that are 0
// left out); "changes beyond count" when events were lost.
std::string DescribeChanges(const ChangeCount& count);

class TreeChanges {
  public:
    // `known`: the files there are when watching begins. `counts`: whether a file's changes
    // matter (only those the run reads do); directories are followed whatever their names.
    TreeChanges(const std::vector<std::string>& known,
                std::function<bool(std::string_view path)> counts);

    // Forgets the burst and what was known: `known` are the files there are now (after events
    // were lost).
    void Restart(const std::vector<std::string>& known);

    void Add(const FileEvent& event);
    // The net changes since the last Take (nothing pending: an empty count).
    ChangeCount Take();

  private:
    // Every known or pending file below the directory `path` is gone.
    void DirectoryGone(const std::string& path);

    std::function<bool(std::string_view)> counts_;
    std::set<std::string> known_;
    // Whether each file touched in this burst exists after it, by path.
    std::map<std::string, bool> exists_;
    bool lost_ = false;
};

}  // namespace sylva
