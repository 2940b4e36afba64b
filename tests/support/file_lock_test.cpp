#include "support/file_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "test_support/process.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

TEST(FileLock, LocksOfFilesInOneDirectoryWaitForEachOtherAndLeaveNothingBehind) {
    test::ScratchDir dir;
    auto first = std::make_unique<FileLock>(dir.File("index.html"));
    ASSERT_TRUE(first->locked()) << first->error();

    std::atomic<bool> secondHeld{false};
    std::thread waiter([&] {
        FileLock second(dir.File("other.html"));
        secondHeld = second.locked();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_FALSE(secondHeld) << "the second lock was granted while the first was held";
    first.reset();
    waiter.join();
    EXPECT_TRUE(secondHeld);
    EXPECT_TRUE(test::Entries(dir.path()).empty()) << "taking a lock must create no file";
}

TEST(FileLock, ADirectoryThatCannotBeOpenedSaysWhy) {
    test::ScratchDir dir;
    const std::string file = dir.Write("file", "not a directory");
    for (const std::string& path : {dir.File("missing/index.html"), file + "/index.html"}) {
        FileLock lock(path);
        EXPECT_FALSE(lock.locked()) << path;
        EXPECT_FALSE(lock.error().empty()) << path;
    }
}

}  // namespace
}  // namespace sylva
