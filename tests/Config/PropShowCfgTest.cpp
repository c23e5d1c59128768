// The display configuration through IPropertyShow: locations, edit views, kinds, parameters,
// view modes and containers.
#include "PropShowCfg.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>

#include "PropEditView.h"
#include "ReportLines.h"
#include "TestSupport.h"

namespace CONFIG {
namespace {

using KADO::Product::EKADOComponentType;
using KADO::Product::EKADOParameterType;
using testing_support::ReportCapture;
using testing_support::TempDir;
using testing_support::Texts;
namespace kado = KADO::Product;

std::string LocShow(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<UI>" + body + "</UI>";
}

class PropShowCfgTest : public ::testing::Test {
protected:
    // Writes "PropertyLocShow.xml" with `body` inside "UI" and loads the folder.
    void LoadLocShow(const std::string& body) {
        folder.Write("PropertyLocShow.xml", LocShow(body));
        Load();
    }
    void Load() { cfg->LoadShowCfg(folder.WFolder()); }
    IPropertyShow& show() { return *cfg; }

    Texts DefineLocs() {
        Texts locs;
        show().GetDefineLocs(locs);
        return locs;
    }
    Texts ShowLocs() {
        Texts locs{L"replaced"};
        show().GetShowLocs(locs);
        return locs;
    }
    Texts SectionLocs(const CString& loc) {
        Texts locs;
        EXPECT_TRUE(show().GetSectionLocs(loc, locs));
        return locs;
    }

    TempDir folder;
    // Missing files of the small folders below say so here rather than on the console. Only
    // diagnostics: the tests capture their reports themselves, step by step.
    ReportCapture diagnostics{ReportCapture::kDiagnosticsOnly};
    std::unique_ptr<CPropShowCfg> cfg = std::make_unique<CPropShowCfg>();
};

// Locations

TEST_F(PropShowCfgTest, DefinedLocationsKeepFileOrderAndDuplicates) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow("<PropDefineShow><Loc>A</Loc><Loc>B</Loc><Loc>A</Loc><Loc/></PropDefineShow>");
    EXPECT_EQ(DefineLocs(), Texts({L"A", L"B", L"A", L""}));
    EXPECT_EQ(ShowLocs(), Texts({L"A", L"B", L"A", L""}));
    EXPECT_EQ(reports.Count(), 0);
    std::vector<CString> appended{L"first"};
    show().GetDefineLocs(appended);
    EXPECT_EQ(appended, Texts({L"first", L"A", L"B", L"A", L""}));
}

TEST_F(PropShowCfgTest, AddDefineLocDefinesWithoutShowing) {
    LoadLocShow("<PropDefineShow><Loc>A</Loc></PropDefineShow>");
    show().AddDefineLoc(L"");
    show().AddDefineLoc(L"A");
    show().AddDefineLoc(L"B");
    show().AddDefineLoc(L"B");
    show().AddDefineLoc(L"a");
    EXPECT_EQ(DefineLocs(), Texts({L"A", L"B", L"a"}));
    EXPECT_EQ(ShowLocs(), Texts({L"A"}));
    EXPECT_FALSE(show().IsLocShown(L"B"));
}

TEST_F(PropShowCfgTest, RemoveDefineLocsStopsAtAnUndefinedEntry) {
    LoadLocShow("<PropDefineShow><Loc>A</Loc><Loc>B</Loc><Loc>C</Loc></PropDefineShow>");
    show().RemoveDefineLocs({L"A", L"X", L"B"});
    EXPECT_EQ(DefineLocs(), Texts({L"B", L"C"}));
    show().RemoveDefineLocs({L"C", L"B"});
    EXPECT_TRUE(DefineLocs().empty());
    // The shown list is not touched, and a removed location can be defined again.
    EXPECT_EQ(ShowLocs(), Texts({L"A", L"B", L"C"}));
    show().AddDefineLoc(L"A");
    EXPECT_EQ(DefineLocs(), Texts({L"A"}));
}

TEST_F(PropShowCfgTest, RemovingADuplicateRemovesItsFirstPlaceOnly) {
    LoadLocShow("<PropDefineShow><Loc>A</Loc><Loc>B</Loc><Loc>A</Loc></PropDefineShow>");
    show().RemoveDefineLocs({L"A"});
    EXPECT_EQ(DefineLocs(), Texts({L"B", L"A"}));
    // The set no longer holds it: the next removal stops at it.
    show().RemoveDefineLocs({L"A", L"B"});
    EXPECT_EQ(DefineLocs(), Texts({L"B", L"A"}));
}

TEST_F(PropShowCfgTest, SetShowLocsReplacesTheShownList) {
    LoadLocShow("<PropDefineShow><Loc>\\a\\b</Loc></PropDefineShow>");
    EXPECT_TRUE(show().IsLocShown(L"\\a\\b"));
    show().SetShowLocs({L"\\c\\d", L"\\c\\d"});
    EXPECT_EQ(ShowLocs(), Texts({L"\\c\\d", L"\\c\\d"}));
    EXPECT_FALSE(show().IsLocShown(L"\\a\\b"));
    EXPECT_TRUE(show().IsLocShown(L"\\c\\d"));
    show().SetShowLocs({});
    EXPECT_TRUE(ShowLocs().empty());
    EXPECT_FALSE(show().IsLocShown(L"\\c\\d"));
    EXPECT_EQ(DefineLocs(), Texts({L"\\a\\b"}));
}

constexpr char kSections[] = R"(
  <PropDefineShow>
    <Loc>\基本构件\墙\直形墙</Loc>
    <Loc>\基本构件\梁</Loc>
    <Loc>\其它图库\其它构件</Loc>
    <Loc>\其它图库2\x</Loc>
    <Loc>其它图库\no leading separator</Loc>
  </PropDefineShow>
  <SectionSelect>
    <Loc loc="墙体">\基本构件\墙\直形墙;基本;\not shown\x;无;\broken</Loc>
    <Loc loc="墙体">\ignored\later</Loc>
    <Loc loc="其它图库">unused</Loc>
    <Loc loc="空">无;;\x</Loc>
    <Loc>empty key</Loc>
  </SectionSelect>)";

