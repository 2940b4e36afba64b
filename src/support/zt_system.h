// CZTSystem: the few file system questions and actions a run needs.
#pragma once

#include <string>

namespace sylva {

class CZTSystem {
  public:
    // True when the file or directory exists (a dangling symbolic link does not).
    static bool FileExist(const std::string& path);

    // Creates every missing directory of the directory part of `filePath` (the part before its
    // last '/'); the file itself is not created. Returns true when that directory exists after.
    static bool EnsurePath(const std::string& filePath);

    // The directory that holds the entry `path` names, in a form that can be opened: the part up
    // to and including its last '/', or "." when it has none.
    static std::string DirectoryOf(const std::string& path);
};

}  // namespace sylva
