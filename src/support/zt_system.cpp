#include "support/zt_system.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace sylva {

bool CZTSystem::FileExist(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool CZTSystem::EnsurePath(const std::string& filePath) {
    std::size_t slash = filePath.rfind('/');
    if (slash == std::string::npos) {
        return true;
    }
    std::string directory = filePath.substr(0, slash);
    if (directory.empty()) {
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    return std::filesystem::is_directory(directory, error);
}

std::string CZTSystem::DirectoryOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace sylva
