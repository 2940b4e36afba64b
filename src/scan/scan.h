// The scan layer's readers: walking the scan path and reading each source file into
// documentation items, in the marker-block style or the doxygen style (scan/doxygen/reader.h).
//
// It finds the documentation blocks of each file and the declaration beside each, and files one
// item per block into an ItemList (scan/items.h). Nothing here writes HTML, names a page file or
// knows the run that calls it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/items.h"
#include "scan/settings.h"
#include "support/file_stamp.h"
#include "support/report_log.h"
#include "support/reporter.h"
#include "support/zt_time.h"

namespace sylva {

struct ScanJob;

// What a scan asks of a run that keeps what earlier runs found: before reading a file, whether
// it may file what reading it gave before; after reading one, what that gave.
class ScanMemo {
  public:
    virtual ~ScanMemo() = default;

    // Files the items that the file `path` (`stamp` as the walk found it) gave an earlier scan
    // into the job's list and tells the job's reporter what that scan told, when the file and
    // everything that shapes its items are unchanged; false when the file must be read.
    virtual bool Replay(ScanJob& job, const std::string& path, const FileStamp& stamp) = 0;
    // The file `path` was read: its items are those filed since `from`, and `told` holds what
    // reading it reported.
    virtual void Record(const ScanJob& job, const std::string& path, const FileStamp& stamp,
                        ItemList::Mark from, const ReportLog& told) = 0;
    // The walk listed `directory` and found the entry names `names`, in ascending byte order.
    virtual void Listed(const std::string& directory, const std::vector<std::string>& names) = 0;
    // The walk met a file that no later walk can judge by its stamp (one it could not examine,
    // or one skipped as binary, whose reading is not kept).
    virtual void Unjudged() = 0;
};

// The entry names of `directory` without "." and "..", in ascending byte order; nothing when the
// directory cannot be opened.
std::optional<std::vector<std::string>> ListDirectory(const std::string& directory);

// What one scan reads and where it files what it finds.
struct ScanJob {
    const Settings& settings;
    ItemList& items;
    Reporter& reporter;
    std::string scanPath;     // the run's root, named in the protocol
    std::string filter;       // the extension list, in upper case
    std::string outputPath;   // named in the protocol
    std::string projectName;  // named in the protocol
    CommentStyle style = CommentStyle::kSylva;
    // What earlier runs found; none: every file is read.
    ScanMemo* memo = nullptr;
};

// A line of a source file.
struct SourcePlace {
    std::string file;
    int line = 0;
};

// The progress status while a source file is read ("%s": its path); one per file read.
inline constexpr std::string_view kScanningFileStatus = "Scanning source file %s...";

// What a walk went through: directories listed and files scanned, at any depth.
struct ScanCounts {
    int paths = 0;
    int files = 0;
    int binaryFiles = 0;  // of `files`, those skipped as binary (ScanFile)
    // When the walk found no item: the first line that opens a comment of the style it was not
    // asked to read (FirstOtherStyleLine), if any file holds one.
    std::optional<SourcePlace> otherStyle;
};

// What ScanFile and ScanBuffer return for content whose first kBinaryHeadBytes hold a NUL byte:
// no source text holds one, and parsing an object file or an image only gives warnings by the
// thousand, so such a file is skipped with one warning.
inline constexpr int kSkippedAsBinary = -2;
inline constexpr std::size_t kBinaryHeadBytes = 8 * 1024;

// True iff the entry `name` passes the extension filter: its extension (from its last '.', the
// dot included, upper-cased) occurs anywhere in `filter` (upper case). A name without '.' always
// passes, and so does every name when the filter is empty, "*.*" or "*".
bool PassesFilter(std::string_view filter, std::string_view name);

// True iff the file `name` is a Markdown file (".md" or ".markdown", in any case): in the doxygen
// style a page of the project.
bool IsMarkdownFile(std::string_view name);

// Scans the matching files of `directory` (and, when `recurse`, of its subdirectories), then
// brings the item list into order. Entries are visited in ascending byte order of their names; a
// link to a directory is followed, but no directory is entered twice.
[[nodiscard]] ScanCounts ScanPath(ScanJob& job, const std::string& directory, bool recurse);
// Scans each of `roots` in turn as ScanPath does (a root that is a file is read whatever its
// name), leaving out what the settings' exclusions name and reading what the file patterns, or
// without them the filter, choose; a file two roots reach is read once. Then brings the item
// list into order.
[[nodiscard]] ScanCounts ScanPaths(ScanJob& job, const std::vector<std::string>& roots,
                                   bool recurse);
// The 1-based number of the first line of the file `path` that opens a comment of the style
// other than `job.style`: a marker-block start line in the doxygen style, a "/**", "/*!", "///" or
// "//!" comment in the marker-block style. Nothing when there is none or the file cannot be read.
std::optional<int> FirstOtherStyleLine(const ScanJob& job, const std::string& path);
// Scans one file; returns the number of items made, -1 when it cannot be opened, or
// kSkippedAsBinary.
int ScanFile(ScanJob& job, const std::string& path, CZTTime lastWrite);
// Scans `content` as the bytes of a file at `displayPath`, with the same protocol, progress,
// warnings and items as ScanFile; returns the number of items made or kSkippedAsBinary. REQUIRES:
// Sort (ScanPath does it) before the list is read in order.
int ScanBuffer(ScanJob& job, std::string_view content, const std::string& displayPath,
               CZTTime lastWrite);

}  // namespace sylva
