#include "support/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support/file_size_limit.h"
#include "test_support/process.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using test::Entries;

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

TEST(ReplaceFileAtomically, ReplacesALinkItselfAndNeverWritesThroughIt) {
    test::ScratchDir dir;
    std::string target = dir.Write("real/index.html", "old");
    std::string link = dir.File("index.html");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ReplaceFileAtomically(link, "new").ok());
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadFile(link), "new");
    EXPECT_EQ(test::ReadFile(target), "old");
}

// The id of a process that has ended and been reaped.
pid_t EndedProcess() {
    pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(RemoveAbandonedTemporaries, RemovesOnlyTheTemporaryFilesOfEndedWriters) {
    test::ScratchDir dir;
    const std::string ended = std::to_string(EndedProcess());
    const std::string running = std::to_string(::getpid());
    std::string path = dir.Write("index.html", "page");
    const std::vector<std::string> abandoned = {"index.html.tmp." + ended + ".0",
                                                "index.html.tmp." + ended + ".17"};
    const std::vector<std::string> kept = {
        "index.html",
        "index.html.tmp." + running + ".0",  // a writer at work
        "other.html.tmp." + ended + ".0",    // another file's
        "index.html.tmp." + ended,           // not a name ReplaceFileAtomically gives
        "index.html.tmp." + ended + ".",
        "index.html.tmp." + ended + ".1x",
        "index.html.tmp.-" + ended + ".1",
        "index.html.tmp.0.1",
        "xindex.html.tmp." + ended + ".0",
    };
    for (const std::vector<std::string>* names : {&abandoned, &kept}) {
        for (const std::string& name : *names) {
            dir.Write(name, "x");
        }
    }
    // Neither a directory nor a link is ever a writer's temporary file.
    std::filesystem::create_directory(dir.File("index.html.tmp." + ended + ".9"));
    std::filesystem::create_symlink("index.html", dir.File("index.html.tmp." + ended + ".8"));
    RemoveAbandonedTemporaries(path);
    std::vector<std::string> expected = kept;
    expected.push_back("index.html.tmp." + ended + ".8");
    expected.push_back("index.html.tmp." + ended + ".9");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(dir.path()), expected);

    // A path without a directory names a file of the current directory.
    dir.Write(abandoned[0], "x");
    test::CurrentDirectory inside(dir.path());
    RemoveAbandonedTemporaries("index.html");
    EXPECT_EQ(Entries(dir.path()), expected);
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