TEST_F(PropShowCfgTest, SectionLocsExpandLocations) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow(kSections);
    EXPECT_EQ(reports.Count(), 0);
    const struct {
        const wchar_t* loc;
        Texts expanded;
        bool shown;
    } cases[] = {
        // A listed location: valid texts themselves, others collected from the shown list.
        {L"墙体",
         {L"\\基本构件\\墙\\直形墙", L"\\基本构件\\墙\\直形墙", L"\\基本构件\\梁",
          L"\\not shown\\x"},
         true},
        // Texts that are all invalid and match nothing shown expand to nothing.
        {L"空", {}, false},
        {L"", {}, false},
        // Not listed, but its major category is: every shown location whose first part
        // begins with the category, not the category's own list.
        {L"\\其它图库\\新构件", {L"\\其它图库\\其它构件", L"\\其它图库2\\x"}, true},
        // Neither: the location itself.
        {L"\\基本构件\\梁", {L"\\基本构件\\梁"}, true},
        {L"\\基本构件\\柱", {L"\\基本构件\\柱"}, false},
        // The major category is the first part, with or without a leading separator.
        {L"其它图库\\no leading separator", {L"\\其它图库\\其它构件", L"\\其它图库2\\x"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.loc)));
        EXPECT_EQ(SectionLocs(c.loc), c.expanded);
        EXPECT_EQ(show().IsLocShown(c.loc), c.shown);
    }
    EXPECT_EQ(reports.Count(), 0);
}

TEST_F(PropShowCfgTest, SectionLocsAppend) {
    LoadLocShow(kSections);
    std::vector<CString> locs{L"kept"};
    show().GetSectionLocs(L"\\基本构件\\梁", locs);
    show().GetSectionLocs(L"\\基本构件\\梁", locs);
    EXPECT_EQ(locs, Texts({L"kept", L"\\基本构件\\梁", L"\\基本构件\\梁"}));
}

TEST_F(PropShowCfgTest, IsLocShownUsesAnOverriddenExpansion) {
    class Expanding : public CPropShowCfg {
    public:
        bool GetSectionLocs(const CString&, std::vector<CString>& locs) override {
            locs.push_back(L"\\shown\\x");
            return true;
        }
    };
    Expanding expanding;
    expanding.SetShowLocs({L"\\shown\\x"});
    EXPECT_TRUE(expanding.IsLocShown(L"anything"));
}

TEST_F(PropShowCfgTest, SectionsAreEnteredByTheirOwnTag) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow(R"(
      <PropDefineShow><Note>not a location</Note><Loc>A</Loc><Loc>B</Loc></PropDefineShow>
      <SectionSelect><Note loc="N">n</Note><Loc loc="K">\a\b</Loc></SectionSelect>
      <Properties><Note clsname="Beam"><Kind kd="region"/></Note>
                  <Property clsname="Wall"><Kind kd="block"/></Property></Properties>
      <View3DMode><Note name="SGPaper" clsname="Beam"/>
                  <ViewMode name="LiMian" clsname="Wall"/></View3DMode>)");
    EXPECT_EQ(DefineLocs(), Texts({L"A", L"B"}));
    EXPECT_EQ(SectionLocs(L"K"), Texts({L"\\a\\b"}));
    EXPECT_EQ(SectionLocs(L"N"), Texts({L"N"}));
    EXPECT_EQ(show().GetComponentKind(kado::Wall), 1);
    EXPECT_EQ(show().GetView3DMode(kado::Wall), kViewLiMian);
    EXPECT_EQ(show().GetView3DMode(kado::Beam), kView3D);
    EXPECT_EQ(reports.Count(), 0);
    show().GetComponentKind(kado::Beam);
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kComponentKindMissing});
}

TEST_F(PropShowCfgTest, MissingSectionsLeaveTheOthersReadable) {
    const struct {
        const char* name;
        const char* body;
    } cases[] = {
        {"no PropDefineShow", "<SectionSelect><Loc loc=\"K\">\\a\\b</Loc></SectionSelect>"},
        {"no SectionSelect", "<PropDefineShow><Loc>A</Loc></PropDefineShow>"},
        {"neither", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cfg = std::make_unique<CPropShowCfg>();
        ReportCapture reports(ReportCapture::kReportsOnly);
        LoadLocShow(std::string(c.body) + R"(
          <Properties><Property clsname="Wall"><Kind kd="region"/></Property></Properties>
          <ViewParam>Length</ViewParam>
          <MeterParam>Width</MeterParam>
          <View3DMode><ViewMode name="PingMian" clsname="Wall"/></View3DMode>)");
        EXPECT_EQ(reports.Count(), 0);
        EXPECT_EQ(show().GetComponentKind(kado::Wall), 2);
        EXPECT_TRUE(show().IsViewParam(kado::Length));
        std::vector<EKADOParameterType> meters;
        show().GetMeterParams(meters);
        EXPECT_EQ(meters, std::vector<EKADOParameterType>{kado::Width});
        EXPECT_EQ(show().GetView3DMode(kado::Wall), kViewPingMian);
    }
}

TEST_F(PropShowCfgTest, FolderWithoutFilesAnswersDefaults) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    Load();
    EXPECT_EQ(reports.Count(), 0);
    EXPECT_TRUE(DefineLocs().empty());
    EXPECT_TRUE(ShowLocs().empty());
    EXPECT_EQ(SectionLocs(L"\\a\\b"), Texts({L"\\a\\b"}));
    EXPECT_FALSE(show().IsLocShown(L"\\a\\b"));
    EXPECT_EQ(show().GetComponentKind(kado::Wall), 0);
    EXPECT_EQ(show().GetView3DMode(kado::Wall), kView3D);
    EXPECT_FALSE(show().IsViewParam(kado::Length));
    std::vector<EKADOParameterType> meters{kado::Length};
    show().GetMeterParams(meters);
    EXPECT_TRUE(meters.empty());
    EXPECT_TRUE(show().GetEnableContainers()->empty());
    IPropEditView* fallback = show().GetPropEditView(L"Wall", L"\\a\\b");
    ASSERT_NE(fallback, nullptr);
    EXPECT_TRUE(fallback->GetGridShows().empty());
    EXPECT_EQ(reports.Lines(),
              (std::vector<int>{line::kComponentKindMissing, line::kNoEditViewMatches}));
}

