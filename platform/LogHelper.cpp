#include "LogHelper.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "FileSystem.h"
#include "SinkSlot.h"

namespace TOOLS {
namespace {

void WriteReportToStderr(const LogReport& report) {
    std::string line = "report: " + Utf8FromWide(report.file) + ":" + std::to_string(report.line);
    if (!report.message.IsEmpty()) line += ": " + Utf8FromWide(report.message);
    if (!report.context.IsEmpty()) line += " (while reading " + Utf8FromWide(report.context) + ")";
    std::fprintf(stderr, "%s\n", line.c_str());
}

void WriteDiagnosticToStderr(const Diagnostic& diagnostic) {
    std::fprintf(stderr, "diagnostic: %s\n", Utf8FromWide(diagnostic.message).c_str());
}

SinkSlot<LogSink>& LogSinkSlot() {
    static SinkSlot<LogSink> slot(WriteReportToStderr);
    return slot;
}

SinkSlot<DiagnosticSink>& DiagnosticSinkSlot() {
    static SinkSlot<DiagnosticSink> slot(WriteDiagnosticToStderr);
    return slot;
}

// The library starts no threads; a thread-local stack keeps a host that loads on several
// threads from mixing up contexts.
thread_local std::vector<const ScopedLogContext*> g_contexts;
thread_local ILoadObserver* g_observer = nullptr;

}  // namespace

LogSink SetLogSink(LogSink sink) { return LogSinkSlot().Exchange(std::move(sink)); }

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) {
    return DiagnosticSinkSlot().Exchange(std::move(sink));
}

void CLogHelper::Assert(int condition, const CString& message) {
    if (!condition) Record(message);
}

void CLogHelper::Record(const CString& message) {
    DeliverReport(LogReport{file_, line_, message, CurrentLogContext()});
}

void DeliverReport(const LogReport& report) {
    if (g_observer) {
        g_observer->OnReport(report);
        return;
    }
    const std::shared_ptr<const LogSink> sink = LogSinkSlot().Current();
    (*sink)(report);
}

void DeliverDiagnostic(const Diagnostic& diagnostic) {
    if (g_observer) {
        g_observer->OnDiagnostic(diagnostic);
        return;
    }
    const std::shared_ptr<const DiagnosticSink> sink = DiagnosticSinkSlot().Current();
    (*sink)(diagnostic);
}

void CapturedLoadEvents::OnReport(const LogReport& report) {
    reports_.push_back(report);
    isReport_.push_back(true);
}

void CapturedLoadEvents::OnDiagnostic(const Diagnostic& diagnostic) {
    diagnostics_.push_back(diagnostic);
    isReport_.push_back(false);
}

void CapturedLoadEvents::Replay() const {
    size_t report = 0;
    size_t diagnostic = 0;
    for (const bool isReport : isReport_) {
        if (isReport) {
            DeliverReport(reports_[report++]);
        } else {
            DeliverDiagnostic(diagnostics_[diagnostic++]);
        }
    }
}

ScopedLogContext::ScopedLogContext(const CString& file, ILogLocator* locator)
    : file_(file), locator_(locator) {
    g_contexts.push_back(this);
}

ScopedLogContext::~ScopedLogContext() {
    // Scopes normally end innermost first, but a tree may outlive a later one.
    for (auto it = g_contexts.end(); it != g_contexts.begin();) {
        if (*--it == this) {
            g_contexts.erase(it);
            break;
        }
    }
}

CString CurrentLogContext() { return g_contexts.empty() ? CString() : g_contexts.back()->file(); }

ILogLocator* CurrentLogLocator() {
    return g_contexts.empty() ? nullptr : g_contexts.back()->locator();
}

ScopedLoadObserver::ScopedLoadObserver(ILoadObserver* observer)
    : previous_(std::exchange(g_observer, observer)) {}

ScopedLoadObserver::~ScopedLoadObserver() { g_observer = previous_; }

ILoadObserver* CurrentLoadObserver() { return g_observer; }

void ReportDiagnostic(const CString& file, int line, int column, const CString& message,
                      const wchar_t* code) {
    DeliverDiagnostic(Diagnostic{file, line, column, message, CString(code)});
}

}  // namespace TOOLS
