#include "Progress.h"

#include <cstdio>
#include <string>

#include <unistd.h>

#include <siteconfig/CString.h>

namespace sctool {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

}  // namespace

ScopedLoadProgress::ScopedLoadProgress(bool quiet) {
    if (quiet || !::isatty(STDERR_FILENO)) return;
    active_ = true;
    start_ = Clock::now();
    previous_ = CONFIG::SetLoadProgressSink(
        [this](const CONFIG::LoadProgress& progress) { Show(progress); });
}

ScopedLoadProgress::~ScopedLoadProgress() {
    if (!active_) return;
    CONFIG::SetLoadProgressSink(std::move(previous_));
    if (drawn_) std::fputs("\r\033[K", stderr);
}

void ScopedLoadProgress::Show(const CONFIG::LoadProgress& progress) {
    const Clock::time_point now = Clock::now();
    if (now - start_ < kQuietStart) return;
    if (drawn_ && now - lastDrawn_ < kRedrawEvery && progress.done != progress.total) return;
    lastDrawn_ = now;
    drawn_ = true;
    const std::string line = "siteconfig: reading " + TOOLS::Utf8FromWide(progress.partName) +
                             ": " + std::to_string(progress.done) + " / " +
                             std::to_string(progress.total) + " files";
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
}

}  // namespace sctool
