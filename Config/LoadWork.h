// Work of one load spread over the load's threads (SetLoadThreads), with everything that
// depends on order kept on the loading thread.
#pragma once

#include <cstddef>

#include <siteconfig/SiteConfigThreads.h>

#include "CheckSession.h"
#include "LoadProgress.h"
#include "LogHelper.h"
#include "OrderedWork.h"
#include "TextInterner.h"

namespace CONFIG {

// The threads this load may use: one under a check, whose hooks follow the reading cursor and
// whose findings take their lines from it.
inline int LoadThreadsHere() { return CCheckSession::Current() ? 1 : GetLoadThreads(); }

// Runs read(i) for each i below `count` on the load's threads and take(i, result) on the
// calling thread in index order. What read(i) reports or diagnoses reaches the calling thread's
// observer or the sinks just before take(i), in the order it was raised: as if all ran on the
// calling thread. Each other thread shares texts through an interner of its own.
// After each take(i), the progress sink hears that i + 1 files of `part` are read.
template <typename Read, typename Take>
void RunOnLoadThreads(LoadPart part, size_t count, Read read, Take take) {
    const int threads = LoadThreadsHere();
    if (threads <= 1 || count < 2) {
        for (size_t i = 0; i < count; ++i) {
            auto result = read(i);
            take(i, result);
            ReportLoadProgress(part, i + 1, count);
        }
        return;
    }
    using Result = decltype(read(size_t{0}));
    struct Captured {
        Result result;
        TOOLS::CapturedLoadEvents events;
    };
    TOOLS::RunInOrder<TOOLS::ScopedTextInterning>(
        count, threads,
        [&](size_t i) {
            Captured captured;
            const TOOLS::ScopedLoadObserver capturing(&captured.events);
            captured.result = read(i);
            return captured;
        },
        [&](size_t i, Captured& captured) {
            captured.events.Replay();
            take(i, captured.result);
            ReportLoadProgress(part, i + 1, count);
        });
}

}  // namespace CONFIG
