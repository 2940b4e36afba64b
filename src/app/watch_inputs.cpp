#include "app/watch_inputs.h"

#include <algorithm>
#include <filesystem>

#include "app/main_actions.h"
#include "scan/settings.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

// The scan paths a run of `fields` walks with `settings`: its own, then those the settings add.
std::vector<std::string> ScanPathsOf(const MainFields& fields, const Settings& settings) {
    std::vector<std::string> paths{fields.scanPath};
    for (std::string& more : SplitSettingList(settings[SYL_SCAN_PATHS])) {
        paths.push_back(std::move(more));
    }
    return paths;
}

Settings SettingsOf(const MainFields& fields) {
    Settings settings;
    LoadRunSettings(settings, fields, nullptr, nullptr);
    return settings;
}

bool IsBelowOrAt(std::string_view path, std::string_view place) {
    return path.starts_with(place) &&
           (path.size() == place.size() || path[place.size()] == '/' || place == "/");
}

}  // namespace

WatchInputs::WatchInputs(const MainFields& fields, const std::string& doxyfile)
    : WatchInputs(fields, doxyfile, SettingsOf(fields)) {}

WatchInputs::WatchInputs(const MainFields& fields, const std::string& doxyfile,
                         const Settings& settings)
    : scanPaths_(ScanPathsOf(fields, settings)),
      examplePatterns_(SplitSettingList(settings[SYL_EXAMPLE_PATTERNS])),
      recurse_(fields.options.includeSubdirs != 0),
      selection_(CZTString(fields.filter).MakeUpper(), settings,
                 ParseCommentStyle(settings[SYL_COMMENT_STYLE]) == CommentStyle::kDoxygen) {
    for (const auto& [id, example] : {std::pair{SYL_IMAGE_PATH, false}, {SYL_EXAMPLE_PATH, true}}) {
        for (std::string& place : SplitSettingList(settings[id])) {
            std::string absolute = AbsoluteNormalPath(place);
            shownPlaces_.push_back({std::move(place), std::move(absolute), example});
        }
    }
    for (const std::string& file : {fields.options.configFile, doxyfile}) {
        if (!file.empty()) {
            settingsFiles_.push_back(file);
            absoluteSettingsFiles_.push_back(AbsoluteNormalPath(file));
        }
    }
}

std::vector<WatchRoot> WatchInputs::Roots() const {
    std::vector<WatchRoot> roots;
    for (const std::string& path : scanPaths_) {
        roots.push_back({path, recurse_, false});
    }
    // Optional: an image or example place that is not there leaves the run without images from
    // it, so it must not stop the watch either.
    for (const ShownPlace& place : shownPlaces_) {
        roots.push_back({place.path, true, true});
    }
    for (const std::string& file : settingsFiles_) {
        roots.push_back({file, false, true});
    }
    return roots;
}

bool WatchInputs::IsSettingsFile(std::string_view path) const {
    return std::find(absoluteSettingsFiles_.begin(), absoluteSettingsFiles_.end(),
                     AbsoluteNormalPath(path)) != absoluteSettingsFiles_.end();
}

bool WatchInputs::ShownFrom(const std::string& path) const {
    const std::string name = std::filesystem::path(path).filename().string();
    const bool examplePasses =
        examplePatterns_.empty() ||
        std::any_of(examplePatterns_.begin(), examplePatterns_.end(),
                    [&](const std::string& pattern) { return MatchesGlob(pattern, name); });
    return std::any_of(shownPlaces_.begin(), shownPlaces_.end(), [&](const ShownPlace& place) {
        // A place that is a file is shown whatever its name.
        return path == place.absolute ||
               (IsBelowOrAt(path, place.absolute) && (!place.example || examplePasses));
    });
}

bool WatchInputs::Counts(std::string_view path) const {
    return IsSettingsFile(path) || ShownFrom(AbsoluteNormalPath(path)) ||
           std::any_of(scanPaths_.begin(), scanPaths_.end(), [&](const std::string& root) {
               return selection_.ReadsBelow(root, path, recurse_);
           });
}

}  // namespace sylva
