// The per-file-kind tables of known tags and attributes, through the check that compares
// documents with them.
#include "FormatCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DisplayNames.h"
#include "TestSupport.h"
#include "XMLTree.h"

namespace CONFIG {
namespace {

using testing_support::ReportCapture;
using testing_support::TempDir;

std::vector<FormatIssue> Check(TOOLS::IXMLTree& tree, FileKind kind) {
    std::vector<FormatIssue> issues;
    CheckDocument(tree, kind, [&](const FormatIssue& issue) { issues.push_back(issue); });
    return issues;
}

std::vector<FormatIssue> CheckFile(const CString& path, FileKind kind) {
    std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    return Check(*tree, kind);
}

std::string Describe(const std::vector<FormatIssue>& issues) {
    std::string text;
    for (const FormatIssue& issue : issues) {
        text += std::to_string(issue.line) + ":" + std::to_string(issue.column) + ": " +
                TOOLS::Utf8FromWide(issue.message) + " [" + TOOLS::Utf8FromWide(issue.code) + "]\n";
    }
    return text;
}

std::string Utf16LE(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    const CString wide = TOOLS::WideFromUtf8(utf8);
    for (const wchar_t c : wide.str()) {
        const auto unit = static_cast<unsigned>(c);  // the samples stay in the basic plane
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

std::string CrLf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

struct MistakeCase {
    const char* name;
    FileKind kind;
    std::string document;
    const wchar_t* code;
    int line;
    int column;
    const wchar_t* text;
    const wchar_t* message;
};

// Each document holds exactly one mistake.
const MistakeCase kMistakes[] = {
    {"tag typo in a definition", FileKind::kProperty,
     R"(<?xml version="1.0" encoding="utf-8"?>
<Property>
  <InitName>墙</InitName>
  <ClsNme>Wall</ClsNme>
</Property>
)",
     kUnknownTagCode, 4, 3, L"ClsNme",
     L"unknown tag \"ClsNme\" in a property file; did you mean \"ClsName\"?"},
    {"the same in UTF-16", FileKind::kProperty, Utf16LE(R"(<?xml version="1.0" encoding="UTF-16"?>
<Property>
  <InitName>墙</InitName>
  <ClsNme>Wall</ClsNme>
</Property>
)"),
     kUnknownTagCode, 4, 3, L"ClsNme",
     L"unknown tag \"ClsNme\" in a property file; did you mean \"ClsName\"?"},
    {"the same with CR LF", FileKind::kProperty, CrLf(R"(<Property>
  <InitName>墙</InitName><ClsNme>Wall</ClsNme>
</Property>
)"),
     kUnknownTagCode, 2, 25, L"ClsNme",
     L"unknown tag \"ClsNme\" in a property file; did you mean \"ClsName\"?"},
    {"attribute typo of a parameter entry", FileKind::kProperty,
     R"(<Property>
  <Pool>
    <Common>
      <Fish Var="Length" Vla="6000"/>
    </Common>
  </Pool>
</Property>
)",
     kUnknownAttributeCode, 4, 26, L"Vla",
     L"unknown attribute \"Vla\" of \"Fish\" in a property file; did you mean \"Val\"?"},
    {"instance parameter that names no parameter type", FileKind::kProperty,
     R"(<Property>
  <Pool>
    <Ins>
      <Property clsname="Wall" insname="外墙" Thicknes="240"/>
    </Ins>
  </Pool>
</Property>
)",
     kUnknownParamCode, 4, 45, L"Thicknes",
     L"unknown parameter \"Thicknes\" of \"Property\" in a property file; did you mean "
     L"\"Thickness\"?"},
    {"misspelled name attribute of a nested instance", FileKind::kProperty,
     R"(<Property>
  <Ins>
    <Property clsname="Wall">
      <Property clsname="Wall" insnam="a"/>
    </Property>
  </Ins>
</Property>
)",
     kUnknownParamCode, 4, 32, L"insnam",
     L"unknown parameter \"insnam\" of \"Property\" in a property file; did you mean "
     L"\"insname\"?"},
    {"parameters beside the pool", FileKind::kProperty,
     R"(<Property>
  <Pool/>
  <Common>
    <Fish Var="Length" Val="1"/>
  </Common>
</Property>
)",
     kUnknownTagCode, 3, 3, L"Common",
     L"\"Common\" is not read beside \"Pool\" in a property file; move it into \"Pool\""},
    {"parameter entry outside its list", FileKind::kProperty,
     R"(<Property>
  <Pool>
    <Fish Var="Length" Val="1"/>
  </Pool>
</Property>
)",
     kUnknownTagCode, 3, 5, L"Fish",
     L"unknown tag \"Fish\" in a property file; it is read in \"Common\""},
    {"template whose root is misspelled", FileKind::kProperty,
     R"(<?xml version="1.0"?>
<Propety>
  <ClsName>Wall</ClsName>
</Propety>
)",
     kUnknownRootCode, 2, 1, L"Propety",
     L"unknown root \"Propety\" in a property file; it must be \"Property\""},
    {"second top-level element", FileKind::kProperty, "<Property/>\n<Property/>\n", kUnknownTagCode,
     2, 1, L"Property", L"element \"Property\" after the root is not read in a property file"},
    {"file list entry", FileKind::kFileList,
     R"(<filelist>
  <file>a.xml</file>
  <files>b.xml</files>
</filelist>
)",
     kUnknownTagCode, 3, 3, L"files",
     L"unknown tag \"files\" in filelist.cfg; did you mean \"file\"?"},
    {"graph library model attribute", FileKind::kGraphLibrary,
     R"(<GraphLibrary>
  <Model loc="\构件图库\Wall" name="墙" ids="W-1"/>
</GraphLibrary>
)",
     kUnknownAttributeCode, 2, 36, L"ids",
     L"unknown attribute \"ids\" of \"Model\" in a graph library; did you mean \"id\"?"},
    {"item field", FileKind::kItemTemplate,
     R"(<Items>
  <Item id="Thickness">
    <Name>厚度</Name>
    <Varible>Thickness</Varible>
  </Item>
</Items>
)",
     kUnknownTagCode, 4, 5, L"Varible",
     L"unknown tag \"Varible\" in ItemTemplate.xml; did you mean \"Variable\"?"},
    {"state that is not of its group's type", FileKind::kItemTemplate,
     R"(<Items>
  <Item id="Material">
    <Options>
      <Assemble title="材质" param="Material" type="State">
        <State IsEnable="true"><Control>Combo</Control></State>
        <Stat IsEnable="true"/>
      </Assemble>
    </Options>
  </Item>
</Items>
)",
     kUnknownTagCode, 6, 9, L"Stat",
     L"unknown tag \"Stat\" in ItemTemplate.xml; did you mean \"State\"?"},
    {"view mode of the mark classes", FileKind::kEditView,
     R"(<PropEditView>
  <MarkShow>
    <PouMian markclass="Hatch"/>
    <LiMain markclass="Outline"/>
  </MarkShow>
</PropEditView>
)",
     kUnknownTagCode, 4, 5, L"LiMain",
     L"unknown tag \"LiMain\" in an edit-view file; did you mean \"LiMian\"?"},
    {"part kind of a group", FileKind::kEditView,
     R"(<PropEditView>
  <GridShow>
    <Mian title="基本属性">
      <Item id="Name"/>
    </Mian>
  </GridShow>
</PropEditView>
)",
     kUnknownTagCode, 3, 5, L"Mian",
     L"unknown tag \"Mian\" in an edit-view file; did you mean \"Main\"?"},
    {"item of a switch", FileKind::kEditView,
     R"(<PropEditView>
  <GridShow>
    <Attach>
      <Item>
        <Options>
          <Switch title="门洞" param="Door">
            <Item>
              <Nmae>洞宽</Nmae>
            </Item>
          </Switch>
        </Options>
      </Item>
    </Attach>
  </GridShow>
</PropEditView>
)",
     kUnknownTagCode, 8, 15, L"Nmae",
     L"unknown tag \"Nmae\" in an edit-view file; did you mean \"Name\"?"},
    {"listener attribute", FileKind::kEditView,
     R"(<PropEditView>
  <Container name="WallContainer">
    <Listener name="Wall_Main" dat="Refresh"/>
  </Container>
</PropEditView>
)",
     kUnknownAttributeCode, 3, 32, L"dat",
     L"unknown attribute \"dat\" of \"Listener\" in an edit-view file; did you mean \"data\"?"},
    {"section of the location file", FileKind::kLocationShow,
     R"(<UI>
  <ViewParam>Elevation</ViewParam>
  <ViewParams>Height</ViewParams>
</UI>
)",
     kUnknownTagCode, 3, 3, L"ViewParams",
     L"unknown tag \"ViewParams\" in PropertyLocShow.xml; did you mean \"ViewParam\"?"},
    {"location outside its section", FileKind::kLocationShow,
     R"(<UI>
  <PropDefineShow/>
  <Loc>\基本构件\墙</Loc>
</UI>
)",
     kUnknownTagCode, 3, 3, L"Loc",
     L"unknown tag \"Loc\" in PropertyLocShow.xml; it is read in \"PropDefineShow\" or "
     L"\"SectionSelect\""},
    {"kind attribute", FileKind::kLocationShow,
     R"(<UI>
  <Properties>
    <Property clsname="Wall"><Kind kind="linear"/></Property>
  </Properties>
</UI>
)",
     kUnknownAttributeCode, 3, 36, L"kind",
     L"unknown attribute \"kind\" of \"Kind\" in PropertyLocShow.xml"},
    {"view entry attribute", FileKind::kLocationShow,
     R"(<UI>
  <PropEditView>
    <View view="Views\WallView.xml" typeandsecton="Wall" loc=""/>
  </PropEditView>
</UI>
)",
     kUnknownAttributeCode, 3, 37, L"typeandsecton",
     L"unknown attribute \"typeandsecton\" of \"View\" in PropertyLocShow.xml; did you mean "
     L"\"typeandsection\"?"},
    {"container attribute", FileKind::kEnableContainer,
     R"(<Containers>
  <Container nam="WallContainer">
    <Listener name="Wall_Main" data="Refresh"/>
  </Container>
</Containers>
)",
     kUnknownAttributeCode, 2, 14, L"nam",
     L"unknown attribute \"nam\" of \"Container\" in EnableContainer.xml; did you mean "
     L"\"name\"?"},
    {"value of a setting", FileKind::kResource,
     R"(<Config>
  <ImageFolder val=".\Images\" note="kept"/>
  <Language value="zh-CN"/>
</Config>
)",
     kUnknownAttributeCode, 3, 13, L"value",
     L"unknown attribute \"value\" of \"Language\" in a resource settings file; did you mean "
     L"\"val\"?"},
    {"settings root", FileKind::kResource, "<config>\n  <Language val=\"zh-CN\"/>\n</config>\n",
     kUnknownRootCode, 1, 1, L"config",
     L"unknown root \"config\" in a resource settings file; it must be \"Config\""},
};

