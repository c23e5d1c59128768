#include "Schema.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include <nlohmann/json.hpp>

#include <siteconfig/SiteConfigSchemas.h>
#include "TextOutput.h"

namespace sctool {
namespace {

namespace fs = std::filesystem;

using Json = nlohmann::ordered_json;

Json KindList(const std::vector<CONFIG::SchemaKind>& kinds) {
    Json list = Json::array();
    for (const CONFIG::SchemaKind& kind : kinds) {
        list.push_back({{"kind", kind.name},
                        {"file", kind.fileName},
                        {"root", kind.root},
                        {"appliesTo", kind.appliesTo}});
    }
    return list;
}

bool WriteSchemaFile(const fs::path& folder, const CONFIG::SchemaKind& kind) {
    std::string xsd;
    CONFIG::GetSchema(kind.name, xsd);
    const fs::path path = folder / kind.fileName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << xsd;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int RunSchema(const Options& options, const std::string& kind, const std::string& outputDir) {
    const std::vector<CONFIG::SchemaKind> kinds = CONFIG::GetSchemaKinds();
    const auto known = std::find_if(kinds.begin(), kinds.end(),
                                    [&](const CONFIG::SchemaKind& k) { return k.name == kind; });
    if (!kind.empty() && known == kinds.end()) {
        std::string names;
        for (const CONFIG::SchemaKind& k : kinds) names += (names.empty() ? "" : ", ") + k.name;
        return Fail(kExitUsage, "unknown schema kind \"" + kind + "\"; the kinds are " + names);
    }
    if (!outputDir.empty()) {
        std::error_code ec;
        fs::create_directories(outputDir, ec);
        Json written = Json::array();
        for (const CONFIG::SchemaKind& k : kinds) {
            if (!kind.empty() && k.name != kind) continue;
            if (!WriteSchemaFile(outputDir, k)) {
                return Fail(kExitProblems,
                            (fs::path(outputDir) / k.fileName).string() + ": cannot be written");
            }
            written.push_back((fs::path(outputDir) / k.fileName).string());
        }
        Emit(Json{{"written", std::move(written)}}, options.json);
        return kExitClean;
    }
    if (kind.empty()) {
        Emit(KindList(kinds), options.json);
        return kExitClean;
    }
    std::string xsd;
    CONFIG::GetSchema(kind, xsd);
    // The schema itself, an XML document: as it stands, or as one JSON text under --json.
    if (options.json) {
        Emit(Json{{"kind", kind}, {"file", known->fileName}, {"schema", xsd}}, true);
    } else {
        std::cout << xsd;
    }
    return kExitClean;
}

}  // namespace sctool
