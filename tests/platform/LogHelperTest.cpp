#include "LogHelper.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "TestSupport.h"

namespace {

TEST(LogHelperTest, RecordsOnlyFalseConditionsWithFormattedMessage) {
    testing_support::ReportCapture capture;
    TOOLS::CLogHelper(L"PropertiesConfig", 10).Assert(1, L"");
    TOOLS::CLogHelper(L"PropertiesConfig", 11).Assert(0, L"");
    TOOLS::CLogHelper(L"Config\\PropShowCfg", 12).AssertFormat(1, L"x%d", 1);
    TOOLS::CLogHelper(L"Config\\PropShowCfg", 13).AssertFormat(0, L"failed:%d", 42);
    ASSERT_EQ(capture.reports.size(), 2u);
    EXPECT_EQ(capture.reports[0].file, CString(L"PropertiesConfig"));
    EXPECT_EQ(capture.reports[0].line, 11);
    EXPECT_TRUE(capture.reports[0].message.IsEmpty());
    EXPECT_EQ(capture.reports[1].message, CString(L"failed:42"));
    EXPECT_TRUE(capture.diagnostics.empty());
}

TEST(LogHelperTest, ContextIsTheInnermostLiveScope) {
    testing_support::ReportCapture capture;
    auto report = [] { TOOLS::CLogHelper(L"PropertiesConfig", 1).Assert(0); };
    report();
    {
        TOOLS::ScopedLogContext outer(L"a.xml");
        report();
        {
            TOOLS::ScopedLogContext inner(L"b.xml");
            report();
        }
        report();
    }
    report();
    ASSERT_EQ(capture.reports.size(), 5u);
    const wchar_t* expected[] = {L"", L"a.xml", L"b.xml", L"a.xml", L""};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(capture.reports[i].context, CString(expected[i]));
}

TEST(LogHelperTest, ScopesMayEndOutOfOrder) {
    testing_support::ReportCapture capture;
    auto first = std::make_unique<TOOLS::ScopedLogContext>(L"first.xml");
    auto second = std::make_unique<TOOLS::ScopedLogContext>(L"second.xml");
    first.reset();
    EXPECT_EQ(TOOLS::CurrentLogContext(), CString(L"second.xml"));
    second.reset();
    EXPECT_TRUE(TOOLS::CurrentLogContext().IsEmpty());
}

TEST(LogHelperTest, DiagnosticsUseTheirOwnSink) {
    testing_support::ReportCapture capture;
    TOOLS::ReportDiagnostic(L"x.xml", 3, 4, L"cannot parse x.xml:3:4: bad", L"parse-error");
    ASSERT_EQ(capture.diagnostics.size(), 1u);
    EXPECT_EQ(capture.diagnostics[0].line, 3);
    EXPECT_EQ(capture.diagnostics[0].column, 4);
    EXPECT_EQ(capture.diagnostics[0].code, CString(L"parse-error"));
    EXPECT_TRUE(capture.reports.empty());
}

// An observer takes what its own thread raises, instead of the sinks; other threads still
// reach the sinks.
TEST(LogHelperTest, AnObserverTakesItsThreadsReportsAndDiagnostics) {
    struct Observer : TOOLS::ILoadObserver {
        void OnReport(const TOOLS::LogReport& report) override { lines.push_back(report.line); }
        void OnDiagnostic(const TOOLS::Diagnostic& d) override { lines.push_back(-d.line); }
        std::vector<int> lines;
    };
    testing_support::ReportCapture capture;
    Observer outer;
    Observer inner;
    {
        TOOLS::ScopedLoadObserver observing(&outer);
        TOOLS::CLogHelper(L"PropertiesConfig", 1).Assert(0);
        {
            TOOLS::ScopedLoadObserver nested(&inner);
            TOOLS::ReportDiagnostic(L"x.xml", 2, 1, L"bad", L"parse-error");
        }
        std::thread([] { TOOLS::CLogHelper(L"PropertiesConfig", 3).Assert(0); }).join();
        TOOLS::CLogHelper(L"PropertiesConfig", 4).Assert(0);
        EXPECT_EQ(TOOLS::CurrentLoadObserver(), &outer);
    }
    EXPECT_EQ(TOOLS::CurrentLoadObserver(), nullptr);
    TOOLS::CLogHelper(L"PropertiesConfig", 5).Assert(0);
    EXPECT_EQ(outer.lines, (std::vector<int>{1, 4}));
    EXPECT_EQ(inner.lines, (std::vector<int>{-2}));
    ASSERT_EQ(capture.reports.size(), 2u);
    EXPECT_EQ(capture.reports[0].line, 3);
    EXPECT_EQ(capture.reports[1].line, 5);
    EXPECT_TRUE(capture.diagnostics.empty());
}

}  // namespace
