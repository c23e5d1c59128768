// Reading INI (profile) files with the semantics of the Windows profile functions.
#pragma once

#include "CString.h"

namespace TOOLS {

// The integer under [section] key, or `defaultValue` when the file, section, key or value is
// missing or empty. Leading blanks, one sign, "0x" hexadecimal; digits up to the first
// non-digit; wraps modulo 2^32.
int GetPrivateProfileInt(const CString& section, const CString& key, int defaultValue,
                         const CString& file);

// Copies at most bufferSize - 1 characters of the value under [section] key (or of the default
// without its trailing blanks) into `buffer`, terminated, and returns the count copied.
int GetPrivateProfileString(const CString& section, const CString& key,
                            const CString& defaultValue, wchar_t* buffer, int bufferSize,
                            const CString& file);

}  // namespace TOOLS
