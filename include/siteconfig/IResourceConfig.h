// Resource settings: values by key, relative paths resolved against "AppDir".
#pragma once

#include "siteconfig/CString.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class SITECONFIG_API IResourceConfig {
public:
    // The value of `key`; a value beginning with ".\" is resolved against "AppDir". Empty for
    // an unknown key.
    virtual CString GetValue(const CString& key) const = 0;
    // Replaces the value of an existing key and returns true; false (reported) otherwise.
    virtual bool SetValue(const CString& key, const CString& value) = 0;
    // True when the store holds `key`.
    virtual bool FindVar(const CString& key) = 0;
    virtual ~IResourceConfig() = default;
};

}  // namespace CONFIG
