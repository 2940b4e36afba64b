// The generation run: derives one project's names from its inputs and calls the stages in their
// fixed order. No stage's result decides whether a later stage runs; each reports its own
// failures.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

#include "engine/engine.h"
#include "engine/run_cache.h"
#include "engine/tag_files.h"
#include "scan/scan.h"
#include "support/text_format.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kMasterNameWithPathLine =
    "ERROR: Master file name MUST NOT contain path statement %s !";
constexpr std::string_view kUnusableProjectNameLine =
    "ERROR: Project name %s gives no usable directory name !";
constexpr std::string_view kUnknownStyleLine =
    "ERROR: Unknown comment style %s, the styles are sylva and doxygen !";
constexpr std::string_view kScanPathMissing = "Scan path %s does not exist.";
// A scan path that names one file reads that file, as a list of inputs may.
constexpr std::string_view kScanPathNoDirectory = "Scan path %s is neither a directory nor a file.";
constexpr std::string_view kScanPathUnusable = "Scan path %s cannot be used (%s).";
constexpr std::string_view kErrorLine = "ERROR: %s";
constexpr std::string_view kScanningProjectStatus = "Scanning project...";
constexpr std::string_view kCannotCreateDirectoryLine =
    "ERROR: Cannot create project directory %s (%s) !";
constexpr std::string_view kCleanItemListLine = "Clean item list...";
constexpr std::string_view kPathDoneLine = "Path done, scanned paths %d, scanned files %d.";
constexpr std::string_view kWarningSummaryLine = "WARNING: %s.";
// Told when a run found no item of its style but a comment of the other one: the pages would be
// empty without a word.
constexpr WarningKind kDoxygenCommentsUnread = {
    "sylva.doxygen-comments-unread",
    "no documentation block found, but this file holds doxygen comments; read them with "
    "-STYLE=doxygen (or SYL_COMMENT_STYLE=doxygen)"};
constexpr WarningKind kMarkerBlocksUnread = {
    "sylva.marker-blocks-unread",
    "no doxygen comment found, but this file holds marker blocks of the default style; read them "
    "without -STYLE=doxygen (or with SYL_COMMENT_STYLE=sylva)"};
constexpr WarningKind kUnknownSeeAlso = {
    "sylva.unknown-see-also",
    "See also entry \"%s\" names no documented item; its link leads nowhere"};
constexpr WarningKind kEmptySeeAlso = {"sylva.empty-see-also",
                                       "empty See also entry; its link leads nowhere"};

std::string WithoutTrailingSlashes(const std::string& path) {
    return std::string(TrimRightView(path, "/"));
}

// Gives the plain page of each name in `names` to the first surviving item of that name.
void GivePlainPagesToSurvivors(ItemList& items, const std::unordered_set<std::string>& names) {
    // The survivor created first has the lowest page number.
    std::unordered_map<std::string_view, CSylItem*> firstSurvivor;
    for (const ItemList::Slot& item : items) {
        if (item && names.contains(item->name)) {
            CSylItem*& first = firstSurvivor[item->name];
            if (first == nullptr || item->pageNumber < first->pageNumber) {
                first = item.get();
            }
        }
    }
    for (auto& [name, item] : firstSurvivor) {
        item->UsePlainPageName();
    }
}

}  // namespace

std::optional<std::string> ScanPathProblem(const std::string& scanPath) {
    struct stat info {};
    if (::stat(scanPath.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) || S_ISREG(info.st_mode)
                   ? std::nullopt
                   : std::optional(FormatLine(kScanPathNoDirectory, {scanPath}));
    }
    if (errno == ENOENT || errno == ENOTDIR) {
        return FormatLine(kScanPathMissing, {scanPath});
    }
    return FormatLine(kScanPathUnusable, {scanPath, std::strerror(errno)});
}