TEST_F(PropShowCfgTest, FileWithoutUiKeepsTheShownList) {
    show().SetShowLocs({L"kept"});
    folder.Write("PropertyLocShow.xml",
                 "<Root><PropDefineShow><Loc>A</Loc></PropDefineShow></Root>");
    Load();
    EXPECT_EQ(ShowLocs(), Texts({L"kept"}));
    EXPECT_TRUE(DefineLocs().empty());
}

// Kinds, parameters and view modes

TEST_F(PropShowCfgTest, ComponentKinds) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow(R"(<Properties>
      <Property clsname="Wall"><Kind kd="linear"/></Property>
      <Property clsname="Slab"><Kind kd="region"/></Property>
      <Property clsname="Wall"><Kind kd="region"/></Property>
      <Property clsname="Column"><Kind kd="Block"/></Property>
      <Property clsname="Beam"><Kind/></Property>
      <Property clsname="Pipe" kd="block"/>
      <Property clsname="Fence"><Kind kd="block"/></Property>
      <Property><Kind kd="block"/></Property>
    </Properties>)");
    // "Block", a "Kind" without "kd" and a "Property" without "Kind" (whatever it carries
    // itself) are unknown kinds.
    EXPECT_EQ(reports.Lines(), std::vector<int>(3, line::kKindUnknown));
    reports.Clear();
    const struct {
        EKADOComponentType type;
        int kind;
    } cases[] = {
        {kado::Wall, 0},
        {kado::Slab, 2},
        {kado::Column, 0},
        {kado::Beam, 0},
        {kado::Pipe, 0},
        {kado::Fence, 1},
        {kado::InvalidComponentType, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(show().GetComponentKind(c.type), c.kind);
    }
    EXPECT_EQ(reports.Count(), 0);
    EXPECT_EQ(show().GetComponentKind(kado::Road), 0);
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kComponentKindMissing});
}

TEST_F(PropShowCfgTest, ViewAndMeterParameters) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow(R"(<ViewParam>Length;Width;Length;类别</ViewParam>
                   <ViewParam>Height</ViewParam>
                   <MeterParam>Width;Width;Unknown</MeterParam>)");
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kViewParamRepeated});
    EXPECT_TRUE(show().IsViewParam(kado::Length));
    EXPECT_TRUE(show().IsViewParam(kado::Width));
    EXPECT_TRUE(show().IsViewParam(kado::Category));
    EXPECT_FALSE(show().IsViewParam(kado::Height));
    EXPECT_FALSE(show().IsViewParam(kado::InvalidParameterType));
    std::vector<EKADOParameterType> meters{kado::Color};
    show().GetMeterParams(meters);
    EXPECT_EQ(meters, (std::vector<EKADOParameterType>{kado::Width, kado::Width,
                                                       kado::InvalidParameterType}));
}

TEST_F(PropShowCfgTest, ViewParamWithTrailingSeparator) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow("<ViewParam>Length;;</ViewParam>");
    // Two empty pieces: the second repeats the first.
    EXPECT_TRUE(show().IsViewParam(kado::Length));
    EXPECT_TRUE(show().IsViewParam(kado::InvalidParameterType));
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kViewParamRepeated});
}

TEST_F(PropShowCfgTest, ViewModesTakeTheLaterValue) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow(R"(<View3DMode>
      <ViewMode name="PingMian" clsname="Wall;Beam"/>
      <ViewMode name="SGPaper" clsname="Beam;Slab;Beam"/>
      <ViewMode name="PouMian" clsname="Column"/>
      <ViewMode name="Plan" clsname="Pipe;Road"/>
      <ViewMode name="LiMian"/>
    </View3DMode>)");
    EXPECT_EQ(reports.Lines(), std::vector<int>(2, line::kViewModeUnknown));
    const struct {
        EKADOComponentType type;
        int mode;
    } cases[] = {
        {kado::Wall, kViewPingMian},
        {kado::Beam, kViewSGPaper},
        {kado::Slab, kViewSGPaper},
        {kado::Column, kViewPouMian},
        {kado::Pipe, kViewPouMian},
        {kado::Road, kViewPouMian},
        {kado::InvalidComponentType, kViewLiMian},
        {kado::Fence, kView3D},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(show().GetView3DMode(c.type), c.mode);
    }
}

