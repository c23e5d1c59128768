// The resource settings store.
#pragma once

#include <memory>

#include "siteconfig/CString.h"
#include "siteconfig/IResourceConfig.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class CResourceConfigImpl;

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
    friend class CConfigTables;  // hands out every stored value

    std::unique_ptr<CResourceConfigImpl> m_pImpl;
};

}  // namespace CONFIG
