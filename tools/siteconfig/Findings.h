// What the library says while it loads and answers: its reports (failed checks), its
// diagnostics (files that are missing or do not parse) and the command's own checks.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <siteconfig/SiteConfig.h>

namespace sctool {

struct Finding {
    enum class Kind { kReport, kDiagnostic, kCheck };
    Kind kind = Kind::kCheck;
    std::string file;  // the configuration file concerned, as the library named it; may be empty
    int line = 0;      // position in `file` (diagnostics), 0 when not known
    int column = 0;
    std::string code;  // reports: the stable code of the problem (SiteConfigReports.h)
    std::string message;
    std::string meaning;  // reports: what the failed check means for the author
};

// Installs itself as the report and diagnostic sink for its lifetime and keeps what arrives.
class FindingCollector {
public:
    FindingCollector();
    FindingCollector(const FindingCollector&) = delete;
    FindingCollector& operator=(const FindingCollector&) = delete;
    ~FindingCollector();

    void Add(Finding finding);
    const std::vector<Finding>& findings() const { return findings_; }
    // While muted, arriving reports and diagnostics are dropped (used when probing).
    void SetMuted(bool muted) { muted_ = muted; }

private:
    TOOLS::LogSink previousLogSink_;
    TOOLS::DiagnosticSink previousDiagnosticSink_;
    std::vector<Finding> findings_;
    bool muted_ = false;
};

// One line: "FILE[:LINE[:COL]]: KIND: TEXT", with `root` stripped from the front of FILE.
std::string FormatFinding(const Finding& finding, const std::string& root);
nlohmann::ordered_json FindingToJson(const Finding& finding, const std::string& root);
// `path` relative to `root` when it lies below it, with separators written as "/".
std::string DisplayPath(const std::string& path, const std::string& root);

}  // namespace sctool