RunResult Run(const RunInputs& inputs, const Settings& settings, const RunOptions& options,
              Reporter& reporter) {
    std::variant<Project, ProjectRefusal> made = MakeProject(
        inputs.projectName, inputs.projectDesc, inputs.outputPath, inputs.masterIndexName);
    if (const ProjectRefusal* refusal = std::get_if<ProjectRefusal>(&made)) {
        reporter.Protocol(*refusal == ProjectRefusal::kMasterIndexNameWithPath
                              ? FormatLine(kMasterNameWithPathLine, {inputs.masterIndexName})
                              : FormatLine(kUnusableProjectNameLine, {inputs.projectName}));
        return RunResult::kRefused;
    }
    const Project& project = std::get<Project>(made);
    const std::optional<CommentStyle> style = ParseCommentStyle(settings[SYL_COMMENT_STYLE]);
    if (!style) {
        reporter.Protocol(FormatLine(kUnknownStyleLine, {settings[SYL_COMMENT_STYLE]}));
        return RunResult::kRefused;
    }
    if (std::optional<std::string> problem = ScanPathProblem(inputs.scanPath)) {
        reporter.Protocol(FormatLine(kErrorLine, {*problem}));
        return RunResult::kRefused;
    }
    if (std::optional<std::string> problem = TagFilesProblem(settings)) {
        reporter.Protocol(FormatLine(kErrorLine, {*problem}));
        return RunResult::kRefused;
    }
    reporter.Status(kScanningProjectStatus);
    // Without its directory no page can be written, and a master index record would lead
    // nowhere: the run ends here, as a failure.
    if (Status made = CreateProjectDirectory(project); !made.ok()) {
        reporter.Failure(
            FormatLine(kCannotCreateDirectoryLine, {project.Directory(), made.reason()}));
        reporter.Protocol(FormatLine(kPathDoneLine, {"0", "0"}));
        return RunResult::kRan;
    }

    RunCache cache(inputs, project, settings, options, reporter);
    if (cache.Unchanged()) {
        cache.Replay(inputs.summary);
        return RunResult::kRan;
    }
    const ExternalNames external = ReadTagFiles(settings, reporter);
    cache.UseExternalNames(DigestOf(external));
    ItemList items;
    items.UseExternalNames(&external);
    ScanJob scan{settings,
                 items,
                 reporter,
                 WithoutTrailingSlashes(inputs.scanPath),
                 CZTString(inputs.filter).MakeUpper(),
                 project.outputPath,
                 project.name,
                 *style,
                 cache.scanMemo()};
    std::vector<std::string> roots{scan.scanPath};
    for (const std::string& more : SplitSettingList(settings[SYL_SCAN_PATHS])) {
        roots.push_back(WithoutTrailingSlashes(more));
    }
    const ScanCounts counts = ScanPaths(scan, roots, options.includeSubdirs != 0);
    if (counts.otherStyle) {
        reporter.Warning(
            counts.otherStyle->file, counts.otherStyle->line,
            *style == CommentStyle::kDoxygen ? kMarkerBlocksUnread : kDoxygenCommentsUnread);
    }
    CleanItemList(items, inputs.typePublic, inputs.typePrivate, reporter);
    cache.Judge(items, inputs.threadCount);
    CheckSeeAlsoNames(items, settings, options, reporter, inputs.threadCount, &cache);
    PageJob pages{settings,
                  options,
                  project,
                  items,
                  reporter,
                  inputs.typePublic,
                  inputs.typePrivate,
                  inputs.threadCount,
                  &cache.output(),
                  &cache,
                  scan.scanPath};
    // The items are cleaned, so those the cache judged are those with pages.
    pages.scopes = cache.scopes();
    if (options.linkItemNames != 0) {
        CrossLink(pages);
    }
    const FinishedItems finished{items, settings, options, project, *style, inputs.threadCount};
    if (inputs.observer != nullptr) {
        pages.textReader = inputs.observer->PagesStarting(finished);
    }
    WritePages(pages);
    WriteTagFile(settings, items, reporter);
    if (inputs.observer != nullptr) {
        inputs.observer->ItemsFinished(finished);
    }
    if (!project.masterIndexName.empty()) {
        (void)AddToMasterIndex(settings, reporter, project.outputPath, project.masterIndexName,
                               {project.name, "", project.description});
    }
    cache.Finish(inputs.summary, counts.files);
    if (inputs.summary != nullptr) {
        inputs.summary->binarySkipped = counts.binaryFiles;
    }

    reporter.Protocol(
        FormatLine(kPathDoneLine, {std::to_string(counts.paths), std::to_string(counts.files)}));
    // With a sink the warnings went there, and whoever installed it sums them up.
    if (reporter.warningCount() > 0 && !reporter.hasDiagnosticSink()) {
        reporter.Protocol(
            FormatLine(kWarningSummaryLine, {WarningSummary(reporter.warningCount())}));
    }
    cache.Store();
    return RunResult::kRan;
}

