// The records floor: the least work a load of a configuration folder can do. It reads and
// parses the files as the parse-only baseline does, then builds the records that the library's
// tables keep, with the same counts and the same texts, and nothing else. What a load costs
// above it is the library's own doing; what the floor costs above the parse is forced by the
// record types of the interfaces.
#pragma once

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/KadoTypes.h>
#include <siteconfig/PropGridData.h>
#include <siteconfig/PropertyInsData.h>

#include "ConfigGenerator.h"

namespace bench {

// What the library keeps of one edit view.
struct FloorEditView {
    CString loc;
    std::vector<CString> typeAndSections;
    std::map<int, std::vector<CString>> markClasses;
    std::vector<std::unique_ptr<CONFIG::GridShowData>> groups;
    CONFIG::ContainerData container;
};

// The tables, in the containers the library keeps them in.
//
// Deliberately left out, because they store no record or text of their own or change none:
// reports, diagnostics and checks; the encoding detection and UTF-8 validation of each file
// (the generated folder is UTF-8 without byte order mark); the depth limits of nesting; the
// category-to-type map and the location index (lookups over texts kept here); the set of
// defined locations (a second index of `defineLocs`); the empty fallback view; group titles
// (read and dropped by the library). Texts that the library copies from one record to another
// (template items, base-view groups) are shared here too, as CString copies share a buffer;
// the graph-library models share one section-shape text.
struct RecordsFloor {
    std::map<KADO::Product::EKADOComponentType, CONFIG::PropertyInsData> definitions;
    std::set<CONFIG::PropertyInsData> shapePool;
    // The listed template files' records, then the graph libraries' models.
    std::list<CONFIG::PropertyInsData> templates;
    size_t fileTemplates = 0;
    std::list<CONFIG::PropertyInsData> propModels;
    std::map<KADO::Product::EKADOComponentType, std::set<CString>> categories;

    std::vector<CString> defineLocs;
    std::vector<CString> showLocs;
    std::map<CString, std::vector<CString>> sectionSelect;
    std::map<KADO::Product::EKADOComponentType, int> componentKinds;
    std::set<KADO::Product::EKADOParameterType> viewParams;
    std::vector<KADO::Product::EKADOParameterType> meterParams;
    std::map<KADO::Product::EKADOComponentType, int> view3DModes;
    CONFIG::ContainerTable containers;
    FloorEditView gridTemplate;
    std::vector<FloorEditView> locationViews;
};

// Reads the seven sources of `config` in the library's order.
std::unique_ptr<RecordsFloor> BuildRecordsFloor(const GeneratedConfig& config);

// Reads a file whole with one read of the size it has, as the library does. False when it
// cannot be opened.
bool ReadFileBytes(const std::string& path, std::string& bytes);

}  // namespace bench
