#include "support/file_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "support/zt_system.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

TEST(FileLock, TwoOpensInOneProcessWaitForEachOther) {
    test::ScratchDir dir;
    const std::string lockPath = dir.File("index.html.lock");
    auto first = std::make_unique<FileLock>(lockPath);
    ASSERT_TRUE(first->locked()) << first->error();

    std::atomic<bool> secondHeld{false};
    std::thread waiter([&] {
        FileLock second(lockPath);
        secondHeld = second.locked();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_FALSE(secondHeld) << "the second lock was granted while the first was held";
    first.reset();
    waiter.join();
    EXPECT_TRUE(secondHeld);
    EXPECT_TRUE(CZTSystem::FileExist(lockPath)) << "the lock file must stay in place";
}

TEST(FileLock, ALockFileThatCannotBeCreatedSaysWhy) {
    test::ScratchDir dir;
    FileLock lock(dir.File("missing/index.html.lock"));
    EXPECT_FALSE(lock.locked());
    EXPECT_FALSE(lock.error().empty());
}

}  // namespace
}  // namespace sylva
