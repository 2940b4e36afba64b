// The manual page sylva(1), in the man macros of roff, written from the same option table as
// --help (command_line.h), so that the two cannot drift apart.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace sylva {

// The whole page. `themesDirectory` is where the themes are installed and `themeFiles` the file
// names of the themes there, listed under FILES.
std::string ManPage(std::string_view themesDirectory, std::span<const std::string> themeFiles);

}  // namespace sylva
