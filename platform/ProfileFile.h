// Reading INI (profile) files with the semantics of the Windows profile functions.
#pragma once

#include <memory>

#include <siteconfig/CString.h>

namespace TOOLS {

// The integer under [section] key, or `defaultValue` when the file, section, key or value is
// missing or empty. Leading blanks, one sign, "0x" hexadecimal; digits up to the first
// non-digit; wraps modulo 2^32.
int GetPrivateProfileInt(const CString& section, const CString& key, int defaultValue,
                         const CString& file);

// Copies at most bufferSize - 1 characters of the value under [section] key (or of the default
// without its trailing blanks) into `buffer`, terminated, and returns the count copied.
int GetPrivateProfileString(const CString& section, const CString& key, const CString& defaultValue,
                            wchar_t* buffer, int bufferSize, const CString& file);

// One profile file read and parsed once, answering any number of lookups exactly as the two
// functions above do. Use it when a caller reads many keys of the same file.
class CProfileFile {
public:
    CProfileFile();
    CProfileFile(const CProfileFile&) = delete;
    CProfileFile& operator=(const CProfileFile&) = delete;
    ~CProfileFile();

    // Reads and parses `file`, replacing what was loaded before. False (with a diagnostic) when
    // it cannot be read; every lookup then gives its default.
    bool Load(const CString& file);

    // As GetPrivateProfileInt, on the loaded file.
    int GetInt(const CString& section, const CString& key, int defaultValue) const;
    // As GetPrivateProfileString, on the loaded file.
    int GetString(const CString& section, const CString& key, const CString& defaultValue,
                  wchar_t* buffer, int bufferSize) const;

private:
    struct Contents;
    std::unique_ptr<Contents> contents_;
};

}  // namespace TOOLS