TEST_F(PropShowCfgTest, ComponentsAreAllIncluded) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    EXPECT_TRUE(show().IsComponentIncluded(L""));
    EXPECT_TRUE(show().IsComponentIncluded(L"Wall"));
    EXPECT_TRUE(show().IsComponentIncluded(L"NoSuchComponent"));
    EXPECT_TRUE(show().IsComponentTypeIncluded(kado::InvalidComponentType));
    EXPECT_EQ(reports.Count(), 0);
}

// Edit views

constexpr char kGridTemplate[] = R"(<PropEditView>
  <GridShow>
    <Main><Item><Name>template main</Name></Item></Main>
    <Attach><Item id="Thick"/></Attach>
  </GridShow>
</PropEditView>)";

constexpr char kItemTemplate[] = R"(<Items>
  <Item id="Thick"><Name>厚度</Name><Variable>Thickness</Variable></Item>
</Items>)";

std::string ViewFile(const std::string& name) {
    return "<PropEditView><MarkShow><View3D markclass=\"" + name +
           "\"/></MarkShow><GridShow><Main ref=\"1\"><Item><Name>" + name +
           "</Name></Item></Main><Attach ref=\"1\"/></GridShow><Container name=\"" + name +
           "\"/></PropEditView>";
}

// The name a loaded location view carries in its mark classes, or "fallback".
std::wstring NameOf(IPropEditView* view) {
    std::vector<CString> classes;
    if (!view->GetMarkClasses(kView3D, classes)) return L"fallback";
    return std::wstring(classes.at(0).str());
}

class EditViewSelectionTest : public PropShowCfgTest {
protected:
    void SetUp() override {
        folder.Write("ItemTemplate.xml", kItemTemplate);
        folder.Write("GridTemplate.xml", kGridTemplate);
        for (const char* name : {"WallAtBase", "WallFirst", "Anywhere", "BeamAnywhere", "Empty",
                                 "LaterLoc", "Shared"}) {
            folder.Write(std::string(name) + ".xml", ViewFile(name));
        }
        ReportCapture reports(ReportCapture::kReportsOnly);
        LoadLocShow(R"(<PropEditView>
          <View view="Anywhere.xml" typeandsection="Wall;Slab" loc=""/>
          <View view="WallAtBase.xml" typeandsection=";Wall_Rect" loc="\基本构件"/>
          <View view="WallFirst.xml" typeandsection="Wall" loc="\基本构件\墙"/>
          <View view="BeamAnywhere.xml" typeandsection="Beam"/>
          <View view="Empty.xml" typeandsection="" loc="\基本构件"/>
          <View view="Empty.xml" typeandsection=";;" loc=""/>
          <View view="Missing.xml" typeandsection="Pipe" loc="\其它"/>
          <View view="LaterLoc.xml" typeandsection="Slab" loc="\其它"/>
          <View view="Shared.xml" typeandsection="Column" loc="x"/>
          <View view="Shared.xml" typeandsection="Column" loc="y"/>
        </PropEditView>)");
        EXPECT_EQ(reports.Lines(), std::vector<int>{line::kViewFileNotLoaded});
    }
};

TEST_F(EditViewSelectionTest, FirstMatchingLocationThenWithoutLocationThenFallback) {
    const struct {
        const wchar_t* section;
        const wchar_t* loc;
        const wchar_t* view;
        bool reported = false;
    } cases[] = {
        // First scan, file order: the earlier of two matching views with a location.
        {L"Wall_Rect", L"\\基本构件\\墙\\直形墙", L"WallAtBase"},
        {L"Wall", L"\\基本构件\\墙\\直形墙", L"WallFirst"},
        // Texts may begin at index 1 of the request.
        {L"_Wall_Rect", L"_\\基本构件", L"WallAtBase"},
        // ... but not at index 2.
        {L"xxWall", L"\\基本构件\\墙", L"fallback", true},
        // A view with a location wins over an earlier one without.
        {L"Slab", L"\\其它\\x", L"LaterLoc"},
        // Second scan: views without a location, whatever the request's location.
        {L"Slab", L"\\基本构件", L"Anywhere"},
        {L"Wall", L"", L"Anywhere"},
        {L"Beam_T", L"\\any", L"BeamAnywhere"},
        // A view whose file is missing still matches, with no content of its own.
        {L"Pipe", L"\\其它", L"fallback"},
        // Nothing matches.
        {L"Road", L"\\基本构件", L"fallback", true},
        {L"", L"", L"fallback", true},
        // Two entries of one file are two views; the first is found.
        {L"Column", L"y", L"Shared"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.section) + L" @ " + c.loc));
        ReportCapture reports(ReportCapture::kReportsOnly);
        IPropEditView* view = show().GetPropEditView(c.section, c.loc);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(NameOf(view), c.view);
        EXPECT_EQ(reports.Lines(),
                  c.reported ? std::vector<int>{line::kNoEditViewMatches} : std::vector<int>{});
    }
}

TEST_F(EditViewSelectionTest, ViewsAreDistinctAndStable) {
    IPropEditView* fallback = show().GetPropEditView(L"Road", L"");
    IPropEditView* pipe = show().GetPropEditView(L"Pipe", L"\\其它");
    EXPECT_NE(fallback, pipe);
    EXPECT_EQ(fallback, show().GetPropEditView(L"Nothing", L""));
    EXPECT_NE(show().GetPropEditView(L"Column", L"x"), show().GetPropEditView(L"Column", L"y"));
    EXPECT_EQ(show().GetPropEditView(L"Wall", L"\\基本构件\\墙"),
              show().GetPropEditView(L"Wall", L"\\基本构件\\墙\\直形墙"));
}

