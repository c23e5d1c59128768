#include "ConfigGenerator.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace bench {
namespace {

const char* const kTypes[] = {"Wall",     "Beam", "Slab",    "Column", "Foundation", "TowerCrane",
                              "Scaffold", "Pipe", "Opening", "Road",   "Fence",      "Building"};
const char* const kTypeNames[] = {"墙",     "梁",   "板",   "柱",   "基础", "塔吊",
                                  "脚手架", "管道", "洞口", "道路", "围挡", "建筑"};
const char* const kParams[] = {"Length",   "Width",     "Height", "Thickness",
                               "Material", "Elevation", "Name",   "Color"};
const char* const kShapes[] = {"矩形", "圆形", "L形", "T形", "工字形"};
const char* const kParts[] = {"Main", "Attach", "Struct", "LeftRight", "Side"};
const char* const kViews[] = {"PouMian", "PingMian", "LiMian", "View3D", "SGPaper"};
constexpr int kTypeCount = sizeof(kTypes) / sizeof(kTypes[0]);

class Writer {
public:
    explicit Writer(GeneratedConfig& config) : config_(config) {}

    void Write(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        ++config_.files;
        config_.bytes += text.size();
    }

private:
    GeneratedConfig& config_;
};

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string Location(int i) {
    const int t = i % kTypeCount;
    return std::string("\\基本构件\\") + kTypeNames[t] + "\\" + kTypeNames[t] + std::to_string(i);
}

std::string PropertyFile(int i, int params, int instances) {
    const int t = i % kTypeCount;
    std::string s = kHeader + "<Property>\n  <InitName>" + kTypeNames[t] + std::to_string(i) +
                    "</InitName>\n  <ClsName>" + kTypes[t] + "</ClsName>\n  <GraphLibId>G-" +
                    std::to_string(i) + "</GraphLibId>\n  <Pool>\n    <Common>\n";
    s += "      <Fish Var=\"类别\" Val=\"" + Location(i) + "\"/>\n";
    s += std::string("      <Fish Var=\"截面形状\" Val=\"") + kShapes[i % 5] + "\"/>\n";
    for (int p = 2; p < params; ++p) {
        s += std::string("      <Fish Var=\"") + kParams[p % 8] + "\" Val=\"" +
             std::to_string(100 * p + i) + "\"/>\n";
    }
    s += "    </Common>\n    <Ins>\n";
    // Instances nested up to three deep: groups of 1 + 2 + ... within the count.
    for (int n = 0; n < instances;) {
        int opened = 0;
        for (; opened < 1 + n % 3 && n < instances; ++opened, ++n) {
            s += std::string(6 + 2 * opened, ' ') + "<Property clsname=\"" + kTypes[t] +
                 "\" insname=\"实例" + std::to_string(n) + "\" Length=\"" +
                 std::to_string(1000 + n) + "|" + std::to_string(1200 + n) +
                 "\" Height=\"3000\">\n";
        }
        while (opened-- > 0) s += std::string(6 + 2 * opened, ' ') + "</Property>\n";
    }
    return s + "    </Ins>\n  </Pool>\n</Property>\n";
}

std::string Item(int id, int index) {
    std::string s = "<Item><Name>参数" + std::to_string(index) + "</Name><Variable>" +
                    kParams[index % 8] + "</Variable><Tips>提示 " + std::to_string(id) +
                    "</Tips><Control>Edit</Control><Style>Normal</Style><Param>P" +
                    std::to_string(index) + "</Param><Group>常规\\v尺寸</Group>";
    if (index % 7 == 3) {
        s += "<Options><Switch title=\"开关\" param=\"S\"><Item><Name>子项</Name></Item>"
             "</Switch></Options>";
    } else if (index % 7 == 5) {
        s += "<Options><Assemble title=\"组合\" param=\"Material\" type=\"State\">"
             "<State IsEnable=\"true\" IsEidt=\"false\" IsReadOnly=\"false\"><Control>Combo"
             "</Control><Option>C30;C35</Option></State></Assemble></Options>";
    } else if (index % 7 == 1) {
        s += "<Options>C25;C30;C35</Options>";
    }
    return s + "</Item>";
}

std::string EditView(int groups, int items, int seed, bool withRef) {
    std::string s = kHeader + "<PropEditView>\n<MarkShow>";
    for (const char* v : kViews) s += std::string("<") + v + " markclass=\"轴线;标注;" + v + "\"/>";
    s += "</MarkShow>\n<GridShow>\n";
    for (int g = 0; g < groups; ++g) {
        s += std::string("<") + kParts[g % 5] + " title=\"分组" + std::to_string(g) +
             "\" param=\"G" + std::to_string(g) + "\" ref=\"" + (withRef && g < 5 ? "1" : "0") +
             "\">\n";
        for (int i = 0; i < items; ++i) {
            if (i % 4 == 0) {
                s += "<Item id=\"T" + std::to_string((seed + g * items + i) % 500) + "\"/>\n";
            } else {
                s += Item(seed, i) + "\n";
            }
        }
        s += std::string("</") + kParts[g % 5] + ">\n";
    }
    s += "</GridShow>\n<Container name=\"C" + std::to_string(seed % 200) +
         "\"><Listener name=\"Wall_Main\" data=\"1\"/></Container>\n</PropEditView>\n";
    return s;
}

}  // namespace

