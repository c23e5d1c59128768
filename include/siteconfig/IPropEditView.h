// One property-grid layout: mark classes per view mode, item groups and a listener container.
#pragma once

#include <vector>

#include "siteconfig/CString.h"
#include "siteconfig/PropGridData.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class SITECONFIG_API IPropEditView {
public:
    // True and `classes` replaced by the mark classes of `viewMode` when the view lists that
    // mode; false and `classes` untouched otherwise.
    virtual bool GetMarkClasses(const int& viewMode, std::vector<CString>& classes) = 0;
    // The first item group of the part kind, or null. Borrowed: lives as long as the view.
    virtual GridShowData* FindGridShow(int kind) = 0;
    // The item groups in file order. Borrowed: the view owns the groups and their items.
    virtual std::vector<GridShowData*>& GetGridShows() = 0;
    // The view's container as the shared container table holds it, with each listener's data
    // taken from the view's own listener of the same name. Empty (and reported) when the table
    // has no container of the view's container name.
    virtual ContainerData GetContainer() = 0;
    virtual ~IPropEditView() = default;
};

}  // namespace CONFIG
