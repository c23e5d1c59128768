#include "ReportLines.h"

#include <siteconfig/SiteConfigReports.h>

namespace CONFIG {
namespace {

constexpr ReportMeaning kMeanings[] = {
    {kPropertiesConfigSource, line::kInstanceValueSplit, L"bad-value", FindingSeverity::kError,
     L"instance value holds more than one \"|\""},
    {kPropertiesConfigSource, line::kGetOrigProperty, L"no-definition", FindingSeverity::kError,
     L"no definition for this component type"},
    {kPropertiesConfigSource, line::kGetType, L"unknown-category", FindingSeverity::kError,
     L"no component type has this category"},
    {kPropertiesConfigSource, line::kGetDefaultName, L"no-definition", FindingSeverity::kError,
     L"no default name: the type has no definition"},
    {kPropertiesConfigSource, line::kShapeChangeNotInPool, L"not-in-pool", FindingSeverity::kError,
     L"the shape pool has no such section shape"},
    {kPropertiesConfigSource, line::kPluginCountZero, L"empty-value", FindingSeverity::kWarning,
     L"plug-in list has no \"FileCount\" (or it is 0)"},
    {kPropertiesConfigSource, line::kPluginEntryEmpty, L"empty-value", FindingSeverity::kError,
     L"plug-in list entry is missing or empty"},
    {kPropertiesConfigSource, line::kCreateGraphHandler, L"no-handler", FindingSeverity::kError,
     L"no plug-in registered a graph handler for the type"},
    {kPropertiesConfigSource, line::kResourceNoAppDir, L"missing-value", FindingSeverity::kError,
     L"relative path but no \"AppDir\""},
    {kPropertiesConfigSource, line::kResourceEmptyValue, L"empty-value", FindingSeverity::kWarning,
     L"setting has an empty value"},
    {kPropertiesConfigSource, line::kResourceSetUnknownKey, L"unknown-key", FindingSeverity::kError,
     L"no such setting"},
    {kPropertiesConfigSource, line::kResourceSaveFailed, L"unwritable-file",
     FindingSeverity::kError, L"settings file could not be written"},
    {kPropShowCfgSource, line::kListenerWithoutKind, L"bad-value", FindingSeverity::kError,
     L"listener name has no \"_\" before its part kind"},
    {kPropShowCfgSource, line::kItemVarUnknown, L"unknown-name", FindingSeverity::kError,
     L"\"ItemVar\" is not a known item variable"},
    {kPropShowCfgSource, line::kPartKindUnknown, L"unknown-name", FindingSeverity::kError,
     L"not a part kind (Main, Attach, Struct, LeftRight, Side)"},
    {kPropShowCfgSource, line::kViewModeUnknown, L"unknown-name", FindingSeverity::kError,
     L"not a view name (PouMian, PingMian, LiMian, View3D, SGPaper)"},
    {kPropShowCfgSource, line::kContainerNotInTable, L"dangling-reference", FindingSeverity::kError,
     L"the view's container is not in EnableContainer.xml"},
    {kPropShowCfgSource, line::kContainerRepeated, L"duplicate-id", FindingSeverity::kWarning,
     L"container name defined twice"},
    {kPropShowCfgSource, line::kViewParamRepeated, L"duplicate-id", FindingSeverity::kWarning,
     L"view parameter listed twice"},
    {kPropShowCfgSource, line::kViewFileNotLoaded, L"missing-file", FindingSeverity::kError,
     L"edit-view file is missing or has no \"PropEditView\" root"},
    {kPropShowCfgSource, line::kKindUnknown, L"unknown-name", FindingSeverity::kError,
     L"\"kd\" is not linear, block or region"},
    {kPropShowCfgSource, line::kNoEditViewMatches, L"no-edit-view", FindingSeverity::kWarning,
     L"no edit view matches; the empty fallback view is used"},
    {kPropShowCfgSource, line::kComponentKindMissing, L"no-kind", FindingSeverity::kWarning,
     L"the component type has no kind"},
    {kPropShowCfgSource, line::kItemTemplateRepeated, L"duplicate-id", FindingSeverity::kWarning,
     L"item template id defined twice"},
    {kPropShowCfgSource, line::kItemTemplateMissing, L"dangling-reference", FindingSeverity::kError,
     L"no item template has this id"},
};

}  // namespace

const ReportMeaning* FindReportMeaning(const CString& source, int line) {
    for (const ReportMeaning& entry : kMeanings) {
        if (entry.line == line && source == entry.source) return &entry;
    }
    return nullptr;
}

CString ReportCode(const CString& source, int line) {
    const ReportMeaning* found = FindReportMeaning(source, line);
    return found ? CString(found->code) : CString();
}

CString ExplainReport(const CString& source, int line) {
    const ReportMeaning* found = FindReportMeaning(source, line);
    return found ? CString(found->meaning) : CString();
}

}  // namespace CONFIG
