// Loads a configuration folder through the installed library and checks a few answers.
#include <siteconfig/SiteConfig.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CONFIG-ROOT/\n", argv[0]);
        return 2;
    }
    const CString base = TOOLS::WideFromUtf8(argv[1]);
    int reports = 0;
    const TOOLS::LogSink previous =
        TOOLS::SetLogSink([&reports](const TOOLS::LogReport&) { ++reports; });

    CONFIG::CPropertiesConfig config(
        base + L"Definitions/", base + L"Display/", base + L"Templates/", base + L"Models/",
        base + L"GraphLibs/GraphLib1.xml", base + L"GraphLibs/GraphLib2.xml", base + L"ShapePool/");
    CONFIG::IPropertiesConfig& properties = config;
    const auto wall = properties.GetComponentTypeByName(L"Wall");
    const bool ok = wall == KADO::Product::Wall && properties.GetDefaultName(wall) == L"墙" &&
                    properties.HasChildren(wall) &&
                    properties.GetType(L"\\基本构件\\墙\\直形墙") == wall &&
                    properties.GetPropertyShowConfig() != nullptr && reports == 0;
    TOOLS::SetLogSink(previous);
    std::printf("%s: %d reports\n", ok ? "ok" : "unexpected answers", reports);
    return ok ? 0 : 1;
}
