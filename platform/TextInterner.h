// Sharing identical texts while a configuration loads. The same category, material, control
// and option texts recur thousands of times in a folder; decoded once, every later occurrence
// is a copy of the same CString block (CString is reference counted and copies on write).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include <siteconfig/CString.h>

namespace TOOLS {

class CTextInterner {
public:
    CTextInterner();
    CTextInterner(const CTextInterner&) = delete;
    CTextInterner& operator=(const CTextInterner&) = delete;
    ~CTextInterner();

    // The wide text of UTF-8 `utf8`: the block decoded for the first identical text, when there
    // was one.
    CString Intern(std::string_view utf8);

    // The interner of the calling thread's load, or null.
    static CTextInterner* Current();

private:
    struct Slot {
        const char* utf8 = nullptr;  // in the arena; null for a free slot
        size_t length = 0;
        size_t hash = 0;
        CString text;
    };

    const char* Keep(std::string_view utf8);
    void Grow();

    std::vector<Slot> m_slots;  // open addressing, a power of two in size
    size_t m_used = 0;
    std::vector<std::unique_ptr<char[]>> m_chunks;  // the keys' bytes
    size_t m_chunkLeft = 0;
    char* m_chunkNext = nullptr;
};

// While it lives, the texts that trees decode on the calling thread are shared through one
// interner, which ends with it.
class ScopedTextInterning {
public:
    ScopedTextInterning();
    ScopedTextInterning(const ScopedTextInterning&) = delete;
    ScopedTextInterning& operator=(const ScopedTextInterning&) = delete;
    ~ScopedTextInterning();

private:
    CTextInterner m_interner;
    CTextInterner* m_previous;
};

}  // namespace TOOLS
