#include <dlfcn.h>

#include <map>
#include <string>
#include <vector>

#include <siteconfig/GraphHandler.h>
#include "FileSystem.h"
#include "LogHelper.h"

namespace APP {

// Every library opened so far, by host path, and the order they were opened in so that they
// are closed in reverse.
struct CAppDllInstanceMgr::Libraries {
    std::map<std::string, void*> byPath;
    std::vector<void*> inLoadOrder;
};

CAppDllInstanceMgr::CAppDllInstanceMgr() : libraries_(std::make_unique<Libraries>()) {}

CAppDllInstanceMgr::~CAppDllInstanceMgr() {
    for (auto it = libraries_->inLoadOrder.rbegin(); it != libraries_->inLoadOrder.rend(); ++it) {
        dlclose(*it);
    }
}

void* CAppDllInstanceMgr::GetDllProcAddress(const CString& path, const char* entry) {
    if (!entry || path.IsEmpty()) return nullptr;
    const std::string nativePath = TOOLS::NativePath(path);
    // dlopen("") would hand out the program itself.
    if (nativePath.empty()) return nullptr;

    void* handle = nullptr;
    const auto known = libraries_->byPath.find(nativePath);
    if (known != libraries_->byPath.end()) {
        handle = known->second;
    } else {
        handle = dlopen(nativePath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            TOOLS::ReportDiagnostic(path, 0, 0,
                                    L"cannot load library " + path + L": " +
                                        TOOLS::WideFromUtf8(std::string(why ? why : "")),
                                    L"plugin-load");
            return nullptr;
        }
        libraries_->byPath.emplace(nativePath, handle);
        libraries_->inLoadOrder.push_back(handle);
    }
    dlerror();  // clear, so that a missing entry is not confused with an older failure
    return dlsym(handle, entry);
}

}  // namespace APP
