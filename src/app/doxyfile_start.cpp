#include "app/doxyfile_start.h"

#include "app/terminal_output.h"
#include "engine/doxyfile_run.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kProblemLine = "sylva: %s: %s:%s: %s";
constexpr std::string_view kFileProblemLine = "sylva: %s: %s: %s";
constexpr std::string_view kRunProblemLine = "sylva: %s: Doxyfile %s: %s";
constexpr std::string_view kUnusedLine = "Doxyfile keys Sylva does not use: %s.";
constexpr std::string_view kError = "ERROR";
constexpr std::string_view kWarning = "WARNING";

void TellProblems(const std::vector<DoxyfileProblem>& problems, std::string_view kind) {
    for (const DoxyfileProblem& problem : problems) {
        WriteTerminalLine(
            stderr, problem.line == 0
                        ? FormatLine(kFileProblemLine, {kind, problem.file, problem.text})
                        : FormatLine(kProblemLine, {kind, problem.file,
                                                    std::to_string(problem.line), problem.text}));
    }
}

}  // namespace

std::string DoxyfilePath(const MainFields& fields, const StartValues& values) {
    if (!values.doxyfile.empty()) {
        return values.doxyfile;
    }
    Settings settings;
    LoadConfig(settings, values.configFile.empty() ? fields.options.configFile : values.configFile,
               nullptr);
    return settings[SYL_DOXYFILE];
}

bool ApplyDoxyfile(MainFields& fields, StartValues& values) {
    const std::string path = DoxyfilePath(fields, values);
    if (path.empty()) {
        return true;
    }
    const Doxyfile doxyfile = ReadDoxyfile(path);
    TellProblems(doxyfile.warnings, kWarning);
    if (!doxyfile.errors.empty()) {
        TellProblems(doxyfile.errors, kError);
        return false;
    }
    DoxyfileRun run = MapDoxyfile(doxyfile);
    for (const std::string& warning : run.warnings) {
        WriteTerminalLine(stderr, FormatLine(kRunProblemLine, {kWarning, path, warning}));
    }
    if (!run.errors.empty()) {
        for (const std::string& error : run.errors) {
            WriteTerminalLine(stderr, FormatLine(kRunProblemLine, {kError, path, error}));
        }
        return false;
    }
    if (!run.unusedKeys.empty()) {
        std::string keys;
        for (const std::string& key : run.unusedKeys) {
            keys.append(keys.empty() ? "" : ", ").append(key);
        }
        WriteTerminalLine(stdout, FormatLine(kUnusedLine, {keys}));
    }
    fields.projectName = run.projectName;
    fields.projectDesc = run.projectDesc;
    fields.outputPath = run.outputPath;
    fields.scanPath = run.inputs.front();
    fields.options.includeSubdirs = run.recursive ? 1 : 0;
    fields.typePrivate = run.extractPrivate ? 1 : fields.typePrivate;
    fields.settingOverrides = std::move(run.settings);
    fields.settingOverrides.emplace_back(SYL_SCAN_PATHS,
                                         JoinSettingList(std::span(run.inputs).subspan(1)));
    values.warningsAreErrors = values.warningsAreErrors || run.warningsAreErrors;
    return true;
}

}  // namespace sylva
