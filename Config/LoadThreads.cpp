#include <siteconfig/SiteConfigThreads.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

namespace CONFIG {
namespace {

constexpr int kMaxThreads = 64;
constexpr int kMaxDefaultThreads = 8;

std::atomic<int> g_threads{0};  // 0: the default

int DefaultThreads() {
    static const int threads = [] {
        if (const char* text = std::getenv("SITECONFIG_LOAD_THREADS")) {
            char* end = nullptr;
            const long value = std::strtol(text, &end, 10);
            if (end != text && *end == '\0' && value >= 1) {
                return static_cast<int>(std::min<long>(value, kMaxThreads));
            }
        }
        const unsigned cores = std::thread::hardware_concurrency();
        return std::clamp(static_cast<int>(cores), 1, kMaxDefaultThreads);
    }();
    return threads;
}

}  // namespace

void SetLoadThreads(int threads) { g_threads = std::clamp(threads, 0, kMaxThreads); }

int GetLoadThreads() {
    const int threads = g_threads;
    return threads > 0 ? threads : DefaultThreads();
}

}  // namespace CONFIG
