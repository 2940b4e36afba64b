// Starting Sylva: the start values reach the main window's fields, then either one batch
// generation runs or the window opens.
#pragma once

#include "app/command_line.h"
#include "app/main_fields.h"

namespace sylva {

// Exit statuses of `sylva`.
inline constexpr int kExitOk = 0;        // generated and wrote everything
inline constexpr int kExitFailures = 1;  // generated, but something could not be read or written
inline constexpr int kExitNotRun = 2;    // refused: a check, an answer, a name or an argument

// Every start value that is not empty replaces its field.
void ApplyStartValues(MainFields& fields, const StartValues& values);

// Runs Create in its batch form on `fields` with the terminal as prompter, protocol and
// progress; returns the exit status.
int RunBatchGeneration(MainFields& fields, bool verbose);

}  // namespace sylva
