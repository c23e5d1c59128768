// A process-wide sink that may be replaced while other threads call it.
#pragma once

#include <memory>
#include <mutex>
#include <utility>

namespace TOOLS {

// An installed sink, swapped under a lock and called outside it: a report on one thread may run
// the old sink while another thread installs a new one, and a sink may install a sink itself.
template <typename Sink>
class SinkSlot {
public:
    explicit SinkSlot(Sink fallback)
        : fallback_(std::move(fallback)), current_(std::make_shared<const Sink>(fallback_)) {}

    // Installs `sink` (the fallback when empty) and returns the previous one. Changes nothing
    // when it throws.
    Sink Exchange(Sink sink) {
        auto next = std::make_shared<const Sink>(sink ? std::move(sink) : fallback_);
        std::shared_ptr<const Sink> replaced;  // may be the last owner: freed after unlocking
        Sink previous;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            // A copy: a report on another thread may still be running the previous sink.
            previous = *current_;
            replaced = std::exchange(current_, std::move(next));
        }
        return previous;
    }

    std::shared_ptr<const Sink> Current() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return current_;
    }

private:
    const Sink fallback_;
    mutable std::mutex mutex_;
    std::shared_ptr<const Sink> current_;
};

}  // namespace TOOLS
