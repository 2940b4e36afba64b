// Test helpers: a scratch directory that removes itself, and a scoped change of directory.
#pragma once

#include <string>
#include <string_view>

namespace sylva::test {

// A fresh directory below $TMPDIR (or /tmp), removed with everything in it at destruction.
class ScratchDir {
  public:
    ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir();

    const std::string& path() const { return path_; }
    // The path of `relative` inside the directory.
    std::string File(std::string_view relative) const;
    // Writes `content` to `relative`, creating the directories on the way; returns its path.
    std::string Write(std::string_view relative, std::string_view content) const;
    std::string Read(std::string_view relative) const;

  private:
    std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Changes the current directory for its lifetime.
class CurrentDirectory {
  public:
    explicit CurrentDirectory(const std::string& path);
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    ~CurrentDirectory();

  private:
    std::string previous_;
};

}  // namespace sylva::test
