#include "app/batch.h"

#include <filesystem>
#include <system_error>

#include "app/main_actions.h"
#include "app/terminal_output.h"
#include "app/terminal_prompter.h"
#include "support/line_reader.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kSummary = "sylva: %s";
constexpr std::string_view kUnreadableConfig = "sylva: cannot read configuration file %s: %s";
constexpr std::string_view kSummaryAsErrors = "sylva: %s, treated as errors (-WERROR)";

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

}  // namespace

void ApplyStartValues(MainFields& fields, const StartValues& values) {
    const std::pair<const std::string&, std::string&> assignments[] = {
        {values.project, fields.projectName},
        {values.description, fields.projectDesc},
        {values.scanPath, fields.scanPath},
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
    fields.cache.rebuild = fields.cache.rebuild || values.rebuild;
    // The scan compares upper-cased extensions with the filter, as the window's field keeps it.
    if (!values.filter.empty()) {
        fields.filter = CZTString(values.filter).MakeUpper();
    }
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
    TerminalProtocol runProtocol(switches.verbose, true);
    // The standard configuration file is usually absent and the defaults serve: its lines are
    // shown only when asked for.
    TerminalProtocol configProtocol(switches.verbose, false);
    TerminalDiagnostics diagnostics;
    MainActions actions(fields, prompter, nullptr, nullptr);
    ActionResult result = actions.CreateBatch(
        &runProtocol, switches.verbose ? &configProtocol : nullptr, &diagnostics);
    if (result == ActionResult::kNotRun) {
        return kExitNotRun;
    }
    const int warnings = actions.WarningCount();
    if (warnings > 0) {
        WriteTerminalLine(stderr,
                          FormatLine(switches.warningsAreErrors ? kSummaryAsErrors : kSummary,
                                     {WarningSummary(warnings)}));
    }
    if (result == ActionResult::kDoneWithFailures || (switches.warningsAreErrors && warnings > 0)) {
        return kExitFailures;
    }
    return kExitOk;
}

}  // namespace sylva
