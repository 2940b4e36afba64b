// DiagnosticSink: where warnings about the documented sources go, each pointing at the file and
// line that a user should fix.
//
// A run hands every warning to its sink when it has one (batch mode prints them in the
// compiler form "path:line: warning: text", which editors and CI logs can jump to); without a sink
// the warnings become protocol lines instead (the window).
#pragma once

#include <string>
#include <string_view>

#include "support/warning_kind.h"

namespace sylva {

class DiagnosticSink {
  public:
    virtual ~DiagnosticSink() = default;

    // One warning about line `line` (1-based) of `file`, as the scan opened it. `text` is one line.
    virtual void Warning(std::string_view file, int line, std::string_view text) = 0;
    // The same warning with its kind and entity; a sink that shows only the line need not care.
    virtual void WarningOfKind(std::string_view file, int line, const WarningMessage& message) {
        Warning(file, line, message.text);
    }
    // A protocol line for a failure that makes the run incomplete ("ERROR: ..."); a sink that
    // records the whole run's diagnostics keeps it, the others leave it to the protocol.
    virtual void Error(std::string_view /*line*/) {}
};

// "1 warning given" or "<count> warnings given": the heart of a run's closing summary line.
std::string WarningSummary(int count);

}  // namespace sylva
