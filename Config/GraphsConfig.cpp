#include <siteconfig/CGraphsConfig.h>

#include <cstring>

#include "GraphsConfigImpl.h"
#include "LogHelper.h"
#include "ProfileFile.h"
#include "ReportLines.h"

namespace CONFIG {

namespace {

constexpr char kCreaterEntry[] = "GraphHandlerCreater";
// A "List" value reaches the path through a buffer of this many characters, terminator included.
constexpr int kListValueBuffer = 256;
// No plug-in list names more libraries than this; a larger "FileCount " is a damaged file, and
// reading it to the end would ask the host for billions of paths.
constexpr int kMaxPlugins = 4096;

BASE::GraphHandlerCreaterProc AsCreater(void* address) {
    BASE::GraphHandlerCreaterProc creater;
    static_assert(sizeof(creater) == sizeof(address), "entry addresses are code pointers");
    std::memcpy(&creater, &address, sizeof(creater));
    return creater;
}

}  // namespace

CGraphsConfig::CGraphsConfig(const CString& appDir, const CString& listFile,
                             APP::IAppDllInstanceMgr* host)
    : m_pImpl(std::make_unique<CGraphsConfigImpl>()) {
    std::vector<CString> paths;
    CGraphsConfigImpl::GetAllPlugDllPath(appDir, listFile, paths);
    if (!host) return;
    for (const CString& path : paths) {
        void* address = host->GetDllProcAddress(path, kCreaterEntry);
        if (!address) continue;
        BASE::GraphHandlerTable table;
        AsCreater(address)(table);
        // Range insertion keeps every type already held: the earlier library wins.
        m_pImpl->m_mapFactory.insert(table.begin(), table.end());
    }
}

CGraphsConfig::CGraphsConfig(const CGraphsConfig& other)
    : IGraphsConfig(other), m_pImpl(std::make_unique<CGraphsConfigImpl>(*other.m_pImpl)) {}

CGraphsConfig& CGraphsConfig::operator=(const CGraphsConfig& other) {
    if (this != &other) m_pImpl = std::make_unique<CGraphsConfigImpl>(*other.m_pImpl);
    return *this;
}

CGraphsConfig::~CGraphsConfig() = default;

BASE::IGraphHandler* CGraphsConfig::CreateGraphHandler(KADO::Product::EKADOComponentType type) {
    const auto found = m_pImpl->m_mapFactory.find(type);
    if (found == m_pImpl->m_mapFactory.end()) {
        CString number;
        number.Format(L"%d", static_cast<int>(type));
        TOOLS::CLogHelper(kPropertiesConfigSource, line::kCreateGraphHandler)
            .AssertFormat(0, L"create graphhandler failed:%s", number);
        return nullptr;
    }
    // A plug-in that registered a type without a factory makes no handler for it.
    return found->second ? found->second() : nullptr;
}

void CGraphsConfigImpl::GetAllPlugDllPath(const CString& appDir, const CString& listFile,
                                          std::vector<CString>& paths) {
    TOOLS::ScopedLogContext context(listFile);
    TOOLS::CProfileFile list;
    list.Load(listFile);
    int count = list.GetInt(L"Main", L"FileCount ", 0);
    TOOLS::CLogHelper(kPropertiesConfigSource, line::kPluginCountZero).Assert(count != 0);
    if (count > kMaxPlugins) {
        CString message;
        message.Format(L"%s names %d plug-in libraries; only the first %d are read", listFile,
                       count, kMaxPlugins);
        TOOLS::ReportDiagnostic(listFile, 0, 0, message, L"too-many");
        count = kMaxPlugins;
    }
    for (int i = 0; i < count; ++i) {
        CString key;
        key.Format(L"%i", i);
        wchar_t value[kListValueBuffer] = {};
        list.GetString(L"List", key, L"", value, kListValueBuffer);
        TOOLS::CLogHelper(kPropertiesConfigSource, line::kPluginEntryEmpty).Assert(value[0] != 0);
        paths.push_back(appDir + value);
    }
}

}  // namespace CONFIG
