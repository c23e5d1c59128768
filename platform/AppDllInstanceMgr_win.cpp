#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <siteconfig/GraphHandler.h>
#include "FileSystem.h"
#include "LogHelper.h"
#include "WindowsError.h"

namespace APP {

// Every library loaded so far, by path, and the order they were loaded in so that they are
// freed in reverse.
struct CAppDllInstanceMgr::Libraries {
    std::map<std::wstring, HMODULE> byPath;
    std::vector<HMODULE> inLoadOrder;
};

CAppDllInstanceMgr::CAppDllInstanceMgr() : libraries_(std::make_unique<Libraries>()) {}

CAppDllInstanceMgr::~CAppDllInstanceMgr() {
    for (auto it = libraries_->inLoadOrder.rbegin(); it != libraries_->inLoadOrder.rend(); ++it) {
        FreeLibrary(*it);
    }
}

void* CAppDllInstanceMgr::GetDllProcAddress(const CString& path, const char* entry) {
    if (!entry || path.IsEmpty()) return nullptr;
    // LoadLibraryW wants backslashes: with forward slashes it may miss a library named by path.
    const std::wstring windowsPath = TOOLS::WindowsPath(TOOLS::NativePath(path));

    HMODULE module = nullptr;
    const auto known = libraries_->byPath.find(windowsPath);
    if (known != libraries_->byPath.end()) {
        module = known->second;
    } else {
        // No error dialog box for a missing or broken library: the caller hears null instead.
        const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        module = LoadLibraryW(windowsPath.c_str());
        const DWORD error = GetLastError();
        SetErrorMode(previousMode);
        if (!module) {
            TOOLS::ReportDiagnostic(path, 0, 0,
                                    L"cannot load library " + path + L": " +
                                        TOOLS::WideFromUtf8(TOOLS::WindowsErrorText(error)),
                                    L"plugin-load");
            return nullptr;
        }
        libraries_->byPath.emplace(windowsPath, module);
        libraries_->inLoadOrder.push_back(module);
    }
    return reinterpret_cast<void*>(GetProcAddress(module, entry));
}

}  // namespace APP
