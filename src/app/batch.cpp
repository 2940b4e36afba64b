#include "app/batch.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <system_error>
#include <variant>

#include "app/doxyfile_start.h"
#include "app/inotify_source.h"
#include "app/machine_diagnostics.h"
#include "app/main_actions.h"
#include "app/project_outputs.h"
#include "app/terminal_output.h"
#include "app/terminal_prompter.h"
#include "app/watch.h"
#include "app/watch_inputs.h"
#include "html/html.h"
#include "scan/scan.h"
#include "support/line_reader.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kSummary = "sylva: %s";
constexpr std::string_view kUnreadableConfig = "sylva: cannot read configuration file %s: %s";
constexpr std::string_view kSummaryAsErrors = "sylva: %s, treated as errors (-WERROR)";
constexpr std::string_view kWatchingLine = "Watching %s for changes; Ctrl-C ends.";
constexpr std::string_view kRootSeparator = ", ";
constexpr std::string_view kClosingLine = "sylva: %s, %s, %s%s; open %s";
constexpr std::string_view kNoWarnings = "no warnings";
constexpr std::string_view kAsErrors = ", treated as errors (-WERROR)";

std::string Counted(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The line that ends a run on a terminal: what it documented and wrote, its warnings, and the
// page to open (the project's frame set).
std::string ClosingLine(const MainFields& fields, const RunSummary& summary, int warnings,
                        bool warningsAreErrors) {
    std::variant<Project, ProjectRefusal> project =
        MakeProject(fields.projectName, "", fields.outputPath, fields.masterIndexName);
    const std::string page = std::holds_alternative<Project>(project)
                                 ? std::get<Project>(project).framePage
                                 : fields.outputPath;
    return FormatLine(kClosingLine,
                      {Counted(summary.items, "item", "items"),
                       Counted(summary.filesWritten, "file written", "files written"),
                       warnings > 0 ? WarningSummary(warnings) : std::string(kNoWarnings),
                       warnings > 0 && warningsAreErrors ? kAsErrors : "", page});
}

// Why the configuration file at `path` cannot be read; empty when it can.
std::string ConfigFileProblem(const std::string& path) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        return error.message();
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "not a regular file";
    }
    return LineReader().Open(path) ? std::string() : "it cannot be opened for reading";
}

// The prompter of a watch's re-runs: the first run's questions were all answered Yes (or there
// would be no watch), so a re-run is not asked again; everything else is the terminal's.
class AgreedPrompter : public Prompter {
  public:
    explicit AgreedPrompter(Prompter& terminal) : terminal_(terminal) {}

    void Warning(std::string_view text) override { terminal_.Warning(text); }
    void Information(std::string_view text) override { terminal_.Information(text); }
    bool Question(std::string_view) override { return true; }
    bool CautiousQuestion(std::string_view) override { return true; }
    std::optional<std::string> ChooseFile(FileChoice kind, std::string_view initial,
                                          bool htmlFilter) override {
        return terminal_.ChooseFile(kind, initial, htmlFilter);
    }
    std::optional<std::string> OpenDocument(std::string_view path) override {
        return terminal_.OpenDocument(path);
    }
    std::unique_ptr<CZTProgressDlg> CreateProgress() override { return terminal_.CreateProgress(); }

  private:
    Prompter& terminal_;
};