TEST_F(EditViewSelectionTest, LocationViewsAreBasedOnTheGridTemplate) {
    IPropEditView* view = show().GetPropEditView(L"Wall", L"\\基本构件\\墙");
    GridShowData* main = view->FindGridShow(kPartMain);
    ASSERT_NE(main, nullptr);
    Texts names;
    for (const GridItemData* item : main->items) names.push_back(item->name);
    EXPECT_EQ(names, Texts({L"WallFirst", L"template main"}));
    // The grid template's template item, copied once more.
    GridShowData* attach = view->FindGridShow(kPartAttach);
    ASSERT_EQ(attach->items.size(), 1u);
    EXPECT_EQ(attach->items.front()->name.str(), L"厚度");
    EXPECT_EQ(attach->items.front()->paramType, kado::Thickness);
    EXPECT_TRUE(attach->items.front()->id.IsEmpty());
}

TEST_F(PropShowCfgTest, ViewLoadingReports) {
    folder.Write("Other.xml", "<NotAView/>");
    folder.Write("V.xml",
                 "<PropEditView><GridShow><Main><Item id=\"none\"/></Main></GridShow>"
                 "</PropEditView>");
    ReportCapture capture(ReportCapture::kReportsOnly);
    LoadLocShow(R"(<PropEditView>
      <View view="Missing.xml" typeandsection="Wall"/>
      <View view="Other.xml" typeandsection="Wall"/>
      <View view="V.xml" typeandsection="Wall"/>
      <View/>
    </PropEditView>)");
    // No "ItemTemplate.xml": the template lookup reports, then each unloadable view.
    EXPECT_EQ(capture.Lines(),
              (std::vector<int>{line::kViewFileNotLoaded, line::kViewFileNotLoaded,
                                line::kItemTemplateMissing, line::kViewFileNotLoaded}));
    for (const TOOLS::LogReport& report : capture.reports) {
        EXPECT_EQ(report.file.str(), L"Config\\PropShowCfg");
    }
}

TEST_F(PropShowCfgTest, FileNamedByTwoViewsIsReadOnceIntoTwoViews) {
    folder.Write("V.xml", R"(<PropEditView><GridShow><Main><Item id="none"/></Main></GridShow>
      </PropEditView>)");
    folder.Write("ItemTemplate.xml", "<Items/>");
    folder.Write("GridTemplate.xml", "<PropEditView/>");
    folder.Write("EnableContainer.xml", "<Containers/>");
    ReportCapture capture;
    LoadLocShow(R"(<PropEditView>
      <View view="V.xml" typeandsection="Wall" loc="a"/>
      <View view="Missing.xml" typeandsection="Wall" loc="m"/>
      <View view="V.xml" typeandsection="Wall" loc="b"/>
      <View view="Missing.xml" typeandsection="Wall" loc="n"/>
    </PropEditView>)");
    // Each view reads its entry: the missing template twice, the missing file twice.
    EXPECT_EQ(capture.Lines(),
              (std::vector<int>{line::kItemTemplateMissing, line::kViewFileNotLoaded,
                                line::kItemTemplateMissing, line::kViewFileNotLoaded}));
    // Reports name the file being read when they were made.
    const CString viewFile = folder.WPath("V.xml");
    const CString locationFile = folder.WPath("PropertyLocShow.xml");
    EXPECT_EQ(capture.reports[0].context.str(), viewFile.str());
    EXPECT_EQ(capture.reports[1].context.str(), locationFile.str());
    EXPECT_EQ(capture.reports[2].context.str(), viewFile.str());
    EXPECT_EQ(capture.reports[3].context.str(), locationFile.str());
    // The missing file was looked for once.
    ASSERT_EQ(capture.diagnostics.size(), 1u);
    EXPECT_EQ(capture.diagnostics[0].file.str(), folder.WPath("Missing.xml").str());

    IPropEditView* first = show().GetPropEditView(L"Wall", L"a");
    IPropEditView* second = show().GetPropEditView(L"Wall", L"b");
    EXPECT_NE(first, second);
    ASSERT_NE(first->FindGridShow(kPartMain), nullptr);
    ASSERT_NE(second->FindGridShow(kPartMain), nullptr);
    EXPECT_NE(first->FindGridShow(kPartMain), second->FindGridShow(kPartMain));
    EXPECT_EQ(second->FindGridShow(kPartMain)->items.size(), 1u);
}

// Containers

TEST_F(PropShowCfgTest, ContainerTable) {
    folder.Write("EnableContainer.xml", R"(<Containers>
      <Container name="K"><Listener name="X_Main" data="1"/></Container>
      <Container name="K"><Listener name="Y_Main" data="2"/></Container>
      <Container name="k"/>
      <Container><Listener name="Z_Side"/></Container>
      <Other name="O"/>
    </Containers>)");
    ReportCapture reports(ReportCapture::kReportsOnly);
    Load();
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kContainerRepeated});
    ContainerTable* table = show().GetEnableContainers();
    ASSERT_EQ(table->size(), 3u);
    ASSERT_EQ(table->at(L"K").listeners.size(), 1u);
    EXPECT_EQ(table->at(L"K").listeners[0].name.str(), L"X_Main");
    EXPECT_TRUE(table->at(L"k").listeners.empty());
    EXPECT_EQ(table->at(L"").listeners[0].kind, kPartSide);
    EXPECT_EQ(show().GetEnableContainers(), table);

    // A second load adds new names and reports each name already present.
    folder.Write("EnableContainer.xml",
                 R"(<Containers><Container name="K"/><Container name="New"/></Containers>)");
    reports.Clear();
    Load();
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kContainerRepeated});
    EXPECT_EQ(table->size(), 4u);
}