TEST(FormatCheckTest, FindsTheOneMistakeOfEachDocument) {
    TempDir dir;
    ReportCapture capture;
    for (const MistakeCase& c : kMistakes) {
        SCOPED_TRACE(c.name);
        dir.Write("doc.xml", c.document);
        const std::vector<FormatIssue> issues = CheckFile(dir.WPath("doc.xml"), c.kind);
        ASSERT_EQ(issues.size(), 1u) << Describe(issues);
        EXPECT_EQ(issues[0].code, CString(c.code));
        EXPECT_EQ(issues[0].line, c.line);
        EXPECT_EQ(issues[0].column, c.column);
        EXPECT_EQ(issues[0].text, CString(c.text));
        EXPECT_EQ(issues[0].message, CString(c.message));
    }
    // Checking raises no report and no diagnostic.
    EXPECT_TRUE(capture.reports.empty());
    EXPECT_TRUE(capture.diagnostics.empty());
}

// An edit view with every view mode and every part kind of the readers' name tables.
std::string EditViewWithEveryName() {
    std::string text = "<PropEditView>\n  <MarkShow>\n";
    for (const NamedCode& mode : kViewModeNames) {
        const std::string name = TOOLS::Utf8FromWide(mode.name);
        text += "    <" + name + " markclass=\"A;B\"/>\n";
    }
    text += "  </MarkShow>\n  <GridShow>\n";
    for (const NamedCode& kind : kPartKindNames) {
        const std::string name = TOOLS::Utf8FromWide(kind.name);
        text +=
            "    <" + name + " title=\"t\" param=\"p\" ref=\"1\"><Item id=\"x\"/></" + name + ">\n";
    }
    return text + "  </GridShow>\n</PropEditView>\n";
}

