#include "ProfileFile.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <map>
#include <optional>
#include <string>

#include "FileSystem.h"
#include "LogHelper.h"

namespace TOOLS {

namespace {

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::wstring Trim(const std::wstring& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::wstring TrimRight(const std::wstring& text) {
    size_t last = text.size();
    while (last > 0 && IsBlank(text[last - 1])) --last;
    return text.substr(0, last);
}

// Section and key names match without regard to letter case: ASCII and Latin-1 letters fold.
std::wstring Fold(const std::wstring& text) {
    std::wstring folded(text);
    for (wchar_t& ch : folded) {
        if ((ch >= L'A' && ch <= L'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) ch += 0x20;
    }
    return folded;
}

// --- Decoding -----------------------------------------------------------------------------

void AppendCodePoint(std::wstring& out, std::uint32_t cp) {
    if constexpr (sizeof(wchar_t) >= 4) {
        out.push_back(static_cast<wchar_t>(cp));
    } else if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

std::wstring DecodeUtf16(const std::string& bytes, size_t start, bool bigEndian) {
    std::wstring out;
    out.reserve((bytes.size() - start) / 2);
    auto unit = [&](size_t at) -> std::uint32_t {
        const auto b0 = static_cast<unsigned char>(bytes[at]);
        const auto b1 = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
    };
    for (size_t at = start; at + 1 < bytes.size(); at += 2) {
        const std::uint32_t u = unit(at);
        if (u >= 0xD800 && u <= 0xDBFF && at + 3 < bytes.size()) {
            const std::uint32_t low = unit(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        AppendCodePoint(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

bool IsValidUtf8(const std::string& bytes, size_t start) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = start;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more;
        std::uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + more >= n) return false;
        for (int k = 1; k <= more; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((more == 2 && cp < 0x800) || (more == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += more + 1;
    }
    return true;
}

// Legacy Chinese files: GB18030 (a superset of GBK and GB2312) through iconv. Bytes that do
// not decode become U+FFFD and are reported once as a diagnostic.
std::wstring DecodeGb18030(const std::string& bytes, const CString& file) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ReportDiagnostic(file, 0, 0, L"cannot decode " + file + L": GB18030 is not available",
                         L"bad-encoding");
        return std::wstring(WideFromUtf8(bytes).str());
    }
    std::string utf8;
    utf8.reserve(bytes.size() * 3 / 2 + 16);
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    bool invalid = false;
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<size_t>(out - buffer));
        if (done != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ: skip one byte; EINVAL: the file ends inside a character.
        invalid = true;
        utf8.append("\xEF\xBF\xBD");
        if (errno == EINVAL) break;
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    if (invalid) {
        ReportDiagnostic(file, 0, 0, L"invalid GB18030 bytes in " + file, L"bad-encoding");
    }
    return std::wstring(WideFromUtf8(utf8).str());
}

std::wstring Decode(const std::string& bytes, const CString& file) {
    const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
        return DecodeUtf16(bytes, 2, false);
    }
    if (bytes.size() >= 2 && byteAt(0) == 0xFE && byteAt(1) == 0xFF) {
        return DecodeUtf16(bytes, 2, true);
    }
    size_t start = 0;
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        start = 3;
    }
    if (start == 3 || IsValidUtf8(bytes, 0)) {
        return std::wstring(WideFromUtf8(bytes.data() + start, bytes.size() - start).str());
    }
    return DecodeGb18030(bytes, file);
}

// --- Values -------------------------------------------------------------------------------

std::wstring Unquote(const std::wstring& value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

int ParseInt(const std::wstring& value) {
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) {
        negative = value[i] == L'-';
        ++i;
    }
    std::uint32_t base = 10;
    if (i + 1 < value.size() && value[i] == L'0' &&
        (value[i + 1] == L'x' || value[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    std::uint32_t result = 0;
    for (; i < value.size(); ++i) {
        const wchar_t ch = value[i];
        std::uint32_t digit;
        if (ch >= L'0' && ch <= L'9') {
            digit = static_cast<std::uint32_t>(ch - L'0');
        } else if (base == 16 && ch >= L'a' && ch <= L'f') {
            digit = static_cast<std::uint32_t>(ch - L'a' + 10);
        } else if (base == 16 && ch >= L'A' && ch <= L'F') {
            digit = static_cast<std::uint32_t>(ch - L'A' + 10);
        } else {
            break;
        }
        result = result * base + digit;  // unsigned: wraps modulo 2^32
    }
    if (negative) result = 0u - result;
    return static_cast<std::int32_t>(result);
}

int CopyOut(const std::wstring& text, wchar_t* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return 0;
    const size_t count = std::min(text.size(), static_cast<size_t>(bufferSize) - 1);
    std::wmemcpy(buffer, text.data(), count);
    buffer[count] = L'\0';
    return static_cast<int>(count);
}

}  // namespace

// Sections by folded name; in each, keys by folded name. Only the first section of a name and
// the first key of a name in it are kept, which is all a lookup ever sees. A key written
// without "=" has no value.
struct CProfileFile::Contents {
    std::map<std::wstring, std::map<std::wstring, std::optional<std::wstring>>> sections;

    const std::optional<std::wstring>* Find(const CString& section, const CString& key) const {
        const auto s = sections.find(Fold(Trim(std::wstring(section.str()))));
        if (s == sections.end()) return nullptr;
        const auto k = s->second.find(Fold(Trim(std::wstring(key.str()))));
        return k == s->second.end() ? nullptr : &k->second;
    }
};

CProfileFile::CProfileFile() : contents_(std::make_unique<Contents>()) {}
CProfileFile::~CProfileFile() = default;

bool CProfileFile::Load(const CString& file) {
    contents_ = std::make_unique<Contents>();
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(NativePath(file), bytes, error)) {
        ReportDiagnostic(file, 0, 0, L"cannot read " + file + L": " + WideFromUtf8(error),
                         ReadFailureCode(error));
        return false;
    }
    const std::wstring text = Decode(bytes, file);

    // Null while the lines belong to no section, or to a repeated one that no lookup sees.
    std::map<std::wstring, std::optional<std::wstring>>* current = nullptr;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == L';') continue;
        if (line[0] == L'[') {
            const size_t close = line.find(L']');
            const std::wstring name =
                Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
            auto inserted = contents_->sections.try_emplace(Fold(name));
            current = inserted.second ? &inserted.first->second : nullptr;
            continue;
        }
        if (!current) continue;
        const size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) {
            current->try_emplace(Fold(line), std::nullopt);
        } else {
            current->try_emplace(Fold(Trim(line.substr(0, eq))),
                                 Unquote(Trim(line.substr(eq + 1))));
        }
    }
    return true;
}

int CProfileFile::GetInt(const CString& section, const CString& key, int defaultValue) const {
    const std::optional<std::wstring>* value = contents_->Find(section, key);
    if (!value || !*value || (*value)->empty()) return defaultValue;
    return ParseInt(**value);
}

int CProfileFile::GetString(const CString& section, const CString& key, const CString& defaultValue,
                            wchar_t* buffer, int bufferSize) const {
    const std::optional<std::wstring>* value = contents_->Find(section, key);
    if (!value || !*value)
        return CopyOut(TrimRight(std::wstring(defaultValue.str())), buffer, bufferSize);
    return CopyOut(**value, buffer, bufferSize);
}

int GetPrivateProfileInt(const CString& section, const CString& key, int defaultValue,
                         const CString& file) {
    CProfileFile profile;
    profile.Load(file);
    return profile.GetInt(section, key, defaultValue);
}

int GetPrivateProfileString(const CString& section, const CString& key, const CString& defaultValue,
                            wchar_t* buffer, int bufferSize, const CString& file) {
    CProfileFile profile;
    profile.Load(file);
    return profile.GetString(section, key, defaultValue, buffer, bufferSize);
}

}  // namespace TOOLS
