// Which entries of the scanned trees a walk reads: the extension filter, or the glob patterns that
// replace it, and the exclusions by path, by pattern and of symbolic links.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/settings.h"

namespace sylva {

class FileSelection {
  public:
    // `filter` is the extension list in upper case; the patterns, exclusions and the symbolic
    // link switch come from `settings`. Exclusions without a glob character are paths, taken
    // against the current directory. `markdownPages`: without patterns, Markdown files are read
    // whatever the filter says (the doxygen style makes them pages).
    FileSelection(std::string filter, const Settings& settings, bool markdownPages = false);

    // True iff the file `name` is read: it matches a file pattern when there are any, else it
    // passes the extension filter or is a Markdown file read as a page.
    bool ReadsFile(std::string_view name) const;
    // True iff the walk enters the directory `name`: always when file patterns are given (they
    // speak of files), else when it passes the extension filter as every entry must.
    bool EntersDirectory(std::string_view name) const;
    // True iff the entry at `absolutePath` (lexically normal), named `name`, is left out with all
    // that lies below it.
    bool Excludes(std::string_view absolutePath, std::string_view name) const;
    // The walk's choice of an entry that is not excluded: a directory it enters, a file it reads.
    bool Chooses(std::string_view name, bool directory) const {
        return directory ? EntersDirectory(name) : ReadsFile(name);
    }
    // True iff a walk of the scan path `root` (into subdirectories when `recurse`) reads the
    // file `path`: it is `root` itself and not excluded (a file named on purpose is read
    // whatever its name), or it lies below `root` and the walk neither excludes nor leaves out
    // it or any directory on the way. Symbolic links are judged as the walk judges them while they
    // exist; a file that is gone is judged by its path alone. This is what a watch asks of each
    // changed file.
    bool ReadsBelow(std::string_view root, std::string_view path, bool recurse) const;
    bool hasExclusions() const { return !excludedPaths_.empty() || !excludedPatterns_.empty(); }
    bool skipsSymlinks() const { return skipSymlinks_; }
    const std::vector<std::string>& patterns() const { return patterns_; }

  private:
    std::string filter_;
    std::vector<std::string> patterns_;
    std::vector<std::string> excludedPaths_;  // absolute, lexically normal, no trailing '/'
    std::vector<std::string> excludedPatterns_;
    bool skipSymlinks_ = false;
    bool markdownPages_ = false;
};

// True iff the glob `pattern` ("*.h", "test_?.c") matches the whole of `text`.
bool MatchesGlob(const std::string& pattern, std::string_view text);

// The absolute, lexically normal form of `path` taken against the current directory, without a
// trailing '/'.
std::string AbsoluteNormalPath(std::string_view path);

}  // namespace sylva
