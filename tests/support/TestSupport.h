// Small fixtures shared by the tests: a temporary folder and a capture of reports and
// diagnostics. Header-only, so that tests of the public library and of the command can use it
// too.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/PropertyInsData.h>
#include <siteconfig/SiteConfigReports.h>

// Readable CString values in failure messages.
inline void PrintTo(const CString& s, std::ostream* os) {
    *os << '"' << TOOLS::Utf8FromWide(s) << '"';
}

namespace testing_support {

// Texts to compare in assertions, e.g. EXPECT_EQ(locs, Texts({L"A", L"B"})); a failure prints
// them readably.
using Texts = std::vector<CString>;

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

    // The folder in UTF-8, and as a path of this host.
    const std::string& path() const { return path_; }
    std::filesystem::path NativeFolder() const { return Native(path_); }
    // The folder with a trailing separator, as the library's folder arguments expect.
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
    static CString Wide(const std::string& utf8) { return TOOLS::WideFromUtf8(utf8); }

    // A UTF-8 path text as a path of this host (a narrow path would be read in the Windows
    // code page there).
    static std::filesystem::path Native(const std::string& utf8) {
        return std::filesystem::u8path(utf8);
    }

private:
    std::string path_;
};

// Captures reports and diagnostics while it lives; restores the previous sinks after.
//
// A capture takes everything of its kinds while it lives, so a capture made inside another
// takes those kinds from the outer one until it ends. Where a test needs the reports and the
// diagnostics of different spans (a fixture that keeps the diagnostics of the whole test while
// each step counts its own reports), it holds one capture of each kind, and neither takes from
// the other.
class ReportCapture {
public:
    enum Kinds { kReportsAndDiagnostics, kReportsOnly, kDiagnosticsOnly };

    explicit ReportCapture(Kinds kinds = kReportsAndDiagnostics) : kinds_(kinds) {
        if (kinds_ != kDiagnosticsOnly) {
            previousLog_ =
                TOOLS::SetLogSink([this](const TOOLS::LogReport& r) { reports.push_back(r); });
        }
        if (kinds_ != kReportsOnly) {
            previousDiagnostic_ = TOOLS::SetDiagnosticSink(
                [this](const TOOLS::Diagnostic& d) { diagnostics.push_back(d); });
        }
    }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;
    ~ReportCapture() {
        if (kinds_ != kDiagnosticsOnly) TOOLS::SetLogSink(std::move(previousLog_));
        if (kinds_ != kReportsOnly) TOOLS::SetDiagnosticSink(std::move(previousDiagnostic_));
    }

    // The number of reports: all of them, those of one line whatever their source, those of
    // one source and line.
    int Count() const { return static_cast<int>(reports.size()); }
    int Count(int line) const {
        int n = 0;
        for (const auto& r : reports) n += r.line == line ? 1 : 0;
        return n;
    }
    int Count(const wchar_t* file, int line) const {
        int n = 0;
        for (const auto& r : reports) n += (r.file == file && r.line == line) ? 1 : 0;
        return n;
    }
    // The lines of the reports in the order they were made.
    std::vector<int> Lines() const {
        std::vector<int> lines;
        for (const auto& r : reports) lines.push_back(r.line);
        return lines;
    }
    void Clear() {
        reports.clear();
        diagnostics.clear();
    }

    std::vector<TOOLS::LogReport> reports;
    std::vector<TOOLS::Diagnostic> diagnostics;

private:
    Kinds kinds_;
    TOOLS::LogSink previousLog_;
    TOOLS::DiagnosticSink previousDiagnostic_;
};

// Every field of a record and its instances, as one text (the record has no equality).
inline std::string Text(const CONFIG::PropertyInsData& record) {
    std::string text =
        std::to_string(record.compType) + "|" + TOOLS::Utf8FromWide(record.initName) + "|" +
        TOOLS::Utf8FromWide(record.category) + "|" + TOOLS::Utf8FromWide(record.sectionShape) +
        "|" + TOOLS::Utf8FromWide(record.graphLibId) + "{";
    for (const CONFIG::PropertyParam& param : record.params) {
        text += std::to_string(param.first) + "=" + TOOLS::Utf8FromWide(param.second.first) + "/" +
                TOOLS::Utf8FromWide(param.second.second) + ";";
    }
    for (const CONFIG::PropertyInsData& child : record.children) text += Text(child);
    return text + "}";
}

// The records of a list, set or map's values, one text a line.
template <typename Records>
std::string Text(const Records& records) {
    std::string text;
    for (const CONFIG::PropertyInsData& record : records) text += Text(record) + "\n";
    return text;
}

}  // namespace testing_support
