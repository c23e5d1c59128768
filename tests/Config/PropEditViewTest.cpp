// One edit view: mark classes, item groups with their items and options, and its container.
#include "PropEditView.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>

#include "ItemTemplate.h"
#include "ReportLines.h"
#include "TestSupport.h"
#include "XMLTree.h"

namespace CONFIG {
namespace {

using testing_support::ReportCapture;
using testing_support::TempDir;
using testing_support::Texts;

template <typename T>
T* At(const std::list<T*>& list, size_t index) {
    if (index >= list.size()) return nullptr;
    return *std::next(list.begin(), static_cast<long>(index));
}

std::string EditView(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<PropEditView>" + body + "</PropEditView>";
}

class PropEditViewTest : public ::testing::Test {
protected:
    // Loads `body` (the children of "PropEditView") into `view`.
    bool Load(CPropEditView& target, const std::string& body,
              const CItemTemplate* templates = nullptr) {
        const CString path =
            TempDir::Wide(folder.Write("View" + std::to_string(++files) + ".xml", EditView(body)));
        return target.LoadEditView(path, templates);
    }

    TempDir folder;
    ContainerTable table;
    CPropEditView view{&table};
    int files = 0;
};

TEST_F(PropEditViewTest, UnloadedViewAnswersEmpty) {
    struct Case {
        const char* name;
        const char* content;  // null: no file
    };
    const Case cases[] = {
        {"missing file", nullptr},
        {"empty file", ""},
        {"other root", "<EditView><MarkShow><View3D markclass=\"A\"/></MarkShow></EditView>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CString path = c.content ? TempDir::Wide(folder.Write("Broken.xml", c.content))
                                       : folder.WPath("Absent.xml");
        ReportCapture capture;
        CPropEditView broken(&table);
        EXPECT_FALSE(broken.LoadEditView(path, nullptr));
        for (int mode = 0; mode <= 4; ++mode) {
            std::vector<CString> classes{L"kept"};
            EXPECT_FALSE(broken.GetMarkClasses(mode, classes));
            EXPECT_EQ(classes, Texts({L"kept"}));
        }
        EXPECT_EQ(broken.FindGridShow(kPartMain), nullptr);
        EXPECT_TRUE(broken.GetGridShows().empty());
        ContainerData container = broken.GetContainer();
        EXPECT_TRUE(container.name.IsEmpty());
        EXPECT_TRUE(container.listeners.empty());
        EXPECT_EQ(capture.Lines(), std::vector<int>{line::kContainerNotInTable});
    }
}

TEST_F(PropEditViewTest, UnloadedViewFindsContainerWithEmptyName) {
    table[L""] = ContainerData{L"", {ListenerData{L"Wall_Main", L"d", kPartMain}}};
    ReportCapture reports(ReportCapture::kReportsOnly);
    ContainerData container = view.GetContainer();
    ASSERT_EQ(container.listeners.size(), 1u);
    EXPECT_EQ(container.listeners[0].data.str(), L"d");
    EXPECT_EQ(reports.Count(), 0);
}

TEST_F(PropEditViewTest, MarkClassesPerViewMode) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    ASSERT_TRUE(Load(view, R"(<MarkShow>
        <View3D markclass="A;B"/>
        <View3D markclass="ignored"/>
        <PingMian/>
        <Unknown markclass="X"/>
      </MarkShow>
      <MarkShow><PouMian markclass="only the first MarkShow counts"/></MarkShow>)"));
    std::vector<CString> classes;
    EXPECT_TRUE(view.GetMarkClasses(kView3D, classes));
    EXPECT_EQ(classes, Texts({L"A", L"B"}));
    // A view element without "markclass" still lists its mode, with one empty name.
    EXPECT_TRUE(view.GetMarkClasses(kViewPingMian, classes));
    EXPECT_EQ(classes, Texts({L""}));
    for (int mode : {0, 2, 4, 5, 7, -1}) {
        std::vector<CString> untouched{L"x"};
        EXPECT_FALSE(view.GetMarkClasses(mode, untouched));
        EXPECT_EQ(untouched, Texts({L"x"}));
    }
    EXPECT_EQ(reports.Count(), 0);
}

TEST(PropEditViewNames, ViewModesAndPartKinds) {
    // -1: the name is not in that table, which reports it and answers 0.
    const struct {
        const wchar_t* name;
        int mode;
        int kind;
    } cases[] = {
        {L"PouMian", 0, -1},   {L"PingMian", 1, -1}, {L"LiMian", 2, -1},  {L"View3D", 3, -1},
        {L"SGPaper", 4, -1},   {L"Main", -1, 0},     {L"Attach", -1, 1},  {L"Struct", -1, 2},
        {L"LeftRight", -1, 3}, {L"Side", -1, 4},     {L"view3d", -1, -1}, {L"main", -1, -1},
        {L"", -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.name)));
        ReportCapture reports(ReportCapture::kReportsOnly);
        EXPECT_EQ(CPropEditView::GetViewModeByName(c.name), c.mode < 0 ? 0 : c.mode);
        EXPECT_EQ(CPropEditView::GetPartKindByName(c.name), c.kind < 0 ? 0 : c.kind);
        EXPECT_EQ(reports.Count(line::kViewModeUnknown), c.mode < 0 ? 1 : 0);
        EXPECT_EQ(reports.Count(line::kPartKindUnknown), c.kind < 0 ? 1 : 0);
        EXPECT_EQ(reports.Count(), (c.mode < 0 ? 1 : 0) + (c.kind < 0 ? 1 : 0));
    }
}

TEST_F(PropEditViewTest, ListenerKindsComeFromTheNameAfterTheFirstUnderscore) {
    const CString path = TempDir::Wide(folder.Write("Containers.xml", R"(<Root>
      <Container name="K">
        <Listener name="Wall_LeftRight" data="1"/>
        <Listener name="Wall" data="2"/>
        <Listener name="A_B_Main" data="3"/>
        <Listener name="Beam_Side"/>
        <Listener name="Slab_"/>
      </Container>
      <Container name="Second"><Listener name="X_Attach"/></Container>
    </Root>)"));
    std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    ASSERT_TRUE(tree->FindElement(L"Root"));

    ReportCapture reports(ReportCapture::kReportsOnly);
    ContainerData container;
    CPropEditView::ReadContainer(*tree, container, 0);
    EXPECT_EQ(container.name.str(), L"K");
    const struct {
        const wchar_t* name;
        const wchar_t* data;
        int kind;
    } expected[] = {
        {L"Wall_LeftRight", L"1", kPartLeftRight},
        {L"Wall", L"2", kPartNone},
        {L"A_B_Main", L"3", kPartMain},
        {L"Beam_Side", L"", kPartSide},
        {L"Slab_", L"", kPartMain},
    };
    ASSERT_EQ(container.listeners.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(container.listeners[i].name.str(), expected[i].name);
        EXPECT_EQ(container.listeners[i].data.str(), expected[i].data);
        EXPECT_EQ(container.listeners[i].kind, expected[i].kind);
    }
    EXPECT_EQ(reports.Lines(), (std::vector<int>{line::kListenerWithoutKind, line::kPartKindUnknown,
                                                 line::kPartKindUnknown}));

    // The reader appends and leaves the cursor where it was: the next container is found.
    CPropEditView::ReadContainer(*tree, container, 1);
    EXPECT_EQ(container.name.str(), L"Second");
    EXPECT_EQ(container.listeners.size(), std::size(expected) + 1);
    ContainerData untouched{L"u", {}};
    CPropEditView::ReadContainer(*tree, untouched, 2);
    EXPECT_EQ(untouched.name.str(), L"u");
}

TEST_F(PropEditViewTest, ContainerMergesTheTableWithTheViewsOwnData) {
    ASSERT_TRUE(Load(view, R"(<Container name="K">
        <Listener name="Y_Main" data="9"/>
        <Listener name="Z_Main" data="8"/>
        <Listener name="Y_Main" data="7"/>
      </Container>
      <Container name="Other"/>)"));
    // The table is filled after the view has loaded, as the display configuration does.
    table[L"K"] = ContainerData{
        L"K", {ListenerData{L"X_Main", L"1", kPartMain}, ListenerData{L"Y_Main", L"2", kPartMain}}};
    table[L"k"] = ContainerData{L"k", {}};
    ReportCapture reports(ReportCapture::kReportsOnly);
    ContainerData container = view.GetContainer();
    EXPECT_EQ(container.name.str(), L"K");
    ASSERT_EQ(container.listeners.size(), 2u);
    EXPECT_EQ(container.listeners[0].name.str(), L"X_Main");
    EXPECT_EQ(container.listeners[0].data.str(), L"1");
    EXPECT_EQ(container.listeners[1].name.str(), L"Y_Main");
    EXPECT_EQ(container.listeners[1].data.str(), L"9");
    EXPECT_EQ(reports.Count(), 0);

    table.erase(L"K");
    container = view.GetContainer();
    EXPECT_TRUE(container.name.IsEmpty());
    EXPECT_TRUE(container.listeners.empty());
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kContainerNotInTable});
}

TEST_F(PropEditViewTest, ViewWithoutTableReportsItsContainer) {
    CPropEditView alone(nullptr);
    ReportCapture reports(ReportCapture::kReportsOnly);
    EXPECT_TRUE(alone.GetContainer().listeners.empty());
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kContainerNotInTable});
}

