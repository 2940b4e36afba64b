#include "support/ordered_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

namespace sylva {
namespace {

// Every piece is delivered once, in order, with its own result, however many workers share the
// work and however the window and the pieces' count fall against the chunks workers claim.
TEST(RunInOrder, DeliversEveryResultOnceInOrder) {
    for (int workers : {0, 1, 2, 5}) {
        for (std::size_t count : {0u, 1u, 2u, 15u, 16u, 17u, 1000u}) {
            for (std::size_t window : {1u, 7u, 64u, 256u}) {
                SCOPED_TRACE(std::to_string(workers) + " workers, " + std::to_string(count) +
                             " pieces, window " + std::to_string(window));
                std::vector<std::size_t> seen;
                RunInOrder<std::string>(
                    count, workers, [](std::size_t i) { return std::to_string(i * 3); },
                    [&seen](std::size_t i, std::string& result) {
                        EXPECT_EQ(result, std::to_string(i * 3));
                        seen.push_back(i);
                    },
                    window);
                ASSERT_EQ(seen.size(), count);
                for (std::size_t i = 0; i < count; ++i) {
                    ASSERT_EQ(seen[i], i);
                }
            }
        }
    }
}

// Delivery happens on the calling thread, and with workers the work does not.
TEST(RunInOrder, WorkRunsOnWorkersAndDeliveryOnTheCaller) {
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> onCaller{0};
    RunInOrder<int>(
        200, 2,
        [&](std::size_t i) {
            onCaller += std::this_thread::get_id() == caller ? 1 : 0;
            return static_cast<int>(i);
        },
        [&](std::size_t, int&) { EXPECT_EQ(std::this_thread::get_id(), caller); });
    EXPECT_EQ(onCaller.load(), 0);
}

// A slow deliverer holds the workers back: no more than the window's results wait to be taken,
// besides those the calling thread took and is delivering, so memory stays bounded.
TEST(RunInOrder, AtMostTheWindowOfResultsWait) {
    constexpr std::size_t kWindow = 8;
    std::atomic<std::size_t> done{0};
    std::size_t delivered = 0;
    std::size_t mostWaiting = 0;
    RunInOrder<int>(
        500, 3,
        [&](std::size_t) {
            ++done;
            return 0;
        },
        [&](std::size_t, int&) {
            ++delivered;
            mostWaiting = std::max(mostWaiting, done.load() - delivered);
            std::this_thread::yield();
        },
        kWindow);
    EXPECT_EQ(delivered, 500u);
    EXPECT_LE(mostWaiting, 2 * kWindow);
}

}  // namespace
}  // namespace sylva
