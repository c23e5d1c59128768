#include <siteconfig/CResourceConfig.h>

#include <memory>

#include "CheckSession.h"
#include "LogHelper.h"
#include "ReportLines.h"
#include "ResourceConfigImpl.h"
#include "XMLTree.h"

namespace CONFIG {

namespace {

constexpr wchar_t kAppDirKey[] = L"AppDir";
constexpr wchar_t kRootTag[] = L"Config";
constexpr wchar_t kValueAttribute[] = L"val";

// A tree on `path` with "Config" current, or null when the file has no "Config" root.
std::unique_ptr<TOOLS::IXMLTree> OpenSettings(const CString& path) {
    // Save writes the tree back, so it keeps comments and layout.
    std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::AllocateForEditing();
    tree->LoadFile(path);
    CCheckSession::CheckLoaded(*tree, FileKind::kResource, path);
    if (!tree->FindElement(kRootTag)) return nullptr;
    return tree;
}

}  // namespace

CResourceConfig::CResourceConfig() : m_pImpl(std::make_unique<CResourceConfigImpl>()) {}

CResourceConfig::CResourceConfig(const CResourceConfig& other)
    : IResourceConfig(other), m_pImpl(std::make_unique<CResourceConfigImpl>(*other.m_pImpl)) {}

CResourceConfig& CResourceConfig::operator=(const CResourceConfig& other) {
    if (this != &other) m_pImpl = std::make_unique<CResourceConfigImpl>(*other.m_pImpl);
    return *this;
}

CResourceConfig::~CResourceConfig() = default;

CString CResourceConfig::GetValue(const CString& key) const {
    const auto found = m_pImpl->m_mapValue.find(key);
    if (found == m_pImpl->m_mapValue.end()) return CString();
    const CString& value = found->second;
    if (CResourceConfigImpl::IsPath(value)) {
        const auto appDir = m_pImpl->m_mapValue.find(kAppDirKey);
        if (appDir != m_pImpl->m_mapValue.end()) return appDir->second + value.Mid(2);
        TOOLS::CLogHelper(kPropertiesConfigSource, line::kResourceNoAppDir).Assert(0);
    }
    TOOLS::CLogHelper(kPropertiesConfigSource, line::kResourceEmptyValue).Assert(!value.IsEmpty());
    return value;
}

bool CResourceConfig::SetValue(const CString& key, const CString& value) {
    const auto found = m_pImpl->m_mapValue.find(key);
    TOOLS::CLogHelper(kPropertiesConfigSource, line::kResourceSetUnknownKey)
        .Assert(found != m_pImpl->m_mapValue.end());
    if (found == m_pImpl->m_mapValue.end()) return false;
    found->second = value;
    return true;
}

bool CResourceConfig::FindVar(const CString& key) { return m_pImpl->m_mapValue.count(key) != 0; }

bool CResourceConfig::Load(const CString& path) {
    const std::unique_ptr<TOOLS::IXMLTree> tree = OpenSettings(path);
    if (!tree) return false;
    const std::uint32_t file = m_pImpl->m_sourceFiles.Index(path);
    int count = 0;
    tree->GetChildCount(count);
    for (int i = 0; i < count; ++i) {
        // A "Config" holding only text counts one child but has no element to enter.
        if (!tree->IntoChildAt(i)) continue;
        CString key;
        tree->GetTagName(key);
        CString value;
        tree->GetAttribute(kValueAttribute, value);
        if (CCheckSession* check = CCheckSession::Current()) check->SettingsKey(path, key, *tree);
        m_pImpl->m_sources[key] = m_pImpl->m_sourceFiles.At(file, *tree);
        m_pImpl->m_mapValue[key] = value;
        tree->OutOfElement();
    }
    return true;
}

bool CResourceConfig::Save(const CString& path) {
    const std::unique_ptr<TOOLS::IXMLTree> tree = OpenSettings(path);
    if (!tree) return false;
    int count = 0;
    tree->GetChildCount(count);
    for (int i = 0; i < count; ++i) {
        if (!tree->IntoChildAt(i)) continue;
        CString key;
        tree->GetTagName(key);
        // An element the store knows nothing of keeps its own value, and one whose value the
        // store holds unchanged is not touched: an absent "val" reads as empty and stays absent.
        const auto found = m_pImpl->m_mapValue.find(key);
        CString current;
        tree->GetAttribute(kValueAttribute, current);
        if (found != m_pImpl->m_mapValue.end() && found->second != current) {
            tree->SetAttribute(kValueAttribute, found->second);
        }
        tree->OutOfElement();
    }
    const bool saved = tree->SaveFile(path);
    TOOLS::CLogHelper(kPropertiesConfigSource, line::kResourceSaveFailed).Assert(saved);
    return saved;
}

void CResourceConfig::SetAppDir(const CString& folder) { m_pImpl->m_mapValue[kAppDirKey] = folder; }

bool CResourceConfigImpl::IsPath(const CString& value) {
    return value.GetLength() >= 3 && value[0] == L'.' && value[1] == L'\\';
}

}  // namespace CONFIG