void CleanItemList(ItemList& items, int typePublic, int typePrivate, Reporter& reporter) {
    reporter.Protocol(kCleanItemListLine);
    // Names whose plain page belonged to a dropped item: links by name lead to that page.
    std::unordered_set<std::string> orphanedPlainPages;
    for (std::size_t slot = 0; slot < items.size(); ++slot) {
        const CSylItem* item = items[slot].get();
        if (item != nullptr && ((typePrivate == 0 && item->isPublic == 0) ||
                                (typePublic == 0 && item->isPublic != 0))) {
            if (item->pageNumber < 0) {
                orphanedPlainPages.insert(item->name);
            }
            items.Remove(slot);
        }
    }
    if (!orphanedPlainPages.empty()) {
        GivePlainPagesToSurvivors(items, orphanedPlainPages);
    }
}

void CheckSeeAlsoNames(const ItemList& items, const Settings& settings, const RunOptions& options,
                       Reporter& reporter, int threadCount, RunCache* cache) {
    std::vector<const CSylItem*> listed;
    for (const ItemList::Slot& item : items) {
        if (item) {
            listed.push_back(item.get());
        }
    }
    struct Checked {
        std::vector<std::string> warnings;
        NameLookups lookups;
        const std::vector<std::string>* fresh = nullptr;
    };
    RunInOrder<Checked>(
        listed.size(), WorkersFor(threadCount, false),
        [&](std::size_t i) {
            Checked checked;
            if (cache != nullptr &&
                (checked.fresh = cache->FreshSeeAlsoWarnings(*listed[i])) != nullptr) {
                return checked;
            }
            const NameLookups::Recording recording(checked.lookups);
            for (const std::string& name : SeeAlsoNames(*listed[i], settings, options)) {
                if (name.empty()) {
                    checked.warnings.emplace_back(kEmptySeeAlso.pattern);
                } else if (!ResolveName(items, name, *listed[i]) && !items.ExternalAddress(name)) {
                    checked.warnings.push_back(FormatLine(kUnknownSeeAlso, {name}).text);
                }
            }
            return checked;
        },
        [&](std::size_t i, Checked& checked) {
            for (const std::string& warning : checked.fresh ? *checked.fresh : checked.warnings) {
                // The cache keeps the texts alone; the empty entry's is its kind's whole pattern,
                // and an unknown name's always quotes the name, so the two kinds cannot be
                // confused.
                const WarningKind& kind =
                    warning == kEmptySeeAlso.pattern ? kEmptySeeAlso : kUnknownSeeAlso;
                reporter.Warning(listed[i]->sourceFile, listed[i]->sourceLine,
                                 WarningMessage(kind.rule, warning, listed[i]->name));
            }
            if (cache != nullptr && checked.fresh == nullptr) {
                cache->SeeAlsoChecked(*listed[i], std::move(checked.warnings), checked.lookups);
            }
        });
}

}  // namespace sylva
