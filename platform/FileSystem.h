// Paths authored on Windows, read on this host; whole-file reads and atomic replacement.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include <siteconfig/CString.h>

namespace TOOLS {

// The host path for a configuration path: backslashes become separators, and when the path
// does not exist as written each component is matched without regard to letter case (ASCII,
// Latin-1, Greek, Cyrillic, full-width letters), preferring the ordinally smallest of several
// matches. Components that match nothing are kept as written, so a file about to be created keeps
// its name. A path that exists as written costs one stat.
std::string NativePath(const CString& path);

// Configuration files are small. A larger file is refused unread, so that no file can make a
// reader take unbounded time or memory (a parsed document needs many times its size).
constexpr size_t kMaxFileSize = 32 * 1024 * 1024;

// The bytes of a file read whole, and one writable byte past them, so that a parser can end the
// text with a NUL in place. Unlike a string's, the room is not zero-filled before the read
// overwrites it.
class FileBytes {
public:
    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    void clear() {
        data_.reset();
        size_ = 0;
        capacity_ = 0;
    }
    // Room for `capacity` bytes and the one past them; the bytes held are kept.
    void Reserve(size_t capacity);
    void SetSize(size_t size) { size_ = size; }  // at most capacity()

private:
    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// Reads the whole file into `bytes`. False when it cannot be opened or read, is not a regular
// file (a FIFO or device is refused without blocking), or is larger than kMaxFileSize; `error`
// then says why ("No such file or directory", "Is a directory", "not a regular file", "file too
// large ..."), and `bytes` is empty.
bool ReadWholeFile(const std::string& nativePath, FileBytes& bytes, std::string& error);
bool ReadWholeFile(const std::string& nativePath, std::string& bytes, std::string& error);

// ReadWholeFile(NativePath(path)), except that a path that exists as written costs no stat: it
// is opened as written, and looked up without regard to case only when that open fails.
bool ReadConfigurationFile(const CString& path, FileBytes& bytes, std::string& error);

// Writes `bytes` to a temporary file beside `nativePath`, flushes it, and renames it over
// `nativePath`. An existing file's permissions are kept, and a symbolic link is kept and its
// target replaced. On any failure the original is left as it was, no temporary file remains,
// and `error` says why.
bool ReplaceFileAtomically(const std::string& nativePath, const std::string& bytes,
                           std::string& error);

// The diagnostic code of a failed read whose `error` ReadWholeFile gave: "missing-file" when
// there is no such file (both hosts say so in the same words), else "unreadable-file".
inline const wchar_t* ReadFailureCode(const std::string& error) {
    return error == "No such file or directory" ? L"missing-file" : L"unreadable-file";
}

// The UTF-8 <-> wide conversions of CString.h, for a character buffer.
inline CString WideFromUtf8(const char* text, size_t length) {
    return WideFromUtf8(std::string_view(text, length));
}

}  // namespace TOOLS
