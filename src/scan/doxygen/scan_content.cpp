// Scanning a file of the doxygen style: its documented items (or, for a Markdown file, its page),
// filed into the run's item list, with the images its comments show and the files they link to.
#include <algorithm>
#include <filesystem>
#include <optional>

#include "scan/doxygen/aliases.h"
#include "scan/doxygen/predefined_macros.h"
#include "scan/doxygen/reader.h"
#include "scan/file_selection.h"
#include "support/text_format.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr WarningKind kImageMissing = {
    "doxygen.image-missing",
    "image \"%s\" is not found beside the source, in the inputs or in the image path; its alt "
    "text stands in its place"};
constexpr WarningKind kImageOutside = {
    "doxygen.image-outside",
    "image \"%s\" lies outside the inputs and the image path; it is not copied, its alt text "
    "stands in its place"};
constexpr WarningKind kLinkOutside = {
    "doxygen.link-outside",
    "link \"%s\" leads to a file outside the inputs; it is not followed, its text stands in its "
    "place"};
constexpr std::string_view kPageLabelPrefix = "md_";
// The extensions of the header files, whose declarations are the public ones that the coverage
// counts are made of; the declarations of other files are not counted.
constexpr std::string_view kHeaderExtensions[] = {".h", ".hh", ".hpp", ".hxx", ".h++"};
constexpr WarningKind kExampleMissing = {
    "doxygen.example-missing", "example \"%s\" is not found in the example path; nothing is shown"};
constexpr WarningKind kExampleOutside = {
    "doxygen.example-outside",
    "example \"%s\" lies outside the example path; it is not read, nothing is shown"};
constexpr WarningKind kExampleCut = {
    "doxygen.example-cut",
    "example \"%s\" is larger than %s bytes; only its first lines are shown"};

namespace fs = std::filesystem;

// True iff `absolute` (lexically normal) is a root of the job's walk or lies below one.
bool InsideInputs(const ScanJob& job, std::string_view absolute) {
    std::vector<std::string> roots = SplitSettingList(job.settings[SYL_SCAN_PATHS]);
    roots.push_back(job.scanPath);
    return std::any_of(roots.begin(), roots.end(), [absolute](const std::string& root) {
        const std::string base = AbsoluteNormalPath(root);
        return absolute.starts_with(base) &&
               (absolute.size() == base.size() || absolute[base.size()] == '/' || base == "/");
    });
}

// The reference name of a link to the local file `target` written in the file `source`
// (LinkResolver); nothing for a target that is no file path. Nothing is read.
std::optional<std::string> LocalLinkName(const ScanJob& job, const std::string& source,
                                         std::string_view target, int line) {
    const std::string_view path = target.substr(0, target.find_first_of("#?"));
    const bool filePath =
        !path.empty() && path.find(':') == std::string_view::npos &&
        (IsMarkdownFile(path) || path.front() == '.' || path.find('/') != std::string_view::npos);
    if (!filePath) {
        return std::nullopt;
    }
    const fs::path written(path);
    const std::string absolute = AbsoluteNormalPath(
        (written.is_absolute() ? written : fs::path(source).parent_path() / written).string());
    if (!InsideInputs(job, absolute)) {
        job.reporter.Warning(source, line, FormatLine(kLinkOutside, {target}));
        return std::string();
    }
    return IsMarkdownFile(absolute) ? MarkdownPageLabel(absolute)
                                    : fs::path(absolute).filename().string();
}

// How the comments of the file `path` are read for `job`.
// `aliases` must outlive the options.
DoxygenOptions OptionsFor(ScanJob& job, const std::string& path, const CommentAliases& aliases) {
    DoxygenOptions options;
    options.aliases = aliases.empty() ? nullptr : &aliases;
    options.showHidden = IsSwitchedOn(job.settings[SYL_DOXYGEN_INTERNAL_DOCS]);
    // Nothing is read here; a found file is copied with the pages.
    options.images = [&job, &path](std::string_view file, int line) {
        ItemList::ImageLookup lookup = LookUpImage(job.settings, job.scanPath, path, file);
        if (lookup.shown.empty()) {
            job.reporter.Warning(
                path, line,
                FormatLine(lookup.found.empty() ? kImageMissing : kImageOutside, {file}));
        }
        std::string shown = lookup.shown;
        job.items.NoteImage(std::move(lookup));
        return shown;
    };
    options.links = [&job, &path](std::string_view target, int line) {
        return LocalLinkName(job, path, target, line);
    };
    if (!job.settings[SYL_EXAMPLE_PATH].empty()) {
        options.examples = [&job, &path](std::string_view file, int line) {
            ExampleRead read = ReadExample(job.settings, file);
            if (!read.text) {
                job.reporter.Warning(
                    path, line,
                    FormatLine(read.outside ? kExampleOutside : kExampleMissing, {file}));
            } else if (read.cut) {
                job.reporter.Warning(
                    path, line, FormatLine(kExampleCut, {file, std::to_string(kExampleMostBytes)}));
            }
            job.items.NoteExample(std::move(read.lookup));
            return std::move(read.text);
        };
    }
    return options;
}