GeneratedConfig DescribeConfig(const std::string& root) {
    GeneratedConfig config;
    config.root = root;
    config.definitions = root + "Definitions/";
    config.display = root + "Display/";
    config.templates = root + "Templates/";
    config.models = root + "Models/";
    config.graphLibrary1 = root + "GraphLibs/structure.xml";
    config.graphLibrary2 = root + "GraphLibs/site.xml";
    config.shapePool = root + "ShapePool/";
    return config;
}

GeneratedConfig GenerateConfig(const std::string& root, int scale) {
    GeneratedConfig config = DescribeConfig(root);
    Writer out(config);

    for (int i = 0; i < 300 * scale; ++i) {
        out.Write(config.definitions + "D" + std::to_string(i) + "_POOL.xml",
                  PropertyFile(i, 30, 10));
    }
    for (auto [folder, count] : {std::pair{config.templates, 1000}, {config.models, 300}}) {
        std::string list = kHeader + "<filelist>\n";
        for (int i = 0; i < count * scale; ++i) {
            const std::string name =
                "sub" + std::to_string(i % 10) + "/T" + std::to_string(i) + ".xml";
            list += "  <file>" + name + "</file>\n";
            out.Write(folder + name, PropertyFile(i, 12, 2));
        }
        out.Write(folder + "filelist.cfg", list + "</filelist>\n");
    }
    for (int i = 0; i < 500 * scale; ++i) {
        out.Write(config.shapePool + "S" + std::to_string(i) + ".xml", PropertyFile(i, 10, 0));
    }

    // Display folder.
    std::string items = kHeader + "<Items>\n";
    for (int i = 0; i < 500 * scale; ++i) {
        items += Item(i, i).insert(5, " id=\"T" + std::to_string(i) + "\"") + "\n";
    }
    out.Write(config.display + "ItemTemplate.xml", items + "</Items>\n");
    out.Write(config.display + "GridTemplate.xml", EditView(5, 20, 0, false));

    const int locations = 2000 * scale;
    std::string loc = kHeader + "<UI>\n<PropDefineShow>\n";
    for (int i = 0; i < locations; ++i) loc += "<Loc>" + Location(i) + "</Loc>\n";
    loc += "</PropDefineShow>\n<SectionSelect>\n";
    for (int t = 0; t < kTypeCount; ++t) {
        loc += std::string("<Loc loc=\"\\基本构件\\") + kTypeNames[t] + "\">" + Location(t) + ";" +
               Location(t + kTypeCount) + "</Loc>\n";
    }
    loc += "</SectionSelect>\n<Properties>\n";
    for (int t = 0; t < kTypeCount; ++t) {
        loc += std::string("<Property clsname=\"") + kTypes[t] + "\"><Kind kd=\"" +
               (t % 3 == 0   ? "linear"
                : t % 3 == 1 ? "block"
                             : "region") +
               "\"/></Property>\n";
    }
    loc +=
        "</Properties>\n<ViewParam>Length;Width;Height</ViewParam>\n"
        "<MeterParam>Length;Thickness</MeterParam>\n<PropEditView>\n";
    const int views = 100 * scale;
    for (int v = 0; v < views; ++v) {
        const std::string file = "views/V" + std::to_string(v) + ".xml";
        out.Write(config.display + file, EditView(10, 20, v, true));
        const int t = v % kTypeCount;
        loc += "<View view=\"" + file + "\" typeandsection=\"" + kTypes[t] + "_" +
               std::to_string(v) + ";" + kTypes[t] + "_X\" loc=\"" +
               (v % 10 == 9 ? "" : Location(v)) + "\"/>\n";
    }
    loc += "</PropEditView>\n<View3DMode>\n";
    for (int t = 0; t < kTypeCount; ++t) {
        loc += std::string("<ViewMode name=\"") + kViews[t % 5] + "\" clsname=\"" + kTypes[t] +
               "\"/>\n";
    }
    out.Write(config.display + "PropertyLocShow.xml", loc + "</View3DMode>\n</UI>\n");

    std::string containers = kHeader + "<Containers>\n";
    for (int c = 0; c < 200 * scale; ++c) {
        containers += "<Container name=\"C" + std::to_string(c) + "\">";
        for (const char* part : kParts) {
            containers += std::string("<Listener name=\"L") + std::to_string(c) + "_" + part +
                          "\" data=\"" + std::to_string(c) + "\"/>";
        }
        containers += "</Container>\n";
    }
    out.Write(config.display + "EnableContainer.xml", containers + "</Containers>\n");

    for (const std::string& library : {config.graphLibrary1, config.graphLibrary2}) {
        std::string text = kHeader + "<GraphLibrary>\n";
        for (int m = 0; m < 10000 * scale; ++m) {
            const int t = m % kTypeCount;
            text += std::string("<Model loc=\"\\图库\\") + kTypes[t] + "\\分类" +
                    std::to_string(m % 500) + "\" name=\"模型" + std::to_string(m) + "\" id=\"M-" +
                    std::to_string(m) + "\"/>\n";
        }
        out.Write(library, text + "</GraphLibrary>\n");
    }
    return config;
}

QuerySamples SampleQueries() {
    // Location view 57: the first scan finds it at the same place at every scale.
    const int view = 57;
    return QuerySamples{std::string(kTypes[view % kTypeCount]) + "_" + std::to_string(view),
                        Location(view), Location(view)};
}

}  // namespace bench
