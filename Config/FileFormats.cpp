#include "FileFormats.h"

namespace CONFIG {

namespace {

using Children = const ElementFormat* const[];

// ---- Property files (PropertiesConfigImpl.cpp) ----------------------------------------------

// An instance nests instances to any depth. Elements declared ahead are defined const: not every
// compiler takes a constexpr definition after an extern declaration. Their initialisers are
// constant expressions all the same, so they are initialised before any code runs.
extern const ElementFormat kInstance;

constexpr ElementFormat kGraphLibId = Element(L"GraphLibId").WithText();

constexpr AttributeFormat kInstanceAttributes[] = {{L"clsname"}, {L"insname"}};
constexpr Children kInstanceChildren = {&kGraphLibId, &kInstance};
// Every attribute but the two names is a parameter, named after its parameter type.
const ElementFormat kInstance = Element(L"Property")
                                    .WithAttributes(kInstanceAttributes)
                                    .WithOtherAttributes(OtherAttributes::kParameterNames)
                                    .Repeated()
                                    .WithChildren(kInstanceChildren);

constexpr AttributeFormat kFishAttributes[] = {{L"Var"}, {L"Val"}};
constexpr ElementFormat kFish = Element(L"Fish").WithAttributes(kFishAttributes).Repeated();

constexpr Children kCommonChildren = {&kFish};
constexpr Children kInsChildren = {&kInstance};
constexpr ElementFormat kCommon = Element(L"Common").WithChildren(kCommonChildren);
constexpr ElementFormat kIns = Element(L"Ins").WithChildren(kInsChildren);
constexpr Children kPoolChildren = {&kCommon, &kIns};
constexpr ElementFormat kPool = Element(L"Pool").WithChildren(kPoolChildren);
// Without "Pool" its two parts stand under the root; once there is a "Pool" the reader looks
// for them only inside it.
constexpr ElementFormat kRootCommon = kCommon.UnreadBeside(L"Pool");
constexpr ElementFormat kRootIns = kIns.UnreadBeside(L"Pool");

constexpr ElementFormat kInitName = Element(L"InitName").WithText();
constexpr ElementFormat kClsName = Element(L"ClsName").WithText();
constexpr Children kPropertyChildren = {&kInitName, &kClsName,    &kGraphLibId,
                                        &kPool,     &kRootCommon, &kRootIns};
constexpr ElementFormat kPropertyRoot = Element(L"Property").WithChildren(kPropertyChildren);

// ---- filelist.cfg (PropertiesConfigImpl.cpp) -------------------------------------------------

constexpr ElementFormat kListedFile = Element(L"file").WithText().Repeated();
constexpr Children kFileListChildren = {&kListedFile};
constexpr ElementFormat kFileListRoot = Element(L"filelist").WithChildren(kFileListChildren);

// ---- Graph libraries (platform/GraphLibrary.cpp) ---------------------------------------------

constexpr AttributeFormat kModelAttributes[] = {{L"loc"}, {L"name"}, {L"id"}};
constexpr ElementFormat kModel = Element(L"Model").WithAttributes(kModelAttributes).Repeated();
constexpr Children kGraphLibraryChildren = {&kModel};
constexpr ElementFormat kGraphLibraryRoot =
    Element(L"GraphLibrary").WithChildren(kGraphLibraryChildren);

// ---- Items (GridItemReader.cpp), in item templates and edit views ---------------------------

// An item's options hold switches, whose items have options again.
extern const ElementFormat kItem;

constexpr ElementFormat kName = Element(L"Name").WithText();
constexpr ElementFormat kVariable = Element(L"Variable").WithText();
constexpr ElementFormat kItemVar = Element(L"ItemVar").WithText();
constexpr ElementFormat kTips = Element(L"Tips").WithText();
constexpr ElementFormat kControl = Element(L"Control").WithText();
constexpr ElementFormat kStyle = Element(L"Style").WithText();
constexpr ElementFormat kParam = Element(L"Param").WithText();
constexpr ElementFormat kCanBePrivate = Element(L"CanBePrivate").WithText();
constexpr ElementFormat kEnable = Element(L"Enable").WithText();
constexpr ElementFormat kGroup = Element(L"Group").WithText();
constexpr ElementFormat kOption = Element(L"Option").WithText();
constexpr ElementFormat kFormat = Element(L"Format").WithText();

constexpr AttributeFormat kSwitchAttributes[] = {{L"title"}, {L"param"}};
constexpr Children kSwitchChildren = {&kItem};
constexpr ElementFormat kSwitch =
    Element(L"Switch").WithAttributes(kSwitchAttributes).Repeated().WithChildren(kSwitchChildren);

// The states of an assemble group are tagged with the group's "type".
constexpr AttributeFormat kStateAttributes[] = {{L"IsEnable"}, {L"IsEidt"}, {L"IsReadOnly"}};
constexpr Children kStateChildren = {&kControl, &kStyle, &kOption, &kFormat};
constexpr ElementFormat kState = [] {
    ElementFormat state =
        Element(L"type").WithAttributes(kStateAttributes).Repeated().WithChildren(kStateChildren);
    state.tagRule = TagRule::kParentAttribute;
    return state;
}();

constexpr AttributeFormat kAssembleAttributes[] = {{L"title"}, {L"param"}, {L"type"}};
constexpr Children kAssembleChildren = {&kState};
constexpr ElementFormat kAssemble = Element(L"Assemble")
                                        .WithAttributes(kAssembleAttributes)
                                        .Repeated()
                                        .WithChildren(kAssembleChildren);

// Only a text, or switches, or assemble groups.
constexpr Children kOptionsChildren = {&kSwitch, &kAssemble};
constexpr ElementFormat kOptions = Element(L"Options").WithText().WithChildren(kOptionsChildren);

constexpr AttributeFormat kItemAttributes[] = {{L"id"}};
constexpr Children kItemChildren = {&kName,  &kVariable,     &kItemVar, &kTips,  &kControl, &kStyle,
                                    &kParam, &kCanBePrivate, &kEnable,  &kGroup, &kOptions};
const ElementFormat kItem =
    Element(L"Item").WithAttributes(kItemAttributes).Repeated().WithChildren(kItemChildren);

// ---- ItemTemplate.xml (ItemTemplate.cpp) -----------------------------------------------------

constexpr Children kItemsChildren = {&kItem};
constexpr ElementFormat kItemsRoot = Element(L"Items").WithChildren(kItemsChildren);

// ---- Containers (PropEditView.cpp), in edit views and EnableContainer.xml --------------------

constexpr AttributeFormat kListenerAttributes[] = {{L"name"}, {L"data"}};
constexpr ElementFormat kListener =
    Element(L"Listener").WithAttributes(kListenerAttributes).Repeated();
constexpr AttributeFormat kContainerAttributes[] = {{L"name"}};
constexpr Children kContainerChildren = {&kListener};
// An edit view reads its first container; "EnableContainer.xml" reads them all.
constexpr ElementFormat kViewContainer =
    Element(L"Container").WithAttributes(kContainerAttributes).WithChildren(kContainerChildren);
constexpr ElementFormat kListedContainer = kViewContainer.Repeated();

constexpr Children kContainersChildren = {&kListedContainer};
constexpr ElementFormat kContainersRoot = Element(L"Containers").WithChildren(kContainersChildren);

// ---- Edit views (PropEditView.cpp, GridItemReader.cpp) ---------------------------------------

constexpr AttributeFormat kMarkClassAttributes[] = {{L"markclass"}};
constexpr ElementFormat kMarkClass =
    ElementOneOf(kViewModeNames).WithAttributes(kMarkClassAttributes);
constexpr Children kMarkShowChildren = {&kMarkClass};
constexpr ElementFormat kMarkShow = Element(L"MarkShow").WithChildren(kMarkShowChildren);

// Every child of "GridShow" is a group, tagged with its part kind.
constexpr AttributeFormat kGroupAttributes[] = {{L"title"}, {L"param"}, {L"ref"}};
constexpr Children kGroupChildren = {&kItem};
constexpr ElementFormat kItemGroup = ElementOneOf(kPartKindNames)
                                         .WithAttributes(kGroupAttributes)
                                         .Repeated()
                                         .WithChildren(kGroupChildren);
constexpr Children kGridShowChildren = {&kItemGroup};
constexpr ElementFormat kGridShow = Element(L"GridShow").WithChildren(kGridShowChildren);

constexpr Children kEditViewChildren = {&kMarkShow, &kGridShow, &kViewContainer};
constexpr ElementFormat kEditViewRoot = Element(L"PropEditView").WithChildren(kEditViewChildren);

// ---- PropertyLocShow.xml (PropShowCfg.cpp) ---------------------------------------------------

constexpr ElementFormat kDefinedLoc = Element(L"Loc").WithText().Repeated();
constexpr Children kPropDefineShowChildren = {&kDefinedLoc};
constexpr ElementFormat kPropDefineShow =
    Element(L"PropDefineShow").WithChildren(kPropDefineShowChildren);

constexpr AttributeFormat kSectionLocAttributes[] = {{L"loc"}};
constexpr ElementFormat kSectionLoc =
    Element(L"Loc").WithAttributes(kSectionLocAttributes).WithText().Repeated();
constexpr Children kSectionSelectChildren = {&kSectionLoc};
constexpr ElementFormat kSectionSelect =
    Element(L"SectionSelect").WithChildren(kSectionSelectChildren);

constexpr AttributeFormat kKindAttributes[] = {{L"kd"}};
constexpr ElementFormat kKind = Element(L"Kind").WithAttributes(kKindAttributes);
constexpr AttributeFormat kKindPropertyAttributes[] = {{L"clsname"}};
constexpr Children kKindPropertyChildren = {&kKind};
constexpr ElementFormat kKindProperty = Element(L"Property")
                                            .WithAttributes(kKindPropertyAttributes)
                                            .Repeated()
                                            .WithChildren(kKindPropertyChildren);
constexpr Children kPropertiesChildren = {&kKindProperty};
constexpr ElementFormat kProperties = Element(L"Properties").WithChildren(kPropertiesChildren);

constexpr ElementFormat kViewParam = Element(L"ViewParam").WithText();
constexpr ElementFormat kMeterParam = Element(L"MeterParam").WithText();

constexpr AttributeFormat kViewAttributes[] = {{L"view"}, {L"typeandsection"}, {L"loc"}};
constexpr ElementFormat kView = Element(L"View").WithAttributes(kViewAttributes).Repeated();
constexpr Children kLocationViewsChildren = {&kView};
constexpr ElementFormat kLocationViews =
    Element(L"PropEditView").WithChildren(kLocationViewsChildren);

constexpr AttributeFormat kViewModeAttributes[] = {{L"name"}, {L"clsname"}};
constexpr ElementFormat kViewMode =
    Element(L"ViewMode").WithAttributes(kViewModeAttributes).Repeated();
constexpr Children kView3DModeChildren = {&kViewMode};
constexpr ElementFormat kView3DMode = Element(L"View3DMode").WithChildren(kView3DModeChildren);

constexpr Children kUIChildren = {&kPropDefineShow, &kSectionSelect, &kProperties, &kViewParam,
                                  &kMeterParam,     &kLocationViews, &kView3DMode};
constexpr ElementFormat kLocationShowRoot = Element(L"UI").WithChildren(kUIChildren);

// ---- Resource settings (ResourceConfig.cpp) --------------------------------------------------

// Each child of "Config" is a setting named by its tag. Its other attributes, text and
// children are kept when the file is written back, but never read; a setting without "val"
// may hold settings of the application's own (its value reads as empty).
constexpr AttributeFormat kSettingAttributes[] = {{L"val"}};
constexpr ElementFormat kSetting = [] {
    ElementFormat setting = Element(nullptr)
                                .WithAttributes(kSettingAttributes)
                                .WithOtherAttributes(OtherAttributes::kAny)
                                .Repeated()
                                .WithAnyContent();
    setting.tagRule = TagRule::kAny;
    return setting;
}();
constexpr Children kConfigChildren = {&kSetting};
constexpr ElementFormat kResourceRoot = Element(L"Config").WithChildren(kConfigChildren);

// In the order of FileKind.
constexpr FileFormat kFileFormats[] = {
    {FileKind::kProperty, "property", L"a property file", &kPropertyRoot,
     L"definitions (*_POOL.xml), template and property-model files named by filelist.cfg, "
     L"shape-pool files"},
    {FileKind::kFileList, "filelist", L"filelist.cfg", &kFileListRoot,
     L"filelist.cfg of the template and property-model folders"},
    {FileKind::kGraphLibrary, "graph-library", L"a graph library", &kGraphLibraryRoot,
     L"graph libraries"},
    {FileKind::kItemTemplate, "item-template", L"ItemTemplate.xml", &kItemsRoot,
     L"ItemTemplate.xml"},
    {FileKind::kEditView, "edit-view", L"an edit-view file", &kEditViewRoot,
     L"GridTemplate.xml and the edit-view files that PropertyLocShow.xml names"},
    {FileKind::kLocationShow, "location-show", L"PropertyLocShow.xml", &kLocationShowRoot,
     L"PropertyLocShow.xml"},
    {FileKind::kEnableContainer, "enable-container", L"EnableContainer.xml", &kContainersRoot,
     L"EnableContainer.xml"},
    {FileKind::kResource, "resource", L"a resource settings file", &kResourceRoot,
     L"resource settings"},
};

constexpr bool InKindOrder() {
    for (size_t i = 0; i < sizeof kFileFormats / sizeof kFileFormats[0]; ++i) {
        if (static_cast<size_t>(kFileFormats[i].kind) != i) return false;
    }
    return true;
}
static_assert(InKindOrder(), "GetFileFormat indexes the table by kind");

}  // namespace

const FileFormat& GetFileFormat(FileKind kind) { return kFileFormats[static_cast<size_t>(kind)]; }

TableSpan<FileFormat> GetFileFormats() { return kFileFormats; }

}  // namespace CONFIG
