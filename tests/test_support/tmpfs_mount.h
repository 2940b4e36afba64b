// Test helper: a small file system in memory mounted on a directory, for tests of a full or a
// read-only disk. Only root may mount; where mounting fails, mounted() is false and the test
// takes another way or skips.
#pragma once

#include <cstddef>
#include <string>

namespace sylva::test {

class TmpfsMount {
  public:
    // Mounts a file system of `bytes` on the existing, empty `directory`.
    TmpfsMount(const std::string& directory, std::size_t bytes);
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    // Unmounts lazily, so that no mount is left behind even when a file on it is still open.
    ~TmpfsMount();

    bool mounted() const { return mounted_; }
    // Makes the mounted file system read-only; false when that fails.
    bool MakeReadOnly();

  private:
    std::string directory_;
    std::string sizeOption_;
    bool mounted_ = false;
};

}  // namespace sylva::test
