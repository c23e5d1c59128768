#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <siteconfig/SiteConfigReports.h>

namespace fuzzing {
namespace {

CString Wide(const std::string& path) {
    // Scratch paths are ASCII: the temporary folder and names chosen by the targets.
    return CString(std::wstring(path.begin(), path.end()));
}

void RemoveScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchRoot(), ignored);
}

std::string MakeScratchRoot() {
    std::string base = "/dev/shm";
    if (::access(base.c_str(), W_OK) != 0) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = base + "/siteconfig-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("cannot create the scratch folder");
        std::abort();
    }
    return pattern + "/";
}

}  // namespace

bool Quiet() {
    static const bool installed = [] {
        TOOLS::SetLogSink([](const TOOLS::LogReport&) {});
        TOOLS::SetDiagnosticSink([](const TOOLS::Diagnostic&) {});
        return true;
    }();
    return installed;
}

const std::string& ScratchRoot() {
    static const std::string root = [] {
        std::string made = MakeScratchRoot();
        return made;
    }();
    static const bool cleanup = std::atexit(RemoveScratch) == 0;
    (void)cleanup;
    return root;
}

CString ScratchPath(const std::string& relative) { return Wide(ScratchRoot() + relative); }

CString WriteScratch(const std::string& relative, const uint8_t* data, size_t size) {
    const std::filesystem::path full = ScratchRoot() + relative;
    std::error_code ignored;
    std::filesystem::create_directories(full.parent_path(), ignored);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    if (size > 0)
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", full.c_str());
        std::abort();
    }
    return Wide(full.string());
}

CString WriteScratch(const std::string& relative, const std::string& text) {
    return WriteScratch(relative, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

CString EmptyScratchFolder(const std::string& relative) {
    const std::string full = ScratchRoot() + relative;
    std::error_code ignored;
    std::filesystem::remove_all(full, ignored);
    std::filesystem::create_directories(full, ignored);
    return Wide(full + (full.empty() || full.back() == '/' ? "" : "/"));
}

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

}  // namespace fuzzing