// One batch generation with the terminal as protocol, progress and warning sink; returns its exit
// status.
int GenerateOnce(MainFields& fields, const StartValues& switches, Prompter& prompter,
                 RunSummary* summary = nullptr) {
    TerminalProtocol runProtocol(switches.verbose, true);
    // The standard configuration file is usually absent and the defaults serve: its lines are
    // shown only when asked for.
    TerminalProtocol configProtocol(switches.verbose, false);
    TerminalDiagnostics diagnostics;
    std::string refusal;
    std::unique_ptr<MachineDiagnostics> machine =
        MachineDiagnostics::Prepare(switches, fields.projectName, diagnostics, refusal);
    if (machine == nullptr) {
        WriteTerminalLine(stderr, refusal);
        return kExitNotRun;
    }
    MainActions actions(fields, prompter, nullptr, nullptr);
    ProjectOutputs outputs(switches);
    ActionResult result = actions.CreateBatch(
        &runProtocol, switches.verbose ? &configProtocol : nullptr, &machine->sink(), &outputs);
    if (result == ActionResult::kNotRun) {
        return kExitNotRun;
    }
    if (summary != nullptr) {
        *summary = actions.LastRun();
    }
    const int warnings = actions.WarningCount();
    const MachineDiagnostics::Outcome outcome = machine->Finish(warnings);
    const bool asErrors = switches.warningsAreErrors && outcome.countedWarnings > 0;
    if (IsTerminal(stderr)) {
        WriteTerminalLine(
            stderr, ClosingLine(fields, actions.LastRun(), warnings, switches.warningsAreErrors));
    } else if (warnings > 0) {
        WriteTerminalLine(
            stderr, FormatLine(asErrors ? kSummaryAsErrors : kSummary, {WarningSummary(warnings)}));
    }
    for (const std::string& line : outcome.lines) {
        WriteTerminalLine(stderr, line);
    }
    if (!outputs.report().empty()) {
        std::fputs(outputs.report().c_str(), stdout);
        std::fflush(stdout);
    }
    for (const std::string& line : outputs.notices()) {
        WriteTerminalLine(stderr, line);
    }
    for (const std::string& line : outputs.failures()) {
        WriteTerminalLine(stderr, line);
    }
    if (result == ActionResult::kDoneWithFailures || outcome.failed ||
        !outputs.failures().empty() || asErrors) {
        return kExitFailures;
    }
    return kExitOk;
}

bool AnyOf(const std::vector<std::string>& paths,
           const std::function<bool(std::string_view)>& test) {
    return std::any_of(paths.begin(), paths.end(), test);
}

// The first run, then a re-run after each burst of changes to the files the run reads, until
// Ctrl-C. The configuration file or the Doxyfile made, changed or removed starts the fields anew
// from `switches`, as the program's start made them, and follows the scan paths they name now.
int GenerateAndWatch(MainFields& fields, const StartValues& switches, Prompter& prompter) {
    if (fields.scanPath.empty()) {
        return GenerateOnce(fields, switches, prompter);  // which refuses it with its warning
    }
    const auto warn = [](std::string_view line) { WriteTerminalLine(stderr, line); };
    StartValues start = switches;
    WatchInputs inputs(fields, DoxyfilePath(fields, start));
    // Before the first run, so that its threads inherit the blocked signals and a change made
    // while it runs is seen.
    InotifySource source(inputs.Roots(),
                         fields.outputPath + "/" + ProjectDirectoryName(fields.projectName), warn);
    if (!source.ok()) {
        return kExitNotRun;
    }
    TreeChanges changes(source.Files(),
                        [&inputs](std::string_view path) { return inputs.Counts(path); });
    int status = GenerateOnce(fields, switches, prompter);
    if (status == kExitNotRun || source.StopRequested()) {
        return status;
    }
    std::string watched;
    for (const WatchRoot& root : inputs.Roots()) {
        std::error_code error;
        if (!root.optional || std::filesystem::exists(root.path, error)) {
            watched.append(watched.empty() ? "" : kRootSeparator).append(root.path);
        }
    }
    WriteTerminalLine(stdout, FormatLine(kWatchingLine, {watched}));
    AgreedPrompter agreed(prompter);
    const auto settingsFile = [&inputs](std::string_view path) {
        return inputs.IsSettingsFile(path);
    };
    return WatchForChanges(
        source, changes, BurstTiming{},
        [&](const ChangeCount& count) {
            RerunResult rerun;
            if (AnyOf(count.changed, settingsFile) || AnyOf(count.added, settingsFile) ||
                AnyOf(count.removed, settingsFile)) {
                std::optional<MainFields> restarted = StartFields(start);
                if (!restarted) {
                    rerun.status = kExitNotRun;  // told why; the next change may mend it
                    return rerun;
                }
                fields = std::move(*restarted);
                const std::vector<WatchRoot> roots = inputs.Roots();
                inputs = WatchInputs(fields, DoxyfilePath(fields, start));
                if (inputs.Roots() != roots && !source.Rewatch(inputs.Roots())) {
                    rerun.status = kExitNotRun;
                    return rerun;
                }
                changes.Restart(source.Files());
            }
            rerun.status = GenerateOnce(fields, switches, agreed, &rerun.summary);
            return rerun;
        },
        [](std::string_view line) { WriteTerminalLine(stdout, line); }, status);
}

}  // namespace

