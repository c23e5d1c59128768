#include "Schema.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include <nlohmann/json.hpp>

#include <siteconfig/SiteConfigSchemas.h>

namespace sctool {
namespace {

namespace fs = std::filesystem;

void ListKinds(const std::vector<CONFIG::SchemaKind>& kinds, bool json) {
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const CONFIG::SchemaKind& kind : kinds) {
            list.push_back({{"kind", kind.name},
                            {"file", kind.fileName},
                            {"root", kind.root},
                            {"appliesTo", kind.appliesTo}});
        }
        std::cout << list.dump(2) << '\n';
        return;
    }
    size_t nameWidth = 0;
    size_t fileWidth = 0;
    for (const CONFIG::SchemaKind& kind : kinds) {
        nameWidth = std::max(nameWidth, kind.name.size());
        fileWidth = std::max(fileWidth, kind.fileName.size());
    }
    for (const CONFIG::SchemaKind& kind : kinds) {
        std::cout << kind.name << std::string(nameWidth + 2 - kind.name.size(), ' ')
                  << kind.fileName << std::string(fileWidth + 2 - kind.fileName.size(), ' ')
                  << "root \"" << kind.root << "\": " << kind.appliesTo << '\n';
    }
}

bool WriteSchemaFile(const fs::path& folder, const CONFIG::SchemaKind& kind) {
    std::string xsd;
    CONFIG::GetSchema(kind.name, xsd);
    const fs::path path = folder / kind.fileName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << xsd;
    out.close();
    if (out) return true;
    std::cerr << "siteconfig: " << path.string() << ": cannot be written\n";
    return false;
}

}  // namespace

int RunSchema(const Options& options, const std::string& kind, const std::string& outputDir) {
    const std::vector<CONFIG::SchemaKind> kinds = CONFIG::GetSchemaKinds();
    const auto known = std::find_if(kinds.begin(), kinds.end(),
                                    [&](const CONFIG::SchemaKind& k) { return k.name == kind; });
    if (!kind.empty() && known == kinds.end()) {
        std::string names;
        for (const CONFIG::SchemaKind& k : kinds) names += (names.empty() ? "" : ", ") + k.name;
        std::cerr << "siteconfig: unknown schema kind \"" << kind << "\"; the kinds are " << names
                  << '\n';
        return kExitUsage;
    }
    if (!outputDir.empty()) {
        std::error_code ec;
        fs::create_directories(outputDir, ec);
        bool written = true;
        for (const CONFIG::SchemaKind& k : kinds) {
            if (kind.empty() || k.name == kind) written = WriteSchemaFile(outputDir, k) && written;
        }
        return written ? kExitClean : kExitProblems;
    }
    if (kind.empty()) {
        ListKinds(kinds, options.json);
        return kExitClean;
    }
    std::string xsd;
    CONFIG::GetSchema(kind, xsd);
    std::cout << xsd;
    return kExitClean;
}

}  // namespace sctool