struct CleanCase {
    const char* name;
    FileKind kind;
    std::string document;
};

// What the readers read, in forms the example folder does not show.
const CleanCase kCleanDocuments[] = {
    {"definition without pool, aliases and nested instances", FileKind::kProperty,
     R"(<Property>
  <ClsName>Wall</ClsName>
  <Common><Fish Var="类别" Val="\基本构件\墙"/></Common>
  <Ins>
    <Property clsname="Wall" insname="a" 类别="\基本构件\墙" 截面形状="直形墙" Length="1|2">
      <GraphLibId>G</GraphLibId>
      <Property insname="b" Height="3"><Property Width="4"/></Property>
    </Property>
  </Ins>
</Property>
)"},
    {"every view mode and part kind", FileKind::kEditView, EditViewWithEveryName()},
    {"states of another type and options of every form", FileKind::kItemTemplate,
     R"(<Items>
  <Item id="a">
    <Options>
      <Assemble title="t" param="Material" type="Row">
        <Row IsEnable="true" IsEidt="false" IsReadOnly="false">
          <Control>c</Control><Style>s</Style><Option>o</Option><Format>f</Format>
        </Row>
      </Assemble>
    </Options>
  </Item>
  <Item id="b"><Options>1;2</Options><Enable>false</Enable><CanBePrivate>true</CanBePrivate></Item>
  <Item id="c"><Options><Switch title="t" param="p"><Item><Param>x</Param></Item></Switch></Options></Item>
</Items>
)"},
    {"roots that point an editor at their schema", FileKind::kProperty,
     R"(<Property xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
          xsi:noNamespaceSchemaLocation="../schemas/property.xsd">
  <Ins><Property clsname="Wall" Length="1"/></Ins>
</Property>
)"},
    {"settings keep what they do not read", FileKind::kResource,
     R"(<Config>
  <Language val="zh-CN" note="kept" vale="beside val">text<Nested any="thing"/></Language>
  <Recent><File val="a"/></Recent>
  <Empty/>
</Config>
)"},
};

