#include "Findings.h"

#include <algorithm>
#include <map>
#include <utility>

#include "Utf8.h"

namespace sctool {

FindingCollector::FindingCollector() {
    previousLogSink_ = TOOLS::SetLogSink([this](const TOOLS::LogReport& report) {
        if (muted_) return;
        Finding finding;
        finding.kind = Finding::Kind::kReport;
        finding.file = ToUtf8(report.context);
        finding.source = ToUtf8(report.file);
        finding.sourceLine = report.line;
        finding.message = ToUtf8(report.message);
        findings_.push_back(std::move(finding));
    });
    previousDiagnosticSink_ = TOOLS::SetDiagnosticSink([this](const TOOLS::Diagnostic& diag) {
        if (muted_) return;
        Finding finding;
        finding.kind = Finding::Kind::kDiagnostic;
        finding.file = ToUtf8(diag.file);
        finding.line = diag.line;
        finding.column = diag.column;
        finding.message = ToUtf8(diag.message);
        findings_.push_back(std::move(finding));
    });
}

FindingCollector::~FindingCollector() {
    TOOLS::SetLogSink(std::move(previousLogSink_));
    TOOLS::SetDiagnosticSink(std::move(previousDiagnosticSink_));
}

void FindingCollector::Add(Finding finding) { findings_.push_back(std::move(finding)); }

bool FindingCollector::HasDiagnosticFor(const std::string& file) const {
    return std::any_of(findings_.begin(), findings_.end(), [&](const Finding& f) {
        return f.kind == Finding::Kind::kDiagnostic && f.file == file;
    });
}

std::string ExplainReport(const std::string& source, int line) {
    // The display configuration's checks keep their line numbers from release to release;
    // applications and their authors know them by these numbers.
    static const std::map<std::pair<std::string, int>, std::string> kHints = {
        {{"Config\\PropShowCfg", 146}, "listener name has no \"_\" before its part kind"},
        {{"Config\\PropShowCfg", 282}, "\"ItemVar\" is not a known item variable"},
        {{"Config\\PropShowCfg", 357}, "not a part kind (Main, Attach, Struct, LeftRight, Side)"},
        {{"Config\\PropShowCfg", 374},
         "not a view name (PouMian, PingMian, LiMian, View3D, SGPaper)"},
        {{"Config\\PropShowCfg", 432}, "the view's container is not in EnableContainer.xml"},
        {{"Config\\PropShowCfg", 551}, "container name defined twice"},
        {{"Config\\PropShowCfg", 672}, "view parameter listed twice"},
        {{"Config\\PropShowCfg", 711}, "edit-view file is missing or has no \"PropEditView\" root"},
        {{"Config\\PropShowCfg", 764}, "\"kd\" is not linear, block or region"},
        {{"Config\\PropShowCfg", 890}, "no edit view matches; the empty fallback view is used"},
        {{"Config\\PropShowCfg", 967}, "the component type has no kind"},
        {{"Config\\PropShowCfg", 1036}, "item template id defined twice"},
        {{"Config\\PropShowCfg", 1050}, "no item template has this id"},
        {{"PropertiesConfig", 120}, "instance value holds more than one \"|\""},
        {{"PropertiesConfig", 140}, "no definition for this component type"},
        {{"PropertiesConfig", 210}, "no component type has this category"},
        {{"PropertiesConfig", 230}, "no default name: the type has no definition"},
        {{"PropertiesConfig", 310}, "the shape pool has no such section shape"},
        {{"PropertiesConfig", 410}, "plug-in list has no \"FileCount\" (or it is 0)"},
        {{"PropertiesConfig", 420}, "plug-in list entry is missing or empty"},
        {{"PropertiesConfig", 450}, "no plug-in registered a graph handler for the type"},
        {{"PropertiesConfig", 520}, "relative path but no \"AppDir\""},
        {{"PropertiesConfig", 530}, "setting has an empty value"},
        {{"PropertiesConfig", 550}, "no such setting"},
        {{"PropertiesConfig", 570}, "settings file could not be written"},
    };
    const auto it = kHints.find({source, line});
    return it == kHints.end() ? std::string() : it->second;
}

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
    std::string text = ExplainReport(finding.source, finding.sourceLine);
    if (!finding.message.empty())
        text = text.empty() ? finding.message : finding.message + ": " + text;
    if (text.empty()) text = "check failed";
    return text + " [" + finding.source + ":" + std::to_string(finding.sourceLine) + "]";
}

}  // namespace

std::string FormatFinding(const Finding& finding, const std::string& root) {
    std::string where = finding.file.empty() ? "(no file)" : DisplayPath(finding.file, root);
    if (finding.line > 0) {
        where += ":" + std::to_string(finding.line);
        if (finding.column > 0) where += ":" + std::to_string(finding.column);
    }
    return where + ": " + KindName(finding.kind) + ": " + FindingText(finding);
}

nlohmann::ordered_json FindingToJson(const Finding& finding, const std::string& root) {
    nlohmann::ordered_json j;
    j["kind"] = KindName(finding.kind);
    j["file"] = finding.file.empty() ? std::string() : DisplayPath(finding.file, root);
    if (finding.line > 0) j["line"] = finding.line;
    if (finding.column > 0) j["column"] = finding.column;
    if (finding.kind == Finding::Kind::kReport) {
        j["source"] = finding.source;
        j["sourceLine"] = finding.sourceLine;
    }
    j["message"] = FindingText(finding);
    return j;
}

}  // namespace sctool
