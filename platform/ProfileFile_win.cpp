#include <windows.h>
// <windows.h> maps these names to its A or W functions; here they name our own.
#undef GetPrivateProfileInt
#undef GetPrivateProfileString

#include <algorithm>
#include <string>

#include "FileSystem.h"
#include "LogHelper.h"
#include "ProfileFile.h"
#include "WindowsError.h"

// Windows has the profile functions themselves: every lookup goes to GetPrivateProfileIntW and
// GetPrivateProfileStringW, so the plug-in list is read exactly as the application's own INI
// files are (the system's encodings, quoting and caching included). This file only adds the
// diagnostic for a file that cannot be read, which the system functions pass over silently.

namespace TOOLS {
namespace {

// A name without a folder is looked for in the Windows folder by the profile functions; only a
// path that names a folder can be checked here.
bool NamesFolder(const std::wstring& path) {
    return path.find_first_of(L"\\/:") != std::wstring::npos;
}

// True when `file` can be read; otherwise reports why as a diagnostic.
bool CheckReadable(const CString& file) {
    const std::wstring path = WindowsPath(NativePath(file));
    if (path.empty()) {
        ReportDiagnostic(file, 0, 0, L"cannot read " + file + L": no file named", L"missing-file");
        return false;
    }
    if (!NamesFolder(path)) return true;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const std::string why = attributes == INVALID_FILE_ATTRIBUTES
                                    ? WindowsErrorText(GetLastError())
                                    : std::string("Is a directory");
        ReportDiagnostic(file, 0, 0, L"cannot read " + file + L": " + WideFromUtf8(why),
                         ReadFailureCode(why));
        return false;
    }
    return true;
}

int ReadInt(const CString& section, const CString& key, int defaultValue, const CString& file) {
    const std::wstring path = WindowsPath(NativePath(file));
    return static_cast<int>(
        GetPrivateProfileIntW(section.GetString(), key.GetString(), defaultValue, path.c_str()));
}

int ReadString(const CString& section, const CString& key, const CString& defaultValue,
               wchar_t* buffer, int bufferSize, const CString& file) {
    if (!buffer || bufferSize <= 0) return 0;
    const std::wstring path = WindowsPath(NativePath(file));
    return static_cast<int>(GetPrivateProfileStringW(section.GetString(), key.GetString(),
                                                     defaultValue.GetString(), buffer,
                                                     static_cast<DWORD>(bufferSize), path.c_str()));
}

// Copies the default as the profile functions would for a file that cannot be read: trailing
// blanks removed, cut to the buffer.
int CopyDefault(const CString& defaultValue, wchar_t* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return 0;
    std::wstring text(defaultValue.str());
    while (!text.empty() && text.back() == L' ') text.pop_back();
    const size_t count = std::min(text.size(), static_cast<size_t>(bufferSize) - 1);
    text.copy(buffer, count);
    buffer[count] = L'\0';
    return static_cast<int>(count);
}

}  // namespace

// The loaded file is the path itself: the system reads and caches the file, and each lookup
// asks it. A file that could not be read answers every lookup with the default.
struct CProfileFile::Contents {
    CString file;
    bool loaded = false;
};

CProfileFile::CProfileFile() : contents_(std::make_unique<Contents>()) {}
CProfileFile::~CProfileFile() = default;

bool CProfileFile::Load(const CString& file) {
    contents_ = std::make_unique<Contents>();
    if (!CheckReadable(file)) return false;
    contents_->file = file;
    contents_->loaded = true;
    return true;
}

int CProfileFile::GetInt(const CString& section, const CString& key, int defaultValue) const {
    if (!contents_->loaded) return defaultValue;
    return ReadInt(section, key, defaultValue, contents_->file);
}

int CProfileFile::GetString(const CString& section, const CString& key, const CString& defaultValue,
                            wchar_t* buffer, int bufferSize) const {
    if (!contents_->loaded) return CopyDefault(defaultValue, buffer, bufferSize);
    return ReadString(section, key, defaultValue, buffer, bufferSize, contents_->file);
}

int GetPrivateProfileInt(const CString& section, const CString& key, int defaultValue,
                         const CString& file) {
    CheckReadable(file);
    return ReadInt(section, key, defaultValue, file);
}

int GetPrivateProfileString(const CString& section, const CString& key, const CString& defaultValue,
                            wchar_t* buffer, int bufferSize, const CString& file) {
    CheckReadable(file);
    return ReadString(section, key, defaultValue, buffer, bufferSize, file);
}

}  // namespace TOOLS
