#include "Layout.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace sctool {
namespace {

namespace fs = std::filesystem;

std::string& ExecutablePathStorage() {
    static std::string path;
    return path;
}

std::string WithSeparator(std::string path) {
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    return path;
}

}  // namespace

Layout::Layout()
    : parts{
          {"--definitions", "Definitions/", true, "property definitions (*_POOL.xml)", {}},
          {"--display", "Display/", true, "display configuration (ItemTemplate.xml, ...)", {}},
          {"--templates", "Templates/", true, "template instances (filelist.cfg)", {}},
          {"--models", "Models/", true, "property models (filelist.cfg)", {}},
          {"--graph-lib1", "GraphLibs/GraphLib1.xml", false, "first graph library", {}},
          {"--graph-lib2", "GraphLibs/GraphLib2.xml", false, "second graph library", {}},
          {"--shape-pool", "ShapePool/", true, "section-shape pool (*.xml)", {}},
          {"--plugins", "Plugins.ini", false, "plug-in list", {}},
          {"--resource", "Resource.xml", false, "resource settings", {}},
      } {}

Layout::Part& Layout::part(const char* flag) {
    for (Part& p : parts) {
        if (std::string(p.flag) == flag) return p;
    }
    throw std::logic_error(std::string("no layout part ") + flag);
}

const Layout::Part& Layout::part(const char* flag) const {
    return const_cast<Layout*>(this)->part(flag);
}

std::string Layout::Path(const char* flag) const {
    const Part& p = part(flag);
    std::string path = p.override.empty() ? WithSeparator(root) + p.defaultPath : p.override;
    return p.folder ? WithSeparator(path) : path;
}

CString Layout::PathW(const char* flag) const { return TOOLS::WideFromUtf8(Path(flag)); }

std::string Layout::ResolvedAppDir() const {
    return appDir.empty() ? DefaultAppDir() : WithSeparator(appDir);
}

std::string DefaultAppDir() {
    const std::string folder = ExecutableFolder();
    std::error_code ec;
    const fs::path installed = fs::path(folder) / SITECONFIG_INSTALLED_APP_DIR;
    if (fs::is_directory(installed, ec)) {
        return WithSeparator(fs::weakly_canonical(installed, ec).string());
    }
    return folder;
}

std::string DefaultAppDirDescription() {
    return std::string("BINDIR/") + SITECONFIG_INSTALLED_APP_DIR +
           " when installed, else the folder of this executable";
}

void SetExecutablePath(const char* argv0) { ExecutablePathStorage() = argv0 ? argv0 : ""; }

std::string ExecutableFolder() {
    std::error_code ec;
    fs::path exe;
#if defined(__linux__)
    exe = fs::read_symlink("/proc/self/exe", ec);
#endif
    if (exe.empty() || ec) exe = fs::absolute(ExecutablePathStorage(), ec);
    return WithSeparator(exe.parent_path().string());
}

std::unique_ptr<CONFIG::CPropertiesConfig> LoadProperties(const Layout& layout) {
    return std::make_unique<CONFIG::CPropertiesConfig>(
        layout.PathW("--definitions"), layout.PathW("--display"), layout.PathW("--templates"),
        layout.PathW("--models"), layout.PathW("--graph-lib1"), layout.PathW("--graph-lib2"),
        layout.PathW("--shape-pool"));
}

}  // namespace sctool
