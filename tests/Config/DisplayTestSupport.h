// Helpers of the display configuration tests: a scratch folder of files and recorders of
// reports and diagnostics.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/SiteConfigReports.h>

namespace CONFIG {
namespace testing_support {

// A folder of its own for the running test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        path_ = std::filesystem::path(SITECONFIG_TEST_BINARY_DIR) / "scratch" / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes `utf8` as the file `name` of the folder; returns its full path.
    CString Write(const std::string& name, const std::string& utf8) const {
        std::ofstream out(path_ / name, std::ios::binary);
        out << utf8;
        return File(name);
    }
    // The folder with a trailing separator, as the loaders take it.
    CString Folder() const { return CString((path_.wstring() + L"/").c_str()); }
    // Folder() and the name, joined as the library joins them.
    CString File(const std::string& name) const {
        return Folder() + CString(std::filesystem::path(name).wstring());
    }

private:
    std::filesystem::path path_;
};

// Records every report while it lives, then puts the previous sink back.
class ReportRecorder {
public:
    ReportRecorder() {
        previous_ = TOOLS::SetLogSink([this](const TOOLS::LogReport& r) { reports_.push_back(r); });
    }
    ~ReportRecorder() { TOOLS::SetLogSink(previous_); }
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    int Count() const { return static_cast<int>(reports_.size()); }
    int Count(int line) const {
        int n = 0;
        for (const TOOLS::LogReport& r : reports_) n += r.line == line ? 1 : 0;
        return n;
    }
    // The lines of the reports in the order they were made.
    std::vector<int> Lines() const {
        std::vector<int> lines;
        for (const TOOLS::LogReport& r : reports_) lines.push_back(r.line);
        return lines;
    }
    const std::vector<TOOLS::LogReport>& Reports() const { return reports_; }
    void Reset() { reports_.clear(); }

private:
    std::vector<TOOLS::LogReport> reports_;
    TOOLS::LogSink previous_;
};

// Records every diagnostic while it lives, then puts the previous sink back.
class DiagnosticRecorder {
public:
    DiagnosticRecorder() {
        previous_ = TOOLS::SetDiagnosticSink(
            [this](const TOOLS::Diagnostic& d) { diagnostics_.push_back(d); });
    }
    ~DiagnosticRecorder() { TOOLS::SetDiagnosticSink(previous_); }
    DiagnosticRecorder(const DiagnosticRecorder&) = delete;
    DiagnosticRecorder& operator=(const DiagnosticRecorder&) = delete;

    const std::vector<TOOLS::Diagnostic>& Diagnostics() const { return diagnostics_; }

private:
    std::vector<TOOLS::Diagnostic> diagnostics_;
    TOOLS::DiagnosticSink previous_;
};

// Texts as standard strings, which the test framework prints readably.
inline std::vector<std::wstring> Wide(const std::vector<CString>& texts) {
    std::vector<std::wstring> wide;
    for (const CString& text : texts) wide.emplace_back(text.str());
    return wide;
}

inline std::vector<std::wstring> Wide(std::initializer_list<const wchar_t*> texts) {
    return std::vector<std::wstring>(texts.begin(), texts.end());
}

}  // namespace testing_support
}  // namespace CONFIG
