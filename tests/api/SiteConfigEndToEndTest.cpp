// A complete configuration folder loaded through the public library only, and the request an
// application makes to draw one component's property grid.
#include <gtest/gtest.h>

#include <string>

#include <siteconfig/SiteConfig.h>
#include "TestSupport.h"

namespace {

using CONFIG::GridItemData;
using CONFIG::GridShowData;
using CONFIG::PropertyInsData;

const std::string kData = SITECONFIG_TEST_DATA_DIR;

class SiteConfigEndToEnd : public testing::Test {
protected:
    static CString Path(const std::string& relative) {
        return testing_support::TempDir::Wide(kData + relative);
    }

    void SetUp() override {
        config_ = std::make_unique<CONFIG::CPropertiesConfig>(
            Path("site/Definitions/"), Path("display/"), Path("site/Templates/"),
            Path("site/Models/"), Path("site/GraphLibs/structure.xml"),
            Path("site/GraphLibs/site.xml"), Path("site/ShapePool/"));
        loadReports_ = capture_.reports.size();
        loadDiagnostics_ = capture_.diagnostics.size();
    }

    testing_support::ReportCapture capture_;
    std::unique_ptr<CONFIG::CPropertiesConfig> config_;
    size_t loadReports_ = 0;
    size_t loadDiagnostics_ = 0;
};

std::vector<CString> Names(const std::list<GridItemData*>& items) {
    std::vector<CString> names;
    for (const GridItemData* item : items) names.push_back(item->name);
    return names;
}

TEST_F(SiteConfigEndToEnd, LoadsCleanly) {
    EXPECT_EQ(loadReports_, 0u);
    EXPECT_EQ(loadDiagnostics_, 0u);
}

TEST_F(SiteConfigEndToEnd, PropertyGridOfAStraightWall) {
    CONFIG::IPropertiesConfig& config = *config_;
    const CString location = L"\\基本构件\\墙\\直形墙";

    // The application knows the component by its location's category.
    const KADO::Product::EKADOComponentType type = config.GetType(location);
    ASSERT_EQ(type, KADO::Product::Wall);
    EXPECT_EQ(config.GetDefaultName(type), CString(L"直形墙"));
    EXPECT_TRUE(config.PropertyCanEdit(type));

    // The layout: the wall view, chosen by section and location.
    CONFIG::IPropertyShow* show = config.GetPropertyShowConfig();
    ASSERT_NE(show, nullptr);
    EXPECT_TRUE(show->IsLocShown(location));
    CONFIG::IPropEditView* view =
        show->GetPropEditView(config.GetComponentNameByType(type), location);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->GetGridShows().size(), 3u);

    // Main: its own two items, then copies of the grid template's main items ("ref").
    const GridShowData* main = view->FindGridShow(CONFIG::kPartMain);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->items.size(), 4u);
    const GridItemData* thickness = main->items.front();
    EXPECT_EQ(thickness->id, CString(L"Thickness"));
    EXPECT_EQ(thickness->name, CString(L"厚度(mm)"));
    EXPECT_EQ(thickness->paramType, KADO::Product::Thickness);
    EXPECT_EQ(thickness->itemVar, CONFIG::kItemVarZTThickness);
    EXPECT_EQ(thickness->options.text, CString(L"100;120;180;200;240;300"));
    EXPECT_EQ(thickness->groups, (std::vector<CString>{L"尺寸", L"几何"}));
    const GridItemData* height = *std::next(main->items.begin());
    EXPECT_EQ(height->name, CString(L"墙高(mm)"));
    EXPECT_TRUE(height->canBePrivate);

    // Struct: an item with two switches.
    const GridShowData* structure = view->FindGridShow(CONFIG::kPartStruct);
    ASSERT_NE(structure, nullptr);
    EXPECT_EQ(structure->param, CString(L"WallStruct"));
    const GridItemData* masonry = structure->items.back();
    ASSERT_EQ(masonry->options.switches.size(), 2u);
    EXPECT_EQ(masonry->options.switches.back()->title, CString(L"砌块墙"));
    EXPECT_EQ(Names(masonry->options.switches.back()->items),
              (std::vector<CString>{L"砌块规格", L"灰缝(mm)"}));

    std::vector<CString> marks;
    EXPECT_TRUE(view->GetMarkClasses(CONFIG::kViewPouMian, marks));
    EXPECT_EQ(marks, (std::vector<CString>{L"墙厚", L"墙高"}));
    EXPECT_FALSE(view->GetMarkClasses(CONFIG::kViewSGPaper, marks));

    // The container: the shared table's listeners, with the view's own data where it has some.
    const CONFIG::ContainerData container = view->GetContainer();
    EXPECT_EQ(container.name, CString(L"WallContainer"));
    ASSERT_EQ(container.listeners.size(), 3u);
    EXPECT_EQ(container.listeners[0].data, CString(L"WallSection"));
    EXPECT_EQ(container.listeners[1].data, CString(L"WallAttach"));
    EXPECT_EQ(container.listeners[2].data, CString(L"WallStructure"));
    EXPECT_EQ(container.listeners[2].kind, CONFIG::kPartStruct);

    // The values for the grid.
    PropertyInsData wall;
    wall.compType = type;
    wall.initName = L"墙 W-12";
    config.GetPropertyInsData(type, wall);
    EXPECT_EQ(wall.initName, CString(L"墙 W-12"));
    EXPECT_EQ(wall.graphLibId, CString(L"WALL-STRAIGHT"));
    ASSERT_EQ(wall.params.size(), 6u);
    EXPECT_EQ(std::next(wall.params.begin(), 3)->first, KADO::Product::Thickness);
    EXPECT_EQ(std::next(wall.params.begin(), 3)->second.second, L"240");
    EXPECT_TRUE(config.HasChildren(type));

    // Another section shape comes from the shape pool.
    PropertyInsData round;
    ASSERT_TRUE(config.GetBaseComChangSharpData(type, location, L"圆形", round));
    EXPECT_EQ(round.initName, CString(L"直形墙-圆形"));
    EXPECT_EQ(round.params.back().second.second, L"300");

    EXPECT_EQ(capture_.reports.size(), loadReports_);
}

