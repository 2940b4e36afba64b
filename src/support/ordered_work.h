// RunInOrder: independent pieces of work done on worker threads, their results handed over on
// the calling thread one by one in the order of the pieces, as a loop on one thread would.
//
// It lets a stage use a second core while everything that must happen in order (protocol lines,
// warnings, progress, counters) stays on the calling thread. Only std::thread, std::mutex and
// std::condition_variable are used.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sylva {

// The number of threads a stage may keep busy, the calling thread included: SYLVA_THREADS when
// it holds a number from 1 to 64 (1 does all work on the calling thread), otherwise two, or one
// on a machine with a single core.
int DefaultThreadCount();

// The worker threads for a stage that may keep `threads` threads busy: none when `threads` is 1
// or less; otherwise all of them while the calling thread only hands on results, and one less
// when `callerWorks`.
inline int WorkersFor(int threads, bool callerWorks) {
    if (threads <= 1) {
        return 0;
    }
    return callerWorks ? threads - 1 : threads;
}

// Calls work(i) for every i in [0, count), on `workers` worker threads (on the calling thread
// when `workers` is 0), and deliver(i, result) on the calling thread for i = 0, 1, ... in this
// order, each as soon as its result is there. At most `window` results wait to be taken, and at
// most as many more are in the calling thread's hand, so memory stays bounded however many
// pieces there are.
//
// A worker claims up to kOrderedWorkChunk consecutive pieces at once and hands their results
// over together, and the calling thread takes every result that is ready in one go: threads meet
// once per run of pieces, not once per piece, since waking a thread costs more than the work of
// a small piece.
// REQUIRES: work(i) may run concurrently with other work calls and with deliver; it touches
// nothing that deliver or another work call changes.
inline constexpr std::size_t kOrderedWorkChunk = 16;

template <typename Result>
void RunInOrder(std::size_t count, int workers, const std::function<Result(std::size_t)>& work,
                const std::function<void(std::size_t, Result&)>& deliver,
                std::size_t window = 256) {
    if (workers <= 0 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            Result result = work(i);
            deliver(i, result);
        }
        return;
    }
    window = std::max<std::size_t>(window, static_cast<std::size_t>(workers));
    const std::size_t chunk =
        std::clamp<std::size_t>(window / static_cast<std::size_t>(workers), 1, kOrderedWorkChunk);
    std::mutex mutex;
    std::condition_variable resultReady;
    std::condition_variable slotFree;
    // Invariant: doneSlots[i % window] holds the result of piece i once it is done and until it is
    // delivered; pieces [delivered, claimed) are being worked on or wait for delivery, and
    // claimed - delivered <= window.
    std::vector<std::optional<Result>> doneSlots(window);
    std::size_t claimed = 0;
    std::size_t delivered = 0;

    auto worker = [&] {
        std::vector<Result> done;
        std::unique_lock lock(mutex);
        for (;;) {
            slotFree.wait(lock, [&] { return claimed == count || claimed < delivered + window; });
            if (claimed == count) {
                return;
            }
            const std::size_t begin = claimed;
            const std::size_t end = std::min({count, begin + chunk, delivered + window});
            claimed = end;
            lock.unlock();
            done.clear();
            for (std::size_t i = begin; i < end; ++i) {
                done.push_back(work(i));
            }
            lock.lock();
            for (std::size_t i = begin; i < end; ++i) {
                doneSlots[i % window].emplace(std::move(done[i - begin]));
            }
            resultReady.notify_one();
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(workers));
    for (int t = 0; t < workers; ++t) {
        pool.emplace_back(worker);
    }
    std::vector<Result> ready;
    for (std::size_t next = 0; next < count;) {
        ready.clear();
        {
            std::unique_lock lock(mutex);
            resultReady.wait(lock, [&] { return doneSlots[next % window].has_value(); });
            for (std::size_t i = next; i < count && doneSlots[i % window].has_value(); ++i) {
                ready.push_back(std::move(*doneSlots[i % window]));
                doneSlots[i % window].reset();
            }
            delivered = next + ready.size();
        }
        slotFree.notify_all();
        for (Result& result : ready) {
            deliver(next++, result);
        }
    }
    for (std::thread& thread : pool) {
        thread.join();
    }
}

}  // namespace sylva
