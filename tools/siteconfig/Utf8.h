// Conversions between the library's wide strings and the UTF-8 the command reads and writes.
#pragma once

#include <string>
#include <string_view>

#include <siteconfig/SiteConfig.h>

namespace sctool {

// Invalid code units (lone surrogates, values past U+10FFFF) become U+FFFD.
std::string ToUtf8(std::wstring_view text);
inline std::string ToUtf8(const std::wstring& text) { return ToUtf8(std::wstring_view(text)); }
inline std::string ToUtf8(const CString& text) { return ToUtf8(text.str()); }
// Invalid byte sequences become U+FFFD.
CString FromUtf8(const std::string& text);

}  // namespace sctool
