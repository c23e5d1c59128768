// The names the display files give to view modes, part kinds, component kinds and item
// variables. The readers convert with these tables, and SiteConfigNames.h publishes them.
#pragma once

#include <siteconfig/CString.h>
#include <siteconfig/PropGridData.h>

namespace CONFIG {

struct NamedCode {
    const wchar_t* name;
    int code;
};

// In the order "MarkShow" reads its children.
inline constexpr NamedCode kViewModeNames[] = {
    {L"PouMian", kViewPouMian}, {L"PingMian", kViewPingMian}, {L"LiMian", kViewLiMian},
    {L"View3D", kView3D},       {L"SGPaper", kViewSGPaper},
};

inline constexpr NamedCode kPartKindNames[] = {
    {L"Main", kPartMain},           {L"Attach", kPartAttach}, {L"Struct", kPartStruct},
    {L"LeftRight", kPartLeftRight}, {L"Side", kPartSide},
};

inline constexpr NamedCode kComponentKindNames[] = {
    {L"linear", 0},
    {L"block", 1},
    {L"region", 2},
};

inline constexpr NamedCode kItemVarNames[] = {
    {L"", kItemVarNone},
    {L"Name", kItemVarName},
    {L"OtherSetting", kItemVarOtherSetting},
    {L"AssembleSetting", kItemVarAssembleSetting},
    {L"ZTMaterial", kItemVarZTMaterial},
    {L"ZTThickness", kItemVarZTThickness},
};

// The entry of `table` named exactly `name`, or null.
template <size_t N>
const NamedCode* FindCode(const NamedCode (&table)[N], const CString& name) {
    for (const NamedCode& entry : table) {
        if (name == entry.name) return &entry;
    }
    return nullptr;
}

}  // namespace CONFIG