void ApplyStartValues(MainFields& fields, const StartValues& values) {
    const std::pair<const std::string&, std::string&> assignments[] = {
        {values.project, fields.projectName},
        {values.description, fields.projectDesc},
        {values.outputPath, fields.outputPath},
        {values.configFile, fields.options.configFile},
        {values.commentStyle, fields.options.commentStyle},
    };
    for (const auto& [value, field] : assignments) {
        if (!value.empty()) {
            field = value;
        }
    }
    if (!values.cacheDirectory.empty()) {
        fields.cache.directory = values.cacheDirectory;
    }
    // Scan paths given here replace all others (a Doxyfile's INPUT included); the first is the
    // one the window shows.
    if (!values.scanPaths.empty()) {
        fields.scanPath = values.scanPaths.front();
        fields.settingOverrides.emplace_back(
            SYL_SCAN_PATHS, JoinSettingList(std::span(values.scanPaths).subspan(1)));
    }
    const std::pair<const std::vector<std::string>&, SettingId> lists[] = {
        {values.exclusions, SYL_EXCLUDE},        {values.filePatterns, SYL_FILE_PATTERNS},
        {values.predefined, SYL_PREDEFINED},     {values.imagePaths, SYL_IMAGE_PATH},
        {values.examplePaths, SYL_EXAMPLE_PATH}, {values.examplePatterns, SYL_EXAMPLE_PATTERNS},
    };
    for (const auto& [list, id] : lists) {
        if (!list.empty()) {
            fields.settingOverrides.emplace_back(id, JoinSettingList(list));
        }
    }
    if (!values.mainPage.empty()) {
        fields.settingOverrides.emplace_back(SYL_MAIN_PAGE, values.mainPage);
    }
    if (!values.tagFile.empty()) {
        fields.settingOverrides.emplace_back(SYL_TAG_FILE, values.tagFile);
    }
    if (!values.tagFiles.empty()) {
        std::vector<std::string> sources;
        for (const std::string& entry : values.tagFiles) {
            CZTString bars(entry);
            bars.FindReplace(';', '|');
            for (std::string& source : SplitSettingList(bars)) {
                sources.push_back(std::move(source));
            }
        }
        fields.settingOverrides.emplace_back(SYL_TAG_FILES, JoinSettingList(sources));
    }
    if (!values.aliases.empty()) {
        fields.settingOverrides.emplace_back(SYL_ALIASES, JoinAliasList(values.aliases));
    }
    fields.cache.rebuild = fields.cache.rebuild || values.rebuild;
    // The scan compares upper-cased extensions with the filter, as the window's field keeps it.
    if (!values.filter.empty()) {
        fields.filter = CZTString(values.filter).MakeUpper();
    }
}

std::optional<MainFields> StartFields(StartValues& values) {
    MainFields fields = MainFields::Initial();
    if (!ApplyDoxyfile(fields, values)) {
        return std::nullopt;
    }
    ApplyStartValues(fields, values);
    return fields;
}

int RunBatchGeneration(MainFields& fields, const StartValues& switches) {
    // A file named on purpose that cannot be read would silently give pages in the wrong theme
    // (or with the standard file's settings): refuse to run instead. The standard file's absence
    // stays silent, the defaults serving.
    if (!switches.configFile.empty()) {
        std::string problem = ConfigFileProblem(switches.configFile);
        if (!problem.empty()) {
            WriteTerminalLine(stderr,
                              FormatLine(kUnreadableConfig, {switches.configFile, problem}));
            return kExitNotRun;
        }
    }
    TerminalPrompter prompter;
    return switches.watch ? GenerateAndWatch(fields, switches, prompter)
                          : GenerateOnce(fields, switches, prompter);
}

}  // namespace sylva
