#include "support/file_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(WriteWholeFile, ReportsAFullDisk) {
    Status full = WriteWholeFile("/dev/full", "some bytes");
    EXPECT_EQ(full.code(), Status::Code::kWriteFailed);
    EXPECT_NE(full.reason().find("space"), std::string::npos) << full.reason();
}

}  // namespace
}  // namespace sylva
