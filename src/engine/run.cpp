// The generation run: stores one project's inputs in the generator, derives the project's file
// names, and calls the stages in their fixed order. No stage's result decides whether a later
// stage runs; each reports its own failures.
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/scan_source.h"
#include "scan/syl_item.h"
#include "support/text_format.h"
#include "support/zt_string.h"
#include "support/zt_system.h"

namespace sylva {

namespace {

constexpr std::string_view kMasterNameWithPathLine =
    "ERROR: Master file name MUST NOT contain path statement %s !";
constexpr std::string_view kUnusableProjectNameLine =
    "ERROR: Project name %s gives no usable directory name !";
constexpr std::string_view kScanningProjectStatus = "Scanning project...";
constexpr std::string_view kCleanItemListLine = "Clean item list...";
constexpr std::string_view kPathDoneLine = "Path done, scanned paths %d, scanned files %d.";
constexpr std::string_view kWarningSummaryLine = "WARNING: %s.";
constexpr std::string_view kUnknownSeeAlso =
    "See also entry \"%s\" names no documented item; its link leads nowhere";
constexpr std::string_view kEmptySeeAlso = "empty See also entry; its link leads nowhere";

std::string WithoutTrailingSlashes(const std::string& path) {
    return std::string(TrimRightView(path, "/"));
}

}  // namespace

bool IsUsableDirectoryName(std::string_view name) {
    return !name.empty() && name != "." && name != "..";
}

int CZTScanSource::Run(const std::string& scanPathArg, const std::string& masterIndexNameArg,
                       const std::string& projectNameArg, const std::string& outputPathArg,
                       const std::string& filterArg, const std::string& projectDescArg,
                       CZTListBox* protocolList, CZTProgressDlg* progressDlg, int typePublicArg,
                       int typePrivateArg, const RunOptions& runOptions) {
    options = runOptions;
    scanPath = WithoutTrailingSlashes(scanPathArg);
    outputPath = WithoutTrailingSlashes(outputPathArg);
    projectName = projectNameArg;
    protocol = protocolList;
    duplicateCounter = 0;
    projectIndexFile.clear();
    frameFile.clear();
    frameIndexFile.clear();
    masterEntries.RemoveAll();
    projectDesc = projectDescArg;
    masterIndexName = masterIndexNameArg;
    progress = progressDlg;
    scannedPaths = 0;
    scannedFiles = 0;

    if (masterIndexName.find('/') != std::string::npos) {
        Protocol(FormatLine(kMasterNameWithPathLine, {masterIndexName}));
        return -1;
    }
    // A directory name of "", "." or ".." would put the project's pages into the output
    // directory itself or into its parent.
    if (!IsUsableDirectoryName(CZTString(projectName).ReplaceInvalidFilenameChars('_'))) {
        Protocol(FormatLine(kUnusableProjectNameLine, {projectName}));
        return -1;
    }

    typePublic = typePublicArg;
    typePrivate = typePrivateArg;
    filter = CZTString(filterArg).MakeUpper();
    ProgressStatus(kScanningProjectStatus);
    projectDirName = CZTString(projectName).ReplaceInvalidFilenameChars('_');
    MakeProjectPageNames(projectName, outputPath);

    ScanPath(scanPath, options.includeSubdirs != 0);
    CleanItemList();
    CheckSeeAlsoNames();
    if (options.linkItemNames != 0) {
        CrossLinkSections();
    }
    WritePages();
    if (!masterIndexName.empty()) {
        AddToMasterIndex(masterEntries, masterIndexName, projectName, "", projectDesc, outputPath);
    }

    Protocol(
        FormatLine(kPathDoneLine, {std::to_string(scannedPaths), std::to_string(scannedFiles)}));
    // With a sink the warnings went there, and whoever installed it sums them up.
    if (warningCount > 0 && diagnostics == nullptr) {
        Protocol(FormatLine(kWarningSummaryLine, {WarningSummary(warningCount)}));
    }
    return 0;
}

std::string CZTScanSource::MakeProjectPageNames(const std::string& name,
                                                const std::string& output) {
    std::string dir = CZTString(name).ReplaceInvalidFilenameChars('_');
    std::string base = output + "/" + dir + "/" + dir;
    projectIndexFile = base + ".HTML";
    frameIndexFile = base + "_frameidx.HTML";
    frameFile = base + "_frame.HTML";
    // A directory that cannot be made shows as failures of the stages that write into it.
    CZTSystem::EnsurePath(frameFile);
    return projectIndexFile;
}

int CZTScanSource::CleanItemList() {
    Protocol(kCleanItemListLine);
    // Names whose plain page belonged to a dropped item: links by name lead to that page.
    std::unordered_set<std::string> orphanedPlainPages;
    for (std::size_t slot = 0; slot < items.size(); ++slot) {
        const CSylItem* item = items[slot].get();
        if (item != nullptr && ((typePrivate == 0 && item->isPublic == 0) ||
                                (typePublic == 0 && item->isPublic != 0))) {
            if (item->pageNumber < 0) {
                orphanedPlainPages.insert(item->name);
            }
            RemoveItem(slot);
        }
    }
    if (!orphanedPlainPages.empty()) {
        GivePlainPagesToSurvivors(orphanedPlainPages);
    }
    return 1;
}

void CZTScanSource::GivePlainPagesToSurvivors(const std::unordered_set<std::string>& names) {
    // The survivor created first has the lowest page number.
    std::unordered_map<std::string_view, CSylItem*> firstSurvivor;
    for (const std::unique_ptr<CSylItem>& item : items) {
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

void CZTScanSource::CheckSeeAlsoNames() {
    std::vector<const CSylItem*> listed;
    for (const std::unique_ptr<CSylItem>& item : items) {
        if (item) {
            listed.push_back(item.get());
        }
    }
    Keywords();
    RunInOrder<std::vector<std::string>>(
        listed.size(), WorkersFor(threadCount, false),
        [&](std::size_t i) {
            std::vector<std::string> warnings;
            for (const std::string& name : listed[i]->SeeAlsoNames()) {
                if (name.empty()) {
                    warnings.emplace_back(kEmptySeeAlso);
                } else if (!IsPageNameUsed(name)) {
                    warnings.push_back(FormatLine(kUnknownSeeAlso, {name}));
                }
            }
            return warnings;
        },
        [&](std::size_t i, std::vector<std::string>& warnings) {
            for (const std::string& warning : warnings) {
                Warning(listed[i]->sourceFile, listed[i]->sourceLine, warning);
            }
        });
}

}  // namespace sylva
