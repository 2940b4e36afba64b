// Starting Sylva: the start values reach the main window's fields, then either one batch
// generation runs or the window opens.
#pragma once

#include <optional>

#include "app/command_line.h"
#include "app/main_fields.h"

namespace sylva {

// Exit statuses of `sylva`.
inline constexpr int kExitOk = 0;        // generated and wrote everything
inline constexpr int kExitFailures = 1;  // generated, but something could not be read or written,
                                         // or warnings were given under -WERROR
inline constexpr int kExitNotRun = 2;    // refused: a check, an answer, a name or an argument

// Every start value that is not empty replaces its field.
void ApplyStartValues(MainFields& fields, const StartValues& values);

// The fields a start with `values` gives: the initial ones, the Doxyfile's over them (which may
// set `values.warningsAreErrors`), then the start values; none, with the reasons told, when the
// Doxyfile cannot be used.
std::optional<MainFields> StartFields(StartValues& values);

// Runs Create in its batch form on `fields` with the terminal as prompter, protocol, progress and
// warning sink. When standard error is a terminal the run ends with one line: items, files
// written, warnings and the page to open; otherwise with a summary line when warnings were given.
// Returns the exit status; with `switches.warningsAreErrors` a complete run that gave warnings
// ends with kExitFailures. `switches.verbose` prints every protocol line. A configuration file
// named by `switches.configFile` that cannot be read is refused before anything runs
// (kExitNotRun, with the reason on standard error).
int RunBatchGeneration(MainFields& fields, const StartValues& switches);

}  // namespace sylva
