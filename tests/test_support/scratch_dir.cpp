#include "test_support/scratch_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace sylva::test {

ScratchDir::ScratchDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/sylva-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a scratch directory from " << pattern;
    }
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    // Tests may leave read-only directories behind; make them writable before removing them.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, error);
        }
    }
    std::filesystem::remove_all(path_, error);
}

std::string ScratchDir::File(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

std::string ScratchDir::Write(std::string_view relative, std::string_view content) const {
    std::string file = File(relative);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    EXPECT_TRUE(out.good()) << "cannot write " << file;
    return file;
}

std::string ScratchDir::Read(std::string_view relative) const {
    return ReadFile(File(relative));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

CurrentDirectory::CurrentDirectory(const std::string& path)
    : previous_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(path);
}

CurrentDirectory::~CurrentDirectory() {
    std::error_code error;
    std::filesystem::current_path(previous_, error);
}

}  // namespace sylva::test
