// A whole configuration folder written from the input, then read by the property
// configuration's constructor and asked every question.
//
// The input is a sequence of files, each introduced by a line "@@ <relative path>" (see
// scripts/fuzz.sh, which packs the example folders this way). A path must stay inside one of the
// configuration's folders; any other name is mapped onto one of the usual file names, so that
// mutated names still land somewhere the library reads. The first two files under "GraphLibs/"
// are the two graph libraries.
#include <filesystem>
#include <string>
#include <vector>

#include <siteconfig/CPropertiesConfig.h>
#include "FuzzSupport.h"

namespace {

const char* const kFolders[] = {"Definitions/", "Display/",   "Templates/",
                                "Models/",      "GraphLibs/", "ShapePool/"};

const char* const kUsualNames[] = {"Definitions/Wall_POOL.xml",
                                   "Definitions/Beam_POOL.xml",
                                   "Display/ItemTemplate.xml",
                                   "Display/GridTemplate.xml",
                                   "Display/PropertyLocShow.xml",
                                   "Display/EnableContainer.xml",
                                   "Display/wall.xml",
                                   "Templates/filelist.cfg",
                                   "Templates/wall.xml",
                                   "Models/filelist.cfg",
                                   "Models/model.xml",
                                   "GraphLibs/site.xml",
                                   "ShapePool/wall_200.xml",
                                   "ShapePool/wall_300.xml"};

bool InsideConfiguration(const std::string& name) {
    if (name.empty() || name.size() > 120 || name.back() == '/') return false;
    bool known = false;
    for (const char* folder : kFolders) known = known || name.rfind(folder, 0) == 0;
    if (!known) return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == '\\' || c == ':' || c == 0x7F) return false;
    }
    return true;
}

std::string FileName(const std::string& name) {
    if (InsideConfiguration(name)) return name;
    size_t hash = 0;
    for (unsigned char c : name) hash = hash * 31 + c;
    return kUsualNames[hash % std::size(kUsualNames)];
}

struct File {
    std::string name;
    const uint8_t* data;
    size_t size;
};

std::vector<File> Unpack(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<File> files;
    size_t header = text.rfind("@@ ", 0) == 0 ? 0 : text.find("\n@@ ");
    if (header != std::string::npos && header != 0) ++header;
    while (header != std::string::npos) {
        const size_t nameStart = header + 3;
        size_t nameEnd = text.find('\n', nameStart);
        if (nameEnd == std::string::npos) nameEnd = text.size();
        const size_t contentStart = std::min(nameEnd + 1, text.size());
        size_t next = text.find("\n@@ ", contentStart == 0 ? 0 : contentStart - 1);
        const size_t contentEnd = next == std::string::npos ? text.size() : next;
        files.push_back({text.substr(nameStart, nameEnd - nameStart), data + contentStart,
                         contentEnd > contentStart ? contentEnd - contentStart : 0});
        header = next == std::string::npos ? next : next + 1;
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzzing::ScratchPath;
    static const bool quiet = fuzzing::Quiet();
    (void)quiet;
    fuzzing::EmptyScratchFolder("site");
    for (const char* folder : kFolders) fuzzing::EmptyScratchFolder(std::string("site/") + folder);
    std::vector<std::string> graphLibraries;
    for (const File& file : Unpack(data, size)) {
        const std::string name = FileName(file.name);
        const std::string full = fuzzing::ScratchRoot() + "site/" + name;
        std::error_code error;
        if (std::filesystem::is_directory(full, error)) continue;  // "a/b" after "a/b/c"
        std::filesystem::create_directories(std::filesystem::path(full).parent_path(), error);
        if (error) continue;  // "a/b/c" after "a/b"
        fuzzing::WriteScratch("site/" + name, file.data, file.size);
        if (name.rfind("GraphLibs/", 0) == 0 && graphLibraries.size() < 2) {
            graphLibraries.push_back(name);
        }
    }
    while (graphLibraries.size() < 2) graphLibraries.push_back("GraphLibs/none.xml");
    CONFIG::CPropertiesConfig config(ScratchPath("site/Definitions/"), ScratchPath("site/Display/"),
                                     ScratchPath("site/Templates/"), ScratchPath("site/Models/"),
                                     ScratchPath("site/" + graphLibraries[0]),
                                     ScratchPath("site/" + graphLibraries[1]),
                                     ScratchPath("site/ShapePool/"));
    fuzzing::QueryProperties(config);
    return 0;
}