TEST_F(SiteConfigEndToEnd, TemplatesModelsAndGraphLibraries) {
    CONFIG::IPropertiesConfig& config = *config_;
    std::list<PropertyInsData> templates;
    config.GetTemplateCompIns(templates);
    // Two template files, then the graph libraries' models (one of them left out on purpose).
    ASSERT_EQ(templates.size(), 7u);
    EXPECT_EQ(templates.front().initName, CString(L"外墙模板"));
    EXPECT_EQ(templates.back().initName, CString(L"异形柱"));

    PropertyInsData scaffold;
    ASSERT_TRUE(config.GetTemplateCompIns(L"\\临时设施\\脚手架", scaffold));
    EXPECT_EQ(scaffold.compType, KADO::Product::Scaffold);
    EXPECT_EQ(config.GetType(L"\\基本构件\\Column"), KADO::Product::Column);
    EXPECT_EQ(config.GetType(L"\\其它图库\\其它构件"), KADO::Product::OtherComponentType);

    std::list<PropertyInsData> models;
    config.GetPropModelCompIns(models);
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(models.front().sectionShape, CString(L"圆形"));

    std::vector<CString> shown;
    config.GetPropertyShowConfig()->GetShowLocs(shown);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2], CString(L"\\基本构件\\Column"));
    EXPECT_EQ(shown.back(), CString(L"\\场地布置\\Fence"));
}

TEST_F(SiteConfigEndToEnd, CopiesOutliveTheOriginal) {
    CONFIG::CPropertiesConfig copy(*config_);
    config_.reset();
    CONFIG::IPropEditView* view =
        copy.GetPropertyShowConfig()->GetPropEditView(L"Wall", L"\\基本构件\\墙\\直形墙");
    ASSERT_NE(view->FindGridShow(CONFIG::kPartMain), nullptr);
    EXPECT_EQ(view->FindGridShow(CONFIG::kPartMain)->items.size(), 4u);
    EXPECT_EQ(view->GetContainer().listeners.size(), 3u);
}

}  // namespace

namespace {

// The published name tables are the ones the conversions of the loaded configuration use.
TEST_F(SiteConfigEndToEnd, PublishedTypeNamesConvertBothWays) {
    const auto components = CONFIG::GetComponentTypeNames();
    ASSERT_FALSE(components.empty());
    for (const CONFIG::NamedValue& entry : components) {
        SCOPED_TRACE(TOOLS::Utf8FromWide(entry.name));
        const auto type = static_cast<KADO::Product::EKADOComponentType>(entry.value);
        EXPECT_EQ(config_->GetComponentTypeByName(entry.name), type);
        EXPECT_EQ(config_->GetComponentNameByType(type), entry.name);
    }
    CString other;
    EXPECT_TRUE(CONFIG::FindName(components, KADO::Product::OtherComponentType, other));
    EXPECT_EQ(other, CString(L"OtherComponent"));

    const auto params = CONFIG::GetParameterTypeNames();
    for (const CONFIG::NamedValue& entry : params) {
        SCOPED_TRACE(TOOLS::Utf8FromWide(entry.name));
        const auto type = static_cast<KADO::Product::EKADOParameterType>(entry.value);
        EXPECT_EQ(config_->GetParamTypeByName(entry.name), type);
        CString first;
        ASSERT_TRUE(CONFIG::FindName(params, entry.value, first));
        EXPECT_EQ(config_->GetParamNameByType(type), first);
    }
}

// Every report a query raises has a meaning an author can act on.
TEST_F(SiteConfigEndToEnd, ReportsOfQueriesAreExplained) {
    CONFIG::IPropertiesConfig& properties = *config_;
    properties.GetType(L"no such category");
    properties.GetDefaultName(KADO::Product::InvalidComponentType);
    CONFIG::PropertyInsData data;
    properties.GetBaseComChangSharpData(KADO::Product::Wall, L"\\a\\b", L"none", data);
    properties.GetPropertyShowConfig()->GetPropEditView(L"none", L"\\nowhere");
    ASSERT_GT(capture_.reports.size(), loadReports_);
    for (size_t i = loadReports_; i < capture_.reports.size(); ++i) {
        const TOOLS::LogReport& report = capture_.reports[i];
        SCOPED_TRACE(TOOLS::Utf8FromWide(report.file) + ":" + std::to_string(report.line));
        EXPECT_FALSE(CONFIG::ExplainReport(report.file, report.line).IsEmpty());
    }
    EXPECT_TRUE(CONFIG::ExplainReport(L"PropertiesConfig", 1).IsEmpty());
}

}  // namespace

