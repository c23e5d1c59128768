// The text of a Windows error code, for diagnostics. Included by the Windows files only.
#pragma once

#include <windows.h>

#include <string>

#include "FileSystem.h"

namespace TOOLS {

// The text of a Windows error for a diagnostic, in UTF-8. The errors a configuration reader
// meets every day read as on the other hosts ("No such file or directory"), so that messages and
// the tools that match them do not depend on the host; others take the system's text.
inline std::string WindowsErrorText(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return "No such file or directory";
        case ERROR_ACCESS_DENIED:
            return "Permission denied";
        default:
            break;
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 && text ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    if (message.empty()) return "error " + std::to_string(error);
    return Utf8FromWide(CString(message));
}

// A path in the form the wide file functions take: UTF-16, backslashes as separators.
inline std::wstring WindowsPath(const std::string& utf8Path) {
    std::wstring path(WideFromUtf8(utf8Path).str());
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

}  // namespace TOOLS
