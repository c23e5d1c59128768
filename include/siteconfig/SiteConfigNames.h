// The names configuration files give to the library's enumerations, for tools and applications
// that print, check or describe configurations. Each list is the very table the readers use.
#pragma once

#include <vector>

#include "siteconfig/CString.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

struct NamedValue {
    CString name;
    int value;
};

// Component types ("Wall" 1 ... "Building" 12, "OtherComponent" 3211) in ascending order.
// InvalidComponentType, the answer for every other name, has no name.
SITECONFIG_API std::vector<NamedValue> GetComponentTypeNames();
// Every name a parameter may be given; the name a value is printed with comes first, so
// "Category" precedes its alias "类别" and "SectionShape" its alias "截面形状".
SITECONFIG_API std::vector<NamedValue> GetParameterTypeNames();
// View modes of "MarkShow" and "View3DMode" ("PouMian" 0 ... "SGPaper" 4), in the order
// "MarkShow" reads them.
SITECONFIG_API std::vector<NamedValue> GetViewModeNames();
// Part kinds of item groups and listeners ("Main" 0 ... "Side" 4).
SITECONFIG_API std::vector<NamedValue> GetPartKindNames();
// Component kinds of "PropertyLocShow.xml" ("linear" 0, "block" 1, "region" 2).
SITECONFIG_API std::vector<NamedValue> GetComponentKindNames();
// Item variables of an item's "ItemVar": "" is kItemVarNone, "Name" kItemVarName, ...
SITECONFIG_API std::vector<NamedValue> GetItemVarNames();

// The first name of `value` in `names`; false when it has none.
inline bool FindName(const std::vector<NamedValue>& names, int value, CString& name) {
    for (const NamedValue& entry : names) {
        if (entry.value == value) {
            name = entry.name;
            return true;
        }
    }
    return false;
}

}  // namespace CONFIG