namespace {

using testing_support::Text;

// The whole tables agree with what the interfaces answer one question at a time.
TEST_F(SiteConfigEndToEnd, WholeTablesAgreeWithTheInterfaces) {
    const CONFIG::CConfigTables tables(*config_);
    CONFIG::IPropertiesConfig& properties = *config_;

    const auto definitions = tables.GetDefinitions();
    ASSERT_FALSE(definitions.empty());
    for (const auto& [type, definition] : definitions) {
        PropertyInsData pooled;
        properties.GetPoolCompIns(type, pooled);
        EXPECT_EQ(Text(pooled), Text(definition));
    }
    std::list<PropertyInsData> templates;
    properties.GetTemplateCompIns(templates);
    EXPECT_EQ(Text(tables.GetTemplates()), Text(templates));
    std::list<PropertyInsData> models;
    properties.GetPropModelCompIns(models);
    EXPECT_EQ(Text(tables.GetPropModels()), Text(models));
    for (const auto& [type, categories] : tables.GetCategoryIndex()) {
        for (const CString& category : categories) {
            // GetType answers the smallest type of a category.
            EXPECT_LE(properties.GetType(category), type);
        }
    }
    for (const PropertyInsData& shape : tables.GetShapePool()) {
        PropertyInsData changed;
        if (shape.category.Find(L"\\\u57fa\u672c\u6784\u4ef6") != 0) continue;  // \基本构件
        EXPECT_TRUE(properties.GetBaseComChangSharpData(shape.compType, shape.category,
                                                        shape.sectionShape, changed));
        EXPECT_EQ(Text(changed), Text(shape));
    }

    CONFIG::IPropertyShow* show = properties.GetPropertyShowConfig();
    std::vector<CString> locs;
    show->GetDefineLocs(locs);
    EXPECT_EQ(tables.GetDefineLocs(), locs);
    show->GetShowLocs(locs);
    EXPECT_EQ(tables.GetShowLocs(), locs);
    EXPECT_EQ(tables.GetContainers().size(), show->GetEnableContainers()->size());
    for (const auto& [type, kind] : tables.GetComponentKinds()) {
        EXPECT_EQ(show->GetComponentKind(type), kind);
    }
    for (const auto& [type, mode] : tables.GetView3DModes()) {
        EXPECT_EQ(show->GetView3DMode(type), mode);
    }
    for (const auto param : tables.GetViewParams()) EXPECT_TRUE(show->IsViewParam(param));
    std::vector<KADO::Product::EKADOParameterType> meters;
    show->GetMeterParams(meters);
    EXPECT_EQ(tables.GetMeterParams(), meters);

    // Each location view is the one the display configuration hands out for its own location
    // and first type-and-section text, unless an earlier view claims them.
    const auto views = tables.GetLocationViews();
    ASSERT_FALSE(views.empty());
    EXPECT_EQ(show->GetPropEditView(views.front().typeAndSections.front(), views.front().loc),
              views.front().view);
    EXPECT_NE(tables.GetGridTemplateView(), nullptr);
    EXPECT_NE(tables.GetFallbackView(), nullptr);
    EXPECT_EQ(capture_.reports.size(), loadReports_);
}

TEST(SiteConfigTables, ResourceValuesAreTheStoredTexts) {
    testing_support::TempDir dir;
    const std::string file = dir.Write(
        "Resource.xml", "<Config><AppDir val=\"/old/\"/><Images val=\".\\img\"/><Empty/></Config>");
    CONFIG::CResourceConfig settings;
    settings.SetAppDir(L"/app/");
    ASSERT_TRUE(settings.Load(testing_support::TempDir::Wide(file)));
    const std::map<CString, CString> expected = {
        {L"AppDir", L"/old/"}, {L"Images", L".\\img"}, {L"Empty", L""}};
    EXPECT_EQ(CONFIG::CConfigTables::GetResourceValues(settings), expected);
    EXPECT_EQ(settings.GetValue(L"Images"), CString(L"/old/img"));
}

}  // namespace
