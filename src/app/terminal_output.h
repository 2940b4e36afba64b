// Batch mode's stand-ins for the window's protocol list and progress dialog, and its sink for
// warnings about the sources.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "support/diagnostic_sink.h"
#include "support/protocol.h"

namespace sylva {

// Writes `text` and a line end to `stream`. On a terminal, control bytes are shown as '?' so
// that names read from a hostile tree cannot drive the terminal.
void WriteTerminalLine(std::FILE* stream, std::string_view text);

// The protocol in a terminal: lines holding "ERROR:" or "WARNING:" go to standard error, so that
// failures never pass silently; with `verbose` every line also goes to standard output.
class TerminalProtocol : public CZTListBox {
  public:
    // `failuresToStderr` false: only the verbose copy is printed (for the configuration load,
    // whose missing standard file is the normal case).
    TerminalProtocol(bool verbose, bool failuresToStderr);

    void AddSelString(std::string_view line, int select = 1, int maxLines = 1000) override;
    void ResetContent() override {}

  private:
    bool verbose_;
    bool failuresToStderr_;
};

// Warnings on standard error in the compiler form "path:line: warning: text", one line each.
class TerminalDiagnostics : public DiagnosticSink {
  public:
    void Warning(std::string_view file, int line, std::string_view text) override;
};

// True when `stream` is a terminal.
bool IsTerminal(std::FILE* stream);

// The progress dialog as one self-overwriting status line on standard error, drawn only when
// standard error is a terminal and at most every few milliseconds, so that a large run does not
// spend its time painting. The line counts the source files read and the description pages
// written so far, told apart by the statuses the run sets for each ("12 files scanned, 30 pages
// written: Generate html description file X...").
class TerminalProgress : public CZTProgressDlg {
  public:
    TerminalProgress();
    ~TerminalProgress() override;

    void SetTitle(std::string_view) override {}
    void SetRange(int, int) override {}
    void ShowPercent(bool) override {}
    void SetStep(int) override {}
    void SetStatus(std::string_view text) override;
    // The position only redraws: the counts tell a reader more than the running event number.
    void SetPos(int pos) override;

  private:
    void Draw();

    bool enabled_;
    std::string status_;
    int filesScanned_ = 0;
    int pagesWritten_ = 0;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace sylva
