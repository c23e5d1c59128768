#include "FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Encoding.h"
#include "TemporaryFileName.h"

namespace TOOLS {
namespace {

// strerror_r comes in a GNU form (returns the text) and an XSI form (fills the buffer).
[[maybe_unused]] const char* PickErrorText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* PickErrorText(int, const char* buffer) { return buffer; }

std::string ErrorText(int error) {
    char buffer[256] = "unknown error";
    return PickErrorText(strerror_r(error, buffer, sizeof buffer), buffer);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting the result (a deferred write error can show here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

struct CloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool ExistsAsWritten(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// A simple case fold: ASCII, Latin-1, Greek, Cyrillic and full-width Latin letters, and
// whatever towlower knows in the current locale.
wchar_t FoldCase(wchar_t c) {
    if (c < 0x80) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A)) {
        return static_cast<wchar_t>(c + 32);
    }
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    const bool asciiA = std::all_of(a.begin(), a.end(), [](char c) { return (c & 0x80) == 0; });
    const bool asciiB = std::all_of(b.begin(), b.end(), [](char c) { return (c & 0x80) == 0; });
    if (asciiA && asciiB) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return FoldCase(static_cast<wchar_t>(x)) == FoldCase(static_cast<wchar_t>(y));
               });
    }
    const CString wa = WideFromUtf8(a);
    const CString wb = WideFromUtf8(b);
    if (wa.GetLength() != wb.GetLength()) return false;
    for (int i = 0; i < wa.GetLength(); ++i) {
        if (FoldCase(wa[i]) != FoldCase(wb[i])) return false;
    }
    return true;
}

// The entry of `folder` whose name equals `name` without regard to case; the smallest in
// ordinal order when several do. Empty when none does.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name) {
    // Closed however the search ends: a name that cannot be copied throws.
    const std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) return {};
    std::string best;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (EqualIgnoringCase(candidate, name) && (best.empty() || candidate < best)) {
            best = candidate;
        }
    }
    return best;
}

std::string MatchComponentsIgnoringCase(const std::string& path) {
    std::string resolved = path[0] == '/' ? "/" : "";
    size_t pos = 0;
    bool matching = true;
    while (pos < path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        const std::string component = path.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty()) continue;
        const std::string folder = resolved;
        if (!resolved.empty() && resolved.back() != '/') resolved += '/';
        if (!matching || component == "." || component == ".." ||
            ExistsAsWritten(resolved + component)) {
            resolved += component;
            continue;
        }
        const std::string found = FindEntryIgnoringCase(folder, component);
        if (found.empty()) {
            // Nothing further down can exist; keep the rest as written.
            matching = false;
            resolved += component;
        } else {
            resolved += found;
        }
    }
    if (path.back() == '/' && resolved.back() != '/') resolved += '/';
    return resolved;
}

// The path as written, in UTF-8 with this host's separators.
void AssignAsWritten(const CString& path, std::string& native) {
    native.clear();
    AppendUtf8(path.GetString(), static_cast<size_t>(path.GetLength()), native);
    std::replace(native.begin(), native.end(), '\\', '/');
}

std::atomic<unsigned> g_temporaryCounter{0};

