#include "app/batch.h"

#include "app/main_actions.h"
#include "app/terminal_output.h"
#include "app/terminal_prompter.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kSummary = "sylva: %s";
constexpr std::string_view kSummaryAsErrors = "sylva: %s, treated as errors (-WERROR)";

}  // namespace

void ApplyStartValues(MainFields& fields, const StartValues& values) {
    const std::pair<const std::string&, std::string&> assignments[] = {
        {values.project, fields.projectName},
        {values.description, fields.projectDesc},
        {values.scanPath, fields.scanPath},
        {values.outputPath, fields.outputPath},
    };
    for (const auto& [value, field] : assignments) {
        if (!value.empty()) {
            field = value;
        }
    }
}

int RunBatchGeneration(MainFields& fields, const StartValues& switches) {
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
