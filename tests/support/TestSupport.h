// Small fixtures shared by the tests: a temporary folder and a capture of reports and
// diagnostics. Header-only, so that tests of the public library can use it too.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <siteconfig/SiteConfigReports.h>

// Readable CString values in failure messages.
inline void PrintTo(const CString& s, std::ostream* os) {
    *os << '"';
    for (wchar_t c : s.str()) {
        const auto u = static_cast<std::uint32_t>(c);
        if (u < 0x80) {
            *os << static_cast<char>(u);
        } else if (u < 0x800) {
            *os << static_cast<char>(0xC0 | (u >> 6)) << static_cast<char>(0x80 | (u & 0x3F));
        } else {
            *os << static_cast<char>(0xE0 | (u >> 12))
                << static_cast<char>(0x80 | ((u >> 6) & 0x3F))
                << static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    *os << '"';
}

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937 random(seed());
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path candidate =
                base / ("siteconfig-" + std::to_string(random() % 1000000000u));
            std::error_code error;
            // Creating the folder is the claim: false when it exists already.
            if (std::filesystem::create_directory(candidate, error)) path_ = candidate.u8string();
        }
        if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder";
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Native(path_), ignored);
    }

    // The folder with a trailing separator, as the library's folder arguments expect.
    const std::string& path() const { return path_; }
    std::string Folder() const { return path_ + "/"; }
    CString WFolder() const { return Wide(Folder()); }
    CString WPath(const std::string& relative) const { return Wide(Folder() + relative); }

    // Writes `bytes` to `relative`, creating the folders on the way; returns the full path.
    std::string Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path full = Native(path_) / Native(relative);
        std::filesystem::create_directories(full.parent_path());
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return full.u8string();
    }

    std::string Read(const std::string& relative) const {
        std::ifstream in(Native(path_) / Native(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // A UTF-8 path text as a wide string (test paths are ASCII or UTF-8).
    static CString Wide(const std::string& utf8) {
        std::wstring out;
        for (size_t i = 0; i < utf8.size();) {
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
            wchar_t cp = extra == 0   ? c
                         : extra == 1 ? (c & 0x1F)
                         : extra == 2 ? (c & 0x0F)
                                      : (c & 0x07);
            for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
                cp = static_cast<wchar_t>((cp << 6) |
                                          (static_cast<unsigned char>(utf8[i + k]) & 0x3F));
            }
            out.push_back(cp);
            i += static_cast<size_t>(extra) + 1;
        }
        return CString(out);
    }

    // A UTF-8 path text as a path of this host (a narrow path would be read in the Windows
    // code page there).
    static std::filesystem::path Native(const std::string& utf8) {
        return std::filesystem::u8path(utf8);
    }

private:
    std::string path_;
};

// Captures every report and diagnostic while it lives; restores the previous sinks after.
class ReportCapture {
public:
    ReportCapture() {
        previousLog_ =
            TOOLS::SetLogSink([this](const TOOLS::LogReport& r) { reports.push_back(r); });
        previousDiagnostic_ = TOOLS::SetDiagnosticSink(
            [this](const TOOLS::Diagnostic& d) { diagnostics.push_back(d); });
    }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;
    ~ReportCapture() {
        TOOLS::SetLogSink(std::move(previousLog_));
        TOOLS::SetDiagnosticSink(std::move(previousDiagnostic_));
    }

    // Reports of this source and line.
    int Count(const wchar_t* file, int line) const {
        int n = 0;
        for (const auto& r : reports) n += (r.file == file && r.line == line) ? 1 : 0;
        return n;
    }
    void Clear() {
        reports.clear();
        diagnostics.clear();
    }

    std::vector<TOOLS::LogReport> reports;
    std::vector<TOOLS::Diagnostic> diagnostics;

private:
    TOOLS::LogSink previousLog_;
    TOOLS::DiagnosticSink previousDiagnostic_;
};

}  // namespace testing_support
