#include <siteconfig/SiteConfigCheck.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using CONFIG::ConfigFinding;
using CONFIG::FindingSeverity;
using testing_support::ReportCapture;
using testing_support::TempDir;

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string Definition(const std::string& cls, const std::string& extra = "") {
    return kHeader + "<Property>\n<InitName>n</InitName>\n<ClsName>" + cls +
           "</ClsName>\n<Pool><Common>\n<Fish Var=\"Category\" Val=\"\\a\\" + cls + "\"/>\n" +
           extra + "</Common></Pool></Property>\n";
}

std::string Describe(const std::vector<ConfigFinding>& findings) {
    std::string text;
    for (const ConfigFinding& f : findings) {
        text += TOOLS::Utf8FromWide(f.code) + ": " + TOOLS::Utf8FromWide(f.message) + "\n";
    }
    return text;
}

// A small layout that checks clean; each test breaks one thing.
class ConfigCheckTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::make_unique<TempDir>();
        dir_->Write("Definitions/Wall_POOL.xml", Definition("Wall"));
        dir_->Write("Definitions/Beam_POOL.xml", Definition("Beam"));
        dir_->Write("Templates/filelist.cfg",
                    kHeader + "<filelist>\n  <file>t.xml</file>\n</filelist>\n");
        dir_->Write("Templates/t.xml", Definition("Wall"));
        dir_->Write("Models/filelist.cfg", kHeader + "<filelist/>\n");
        dir_->Write("ShapePool/s.xml", Definition("Beam"));
        dir_->Write("Display/PropertyLocShow.xml",
                    kHeader +
                        "<UI><PropDefineShow><Loc>\\a\\Wall</Loc></PropDefineShow>\n"
                        "<PropEditView><View view=\"v.xml\" typeandsection=\"Wall\" "
                        "loc=\"\\a\\Wall\"/></PropEditView></UI>\n");
        dir_->Write("Display/v.xml", kHeader + "<PropEditView/>\n");
        dir_->Write("Display/ItemTemplate.xml", kHeader + "<Items/>\n");
        dir_->Write("Display/GridTemplate.xml", kHeader + "<PropEditView/>\n");
        dir_->Write("Display/EnableContainer.xml", kHeader + "<Containers/>\n");
        dir_->Write("GraphLibs/1.xml",
                    kHeader +
                        "<GraphLibrary><Model loc=\"\\g\\Wall\" name=\"w\" id=\"G1\"/>"
                        "</GraphLibrary>\n");
        dir_->Write("GraphLibs/2.xml", kHeader + "<GraphLibrary/>\n");
        dir_->Write("Resource.xml",
                    kHeader + "<Config>\n  <Images val=\".\\img\\\"/>\n</Config>\n");
    }

    CONFIG::ConfigLayout Layout() const {
        CONFIG::ConfigLayout layout;
        layout.definitionFolder = dir_->WPath("Definitions/");
        layout.displayFolder = dir_->WPath("Display/");
        layout.templateFolder = dir_->WPath("Templates/");
        layout.propModelFolder = dir_->WPath("Models/");
        layout.graphLibrary1 = dir_->WPath("GraphLibs/1.xml");
        layout.graphLibrary2 = dir_->WPath("GraphLibs/2.xml");
        layout.shapePoolFolder = dir_->WPath("ShapePool/");
        layout.resourceFile = dir_->WPath("Resource.xml");
        layout.appDir = dir_->WPath("app/");
        return layout;
    }

    std::vector<ConfigFinding> Check() const { return CONFIG::CheckConfiguration(Layout()); }

    std::unique_ptr<TempDir> dir_;
};

TEST_F(ConfigCheckTest, ACleanLayoutHasNoFindingAndTouchesNoSink) {
    ReportCapture capture;
    const std::vector<ConfigFinding> findings = Check();
    EXPECT_TRUE(findings.empty()) << Describe(findings);
    EXPECT_TRUE(capture.reports.empty());
    EXPECT_TRUE(capture.diagnostics.empty());
}