TEST_F(PropShowCfgTest, EmptyContainersFile) {
    folder.Write("EnableContainer.xml", "<Containers/>");
    ReportCapture reports(ReportCapture::kReportsOnly);
    Load();
    EXPECT_TRUE(show().GetEnableContainers()->empty());
    EXPECT_EQ(reports.Count(), 0);
}

TEST_F(PropShowCfgTest, ViewsSeeTheContainerTableFilledAfterThem) {
    folder.Write("V.xml", R"(<PropEditView><Container name="K">
      <Listener name="Y_Main" data="view"/></Container></PropEditView>)");
    folder.Write("EnableContainer.xml", R"(<Containers><Container name="K">
      <Listener name="X_Attach" data="1"/><Listener name="Y_Main" data="2"/>
    </Container></Containers>)");
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow("<PropEditView><View view=\"V.xml\" typeandsection=\"Wall\"/></PropEditView>");
    EXPECT_EQ(reports.Count(), 0);
    ContainerData container = show().GetPropEditView(L"Wall", L"")->GetContainer();
    ASSERT_EQ(container.listeners.size(), 2u);
    EXPECT_EQ(container.listeners[0].data.str(), L"1");
    EXPECT_EQ(container.listeners[0].kind, kPartAttach);
    EXPECT_EQ(container.listeners[1].data.str(), L"view");
    // The table is shared, not copied: a later change shows.
    (*show().GetEnableContainers())[L"K"].listeners.clear();
    EXPECT_TRUE(show().GetPropEditView(L"Wall", L"")->GetContainer().listeners.empty());
}

// Loading twice and copying

TEST_F(PropShowCfgTest, SecondLoadAddsToTheTables) {
    folder.Write("V.xml", "<PropEditView/>");
    LoadLocShow(R"(<PropDefineShow><Loc>A</Loc></PropDefineShow>
      <SectionSelect><Loc loc="K">\a\b</Loc></SectionSelect>
      <Properties><Property clsname="Wall"><Kind kd="block"/></Property></Properties>
      <MeterParam>Width</MeterParam>
      <PropEditView><View view="V.xml" typeandsection="Wall" loc="\a"/></PropEditView>
      <View3DMode><ViewMode name="LiMian" clsname="Wall"/></View3DMode>)");
    show().SetShowLocs({L"changed"});
    ReportCapture reports(ReportCapture::kReportsOnly);
    LoadLocShow(R"(<PropDefineShow><Loc>A</Loc><Loc>B</Loc></PropDefineShow>
      <SectionSelect><Loc loc="K">\c\d</Loc></SectionSelect>
      <Properties><Property clsname="Wall"><Kind kd="region"/></Property></Properties>
      <MeterParam>Width</MeterParam>
      <PropEditView><View view="V.xml" typeandsection="Wall" loc="\b"/></PropEditView>
      <View3DMode><ViewMode name="PingMian" clsname="Wall"/></View3DMode>)");
    EXPECT_EQ(reports.Count(), 0);
    EXPECT_EQ(DefineLocs(), Texts({L"A", L"A", L"B"}));
    EXPECT_EQ(ShowLocs(), Texts({L"A", L"A", L"B"}));
    EXPECT_EQ(SectionLocs(L"K"), Texts({L"\\a\\b"}));
    EXPECT_EQ(show().GetComponentKind(kado::Wall), 1);
    std::vector<EKADOParameterType> meters;
    show().GetMeterParams(meters);
    EXPECT_EQ(meters.size(), 2u);
    EXPECT_EQ(show().GetView3DMode(kado::Wall), kViewPingMian);
    IPropEditView* first = show().GetPropEditView(L"Wall", L"\\a");
    IPropEditView* second = show().GetPropEditView(L"Wall", L"\\b");
    EXPECT_NE(first, second);
    EXPECT_EQ(reports.Count(), 0);
}

TEST_F(PropShowCfgTest, CopyIsIndependent) {
    folder.Write("ItemTemplate.xml", kItemTemplate);
    folder.Write("GridTemplate.xml", kGridTemplate);
    folder.Write("V.xml", ViewFile("V"));
    folder.Write("EnableContainer.xml", R"(<Containers><Container name="V">
      <Listener name="X_Main" data="1"/></Container></Containers>)");
    LoadLocShow(R"(<PropDefineShow><Loc>\a\b</Loc></PropDefineShow>
      <SectionSelect><Loc loc="K">\a\b</Loc></SectionSelect>
      <Properties><Property clsname="Wall"><Kind kd="block"/></Property></Properties>
      <ViewParam>Length</ViewParam><MeterParam>Width</MeterParam>
      <PropEditView><View view="V.xml" typeandsection="Wall" loc="\a"/></PropEditView>
      <View3DMode><ViewMode name="LiMian" clsname="Wall"/></View3DMode>)");

    auto copy = std::make_unique<CPropShowCfg>(*cfg);
    IPropEditView* original = show().GetPropEditView(L"Wall", L"\\a");
    IPropEditView* copied = copy->GetPropEditView(L"Wall", L"\\a");
    EXPECT_NE(copied, original);
    EXPECT_NE(copy->GetEnableContainers(), show().GetEnableContainers());
    ReportCapture reports(ReportCapture::kReportsOnly);
    EXPECT_EQ(NameOf(copied), L"V");
    EXPECT_NE(copy->GetPropEditView(L"none", L""), show().GetPropEditView(L"none", L""));
    EXPECT_EQ(reports.Lines(), std::vector<int>(2, line::kNoEditViewMatches));

    // The original changes and then goes away; the copy keeps what it had.
    show().AddDefineLoc(L"\\new\\loc");
    show().SetShowLocs({});
    (*show().GetEnableContainers())[L"V"].listeners.clear();
    original->GetGridShows().front()->items.front()->name = L"changed";
    cfg.reset();

    std::vector<CString> locs;
    copy->GetDefineLocs(locs);
    EXPECT_EQ(locs, Texts({L"\\a\\b"}));
    EXPECT_TRUE(copy->IsLocShown(L"K"));
    EXPECT_EQ(copy->GetComponentKind(kado::Wall), 1);
    EXPECT_TRUE(copy->IsViewParam(kado::Length));
    EXPECT_EQ(copy->GetView3DMode(kado::Wall), kViewLiMian);
    std::vector<EKADOParameterType> meters;
    copy->GetMeterParams(meters);
    EXPECT_EQ(meters, std::vector<EKADOParameterType>{kado::Width});
    ContainerData container = copied->GetContainer();
    ASSERT_EQ(container.listeners.size(), 1u);
    EXPECT_EQ(container.listeners[0].data.str(), L"1");
    Texts names;
    for (const GridItemData* item : copied->FindGridShow(kPartMain)->items) {
        names.push_back(item->name);
    }
    EXPECT_EQ(names, Texts({L"V", L"template main"}));
    EXPECT_EQ(copied->FindGridShow(kPartAttach)->items.front()->name.str(), L"厚度");
    EXPECT_EQ(reports.Count(), 2);

    // A copy of the copy is as good.
    CPropShowCfg again(*copy);
    EXPECT_EQ(NameOf(again.GetPropEditView(L"Wall", L"\\a")), L"V");
}

