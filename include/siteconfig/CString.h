// CString: the wide, reference-counted string of every interface, and CStringArray.
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "siteconfig/SiteConfigExport.h"

class CString;

namespace TOOLS {
namespace detail {
// One argument of a type-safe format call. CString never travels through C varargs.
class SITECONFIG_API FormatArg {
public:
    enum class Kind { kText, kSigned, kUnsigned, kChar };
    FormatArg(const CString& s);
    FormatArg(const wchar_t* s) : kind_(Kind::kText), text_(s ? s : L"") {}
    FormatArg(const std::wstring& s) : kind_(Kind::kText), text_(s.c_str()) {}
    FormatArg(wchar_t c) : kind_(Kind::kChar), u_(static_cast<std::uint32_t>(c)) {}
    FormatArg(int v) : kind_(Kind::kSigned), i_(v) {}
    FormatArg(long v) : kind_(Kind::kSigned), i_(v) {}
    FormatArg(long long v) : kind_(Kind::kSigned), i_(v) {}
    FormatArg(unsigned v) : kind_(Kind::kUnsigned), u_(v) {}
    FormatArg(unsigned long v) : kind_(Kind::kUnsigned), u_(v) {}
    FormatArg(unsigned long long v) : kind_(Kind::kUnsigned), u_(v) {}
    template <typename E, typename = std::enable_if_t<std::is_enum<E>::value>>
    FormatArg(E v) : kind_(Kind::kSigned), i_(static_cast<long long>(v)) {}

    Kind kind() const { return kind_; }
    const wchar_t* text() const { return text_; }
    long long as_signed() const { return kind_ == Kind::kSigned ? i_ : static_cast<long long>(u_); }
    unsigned long long as_unsigned() const {
        return kind_ == Kind::kSigned ? static_cast<unsigned long long>(i_) : u_;
    }

private:
    Kind kind_;
    const wchar_t* text_ = L"";
    long long i_ = 0;
    unsigned long long u_ = 0;
};
}  // namespace detail
}  // namespace TOOLS

// A wide string with cheap copies: copies share one buffer (a reference-counted block holding
// the characters) until one of them is changed. Comparisons are ordinal, code unit by code unit.
// The count is atomic, so copies of one string may be read, changed and destroyed on different
// threads at once; one CString object itself needs outside synchronisation while a thread
// changes it.
class SITECONFIG_API CString {
public:
    CString() noexcept = default;
    CString(const wchar_t* s);  // NOLINT(google-explicit-constructor)
    CString(const wchar_t* s, int length);
    CString(const std::wstring& s);  // NOLINT(google-explicit-constructor)
    explicit CString(std::wstring_view s);
    CString(wchar_t ch, int repeat);
    // Shares the other's buffer, unless that buffer is out for writing (GetBufferSetLength
    // before ReleaseBuffer): then the copy gets a buffer of its own.
    CString(const CString& other) : rep_(other.rep_) {
        if (rep_ && rep_->bufferOut) {
            rep_ = nullptr;
            Append(other.GetString(), other.GetLength());
        } else {
            Retain();
        }
    }
    CString(CString&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }
    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    ~CString() { DropReference(); }

    const wchar_t* GetString() const { return rep_ ? rep_->text : L""; }
    operator const wchar_t*() const { return GetString(); }  // NOLINT
    int GetLength() const { return rep_ ? rep_->length : 0; }
    bool IsEmpty() const { return GetLength() == 0; }
    void Empty() { *this = CString(); }
    // The character at index; L'\0' outside the string.
    wchar_t GetAt(int index) const {
        return index >= 0 && index < GetLength() ? rep_->text[index] : L'\0';
    }
    wchar_t operator[](int index) const { return GetAt(index); }
    std::wstring_view str() const {
        return std::wstring_view(GetString(), static_cast<size_t>(GetLength()));
    }