TEST_F(PropEditViewTest, ItemsAreReadInFull) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    ASSERT_TRUE(Load(view, R"(<GridShow>
      <Main title="基本" param="P">
        <Item>
          <Name>长度</Name><Variable>Length</Variable><ItemVar>Name</ItemVar><Tips>t</Tips>
          <Control>Edit</Control><Style>s</Style><Param>p</Param>
          <CanBePrivate>true</CanBePrivate><Enable>false</Enable><Group>g1\vg2\v</Group>
        </Item>
        <Item><CanBePrivate>TRUE</CanBePrivate><Enable>False</Enable><Variable>类别</Variable></Item>
        <Item><Variable>NoSuchParameter</Variable><ItemVar></ItemVar><Group></Group></Item>
      </Main>
    </GridShow>)"));
    EXPECT_EQ(reports.Count(), 0);
    GridShowData* group = view.FindGridShow(kPartMain);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->param.str(), L"P");
    ASSERT_EQ(group->items.size(), 3u);

    const GridItemData& full = *At(group->items, 0);
    EXPECT_TRUE(full.id.IsEmpty());
    EXPECT_EQ(full.name.str(), L"长度");
    EXPECT_EQ(full.paramType, KADO::Product::Length);
    EXPECT_EQ(full.itemVar, kItemVarName);
    EXPECT_EQ(full.tips.str(), L"t");
    EXPECT_EQ(full.control.str(), L"Edit");
    EXPECT_EQ(full.style.str(), L"s");
    EXPECT_EQ(full.param.str(), L"p");
    EXPECT_TRUE(full.canBePrivate);
    EXPECT_EQ(full.enable, 0);
    EXPECT_EQ(full.groups, Texts({L"g1", L"g2", L""}));

    const GridItemData& exact = *At(group->items, 1);
    EXPECT_FALSE(exact.canBePrivate);
    EXPECT_EQ(exact.enable, 1);
    EXPECT_EQ(exact.paramType, KADO::Product::Category);
    EXPECT_TRUE(exact.groups.empty());

    const GridItemData& unknown = *At(group->items, 2);
    EXPECT_EQ(unknown.paramType, KADO::Product::InvalidParameterType);
    EXPECT_EQ(unknown.itemVar, kItemVarNone);
}

