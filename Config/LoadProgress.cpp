#include "LoadProgress.h"

#include <atomic>

#include "SinkSlot.h"

namespace CONFIG {
namespace {

TOOLS::SinkSlot<LoadProgressSink>& ProgressSlot() {
    static TOOLS::SinkSlot<LoadProgressSink> slot([](const LoadProgress&) {});
    return slot;
}

// Most hosts install no sink: a load then skips the slot's lock for each file.
std::atomic<bool> g_installed{false};

const wchar_t* PartName(LoadPart part) {
    switch (part) {
        case LoadPart::kDefinitions:
            return L"definitions";
        case LoadPart::kShapePool:
            return L"shape pool";
        case LoadPart::kTemplates:
            return L"templates";
        case LoadPart::kPropertyModels:
            return L"property models";
        case LoadPart::kEditViews:
            return L"edit views";
        case LoadPart::kGraphLibraries:
            return L"graph libraries";
    }
    return L"";
}

}  // namespace

LoadProgressSink SetLoadProgressSink(LoadProgressSink sink) {
    const bool installed = static_cast<bool>(sink);
    LoadProgressSink previous = ProgressSlot().Exchange(std::move(sink));
    // The slot's fallback does nothing: it is not handed out as if a host had installed it.
    const bool wasInstalled = g_installed.exchange(installed, std::memory_order_acq_rel);
    return wasInstalled ? previous : LoadProgressSink();
}

void ReportLoadProgress(LoadPart part, size_t done, size_t total) {
    if (!g_installed.load(std::memory_order_acquire)) return;
    const auto sink = ProgressSlot().Current();
    (*sink)(LoadProgress{part, PartName(part), done, total});
}

}  // namespace CONFIG
