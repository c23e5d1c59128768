// The property display configuration: locations, edit views, kinds, parameters, view modes and
// containers.
#pragma once

#include <vector>

#include "siteconfig/CString.h"
#include "siteconfig/IPropEditView.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/PropGridData.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class SITECONFIG_API IPropertyShow {
public:
    // Appends the defined locations, in file order then order of addition.
    virtual void GetDefineLocs(std::vector<CString>& locs) = 0;
    // Defines a location; an empty or already defined one changes nothing. Does not show it.
    virtual void AddDefineLoc(const CString& loc) = 0;
    // `locs` becomes a copy of the shown locations.
    virtual void GetShowLocs(std::vector<CString>& locs) = 0;
    // The shown locations become `locs`.
    virtual void SetShowLocs(std::vector<CString> locs) = 0;
    // The edit view for a type-and-section text at a location: the first location view whose
    // location and one of whose sections match, then one without location, then the fallback
    // view (reported). Never null; borrowed for the lifetime of this object.
    virtual IPropEditView* GetPropEditView(const CString& typeAndSection, const CString& loc) = 0;
    // Appends the locations that `loc` expands into; always true.
    virtual bool GetSectionLocs(const CString& loc, std::vector<CString>& locs) = 0;
    // 0 "linear", 1 "block", 2 "region"; 0 (reported) for an unlisted type.
    virtual int GetComponentKind(KADO::Product::EKADOComponentType type) = 0;
    virtual bool IsViewParam(KADO::Product::EKADOParameterType type) = 0;
    // `params` becomes a copy of the meter parameters, in file order.
    virtual void GetMeterParams(std::vector<KADO::Product::EKADOParameterType>& params) = 0;
    // The view mode of a type; 3 ("View3D") for an unlisted type.
    virtual int GetView3DMode(KADO::Product::EKADOComponentType type) = 0;
    // The container table. Borrowed: lives as long as this object.
    virtual ContainerTable* GetEnableContainers() = 0;
    // Removes each location in order, stopping at the first that is not defined.
    virtual void RemoveDefineLocs(const std::vector<CString>& locs) = 0;
    virtual bool IsComponentIncluded(const CString& name) = 0;
    virtual bool IsComponentTypeIncluded(KADO::Product::EKADOComponentType type) = 0;
    // True when some location that `loc` expands into is shown.
    virtual bool IsLocShown(const CString& loc) = 0;
    virtual ~IPropertyShow() = default;
};

}  // namespace CONFIG
