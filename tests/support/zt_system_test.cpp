#include "support/zt_system.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

TEST(CZTSystemEnsurePath, CreatesTheDirectoryPartOnlyNotTheFile) {
    test::ScratchDir dir;
    std::string file = dir.File("out/Demo/Demo_frame.HTML");
    EXPECT_TRUE(CZTSystem::EnsurePath(file));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("out/Demo")));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(CZTSystem::EnsurePath(file));  // already there
}

TEST(CZTSystemEnsurePath, FailsWhenAFileStandsInTheWay) {
    test::ScratchDir dir;
    dir.Write("out/Demo", "a file, not a directory");
    EXPECT_FALSE(CZTSystem::EnsurePath(dir.File("out/Demo/Demo.HTML")));
}

TEST(CZTSystemFileExist, SeesFilesAndDirectoriesButNotDanglingLinks) {
    test::ScratchDir dir;
    std::string file = dir.Write("a.txt", "x");
    EXPECT_TRUE(CZTSystem::FileExist(file));
    EXPECT_TRUE(CZTSystem::FileExist(dir.path()));
    EXPECT_FALSE(CZTSystem::FileExist(dir.File("b.txt")));
    EXPECT_FALSE(CZTSystem::FileExist(""));
    ASSERT_EQ(::symlink(dir.File("gone").c_str(), dir.File("link").c_str()), 0);
    EXPECT_FALSE(CZTSystem::FileExist(dir.File("link")));
}

}  // namespace
}  // namespace sylva
