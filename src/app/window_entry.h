// Opening the main window: implemented by the Qt window, or by a stand-in when Sylva is built
// without it.
#pragma once

#include "app/main_fields.h"

namespace sylva {

// Shows the main window with `fields` until the user closes it; returns the exit status. When no
// display can be opened it says so on standard error, suggests -FORCE and returns 2.
int RunWindow(int argc, char** argv, MainFields& fields);

}  // namespace sylva
