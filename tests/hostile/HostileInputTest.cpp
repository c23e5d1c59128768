// Configuration files that are damaged, enormous, deeply nested, in unknown encodings, or not
// files at all. Whatever a file holds, the readers answer with diagnostics and the tables they
// give for a bad file, and never crash.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <list>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <siteconfig/CGraphsConfig.h>
#include <siteconfig/CPropertiesConfig.h>
#include <siteconfig/CResourceConfig.h>
#include <siteconfig/IPropertyShow.h>
#include "FileSystem.h"
#include "TestSupport.h"
#include "XMLTree.h"

namespace {

using CONFIG::CPropertiesConfig;
using CONFIG::PropertyInsData;
using testing_support::ReportCapture;
using testing_support::TempDir;

// ---- a small complete site --------------------------------------------------------------------

const std::pair<const char*, const char*> kSite[] = {
    {"Definitions/Wall_POOL.xml",
     "<Property><InitName>墙</InitName><ClsName>Wall</ClsName><Pool><Common>"
     "<Fish Var=\"Category\" Val=\"\\基本构件\\墙\"/><Fish Var=\"Length\" Val=\"3000\"/>"
     "</Common><Ins><Property clsname=\"Wall\" insname=\"外墙\" Length=\"100|120\"/></Ins></Pool>"
     "</Property>"},
    {"Definitions/Hostile_POOL.xml", "<Property><ClsName>Beam</ClsName></Property>"},
    {"Templates/filelist.cfg", "<filelist><file>wall.xml</file></filelist>"},
    {"Templates/wall.xml",
     "<Property><InitName>t</InitName><ClsName>Wall</ClsName><Common>"
     "<Fish Var=\"Category\" Val=\"\\模板\\墙\"/></Common></Property>"},
    {"Models/filelist.cfg", "<filelist><file>m.xml</file></filelist>"},
    {"Models/m.xml", "<Property><ClsName>Pipe</ClsName></Property>"},
    {"ShapePool/wall.xml",
     "<Property><ClsName>Wall</ClsName><Common><Fish Var=\"Category\" Val=\"\\基本构件\\墙\"/>"
     "<Fish Var=\"SectionShape\" Val=\"矩形\"/></Common></Property>"},
    {"ShapePool/hostile.xml", "<Property><ClsName>Slab</ClsName></Property>"},
    {"Display/ItemTemplate.xml", "<Items><Item id=\"1\"><Name>长度</Name></Item></Items>"},
    {"Display/GridTemplate.xml",
     "<PropEditView><GridShow><Main><Item id=\"1\"/></Main></GridShow></PropEditView>"},
    {"Display/wall.xml",
     "<PropEditView><MarkShow><View3D markclass=\"A;B\"/></MarkShow><GridShow><Main ref=\"1\">"
     "<Item><Name>n</Name></Item></Main></GridShow><Container name=\"K\"/></PropEditView>"},
    {"Display/PropertyLocShow.xml",
     "<UI><PropDefineShow><Loc>\\基本构件\\墙</Loc></PropDefineShow><SectionSelect>"
     "<Loc loc=\"\\基本构件\\墙\">\\基本构件\\墙</Loc></SectionSelect><Properties>"
     "<Property clsname=\"Wall\"><Kind kd=\"block\"/></Property></Properties>"
     "<ViewParam>Length</ViewParam><MeterParam>Width</MeterParam><PropEditView>"
     "<View view=\"wall.xml\" typeandsection=\"Wall\" loc=\"\\基本构件\\墙\"/></PropEditView>"
     "<View3DMode><ViewMode name=\"LiMian\" clsname=\"Wall\"/></View3DMode></UI>"},
    {"Display/EnableContainer.xml",
     "<Containers><Container name=\"K\"><Listener name=\"X_Main\" data=\"1\"/></Container>"
     "</Containers>"},
    {"GraphLibs/1.xml",
     "<GraphLibrary><Model loc=\"\\基本构件\\梁\" name=\"b\" id=\"B-1\"/></GraphLibrary>"},
    {"GraphLibs/2.xml", "<GraphLibrary/>"},
};

void WriteSite(const TempDir& dir) {
    for (const auto& [name, text] : kSite) dir.Write(std::string("site/") + name, text);
}

std::unique_ptr<CPropertiesConfig> LoadSite(const TempDir& dir) {
    auto folder = [&](const char* name) { return dir.WPath(std::string("site/") + name); };
    return std::make_unique<CPropertiesConfig>(
        folder("Definitions/"), folder("Display/"), folder("Templates/"), folder("Models/"),
        folder("GraphLibs/1.xml"), folder("GraphLibs/2.xml"), folder("ShapePool/"));
}

// ---- everything a configuration answers, as one text ------------------------------------------

void Put(std::ostringstream& out, const CString& text) {
    for (wchar_t c : text.str()) out << static_cast<long>(c) << '.';
    out << '|';
}

void Put(std::ostringstream& out, const PropertyInsData& record) {
    out << '{' << static_cast<long>(record.compType) << ' ';
    Put(out, record.category);
    Put(out, record.initName);
    Put(out, record.sectionShape);
    Put(out, record.graphLibId);
    for (const auto& param : record.params) {
        out << static_cast<long>(param.first) << ':';
        Put(out, param.second.first);
        Put(out, param.second.second);
    }
    for (const auto& child : record.children) Put(out, child);
    out << '}';
}

void PutView(std::ostringstream& out, CONFIG::IPropEditView& view) {
    for (int mode = 0; mode < 5; ++mode) {
        std::vector<CString> classes;
        out << view.GetMarkClasses(mode, classes);
        for (const CString& c : classes) Put(out, c);
    }
    for (const CONFIG::GridShowData* group : view.GetGridShows()) {
        out << 'g' << group->kind;
        Put(out, group->param);
        for (const CONFIG::GridItemData* item : group->items) {
            Put(out, item->id);
            Put(out, item->name);
            out << static_cast<long>(item->paramType) << ',' << item->itemVar;
        }
    }
    const CONFIG::ContainerData container = view.GetContainer();
    Put(out, container.name);
    for (const auto& listener : container.listeners) {
        Put(out, listener.name);
        Put(out, listener.data);
    }
}

std::string Digest(CPropertiesConfig& config) {
    std::ostringstream out;
    std::list<PropertyInsData> list;
    config.GetTemplateCompIns(list);
    for (const auto& record : list) Put(out, record);
    out << "\nmodels ";
    config.GetPropModelCompIns(list);
    for (const auto& record : list) Put(out, record);
    out << "\ndefinitions ";
    const wchar_t* const names[] = {L"Wall", L"Beam", L"Slab", L"Pipe", L""};
    std::vector<KADO::Product::EKADOComponentType> types = {KADO::Product::InvalidComponentType,
                                                            KADO::Product::OtherComponentType};
    for (const wchar_t* name : names) types.push_back(config.GetComponentTypeByName(name));
    for (auto type : types) {
        PropertyInsData data;
        config.GetPropertyInsData(type, data);
        Put(out, data);
        PropertyInsData pooled;
        config.GetPoolCompIns(type, pooled);
        Put(out, pooled);
        PropertyInsData changed;
        out << config.GetBaseComChangSharpData(type, L"\\基本构件\\墙", L"矩形", changed);
        Put(out, changed);
        out << static_cast<long>(config.GetType(L"\\基本构件\\墙"));
    }
    out << "\ndisplay ";
    CONFIG::IPropertyShow* show = config.GetPropertyShowConfig();
    std::vector<CString> locs;
    show->GetDefineLocs(locs);
    show->GetShowLocs(locs);
    for (const CString& loc : locs) Put(out, loc);
    std::vector<CString> sections;
    out << show->GetSectionLocs(L"\\基本构件\\墙", sections);
    for (const CString& loc : sections) Put(out, loc);
    for (auto type : types) {
        out << show->GetComponentKind(type) << show->GetView3DMode(type);
    }
    std::vector<KADO::Product::EKADOParameterType> meters;
    show->GetMeterParams(meters);
    for (auto type : meters) out << static_cast<long>(type) << show->IsViewParam(type);
    for (const auto& [name, container] : *show->GetEnableContainers()) {
        Put(out, name);
        out << container.listeners.size();
    }
    PutView(out, *show->GetPropEditView(L"Wall", L"\\基本构件\\墙"));
    return out.str();
}

// Whether a diagnostic names the file (its path ends with `name`).
bool Diagnosed(const ReportCapture& capture, const std::string& name) {
    const std::wstring wanted(TempDir::Wide(name).GetString());
    for (const auto& d : capture.diagnostics) {
        const std::wstring file(d.file.GetString());
        if (file.size() >= wanted.size() &&
            file.compare(file.size() - wanted.size(), std::wstring::npos, wanted) == 0) {
            return true;
        }
    }
    return false;
}

// ---- the hostile contents ---------------------------------------------------------------------

struct Hostile {
    const char* what;
    std::function<void(const std::string& path)> make;  // writes or creates the file at `path`
};

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Garbage(size_t size) {
    std::mt19937 random(12345);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// Contents that no reader can use: each must end as a bad file does, with a diagnostic.
std::vector<Hostile> UnreadableContents() {
    return {
        {"empty file", [](const std::string& p) { WriteBytes(p, ""); }},
        {"binary garbage", [](const std::string& p) { WriteBytes(p, Garbage(8192)); }},
        {"invalid UTF-8",
         [](const std::string& p) {
             WriteBytes(p, "<Property><InitName>\xC3\x28\xFF</InitName>");
         }},
        {"overlong UTF-8 of '<'",
         [](const std::string& p) { WriteBytes(p, "\xC0\xBCProperty/>"); }},
        {"UTF-16 with a lone surrogate",
         [](const std::string& p) {
             WriteBytes(p, std::string("\xFF\xFE<\0a\0\x00\xD8/\0>\0", 12));
         }},
        {"UTF-16 of odd length",
         [](const std::string& p) { WriteBytes(p, std::string("\xFE\xFF\0<\0a\0/\0", 9)); }},
        {"unknown encoding declared",
         [](const std::string& p) {
             WriteBytes(p, "<?xml version=\"1.0\" encoding=\"KOI8-R\"?><Property/>");
         }},
        {"200 MB file",
         [](const std::string& p) {
             WriteBytes(p, "<Property>");
             ASSERT_EQ(::truncate(p.c_str(), 200LL * 1024 * 1024), 0);
         }},
        {"a folder in place of the file",
         [](const std::string& p) { std::filesystem::create_directories(p); }},
        {"a symbolic link to itself",
         [](const std::string& p) { std::filesystem::create_symlink(p, p); }},
        {"a symbolic link to a missing file",
         [](const std::string& p) { std::filesystem::create_symlink(p + ".missing", p); }},
        {"a FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
    };
}

// The site files, one per reader, that the cases replace.
const char* const kSlots[] = {"Definitions/Hostile_POOL.xml",
                              "Templates/filelist.cfg",
                              "Templates/wall.xml",
                              "ShapePool/hostile.xml",
                              "Display/ItemTemplate.xml",
                              "Display/GridTemplate.xml",
                              "Display/wall.xml",
                              "Display/PropertyLocShow.xml",
                              "Display/EnableContainer.xml",
                              "GraphLibs/1.xml"};

// The tables of the site when `slot` is a well-formed file without the root its reader wants.
std::string BadFileDigest(const char* slot) {
    TempDir dir;
    WriteSite(dir);
    dir.Write(std::string("site/") + slot, "<Unknown/>");
    ReportCapture quiet;
    return Digest(*LoadSite(dir));
}

TEST(HostileInputTest, UnreadableFilesGiveTheTablesOfABadFile) {
    for (const char* slot : kSlots) {
        const std::string expected = BadFileDigest(slot);
        for (const Hostile& hostile : UnreadableContents()) {
            SCOPED_TRACE(std::string(slot) + ": " + hostile.what);
            TempDir dir;
            WriteSite(dir);
            const std::string path = dir.Folder() + "site/" + slot;
            std::filesystem::remove(path);
            hostile.make(path);
            ReportCapture capture;
            const auto config = LoadSite(dir);
            EXPECT_EQ(Digest(*config), expected);
            // Folder listings take regular files only; what is not one is no configuration file.
            const std::string name = slot;
            const bool listed =
                name.rfind("Definitions/", 0) == 0 || name.rfind("ShapePool/", 0) == 0;
            std::error_code error;
            if (!listed || std::filesystem::is_regular_file(path, error)) {
                EXPECT_TRUE(Diagnosed(capture, slot));
            }
        }
    }
}

// Runs `body` as an unprivileged user when the tests run as root, for whom no file is
// unreadable. Returns false when the body failed.
bool RunUnprivileged(const std::function<bool()>& body) {
    if (::geteuid() != 0) return body();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && body();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(HostileInputTest, UnreadableFilesAreBadFiles) {
    for (const char* slot : kSlots) {
        SCOPED_TRACE(slot);
        const std::string expected = BadFileDigest(slot);
        TempDir dir;
        WriteSite(dir);
        const std::string path = dir.Folder() + "site/" + slot;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
            std::filesystem::permissions(entry.path(), entry.is_directory()
                                                           ? std::filesystem::perms(0755)
                                                           : std::filesystem::perms(0644));
        }
        std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
        std::filesystem::permissions(path, std::filesystem::perms::none);
        const bool ok = RunUnprivileged([&] {
            ReportCapture capture;
            const auto config = LoadSite(dir);
            return Digest(*config) == expected && Diagnosed(capture, slot);
        });
        EXPECT_TRUE(ok);
    }
}

// ---- extreme but well-formed ------------------------------------------------------------------

std::string Nested(const std::string& open, const std::string& close, size_t depth) {
    std::string text;
    text.reserve((open.size() + close.size()) * depth);
    for (size_t i = 0; i < depth; ++i) text += open;
    for (size_t i = 0; i < depth; ++i) text += close;
    return text;
}

size_t Depth(const PropertyInsData& record) {
    size_t deepest = 0;
    for (const auto& child : record.children) deepest = std::max(deepest, Depth(child));
    return deepest + 1;
}

constexpr size_t kMillion = 1000000;

TEST(HostileInputTest, AMillionNestedInstancesAreReadToTheDepthLimit) {
    TempDir dir;
    WriteSite(dir);
    dir.Write("site/Definitions/Hostile_POOL.xml",
              "<Property><ClsName>Beam</ClsName><Ins>" +
                  Nested("<Property>", "</Property>", kMillion) + "</Ins></Property>");
    ReportCapture capture;
    const auto config = LoadSite(dir);
    std::list<PropertyInsData> children;
    config->GetChildData(config->GetComponentTypeByName(L"Beam"), children);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_LE(Depth(children.front()), static_cast<size_t>(TOOLS::kMaxReadDepth));
    EXPECT_GE(Depth(children.front()), static_cast<size_t>(TOOLS::kMaxReadDepth) - 2);
    EXPECT_TRUE(Diagnosed(capture, "Definitions/Hostile_POOL.xml"));
    // Copies of the deep record neither overflow the stack nor lose it.
    CPropertiesConfig copy(*config);
    std::list<PropertyInsData> copied;
    copy.GetChildData(copy.GetComponentTypeByName(L"Beam"), copied);
    EXPECT_EQ(Depth(copied.front()), Depth(children.front()));
}

TEST(HostileInputTest, AMillionNestedElementsInEveryFileEndReading) {
    // Each reader's recursive element, nested below the root it wants, up to a million levels
    // deep (less where the file would pass the 32 MiB the readers accept). Past the readers'
    // depth limit nesting changes nothing: the file reads exactly as one 300 levels deep.
    struct Case {
        const char* slot;
        std::string (*text)(size_t depth);
    };
    const Case cases[] = {
        {"Templates/filelist.cfg",
         [](size_t depth) {
             return "<filelist>" + Nested("<file>", "</file>", depth) + "</filelist>";
         }},
        {"Display/ItemTemplate.xml",
         [](size_t depth) {
             return "<Items>" +
                    Nested("<Item><Options><Switch>", "</Switch></Options></Item>", depth) +
                    "</Items>";
         }},
        {"Display/GridTemplate.xml",
         [](size_t depth) {
             return "<PropEditView><GridShow><Main>" +
                    Nested("<Item><Options><Switch>", "</Switch></Options></Item>", depth) +
                    "</Main></GridShow></PropEditView>";
         }},
        {"Display/PropertyLocShow.xml",
         [](size_t depth) {
             return "<UI><PropDefineShow>" + Nested("<Loc>", "</Loc>", depth) +
                    "</PropDefineShow></UI>";
         }},
        {"Display/EnableContainer.xml",
         [](size_t depth) {
             return "<Containers><Container>" + Nested("<Listener>", "</Listener>", depth) +
                    "</Container></Containers>";
         }},
        {"GraphLibs/1.xml",
         [](size_t depth) {
             return "<GraphLibrary>" + Nested("<Model loc=\"\\a\\b\">", "</Model>", depth) +
                    "</GraphLibrary>";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        size_t deep = kMillion;
        while (c.text(deep).size() >= (size_t{32} << 20)) deep /= 2;
        std::string digests[2];
        for (size_t k = 0; k < 2; ++k) {
            TempDir dir;
            WriteSite(dir);
            dir.Write(std::string("site/") + c.slot, c.text(k == 0 ? deep : 300));
            ReportCapture capture;
            digests[k] = Digest(*LoadSite(dir));
        }
        EXPECT_EQ(digests[0], digests[1]);
    }
}

TEST(HostileInputTest, AHundredThousandAttributesOnOneElement) {
    std::string attributes;
    for (int i = 0; i < 100000; ++i)
        attributes += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    TempDir dir;
    WriteSite(dir);
    dir.Write("site/Definitions/Hostile_POOL.xml",
              "<Property" + attributes + "><ClsName>Beam</ClsName><Ins><Property clsname=\"Beam\"" +
                  attributes + "/></Ins></Property>");
    dir.Write("site/Display/PropertyLocShow.xml", "<UI" + attributes + "><PropDefineShow><Loc" +
                                                      attributes +
                                                      ">\\x</Loc></PropDefineShow></UI>");
    ReportCapture capture;
    const auto config = LoadSite(dir);
    std::list<PropertyInsData> children;
    config->GetChildData(config->GetComponentTypeByName(L"Beam"), children);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children.front().params.size(), 100000u);
    std::vector<CString> locs;
    config->GetPropertyShowConfig()->GetDefineLocs(locs);
    EXPECT_EQ(locs, std::vector<CString>{L"\\x"});
}

// ---- folders and file lists -------------------------------------------------------------------

TEST(HostileInputTest, FolderArgumentsThatAreFilesGiveEmptyTables) {
    TempDir empty;
    std::filesystem::create_directories(empty.Folder() + "none");
    const CString none = empty.WPath("none/");
    ReportCapture capture;
    CPropertiesConfig reference(none, none, none, none, empty.WPath("none/1.xml"),
                                empty.WPath("none/2.xml"), none);
    TempDir dir;
    const CString file = TempDir::Wide(dir.Write("file", "<Property/>") + "/");
    CPropertiesConfig config(file, file, file, file, file, file, file);
    EXPECT_EQ(Digest(config), Digest(reference));
}

TEST(HostileInputTest, SymbolicLinkLoopsInAFolderAreSkipped) {
    const std::string expected = [] {
        TempDir dir;
        WriteSite(dir);
        ReportCapture quiet;
        return Digest(*LoadSite(dir));
    }();
    TempDir dir;
    WriteSite(dir);
    for (const char* folder : {"Definitions", "ShapePool", "Templates", "Display"}) {
        const std::string base = dir.Folder() + "site/" + folder + "/";
        std::filesystem::create_directory_symlink(base, base + "loop");
        std::filesystem::create_symlink(base + "a_POOL.xml", base + "b_POOL.xml");
        std::filesystem::create_symlink(base + "b_POOL.xml", base + "a_POOL.xml");
        std::filesystem::create_symlink(base + "loop/loop/loop/x.xml", base + "x.xml");
    }
    ReportCapture capture;
    EXPECT_EQ(Digest(*LoadSite(dir)), expected);
}

TEST(HostileInputTest, AFileListNamingItselfOrAFolderGivesEmptyRecords) {
    const std::string expected = [] {
        TempDir dir;
        WriteSite(dir);
        dir.Write("site/Templates/filelist.cfg",
                  "<filelist><file>missing1</file><file>missing2</file><file>missing3</file>"
                  "<file>missing4</file><file>wall.xml</file></filelist>");
        ReportCapture quiet;
        return Digest(*LoadSite(dir));
    }();
    TempDir dir;
    WriteSite(dir);
    std::filesystem::create_directories(dir.Folder() + "site/Templates/sub");
    dir.Write("site/Templates/filelist.cfg",
              "<filelist><file>filelist.cfg</file><file>sub</file><file>sub/</file>"
              "<file>.</file><file>wall.xml</file></filelist>");
    ReportCapture capture;
    EXPECT_EQ(Digest(*LoadSite(dir)), expected);
}

// ---- resource settings and plug-in lists ------------------------------------------------------

TEST(HostileInputTest, ResourceSettingsThatCannotBeReadAreNeitherLoadedNorOverwritten) {
    for (const Hostile& hostile : UnreadableContents()) {
        SCOPED_TRACE(hostile.what);
        TempDir dir;
        const std::string path = dir.Folder() + "Resource.xml";
        hostile.make(path);
        std::error_code error;
        const bool regular = std::filesystem::is_regular_file(path, error);
        const std::string before = regular ? dir.Read("Resource.xml") : std::string();
        const auto size = regular ? std::filesystem::file_size(path) : 0;
        ReportCapture capture;
        CONFIG::CResourceConfig store;
        store.SetAppDir(L"D:\\App\\");
        EXPECT_FALSE(store.Load(TempDir::Wide(path)));
        EXPECT_FALSE(store.Save(TempDir::Wide(path)));
        EXPECT_EQ(store.GetValue(L"AppDir"), CString(L"D:\\App\\"));
        EXPECT_TRUE(capture.reports.empty());
        if (regular) {
            EXPECT_EQ(std::filesystem::file_size(path), size);
            if (size < 1024 * 1024) {
                EXPECT_EQ(dir.Read("Resource.xml"), before);
            }
        }
    }
}

TEST(HostileInputTest, DeepAndWideResourceSettingsLoadAndSave) {
    std::string attributes;
    for (int i = 0; i < 100000; ++i) attributes += " a" + std::to_string(i) + "=\"x\"";
    TempDir dir;
    const std::string path =
        dir.Write("Resource.xml", "<Config><Wide" + attributes + " val=\"w\"/><Deep val=\"d\">" +
                                      Nested("<n>", "</n>", kMillion) + "</Deep></Config>");
    ReportCapture capture;
    CONFIG::CResourceConfig store;
    ASSERT_TRUE(store.Load(TempDir::Wide(path)));
    EXPECT_EQ(store.GetValue(L"Wide"), CString(L"w"));
    EXPECT_TRUE(store.SetValue(L"Deep", L"changed"));
    ASSERT_TRUE(store.Save(TempDir::Wide(path)));
    CONFIG::CResourceConfig reloaded;
    ASSERT_TRUE(reloaded.Load(TempDir::Wide(path)));
    EXPECT_EQ(reloaded.GetValue(L"Deep"), CString(L"changed"));
    EXPECT_EQ(reloaded.GetValue(L"Wide"), CString(L"w"));
}

TEST(HostileInputTest, ACharacterReferenceToNoCharacterSurvivesASave) {
    // The parser keeps "&#x4E2D4E2D;" as bytes that are not UTF-8; saving them unchanged made a
    // settings file that never loaded again.
    for (const char* declaration : {"", "<?xml version=\"1.0\" encoding=\"GBK\"?>"}) {
        SCOPED_TRACE(declaration);
        TempDir dir;
        const std::string path =
            dir.Write("Resource.xml",
                      std::string(declaration) +
                          "<Config><a val=\"&#x4E2D4E2D;\"/><b val=\"1\"/></Config>&#x4E2D4E2D;");
        ReportCapture capture;
        CONFIG::CResourceConfig store;
        ASSERT_TRUE(store.Load(TempDir::Wide(path)));
        EXPECT_TRUE(store.SetValue(L"b", L"2"));
        ASSERT_TRUE(store.Save(TempDir::Wide(path)));
        CONFIG::CResourceConfig reloaded;
        ASSERT_TRUE(reloaded.Load(TempDir::Wide(path)));
        EXPECT_EQ(reloaded.GetValue(L"b"), CString(L"2"));
        EXPECT_EQ(reloaded.GetValue(L"a"), store.GetValue(L"a"));
    }
}

class CountingHost : public APP::IAppDllInstanceMgr {
public:
    void* GetDllProcAddress(const CString&, const char*) override {
        ++asked;
        return nullptr;
    }
    int asked = 0;
};

TEST(HostileInputTest, HostilePlugInListsRegisterNothing) {
    std::vector<Hostile> cases = UnreadableContents();
    cases.push_back({"a huge count", [](const std::string& p) {
                         WriteBytes(p, "[Main]\nFileCount=2147483647\n[List]\n0=a.so\n");
                     }});
    cases.push_back({"a 10 MB line", [](const std::string& p) {
                         WriteBytes(p, "[Main]\nFileCount=1\n[List]\n0=" +
                                           std::string(10 * 1024 * 1024, 'x') + "\n");
                     }});
    cases.push_back({"a hundred thousand sections", [](const std::string& p) {
                         std::string text;
                         for (int i = 0; i < 100000; ++i)
                             text += "[s" + std::to_string(i) + "]\nk=v\n";
                         WriteBytes(p, text + "[Main]\nFileCount=1\n");
                     }});
    for (const Hostile& hostile : cases) {
        SCOPED_TRACE(hostile.what);
        TempDir dir;
        const std::string path = dir.Folder() + "plugins.ini";
        hostile.make(path);
        ReportCapture capture;
        CountingHost host;
        CONFIG::CGraphsConfig registry(dir.WFolder(), TempDir::Wide(path), &host);
        EXPECT_LE(host.asked, 4096);
        EXPECT_EQ(registry.CreateGraphHandler(KADO::Product::Wall), nullptr);
    }
}

}  // namespace
