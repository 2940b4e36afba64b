#include "support/file_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

TEST(WriteWholeFile, CreatesAndReplacesFiles) {
    test::ScratchDir dir;
    std::string path = dir.File("page.html");
    ASSERT_TRUE(WriteWholeFile(path, "first version, longer").ok());
    ASSERT_TRUE(WriteWholeFile(path, "second").ok());
    EXPECT_EQ(test::ReadFile(path), "second");
}

TEST(WriteWholeFile, ReportsAFileThatCannotBeCreated) {
    test::ScratchDir dir;
    Status missingDirectory = WriteWholeFile(dir.File("no/such/dir/page.html"), "x");
    EXPECT_EQ(missingDirectory.code(), Status::Code::kOpenFailed);
    EXPECT_FALSE(missingDirectory.reason().empty());

    EXPECT_EQ(WriteWholeFile(dir.path(), "x").code(), Status::Code::kOpenFailed);

    std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(WriteWholeFile(fifo, "x").code(), Status::Code::kOpenFailed);
}

TEST(WriteWholeFile, NeverWritesThroughASymbolicLink) {
    test::ScratchDir dir;
    const std::string outside = dir.Write("outside.txt", "not a page");
    const std::string link = dir.File("page.html");
    ASSERT_EQ(::symlink(outside.c_str(), link.c_str()), 0);
    EXPECT_EQ(WriteWholeFile(link, "page").code(), Status::Code::kOpenFailed);
    EXPECT_EQ(test::ReadFile(outside), "not a page");

    const std::string dangling = dir.File("dangling.html");
    ASSERT_EQ(::symlink(dir.File("created-elsewhere.txt").c_str(), dangling.c_str()), 0);
    EXPECT_EQ(WriteWholeFile(dangling, "page").code(), Status::Code::kOpenFailed);
    EXPECT_FALSE(std::filesystem::exists(dir.File("created-elsewhere.txt")));
}

TEST(WriteWholeFile, ReportsAFullDisk) {
    Status full = WriteWholeFile("/dev/full", "some bytes");
    EXPECT_EQ(full.code(), Status::Code::kWriteFailed);
    EXPECT_NE(full.reason().find("space"), std::string::npos) << full.reason();
}

}  // namespace
}  // namespace sylva
