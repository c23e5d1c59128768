// Progress of a long load on standard error, for a person watching a terminal.
#pragma once

#include <chrono>

#include <siteconfig/SiteConfigProgress.h>

namespace sctool {

// While it lives, a load that has run for half a second shows on standard error which part it
// reads and how many of its files are read, on one line that it clears at the end. Shows
// nothing when standard error is not a terminal or when `quiet`.
class ScopedLoadProgress {
public:
    explicit ScopedLoadProgress(bool quiet);
    ScopedLoadProgress(const ScopedLoadProgress&) = delete;
    ScopedLoadProgress& operator=(const ScopedLoadProgress&) = delete;
    ~ScopedLoadProgress();

private:
    void Show(const CONFIG::LoadProgress& progress);

    bool active_ = false;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
    CONFIG::LoadProgressSink previous_;
};

}  // namespace sctool