bool WriteAll(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

std::string NativePath(const CString& path) {
    std::string native;
    native.reserve(static_cast<size_t>(path.GetLength()));
    AssignAsWritten(path, native);
    if (native.empty()) return native;
    struct stat info;
    if (::stat(native.c_str(), &info) == 0) return native;
    return MatchComponentsIgnoringCase(native);
}

namespace {

// Non-blocking, so that a FIFO or device named by a configuration cannot stall the open.
int OpenForReading(const std::string& nativePath) {
    return ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

bool ReadOpenedFile(const FileDescriptor& file, FileBytes& bytes, std::string& error) {
    struct stat info;
    if (::fstat(file.get(), &info) != 0) {
        error = ErrorText(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = ErrorText(EISDIR);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
        return false;
    }
    const auto tooLarge = [&] {
        error = "file too large (more than " + std::to_string(kMaxFileSize) + " bytes)";
        bytes.clear();
        return false;
    };
    if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > kMaxFileSize) {
        return tooLarge();
    }
    try {
        // One read asking a byte more than the size: a short count at that size is the end, with
        // no read to find it. The size is only a hint, though: a file that grew or shrank
        // meanwhile is read on until a read returns nothing.
        const size_t expected = static_cast<size_t>(info.st_size);
        bytes.Reserve(expected + 1);
        size_t used = 0;
        while (true) {
            if (used == bytes.capacity()) {
                if (used > kMaxFileSize) return tooLarge();
                bytes.Reserve(std::min(2 * used, kMaxFileSize + 1));
            }
            const size_t room = bytes.capacity() - used;
            const ssize_t got = ::read(file.get(), bytes.data() + used, room);
            if (got < 0) {
                if (errno == EINTR) continue;
                error = ErrorText(errno);
                bytes.clear();
                return false;
            }
            used += static_cast<size_t>(got);
            bytes.SetSize(used);
            if (got == 0 || (used == expected && static_cast<size_t>(got) < room)) break;
        }
    } catch (const std::bad_alloc&) {
        error = "file too large to read";
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& nativePath, FileBytes& bytes, std::string& error) {
    bytes.clear();
    const FileDescriptor file(OpenForReading(nativePath));
    if (file.get() < 0) {
        error = ErrorText(errno);
        return false;
    }
    return ReadOpenedFile(file, bytes, error);
}

bool ReadConfigurationFile(const CString& path, FileBytes& bytes, std::string& error) {
    bytes.clear();
    // Converted where the previous path was: a load costs no allocation for its path.
    thread_local std::string asWritten;
    AssignAsWritten(path, asWritten);
    const FileDescriptor file(OpenForReading(asWritten));
    // Whatever stopped the open, NativePath decides as before which file is meant.
    if (file.get() < 0) return ReadWholeFile(NativePath(path), bytes, error);
    return ReadOpenedFile(file, bytes, error);
}

namespace {

// Removes the temporary files of earlier saves of `name` in `folder` whose writer has died (a
// save killed midway). Another process's save in progress, or one of ours, is left alone.
void RemoveAbandonedTemporaries(const std::string& folder, const std::string& name) {
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) return;
    const auto self = static_cast<unsigned long>(::getpid());
    while (const dirent* entry = ::readdir(directory)) {
        unsigned long pid = 0;
        if (!TemporaryFileWriter<char>(entry->d_name, name, pid) || pid == self) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        ::unlink((folder + entry->d_name).c_str());
    }
    ::closedir(directory);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& nativePath, const std::string& bytes,
                           std::string& error) {
    std::string target = nativePath;
    struct stat info;
    // Replace the file a symbolic link points to, and keep the link.
    if (::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(target.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        error = ErrorText(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(info.st_mode)) {
        error = "not a regular file";
        return false;
    }

    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    RemoveAbandonedTemporaries(slash == std::string::npos ? "./" : folder, name);

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = (slash == std::string::npos ? std::string() : folder) +
                    TemporaryFileName<char>(name, static_cast<unsigned long>(::getpid()),
                                            g_temporaryCounter++);
        // 0666 and the process umask, as for any new file; an existing file's mode is copied.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = ErrorText(errno);
        return false;
    }
    FileDescriptor file(fd);
    auto fail = [&](int errorNumber) {
        error = ErrorText(errorNumber);
        ::unlink(temporary.c_str());
        return false;
    };
    if (!WriteAll(file.get(), bytes)) return fail(errno);
    if (exists) {
        if (::fchmod(file.get(), info.st_mode & 07777) != 0) return fail(errno);
        if (::fchown(file.get(), info.st_uid, info.st_gid) != 0) {
            // Not owner of the original: the new file keeps ours, as a plain write would not,
            // but the content matters more than the owner.
        }
    }
    if (::fsync(file.get()) != 0) return fail(errno);
    if (!file.Close()) return fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);

    // Make the rename itself durable; failing that, the file is still complete either way.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
    return true;
}

}  // namespace TOOLS
