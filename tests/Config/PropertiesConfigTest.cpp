#include <siteconfig/CPropertiesConfig.h>

#include <gtest/gtest.h>

#include <string>

#include "PropertiesConfigImpl.h"
#include "ReportLines.h"
#include "TestSupport.h"
#include "XMLTree.h"

namespace CONFIG {

namespace {

using KADO::Product::Beam;
using KADO::Product::InvalidComponentType;
using KADO::Product::OtherComponentType;
using KADO::Product::Slab;
using KADO::Product::Wall;
using testing_support::ReportCapture;
using testing_support::TempDir;

const std::string kXmlHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A property file with the given class, category, section shape and body.
std::string PropertyFile(const std::string& cls, const std::string& category,
                         const std::string& shape, const std::string& initName = "name",
                         const std::string& extra = "") {
    return kXmlHeader + "<Property><InitName>" + initName + "</InitName><ClsName>" + cls +
           "</ClsName><GraphLibId>G-" + cls + "</GraphLibId><Pool><Common>" +
           "<Fish Var=\"Category\" Val=\"" + category + "\"/>" +
           "<Fish Var=\"SectionShape\" Val=\"" + shape + "\"/>" + extra +
           "</Common></Pool></Property>";
}

std::string FileList(std::initializer_list<std::string> names) {
    std::string text = kXmlHeader + "<filelist>";
    for (const auto& n : names) text += "<file>" + n + "</file>";
    return text + "</filelist>";
}

// A configuration folder written by the test; Load() constructs the configuration on it.
class PropertiesConfigFixture : public testing::Test {
protected:
    std::unique_ptr<CPropertiesConfig> Load(const std::string& poolFolder = "pool/") {
        return std::make_unique<CPropertiesConfig>(
            dir.WPath("defs/"), dir.WPath("display/"), dir.WPath("templates/"),
            dir.WPath("models/"), dir.WPath("graph1.xml"), dir.WPath("graph2.xml"),
            poolFolder.empty() ? CString() : dir.WPath(poolFolder));
    }
    // The same load, for tests that reach the readers and tables behind the interface.
    std::unique_ptr<CPropertiesConfigImpl> LoadImpl(const std::string& poolFolder = "pool/") {
        return std::make_unique<CPropertiesConfigImpl>(
            dir.WPath("defs/"), dir.WPath("display/"), dir.WPath("templates/"),
            dir.WPath("models/"), dir.WPath("graph1.xml"), dir.WPath("graph2.xml"),
            poolFolder.empty() ? CString() : dir.WPath(poolFolder));
    }

