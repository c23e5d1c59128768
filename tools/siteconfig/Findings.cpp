#include "Findings.h"

#include <utility>

namespace sctool {

FindingCollector::FindingCollector() {
    previousLogSink_ = TOOLS::SetLogSink([this](const TOOLS::LogReport& report) {
        if (muted_) return;
        Finding finding;
        finding.kind = Finding::Kind::kReport;
        finding.file = TOOLS::Utf8FromWide(report.context);
        finding.code = TOOLS::Utf8FromWide(CONFIG::ReportCode(report.file, report.line));
        finding.meaning = TOOLS::Utf8FromWide(CONFIG::ExplainReport(report.file, report.line));
        finding.message = TOOLS::Utf8FromWide(report.message);
        findings_.push_back(std::move(finding));
    });
    previousDiagnosticSink_ = TOOLS::SetDiagnosticSink([this](const TOOLS::Diagnostic& diag) {
        if (muted_) return;
        Finding finding;
        finding.kind = Finding::Kind::kDiagnostic;
        finding.file = TOOLS::Utf8FromWide(diag.file);
        finding.line = diag.line;
        finding.column = diag.column;
        finding.message = TOOLS::Utf8FromWide(diag.message);
        findings_.push_back(std::move(finding));
    });
}

FindingCollector::~FindingCollector() {
    TOOLS::SetLogSink(std::move(previousLogSink_));
    TOOLS::SetDiagnosticSink(std::move(previousDiagnosticSink_));
}

void FindingCollector::Add(Finding finding) { findings_.push_back(std::move(finding)); }

std::string DisplayPath(const std::string& path, const std::string& root) {
    std::string shown = path;
    if (!root.empty() && shown.compare(0, root.size(), root) == 0) {
        shown.erase(0, root.size());
        while (!shown.empty() && (shown.front() == '/' || shown.front() == '\\')) {
            shown.erase(0, 1);
        }
        if (shown.empty()) shown = ".";
    }
#if !defined(_WIN32)
    std::replace(shown.begin(), shown.end(), '\\', '/');
#endif
    return shown;
}

namespace {

const char* KindName(Finding::Kind kind) {
    switch (kind) {
        case Finding::Kind::kReport:
            return "report";
        case Finding::Kind::kDiagnostic:
            return "error";
        case Finding::Kind::kCheck:
            return "check";
    }
    return "";
}

std::string FindingText(const Finding& finding) {
    if (finding.kind != Finding::Kind::kReport) return finding.message;
    std::string text = finding.meaning;
    if (!finding.message.empty())
        text = text.empty() ? finding.message : finding.message + ": " + text;
    if (text.empty()) text = "check failed";
    return text;
}

}  // namespace

std::string FormatFinding(const Finding& finding, const std::string& root) {
    std::string where = finding.file.empty() ? "(no file)" : DisplayPath(finding.file, root);
    if (finding.line > 0) {
        where += ":" + std::to_string(finding.line);
        if (finding.column > 0) where += ":" + std::to_string(finding.column);
    }
    std::string line = where + ": " + KindName(finding.kind) + ": " + FindingText(finding);
    return finding.code.empty() ? line : line + " [" + finding.code + "]";
}

nlohmann::ordered_json FindingToJson(const Finding& finding, const std::string& root) {
    nlohmann::ordered_json j;
    j["kind"] = KindName(finding.kind);
    j["file"] = finding.file.empty() ? std::string() : DisplayPath(finding.file, root);
    if (finding.line > 0) j["line"] = finding.line;
    if (finding.column > 0) j["column"] = finding.column;
    if (finding.kind == Finding::Kind::kReport) {
        j["code"] = finding.code;
    }
    j["message"] = FindingText(finding);
    return j;
}

}  // namespace sctool