// A display folder as the application ships it: Chinese locations, a location file in GB2312,
// edit views in a subfolder named with a backslash.
class DisplayFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReportCapture capture;
        cfg.LoadShowCfg(CString(SITECONFIG_TEST_DATA_DIR L"display/"));
        EXPECT_EQ(capture.Count(), 0);
        EXPECT_TRUE(capture.diagnostics.empty());
    }

    static Texts Names(const GridShowData* group) {
        Texts names;
        if (group) {
            for (const GridItemData* item : group->items) names.push_back(item->name);
        }
        return names;
    }

    CPropShowCfg cfg;
};

TEST_F(DisplayFolderTest, Locations) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    std::vector<CString> defined;
    cfg.GetDefineLocs(defined);
    ASSERT_EQ(defined.size(), 8u);
    EXPECT_EQ(defined.front().str(), L"\\基本构件\\墙\\直形墙");
    EXPECT_EQ(defined.back().str(), L"\\其它图库\\其它构件");
    std::vector<CString> shown;
    cfg.GetShowLocs(shown);
    EXPECT_EQ(shown, defined);

    const struct {
        const wchar_t* loc;
        Texts expanded;
    } cases[] = {
        {L"\\基本构件\\墙", {L"\\基本构件\\墙\\直形墙", L"\\基本构件\\墙\\弧形墙"}},
        {L"临时设施", {L"\\临时设施\\塔吊\\塔吊", L"\\临时设施\\围墙\\围墙"}},
        {L"\\临时设施\\塔吊\\塔吊", {L"\\临时设施\\塔吊\\塔吊", L"\\临时设施\\围墙\\围墙"}},
        {L"\\其它图库\\其它构件", {L"\\其它图库\\其它构件"}},
        {L"\\基本构件\\梁\\矩形梁", {L"\\基本构件\\梁\\矩形梁"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.loc)));
        std::vector<CString> expanded;
        EXPECT_TRUE(cfg.GetSectionLocs(c.loc, expanded));
        EXPECT_EQ(expanded, c.expanded);
        EXPECT_TRUE(cfg.IsLocShown(c.loc));
    }
    EXPECT_FALSE(cfg.IsLocShown(L"\\基本构件\\墙\\挡土墙"));

    // Hiding the other library hides every location that expands into it.
    shown.pop_back();
    cfg.SetShowLocs(shown);
    EXPECT_FALSE(cfg.IsLocShown(L"\\其它图库\\其它构件"));
    EXPECT_FALSE(cfg.IsLocShown(L"\\其它图库\\新构件"));
    EXPECT_EQ(reports.Count(), 0);
}

TEST_F(DisplayFolderTest, KindsParametersAndViewModes) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    EXPECT_EQ(cfg.GetComponentKind(kado::Wall), 0);
    EXPECT_EQ(cfg.GetComponentKind(kado::Slab), 2);
    EXPECT_EQ(cfg.GetComponentKind(kado::TowerCrane), 1);
    EXPECT_TRUE(cfg.IsViewParam(kado::Category));
    EXPECT_TRUE(cfg.IsViewParam(kado::Height));
    EXPECT_FALSE(cfg.IsViewParam(kado::Thickness));
    std::vector<EKADOParameterType> meters;
    cfg.GetMeterParams(meters);
    EXPECT_EQ(meters,
              (std::vector<EKADOParameterType>{kado::Length, kado::Thickness, kado::Height}));
    EXPECT_EQ(cfg.GetView3DMode(kado::Fence), kViewSGPaper);
    EXPECT_EQ(cfg.GetView3DMode(kado::Wall), kViewLiMian);
    EXPECT_EQ(cfg.GetView3DMode(kado::Road), kViewPingMian);
    EXPECT_EQ(cfg.GetView3DMode(kado::Beam), kView3D);
    EXPECT_EQ(reports.Count(), 0);
    EXPECT_EQ(cfg.GetComponentKind(kado::Pipe), 0);
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kComponentKindMissing});
}

