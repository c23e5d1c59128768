#include "LogHelper.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "FileSystem.h"

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

LogSink& CurrentLogSink() {
    static LogSink sink = WriteReportToStderr;
    return sink;
}

DiagnosticSink& CurrentDiagnosticSink() {
    static DiagnosticSink sink = WriteDiagnosticToStderr;
    return sink;
}

// The library starts no threads; a thread-local stack keeps a host that loads on several
// threads from mixing up contexts.
thread_local std::vector<const CString*> g_contexts;

}  // namespace

LogSink SetLogSink(LogSink sink) {
    LogSink previous = std::move(CurrentLogSink());
    CurrentLogSink() = sink ? std::move(sink) : LogSink(WriteReportToStderr);
    return previous;
}

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) {
    DiagnosticSink previous = std::move(CurrentDiagnosticSink());
    CurrentDiagnosticSink() = sink ? std::move(sink) : DiagnosticSink(WriteDiagnosticToStderr);
    return previous;
}

void CLogHelper::Assert(int condition, const CString& message) {
    if (!condition) Record(message);
}

void CLogHelper::Record(const CString& message) {
    const LogReport report{file_, line_, message, CurrentLogContext()};
    if (CurrentLogSink()) CurrentLogSink()(report);
}

ScopedLogContext::ScopedLogContext(const CString& file) : file_(file) {
    g_contexts.push_back(&file_);
}

ScopedLogContext::~ScopedLogContext() {
    // Scopes normally end innermost first, but a tree may outlive a later one.
    for (auto it = g_contexts.end(); it != g_contexts.begin();) {
        if (*--it == &file_) {
            g_contexts.erase(it);
            break;
        }
    }
}

CString CurrentLogContext() { return g_contexts.empty() ? CString() : *g_contexts.back(); }

void ReportDiagnostic(const CString& file, int line, int column, const CString& message) {
    const Diagnostic diagnostic{file, line, column, message};
    if (CurrentDiagnosticSink()) CurrentDiagnosticSink()(diagnostic);
}

}  // namespace TOOLS
