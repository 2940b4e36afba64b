// Replacing a file so that it is never seen, nor left, half written: the new content goes to a
// temporary file in the same directory, is flushed to the disk, and is then renamed over the old
// file in one step. Used for the master index, the one record of every project of an output
// directory.
#pragma once

#include <string>
#include <string_view>

#include "support/status.h"

namespace sylva {

// Replaces the file at `path` by `content`. A symbolic link at `path` is followed, so the file it
// names is replaced and the link stays. An existing file keeps its permission bits; a new one gets
// those of any created file (0666 less the umask).
//
// OpenFailed when the temporary file cannot be created (a missing or read-only directory);
// WriteFailed when writing, flushing or renaming fails (a full disk). On any failure the file at
// `path` is exactly as it was and no temporary file is left behind.
Status ReplaceFileAtomically(const std::string& path, std::string_view content);

}  // namespace sylva