    TempDir dir;
};

PropertyParam Param(EKADOParameterType type, const wchar_t* user, const wchar_t* value) {
    return PropertyParam(type, {user, value});
}

// ---- Property files and definitions --------------------------------------------------------

TEST_F(PropertiesConfigFixture, ReadsADefinitionWithParametersAndNestedInstances) {
    dir.Write("defs/Wall_POOL.xml", kXmlHeader + R"(
<Property>
  <InitName>墙1</InitName><ClsName>Wall</ClsName><GraphLibId>W-01</GraphLibId>
  <Pool>
    <Common>
      <Fish Var="类别" Val="\基本构件\墙"/>
      <Fish Var="Length" Val="3000"/>
      <Fish Var="SectionShape" Val="矩形"/>
      <Fish Var="Unknown" Val="x"/>
      <Fish/>
    </Common>
    <Ins>
      <Property clsname="Wall" insname="A" Length="100|120" ClsName="Beam"><GraphLibId></GraphLibId>
        <Property insname="A1" Height="5"><GraphLibId>G-A1</GraphLibId>
          <Property insname="A1a"/>
          <Property insname="A1b"/>
        </Property>
      </Property>
      <Property insname="B" Width="7"/>
    </Ins>
  </Pool>
</Property>)");
    ReportCapture capture;
    auto config = Load();
    EXPECT_TRUE(capture.reports.empty());

    PropertyInsData data;
    config->GetPoolCompIns(Wall, data);
    EXPECT_EQ(data.compType, Wall);
    EXPECT_EQ(data.initName, CString(L"墙1"));
    EXPECT_EQ(data.graphLibId, CString(L"W-01"));
    EXPECT_EQ(data.category, CString(L"\\基本构件\\墙"));
    EXPECT_EQ(data.sectionShape, CString(L"矩形"));
    EXPECT_EQ(data.params, (std::list<PropertyParam>{
                               Param(KADO::Product::Category, L"\\基本构件\\墙", L"\\基本构件\\墙"),
                               Param(KADO::Product::Length, L"3000", L"3000"),
                               Param(KADO::Product::SectionShape, L"矩形", L"矩形"),
                               Param(KADO::Product::InvalidParameterType, L"x", L"x"),
                               Param(KADO::Product::InvalidParameterType, L"", L""),
                           }));

    ASSERT_EQ(data.children.size(), 2u);
    const PropertyInsData& a = data.children.front();
    EXPECT_EQ(a.compType, Wall);
    EXPECT_EQ(a.initName, CString(L"A"));
    EXPECT_TRUE(a.graphLibId.IsEmpty()) << "an instance never inherits the definition's id";
    EXPECT_TRUE(a.category.IsEmpty());
    // value 100, user value 120; an attribute "ClsName" is a parameter like any other
    EXPECT_EQ(a.params, (std::list<PropertyParam>{
                            Param(KADO::Product::Length, L"120", L"100"),
                            Param(KADO::Product::InvalidParameterType, L"Beam", L"Beam"),
                        }));
    ASSERT_EQ(a.children.size(), 1u);
    const PropertyInsData& a1 = a.children.front();
    EXPECT_EQ(a1.compType, InvalidComponentType);
    EXPECT_EQ(a1.graphLibId, CString(L"G-A1"));
    ASSERT_EQ(a1.children.size(), 2u);
    EXPECT_EQ(a1.children.front().initName, CString(L"A1a"));
    EXPECT_EQ(a1.children.back().initName, CString(L"A1b"));
    EXPECT_EQ(data.children.back().initName, CString(L"B"));

    EXPECT_TRUE(config->HasChildren(Wall));
    std::list<PropertyInsData> children;
    config->GetChildData(Wall, children);
    EXPECT_EQ(children.size(), 2u);
}

TEST_F(PropertiesConfigFixture, CommonAndInsWithoutPoolReadTheSame) {
    dir.Write("defs/Beam_POOL.xml",
              kXmlHeader +
                  "<Property><ClsName>Beam</ClsName><Common><Fish Var=\"Category\" "
                  "Val=\"C\"/></Common><Ins><Property insname=\"i\"/></Ins></Property>");
    // Once "Pool" exists, a "Common" beside it is not read.
    dir.Write("defs/Slab_POOL.xml",
              kXmlHeader +
                  "<Property><ClsName>Slab</ClsName><Common><Fish Var=\"Length\" "
                  "Val=\"1\"/></Common><Pool><Ins/></Pool></Property>");
    auto config = Load();
    PropertyInsData beam;
    config->GetPoolCompIns(Beam, beam);
    EXPECT_EQ(beam.category, CString(L"C"));
    EXPECT_EQ(beam.params.size(), 1u);
    EXPECT_EQ(beam.children.size(), 1u);

    PropertyInsData slab;
    config->GetPoolCompIns(Slab, slab);
    EXPECT_EQ(slab.compType, Slab);
    EXPECT_TRUE(slab.params.empty());
    EXPECT_FALSE(config->HasChildren(Slab));
}

TEST_F(PropertiesConfigFixture, SameTypeDefinitionsKeepTheFirstAndIndexBothCategories) {
    dir.Write("defs/A_POOL.xml", PropertyFile("Wall", "first", "s", "one"));
    dir.Write("defs/B_POOL.xml", PropertyFile("Wall", "second", "s", "two"));
    dir.Write("defs/notadefinition.xml", PropertyFile("Beam", "beam", "s"));
    ReportCapture capture;
    auto config = Load();
    EXPECT_EQ(config->GetDefaultName(Wall), CString(L"one"));
    EXPECT_EQ(config->GetType(L"first"), Wall);
    EXPECT_EQ(config->GetType(L"second"), Wall);
    EXPECT_TRUE(capture.reports.empty());
    EXPECT_EQ(config->GetType(L"beam"), InvalidComponentType);
    ASSERT_EQ(capture.reports.size(), 1u);
    EXPECT_EQ(capture.reports[0].message, CString(L"CPropertiesConfig::GetType Failed:beam"));
    EXPECT_EQ(capture.reports[0].line, line::kGetType);
    EXPECT_EQ(capture.reports[0].file, CString(L"PropertiesConfig"));
}

// A later definition of a type is not kept, but what reading it reports is still reported, in
// the same order, and its category (the last one it gives) is still indexed.
TEST_F(PropertiesConfigFixture, ALaterDefinitionStillReportsWhatItHolds) {
    dir.Write("defs/A_POOL.xml", PropertyFile("Wall", "first", "s", "one"));
    std::string nested;
    for (int i = 0; i < 300; ++i) nested += "<Property>";
    for (int i = 0; i < 300; ++i) nested += "</Property>";
    dir.Write("defs/B_POOL.xml",
              kXmlHeader +
                  "<Property><ClsName>Wall</ClsName><Pool><Common>"
                  "<Fish Var=\"Category\" Val=\"early\"/><Fish Var=\"Length\" Val=\"1\"/>"
                  "<Fish Var=\"类别\" Val=\"second\"/></Common>"
                  "<Ins><Property clsname=\"Beam\" Length=\"1|2|3\" insname=\"a|b|c\">"
                  "<Property Width=\"||\"/></Property>" +
                  nested + "</Ins></Pool></Property>");
    ReportCapture capture;
    auto config = Load();
    EXPECT_EQ(capture.Lines(),
              (std::vector<int>{line::kInstanceValueSplit, line::kInstanceValueSplit}));
    size_t tooDeep = 0;  // the other diagnostics are the folders this test leaves out
    for (const auto& d : capture.diagnostics) tooDeep += d.code == L"too-deep" ? 1 : 0;
    EXPECT_EQ(tooDeep, 1u);
    EXPECT_EQ(config->GetDefaultName(Wall), CString(L"one"));
    EXPECT_FALSE(config->HasChildren(Wall));
    EXPECT_EQ(config->GetType(L"second"), Wall);
    capture.Clear();
    EXPECT_EQ(config->GetType(L"early"), InvalidComponentType);
}

TEST_F(PropertiesConfigFixture, UnreadableDefinitionEntersAnEmptyRecord) {
    dir.Write("defs/Bad_POOL.xml", "<Property><unclosed>");
    dir.Write("defs/Other_POOL.xml", kXmlHeader + "<NotProperty/>");
    ReportCapture capture;
    auto config = Load();
    EXPECT_TRUE(capture.reports.empty());
    EXPECT_FALSE(capture.diagnostics.empty()) << "the parse failure is a diagnostic";
    PropertyInsData data;
    data.initName = L"before";
    config->GetPoolCompIns(InvalidComponentType, data);
    EXPECT_TRUE(data.initName.IsEmpty());
    EXPECT_EQ(config->GetType(L""), InvalidComponentType);  // found: the empty category
    EXPECT_TRUE(capture.reports.empty());
}

TEST_F(PropertiesConfigFixture, InstanceValueSplitting) {
    auto config = LoadImpl();
    struct Case {
        const wchar_t* text;
        const wchar_t* value;
        const wchar_t* user;
        int reports;
    };
    const Case cases[] = {
        {L"100", L"100", L"100", 0}, {L"100|120", L"100", L"120", 0}, {L"", L"", L"", 0},
        {L"|", L"", L"", 0},         {L"1|2|3", L"keep", L"keep", 1}, {L"||", L"keep", L"keep", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        ReportCapture capture;
        CString value = L"keep";
        CString user = L"keep";
        config->GetVauleAndUserValue(c.text, value, user);
        EXPECT_EQ(value, CString(c.value));
        EXPECT_EQ(user, CString(c.user));
        EXPECT_EQ(capture.Count(kPropertiesConfigSource, line::kInstanceValueSplit), c.reports);
        EXPECT_EQ(capture.reports.size(), static_cast<size_t>(c.reports));
    }
}

TEST_F(PropertiesConfigFixture, BadInstanceTextIsReportedWithTheFileAsContext) {
    const std::string path = dir.Write(
        "defs/Wall_POOL.xml",
        kXmlHeader +
            "<Property><ClsName>Wall</ClsName><Ins><Property Length=\"1|2|3\"/></Ins></Property>");
    ReportCapture capture;
    auto config = Load();
    ASSERT_EQ(capture.reports.size(), 1u);
    EXPECT_EQ(capture.reports[0].line, line::kInstanceValueSplit);
    EXPECT_NE(capture.reports[0].context.Find(L"Wall_POOL.xml"), -1);
    std::list<PropertyInsData> children;
    config->GetChildData(Wall, children);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children.front().params,
              (std::list<PropertyParam>{Param(KADO::Product::Length, L"", L"")}));
}

TEST_F(PropertiesConfigFixture, InstancesDeeperThan256LevelsAreCutWithADiagnostic) {
    std::string body;
    for (int i = 0; i < 300; ++i) body += "<Property insname=\"" + std::to_string(i) + "\">";
    for (int i = 0; i < 300; ++i) body += "</Property>";
    dir.Write("defs/Wall_POOL.xml",
              kXmlHeader + "<Property><ClsName>Wall</ClsName><Ins>" + body + "</Ins></Property>");
    ReportCapture capture;
    auto config = Load();
    EXPECT_TRUE(capture.reports.empty());
    int cut = 0;
    for (const auto& d : capture.diagnostics) cut += d.message.Find(L"Wall_POOL.xml") != -1;
    EXPECT_EQ(cut, 1);

    PropertyInsData data;
    config->GetPoolCompIns(Wall, data);
    int depth = 0;
    for (const PropertyInsData* r = &data; !r->children.empty(); r = &r->children.front()) ++depth;
    EXPECT_EQ(depth, TOOLS::kMaxReadDepth);

    CPropertiesConfig copy(*config);  // copies and destroys a deep tree
    PropertyInsData again;
    copy.GetPoolCompIns(Wall, again);
    EXPECT_EQ(again.children.size(), 1u);
}

TEST_F(PropertiesConfigFixture, DefinitionFilesListUsesThePoolPattern) {
    dir.Write("defs/b_POOL.xml", "");
    dir.Write("defs/a_POOL.xml", "");
    dir.Write("defs/c.xml", "");
    auto config = LoadImpl();
    std::vector<CString> files{L"kept"};
    config->GetSoftwareDefaultInitFiles(dir.WPath("defs/"), files);
    EXPECT_EQ(files, (std::vector<CString>{L"kept", dir.WPath("defs/a_POOL.xml"),
                                           dir.WPath("defs/b_POOL.xml")}));
}

// ---- Templates and property models ---------------------------------------------------------

TEST_F(PropertiesConfigFixture, TemplatesLoadInFileListOrderIncludingMissingAndRepeatedFiles) {
    dir.Write("templates/filelist.cfg",
              kXmlHeader +
                  "<filelist><file>t1.xml</file><file>missing.xml</file><file/>"
                  "<file>sub/t2.xml</file><file>t1.xml</file></filelist>");
    dir.Write("templates/t1.xml", PropertyFile("Beam", "\\基本构件\\梁", "T", "first"));
    dir.Write("templates/sub/t2.xml", PropertyFile("Slab", "\\基本构件\\梁", "T", "second"));
    dir.Write("models/filelist.cfg", FileList({"m.xml"}));
    dir.Write("models/m.xml", PropertyFile("Pipe", "pipes", "round"));
    auto config = Load();

    std::list<PropertyInsData> templates{PropertyInsData()};
    config->GetTemplateCompIns(templates);
    ASSERT_EQ(templates.size(), 4u);
    auto it = templates.begin();
    EXPECT_EQ(it->initName, CString(L"first"));
    EXPECT_EQ((++it)->compType, InvalidComponentType);
    EXPECT_TRUE(it->initName.IsEmpty());
    EXPECT_EQ((++it)->initName, CString(L"second"));
    EXPECT_EQ((++it)->initName, CString(L"first"));

    PropertyInsData found;
    EXPECT_TRUE(config->GetTemplateCompIns(L"\\基本构件\\梁", found));
    EXPECT_EQ(found.initName, CString(L"first"));
    EXPECT_TRUE(config->GetTemplateCompIns(L"", found))
        << "the empty record has the empty category";
    EXPECT_EQ(found.compType, InvalidComponentType);

    ReportCapture capture;
    PropertyInsData untouched;
    untouched.initName = L"mine";
    EXPECT_FALSE(config->GetTemplateCompIns(L"\\基本构件\\柱", untouched));
    EXPECT_EQ(untouched.initName, CString(L"mine"));
    EXPECT_TRUE(capture.reports.empty());

    // Template and model categories find their types even without a definition.
    EXPECT_EQ(config->GetType(L"\\基本构件\\梁"), Beam);
    EXPECT_EQ(config->GetType(L"pipes"), KADO::Product::Pipe);

    std::list<PropertyInsData> models;
    config->GetPropModelCompIns(models);
    ASSERT_EQ(models.size(), 1u);
    models.front().initName = L"changed";
    std::list<PropertyInsData> again;
    config->GetPropModelCompIns(again);
    EXPECT_EQ(again.front().initName, CString(L"name"));
}

TEST_F(PropertiesConfigFixture, MissingFileListLeavesTheListsEmpty) {
    dir.Write("templates/filelist.cfg", kXmlHeader + "<files><file>t.xml</file></files>");
    dir.Write("templates/t.xml", PropertyFile("Beam", "c", "s"));
    ReportCapture capture;
    auto config = Load();
    std::list<PropertyInsData> templates{PropertyInsData()};
    config->GetTemplateCompIns(templates);
    EXPECT_TRUE(templates.empty());
    config->GetPropModelCompIns(templates);
    EXPECT_TRUE(templates.empty());
    EXPECT_TRUE(capture.reports.empty());
}

// ---- Shape pool ----------------------------------------------------------------------------

TEST_F(PropertiesConfigFixture, ShapePoolKeysOnTypeCategoryAndShape) {
    dir.Write("pool/1.xml", PropertyFile("Beam", "\\基本构件\\梁", "矩形", "first"));
    dir.Write("pool/2.xml", PropertyFile("Beam", "\\基本构件\\梁", "圆形", "round"));
    dir.Write("pool/3.xml", PropertyFile("Beam", "\\基本构件\\梁", "矩形", "dropped"));
    dir.Write("pool/4_POOL.xml", PropertyFile("Beam", "\\基本构件\\梁", "RECT", "upper"));
    dir.Write("pool/5.xml", PropertyFile("Beam", "\\基本构件\\梁", "rect", "lower"));
    ReportCapture capture;
    auto config = LoadImpl();
    const auto& pool = config->ShapePool();
    EXPECT_EQ(pool.size(), 4u);
    EXPECT_TRUE(capture.reports.empty());
    // The pool does not feed the category index.
    EXPECT_EQ(config->GetType(L"\\基本构件\\梁"), InvalidComponentType);

    PropertyInsData data;
    EXPECT_TRUE(config->GetBaseComChangSharpData(Beam, L"\\基本构件\\梁", L"矩形", data));
    EXPECT_EQ(data.initName, CString(L"first"));
    EXPECT_TRUE(config->GetBaseComChangSharpData(Beam, L"\\基本构件\\梁", L"rect", data));
    EXPECT_EQ(data.initName, CString(L"lower"));
    EXPECT_FALSE(config->GetBaseComChangSharpData(Beam, L"\\基本构件\\梁", L"Rect", data));
    EXPECT_EQ(data.initName, CString(L"lower")) << "a failed lookup leaves the record as it was";
    EXPECT_EQ(capture.Count(kPropertiesConfigSource, line::kShapeChangeNotInPool), 1);
}

TEST_F(PropertiesConfigFixture, EmptyShapePoolFolderIsSkipped) {
    dir.Write("1.xml", PropertyFile("Beam", "c", "s"));  // would match "*.xml" at the root
    auto config = LoadImpl("");
    EXPECT_TRUE(config->ShapePool().empty());
}

TEST_F(PropertiesConfigFixture, ShapeChangeOutsideBaseComponentsRewritesTheCategory) {
    dir.Write("pool/1.xml", PropertyFile("Scaffold", "\\临时设施\\钢管施", "钢管", "tube"));
    auto config = Load();
    PropertyInsData data;
    ReportCapture capture;
    // \M\Sc: major category, shape, last character of the major category.
    EXPECT_TRUE(config->GetBaseComChangSharpData(KADO::Product::Scaffold, L"\\临时设施\\任意\\更多",
                                                 L"钢管", data));
    EXPECT_EQ(data.initName, CString(L"tube"));
    EXPECT_FALSE(
        config->GetBaseComChangSharpData(KADO::Product::Beam, L"\\临时设施\\任意", L"钢管", data));
    EXPECT_EQ(capture.reports.size(), 1u);
}

// ---- Queries -------------------------------------------------------------------------------

TEST_F(PropertiesConfigFixture, QueriesWithoutADefinitionReportAndLeaveArgumentsAlone) {
    dir.Write("defs/Wall_POOL.xml", PropertyFile("Wall", "w", "s"));
    auto config = Load();
    ReportCapture capture;

    EXPECT_EQ(config->GetDefaultName(Beam), CString());
    ASSERT_EQ(capture.reports.size(), 2u);
    EXPECT_EQ(capture.reports[0].message, CString(L"CPropertiesConfig::GetOrigProperty Failed:2"));
    EXPECT_EQ(capture.reports[0].line, line::kGetOrigProperty);
    EXPECT_EQ(capture.reports[1].message, CString(L"CPropertiesConfig::GetDefaultName Failed:2"));
    EXPECT_EQ(capture.reports[1].line, line::kGetDefaultName);
    capture.Clear();

    PropertyInsData data;
    data.initName = L"mine";
    data.params.push_back(Param(KADO::Product::Length, L"1", L"1"));
    config->GetPropertyInsData(Beam, data);
    config->GetPoolCompIns(Beam, data);
    EXPECT_EQ(data.initName, CString(L"mine"));
    EXPECT_EQ(data.params.size(), 1u);
    std::list<PropertyInsData> children{PropertyInsData()};
    config->GetChildData(Beam, children);
    EXPECT_EQ(children.size(), 1u);
    EXPECT_FALSE(config->HasChildren(Beam));
    EXPECT_EQ(capture.Count(kPropertiesConfigSource, line::kGetOrigProperty), 4);
    EXPECT_EQ(capture.reports.size(), 4u);

    // A definition without instances empties the caller's list.
    config->GetChildData(Wall, children);
    EXPECT_TRUE(children.empty());
}

TEST_F(PropertiesConfigFixture, PropertyInsDataReplacesOnlyParamsAndGraphLibId) {
    dir.Write("defs/Wall_POOL.xml", PropertyFile("Wall", "w", "s", "wall"));
    auto config = Load();
    PropertyInsData data;
    data.compType = Beam;
    data.initName = L"beam 7";
    data.category = L"mine";
    data.children.emplace_back();
    data.params.push_back(Param(KADO::Product::Length, L"1", L"1"));
    config->GetPropertyInsData(Wall, data);
    EXPECT_EQ(data.compType, Beam);
    EXPECT_EQ(data.initName, CString(L"beam 7"));
    EXPECT_EQ(data.category, CString(L"mine"));
    EXPECT_EQ(data.children.size(), 1u);
    EXPECT_EQ(data.graphLibId, CString(L"G-Wall"));
    EXPECT_EQ(data.params.size(), 2u);
    EXPECT_EQ(data.params.front().first, KADO::Product::Category);
}

TEST_F(PropertiesConfigFixture, GetTypeResolvesSharedAndEmptyCategoriesToTheSmallestType) {
    dir.Write("defs/a_POOL.xml", PropertyFile("Slab", "shared", "s"));
    dir.Write("defs/b_POOL.xml", PropertyFile("Beam", "shared", "s"));
    dir.Write("defs/c_POOL.xml", kXmlHeader + "<Property><ClsName>Column</ClsName></Property>");
    dir.Write("defs/d_POOL.xml", kXmlHeader + "<Property><ClsName>Pipe</ClsName></Property>");
    auto config = Load();
    ReportCapture capture;
    EXPECT_EQ(config->GetType(L"shared"), Beam);
    EXPECT_EQ(config->GetType(L"SHARED"), InvalidComponentType);
    EXPECT_EQ(config->GetType(L""), KADO::Product::Column);
    EXPECT_EQ(capture.reports.size(), 1u);
}

TEST_F(PropertiesConfigFixture, ConversionsDisplayAndEditability) {
    auto config = Load();
    EXPECT_EQ(config->GetComponentTypeByName(L"TowerCrane"), KADO::Product::TowerCrane);
    EXPECT_EQ(config->GetComponentNameByType(Wall), CString(L"Wall"));
    EXPECT_EQ(config->GetParamTypeByName(L"截面形状"), KADO::Product::SectionShape);
    EXPECT_EQ(config->GetParamNameByType(KADO::Product::Length), CString(L"Length"));
    IPropertyShow* show = config->GetPropertyShowConfig();
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show, config->GetPropertyShowConfig());
    EXPECT_TRUE(config->PropertyCanEdit(L"Wall"));
    EXPECT_TRUE(config->PropertyCanEdit(L""));
    EXPECT_TRUE(config->PropertyCanEdit(InvalidComponentType));
}

// ---- Graph libraries -----------------------------------------------------------------------

std::string GraphLibrary(std::initializer_list<std::array<const char*, 3>> models) {
    std::string text = kXmlHeader + "<GraphLibrary>";
    for (const auto& m : models) {
        text +=
            std::string("<Model loc=\"") + m[0] + "\" name=\"" + m[1] + "\" id=\"" + m[2] + "\"/>";
    }
    return text + "</GraphLibrary>";
}

TEST_F(PropertiesConfigFixture, GraphLibraryModelsBecomeTemplatesAndShownLocations) {
    dir.Write("display/PropertyLocShow.xml",
              kXmlHeader +
                  "<UI><PropDefineShow><Loc>\\基本构件\\墙</Loc><Loc>\\基本构件\\梁</Loc>"
                  "</PropDefineShow><SectionSelect/></UI>");
    dir.Write("templates/filelist.cfg", FileList({"t.xml"}));
    dir.Write("templates/t.xml", PropertyFile("Wall", "from file", "s"));
    dir.Write("graph1.xml",
              GraphLibrary({{"\\基本构件\\Beam", "梁A", "B-1"},
                            {"\\其它构件\\杂项", "旗杆", "O-1"},
                            {"\\基本构件\\墙", "墙A", "W-1"},
                            {"\\基本构件\\E319DA3639614AAD84BDEE1A83470676", "x", "X"},
                            {"\\图库\\未知", "雕塑", "U-1"},
                            {"\\基本构件\\Beam", "梁B", "B-2"}}));
    dir.Write("graph2.xml",
              GraphLibrary({{"\\图库\\未知", "雕塑2", "U-2"}, {"\\新\\Pipe", "管", "P-1"}}));
    ReportCapture capture;
    auto config = LoadImpl();
    EXPECT_TRUE(capture.reports.empty());

    std::vector<CString> shown;
    config->GetPropertyShowConfig()->GetShowLocs(shown);
    EXPECT_EQ(shown, (std::vector<CString>{L"\\基本构件\\墙", L"\\基本构件\\梁",
                                           L"\\基本构件\\Beam", L"\\图库\\未知", L"\\新\\Pipe"}));

    std::list<PropertyInsData> templates;
    config->GetTemplateCompIns(templates);
    ASSERT_EQ(templates.size(), 8u);
    std::vector<PropertyInsData> t(templates.begin(), templates.end());
    EXPECT_EQ(t[0].category, CString(L"from file"));
    // An ordinary type: section shape "常规".
    EXPECT_EQ(t[1].compType, Beam);
    EXPECT_EQ(t[1].category, CString(L"\\基本构件\\Beam"));
    EXPECT_EQ(t[1].initName, CString(L"梁A"));
    EXPECT_EQ(t[1].graphLibId, CString(L"B-1"));
    EXPECT_EQ(t[1].sectionShape, CString(L"常规"));
    EXPECT_EQ(t[1].params,
              (std::list<PropertyParam>{
                  Param(KADO::Product::Category, L"\\基本构件\\Beam", L"\\基本构件\\Beam"),
                  Param(KADO::Product::SectionShape, L"常规", L"常规")}));
    EXPECT_TRUE(t[1].children.empty());
    // Other components: type 3211, fixed category, name as shape.
    EXPECT_EQ(t[2].compType, OtherComponentType);
    EXPECT_EQ(t[2].category, CString(L"\\其它图库\\其它构件"));
    EXPECT_EQ(t[2].sectionShape, CString(L"旗杆"));
    // A minor category that names no type.
    EXPECT_EQ(t[4].compType, OtherComponentType);
    EXPECT_EQ(t[4].category, CString(L"\\图库\\未知"));
    EXPECT_EQ(t[4].sectionShape, CString(L"雕塑"));
    EXPECT_EQ(t[5].initName, CString(L"梁B"));
    EXPECT_EQ(t[6].initName, CString(L"雕塑2"));
    EXPECT_EQ(t[7].compType, KADO::Product::Pipe);

    EXPECT_EQ(config->GetType(L"\\其它图库\\其它构件"), OtherComponentType);
    EXPECT_EQ(config->GetType(L"\\基本构件\\Beam"), Beam);
    // "墙" names no component type, so that model is an other component too.
    EXPECT_EQ(config->GetType(L"\\基本构件\\墙"), OtherComponentType);
    const auto& categories = config->CategoryIndex();
    EXPECT_EQ(categories.at(OtherComponentType),
              (std::set<CString>{L"\\其它图库\\其它构件", L"\\图库\\未知", L"\\基本构件\\墙"}));
}

TEST_F(PropertiesConfigFixture, ModelArrayRemainderIsIgnored) {
    auto config = LoadImpl();
    CStringArray models;
    for (const wchar_t* text : {L"\\a\\Wall", L"w", L"1", L"\\a\\Beam", L"b", L"2", L"\\a\\Slab"}) {
        models.Add(text);
    }
    std::list<PropertyInsData> templates;
    config->AddGraphModels(models, templates);
    ASSERT_EQ(templates.size(), 2u);
    EXPECT_EQ(templates.back().compType, Beam);
    std::vector<CString> shown;
    config->GetPropertyShowConfig()->GetShowLocs(shown);
    EXPECT_EQ(shown, (std::vector<CString>{L"\\a\\Wall", L"\\a\\Beam"}));
}

// ---- Copies --------------------------------------------------------------------------------

TEST_F(PropertiesConfigFixture, CopiesAreIndependentAndOutliveTheirSource) {
    dir.Write("defs/Wall_POOL.xml", PropertyFile("Wall", "w", "s", "wall"));
    dir.Write(
        "display/PropertyLocShow.xml",
        kXmlHeader + "<UI><PropDefineShow><Loc>\\a\\b</Loc></PropDefineShow><SectionSelect/></UI>");
    auto config = Load();
    auto copy = std::make_unique<CPropertiesConfig>(*config);
    EXPECT_NE(copy->GetPropertyShowConfig(), config->GetPropertyShowConfig());

    copy->GetPropertyShowConfig()->SetShowLocs({L"\\x\\y"});
    std::vector<CString> shown;
    config->GetPropertyShowConfig()->GetShowLocs(shown);
    EXPECT_EQ(shown, std::vector<CString>{L"\\a\\b"});

    config.reset();
    EXPECT_EQ(copy->GetDefaultName(Wall), CString(L"wall"));
    copy->GetPropertyShowConfig()->GetShowLocs(shown);
    EXPECT_EQ(shown, std::vector<CString>{L"\\x\\y"});

    CPropertiesConfig assigned(*copy);
    assigned = *copy;
    const CPropertiesConfig& self = assigned;
    assigned = self;
    EXPECT_EQ(assigned.GetDefaultName(Wall), CString(L"wall"));
    assigned.GetPropertyShowConfig()->GetShowLocs(shown);
    EXPECT_EQ(shown, std::vector<CString>{L"\\x\\y"});
}

}  // namespace
}  // namespace CONFIG
