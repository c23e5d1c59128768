#include "ReportLines.h"

#include <siteconfig/SiteConfigReports.h>

namespace CONFIG {
namespace {

struct ReportMeaning {
    const wchar_t* source;
    int line;
    const wchar_t* meaning;
};

constexpr ReportMeaning kMeanings[] = {
    {kPropertiesConfigSource, line::kInstanceValueSplit,
     L"instance value holds more than one \"|\""},
    {kPropertiesConfigSource, line::kGetOrigProperty, L"no definition for this component type"},
    {kPropertiesConfigSource, line::kGetType, L"no component type has this category"},
    {kPropertiesConfigSource, line::kGetDefaultName,
     L"no default name: the type has no definition"},
    {kPropertiesConfigSource, line::kShapeChangeNotInPool,
     L"the shape pool has no such section shape"},
    {kPropertiesConfigSource, line::kPluginCountZero,
     L"plug-in list has no \"FileCount\" (or it is 0)"},
    {kPropertiesConfigSource, line::kPluginEntryEmpty, L"plug-in list entry is missing or empty"},
    {kPropertiesConfigSource, line::kCreateGraphHandler,
     L"no plug-in registered a graph handler for the type"},
    {kPropertiesConfigSource, line::kResourceNoAppDir, L"relative path but no \"AppDir\""},
    {kPropertiesConfigSource, line::kResourceEmptyValue, L"setting has an empty value"},
    {kPropertiesConfigSource, line::kResourceSetUnknownKey, L"no such setting"},
    {kPropertiesConfigSource, line::kResourceSaveFailed, L"settings file could not be written"},
    {kPropShowCfgSource, line::kListenerWithoutKind,
     L"listener name has no \"_\" before its part kind"},
    {kPropShowCfgSource, line::kItemVarUnknown, L"\"ItemVar\" is not a known item variable"},
    {kPropShowCfgSource, line::kPartKindUnknown,
     L"not a part kind (Main, Attach, Struct, LeftRight, Side)"},
    {kPropShowCfgSource, line::kViewModeUnknown,
     L"not a view name (PouMian, PingMian, LiMian, View3D, SGPaper)"},
    {kPropShowCfgSource, line::kContainerNotInTable,
     L"the view's container is not in EnableContainer.xml"},
    {kPropShowCfgSource, line::kContainerRepeated, L"container name defined twice"},
    {kPropShowCfgSource, line::kViewParamRepeated, L"view parameter listed twice"},
    {kPropShowCfgSource, line::kViewFileNotLoaded,
     L"edit-view file is missing or has no \"PropEditView\" root"},
    {kPropShowCfgSource, line::kKindUnknown, L"\"kd\" is not linear, block or region"},
    {kPropShowCfgSource, line::kNoEditViewMatches,
     L"no edit view matches; the empty fallback view is used"},
    {kPropShowCfgSource, line::kComponentKindMissing, L"the component type has no kind"},
    {kPropShowCfgSource, line::kItemTemplateRepeated, L"item template id defined twice"},
    {kPropShowCfgSource, line::kItemTemplateMissing, L"no item template has this id"},
};

}  // namespace

CString ExplainReport(const CString& source, int line) {
    for (const ReportMeaning& entry : kMeanings) {
        if (entry.line == line && source == entry.source) return CString(entry.meaning);
    }
    return CString();
}

}  // namespace CONFIG
