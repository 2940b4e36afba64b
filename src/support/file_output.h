// Writing generated files: every output file is assembled in memory and written whole, so a
// failure is known before the step reports success.
#pragma once

#include <string>
#include <string_view>

#include "support/status.h"

namespace sylva {

// Creates or truncates `path` and writes `content`. OpenFailed when the file cannot be created
// (a missing directory, a directory, a FIFO or a symbolic link in its place, a name too long);
// WriteFailed when writing or closing fails (a full disk). A file that failed to write is left as
// far as it got. A symbolic link is never followed: one planted where a page goes would make the
// page overwrite whatever file it names, anywhere.
Status WriteWholeFile(const std::string& path, std::string_view content);

// Writes all of `content` to the open descriptor `fd`, retrying short writes and interruptions;
// WriteFailed with the reason when the system refuses a byte. The descriptor stays open.
Status WriteAll(int fd, std::string_view content);

}  // namespace sylva
