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

// An output file too large to be assembled in memory first: written through a buffer, with the
// outcome known once it is closed.
class BufferedOutputFile {
  public:
    BufferedOutputFile() = default;
    BufferedOutputFile(const BufferedOutputFile&) = delete;
    BufferedOutputFile& operator=(const BufferedOutputFile&) = delete;
    // Closes the file without telling how writing went.
    ~BufferedOutputFile();

    // Creates or truncates `path` as WriteWholeFile does; OpenFailed when it cannot.
    Status Open(const std::string& path);
    // Appends `text`; nothing happens unless the file is open. A failed write is remembered and
    // the rest is dropped.
    void Append(std::string_view text);
    // Writes what is buffered and closes the file; the first failure of writing or closing, or
    // the failure of Open.
    Status Close();

  private:
    void Flush();

    int fd_ = -1;
    std::string buffer_;
    Status status_ = Status::OpenFailed("not opened");
};

// Writes all of `content` to the open descriptor `fd`, retrying short writes and interruptions;
// WriteFailed with the reason when the system refuses a byte. The descriptor stays open.
Status WriteAll(int fd, std::string_view content);

}  // namespace sylva
