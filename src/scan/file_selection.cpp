#include "scan/file_selection.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "scan/scan.h"

namespace sylva {

namespace {

constexpr std::string_view kGlobCharacters = "*?[";

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

}  // namespace sylva
