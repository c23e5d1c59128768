// The records of the property grid: item groups, items, options, switches, assemble states,
// containers and listeners. Lists of records hold owned pointers; a record deletes what it owns.
// The records are not copyable: the library copies items with the rules of its template and
// "ref" copies, which keep some fields of the destination.
#pragma once

#include <list>
#include <map>
#include <vector>

#include "siteconfig/CString.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

struct GridItemData;

// One state of an "Assemble" option group.
struct SITECONFIG_API OptionStateData {
    bool enable = false;    // "IsEnable" is exactly "true"
    bool edit = false;      // "IsEidt" is exactly "true"
    bool readOnly = false;  // "IsReadOnly" is exactly "true"
    CString control;
    CString style;
    CString option;
    CString format;
};

struct SITECONFIG_API AssembleData {
    CString title;
    CString type;  // the tag of the state children
    KADO::Product::EKADOParameterType paramType = KADO::Product::InvalidParameterType;
    std::list<OptionStateData*> states;  // owned

    AssembleData() = default;
    AssembleData(const AssembleData&) = delete;
    AssembleData& operator=(const AssembleData&) = delete;
    ~AssembleData();
};

struct SITECONFIG_API SwitchData {
    CString title;
    CString param;
    std::list<GridItemData*> items;  // owned

    SwitchData() = default;
    SwitchData(const SwitchData&) = delete;
    SwitchData& operator=(const SwitchData&) = delete;
    ~SwitchData();
};

struct SITECONFIG_API ItemOptions {
    CString text;
    std::list<SwitchData*> switches;     // owned
    std::list<AssembleData*> assembles;  // owned

    ItemOptions() = default;
    ItemOptions(const ItemOptions&) = delete;
    ItemOptions& operator=(const ItemOptions&) = delete;
    ~ItemOptions();
};

// Item-variable codes of "ItemVar".
enum EItemVar : int {
    kItemVarName = 1000000,
    kItemVarOtherSetting = 1000001,
    kItemVarAssembleSetting = 1000002,
    kItemVarZTMaterial = 1000003,
    kItemVarZTThickness = 1000004,
    kItemVarNone = 1000005,
};

// One row of the property grid.
struct SITECONFIG_API GridItemData {
    CString id;
    KADO::Product::EKADOParameterType paramType = KADO::Product::InvalidParameterType;
    int itemVar = kItemVarNone;
    CString name;
    CString tips;
    CString control;
    CString style;
    int enable = 1;
    ItemOptions options;
    std::vector<CString> groups;
    CString param;
    bool canBePrivate = false;

    GridItemData() = default;
    GridItemData(const GridItemData&) = delete;
    GridItemData& operator=(const GridItemData&) = delete;
    ~GridItemData() = default;
};

// One group of items, from a child of "GridShow".
struct SITECONFIG_API GridShowData {
    int kind = 0;  // part kind: 0 "Main", 1 "Attach", 2 "Struct", 3 "LeftRight", 4 "Side"
    CString param;
    std::list<GridItemData*> items;  // owned

    GridShowData() = default;
    GridShowData(const GridShowData&) = delete;
    GridShowData& operator=(const GridShowData&) = delete;
    ~GridShowData();
};

struct ListenerData {
    CString name;
    CString data;
    int kind = 6;  // part kind of the text after the first "_", or 6 when the name has none
};

struct ContainerData {
    CString name;
    std::vector<ListenerData> listeners;
};

// The shared container table, keyed by container name.
using ContainerTable = std::map<CString, ContainerData>;

// View modes of "MarkShow" and "View3DMode".
enum EViewMode : int {
    kViewPouMian = 0,
    kViewPingMian = 1,
    kViewLiMian = 2,
    kView3D = 3,
    kViewSGPaper = 4,
};

// Part kinds of item groups and listeners.
enum EPartKind : int {
    kPartMain = 0,
    kPartAttach = 1,
    kPartStruct = 2,
    kPartLeftRight = 3,
    kPartSide = 4,
    kPartNone = 6,
};

}  // namespace CONFIG
