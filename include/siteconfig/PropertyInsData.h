// The record of one component property set.
#pragma once

#include <list>
#include <string>
#include <utility>

#include "siteconfig/CString.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

using KADO::Product::EKADOComponentType;
using KADO::Product::EKADOParameterType;

// One parameter: (type, (user value, value)).
using PropertyParam = std::pair<EKADOParameterType, std::pair<std::wstring, std::wstring>>;

// A property definition, template, property model, shape-pool entry or instance. A record owns
// its strings and both lists by value, so a record with instances is a tree owned from its root.
struct SITECONFIG_API PropertyInsData {
    EKADOComponentType compType = KADO::Product::InvalidComponentType;
    CString category;
    CString initName;
    CString sectionShape;
    CString graphLibId;
    std::list<PropertyParam> params;
    std::list<PropertyInsData> children;

    PropertyInsData() = default;
    PropertyInsData(const PropertyInsData& other) = default;
    // Copies the type and the four strings and takes over both lists; the source keeps its
    // strings and is left with empty lists.
    PropertyInsData(PropertyInsData&& other) noexcept;
    PropertyInsData& operator=(const PropertyInsData& other);
    PropertyInsData& operator=(PropertyInsData&& other) noexcept;
    ~PropertyInsData() = default;

    // The shape-pool key order: compType (signed), then category, then sectionShape (ordinal).
    bool operator<(const PropertyInsData& other) const;
};

}  // namespace CONFIG