    // Index of the first occurrence at or after start, or -1.
    int Find(const CString& sub, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // printf conventions of Windows wide strings: %s is a wide string, %d/%i an int; also %u,
    // %x, %X, %c and %%, with an optional '-', '0' flag and width. Arguments are type-safe.
    template <typename... Args>
    void Format(const wchar_t* format, const Args&... args) {
        FormatList(format, {TOOLS::detail::FormatArg(args)...});
    }
    void FormatList(const wchar_t* format, std::initializer_list<TOOLS::detail::FormatArg> args);

    // Makes the buffer this string's own, `length` characters long (the first ones kept, new ones
    // unset), and returns it for filling; ReleaseBuffer then sets the final length (-1: up to the
    // first L'\0'). Copies taken before never see the writes, and copies taken before
    // ReleaseBuffer get a buffer of their own. The pointer is valid until the string is next
    // changed.
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* other);
    CString& operator+=(wchar_t ch);

    friend bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
    friend bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CString& a, const wchar_t* b) { return a.Compare(b) != 0; }
    friend bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const wchar_t* a, const CString& b) { return b.Compare(a) != 0; }
    // Ordinal comparison of code units: negative, zero or positive.
    int Compare(const CString& other) const;
    int Compare(const wchar_t* other) const;

private:
    struct Rep {
        std::atomic<int> refs;
        int length;
        int capacity;
        bool bufferOut;   // handed out by GetBufferSetLength and not yet released
        wchar_t text[1];  // length + 1 characters, the last L'\0'; allocated to capacity + 1
    };

    static Rep* Allocate(int capacity);
    static void Free(Rep* rep) noexcept;
    void Retain() const {
        if (rep_) rep_->refs.fetch_add(1, std::memory_order_relaxed);
    }
    // Gives up this string's reference, freeing the block after the last; inline, for it runs
    // whenever a string dies. A count of one is this string's own reference: no other string
    // shares the block to copy it meanwhile, so the last owner skips the atomic decrement.
    void DropReference() noexcept {
        if (rep_ && (rep_->refs.load(std::memory_order_acquire) == 1 ||
                     rep_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)) {
            Free(rep_);
        }
        rep_ = nullptr;
    }
    // DropReference, out of line: applications built against earlier headers call it.
    void Release();
    // Makes the buffer this string's own with room for `capacity` characters, keeping as many
    // of its characters as fit.
    void Reserve(int capacity);
    void Append(const wchar_t* text, int length);

    Rep* rep_ = nullptr;  // null for the empty string
};

SITECONFIG_API CString operator+(const CString& a, const CString& b);
SITECONFIG_API CString operator+(const CString& a, const wchar_t* b);
SITECONFIG_API CString operator+(const wchar_t* a, const CString& b);

inline TOOLS::detail::FormatArg::FormatArg(const CString& s)
    : kind_(Kind::kText), text_(s.GetString()) {}

// A growable array of CString.
class SITECONFIG_API CStringArray {
public:
    int GetSize() const { return static_cast<int>(items_.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return items_.empty(); }
    // The element at index; the empty string outside the array.
    CString GetAt(int index) const;
    CString& operator[](int index) { return items_.at(static_cast<size_t>(index)); }
    const CString& operator[](int index) const { return items_.at(static_cast<size_t>(index)); }
    int Add(const CString& s);
    void RemoveAll() { items_.clear(); }

private:
    std::vector<CString> items_;
};

namespace TOOLS {

// UTF-8 forms of wide text, for applications that read and write UTF-8. Invalid code units
// (lone surrogates, values past U+10FFFF) and invalid byte sequences become U+FFFD.
SITECONFIG_API std::string Utf8FromWide(std::wstring_view text);
inline std::string Utf8FromWide(const CString& text) { return Utf8FromWide(text.str()); }
inline std::string Utf8FromWide(const std::wstring& text) {
    return Utf8FromWide(std::wstring_view(text));
}
inline std::string Utf8FromWide(const wchar_t* text) {
    return Utf8FromWide(std::wstring_view(text));
}
SITECONFIG_API CString WideFromUtf8(std::string_view text);

}  // namespace TOOLS
