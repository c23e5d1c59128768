// JSON descriptions of the library's records and tables, in a stable order, so that the same
// configuration always prints the same text.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include <siteconfig/CResourceConfig.h>
#include <siteconfig/SiteConfig.h>
#include <siteconfig/SiteConfigCheck.h>
#include <siteconfig/SiteConfigNames.h>
#include <siteconfig/SiteConfigTables.h>

namespace sctool {

using Json = nlohmann::ordered_json;

// Names of types and codes, through the configuration's own conversions.
class Names {
public:
    explicit Names(CONFIG::IPropertiesConfig& config) : config_(config) {}
    // j[key] = "Wall"; for a value without a name j[key] = null and j[key + "Value"] = the value.
    void PutComponent(Json& j, const std::string& key,
                      KADO::Product::EKADOComponentType type) const;
    void PutParameter(Json& j, const std::string& key,
                      KADO::Product::EKADOParameterType type) const;
    // As a list entry: "Length", or {"name": null, "value": N}.
    Json ParameterEntry(KADO::Product::EKADOParameterType type) const;

private:
    CONFIG::IPropertiesConfig& config_;
};

// The library's names (SiteConfigNames.h), or "#N" for a value without one.
std::string ViewModeName(int mode);
std::string PartKindName(int kind);  // "(none)" for kPartNone
std::string ComponentKindName(int kind);
std::string ItemVarName(int itemVar);  // "" for kItemVarNone

Json DescribeRecord(const Names& names, const CONFIG::PropertyInsData& record);
Json DescribeItem(const Names& names, const CONFIG::GridItemData& item);
Json DescribeContainer(const CONFIG::ContainerData& container);
// Mark classes per view mode and the item groups. The container is left to the caller:
// asking a view for it is a query that reports when the table lacks it.
Json DescribeView(const Names& names, CONFIG::IPropEditView& view);

// The view's container as the application gets it, or null when the container table lacks it
// (the library reports that).
Json DescribeViewContainer(CONFIG::IPropEditView& view);

// Every table of a loaded configuration. Asking each location view for its container reports
// for views whose container the table lacks; callers that want only the tables mute reports.
Json DumpConfig(CONFIG::CPropertiesConfig& config);

// The libraries of a plug-in list, their paths relative to `root` when below it, and the
// component types they gave a graph handler.
Json DescribePlugins(const CONFIG::PluginCheck& plugins, const std::string& root);

// The settings a store holds, by key, with their stored values (paths not resolved).
Json DescribeSettings(const CONFIG::CResourceConfig& settings);

}  // namespace sctool
