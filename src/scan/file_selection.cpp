#include "scan/file_selection.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "scan/scan.h"

namespace sylva {

namespace {

constexpr std::string_view kGlobCharacters = "*?[";

bool IsSymbolicLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

}  // namespace

bool MatchesGlob(const std::string& pattern, std::string_view text) {
    const std::string subject(text);
    return ::fnmatch(pattern.c_str(), subject.c_str(), 0) == 0;
}

std::string AbsoluteNormalPath(std::string_view path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    if (error) {
        absolute = std::filesystem::path(path);
    }
    std::string normal = absolute.lexically_normal().generic_string();
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

FileSelection::FileSelection(std::string filter, const Settings& settings, bool markdownPages)
    : filter_(std::move(filter)),
      patterns_(SplitSettingList(settings[SYL_FILE_PATTERNS])),
      skipSymlinks_(IsSwitchedOn(settings[SYL_EXCLUDE_SYMLINKS])),
      markdownPages_(markdownPages) {
    for (std::string& entry : SplitSettingList(settings[SYL_EXCLUDE])) {
        if (entry.find_first_of(kGlobCharacters) != std::string::npos) {
            excludedPatterns_.push_back(std::move(entry));
            continue;
        }
        excludedPaths_.push_back(AbsoluteNormalPath(entry));
        // A path through a symbolic link excludes what the walk reaches by the link's target.
        std::error_code error;
        const std::filesystem::path real = std::filesystem::canonical(entry, error);
        if (!error && real.generic_string() != excludedPaths_.back()) {
            excludedPaths_.push_back(real.generic_string());
        }
    }
}

bool FileSelection::ReadsFile(std::string_view name) const {
    if (patterns_.empty()) {
        return PassesFilter(filter_, name) || (markdownPages_ && IsMarkdownFile(name));
    }
    return std::any_of(patterns_.begin(), patterns_.end(),
                       [name](const std::string& pattern) { return MatchesGlob(pattern, name); });
}

bool FileSelection::EntersDirectory(std::string_view name) const {
    return !patterns_.empty() || PassesFilter(filter_, name);
}

bool FileSelection::Excludes(std::string_view absolutePath, std::string_view name) const {
    for (const std::string& excluded : excludedPaths_) {
        if (absolutePath.starts_with(excluded) &&
            (absolutePath.size() == excluded.size() || absolutePath[excluded.size()] == '/' ||
             excluded == "/")) {
            return true;
        }
    }
    return std::any_of(excludedPatterns_.begin(), excludedPatterns_.end(),
                       [&](const std::string& pattern) {
                           return MatchesGlob(pattern, name) || MatchesGlob(pattern, absolutePath);
                       });
}

bool FileSelection::ReadsBelow(std::string_view root, std::string_view path, bool recurse) const {
    const std::string absoluteRoot = AbsoluteNormalPath(root);
    const std::string absolute = AbsoluteNormalPath(path);
    const std::size_t rootEnd = absoluteRoot == "/" ? 0 : absoluteRoot.size();
    if (Excludes(absoluteRoot, absoluteRoot.substr(absoluteRoot.rfind('/') + 1))) {
        return false;
    }
    if (absolute == absoluteRoot) {
        return true;
    }
    if (absolute.size() <= rootEnd + 1 || !absolute.starts_with(absoluteRoot) ||
        absolute[rootEnd] != '/') {
        return false;
    }
    // Each entry from the first below the root to the file itself, as the walk meets them.
    for (std::size_t start = rootEnd + 1;;) {
        const std::size_t end = absolute.find('/', start);
        const bool directory = end != std::string::npos;
        const std::string entry = absolute.substr(0, directory ? end : absolute.size());
        if (skipSymlinks_ && IsSymbolicLink(entry)) {
            return false;
        }
        const std::string_view name = std::string_view(entry).substr(start);
        if ((hasExclusions() && Excludes(entry, name)) || !Chooses(name, directory)) {
            return false;
        }
        if (!directory) {
            return true;
        }
        if (!recurse) {
            return false;
        }
        start = end + 1;
    }
}

}  // namespace sylva