// True iff the settings make the file `path` the main page.
bool IsMainPageFile(const Settings& settings, const std::string& path) {
    const std::string& named = settings[SYL_MAIN_PAGE];
    if (named.empty()) {
        return false;
    }
    if (AbsoluteNormalPath(named) == AbsoluteNormalPath(path)) {
        return true;
    }
    std::error_code error;
    return fs::equivalent(named, path, error) && !error;
}

// Files `documented`, the items of the file `path`, and notes its public `declarations`; returns
// the number of items.
int FileItems(ScanJob& job, std::vector<DoxygenItem>& documented,
              std::vector<SeenDeclaration> declarations, const std::string& path,
              CZTTime lastWrite) {
    if (documented.empty() && declarations.empty()) {
        return 0;
    }
    std::string_view sourceName = job.items.KeepSourceName(path);
    for (SeenDeclaration& seen : declarations) {
        job.items.NoteDeclaration(sourceName, std::move(seen));
    }
    for (DoxygenItem& item : documented) {
        job.reporter.Advance();
        job.items.Add(job.settings, item, {{}, {}, lastWrite, sourceName, item.line});
    }
    return static_cast<int>(documented.size());
}

}  // namespace

std::string MarkdownPageLabel(std::string_view path) {
    std::string absolute = AbsoluteNormalPath(path);
    const std::string here = AbsoluteNormalPath(".");
    std::string_view shown = absolute;
    if (shown.starts_with(here) && shown.size() > here.size() &&
        (shown[here.size()] == '/' || here == "/")) {
        shown.remove_prefix(here == "/" ? 1 : here.size() + 1);
    }
    shown = TrimLeftView(shown, "/");
    const std::size_t slash = shown.rfind('/');
    const std::size_t dot = shown.rfind('.');
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash + 1)) {
        shown = shown.substr(0, dot);
    }
    std::string label(kPageLabelPrefix);
    for (char ch : shown) {
        const bool plain =
            (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        label.push_back(plain ? ch : '_');
    }
    return label;
}

int ScanMarkdownPage(ScanJob& job, std::string_view content, const std::string& path,
                     CZTTime lastWrite) {
    const CommentAliases aliases(SplitAliasList(job.settings[SYL_ALIASES]));
    const DoxygenOptions options = OptionsFor(job, path, aliases);
    std::vector<DoxygenItem> page = ReadMarkdownPage(
        content, MarkdownPageLabel(path), fs::path(path).filename().string(),
        IsMainPageFile(job.settings, path),
        [&](int line, const WarningMessage& message) { job.reporter.Warning(path, line, message); },
        options);
    return FileItems(job, page, {}, path, lastWrite);
}

bool IsHeaderFile(std::string_view path) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = name.substr(dot);
    return std::any_of(std::begin(kHeaderExtensions), std::end(kHeaderExtensions),
                       [&](std::string_view header) { return EqualsNoCase(extension, header); });
}

int ScanDoxygenContent(ScanJob& job, std::string_view content, const std::string& path,
                       CZTTime lastWrite) {
    // Each file parses the short lists again: less than reading one line of the file costs.
    const CommentAliases aliases(SplitAliasList(job.settings[SYL_ALIASES]));
    DoxygenOptions options = OptionsFor(job, path, aliases);
    const PredefinedMacros macros(SplitSettingList(job.settings[SYL_PREDEFINED]));
    std::string expanded;
    if (!macros.empty()) {
        expanded = macros.Expand(content);
        content = expanded;
    }
    std::vector<SeenDeclaration> declarations;
    if (IsHeaderFile(path)) {
        options.declarations = &declarations;
    }
    std::vector<DoxygenItem> documented = ReadDoxygenComments(
        content,
        [&](int line, const WarningMessage& message) { job.reporter.Warning(path, line, message); },
        options);
    return FileItems(job, documented, declarations, path, lastWrite);
}

}  // namespace sylva
