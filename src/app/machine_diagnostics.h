// What a batch run writes for machines besides its terminal lines: the file of its diagnostics
// (-DIAGNOSTICS) and the baseline of accepted warnings (-BASELINE), both standing between the run
// and the terminal's warning sink.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "support/diagnostic_log.h"
#include "support/warning_baseline.h"

namespace sylva {

class MachineDiagnostics {
  public:
    // What the run's end decides: the warnings that count for -WERROR, whether a file could not
    // be written (exit status 1), and the lines to print on standard error.
    struct Outcome {
        int countedWarnings = 0;
        bool failed = false;
        std::vector<std::string> lines;
    };

    // Prepares the files `switches` names for a run of `project` whose warnings go on to
    // `terminal`. Nothing, with the reason in `refusal`, when the baseline cannot be used: the run
    // must not start, so that no warning is counted against a baseline that was not read.
    static std::unique_ptr<MachineDiagnostics> Prepare(const StartValues& switches,
                                                       std::string project,
                                                       DiagnosticSink& terminal,
                                                       std::string& refusal);

    // Where the run reports its warnings and errors.
    DiagnosticSink& sink() { return *front_; }

    // After the run that gave `warnings` warnings: finishes the files. REQUIRES: called once.
    Outcome Finish(int warnings);

  private:
    MachineDiagnostics() = default;

    std::string project_;
    std::string diagnosticsPath_;
    std::string baselinePath_;
    bool writeBaseline_ = false;
    std::optional<WarningBaseline> baseline_;
    std::unique_ptr<BaselineRecorder> recorder_;
    std::unique_ptr<DiagnosticLog> log_;
    DiagnosticSink* front_ = nullptr;
};

}  // namespace sylva
