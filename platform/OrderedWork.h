// Independent pieces of work run on a few threads, their results taken in order on the calling
// thread.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace TOOLS {

// Runs work(i) for every i below `count` on up to `threads` threads, the calling thread among
// them, and calls take(i, result) on the calling thread for i = 0, 1, 2... as each result is
// ready. Every other thread holds a default-constructed `PerThread` while it works (a scope the
// work needs on its thread). An exception of work(i) or take(i, ...) stops the handing out of
// work and is rethrown on the calling thread once every other thread has ended; results not
// yet taken are then dropped. A thread that cannot be started leaves its share to the others.
template <typename PerThread, typename Work, typename Take>
void RunInOrder(size_t count, int threads, Work work, Take take) {
    using Result = decltype(work(size_t{0}));
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr error;
        bool ready = false;
    };
    std::vector<Slot> slots(count);
    std::mutex mutex;
    std::condition_variable readyChanged;
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};

    const auto runOne = [&](size_t index) {
        Slot done;
        try {
            done.result.emplace(work(index));
        } catch (...) {
            done.error = std::current_exception();
        }
        done.ready = true;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            slots[index] = std::move(done);
        }
        readyChanged.notify_all();
    };
    const auto workLoop = [&] {
        try {
            const PerThread scope;
            while (!stop.load(std::memory_order_relaxed)) {
                const size_t index = next.fetch_add(1);
                if (index >= count) return;
                runOne(index);
            }
        } catch (...) {
            // The thread's scope could not be made: it took no work, the others do it.
        }
    };

    std::vector<std::thread> helpers;
    const size_t wanted = std::min(count, static_cast<size_t>(std::max(threads, 1))) - 1;
    for (size_t i = 0; i < wanted; ++i) {
        try {
            helpers.emplace_back(workLoop);
        } catch (...) {
            break;  // no thread (or no memory for one): the others do its share
        }
    }

    std::exception_ptr failure;
    for (size_t index = 0; index < count && !failure; ++index) {
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                if (slots[index].ready) break;
            }
            // While the next result is not ready, this thread works too.
            const size_t mine = next.fetch_add(1);
            if (mine < count) {
                runOne(mine);
                continue;
            }
            std::unique_lock<std::mutex> lock(mutex);
            readyChanged.wait(lock, [&] { return slots[index].ready; });
            break;
        }
        Slot& slot = slots[index];  // no other thread touches a slot once it is ready
        if (slot.error) {
            failure = slot.error;
            break;
        }
        try {
            take(index, *slot.result);
        } catch (...) {
            failure = std::current_exception();
        }
        slot.result.reset();
    }
    stop = true;
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace TOOLS