TEST_F(DisplayFolderTest, WallView) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    IPropEditView* view = cfg.GetPropEditView(L"Wall", L"\\基本构件\\墙\\直形墙");
    std::vector<CString> classes;
    ASSERT_TRUE(view->GetMarkClasses(kViewPouMian, classes));
    EXPECT_EQ(classes, Texts({L"墙厚", L"墙高"}));
    EXPECT_FALSE(view->GetMarkClasses(kViewSGPaper, classes));
    ASSERT_EQ(view->GetGridShows().size(), 3u);

    const GridShowData* main = view->FindGridShow(kPartMain);
    EXPECT_EQ(Names(main), Texts({L"厚度(mm)", L"墙高(mm)", L"名称", L"类别"}));
    const GridItemData& thickness = *main->items.front();
    EXPECT_EQ(thickness.id.str(), L"Thickness");
    EXPECT_EQ(thickness.paramType, kado::Thickness);
    EXPECT_EQ(thickness.itemVar, kItemVarZTThickness);
    EXPECT_EQ(thickness.options.text.str(), L"100;120;180;200;240;300");
    EXPECT_EQ(thickness.groups, Texts({L"尺寸", L"几何"}));
    EXPECT_TRUE((*std::next(main->items.begin()))->canBePrivate);
    EXPECT_EQ(main->items.back()->enable, 0);
    EXPECT_TRUE(main->items.back()->id.IsEmpty());

    EXPECT_EQ(Names(view->FindGridShow(kPartAttach)), Texts({L"底标高(m)", L"颜色"}));

    const GridShowData* structure = view->FindGridShow(kPartStruct);
    ASSERT_NE(structure, nullptr);
    EXPECT_EQ(structure->param.str(), L"WallStruct");
    ASSERT_EQ(structure->items.size(), 2u);
    const ItemOptions& material = structure->items.front()->options;
    ASSERT_EQ(material.assembles.size(), 1u);
    const AssembleData& assemble = *material.assembles.front();
    EXPECT_EQ(assemble.paramType, kado::Material);
    ASSERT_EQ(assemble.states.size(), 2u);
    EXPECT_EQ(assemble.states.front()->option.str(), L"混凝土;砖;钢");
    EXPECT_TRUE(assemble.states.back()->edit);
    const ItemOptions& bond = structure->items.back()->options;
    ASSERT_EQ(bond.switches.size(), 2u);
    EXPECT_EQ(bond.switches.back()->title.str(), L"砌块墙");
    EXPECT_EQ(bond.switches.back()->items.size(), 2u);

    ContainerData container = view->GetContainer();
    EXPECT_EQ(container.name.str(), L"WallContainer");
    ASSERT_EQ(container.listeners.size(), 3u);
    const struct {
        const wchar_t* name;
        const wchar_t* data;
        int kind;
    } listeners[] = {
        {L"Wall_Main", L"WallSection", kPartMain},
        {L"Wall_Attach", L"WallAttach", kPartAttach},
        {L"Wall_Struct", L"WallStructure", kPartStruct},
    };
    for (size_t i = 0; i < std::size(listeners); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(container.listeners[i].name.str(), listeners[i].name);
        EXPECT_EQ(container.listeners[i].data.str(), listeners[i].data);
        EXPECT_EQ(container.listeners[i].kind, listeners[i].kind);
    }
    EXPECT_EQ(reports.Count(), 0);
}

TEST_F(DisplayFolderTest, ViewSelection) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    IPropEditView* beam = cfg.GetPropEditView(L"Beam_矩形", L"\\基本构件\\梁\\矩形梁");
    EXPECT_EQ(Names(beam->FindGridShow(kPartMain)),
              Texts({L"截面宽(mm)", L"截面高(mm)", L"名称", L"类别"}));
    EXPECT_EQ(Names(beam->FindGridShow(kPartSide)), Texts({L"材质"}));
    EXPECT_EQ(beam->GetContainer().listeners.back().data.str(), L"BeamSide");

    // Columns have no view of their own location; the view without location serves them.
    IPropEditView* column = cfg.GetPropEditView(L"Column", L"\\基本构件\\柱\\矩形柱");
    EXPECT_EQ(Names(column->FindGridShow(kPartMain)), Texts({L"厚度(mm)", L"名称", L"类别"}));
    EXPECT_EQ(column->GetContainer().listeners.front().data.str(), L"");

    IPropEditView* crane = cfg.GetPropEditView(L"TowerCrane", L"\\临时设施\\塔吊\\塔吊");
    IPropEditView* building = cfg.GetPropEditView(L"Building", L"\\其它图库\\其它构件");
    EXPECT_NE(crane, building);
    EXPECT_EQ(Names(crane->FindGridShow(kPartLeftRight)), Texts({L"长度(m)"}));
    EXPECT_EQ(crane->GetContainer().listeners.front().data.str(), L"redraw");
    EXPECT_EQ(reports.Count(), 0);

    IPropEditView* pipe = cfg.GetPropEditView(L"Pipe", L"\\其它图库\\其它构件");
    EXPECT_TRUE(pipe->GetGridShows().empty());
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kNoEditViewMatches});

    // A copy answers the same with views of its own.
    CPropShowCfg copy(cfg);
    IPropEditView* copiedWall = copy.GetPropEditView(L"Wall", L"\\基本构件\\墙\\直形墙");
    EXPECT_NE(copiedWall, cfg.GetPropEditView(L"Wall", L"\\基本构件\\墙\\直形墙"));
    EXPECT_EQ(Names(copiedWall->FindGridShow(kPartMain)),
              Texts({L"厚度(mm)", L"墙高(mm)", L"名称", L"类别"}));
    EXPECT_EQ(copiedWall->GetContainer().listeners.size(), 3u);
}

}  // namespace
}  // namespace CONFIG
