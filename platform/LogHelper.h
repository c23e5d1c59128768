// Reports (the library's failure assertions) and diagnostics (problems of the files).
#pragma once

#include <utility>

#include <siteconfig/CString.h>
#include <siteconfig/SiteConfigReports.h>

namespace TOOLS {

// One report: construct with the source name and line of the check, then call Assert or
// AssertFormat once. A false condition records the report; neither stops the caller.
class CLogHelper {
public:
    CLogHelper(CString file, int line) : file_(std::move(file)), line_(line) {}

    void Assert(int condition, const CString& message = CString());

    template <typename... Args>
    void AssertFormat(int condition, CString format, const Args&... args) {
        if (condition) return;
        CString message;
        message.Format(format.GetString(), args...);
        Record(message);
    }

private:
    void Record(const CString& message);

    CString file_;
    int line_;
};

// While one lives, reports carry `file` as their context. Scopes nest; the innermost wins.
class ScopedLogContext {
public:
    explicit ScopedLogContext(const CString& file);
    ScopedLogContext(const ScopedLogContext&) = delete;
    ScopedLogContext& operator=(const ScopedLogContext&) = delete;
    ~ScopedLogContext();

private:
    CString file_;
};

// The file of the innermost ScopedLogContext, or empty.
CString CurrentLogContext();

// Sends one diagnostic to the diagnostic sink.
void ReportDiagnostic(const CString& file, int line, int column, const CString& message);

}  // namespace TOOLS