TEST_F(PropEditViewTest, ItemVarCodes) {
    const struct {
        const char* text;
        int code;
        int reports;
    } cases[] = {
        {"", kItemVarNone, 0},
        {"Name", kItemVarName, 0},
        {"OtherSetting", kItemVarOtherSetting, 0},
        {"AssembleSetting", kItemVarAssembleSetting, 0},
        {"ZTMaterial", kItemVarZTMaterial, 0},
        {"ZTThickness", kItemVarZTThickness, 0},
        {"name", kItemVarNone, 1},
        {"Other", kItemVarNone, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ReportCapture reports(ReportCapture::kReportsOnly);
        CPropEditView target(&table);
        ASSERT_TRUE(Load(target, std::string("<GridShow><Side><Item><ItemVar>") + c.text +
                                     "</ItemVar></Item></Side></GridShow>"));
        ASSERT_NE(target.FindGridShow(kPartSide), nullptr);
        EXPECT_EQ(At(target.FindGridShow(kPartSide)->items, 0)->itemVar, c.code);
        EXPECT_EQ(reports.Count(line::kItemVarUnknown), c.reports);
        EXPECT_EQ(reports.Count(), c.reports);
    }
}

TEST_F(PropEditViewTest, GroupNamesSplitAtEveryDelimiter) {
    // The delimiter is the two characters backslash and "v", as the files write it.
    const struct {
        const char* text;  // null: no "Group" child
        Texts groups;
    } cases[] = {
        {nullptr, {}},
        {"", {}},    // no text: no groups rather than one empty name
        {"  ", {}},  // layout whitespace is no text either
        {"a", {L"a"}},
        {"中文", {L"中文"}},
        {R"(a\vb)", {L"a", L"b"}},
        {R"(\v)", {L"", L""}},
        {R"(\va)", {L"", L"a"}},
        {R"(a\v\vb)", {L"a", L"", L"b"}},
        {R"(\\v)", {L"\\", L""}},
        {R"(a\)", {L"a\\"}},
        {R"(a\V)", {L"a\\V"}},
        {R"(v\\vv)", {L"v\\", L"v"}},
        {R"(常规\v尺寸\v)", {L"常规", L"尺寸", L""}},
        {" a \\v b ", {L" a ", L" b "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(none)");
        CPropEditView target(&table);
        const std::string group = c.text ? std::string("<Group>") + c.text + "</Group>" : "";
        ASSERT_TRUE(Load(
            target, "<GridShow><Main><Item><Name>n</Name>" + group + "</Item></Main></GridShow>"));
        ASSERT_NE(target.FindGridShow(kPartMain), nullptr);
        EXPECT_EQ(At(target.FindGridShow(kPartMain)->items, 0)->groups, c.groups);
    }
}

TEST_F(PropEditViewTest, ItemsInARowKeepTheirOwnGroupNames) {
    ASSERT_TRUE(Load(view, R"(<GridShow><Main>
      <Item><Group>a\vb</Group></Item>
      <Item><Group>a\vb</Group></Item>
      <Item><Group>c</Group></Item>
      <Item/>
      <Item><Group>a\vb</Group></Item>
      <Item><Group><![CDATA[]]></Group></Item>
      <Item><Group>a\vb\v</Group></Item>
    </Main>
    <Side><Item><Group>a\vb</Group></Item></Side></GridShow>)"));
    const GridShowData* main = view.FindGridShow(kPartMain);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->items.size(), 7u);
    const Texts expected[] = {{L"a", L"b"}, {L"a", L"b"}, {L"c"},           {},
                              {L"a", L"b"}, {L""},        {L"a", L"b", L""}};
    for (size_t i = 0; i < main->items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(At(main->items, i)->groups, expected[i]);
    }
    ASSERT_NE(view.FindGridShow(kPartSide), nullptr);
    EXPECT_EQ(At(view.FindGridShow(kPartSide)->items, 0)->groups, Texts({L"a", L"b"}));

    // Changing one item's names leaves the others' alone.
    GridItemData& first = *At(main->items, 0);
    first.groups[0] += L"!";
    first.groups.push_back(L"more");
    EXPECT_EQ(At(main->items, 1)->groups, Texts({L"a", L"b"}));
    EXPECT_EQ(At(main->items, 4)->groups, Texts({L"a", L"b"}));
}

TEST_F(PropEditViewTest, OptionStateFlagsAreExactlyTrue) {
    const struct {
        const char* attributes;
        bool enable, edit, readOnly;
    } cases[] = {
        {R"(IsEnable="true" IsEidt="true" IsReadOnly="true")", true, true, true},
        {R"(IsEnable="true")", true, false, false},
        {R"(IsEidt="true")", false, true, false},
        {R"(IsReadOnly="true")", false, false, true},
        {R"(IsEnable="True" IsEidt="TRUE" IsReadOnly="1")", false, false, false},
        {R"(IsEnable="true " IsEidt=" true" IsReadOnly="")", false, false, false},
        {R"(IsEdit="true" isEnable="true" IsReadonly="true")", false, false, false},
        {"", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        CPropEditView target(&table);
        ASSERT_TRUE(Load(target, std::string("<GridShow><Main><Item><Options>"
                                             "<Assemble type=\"S\"><S ") +
                                     c.attributes +
                                     "/></Assemble></Options></Item></Main></GridShow>"));
        const GridItemData& item = *At(target.FindGridShow(kPartMain)->items, 0);
        ASSERT_EQ(item.options.assembles.size(), 1u);
        ASSERT_EQ(At(item.options.assembles, 0)->states.size(), 1u);
        const OptionStateData& state = *At(At(item.options.assembles, 0)->states, 0);
        EXPECT_EQ(state.enable, c.enable);
        EXPECT_EQ(state.edit, c.edit);
        EXPECT_EQ(state.readOnly, c.readOnly);
    }
}

TEST_F(PropEditViewTest, OptionStateTextsComeFromTheFirstChildOfEachTag) {
    const struct {
        const char* name;
        const char* children;
        const wchar_t* control;
        const wchar_t* style;
        const wchar_t* option;
        const wchar_t* format;
    } cases[] = {
        {"in order", "<Control>c</Control><Style>s</Style><Option>o</Option><Format>f</Format>",
         L"c", L"s", L"o", L"f"},
        {"any order", "<Format>f</Format><Option>o</Option><Style>s</Style><Control>c</Control>",
         L"c", L"s", L"o", L"f"},
        {"repeated", "<Control>1</Control><Control>2</Control><Format>3</Format><Format/>", L"1",
         L"", L"", L"3"},
        // The first "Control" has no text: a later one does not stand in for it.
        {"first is empty", "<Control/><Control>late</Control><Style>  </Style>", L"", L"", L"",
         L""},
        {"other tags", "<control>x</control><Options>y</Options><Item><Control>z</Control></Item>",
         L"", L"", L"", L""},
        {"text and markup", "<Option>a&amp;b<![CDATA[<c>]]></Option><Style><![CDATA[cd]]></Style>",
         L"", L"cd", L"a&b", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPropEditView target(&table);
        ASSERT_TRUE(Load(target, std::string("<GridShow><Main><Item><Options>"
                                             "<Assemble type=\"S\"><S>") +
                                     c.children +
                                     "</S></Assemble></Options></Item></Main></GridShow>"));
        const GridItemData& item = *At(target.FindGridShow(kPartMain)->items, 0);
        ASSERT_EQ(item.options.assembles.size(), 1u);
        ASSERT_EQ(At(item.options.assembles, 0)->states.size(), 1u);
        const OptionStateData& state = *At(At(item.options.assembles, 0)->states, 0);
        EXPECT_EQ(state.control.str(), c.control);
        EXPECT_EQ(state.style.str(), c.style);
        EXPECT_EQ(state.option.str(), c.option);
        EXPECT_EQ(state.format.str(), c.format);
    }
}

TEST_F(PropEditViewTest, GroupsTakeTheirKindFromTheirTag) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    ASSERT_TRUE(Load(view, R"(<GridShow>
        <Attach param="a"/><Struct/><Other param="o"><Item/></Other><LeftRight/><Main/><Side/>
        <Attach param="second"/>
      </GridShow>
      <GridShow><Main param="only the first GridShow counts"/></GridShow>)"));
    std::vector<int> kinds;
    for (const GridShowData* group : view.GetGridShows()) kinds.push_back(group->kind);
    EXPECT_EQ(kinds, (std::vector<int>{1, 2, 0, 3, 0, 4, 1}));
    EXPECT_EQ(reports.Lines(), std::vector<int>{line::kPartKindUnknown});
    // The first group of a kind is found; here the unknown tag, which took kind 0.
    EXPECT_EQ(view.FindGridShow(kPartMain)->param.str(), L"o");
    EXPECT_EQ(view.FindGridShow(kPartAttach)->param.str(), L"a");
    EXPECT_EQ(view.FindGridShow(kPartNone), nullptr);
}

TEST_F(PropEditViewTest, GridShowHoldingOnlyTextHasNoGroups) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    ASSERT_TRUE(Load(view, "<GridShow>text</GridShow><Container name=\"K\"/>"));
    EXPECT_TRUE(view.GetGridShows().empty());
    EXPECT_EQ(reports.Count(), 0);
    // The cursor came back to the root: the container after "GridShow" is read.
    table[L"K"] = ContainerData{L"K", {}};
    EXPECT_EQ(view.GetContainer().name.str(), L"K");
}

TEST_F(PropEditViewTest, OptionsTextSwitchesAndAssembles) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    ASSERT_TRUE(Load(view, R"(<GridShow><Main>
      <Item><Name>text</Name><Options>a;b;c</Options></Item>
      <Item><Name>switches</Name><Options>
        <Switch title="S1" param="p1"><Item><Name>in S1</Name></Item><Item><Name>2</Name></Item></Switch>
        <Switch title="S2"/>
      </Options></Item>
      <Item><Name>one switch</Name><Options><Switch title="only"/></Options></Item>
      <Item><Name>mixed</Name><Options>
        <Assemble title="A1" param="Material" type="State">
          <State IsEnable="true" IsEidt="true" IsReadOnly="true">
            <Control>c</Control><Style>s</Style><Option>o</Option><Format>f</Format>
          </State>
          <State IsEnable="True" IsEidt="false"/>
          <Other IsEnable="true"/>
        </Assemble>
        <Switch title="after the assemble"><Item><Name>deep</Name></Item></Switch>
      </Options></Item>
    </Main></GridShow>)"));
    EXPECT_EQ(reports.Count(), 0);
    const GridShowData* group = view.FindGridShow(kPartMain);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->items.size(), 4u);

    const ItemOptions& text = At(group->items, 0)->options;
    EXPECT_EQ(text.text.str(), L"a;b;c");
    EXPECT_TRUE(text.switches.empty());
    EXPECT_TRUE(text.assembles.empty());

    const ItemOptions& switches = At(group->items, 1)->options;
    EXPECT_TRUE(switches.text.IsEmpty());
    ASSERT_EQ(switches.switches.size(), 2u);
    EXPECT_EQ(At(switches.switches, 0)->title.str(), L"S1");
    EXPECT_EQ(At(switches.switches, 0)->param.str(), L"p1");
    ASSERT_EQ(At(switches.switches, 0)->items.size(), 2u);
    EXPECT_EQ(At(At(switches.switches, 0)->items, 0)->name.str(), L"in S1");
    EXPECT_EQ(At(switches.switches, 1)->title.str(), L"S2");
    EXPECT_TRUE(At(switches.switches, 1)->items.empty());

    // A single child element is no text.
    const ItemOptions& single = At(group->items, 2)->options;
    EXPECT_TRUE(single.text.IsEmpty());
    ASSERT_EQ(single.switches.size(), 1u);
    EXPECT_EQ(At(single.switches, 0)->title.str(), L"only");

    // Each list takes the children of its own tag, whatever their order.
    const ItemOptions& mixed = At(group->items, 3)->options;
    ASSERT_EQ(mixed.switches.size(), 1u);
    EXPECT_EQ(At(mixed.switches, 0)->title.str(), L"after the assemble");
    EXPECT_EQ(At(At(mixed.switches, 0)->items, 0)->name.str(), L"deep");
    ASSERT_EQ(mixed.assembles.size(), 1u);
    const AssembleData& assemble = *At(mixed.assembles, 0);
    EXPECT_EQ(assemble.title.str(), L"A1");
    EXPECT_EQ(assemble.type.str(), L"State");
    EXPECT_EQ(assemble.paramType, KADO::Product::Material);
    ASSERT_EQ(assemble.states.size(), 2u);
    const OptionStateData& on = *At(assemble.states, 0);
    EXPECT_TRUE(on.enable);
    EXPECT_TRUE(on.edit);
    EXPECT_TRUE(on.readOnly);
    EXPECT_EQ(on.control.str(), L"c");
    EXPECT_EQ(on.style.str(), L"s");
    EXPECT_EQ(on.option.str(), L"o");
    EXPECT_EQ(on.format.str(), L"f");
    const OptionStateData& off = *At(assemble.states, 1);
    EXPECT_FALSE(off.enable);
    EXPECT_FALSE(off.edit);
    EXPECT_FALSE(off.readOnly);
    EXPECT_TRUE(off.control.IsEmpty());
}

TEST_F(PropEditViewTest, RefAppendsCopiesOfTheBaseGroup) {
    ContainerTable sharedTable;
    CPropEditView base(&sharedTable);
    ASSERT_TRUE(Load(base, R"(<GridShow>
      <Attach><Item><Name>attach</Name></Item></Attach>
      <Main><Item><Name>base 1</Name><CanBePrivate>true</CanBePrivate>
              <Options><Switch title="S"><Item><Name>nested</Name></Item></Switch>
                       <Assemble title="A" type="St"><St IsEnable="true"/></Assemble></Options></Item>
            <Item><Name>base 2</Name></Item></Main>
      <Main><Item><Name>second main</Name></Item></Main>
    </GridShow>)"));

    const struct {
        const char* ref;  // null: no attribute
        bool copies;
    } cases[] = {
        {"1", true},   {" +2", true},  {"-1", true}, {"7abc", true},   {"0", false},
        {"-0", false}, {"abc", false}, {"", false},  {nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ref ? c.ref : "(absent)");
        CPropEditView located(&sharedTable);
        located.SetBaseView(&base);
        const std::string ref = c.ref ? std::string(" ref=\"") + c.ref + "\"" : "";
        ReportCapture reports(ReportCapture::kReportsOnly);
        ASSERT_TRUE(Load(located, "<GridShow><Main" + ref +
                                      "><Item><Name>own 1</Name></Item><Item><Name>own 2</Name>"
                                      "</Item></Main><Struct" +
                                      ref + "/></GridShow>"));
        EXPECT_EQ(reports.Count(), 0);
        const GridShowData* group = located.FindGridShow(kPartMain);
        ASSERT_NE(group, nullptr);
        Texts names;
        for (const GridItemData* item : group->items) names.push_back(item->name);
        if (c.copies) {
            EXPECT_EQ(names, Texts({L"own 1", L"own 2", L"base 1", L"base 2"}));
            const GridItemData& copy = *At(group->items, 2);
            EXPECT_FALSE(copy.canBePrivate);
            ASSERT_EQ(copy.options.switches.size(), 1u);
            EXPECT_EQ(At(At(copy.options.switches, 0)->items, 0)->name.str(), L"nested");
            ASSERT_EQ(copy.options.assembles.size(), 1u);
            EXPECT_EQ(At(copy.options.assembles, 0)->states.size(), 1u);
            // Copies, not shared records.
            EXPECT_NE(&copy, At(base.FindGridShow(kPartMain)->items, 0));
        } else {
            EXPECT_EQ(names, Texts({L"own 1", L"own 2"}));
        }
        // The base has no "Struct" group: nothing to copy.
        EXPECT_TRUE(located.FindGridShow(kPartStruct)->items.empty());
    }

    // Without a base view "ref" is ignored.
    CPropEditView alone(&sharedTable);
    ASSERT_TRUE(Load(alone, "<GridShow><Main ref=\"1\"><Item/></Main></GridShow>"));
    EXPECT_EQ(alone.FindGridShow(kPartMain)->items.size(), 1u);
}

TEST_F(PropEditViewTest, ItemsNamingATemplateTakeItsContent) {
    const CString templatePath = TempDir::Wide(folder.Write("ItemTemplate.xml", R"(<Items>
      <Item id="T">
        <Name>template</Name><Variable>Width</Variable><ItemVar>ZTMaterial</ItemVar>
        <Tips>tips</Tips><Control>Combo</Control><Style>st</Style><Param>pa</Param>
        <CanBePrivate>true</CanBePrivate><Enable>false</Enable><Group>x\vy</Group>
        <Options>
          <Switch title="S" param="sp"><Item><Name>nested</Name><CanBePrivate>true</CanBePrivate></Item></Switch>
          <Assemble title="A" param="Height" type="St">
            <St IsEnable="true"><Format>%d</Format></St><St IsEidt="true"/>
          </Assemble>
        </Options>
      </Item>
    </Items>)"));
    auto templates = std::make_unique<CItemTemplate>();
    ASSERT_TRUE(templates->LoadItems(templatePath));

    ReportCapture reports(ReportCapture::kReportsOnly);
    ASSERT_TRUE(Load(view, R"(<GridShow><Main>
      <Item id="T"><Name>ignored</Name><CanBePrivate>true</CanBePrivate></Item>
      <Item id="Missing"><Name>ignored too</Name><Enable>false</Enable></Item>
      <Item id="t"/>
    </Main></GridShow>)",
                     templates.get()));
    EXPECT_EQ(reports.Lines(),
              (std::vector<int>{line::kItemTemplateMissing, line::kItemTemplateMissing}));
    // The view keeps its own copies once the table is gone.
    templates.reset();

    const GridShowData* group = view.FindGridShow(kPartMain);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->items.size(), 3u);
    const GridItemData& item = *At(group->items, 0);
    EXPECT_EQ(item.id.str(), L"T");
    EXPECT_EQ(item.name.str(), L"template");
    EXPECT_EQ(item.paramType, KADO::Product::Width);
    EXPECT_EQ(item.itemVar, kItemVarZTMaterial);
    EXPECT_EQ(item.tips.str(), L"tips");
    EXPECT_EQ(item.control.str(), L"Combo");
    EXPECT_EQ(item.style.str(), L"st");
    EXPECT_EQ(item.param.str(), L"pa");
    EXPECT_EQ(item.enable, 0);
    EXPECT_EQ(item.groups, Texts({L"x", L"y"}));
    EXPECT_FALSE(item.canBePrivate);
    ASSERT_EQ(item.options.switches.size(), 1u);
    const SwitchData& sw = *At(item.options.switches, 0);
    EXPECT_EQ(sw.title.str(), L"S");
    EXPECT_EQ(sw.param.str(), L"sp");
    ASSERT_EQ(sw.items.size(), 1u);
    EXPECT_EQ(At(sw.items, 0)->name.str(), L"nested");
    EXPECT_FALSE(At(sw.items, 0)->canBePrivate);
    // The assemble groups come along with the template.
    ASSERT_EQ(item.options.assembles.size(), 1u);
    const AssembleData& assemble = *At(item.options.assembles, 0);
    EXPECT_EQ(assemble.title.str(), L"A");
    EXPECT_EQ(assemble.type.str(), L"St");
    EXPECT_EQ(assemble.paramType, KADO::Product::Height);
    ASSERT_EQ(assemble.states.size(), 2u);
    EXPECT_TRUE(At(assemble.states, 0)->enable);
    EXPECT_EQ(At(assemble.states, 0)->format.str(), L"%d");
    EXPECT_TRUE(At(assemble.states, 1)->edit);

    for (size_t i : {1u, 2u}) {
        SCOPED_TRACE(i);
        const GridItemData& missing = *At(group->items, i);
        EXPECT_FALSE(missing.id.IsEmpty());
        EXPECT_TRUE(missing.name.IsEmpty());
        EXPECT_EQ(missing.paramType, KADO::Product::InvalidParameterType);
        EXPECT_EQ(missing.itemVar, kItemVarNone);
        EXPECT_EQ(missing.enable, 1);
    }
}

TEST_F(PropEditViewTest, ItemsWithAnIdAreReadInFullWithoutATemplateTable) {
    ReportCapture reports(ReportCapture::kReportsOnly);
    ASSERT_TRUE(
        Load(view, "<GridShow><Main><Item id=\"T\"><Name>own</Name></Item></Main></GridShow>"));
    const GridItemData& item = *At(view.FindGridShow(kPartMain)->items, 0);
    EXPECT_EQ(item.id.str(), L"T");
    EXPECT_EQ(item.name.str(), L"own");
    EXPECT_EQ(reports.Count(), 0);
}

// Items nested `levels` times through "Options"/"Switch"/"Item" below a "Main" group.
std::string NestedItems(int levels) {
    std::string open;
    std::string close;
    for (int i = 0; i < levels; ++i) {
        open += "<Item><Name>" + std::to_string(i) + "</Name><Options><Switch>";
        close += "</Switch></Options></Item>";
    }
    return "<GridShow><Main>" + open + close + "</Main></GridShow>";
}

// How many items deep the first chain of switches goes.
int NestingOf(const GridShowData& group) {
    int depth = 0;
    const std::list<GridItemData*>* items = &group.items;
    while (!items->empty()) {
        ++depth;
        const ItemOptions& options = items->front()->options;
        if (options.switches.empty()) break;
        items = &options.switches.front()->items;
    }
    return depth;
}

TEST_F(PropEditViewTest, NestingIsReadToTheDepthLimit) {
    // The root is level 1, "GridShow" 2, "Main" 3; each item adds "Item", "Options", "Switch".
    // Item k stands at level 3k + 1, its "Options" at 3k + 2 and its "Switch" at 3k + 3.
    const int readable = (TOOLS::kMaxReadDepth - 1) / 3;
    const struct {
        int levels;
        int read;
        size_t diagnostics;
    } cases[] = {
        {10, 10, 0},
        {readable - 1, readable - 1, 0},
        {readable, readable, 1},
        {readable + 5, readable, 1},
        {20000, readable, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levels);
        ReportCapture capture;
        CPropEditView deep(&table);
        const CString path =
            TempDir::Wide(folder.Write("Deep.xml", EditView(NestedItems(c.levels))));
        ASSERT_TRUE(deep.LoadEditView(path, nullptr));
        ASSERT_NE(deep.FindGridShow(kPartMain), nullptr);
        EXPECT_EQ(NestingOf(*deep.FindGridShow(kPartMain)), c.read);
        ASSERT_EQ(capture.diagnostics.size(), c.diagnostics);
        if (c.diagnostics) {
            EXPECT_EQ(capture.diagnostics[0].file.str(), path.str());
        }
        EXPECT_EQ(capture.Count(), 0);
        // A deep copy of the deepest view, destroyed with it.
        CPropEditView copy(deep, nullptr, &table);
        EXPECT_EQ(NestingOf(*copy.FindGridShow(kPartMain)), c.read);
    }
}

TEST_F(PropEditViewTest, CopyIsDeepAndRelinked) {
    ContainerTable otherTable;
    otherTable[L"K"] = ContainerData{L"K", {ListenerData{L"X_Main", L"other", kPartMain}}};
    table[L"K"] = ContainerData{L"K", {ListenerData{L"X_Main", L"mine", kPartMain}}};
    auto original = std::make_unique<CPropEditView>(&table);
    ASSERT_TRUE(Load(*original, R"(<MarkShow><LiMian markclass="M"/></MarkShow>
      <GridShow><Main param="p"><Item id="I"><Name>n</Name><CanBePrivate>true</CanBePrivate>
        <Options><Switch title="S"><Item id="J"><CanBePrivate>true</CanBePrivate></Item></Switch>
        <Assemble type="St"><St IsReadOnly="true"/></Assemble></Options></Item></Main></GridShow>
      <Container name="K"/>)"));
    original->SetViewLoc(L"\\基本构件\\墙");
    original->SetTypeAndSections({L"Wall", L"Beam"});

    auto copy = std::make_unique<CPropEditView>(*original, &view, &otherTable);
    EXPECT_EQ(copy->GetViewLoc().str(), L"\\基本构件\\墙");
    EXPECT_EQ(copy->GetTypeAndSections(), Texts({L"Wall", L"Beam"}));
    EXPECT_EQ(copy->GetBaseView(), &view);
    std::vector<CString> classes;
    EXPECT_TRUE(copy->GetMarkClasses(kViewLiMian, classes));
    EXPECT_EQ(classes, Texts({L"M"}));
    EXPECT_EQ(copy->GetContainer().listeners[0].data.str(), L"other");
    EXPECT_EQ(original->GetContainer().listeners[0].data.str(), L"mine");

    GridShowData* group = copy->FindGridShow(kPartMain);
    ASSERT_NE(group, nullptr);
    EXPECT_NE(group, original->FindGridShow(kPartMain));
    EXPECT_EQ(group->param.str(), L"p");
    const GridItemData& item = *At(group->items, 0);
    EXPECT_EQ(item.id.str(), L"I");
    EXPECT_TRUE(item.canBePrivate);
    const GridItemData& nested = *At(At(item.options.switches, 0)->items, 0);
    EXPECT_EQ(nested.id.str(), L"J");
    EXPECT_TRUE(nested.canBePrivate);
    EXPECT_TRUE(At(At(item.options.assembles, 0)->states, 0)->readOnly);

    // The original goes first; the copy stands on its own.
    original.reset();
    EXPECT_EQ(At(copy->FindGridShow(kPartMain)->items, 0)->name.str(), L"n");
}

}  // namespace
}  // namespace CONFIG
