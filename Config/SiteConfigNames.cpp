#include <siteconfig/SiteConfigNames.h>

#include "DisplayNames.h"
#include "Tools.h"

namespace CONFIG {
namespace {

template <size_t N>
std::vector<NamedValue> FromCodes(const NamedCode (&table)[N]) {
    std::vector<NamedValue> names;
    names.reserve(N);
    for (const NamedCode& entry : table) names.push_back({CString(entry.name), entry.code});
    return names;
}

}  // namespace

std::vector<NamedValue> GetComponentTypeNames() { return TOOLS::CKADOHandler::GetComponentNames(); }

std::vector<NamedValue> GetParameterTypeNames() { return TOOLS::CKADOHandler::GetParamNames(); }

std::vector<NamedValue> GetViewModeNames() { return FromCodes(kViewModeNames); }

std::vector<NamedValue> GetPartKindNames() { return FromCodes(kPartKindNames); }

std::vector<NamedValue> GetComponentKindNames() { return FromCodes(kComponentKindNames); }

std::vector<NamedValue> GetItemVarNames() { return FromCodes(kItemVarNames); }

}  // namespace CONFIG
