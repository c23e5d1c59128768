#include "TextInterner.h"

#include <cstdint>
#include <cstring>

namespace TOOLS {
namespace {

thread_local CTextInterner* g_interner = nullptr;

// Texts longer than this are rarely repeated: decoding them is cheaper than keeping a key.
constexpr size_t kMaxInterned = 256;
constexpr size_t kChunkSize = 64 * 1024;

// A hash of short texts, eight bytes at a time, inlined: the table's lookups are most of what
// sharing texts costs.
inline std::uint64_t HashBytes(const char* bytes, size_t length) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ length;
    const char* const end = bytes + length;
    for (; end - bytes > 8; bytes += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes, 8);
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    }
    // The last one to eight bytes in loads of fixed size (a copy of a variable size costs as
    // much as the rest): the last eight, overlapping what came before, in a text that long.
    std::uint64_t word = 0;
    if (length >= 8) {
        std::memcpy(&word, end - 8, 8);
    } else if (length >= 4) {
        std::uint32_t low;
        std::uint32_t high;
        std::memcpy(&low, bytes, 4);
        std::memcpy(&high, end - 4, 4);
        word = (std::uint64_t{high} << 32) | low;
    } else if (length > 0) {
        const auto byte = [](char c) { return std::uint64_t{static_cast<unsigned char>(c)}; };
        word = byte(bytes[0]) << 16 | byte(bytes[length / 2]) << 8 | byte(end[-1]);
    }
    hash = (hash ^ word) * 0xC4CEB9FE1A85EC53ull;
    // The table takes the low bits, which the multiplications leave to the low input bits.
    hash ^= hash >> 32;
    hash *= 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 29);
}

}  // namespace

CTextInterner::CTextInterner() : m_slots(1024) {}

CTextInterner::~CTextInterner() = default;

CTextInterner* CTextInterner::Current() { return g_interner; }

CString CTextInterner::Intern(std::string_view utf8) {
    if (utf8.size() > kMaxInterned) return WideFromUtf8(utf8);
    const size_t hash = static_cast<size_t>(HashBytes(utf8.data(), utf8.size()));
    const size_t mask = m_slots.size() - 1;
    size_t at = hash & mask;
    for (;; at = (at + 1) & mask) {
        Slot& slot = m_slots[at];
        if (!slot.utf8) break;
        if (slot.hash == hash && slot.length == utf8.size() &&
            std::memcmp(slot.utf8, utf8.data(), utf8.size()) == 0) {
            return slot.text;
        }
    }
    CString text = WideFromUtf8(utf8);
    Slot& slot = m_slots[at];
    slot.utf8 = Keep(utf8);
    slot.length = utf8.size();
    slot.hash = hash;
    slot.text = text;
    if (++m_used * 4 > m_slots.size() * 3) Grow();
    return text;
}

const char* CTextInterner::Keep(std::string_view utf8) {
    if (utf8.empty()) return "";
    if (m_chunkLeft < utf8.size()) {
        m_chunks.push_back(std::make_unique<char[]>(kChunkSize));
        m_chunkNext = m_chunks.back().get();
        m_chunkLeft = kChunkSize;
    }
    char* kept = m_chunkNext;
    std::memcpy(kept, utf8.data(), utf8.size());
    m_chunkNext += utf8.size();
    m_chunkLeft -= utf8.size();
    return kept;
}

void CTextInterner::Grow() {
    std::vector<Slot> slots(m_slots.size() * 2);
    const size_t mask = slots.size() - 1;
    for (Slot& slot : m_slots) {
        if (!slot.utf8) continue;
        size_t at = slot.hash & mask;
        while (slots[at].utf8) at = (at + 1) & mask;
        slots[at] = std::move(slot);
    }
    m_slots.swap(slots);
}

ScopedTextInterning::ScopedTextInterning() : m_previous(g_interner) { g_interner = &m_interner; }

ScopedTextInterning::~ScopedTextInterning() { g_interner = m_previous; }

}  // namespace TOOLS