TEST(FormatCheckTest, KnowsWhatTheReadersRead) {
    TempDir dir;
    for (const CleanCase& c : kCleanDocuments) {
        SCOPED_TRACE(c.name);
        dir.Write("doc.xml", c.document);
        const std::vector<FormatIssue> issues = CheckFile(dir.WPath("doc.xml"), c.kind);
        EXPECT_TRUE(issues.empty()) << Describe(issues);
    }
}

TEST(FormatCheckTest, ReportsAnUnknownElementOnceWithoutEnteringIt) {
    TempDir dir;
    dir.Write("doc.xml", R"(<Property>
  <Bogus a="1"><Deeper b="2"><ClsNme/></Deeper></Bogus>
  <ClsName x="1">Wall</ClsName>
</Property>
)");
    const std::vector<FormatIssue> issues = CheckFile(dir.WPath("doc.xml"), FileKind::kProperty);
    ASSERT_EQ(issues.size(), 2u) << Describe(issues);
    EXPECT_EQ(issues[0].text, CString(L"Bogus"));
    EXPECT_EQ(issues[0].line, 2);
    EXPECT_EQ(issues[1].text, CString(L"x"));
    EXPECT_EQ(issues[1].line, 3);
    EXPECT_EQ(issues[1].column, 12);
}

// Instances nested `depth` levels below "Ins", one per line; the deepest carries `attribute`.
std::string NestedInstances(int depth, const std::string& attribute) {
    std::string text = "<Property>\n<Ins>\n";
    for (int i = 1; i <= depth; ++i) {
        text += "<Property" + (i == depth ? " " + attribute : std::string()) + ">\n";
    }
    for (int i = 0; i < depth; ++i) text += "</Property>\n";
    return text + "</Ins>\n</Property>\n";
}

TEST(FormatCheckTest, ChecksNoDeeperThanTheReadLimit) {
    TempDir dir;
    ReportCapture capture;
    // With the root and "Ins", the 254th instance stands at the deepest level checked.
    dir.Write("doc.xml", NestedInstances(TOOLS::kMaxReadDepth - 2, "Bogus=\"1\""));
    std::vector<FormatIssue> issues = CheckFile(dir.WPath("doc.xml"), FileKind::kProperty);
    ASSERT_EQ(issues.size(), 1u) << Describe(issues);
    EXPECT_EQ(issues[0].line, TOOLS::kMaxReadDepth);
    EXPECT_EQ(issues[0].column, 11);

    dir.Write("doc.xml", NestedInstances(TOOLS::kMaxReadDepth + 100, "Bogus=\"1\""));
    issues = CheckFile(dir.WPath("doc.xml"), FileKind::kProperty);
    EXPECT_TRUE(issues.empty()) << Describe(issues);
    EXPECT_TRUE(capture.reports.empty());
    EXPECT_TRUE(capture.diagnostics.empty());
}

