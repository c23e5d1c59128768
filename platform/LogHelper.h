// Reports (the library's failure assertions) and diagnostics (problems of the files).
#pragma once

#include <utility>
#include <vector>

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

// Says where in its file the reading stands, e.g. an XML tree's cursor.
class ILogLocator {
public:
    // Line and column (1-based) of the element being read; false when unknown.
    virtual bool GetPosition(int& line, int& column) = 0;

protected:
    ~ILogLocator() = default;
};

// While one lives, reports carry `file` as their context. Scopes nest; the innermost wins.
// `locator`, when given, must outlive the scope.
class ScopedLogContext {
public:
    explicit ScopedLogContext(const CString& file, ILogLocator* locator = nullptr);
    ScopedLogContext(const ScopedLogContext&) = delete;
    ScopedLogContext& operator=(const ScopedLogContext&) = delete;
    ~ScopedLogContext();

    const CString& file() const { return file_; }
    ILogLocator* locator() const { return locator_; }

private:
    CString file_;
    ILogLocator* locator_;
};

// The file of the innermost ScopedLogContext, or empty.
CString CurrentLogContext();
// The locator of the innermost ScopedLogContext, or null.
ILogLocator* CurrentLogLocator();

// Sends one diagnostic to the diagnostic sink; `code` is one of those listed in
// SiteConfigReports.h.
void ReportDiagnostic(const CString& file, int line, int column, const CString& message,
                      const wchar_t* code);

// Takes the reports and diagnostics raised on one thread while it is installed there, in place
// of the sinks: a check of a configuration turns them into findings of its own.
class ILoadObserver {
public:
    virtual void OnReport(const LogReport& report) = 0;
    virtual void OnDiagnostic(const Diagnostic& diagnostic) = 0;

protected:
    ~ILoadObserver() = default;
};

// Installs an observer for the calling thread while it lives; scopes nest.
class ScopedLoadObserver {
public:
    explicit ScopedLoadObserver(ILoadObserver* observer);
    ScopedLoadObserver(const ScopedLoadObserver&) = delete;
    ScopedLoadObserver& operator=(const ScopedLoadObserver&) = delete;
    ~ScopedLoadObserver();

private:
    ILoadObserver* previous_;
};

// The calling thread's observer, or null.
ILoadObserver* CurrentLoadObserver();

// Hands a report or diagnostic raised elsewhere to the calling thread's observer, or else to
// the sink, as if it were raised here.
void DeliverReport(const LogReport& report);
void DeliverDiagnostic(const Diagnostic& diagnostic);

// Keeps the reports and diagnostics of the calling thread, in order, while it lives, for
// another thread to deliver later (Replay): work done on a worker thread reports as if done on
// the thread that waits for it.
class CapturedLoadEvents final : public ILoadObserver {
public:
    CapturedLoadEvents() = default;
    CapturedLoadEvents(CapturedLoadEvents&&) = default;
    CapturedLoadEvents& operator=(CapturedLoadEvents&&) = default;

    void OnReport(const LogReport& report) override;
    void OnDiagnostic(const Diagnostic& diagnostic) override;
    // Delivers everything kept to the calling thread, in the order it was raised.
    void Replay() const;

private:
    std::vector<LogReport> reports_;
    std::vector<Diagnostic> diagnostics_;
    std::vector<bool> isReport_;  // the order of the two kinds
};

}  // namespace TOOLS
