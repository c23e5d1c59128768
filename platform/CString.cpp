#include <siteconfig/CString.h>

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

// Appends `digits` padded to `width` as a printf field would be.
void AppendField(std::wstring& out, const std::wstring& digits, int width, bool leftAlign,
                 bool zeroPad) {
    const int pad = width - static_cast<int>(digits.size());
    if (pad <= 0) {
        out += digits;
    } else if (leftAlign) {
        out += digits;
        out.append(static_cast<size_t>(pad), L' ');
    } else if (zeroPad && !digits.empty() && digits[0] == L'-') {
        out += L'-';
        out.append(static_cast<size_t>(pad), L'0');
        out.append(digits, 1, std::wstring::npos);
    } else {
        out.append(static_cast<size_t>(pad), zeroPad ? L'0' : L' ');
        out += digits;
    }
}

std::wstring ToDigits(unsigned long long value, unsigned base, bool upper) {
    const wchar_t* alphabet = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring digits;
    do {
        digits.push_back(alphabet[value % base]);
        value /= base;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

}  // namespace

CString::Rep* CString::Allocate(int capacity) {
    void* block =
        ::operator new(offsetof(Rep, text) + (static_cast<size_t>(capacity) + 1) * sizeof(wchar_t));
    Rep* rep = static_cast<Rep*>(block);
    new (&rep->refs) std::atomic<int>(1);
    rep->length = 0;
    rep->capacity = capacity;
    rep->bufferOut = false;
    rep->text[0] = L'\0';
    return rep;
}

void CString::Free(Rep* rep) noexcept {
    rep->refs.~atomic();
    ::operator delete(rep);
}

void CString::Release() { DropReference(); }

CString& CString::operator=(const CString& other) {
    if (other.rep_ && other.rep_->bufferOut) {
        if (this != &other) *this = CString(other);  // a buffer of its own
    } else if (rep_ != other.rep_) {
        other.Retain();
        DropReference();
        rep_ = other.rep_;
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        DropReference();
        rep_ = other.rep_;
        other.rep_ = nullptr;
    }
    return *this;
}

void CString::Reserve(int capacity) {
    if (!rep_) {  // most strings: built once, nothing to keep
        rep_ = Allocate(capacity);
        return;
    }
    const bool own = rep_->refs.load(std::memory_order_acquire) == 1;
    if (own && rep_->capacity >= capacity) return;
    // Only a buffer of its own grows geometrically; a shared one is copied at the size asked for.
    const int doubled =
        own && rep_->capacity <= std::numeric_limits<int>::max() / 2 ? 2 * rep_->capacity : 0;
    Rep* fresh = Allocate(std::max(capacity, doubled));
    const int kept = std::min(GetLength(), capacity);
    std::wmemcpy(fresh->text, GetString(), static_cast<size_t>(kept));
    fresh->text[kept] = L'\0';
    fresh->length = kept;
    DropReference();
    rep_ = fresh;
}

void CString::Append(const wchar_t* text, int length) {
    if (length <= 0) return;
    const int oldLength = GetLength();
    if (length > std::numeric_limits<int>::max() - oldLength) throw std::length_error("CString");
    Reserve(oldLength + length);
    std::wmemcpy(rep_->text + oldLength, text, static_cast<size_t>(length));
    rep_->length = oldLength + length;
    rep_->text[rep_->length] = L'\0';
}

wchar_t* CString::GetBufferSetLength(int length) {
    length = std::max(length, 0);
    Reserve(length);  // copies taken before keep their text
    rep_->length = length;
    rep_->text[length] = L'\0';
    rep_->bufferOut = true;
    return rep_->text;
}

void CString::ReleaseBuffer(int newLength) {
    if (!rep_) return;
    if (newLength < 0 || newLength > rep_->capacity) {
        newLength = static_cast<int>(std::wcslen(rep_->text));
    }
    rep_->length = newLength;
    rep_->text[newLength] = L'\0';
    rep_->bufferOut = false;
}

CString::CString(const wchar_t* s) {
    if (s) Append(s, static_cast<int>(std::wcslen(s)));
}

CString::CString(const wchar_t* s, int length) {
    if (s) Append(s, length);
}

CString::CString(const std::wstring& s) : CString(std::wstring_view(s)) {}

CString::CString(std::wstring_view s) {
    if (s.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        throw std::length_error("CString");
    }
    Append(s.data(), static_cast<int>(s.size()));
}

CString::CString(wchar_t ch, int repeat) {
    if (repeat <= 0) return;
    Reserve(repeat);
    std::wmemset(rep_->text, ch, static_cast<size_t>(repeat));
    rep_->length = repeat;
    rep_->text[repeat] = L'\0';
}

int CString::Find(const CString& sub, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    const size_t pos = str().find(sub.str(), static_cast<size_t>(start));
    return pos == std::wstring_view::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    const size_t pos = str().find(ch, static_cast<size_t>(start));
    return pos == std::wstring_view::npos ? -1 : static_cast<int>(pos);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    const int length = GetLength();
    if (first < 0) first = 0;
    if (first >= length || count <= 0) return CString();
    count = std::min(count, length - first);
    if (first == 0 && count == length) return *this;
    return CString(GetString() + first, count);
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    const int length = GetLength();
    if (count <= 0) return CString();
    if (count >= length) return *this;
    return Mid(length - count, count);
}

void CString::FormatList(const wchar_t* format,
                         std::initializer_list<TOOLS::detail::FormatArg> args) {
    using Kind = TOOLS::detail::FormatArg::Kind;
    std::wstring out;
    auto next = args.begin();
    for (const wchar_t* p = format ? format : L""; *p; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        ++p;
        if (*p == L'%') {
            out += L'%';
            continue;
        }
        bool leftAlign = false;
        bool zeroPad = false;
        for (; *p == L'-' || *p == L'0'; ++p) (*p == L'-' ? leftAlign : zeroPad) = true;
        int width = 0;
        for (; *p >= L'0' && *p <= L'9'; ++p) width = std::min(width * 10 + (*p - L'0'), 4096);
        while (*p == L'l' || *p == L'h' || *p == L'I') ++p;  // size prefixes are implied
        if (*p == L'\0') break;
        if (next == args.end()) {  // a conversion without argument stays as written
            out += L'%';
            out += *p;
            continue;
        }
        const TOOLS::detail::FormatArg& arg = *next++;
        std::wstring field;
        switch (*p) {
            case L's':
            case L'S':
                field = arg.kind() == Kind::kText ? arg.text() : std::to_wstring(arg.as_signed());
                zeroPad = false;
                break;
            case L'c':
            case L'C':
                field.assign(1, static_cast<wchar_t>(arg.as_unsigned()));
                zeroPad = false;
                break;
            case L'u':
                field = ToDigits(arg.as_unsigned() & 0xFFFFFFFFull, 10, false);
                break;
            case L'x':
            case L'X':
                field = ToDigits(arg.as_unsigned() & 0xFFFFFFFFull, 16, *p == L'X');
                break;
            default: {  // d, i
                if (arg.kind() == Kind::kText) {
                    field = arg.text();
                    break;
                }
                const long long v = arg.as_signed();
                field = v < 0
                            ? L"-" + ToDigits(0ull - static_cast<unsigned long long>(v), 10, false)
                            : ToDigits(static_cast<unsigned long long>(v), 10, false);
            }
        }
        AppendField(out, field, width, leftAlign, zeroPad);
    }
    *this = CString(out);
}

CString& CString::operator+=(const CString& other) {
    if (other.IsEmpty()) return *this;
    if (IsEmpty()) return *this = other;
    const CString keep(other);  // `other` may be this string
    Append(keep.GetString(), keep.GetLength());
    return *this;
}

CString& CString::operator+=(const wchar_t* other) {
    if (!other || !*other) return *this;
    const CString keep(other);  // `other` may point into this string's buffer
    Append(keep.GetString(), keep.GetLength());
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    Append(&ch, 1);
    return *this;
}

int CString::Compare(const CString& other) const {
    if (rep_ == other.rep_) return 0;
    return str().compare(other.str());
}

int CString::Compare(const wchar_t* other) const { return str().compare(other ? other : L""); }

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const wchar_t* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const wchar_t* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString CStringArray::GetAt(int index) const {
    if (index < 0 || index >= GetSize()) return CString();
    return items_[static_cast<size_t>(index)];
}

int CStringArray::Add(const CString& s) {
    items_.push_back(s);
    return GetSize() - 1;
}
