// Reporter: where one action's stages tell what they do and what went wrong: protocol lines,
// failures that leave the output incomplete, warnings about the documented sources, and the
// progress dialog's status and running position. It counts failures and warnings, which decide
// batch mode's exit status.
//
// Every sink may be absent (batch mode has no protocol list; tests often have no progress
// dialog); the counts are kept all the same. A reporter is used from one thread: stages that work
// on several threads report from the calling thread, in order.
#pragma once

#include <string_view>

#include "support/diagnostic_sink.h"
#include "support/protocol.h"
#include "support/report_log.h"

namespace sylva {

class Reporter {
  public:
    // None of the sinks is owned; each must outlive the reporter.
    explicit Reporter(CZTListBox* protocol = nullptr, CZTProgressDlg* progress = nullptr,
                      DiagnosticSink* diagnostics = nullptr)
        : protocol_(protocol), progress_(progress), diagnostics_(diagnostics) {}

    // A protocol line; dropped when there is no protocol list.
    void Protocol(std::string_view line) const;
    // A protocol line for a failure that makes the run incomplete (a page, an index or the master
    // index not written, the scan path not read); counted.
    void Failure(std::string_view line);
    // A warning about line `line` of the source `file`: counted, then handed to the diagnostic
    // sink, or, when there is none, added as the protocol line "    WARNING: <file>:<line>:
    // <text>".
    void Warning(std::string_view file, int line, std::string_view text);
    // The same for a warning whose kind (and perhaps entity) is known.
    void Warning(std::string_view file, int line, const WarningMessage& message);
    // The progress dialog's status text.
    void Status(std::string_view text) const;
    // Hands the running position to the progress dialog, then adds 1 to it.
    void Advance();

    int failureCount() const { return failureCount_; }
    int warningCount() const { return warningCount_; }
    int progressPos() const { return progressPos_; }
    // True when warnings go to a sink of their own, which then sums them up itself.
    bool hasDiagnosticSink() const { return diagnostics_ != nullptr; }

    // From now on every event is also added to `log` (none: no longer), so that a later run can
    // tell it again without doing the work. The log must outlive its use here.
    void Tap(ReportTap* log) { tap_ = log; }
    // The same for a second, independent tap: a run keeps all it tells while the scan taps what
    // reading one file tells.
    void Keep(ReportTap* keeper) { keeper_ = keeper; }

  private:
    // The line to the protocol list alone, not to the taps.
    void AddLine(std::string_view line) const;
    // Calls tell(tap) for each tap there is.
    template <class Tell>
    void TellTaps(const Tell& tell) const {
        for (ReportTap* tap : {tap_, keeper_}) {
            if (tap != nullptr) {
                tell(*tap);
            }
        }
    }

    CZTListBox* protocol_;
    CZTProgressDlg* progress_;
    DiagnosticSink* diagnostics_;
    ReportTap* tap_ = nullptr;
    ReportTap* keeper_ = nullptr;
    int failureCount_ = 0;
    int warningCount_ = 0;
    int progressPos_ = 0;
};

}  // namespace sylva
