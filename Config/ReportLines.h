// The line numbers that identify each check's report. Reports are part of the library's
// observable behaviour: applications and tests tell them apart by source name and line.
#pragma once

#include <siteconfig/CString.h>
#include <siteconfig/SiteConfigCheck.h>

namespace CONFIG {

// Source name of the property configuration, graph handler registry and resource settings.
inline constexpr wchar_t kPropertiesConfigSource[] = L"PropertiesConfig";
// Source name of the property display configuration and its edit views.
inline constexpr wchar_t kPropShowCfgSource[] = L"Config\\PropShowCfg";

namespace line {
// "PropertiesConfig"
constexpr int kInstanceValueSplit = 120;     // instance text not in one or two pieces
constexpr int kGetOrigProperty = 140;        // "CPropertiesConfig::GetOrigProperty Failed:%d"
constexpr int kGetType = 210;                // "CPropertiesConfig::GetType Failed:%s"
constexpr int kGetDefaultName = 230;         // "CPropertiesConfig::GetDefaultName Failed:%d"
constexpr int kShapeChangeNotInPool = 310;   // GetBaseComChangSharpData lookup failed
constexpr int kPluginCountZero = 410;        // "Main"/"FileCount " is zero or missing
constexpr int kPluginEntryEmpty = 420;       // a "List" entry is empty or missing
constexpr int kCreateGraphHandler = 450;     // "create graphhandler failed:%s"
constexpr int kResourceNoAppDir = 520;       // relative value while "AppDir" is absent
constexpr int kResourceEmptyValue = 530;     // GetValue of an empty value
constexpr int kResourceSetUnknownKey = 550;  // SetValue of a key the store lacks
constexpr int kResourceSaveFailed = 570;     // SaveFile failed

// "Config\PropShowCfg"
constexpr int kItemVarUnknown = 282;
constexpr int kPartKindUnknown = 357;
constexpr int kViewModeUnknown = 374;
constexpr int kListenerWithoutKind = 146;
constexpr int kContainerNotInTable = 432;
constexpr int kViewFileNotLoaded = 711;
constexpr int kKindUnknown = 764;
constexpr int kViewParamRepeated = 672;
constexpr int kContainerRepeated = 551;
constexpr int kNoEditViewMatches = 890;
constexpr int kComponentKindMissing = 967;
constexpr int kItemTemplateRepeated = 1036;
constexpr int kItemTemplateMissing = 1050;
}  // namespace line

// What each report means for an author, and how a check of the configuration files it.
struct ReportMeaning {
    const wchar_t* source;
    int line;
    const wchar_t* code;  // the finding's code
    FindingSeverity severity;
    const wchar_t* meaning;
};

// The entry of a report the library raises, or null.
const ReportMeaning* FindReportMeaning(const CString& source, int line);

}  // namespace CONFIG
