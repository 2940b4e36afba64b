#include "app/main_actions.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>
#include <variant>

#include "engine/engine.h"
#include "support/text_format.h"
#include "support/zt_string.h"
#include "support/zt_system.h"

namespace sylva {

namespace {

// Create.
constexpr std::string_view kScanPathEmpty = "Scan path is empty, please enter a valid path name.";
constexpr std::string_view kMasterIndexEmpty =
    "Name of main index file is empty, please enter a valid filename.";
constexpr std::string_view kProjectNameEmpty =
    "Project name is empty, please enter a valid project name.";
constexpr std::string_view kOutputPathEmpty =
    "Output path is empty, please enter a valid path name.";
constexpr std::string_view kSamePathsQuestion =
    "Output path and scan path are the same!\n\nIs this the intent?";
constexpr std::string_view kProjectExistsQuestion =
    "Project already exists on output path, are you shure you want to overwrite it?";
constexpr std::string_view kUnusableProjectName =
    "Project name %s gives no usable directory name, please enter another project name.";
constexpr std::string_view kMasterIndexWithPath =
    "Master file name MUST NOT contain path statement %s !";
constexpr std::string_view kErrorLine = "ERROR: %s";
constexpr std::string_view kProgressTitle = "Sylva - Generate HTML system...";
constexpr std::string_view kStartGenerationQuestion = "Should I start HTML generation?";

// Add foreign index.
constexpr std::string_view kAddForeignLine = "Add foreign index to main index file.";
constexpr std::string_view kForeignNotGivenLine = "ERROR: \"Foreign index\" file not given.";
constexpr std::string_view kForeignNotGivenWarning =
    "Please insert a \"Foreign index:\" html filename or URL. This adress will be added as "
    "project.";
constexpr std::string_view kForeignDriveLine =
    "WARNING: \"Foreign index\" file name contains drive statement!";
constexpr std::string_view kForeignDriveQuestion =
    "If you add a drive statement to your foreign index adress, this may not work because "
    "browser on other computers cannot follow the link!\nSylva will add the "
    "\"file://localhost/\" html tag to avoid problems.\nContinue anyway?";
constexpr std::string_view kLocalhostPrefix = "file://localhost";
constexpr std::string_view kForeignAddedLine = "Foreign index project %s added to master index %s.";

// Remove project.
constexpr std::string_view kProjectMissing = "Project does not exist on output path.";
constexpr std::string_view kDeleteProjectLine = "Delete project %s...";
constexpr std::string_view kRemoveLinkLine = "  Remove master index link to project %s in path %s.";
constexpr std::string_view kDeleteQuestion =
    "Every file in the projects sub directory %s will be deleted!\nAre you shure, you want to "
    "delete every content of the project?";
constexpr std::string_view kDeletingContentsLine =
    "  Deleting all project document contents for project %s from %s.";
constexpr std::string_view kDeletingFileLine = "    Deleting file %s...";
constexpr std::string_view kCannotDeleteFileLine = "      ERROR: Cannot delete file %s!";
constexpr std::string_view kFilesRemainLine =
    "ERROR: Cannot delete project sub directory because one or more files still exists!";
constexpr std::string_view kFilesRemainWarning =
    "One or more files cannot be deleted on path %s.\nPath could not be deleted.";
constexpr std::string_view kProjectDeletedLine = "Project deleted successfully.";
constexpr std::string_view kCannotDeleteDirectoryLine =
    "ERROR: Cannot delete project sub directory!";
constexpr auto kRemoveDelay = std::chrono::milliseconds(300);

// Turns a path typed with "\" into the platform's form, so a path typed either way works.
void UseForwardSlashes(std::string& path) {
    std::replace(path.begin(), path.end(), '\\', '/');
}

// A foreign index address that names a local file: a Windows drive ("C:" at the start) or an
// absolute path. Such a link works only on this computer, so the user is asked first.
bool HasDriveStatement(std::string_view address) {
    bool windowsDrive =
        address.size() >= 2 && address[1] == ':' &&
        ((address[0] >= 'A' && address[0] <= 'Z') || (address[0] >= 'a' && address[0] <= 'z'));
    return windowsDrive || address.starts_with('/');
}

// The files directly in `directory`, in byte order of their names; subdirectories are not
// listed. Symbolic links count as files: deleting one removes the link, never its target.
std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_directory(error) || it->is_symlink(error)) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

MainActions::MainActions(MainFields& fields, Prompter& prompter, CZTListBox* protocol,
                         FieldsView* view)
    : fields_(fields), prompter_(prompter), protocol_(protocol), view_(view) {}

void MainActions::ReadControls() {
    if (view_ != nullptr) {
        view_->ReadControls(fields_);
    }
}

void MainActions::WriteControls() {
    if (view_ != nullptr) {
        view_->WriteControls(fields_);
    }
}

bool MainActions::AllFilled(
    std::initializer_list<std::pair<const std::string&, std::string_view>> fields) {
    for (const auto& [value, warning] : fields) {
        if (value.empty()) {
            prompter_.Warning(warning);
            return false;
        }
    }
    return true;
}

void MainActions::ClearProtocol() {
    if (protocol_ != nullptr) {
        protocol_->ResetContent();
    }
}

void MainActions::Protocol(std::string_view line) {
    if (protocol_ != nullptr) {
        protocol_->AddSelString(line, 1, 1000);
    }
}

std::string MainActions::MasterIndexPath() const {
    return sylva::MasterIndexPath(fields_.outputPath, fields_.masterIndexName);
}

ActionResult MainActions::Create() {
    return Generate(true, protocol_, protocol_, nullptr);
}

ActionResult MainActions::CreateBatch(CZTListBox* runProtocol, CZTListBox* configProtocol,
                                      DiagnosticSink* diagnostics, ItemsObserver* observer) {
    return Generate(false, runProtocol, configProtocol, diagnostics, observer);
}

ActionResult MainActions::CreateButton() {
    return fields_.modeIsScan != 0 ? Create() : AddForeignIndex();
}

ActionResult MainActions::GenerateOnEnter() {
    if (!prompter_.Question(kStartGenerationQuestion)) {
        return ActionResult::kNotRun;
    }
    return Create();
}

ActionResult MainActions::Generate(bool interactive, CZTListBox* runProtocol,
                                   CZTListBox* configProtocol, DiagnosticSink* diagnostics,
                                   ItemsObserver* observer) {
    warningCount_ = 0;
    if (interactive) {
        ClearProtocol();
        ReadControls();
    }
    UseForwardSlashes(fields_.outputPath);
    UseForwardSlashes(fields_.scanPath);
    UseForwardSlashes(fields_.masterIndexName);
    UseForwardSlashes(fields_.filter);

    if (!AllFilled({{fields_.scanPath, kScanPathEmpty},
                    {fields_.masterIndexName, kMasterIndexEmpty},
                    {fields_.projectName, kProjectNameEmpty},
                    {fields_.outputPath, kOutputPathEmpty}})) {
        return ActionResult::kNotRun;
    }
    if (fields_.outputPath == fields_.scanPath && !prompter_.CautiousQuestion(kSamePathsQuestion)) {
        return ActionResult::kNotRun;
    }
    std::string dirName = ProjectDirectoryName(fields_.projectName);
    if (!IsUsableDirectoryName(dirName)) {
        prompter_.Warning(FormatLine(kUnusableProjectName, {fields_.projectName}));
        return ActionResult::kNotRun;
    }
    // Before the question about the existing project: a mistyped path is no reason to ask about
    // overwriting the project.
    if (std::optional<std::string> problem = ScanPathProblem(fields_.scanPath)) {
        Protocol(FormatLine(kErrorLine, {*problem}));
        prompter_.Warning(*problem);
        return ActionResult::kNotRun;
    }
    if (CZTSystem::FileExist(fields_.outputPath + "/" + dirName) &&
        !prompter_.Question(kProjectExistsQuestion)) {
        return ActionResult::kNotRun;
    }

    std::unique_ptr<CZTProgressDlg> progress = prompter_.CreateProgress();
    progress->SetTitle(kProgressTitle);
    progress->SetRange(0, 500);
    progress->ShowPercent(false);
    progress->SetStep(5);

    // The configuration's warnings are the run's: they count for -WERROR and reach its sinks.
    Reporter reporter(runProtocol, progress.get(), diagnostics);
    Settings settings;
    LoadRunSettings(settings, fields_, configProtocol, &reporter);
    lastRun_ = RunSummary();
    const RunInputs inputs{
        fields_.scanPath,     fields_.masterIndexName, fields_.projectName, fields_.outputPath,
        fields_.filter,       fields_.projectDesc,     fields_.typePublic,  fields_.typePrivate,
        DefaultThreadCount(), fields_.cache,           &lastRun_,           observer};
    if (Run(inputs, settings, fields_.options, reporter) == RunResult::kRefused) {
        // The run told its protocol; the user hears of it as of every other refusal.
        if (HoldsPath(fields_.masterIndexName)) {
            prompter_.Warning(FormatLine(kMasterIndexWithPath, {fields_.masterIndexName}));
        }
        return ActionResult::kNotRun;
    }
    warningCount_ = reporter.warningCount();
    return reporter.failureCount() > 0 ? ActionResult::kDoneWithFailures : ActionResult::kDone;
}

ActionResult MainActions::AddForeignIndex() {
    ReadControls();
    ClearProtocol();
    Protocol(kAddForeignLine);
    if (fields_.foreignHtml.empty()) {
        Protocol(kForeignNotGivenLine);
        prompter_.Warning(kForeignNotGivenWarning);
        return ActionResult::kNotRun;
    }
    // A record keyed by an empty name would read back as a gap line and be lost on the next
    // rewrite of the master index; an empty output path would put the master index at the root
    // of the file system; a name with a path would write outside the output directory.
    if (!AllFilled({{fields_.projectName, kProjectNameEmpty},
                    {fields_.masterIndexName, kMasterIndexEmpty},
                    {fields_.outputPath, kOutputPathEmpty}})) {
        return ActionResult::kNotRun;
    }
    if (HoldsPath(fields_.masterIndexName)) {
        prompter_.Warning(FormatLine(kMasterIndexWithPath, {fields_.masterIndexName}));
        return ActionResult::kNotRun;
    }
    if (HasDriveStatement(fields_.foreignHtml)) {
        Protocol(kForeignDriveLine);
        if (!prompter_.Question(kForeignDriveQuestion)) {
            return ActionResult::kNotRun;
        }
        std::string separator = fields_.foreignHtml.starts_with('/') ? "" : "/";
        fields_.foreignHtml = std::string(kLocalhostPrefix) + separator + fields_.foreignHtml;
    }
    // The master index is read and written with the markers and templates Create uses, so that
    // it finds the records a generation wrote.
    Settings settings;
    LoadConfig(settings, fields_.options.configFile, protocol_);
    Reporter reporter(protocol_);
    if (AddToMasterIndex(settings, reporter, fields_.outputPath, fields_.masterIndexName,
                         {fields_.projectName, fields_.foreignHtml, fields_.projectDesc}) < 0) {
        return ActionResult::kDoneWithFailures;
    }
    Protocol(FormatLine(kForeignAddedLine, {fields_.projectName, fields_.masterIndexName}));
    return ActionResult::kDone;
}

ActionResult MainActions::RemoveProject() {
    ClearProtocol();
    std::this_thread::sleep_for(kRemoveDelay);
    ReadControls();

    if (!AllFilled({{fields_.masterIndexName, kMasterIndexEmpty},
                    {fields_.projectName, kProjectNameEmpty},
                    {fields_.outputPath, kOutputPathEmpty}})) {
        return ActionResult::kNotRun;
    }
    // "." or ".." would make the output directory or its parent the project directory, and
    // every file in it would be deleted.
    std::variant<Project, ProjectRefusal> made = MakeProject(
        fields_.projectName, fields_.projectDesc, fields_.outputPath, fields_.masterIndexName);
    if (const ProjectRefusal* refusal = std::get_if<ProjectRefusal>(&made)) {
        prompter_.Warning(*refusal == ProjectRefusal::kMasterIndexNameWithPath
                              ? FormatLine(kMasterIndexWithPath, {fields_.masterIndexName})
                              : FormatLine(kUnusableProjectName, {fields_.projectName}));
        return ActionResult::kNotRun;
    }
    std::string projectDir = fields_.outputPath + "/" + std::get<Project>(made).directoryName;
    if (!CZTSystem::FileExist(projectDir)) {
        prompter_.Warning(kProjectMissing);
        return ActionResult::kNotRun;
    }

    Protocol(FormatLine(kDeleteProjectLine, {fields_.projectName}));
    Protocol(FormatLine(kRemoveLinkLine, {fields_.projectName, fields_.outputPath}));
    // As Create reads and writes the master index, so that its records are found.
    Settings settings;
    LoadConfig(settings, fields_.options.configFile, protocol_);
    Reporter reporter(protocol_);
    bool indexFailed = RemoveFromMasterIndex(settings, reporter, fields_.outputPath,
                                             fields_.masterIndexName, fields_.projectName) < 0;

    std::string pattern = projectDir + "/*.*";
    if (!prompter_.Question(FormatLine(kDeleteQuestion, {pattern}))) {
        return indexFailed ? ActionResult::kDoneWithFailures : ActionResult::kNotRun;
    }
    Protocol(FormatLine(kDeletingContentsLine, {fields_.projectName, fields_.outputPath}));
    bool deleteFailed = false;
    for (const std::string& file : FilesIn(projectDir)) {
        Protocol(FormatLine(kDeletingFileLine, {file}));
        if (std::remove(file.c_str()) != 0) {
            Protocol(FormatLine(kCannotDeleteFileLine, {file}));
            deleteFailed = true;
        }
    }
    bool directoryFailed = false;
    if (deleteFailed) {
        Protocol(kFilesRemainLine);
        prompter_.Warning(FormatLine(kFilesRemainWarning, {projectDir}));
    } else if (::rmdir(projectDir.c_str()) == 0) {
        Protocol(kProjectDeletedLine);
    } else {
        Protocol(kCannotDeleteDirectoryLine);
        directoryFailed = true;
    }
    return indexFailed || deleteFailed || directoryFailed ? ActionResult::kDoneWithFailures
                                                          : ActionResult::kDone;
}

bool MainActions::GetMatchingDescription() {
    Settings settings;
    LoadConfig(settings, fields_.options.configFile, nullptr);
    ReadControls();
    CZTStringArray records;
    Reporter reporter;
    if (ReadMasterIndex(settings, reporter, MasterIndexPath(), records).value_or(0) == 0) {
        return false;
    }
    for (const std::string& record : records) {
        std::vector<std::string> fields = MasterRecordFields(record);
        if (fields[0] == fields_.projectName) {
            fields_.projectDesc = fields.size() > 2 ? fields[2] : std::string();
            WriteControls();
            return true;
        }
    }
    return false;
}

bool MainActions::Choose(std::string& field, Prompter::FileChoice kind, bool htmlFilter,
                         bool inOutputPath) {
    ReadControls();
    std::optional<std::string> chosen =
        prompter_.ChooseFile(kind, inOutputPath ? MasterIndexPath() : field, htmlFilter);
    if (!chosen) {
        return false;
    }
    field = inOutputPath ? CZTString(*chosen).GetFilename() : *chosen;
    WriteControls();
    return true;
}

bool MainActions::ChooseScanPath() {
    return Choose(fields_.scanPath, Prompter::FileChoice::kFolder, false);
}

bool MainActions::ChooseOutputPath() {
    return Choose(fields_.outputPath, Prompter::FileChoice::kFolder, false);
}

bool MainActions::ChooseMasterIndex() {
    // A master index name with a path would be refused by the run.
    return Choose(fields_.masterIndexName, Prompter::FileChoice::kFileToWrite, true, true);
}

bool MainActions::ChooseForeignHtml() {
    return Choose(fields_.foreignHtml, Prompter::FileChoice::kExistingFile, true);
}

void MainActions::ShowMasterIndex() {
    ReadControls();
    if (std::optional<std::string> failure = prompter_.OpenDocument(MasterIndexPath())) {
        prompter_.Warning(*failure);
    }
}

void LoadRunSettings(Settings& settings, const MainFields& fields, CZTListBox* configProtocol,
                     Reporter* warnings) {
    LoadConfig(settings, fields.options.configFile, configProtocol, warnings);
    for (const auto& [id, value] : fields.settingOverrides) {
        settings.Set(id, value);
    }
    if (!fields.options.commentStyle.empty()) {
        settings.Set(SYL_COMMENT_STYLE, fields.options.commentStyle);
    }
}

std::vector<ProjectRow> ReadProjectRows(const std::string& configFile,
                                        const std::string& outputPath,
                                        const std::string& masterIndexName) {
    Settings settings;
    LoadConfig(settings, configFile, nullptr);
    CZTStringArray records;
    Reporter reporter;
    (void)ReadMasterIndex(settings, reporter, sylva::MasterIndexPath(outputPath, masterIndexName),
                          records);
    std::vector<ProjectRow> rows;
    for (const std::string& record : records) {
        rows.push_back({MasterRecordFields(record, kRecordColumnSeparators)});
    }
    return rows;
}

}  // namespace sylva
