// Starting from a Doxyfile: the one -DOXYFILE names, else the one the configuration file's
// SYL_DOXYFILE names, fills the fields as the command line would; the options given beside it
// are applied after it and win.
#pragma once

#include "app/command_line.h"
#include "app/main_fields.h"

namespace sylva {

// Fills `fields` from the Doxyfile `values` (or the configuration) names, telling its warnings
// and the keys Sylva does not use on the terminal; false, with the reasons on standard error,
// when it cannot be read or names no input that exists. True, with nothing changed, when no
// Doxyfile is named. A Doxyfile's WARN_AS_ERROR sets `values.warningsAreErrors`.
bool ApplyDoxyfile(MainFields& fields, StartValues& values);

// The Doxyfile a start with `values` reads over `fields`: the one -DOXYFILE names, else the
// configuration's SYL_DOXYFILE; empty when there is none.
std::string DoxyfilePath(const MainFields& fields, const StartValues& values);

}  // namespace sylva
