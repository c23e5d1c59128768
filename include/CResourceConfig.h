// The resource settings store.
#pragma once

#include <map>

#include "CString.h"
#include "IResourceConfig.h"
#include "SiteConfigExport.h"

namespace CONFIG {

class SITECONFIG_API CResourceConfig : public IResourceConfig {
public:
    CResourceConfig();
    CResourceConfig(const CResourceConfig& other);
    CResourceConfig& operator=(const CResourceConfig& other);
    ~CResourceConfig() override;

    CString GetValue(const CString& key) const override;
    bool SetValue(const CString& key, const CString& value) override;
    bool FindVar(const CString& key) override;

    // Merges the children of the file's "Config" into the store (tag = key, "val" = value).
    // False, store unchanged, when the file has no "Config".
    bool Load(const CString& path);
    // Writes the store's values into the "val" of the file's existing "Config" children and
    // replaces the file atomically. False when the file has no "Config" or cannot be written.
    bool Save(const CString& path);
    // Sets "AppDir", the base of relative values.
    void SetAppDir(const CString& folder);

private:
    friend class CResourceConfigTestPeer;
    friend class CConfigTables;

    bool IsPath(const CString& value) const;

    std::map<CString, CString> m_mapValue;
};

}  // namespace CONFIG
