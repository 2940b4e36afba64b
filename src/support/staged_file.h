// A file for machines written as it is produced, never seen half written: the bytes go to a
// temporary file beside it, which takes the file's name only when everything was written. Such
// files (diagnostics, the model, coverage) are named by the user, so a folder or a symbolic link
// at the name is refused, never written through.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "support/status.h"

namespace sylva {

// Why a file for machines cannot be written at `path`, which is never written through: "it is a
// folder" or "it is a symbolic link ..."; empty when it can be tried (no file or a regular one).
std::string OutputTargetProblem(const std::string& path);

class StagedFile {
  public:
    // Opens a temporary file beside `path`; a failure shows in Commit.
    explicit StagedFile(std::string path);
    // Removes the temporary file unless it was committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // False once opening or writing failed: what is appended then is dropped.
    bool ok() const { return out_ != nullptr && status_.ok(); }
    void Append(std::string_view bytes);
    // Puts the file in place. REQUIRES: called once. Fails when it could not be opened, written
    // or renamed (a folder or link put at the name meanwhile, a full disk); the file at the name
    // is then as it was and no temporary file is left.
    Status Commit();

  private:
    std::string path_;
    std::string temporary_;
    std::FILE* out_ = nullptr;
    Status status_ = Status::Ok();
};

}  // namespace sylva
