#include <windows.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <string>

#include "FileSystem.h"
#include "TemporaryFileName.h"
#include "WindowsError.h"

namespace TOOLS {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now, reporting the result.
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE handle_;
};

std::atomic<unsigned> g_temporaryCounter{0};

bool WriteAll(HANDLE file, const std::string& bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr)) return false;
        data += written;
        left -= written;
    }
    return true;
}

}  // namespace

// The file system matches names without regard to case, and takes either separator, so the path
// only changes form: UTF-8 here, UTF-16 with backslashes when it reaches the system.
std::string NativePath(const CString& path) { return Utf8FromWide(path); }

bool ReadWholeFile(const std::string& nativePath, FileBytes& bytes, std::string& error) {
    bytes.clear();
    const std::wstring path = WindowsPath(nativePath);
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD code = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        // A folder cannot be opened this way; say so rather than "access denied".
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            error = "Is a directory";
        } else {
            error = WindowsErrorText(code);
        }
        return false;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        error = "not a regular file";
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) {
        error = WindowsErrorText(GetLastError());
        return false;
    }
    const auto tooLarge = [&] {
        error = "file too large (more than " + std::to_string(kMaxFileSize) + " bytes)";
        bytes.clear();
        return false;
    };
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > kMaxFileSize) {
        return tooLarge();
    }
    try {
        // One read asking a byte more than the size: a short count at that size is the end, with
        // no read to find it. The size is only a hint, though: a file that grew or shrank
        // meanwhile is read on until a read returns nothing.
        const size_t expected = static_cast<size_t>(size.QuadPart);
        bytes.Reserve(expected + 1);
        size_t used = 0;
        while (true) {
            if (used == bytes.capacity()) {
                if (used > kMaxFileSize) return tooLarge();
                bytes.Reserve(std::min(2 * used, kMaxFileSize + 1));
            }
            const size_t room = bytes.capacity() - used;
            const DWORD request = room > 0x40000000 ? 0x40000000 : static_cast<DWORD>(room);
            DWORD got = 0;
            if (!ReadFile(file.get(), bytes.data() + used, request, &got, nullptr)) {
                error = WindowsErrorText(GetLastError());
                bytes.clear();
                return false;
            }
            used += got;
            bytes.SetSize(used);
            if (got == 0 || (used == expected && got < request)) break;
        }
    } catch (const std::bad_alloc&) {
        error = "file too large to read";
        bytes.clear();
        return false;
    }
    return true;
}

// Windows finds a path without regard to case itself: there is no lookup to save.
bool ReadConfigurationFile(const CString& path, FileBytes& bytes, std::string& error) {
    return ReadWholeFile(NativePath(path), bytes, error);
}

namespace {

// Removes the temporary files of earlier saves of `name` in `folder` whose writer has died (a
// save killed midway). Another process's save in progress, or one of ours, is left alone.
void RemoveAbandonedTemporaries(const std::wstring& folder, const std::wstring& name) {
    WIN32_FIND_DATAW found;
    const std::wstring pattern = folder + L"." + name + L".tmp*";
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    const unsigned long self = GetCurrentProcessId();
    do {
        unsigned long pid = 0;
        if (!TemporaryFileWriter<wchar_t>(found.cFileName, name, pid) || pid == self) continue;
        if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid))) {
            const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
            CloseHandle(process);
            if (running) continue;
        } else if (GetLastError() != ERROR_INVALID_PARAMETER) {
            continue;  // a process we may not open is alive
        }
        DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& nativePath, const std::string& bytes,
                           std::string& error) {
    const std::wstring target = WindowsPath(nativePath);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "Is a directory";
        return false;
    }

    const size_t slash = target.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    RemoveAbandonedTemporaries(folder, name);

    std::wstring temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD code = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary =
            folder + TemporaryFileName<wchar_t>(name, GetCurrentProcessId(), g_temporaryCounter++);
        handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        code = GetLastError();
        if (handle == INVALID_HANDLE_VALUE && code != ERROR_FILE_EXISTS &&
            code != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        error = WindowsErrorText(code);
        return false;
    }
    FileHandle file(handle);
    auto fail = [&](DWORD failure) {
        error = WindowsErrorText(failure);
        if (file.valid()) file.Close();
        DeleteFileW(temporary.c_str());
        return false;
    };
    if (!WriteAll(file.get(), bytes)) return fail(GetLastError());
    if (!FlushFileBuffers(file.get())) return fail(GetLastError());
    if (!file.Close()) return fail(GetLastError());
    // The new file keeps the old one's attributes (read-only, hidden) as an edit in place would.
    if (exists) SetFileAttributesW(temporary.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(GetLastError());
    }
    return true;
}

}  // namespace TOOLS
