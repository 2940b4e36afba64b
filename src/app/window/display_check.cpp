#include "app/window/display_check.h"

#include <cstdlib>

namespace sylva {

namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

}  // namespace

bool DisplayAvailable(const char* qpaPlatform, const char* x11Display, const char* waylandDisplay) {
    return IsSet(qpaPlatform) || IsSet(x11Display) || IsSet(waylandDisplay);
}

bool DisplayAvailable() {
    return DisplayAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                            std::getenv("WAYLAND_DISPLAY"));
}

}  // namespace sylva
