// The stand-in for the window in a build without Qt.
#include <cstdio>

#include "app/batch.h"
#include "app/window_entry.h"

namespace sylva {

int RunWindow(int, char**, MainFields&) {
    std::fputs(
        "sylva: this build has no window; use -FORCE to generate in batch mode (see --help)\n",
        stderr);
    return kExitNotRun;
}

}  // namespace sylva