// Each mistake gives one finding, with its code, severity, file and offending text; what the
// check raises never reaches the sinks, and the application's own load of the same files raises
// nothing new.
TEST_F(ConfigCheckTest, EachMistakeIsOneFinding) {
    struct Case {
        const char* what;
        const char* file;  // rewritten with `text`
        std::string text;
        const wchar_t* code;
        FindingSeverity severity;
        const char* findingFile;  // the file the finding names, below the layout
        int line;                 // and the line of the mistake in it
        const wchar_t* offending;
    };
    const Case cases[] = {
        {"unknown type", "Definitions/Wall_POOL.xml", Definition("Wal"), L"unknown-type",
         FindingSeverity::kError, "Definitions/Wall_POOL.xml", 4, L"Wal"},
        {"unknown parameter", "Definitions/Wall_POOL.xml",
         Definition("Wall", "<Fish Var=\"Thicknes\" Val=\"1\"/>\n"), L"unknown-param",
         FindingSeverity::kError, "Definitions/Wall_POOL.xml", 7, L"Thicknes"},
        {"unknown instance parameter", "Definitions/Beam_POOL.xml",
         kHeader + "<Property><ClsName>Beam</ClsName><Ins>\n<Property Lenght=\"1\"/>\n"
                   "</Ins></Property>",
         L"unknown-param", FindingSeverity::kError, "Definitions/Beam_POOL.xml", 3, L"Lenght"},
        {"second definition of a type", "Definitions/Wall2_POOL.xml", Definition("Beam"),
         L"duplicate-definition", FindingSeverity::kError, "Definitions/Wall2_POOL.xml", 4,
         L"Beam"},
        {"listed file missing", "Templates/filelist.cfg",
         kHeader + "<filelist>\n  <file>t.xml</file>\n  <file>gone.xml</file>\n</filelist>\n",
         L"missing-file", FindingSeverity::kError, "Templates/filelist.cfg", 4, L"gone.xml"},
        {"view for no type", "Display/PropertyLocShow.xml",
         kHeader + "<UI><PropDefineShow><Loc>\\a\\Wall</Loc></PropDefineShow>\n"
                   "<PropEditView><View view=\"v.xml\" typeandsection=\"Wal\" "
                   "loc=\"\\a\\Wall\"/></PropEditView></UI>\n",
         L"unknown-type", FindingSeverity::kError, "Display/PropertyLocShow.xml", 3, L"Wal"},
        {"view at an undefined location", "Display/PropertyLocShow.xml",
         kHeader + "<UI><PropDefineShow><Loc>\\a\\Wall</Loc></PropDefineShow>\n"
                   "<PropEditView><View view=\"v.xml\" typeandsection=\"Wall\" "
                   "loc=\"\\a\\Wal\"/></PropEditView></UI>\n",
         L"dangling-reference", FindingSeverity::kWarning, "Display/PropertyLocShow.xml", 3,
         L"\\a\\Wal"},
        {"section-selection text that matches nothing", "Display/PropertyLocShow.xml",
         kHeader + "<UI><PropDefineShow><Loc>\\a\\Wall</Loc></PropDefineShow>\n"
                   "<SectionSelect>\n<Loc loc=\"a\">a\\Wall;b\\Wal</Loc></SectionSelect>\n"
                   "<PropEditView><View view=\"v.xml\" typeandsection=\"Wall\" "
                   "loc=\"\\a\\Wall\"/></PropEditView></UI>\n",
         L"dangling-reference", FindingSeverity::kWarning, "Display/PropertyLocShow.xml", 4,
         L"b\\Wal"},
        {"container nothing uses", "Display/EnableContainer.xml",
         kHeader + "<Containers>\n  <Container name=\"Spare\"/>\n</Containers>\n", L"unused",
         FindingSeverity::kNote, "Display/EnableContainer.xml", 3, L"Spare"},
        {"model id twice", "GraphLibs/2.xml",
         kHeader + "<GraphLibrary><Model loc=\"\\g\\Beam\" name=\"b\" id=\"G1\"/></GraphLibrary>",
         L"duplicate-id", FindingSeverity::kWarning, "GraphLibs/2.xml", 2, L"G1"},
        {"empty setting", "Resource.xml", kHeader + "<Config>\n  <Images val=\"\"/>\n</Config>\n",
         L"empty-value", FindingSeverity::kWarning, "Resource.xml", 3, L"Images"},
        {"setting key twice", "Resource.xml",
         kHeader + "<Config>\n  <Images val=\".\\a\"/>\n  <Images val=\".\\b\"/>\n</Config>\n",
         L"duplicate-key", FindingSeverity::kWarning, "Resource.xml", 4, L"Images"},
        {"item template nothing uses", "Display/ItemTemplate.xml",
         kHeader + "<Items>\n  <Item id=\"Spare\"/>\n</Items>\n", L"unused", FindingSeverity::kNote,
         "Display/ItemTemplate.xml", 3, L"Spare"},
        {"edit-view file nothing uses", "Display/Old/w.xml", kHeader + "\n<PropEditView/>\n",
         L"unused", FindingSeverity::kNote, "Display/Old/w.xml", 3, L""},
        {"control misspelt", "Display/v.xml",
         kHeader + "<PropEditView><GridShow><Main>\n" +
             "<Item><Control>Edit</Control></Item>\n<Item><Control>Edit</Control></Item>\n"
             "<Item><Control>Edit</Control></Item>\n<Item><Control>Edti</Control></Item>\n"
             "</Main></GridShow></PropEditView>\n",
         L"suspect-name", FindingSeverity::kWarning, "Display/v.xml", 6, L"Edti"},
        {"relative path not from the application folder", "Resource.xml",
         kHeader + "<Config>\n  <Images val=\"Resources\\img\"/>\n</Config>\n", L"relative-path",
         FindingSeverity::kWarning, "Resource.xml", 3, L"Resources\\img"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();  // a fresh clean layout
        dir_->Write(c.file, c.text);
        ReportCapture capture;
        const std::vector<ConfigFinding> findings = Check();
        EXPECT_TRUE(capture.reports.empty());
        EXPECT_TRUE(capture.diagnostics.empty());
        ASSERT_EQ(findings.size(), 1u) << Describe(findings);
        const ConfigFinding& finding = findings.front();
        EXPECT_EQ(finding.code, CString(c.code));
        EXPECT_EQ(finding.severity, c.severity);
        EXPECT_EQ(finding.file, dir_->WPath(c.findingFile));
        EXPECT_EQ(finding.text, CString(c.offending));
        EXPECT_EQ(finding.line, c.line);
        EXPECT_GT(finding.column, 0);
        EXPECT_FALSE(finding.message.IsEmpty());

        // The application's load of the same files: no report or diagnostic beyond those a
        // missing file always raised.
        capture.Clear();
        const CONFIG::ConfigLayout layout = Layout();
        CONFIG::CPropertiesConfig config(layout.definitionFolder, layout.displayFolder,
                                         layout.templateFolder, layout.propModelFolder,
                                         layout.graphLibrary1, layout.graphLibrary2,
                                         layout.shapePoolFolder);
        EXPECT_TRUE(capture.reports.empty());
        EXPECT_EQ(capture.diagnostics.size(), c.code == std::wstring(L"missing-file") ? 1u : 0u);
    }
}

TEST_F(ConfigCheckTest, ReportsAndDiagnosticsOfLoadingBecomeFindings) {
    dir_->Write("Display/ItemTemplate.xml",
                kHeader + "<Items><Item id=\"A\"/><Item id=\"A\"/></Items>\n");
    dir_->Write("Display/GridTemplate.xml", kHeader + "<PropEditView><GridShow></PropEditView>");
    const std::vector<ConfigFinding> findings = Check();
    ASSERT_EQ(findings.size(), 3u) << Describe(findings);
    EXPECT_EQ(findings[0].code, CString(L"duplicate-id"));
    EXPECT_EQ(findings[0].file, dir_->WPath("Display/ItemTemplate.xml"));
    EXPECT_EQ(findings[1].code, CString(L"unused"));  // of the checks: no item uses "A"
    EXPECT_EQ(findings[2].code, CString(L"parse-error"));
    EXPECT_EQ(findings[2].file, dir_->WPath("Display/GridTemplate.xml"));
    EXPECT_GT(findings[2].line, 0);
}

// A report of loading that says which text it did not know is found where that text stands,
// quoting it.
TEST_F(ConfigCheckTest, ReportsOfUnknownTextsQuoteThem) {
    struct Case {
        const char* what;
        std::string view;  // the edit-view file
        const wchar_t* code;
        int line;
        const wchar_t* offending;
    };
    const Case cases[] = {
        {"item template id",
         "<PropEditView><GridShow><Main>\n<Item id=\"Nope\"/>\n</Main>"
         "</GridShow></PropEditView>\n",
         L"dangling-reference", 3, L"Nope"},
        {"item variable",
         "<PropEditView><GridShow><Main>\n<Item><ItemVar>Nam</ItemVar></Item>\n"
         "</Main></GridShow></PropEditView>\n",
         L"unknown-name", 3, L"Nam"},
        {"view mode",
         "<PropEditView>\n<MarkShow><LiMain markclass=\"a\"/></MarkShow>\n"
         "</PropEditView>\n",
         L"unknown-tag", 3, L"LiMain"},
        {"container", "<PropEditView>\n\n<Container name=\"Nope\"/>\n</PropEditView>\n",
         L"dangling-reference", 4, L"Nope"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        dir_->Write("Display/v.xml", kHeader + c.view);
        const std::vector<ConfigFinding> findings = Check();
        ASSERT_EQ(findings.size(), 1u) << Describe(findings);
        EXPECT_EQ(findings[0].code, CString(c.code));
        EXPECT_EQ(findings[0].file, dir_->WPath("Display/v.xml"));
        EXPECT_EQ(findings[0].line, c.line);
        EXPECT_EQ(findings[0].text, CString(c.offending));
        EXPECT_NE(findings[0].message.Find(c.offending), -1);
    }
}

TEST_F(ConfigCheckTest, AMissingFolderIsOneFinding) {
    std::filesystem::remove_all(TempDir::Native(dir_->Folder() + "Display"));
    const std::vector<ConfigFinding> findings = Check();
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);
    EXPECT_EQ(findings[0].code, CString(L"missing-folder"));
    EXPECT_EQ(findings[0].file, dir_->WPath("Display/"));
}

}  // namespace

namespace {

// Without the extra checks only what loading raises is a finding.
TEST_F(ConfigCheckTest, WithoutExtraChecksOnlyLoadingsOwnProblems) {
    dir_->Write("Definitions/Wall_POOL.xml", Definition("Wal"));
    dir_->Write("Display/GridTemplate.xml", kHeader + "<PropEditView><GridShow></PropEditView>");
    CONFIG::CheckOptions options;
    options.extraChecks = false;
    const std::vector<ConfigFinding> findings = CONFIG::CheckConfiguration(Layout(), options);
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);
    EXPECT_EQ(findings[0].code, CString(L"parse-error"));
}

}  // namespace
