// Whether the window can hope to open: Qt aborts the process when it finds no display, so the
// program asks before it creates the application object.
#pragma once

namespace sylva {

// True when Qt's platform is named explicitly (`qpaPlatform`, as in QT_QPA_PLATFORM) or an X or
// Wayland display is given; each argument is the variable's value or none.
bool DisplayAvailable(const char* qpaPlatform, const char* x11Display, const char* waylandDisplay);

// The same for this process's environment.
bool DisplayAvailable();

}  // namespace sylva
