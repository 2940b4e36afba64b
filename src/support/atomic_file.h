// Replacing a file so that it is never seen, nor left, half written: the new content goes to a
// temporary file in the same directory, is flushed to the disk, and is then renamed over the old
// file in one step. Used for the master index, the one record of every project of an output
// directory.
#pragma once

#include <string>
#include <string_view>

#include "support/status.h"

namespace sylva {

// Replaces the file at `path` by `content`. A symbolic link at `path` is never followed: it is
// replaced itself, and the file it names stays untouched. An existing file keeps its permission
// bits; a new one gets those of any created file (0666 less the umask).
//
// The temporary file is named "<path>.tmp.<process id>.<count>". OpenFailed when it cannot be
// created (a missing or read-only directory); WriteFailed when writing, flushing or renaming fails
// (a full disk). On any failure the file at `path` is exactly as it was and no temporary file is
// left behind; only a process killed while it replaces `path` leaves its temporary file.
Status ReplaceFileAtomically(const std::string& path, std::string_view content);

// A name for a temporary file beside `path` that no other writer (thread or process) uses, of the
// form RemoveAbandonedTemporaries clears away once its writer is gone.
std::string UniqueTemporaryPath(const std::string& path);

// Removes the temporary files that processes no longer running left beside `path` when they were
// killed during ReplaceFileAtomically. Those of running processes stay, as does every other file.
// REQUIRES: the caller holds the FileLock of `path`, so that no writer on another machine that
// shares the directory (whose process ids mean nothing here) is replacing it meanwhile.
void RemoveAbandonedTemporaries(const std::string& path);

}  // namespace sylva
