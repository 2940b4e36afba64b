// The marker tests of the file scan: which lines open and close a documentation block.
#pragma once

#include <string_view>

#include "scan/settings.h"

namespace sylva {

// True when the first five characters of `line` stand anywhere in the start-marker list.
bool IsBlockStart(const Settings& settings, std::string_view line);
// True when the last five characters of `line` stand anywhere in the end-marker list.
bool IsBlockEnd(const Settings& settings, std::string_view line);

}  // namespace sylva
