#include "support/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support/file_size_limit.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

std::vector<std::string> Entries(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReplaceFileAtomically, ReplacesContentKeepsPermissionsAndLeavesNoTemporaryFile) {
    test::ScratchDir dir;
    std::string path = dir.Write("index.html", "old content that is longer");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileAtomically(path, "new").ok());
    EXPECT_EQ(test::ReadFile(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"index.html"});

    std::string fresh = dir.File("fresh.html");
    ASSERT_TRUE(ReplaceFileAtomically(fresh, "created").ok());
    EXPECT_EQ(test::ReadFile(fresh), "created");
}

TEST(ReplaceFileAtomically, ReplacesTheFileALinkNamesAndKeepsTheLink) {
    test::ScratchDir dir;
    std::string target = dir.Write("real/index.html", "old");
    std::string link = dir.File("index.html");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ReplaceFileAtomically(link, "new").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadFile(target), "new");
}

TEST(ReplaceFileAtomically, AMissingDirectoryIsAnOpenFailure) {
    test::ScratchDir dir;
    Status status = ReplaceFileAtomically(dir.File("missing/index.html"), "x");
    EXPECT_EQ(status.code(), Status::Code::kOpenFailed);
    EXPECT_FALSE(status.reason().empty());
}

TEST(ReplaceFileAtomically, AFullDiskLeavesTheOldFileWholeAndNoTemporaryFile) {
    test::ScratchDir dir;
    const std::string old(300, 'o');
    std::string path = dir.Write("index.html", old);
    Status status;
    {
        test::FileSizeLimit limit(100);
        status = ReplaceFileAtomically(path, std::string(200, 'n'));
    }
    EXPECT_EQ(status.code(), Status::Code::kWriteFailed);
    EXPECT_FALSE(status.reason().empty());
    EXPECT_EQ(test::ReadFile(path), old);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"index.html"});
}

}  // namespace
}  // namespace sylva
