#include "app/watch_inputs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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

}  // namespace

WatchInputs::WatchInputs(const MainFields& fields, const std::string& doxyfile)
    : WatchInputs(fields, doxyfile, SettingsOf(fields)) {}

WatchInputs::WatchInputs(const MainFields& fields, const std::string& doxyfile,
                         const Settings& settings)
    : scanPaths_(ScanPathsOf(fields, settings)),
      recurse_(fields.options.includeSubdirs != 0),
      selection_(CZTString(fields.filter).MakeUpper(), settings,
                 ParseCommentStyle(settings[SYL_COMMENT_STYLE]) == CommentStyle::kDoxygen) {
    // A settings file that is not there cannot be watched (nor does the run read it); the
    // standard configuration file is usually absent.
    for (const std::string& file : {fields.options.configFile, doxyfile}) {
        std::error_code error;
        if (!file.empty() && std::filesystem::is_regular_file(file, error)) {
            settingsFiles_.push_back(file);
            absoluteSettingsFiles_.push_back(AbsoluteNormalPath(file));
        }
    }
}

std::vector<std::string> WatchInputs::Roots() const {
    std::vector<std::string> roots = scanPaths_;
    roots.insert(roots.end(), settingsFiles_.begin(), settingsFiles_.end());
    return roots;
}

bool WatchInputs::IsSettingsFile(std::string_view path) const {
    return std::find(absoluteSettingsFiles_.begin(), absoluteSettingsFiles_.end(),
                     AbsoluteNormalPath(path)) != absoluteSettingsFiles_.end();
}

bool WatchInputs::Counts(std::string_view path) const {
    return IsSettingsFile(path) ||
           std::any_of(scanPaths_.begin(), scanPaths_.end(), [&](const std::string& root) {
               return selection_.ReadsBelow(root, path, recurse_);
           });
}

}  // namespace sylva
