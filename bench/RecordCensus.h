// Counts of the records a loaded configuration keeps and of the wide characters of their texts,
// taken alike from the library's tables and from the records floor, so that a floor that skips
// or adds records shows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <siteconfig/CPropertiesConfig.h>

#include "RecordsFloor.h"

namespace bench {

enum CensusCount {
    kDefinitions,
    kShapePool,
    kFileTemplates,
    kGraphModels,
    kPropModels,
    kInstances,
    kParams,
    kCategories,
    kDefineLocs,
    kShowLocs,
    kSectionKeys,
    kSectionTexts,
    kSmallTableEntries,  // component kinds, view and meter parameters, 3D view modes
    kContainers,
    kListeners,
    kLocationViews,
    kMarkClasses,
    kGroups,
    kGridItems,
    kSwitches,
    kAssembles,
    kStates,
    kWideChars,  // every text counted where a record holds it, shared or not
    kCensusCounts
};

struct RecordCensus {
    std::array<long long, kCensusCounts> counts{};
    // The sum of a hash of every text, so that texts of the same lengths but other characters
    // show too.
    std::uint64_t textChecksum = 0;
};

// The edit views' own containers are left out on both sides: the library lends them only
// merged with the shared container table.
RecordCensus CensusOfLibrary(const CONFIG::CPropertiesConfig& config, size_t fileTemplates);
RecordCensus CensusOfFloor(const RecordsFloor& floor);

// Prints one line: the main counts when both agree, else a warning naming each that differs.
// True when they agree.
bool PrintCensusCheck(const RecordCensus& library, const RecordCensus& floor);

}  // namespace bench
