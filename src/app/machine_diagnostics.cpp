#include "app/machine_diagnostics.h"

#include "support/atomic_file.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kBaselineRefused =
    "sylva: cannot use the baseline %s: %s; nothing is counted against it (write it anew with "
    "-BASELINE-UPDATE)";
constexpr std::string_view kLogNotWritten = "sylva: ERROR: diagnostics file %s not written: %s";
constexpr std::string_view kBaselineNotWritten = "sylva: ERROR: baseline %s not written: %s";
constexpr std::string_view kBaselineWritten = "sylva: baseline %s written with %s";
constexpr std::string_view kBaselineCompared =
    "sylva: %s not in the baseline %s; %s of its warnings gone";
constexpr std::string_view kNoWarnings = "no warnings";

std::string Warnings(int count) {
    return count == 0 ? std::string(kNoWarnings)
                      : std::to_string(count) + (count == 1 ? " warning" : " warnings");
}

}  // namespace

std::unique_ptr<MachineDiagnostics> MachineDiagnostics::Prepare(const StartValues& switches,
                                                                std::string project,
                                                                DiagnosticSink& terminal,
                                                                std::string& refusal) {
    std::unique_ptr<MachineDiagnostics> machine(new MachineDiagnostics());
    machine->project_ = std::move(project);
    machine->front_ = &terminal;
    const std::string base = DiagnosticsBase(switches.diagnosticsBase);
    if (!switches.baselineFile.empty()) {
        machine->baselinePath_ = switches.baselineFile;
        if (!switches.baselineUpdate) {
            std::string problem;
            machine->baseline_ =
                WarningBaseline::Read(switches.baselineFile, machine->project_, problem);
            if (!problem.empty()) {
                refusal = FormatLine(kBaselineRefused, {switches.baselineFile, problem});
                return nullptr;
            }
        }
        machine->writeBaseline_ = !machine->baseline_.has_value();
        machine->recorder_ = std::make_unique<BaselineRecorder>(
            base, machine->baseline_ ? &*machine->baseline_ : nullptr, machine->front_);
        machine->front_ = machine->recorder_.get();
    }
    if (!switches.diagnosticsFile.empty()) {
        const DiagnosticFormat format = switches.diagnosticsFormat.empty()
                                            ? DiagnosticFormatOf(switches.diagnosticsFile)
                                            : ParseDiagnosticFormat(switches.diagnosticsFormat)
                                                  .value_or(DiagnosticFormat::kSarif);
        machine->diagnosticsPath_ = switches.diagnosticsFile;
        machine->log_ = std::make_unique<DiagnosticLog>(switches.diagnosticsFile, format, base,
                                                        SYLVA_VERSION, machine->front_);
        machine->front_ = machine->log_.get();
    }
    return machine;
}

MachineDiagnostics::Outcome MachineDiagnostics::Finish(int warnings) {
    Outcome outcome;
    outcome.countedWarnings = warnings;
    if (log_ != nullptr) {
        if (Status written = log_->Finish(); !written.ok()) {
            outcome.failed = true;
            outcome.lines.push_back(
                FormatLine(kLogNotWritten, {diagnosticsPath_, written.reason()}));
        }
    }
    if (recorder_ == nullptr) {
        return outcome;
    }
    if (baseline_) {
        outcome.countedWarnings = recorder_->newWarnings();
        outcome.lines.push_back(
            FormatLine(kBaselineCompared, {Warnings(recorder_->newWarnings()), baselinePath_,
                                           std::to_string(baseline_->Gone())}));
        return outcome;
    }
    // A baseline written now holds every warning of the run: none of them is new.
    outcome.countedWarnings = 0;
    Status written = Status::Ok();
    if (std::string problem = OutputTargetProblem(baselinePath_); !problem.empty()) {
        written = Status::OpenFailed(std::move(problem));
    } else {
        written = ReplaceFileAtomically(baselinePath_,
                                        WarningBaseline::Document(project_, recorder_->counts()));
    }
    if (!written.ok()) {
        outcome.failed = true;
        outcome.lines.push_back(FormatLine(kBaselineNotWritten, {baselinePath_, written.reason()}));
    } else {
        outcome.lines.push_back(FormatLine(kBaselineWritten, {baselinePath_, Warnings(warnings)}));
    }
    return outcome;
}

}  // namespace sylva
