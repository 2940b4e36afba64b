// Walking the scan paths: which directory entries reach the file scan, in which order, and how
// deep the walk goes.
//
// Entries are visited in ascending byte order of their names, so items and page numbers come
// out the same on every machine. A symbolic link to a directory is followed, but no directory
// (device and inode) is entered twice in one walk, so a link cycle cannot make it loop; nor is a
// file read twice when two scan paths overlap.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "scan/file_selection.h"
#include "scan/scan.h"
#include "support/text_format.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kSearchStatus = "Search for files...";
constexpr std::string_view kScanningPathLine = "Scanning path %s for %s ...";
constexpr std::string_view kOutputLine = "Output data to %s as project %s ...";
constexpr std::string_view kNoMatchingFile = "WARNING: No matching file found at path %s !";
constexpr std::string_view kSearchPattern = "%s/*.*";
constexpr std::string_view kMarkdownExtensions[] = {".md", ".markdown"};
constexpr WarningKind kMainPageUnread = {
    "doxygen.main-page-unread",
    "the main page file is not a Markdown file the scan read; the frame set opens the project "
    "index"};

using DirectoryId = std::pair<dev_t, ino_t>;

}  // namespace

// The directory is closed before any entry is looked at, so a deep tree holds no descriptors open.
std::optional<std::vector<std::string>> ListDirectory(const std::string& directory) {
    DIR* handle = ::opendir(directory.c_str());
    if (handle == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(handle)) {
        std::string_view name(entry->d_name);
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(handle);
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

class PathWalker {
  public:
    explicit PathWalker(ScanJob& job)
        : job_(job), selection_(job.filter, job.settings, job.style == CommentStyle::kDoxygen) {}

    // Marks `directory` as entered, so that a link back to it is not followed.
    void MarkEntered(const std::string& directory) {
        struct stat info {};
        if (::stat(directory.c_str(), &info) == 0) {
            entered_.insert({info.st_dev, info.st_ino});
        }
    }

    // Scans one scan path: a directory as Walk does, a file at once (a file named on purpose
    // is read whatever its name), unless it is excluded.
    void WalkRoot(const std::string& root, bool recurse) {
        // The first is the run's own scan path, by the name the job gives it.
        root_ = rootsWalked_++ == 0 && !job_.scanPath.empty() ? job_.scanPath : root;
        const std::string absolute = AbsoluteNormalPath(root);
        const std::string_view name = std::string_view(root).substr(root.rfind('/') + 1);
        struct stat info {};
        if (::stat(root.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
            if (!selection_.Excludes(absolute, name)) {
                ReportStart();
                ScanOnce(root, absolute, info);
            }
            return;
        }
        if (selection_.Excludes(absolute, name)) {
            return;
        }
        MarkEntered(root);
        Walk(root, absolute, recurse);
    }

    // Scans the matching files of `directory` (at `absolute`), and its subdirectories when
    // `recurse`.
    void Walk(const std::string& directory, const std::string& absolute, bool recurse) {
        Reporter& reporter = job_.reporter;
        ReportStart();

        std::optional<std::vector<std::string>> names = ListDirectory(directory);
        if (!names) {
            reporter.Failure(
                FormatLine(kNoMatchingFile, {FormatLine(kSearchPattern, {directory})}));
            return;
        }
        ++counts_.paths;
        if (job_.memo != nullptr) {
            job_.memo->Listed(directory, *names);
        }
        for (const std::string& name : *names) {
            std::string path = directory + "/" + name;
            std::string absolutePath = absolute == "/" ? "/" + name : absolute + "/" + name;
            if (selection_.hasExclusions() && selection_.Excludes(absolutePath, name)) {
                continue;
            }
            struct stat info {};
            if (selection_.skipsSymlinks() && ::lstat(path.c_str(), &info) == 0 &&
                S_ISLNK(info.st_mode)) {
                continue;
            }
            // An entry that cannot be examined (a dangling link, a file gone since the listing)
            // is handed to the file scan, which reports that it cannot be read.
            bool examined = ::stat(path.c_str(), &info) == 0;
            const bool directory = examined && S_ISDIR(info.st_mode);
            if (!selection_.Chooses(name, directory)) {
                continue;
            }
            if (directory) {
                if (recurse && entered_.insert({info.st_dev, info.st_ino}).second) {
                    Walk(path, absolutePath, true);
                }
                continue;
            }
            if (examined) {
                ScanOnce(path, absolutePath, info);
            } else {
                ScanListedFile(path, nullptr);
                LookForOtherStyle(path);
                reporter.Advance();
                ++counts_.files;
            }
        }
    }

    const ScanCounts& counts() const { return counts_; }

  private:
    // The header of each directory's listing names the scan path it lies below.
    void ReportStart() {
        Reporter& reporter = job_.reporter;
        reporter.Status(kSearchStatus);
        reporter.Advance();
        const std::vector<std::string>& patterns = selection_.patterns();
        reporter.Protocol(
            FormatLine(kScanningPathLine,
                       {root_, patterns.empty() ? job_.filter : JoinSettingList(patterns)}));
        reporter.Protocol(FormatLine(kOutputLine, {job_.outputPath, job_.projectName}));
    }

    // Scans the examined file `path` (at `absolute`) unless an earlier scan path gave it already.
    void ScanOnce(const std::string& path, const std::string& absolute, const struct stat& info) {
        if (!scanned_.insert(absolute).second) {
            return;
        }
        ScanListedFile(path, &info);
        LookForOtherStyle(path);
        job_.reporter.Advance();
        ++counts_.files;
    }

    // Only while nothing was found: a run with items needs no hint about its style.
    void LookForOtherStyle(const std::string& path) {
        if (job_.items.size() == 0 && !counts_.otherStyle) {
            if (std::optional<int> line = FirstOtherStyleLine(job_, path)) {
                counts_.otherStyle = SourcePlace{path, *line};
            }
        }
    }

    // Scans the file `path`, or files what an earlier scan of it gave when the job's memo has
    // that. `info` is its status, none when it could not be examined.
    void ScanListedFile(const std::string& path, const struct stat* info) {
        const CZTTime lastWrite(info != nullptr ? info->st_mtime : 0);
        if (job_.memo == nullptr || info == nullptr) {
            if (job_.memo != nullptr) {
                job_.memo->Unjudged();
            }
            CountBinary(ScanFile(job_, path, lastWrite));
            return;
        }
        const FileStamp stamp = FileStamp::Of(*info);
        if (job_.memo->Replay(job_, path, stamp)) {
            return;
        }
        ReportLog told;
        const ItemList::Mark from = job_.items.Position();
        job_.reporter.Tap(&told);
        const int made = ScanFile(job_, path, lastWrite);
        job_.reporter.Tap(nullptr);
        // A binary file is looked at again each run (its first 8 kB), so that it is counted.
        if (!CountBinary(made)) {
            job_.memo->Record(job_, path, stamp, from, told);
        } else {
            job_.memo->Unjudged();
        }
    }

    // Counts the file ScanFile returned `made` for when it was skipped as binary; true then.
    bool CountBinary(int made) {
        const bool binary = made == kSkippedAsBinary;
        counts_.binaryFiles += binary ? 1 : 0;
        return binary;
    }

    ScanJob& job_;
    FileSelection selection_;
    std::string root_;  // the scan path being walked
    int rootsWalked_ = 0;
    std::set<DirectoryId> entered_;
    std::set<std::string> scanned_;  // absolute paths of the files read
    ScanCounts counts_;
};

}  // namespace

bool PassesFilter(std::string_view filter, std::string_view name) {
    if (filter.empty() || filter == "*.*" || filter == "*") {
        return true;
    }
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return true;
    }
    CZTString extension(name.substr(dot));
    extension.MakeUpper();
    return filter.find(extension) != std::string_view::npos;
}

bool IsMarkdownFile(std::string_view name) {
    return std::any_of(std::begin(kMarkdownExtensions), std::end(kMarkdownExtensions),
                       [name](std::string_view extension) {
                           return name.size() > extension.size() &&
                                  FindNoCase(name.substr(name.size() - extension.size()),
                                             extension) == 0;
                       });
}

ScanCounts ScanPath(ScanJob& job, const std::string& directory, bool recurse) {
    return ScanPaths(job, {directory}, recurse);
}

ScanCounts ScanPaths(ScanJob& job, const std::vector<std::string>& roots, bool recurse) {
    PathWalker walker(job);
    for (const std::string& root : roots) {
        walker.WalkRoot(root, recurse);
    }
    // Work across files, done once every file is filed, read or replayed alike.
    const ItemList::Warning warn = [&job](std::string_view file, int line,
                                          const WarningMessage& message) {
        job.reporter.Warning(file, line, message);
    };
    const std::string& mainPage = job.settings[SYL_MAIN_PAGE];
    if (job.style == CommentStyle::kDoxygen && !mainPage.empty() &&
        std::none_of(job.items.begin(), job.items.end(), [](const ItemList::Slot& item) {
            return item && item->kind == DoxygenKind::kMainPage && IsMarkdownFile(item->sourceFile);
        })) {
        job.reporter.Warning(mainPage, 0, kMainPageUnread);
    }
    job.items.FinishDocumented(warn);
    job.items.UseGroupTitles(warn);
    job.items.Sort();
    ScanCounts counts = walker.counts();
    if (job.items.size() > 0) {
        counts.otherStyle.reset();
    }
    return counts;
}

}  // namespace sylva
