// Graph handler plug-ins and the host that resolves their entry points.
#pragma once

#include <map>
#include <memory>

#include "siteconfig/CString.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/SiteConfigExport.h"

namespace BASE {

class IGraphHandler {
public:
    virtual ~IGraphHandler() = default;
};

using GraphHandlerFactory = IGraphHandler* (*)();
using GraphHandlerTable = std::map<KADO::Product::EKADOComponentType, GraphHandlerFactory>;
// The plug-in entry point "GraphHandlerCreater": fills the table it is handed.
using GraphHandlerCreaterProc = void (*)(GraphHandlerTable&);

}  // namespace BASE

namespace APP {

class IAppDllInstanceMgr {
public:
    // The address of the exported function `entry` of the library at `path`, or null when the
    // library or the entry cannot be had.
    virtual void* GetDllProcAddress(const CString& path, const char* entry) = 0;
    virtual ~IAppDllInstanceMgr() = default;
};

// A ready host: loads each library once (dlopen, LoadLibraryW on Windows) and keeps every
// library it loaded until it is destroyed.
class SITECONFIG_API CAppDllInstanceMgr : public IAppDllInstanceMgr {
public:
    CAppDllInstanceMgr();
    CAppDllInstanceMgr(const CAppDllInstanceMgr&) = delete;
    CAppDllInstanceMgr& operator=(const CAppDllInstanceMgr&) = delete;
    ~CAppDllInstanceMgr() override;

    void* GetDllProcAddress(const CString& path, const char* entry) override;

private:
    struct Libraries;
    std::unique_ptr<Libraries> libraries_;
};

}  // namespace APP
