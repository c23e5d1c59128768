// Where the library's reports and diagnostics go.
//
// Reports are the library's own failure assertions: one per failed check, with the source name
// ("PropertiesConfig" or "Config\PropShowCfg") and the line of that check. Diagnostics are the
// problems of the files themselves (a file that does not exist or does not parse, an unsupported
// encoding, nesting too deep to read); they never reach the report sink, so report counts stay
// exactly those of the checks.
//
// Threads: a sink is called on the thread that raised the report or diagnostic, outside any
// lock of the library. When several threads load or query at once it may be called from all of
// them at the same time, so it must then be safe for that (the default sinks are: one write to
// standard error per call). Either sink may be replaced at any time from any thread, even while
// other threads report and even from inside a sink. A report that another thread began before
// the replacement may still be running the previous sink when SetLogSink or SetDiagnosticSink
// returns; the library keeps that sink alive until it ends, but anything the sink refers to must
// outlive such reports too.
#pragma once

#include <functional>

#include "siteconfig/CString.h"
#include "siteconfig/SiteConfigExport.h"

namespace TOOLS {

struct LogReport {
    CString file;     // source name: "PropertiesConfig" or "Config\\PropShowCfg"
    int line;         // the line of the check
    CString message;  // the formatted message; empty for Assert
    CString context;  // the configuration file being read, when there is one
};
using LogSink = std::function<void(const LogReport&)>;

// Installs a sink for reports and returns the previous one; an empty sink restores the default,
// which writes one line per report to standard error.
SITECONFIG_API LogSink SetLogSink(LogSink sink);

struct Diagnostic {
    CString file;     // the file concerned
    int line;         // 1-based, 0 when not known
    int column;       // 1-based, 0 when not known
    CString message;  // e.g. "cannot parse GridTemplate.xml:12:5: mismatched end tag"
    // What kind of problem, for programs: "missing-file", "unreadable-file", "bad-encoding",
    // "unwritable-file", "parse-error", "too-deep", "too-many" or "plugin-load".
    CString code;
};
using DiagnosticSink = std::function<void(const Diagnostic&)>;

// Installs a sink for diagnostics and returns the previous one; an empty sink restores the
// default, which writes one line per diagnostic to standard error.
SITECONFIG_API DiagnosticSink SetDiagnosticSink(DiagnosticSink sink);

}  // namespace TOOLS

namespace CONFIG {

// What a report means for the author of a configuration, e.g. "no item template has this id"
// for source "Config\PropShowCfg", line 1050; empty for a source and line the library never
// reports.
SITECONFIG_API CString ExplainReport(const CString& source, int line);
// The stable code a check of a configuration gives the same problem ("dangling-reference",
// SiteConfigCheck.h), for programs; empty for a source and line the library never reports.
SITECONFIG_API CString ReportCode(const CString& source, int line);

}  // namespace CONFIG