TEST(FormatCheckTest, StartsFromTheRootWhereverTheCursorStands) {
    TempDir dir;
    dir.Write("doc.xml", R"(<PropEditView>
  <Container name="c"><Listener name="a_Main" dat="x"/></Container>
</PropEditView>
)");
    std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    ASSERT_TRUE(tree->LoadFile(dir.WPath("doc.xml")));
    ASSERT_TRUE(tree->FindElement(L"PropEditView"));
    ASSERT_TRUE(tree->IntoChild(L"Container", 0));
    ASSERT_TRUE(tree->IntoChild(L"Listener", 0));
    const std::vector<FormatIssue> issues = Check(*tree, FileKind::kEditView);
    ASSERT_EQ(issues.size(), 1u) << Describe(issues);
    EXPECT_EQ(issues[0].text, CString(L"dat"));
    CString tag;
    tree->GetTagName(tag);
    EXPECT_TRUE(tag.IsEmpty());  // above the root
    EXPECT_TRUE(tree->FindElement(L"PropEditView"));
}

TEST(FormatCheckTest, ADocumentThatDidNotLoadHasNothingToReport) {
    TempDir dir;
    ReportCapture capture;
    dir.Write("broken.xml", "<Property><ClsNme></Property>");
    EXPECT_TRUE(CheckFile(dir.WPath("broken.xml"), FileKind::kProperty).empty());
    EXPECT_TRUE(CheckFile(dir.WPath("missing.xml"), FileKind::kProperty).empty());
    EXPECT_EQ(capture.diagnostics.size(), 2u);  // from loading, not from the check
}

// ---- Every shipped configuration file ----

namespace fs = std::filesystem;

// The kind of a file of a display folder, by its name.
std::optional<FileKind> DisplayFileKind(const fs::path& relative) {
    const std::string name = relative.filename().u8string();
    if (name == "ItemTemplate.xml") return FileKind::kItemTemplate;
    if (name == "PropertyLocShow.xml") return FileKind::kLocationShow;
    if (name == "EnableContainer.xml") return FileKind::kEnableContainer;
    // "GridTemplate.xml" and the edit-view files that the location file names.
    if (relative.extension() == ".xml") return FileKind::kEditView;
    return std::nullopt;
}

// The kind of a file of a configuration root, by the part of the layout it stands in.
std::optional<FileKind> LayoutFileKind(const fs::path& relative) {
    const std::string part = relative.begin()->u8string();
    const std::string name = relative.filename().u8string();
    if (name == "filelist.cfg") return FileKind::kFileList;
    if (relative.extension() != ".xml") return std::nullopt;
    if (part == "Definitions" || part == "Templates" || part == "Models" || part == "ShapePool") {
        return FileKind::kProperty;
    }
    if (part == "GraphLibs") return FileKind::kGraphLibrary;
    if (part == "Display") return DisplayFileKind(relative.lexically_relative("Display"));
    if (name == "Resource.xml" && relative == relative.filename()) return FileKind::kResource;
    return std::nullopt;
}

struct ShippedFolder {
    const char* path;  // below the test data folder
    std::optional<FileKind> (*kindOf)(const fs::path& relative);
};

TEST(FormatCheckTest, EveryShippedFileHasNoIssue) {
    const ShippedFolder folders[] = {
        {"../../examples/site-layout", LayoutFileKind},
        {"site", LayoutFileKind},
        {"display", DisplayFileKind},
        {"resource", LayoutFileKind},
    };
    ReportCapture capture;
    for (const ShippedFolder& folder : folders) {
        SCOPED_TRACE(folder.path);
        const fs::path root = fs::u8path(std::string(SITECONFIG_TEST_DATA_DIR) + folder.path);
        ASSERT_TRUE(fs::is_directory(root));
        int checked = 0;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
            const fs::path relative = entry.path().lexically_relative(root);
            if (!entry.is_regular_file() ||
                (relative.extension() != ".xml" && relative.extension() != ".cfg")) {
                continue;
            }
            SCOPED_TRACE(relative.u8string());
            const std::optional<FileKind> kind = folder.kindOf(relative);
            ASSERT_TRUE(kind.has_value()) << "no file kind for this place";
            const std::vector<FormatIssue> issues =
                CheckFile(TOOLS::WideFromUtf8(entry.path().u8string()), *kind);
            EXPECT_TRUE(issues.empty()) << Describe(issues);
            ++checked;
        }
        EXPECT_GT(checked, 0);
    }
    // Every folder of the test data is one of the folders above.
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::u8path(SITECONFIG_TEST_DATA_DIR))) {
        const std::string name = entry.path().filename().u8string();
        EXPECT_TRUE(name == "site" || name == "display" || name == "resource")
            << name << " holds files of no known kind";
    }
    EXPECT_TRUE(capture.diagnostics.empty());
}

}  // namespace
}  // namespace CONFIG
