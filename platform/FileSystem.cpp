#include "FileSystem.h"

#include <cstring>
#include <new>
#include <utility>

namespace TOOLS {

void FileBytes::Reserve(size_t capacity) {
    if (capacity <= capacity_ && data_) return;
    std::unique_ptr<char[]> grown(new char[capacity + 1]);
    if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
}

bool ReadWholeFile(const std::string& nativePath, std::string& bytes, std::string& error) {
    bytes.clear();
    FileBytes read;
    if (!ReadWholeFile(nativePath, read, error)) return false;
    try {
        bytes.assign(read.data(), read.size());
    } catch (const std::bad_alloc&) {
        error = "file too large to read";
        return false;
    }
    return true;
}

}  // namespace TOOLS
