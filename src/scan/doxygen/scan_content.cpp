// Scanning a file of the doxygen style: its documented items, filed into the run's item list,
// with the images its comments show and the groups they define checked against the run's.
#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "scan/doxygen/reader.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kImageMissing =
    "image \"%s\" is not found beside the source; its alt text stands in its place";
constexpr std::string_view kImageOutside =
    "image \"%s\" lies outside the scan path; it is not copied, its alt text stands in its place";
constexpr std::string_view kGroupDefinedAgain =
    "group \"%s\" is defined again (first at %s:%s); \"@addtogroup\" adds to a group";
constexpr std::string_view kGroupRetitled =
    "group \"%s\" is defined again with another title (first at %s:%s as \"%s\"); the items "
    "of this definition are listed under its own title \"%s\"";
constexpr std::string_view kWebSchemes[] = {"https://", "http://"};

namespace fs = std::filesystem;

// The name under which the pages show the image `file` that a comment of `source` names, or
// empty (with a warning) when it cannot be shown: it must be a web address, or a file found
// beside the source and inside the scan path. Nothing is read here; a found file is copied with
// the pages.
std::string ShownImage(ScanJob& job, const std::string& source, std::string_view file, int line) {
    for (std::string_view scheme : kWebSchemes) {
        if (file.starts_with(scheme)) {
            return std::string(file);
        }
    }
    std::error_code error;
    fs::path written(file);
    fs::path candidate = written.is_absolute() ? written : fs::path(source).parent_path() / written;
    fs::path found = fs::canonical(candidate, error);
    if (error || !fs::is_regular_file(found, error)) {
        job.reporter.Warning(source, line, FormatLine(kImageMissing, {file}));
        return {};
    }
    fs::path root = fs::canonical(job.scanPath, error);
    auto [rootEnd, foundAt] = std::mismatch(root.begin(), root.end(), found.begin(), found.end());
    if (error || rootEnd != root.end()) {
        job.reporter.Warning(source, line, FormatLine(kImageOutside, {file}));
        return {};
    }
    return job.items.ImageCopy(found.string());
}

}  // namespace

int ScanDoxygenContent(ScanJob& job, std::string_view content, const std::string& path,
                       CZTTime lastWrite) {
    Reporter& reporter = job.reporter;
    DoxygenOptions options;
    options.showHidden = IsSwitchedOn(job.settings[SYL_DOXYGEN_INTERNAL_DOCS]);
    options.images = [&](std::string_view file, int line) {
        return ShownImage(job, path, file, line);
    };
    std::vector<DoxygenItem> documented = ReadDoxygenComments(
        content, [&](int line, std::string_view text) { reporter.Warning(path, line, text); },
        options);
    if (documented.empty()) {
        return 0;
    }
    std::string_view sourceName = job.items.KeepSourceName(path);
    // Groups this file defines again under another title: their items keep this file's title.
    std::unordered_map<std::string, std::string> retitled;
    for (DoxygenItem& item : documented) {
        reporter.Advance();
        if (item.kind == DoxygenKind::kGroup) {
            if (const ItemList::GroupDefinition* first = job.items.FindGroup(item.name)) {
                std::string line = std::to_string(first->sourceLine);
                std::string file(first->sourceFile);
                if (first->title == item.title || item.title.empty()) {
                    reporter.Warning(path, item.line,
                                     FormatLine(kGroupDefinedAgain, {item.name, file, line}));
                } else {
                    reporter.Warning(path, item.line,
                                     FormatLine(kGroupRetitled,
                                                {item.name, file, line, first->title, item.title}));
                    retitled[item.name] = item.title;
                }
            }
        }
        auto title = retitled.find(item.group);
        bool ownTitle = item.kind == DoxygenKind::kGroup && retitled.contains(item.name);
        CSylItem& added =
            job.items.Add(job.settings, item, {{}, {}, lastWrite, sourceName, item.line});
        if (ownTitle) {
            added.group = retitled[item.name];
        } else if (title != retitled.end()) {
            added.group = title->second;
        }
    }
    return static_cast<int>(documented.size());
}

}  // namespace sylva
