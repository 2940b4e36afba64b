#include "app/batch.h"

#include "app/main_actions.h"
#include "app/terminal_output.h"
#include "app/terminal_prompter.h"

namespace sylva {

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

int RunBatchGeneration(MainFields& fields, bool verbose) {
    TerminalPrompter prompter;
    TerminalProtocol runProtocol(verbose, true);
    // The standard configuration file is usually absent and the defaults serve: its lines are
    // shown only when asked for.
    TerminalProtocol configProtocol(verbose, false);
    MainActions actions(fields, prompter, nullptr, nullptr);
    switch (actions.CreateBatch(&runProtocol, verbose ? &configProtocol : nullptr)) {
        case ActionResult::kDone:
            return kExitOk;
        case ActionResult::kDoneWithFailures:
            return kExitFailures;
        case ActionResult::kNotRun:
            break;
    }
    return kExitNotRun;
}

}  // namespace sylva
