// Measures loading and queries of a generated configuration folder.
//
//   siteconfig_bench [--load-only | --floor-only | --queries-only] [--scales 1,10] [--runs 5]
//                    [--dir DIR]
//
// For each scale: generates the folder (once; reused when present), then reports the median of
// --runs runs (the first three taken in turn, round by round) of: constructing CPropertiesConfig;
// the parse-only baseline (every file read whole and parsed with pugixml, nothing else); the
// records floor (the same parse, then only the records the library's tables keep: RecordsFloor.h);
// the Boost.PropertyTree peer (read_xml of every file, when built with Boost); per-call times of
// the hot queries; and, in fresh processes (the median of up to three each), the time and peak
// resident memory of a first load on the default threads and on one, and of a first floor build.
// Once per scale, untimed, the floor's records are counted against the library's tables. Build with
// optimisation (the default RelWithDebInfo): numbers from a Debug or sanitizer build mean nothing.
//
// --load-only and --floor-only do one load or one floor build per scale and print the peak
// resident memory before and after it and the seconds it took: for profilers, and for the
// fresh-process figures.
//
// --queries-only skips the load figures. Under `valgrind --tool=callgrind --instr-atstart=no`
// each query's batches of calls are instrumented alone and dumped under the query's name: the
// instructions per call are that dump's total divided by runs x calls.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#if SITECONFIG_BENCH_WITH_BOOST
#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>
#endif

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define SITECONFIG_BENCH_CALLGRIND 1
#endif

#include <siteconfig/SiteConfig.h>
#include "ConfigGenerator.h"
#include "RecordCensus.h"
#include "RecordsFloor.h"

namespace {

using Clock = std::chrono::steady_clock;

CString Wide(const std::string& utf8) {
    std::wstring out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        wchar_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        out.push_back(cp);
        i += 1 + static_cast<size_t>(extra);
    }
    return CString(out);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median seconds of `runs` runs of `work`; `after` runs untimed after each run.
double Time(
    int runs, const std::function<void()>& work, const std::function<void()>& after = [] {}) {
    std::vector<double> seconds;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        work();
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        after();
    }
    return Median(seconds);
}

struct Timed {
    std::function<void()> work;
    std::function<void()> after = [] {};  // untimed, after each run
};

// Median seconds of each of `timed` over `runs` rounds. A round runs each once, in turn, so
// that the other builds on the machine weigh on all of them alike and their ratios hold.
std::vector<double> TimeInRounds(int runs, const std::vector<Timed>& timed) {
    std::vector<std::vector<double>> seconds(timed.size());
    for (int r = 0; r < runs; ++r) {
        for (size_t i = 0; i < timed.size(); ++i) {
            const auto start = Clock::now();
            timed[i].work();
            seconds[i].push_back(std::chrono::duration<double>(Clock::now() - start).count());
            timed[i].after();
        }
    }
    std::vector<double> medians;
    for (const std::vector<double>& samples : seconds) medians.push_back(Median(samples));
    return medians;
}

// Median nanoseconds per call over `runs` batches of `calls` calls. Under callgrind only the
// batches are instrumented, and they are dumped as `name`.
double TimePerCall(const char* name, int runs, int calls, const std::function<void()>& call) {
#if SITECONFIG_BENCH_CALLGRIND
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
#endif
    const double seconds = Time(runs, [&] {
        for (int i = 0; i < calls; ++i) call();
    });
#if SITECONFIG_BENCH_CALLGRIND
    CALLGRIND_DUMP_STATS_AT(name);
    CALLGRIND_STOP_INSTRUMENTATION;
#else
    (void)name;
#endif
    return seconds * 1e9 / calls;
}

std::unique_ptr<CONFIG::CPropertiesConfig> Construct(const bench::GeneratedConfig& c) {
    return std::make_unique<CONFIG::CPropertiesConfig>(
        Wide(c.definitions), Wide(c.display), Wide(c.templates), Wide(c.models),
        Wide(c.graphLibrary1), Wide(c.graphLibrary2), Wide(c.shapePool));
}

// The same parse options as the library's XML layer uses for the trees it only reads.
constexpr unsigned kParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_fragment;

void ParseOnly(const std::vector<std::string>& files) {
    std::string buffer;
    for (const std::string& file : files) {
        bench::ReadFileBytes(file, buffer);
        pugi::xml_document document;
        document.load_buffer_inplace(buffer.data(), buffer.size(), kParseOptions,
                                     pugi::encoding_utf8);
    }
}

#if SITECONFIG_BENCH_WITH_BOOST
void BoostPeer(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        boost::property_tree::ptree tree;
        boost::property_tree::read_xml(file, tree);
    }
}
#endif

long PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L;
}

// One load or floor build, for --load-only and --floor-only: prints the line RunFresh reads.
// What `build` returns is freed after the line is printed, so its destruction is not timed.
template <typename Build>
void PrintOneRun(Build build) {
    const long before = PeakResidentBytes();
    const auto start = Clock::now();
    const auto built = build();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("rss %ld %ld seconds %.6f\n", before, PeakResidentBytes(), seconds);
}

// A load (`mode` "--load-only") or a floor build ("--floor-only") in a fresh process, as a host
// does it once at start-up: the heap is new, so every page the tables take is faulted in.
// `threads` sets SITECONFIG_LOAD_THREADS for the child (0: its default). The child prints its
// peak resident memory before and after, and the seconds the work took.
struct FreshRun {
    long peakBytes = -1;  // peak resident memory the work added; -1 when the child failed
    double seconds = 0;
};

FreshRun RunFresh(const char* self, const char* mode, const std::string& dir, int scale,
                  int threads) {
    std::string command;
    if (threads > 0) command = "SITECONFIG_LOAD_THREADS=" + std::to_string(threads) + " ";
    command +=
        std::string(self) + " " + mode + " --dir '" + dir + "' --scales " + std::to_string(scale);
    FreshRun run;
    FILE* child = popen(command.c_str(), "r");
    if (!child) return run;
    long before = -1;
    long after = -1;
    double seconds = 0;
    if (std::fscanf(child, "rss %ld %ld seconds %lf", &before, &after, &seconds) == 3) {
        run.peakBytes = after - before;
        run.seconds = seconds;
    }
    pclose(child);
    return run;
}

// The median time of `runs` fresh runs; the memory of the first.
FreshRun MedianFreshRun(int runs, const char* self, const char* mode, const std::string& dir,
                        int scale, int threads) {
    FreshRun first;
    std::vector<double> seconds;
    for (int r = 0; r < runs; ++r) {
        const FreshRun run = RunFresh(self, mode, dir, scale, threads);
        if (run.peakBytes < 0) return run;
        if (r == 0) first = run;
        seconds.push_back(run.seconds);
    }
    first.seconds = Median(seconds);
    return first;
}

void PrintFreshRuns(const FreshRun& load, const FreshRun& loadAlone, const FreshRun& floor,
                    int threads, std::uint64_t folderBytes) {
    const double bytes = static_cast<double>(folderBytes);
    std::printf(
        "first load (fresh)  %9.1f ms   on %d load threads; on one thread %.1f ms, speed-up "
        "%.2f\n",
        load.seconds * 1e3, threads, loadAlone.seconds * 1e3, loadAlone.seconds / load.seconds);
    std::printf("floor (fresh)       %9.1f ms   first load on one thread/floor %.2f\n",
                floor.seconds * 1e3, loadAlone.seconds / floor.seconds);
    std::printf("memory of the load  %9.1f MB   memory/folder bytes %.2f\n", load.peakBytes / 1e6,
                static_cast<double>(load.peakBytes) / bytes);
    std::printf("memory of the floor %9.1f MB   memory/folder bytes %.2f\n", floor.peakBytes / 1e6,
                static_cast<double>(floor.peakBytes) / bytes);
}

bench::GeneratedConfig Prepare(const std::string& dir, int scale) {
    const std::string root = dir + "/scale" + std::to_string(scale) + "/";
    const std::string marker = root + ".complete";
    if (!std::filesystem::exists(marker)) {
        std::filesystem::remove_all(root);
        std::printf("generating scale %d in %s ...\n", scale, root.c_str());
        std::fflush(stdout);
        bench::GenerateConfig(root, scale);
        std::ofstream(marker) << "done\n";
    }
    bench::GeneratedConfig c = bench::DescribeConfig(root);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == ".complete") continue;
        ++c.files;
        c.bytes += entry.file_size();
    }
    return c;
}

// The generated section selection lists only valid locations, so no expansion there collects
// shown locations. A second configuration has the same defined locations and graph libraries
// (the libraries add 1,500 shown locations under "\图库" at every scale) and this selection.
const char kCollectingSections[] =
    // A major category that is a key: a location under it collects all 1,500 "\图库" ones.
    "<Loc loc=\"图库\">\\图库\\Wall\\分类0</Loc>\n"
    // Texts that are not valid locations collect: here the first text collects a few shown
    // locations and the second none; the last key's only text collects none either.
    "<Loc loc=\"选择\">图库\\Beam\\分类1;未列\\x;\\基本构件\\墙\\墙0</Loc>\n"
    "<Loc loc=\"未列\">未列\\x</Loc>\n";

// Writes the display folder of that configuration under `dir`; returns the configuration's
// folder, which holds nothing but "Display/".
std::string PrepareLocationConfig(const bench::GeneratedConfig& c, const std::string& dir,
                                  int scale) {
    std::ifstream in(c.display + "PropertyLocShow.xml", std::ios::binary);
    const std::string generated((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    const std::string endTag = "</PropDefineShow>";
    const size_t begin = generated.find("<PropDefineShow>");
    const size_t end = generated.find(endTag);
    const std::string root = dir + "/scale" + std::to_string(scale) + "-locations/";
    std::filesystem::create_directories(root + "Display");
    std::ofstream(root + "Display/PropertyLocShow.xml", std::ios::binary | std::ios::trunc)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UI>\n"
        << generated.substr(begin, end + endTag.size() - begin) << "\n<SectionSelect>\n"
        << kCollectingSections << "</SectionSelect>\n</UI>\n";
    return root;
}

std::vector<std::string> AllFiles(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path().filename() != ".complete") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> scales{1, 10};
    int runs = 5;
    std::string dir = "/tmp/siteconfig-bench";
    bool loadOnly = false;     // construct once and exit: for profilers
    bool floorOnly = false;    // build the records floor once and exit: for profilers
    bool queriesOnly = false;  // no load figures: for callgrind
    for (; argc > 1; --argc, ++argv) {
        if (!std::strcmp(argv[1], "--load-only")) {
            loadOnly = true;
        } else if (!std::strcmp(argv[1], "--floor-only")) {
            floorOnly = true;
        } else if (!std::strcmp(argv[1], "--queries-only")) {
            queriesOnly = true;
        } else {
            break;
        }
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--scales")) {
            scales.clear();
            for (const char* p = argv[i + 1]; *p;) {
                scales.push_back(std::atoi(p));
                while (*p && *p != ',') ++p;
                if (*p == ',') ++p;
            }
        } else if (!std::strcmp(argv[i], "--runs")) {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (!std::strcmp(argv[i], "--dir")) {
            dir = argv[i + 1];
        } else {
            std::fprintf(stderr,
                         "usage: %s [--load-only | --floor-only | --queries-only] "
                         "[--scales 1,10] [--runs 5] [--dir DIR]\n",
                         argv[0]);
            return 2;
        }
    }
#ifndef NDEBUG
    std::printf("warning: assertions are on; build with -DCMAKE_BUILD_TYPE=Release for figures\n");
#endif
    // Reports and diagnostics would be timed too; the generated folder raises none, and the
    // queries' own reports are not what is measured here.
    TOOLS::SetLogSink([](const TOOLS::LogReport&) {});
    TOOLS::SetDiagnosticSink([](const TOOLS::Diagnostic&) {});

    for (int scale : scales) {
        const bench::GeneratedConfig c = Prepare(dir, scale);
        if (loadOnly) {
            PrintOneRun([&] { return Construct(c); });
            continue;
        }
        if (floorOnly) {
            PrintOneRun([&] { return bench::BuildRecordsFloor(c); });
            continue;
        }
        const std::vector<std::string> files = AllFiles(c.root);
        std::printf("\n== scale %d: %llu files, %.1f MB\n", scale,
                    static_cast<unsigned long long>(c.files), c.bytes / 1e6);

        if (!queriesOnly) {
            // Destruction is not part of loading: each run's tables are freed after its timing.
            std::unique_ptr<CONFIG::CPropertiesConfig> loaded;
            std::unique_ptr<bench::RecordsFloor> floor;
            // The load on the default threads, and on the calling thread alone.
            const int threads = CONFIG::GetLoadThreads();
            const auto alone = [&] {
                CONFIG::SetLoadThreads(1);
                loaded = Construct(c);
                CONFIG::SetLoadThreads(0);
            };
            const std::vector<double> times = TimeInRounds(
                runs, {{[&] { loaded = Construct(c); }, [&] { loaded.reset(); }},
                       {[&] { ParseOnly(files); }},
                       {[&] { floor = bench::BuildRecordsFloor(c); }, [&] { floor.reset(); }},
                       {alone, [&] { loaded.reset(); }}});
            const double construct = times[0];
            const double baseline = times[1];
            const double floorTime = times[2];
            const double constructAlone = times[3];
            std::printf(
                "construction        %9.1f ms   on %d load threads (SITECONFIG_LOAD_THREADS)\n",
                construct * 1e3, threads);
            std::printf("  on one thread     %9.1f ms   construction/floor %.2f   speed-up %.2f\n",
                        constructAlone * 1e3, constructAlone / floorTime,
                        constructAlone / construct);
            std::printf("parse-only baseline %9.1f ms   construction/baseline %.2f\n",
                        baseline * 1e3, construct / baseline);
            std::printf(
                "records floor       %9.1f ms   construction/floor %.2f   "
                "floor/baseline %.2f\n",
                floorTime * 1e3, construct / floorTime, floorTime / baseline);
#if SITECONFIG_BENCH_WITH_BOOST
            const double peer = Time(std::min(runs, 3), [&] { BoostPeer(files); });
            std::printf("Boost.PropertyTree  %9.1f ms   peer/construction %.2f\n", peer * 1e3,
                        peer / construct);
#else
            std::printf("Boost.PropertyTree  (not built: install libboost-dev)\n");
#endif
            // A fresh process, as a host loads: every page of the tables is faulted in.
            const int freshRuns = std::min(runs, 3);
            const FreshRun fresh = MedianFreshRun(freshRuns, argv[0], "--load-only", dir, scale, 0);
            const FreshRun freshAlone =
                MedianFreshRun(freshRuns, argv[0], "--load-only", dir, scale, 1);
            const FreshRun freshFloor =
                MedianFreshRun(freshRuns, argv[0], "--floor-only", dir, scale, 0);
            if (fresh.peakBytes < 0 || freshAlone.peakBytes < 0 || freshFloor.peakBytes < 0) {
                std::printf(
                    "first load (fresh)  the fresh processes failed: run %s --load-only "
                    "--scales %d to see why\n",
                    argv[0], scale);
            } else {
                PrintFreshRuns(fresh, freshAlone, freshFloor, threads, c.bytes);
            }
        }

        auto config = Construct(c);
        if (!queriesOnly) {
            const auto floor = bench::BuildRecordsFloor(c);
            bench::PrintCensusCheck(bench::CensusOfLibrary(*config, floor->fileTemplates),
                                    bench::CensusOfFloor(*floor));
        }
        CONFIG::IPropertyShow* show = config->GetPropertyShowConfig();
        const bench::QuerySamples q = bench::SampleQueries();
        const CString section = Wide(q.typeAndSection);
        const CString location = Wide(q.location);
        const CString category = Wide(q.category);
        const CString sectionKey = Wide("\\基本构件\\洞口");
        const int calls = 2000;

        const std::string locationRoot = PrepareLocationConfig(c, dir, scale);
        const CString locationFolder = Wide(locationRoot);
        CONFIG::CPropertiesConfig locationConfig(
            locationFolder, Wide(locationRoot + "Display/"), locationFolder, locationFolder,
            Wide(c.graphLibrary1), Wide(c.graphLibrary2), locationFolder);
        CONFIG::IPropertyShow* locations = locationConfig.GetPropertyShowConfig();
        const CString underCategory = Wide("\\图库\\Beam\\新");
        const CString listed = Wide("选择");
        const CString listedNone = Wide("未列");
        std::vector<CString> shown;
        locations->GetShowLocs(shown);
        std::vector<CString> fromCategory;
        locations->GetSectionLocs(underCategory, fromCategory);
        std::vector<CString> fromList;
        locations->GetSectionLocs(listed, fromList);
        std::printf("collecting: %zu shown; a category key expands to %zu, a listed key to %zu\n",
                    shown.size(), fromCategory.size(), fromList.size());

        struct Query {
            const char* name;
            std::function<void()> call;
        };
        const Query queries[] = {
            {"GetPropEditView", [&] { show->GetPropEditView(section, location); }},
            {"GetPropEditView (no match)", [&] { show->GetPropEditView(L"Unlisted", location); }},
            {"IsLocShown", [&] { show->IsLocShown(location); }},
            {"GetSectionLocs",
             [&] {
                 std::vector<CString> out;
                 show->GetSectionLocs(sectionKey, out);
             }},
            {"IsLocShown (category key, collects)", [&] { locations->IsLocShown(underCategory); }},
            {"IsLocShown (listed, collects)", [&] { locations->IsLocShown(listed); }},
            {"IsLocShown (listed, collects none)", [&] { locations->IsLocShown(listedNone); }},
            {"GetSectionLocs (category key, collects)",
             [&] {
                 std::vector<CString> out;
                 locations->GetSectionLocs(underCategory, out);
             }},
            {"GetSectionLocs (listed, collects)",
             [&] {
                 std::vector<CString> out;
                 locations->GetSectionLocs(listed, out);
             }},
            {"GetType", [&] { config->GetType(category); }},
            {"GetPropertyInsData",
             [&] {
                 CONFIG::PropertyInsData data;
                 config->GetPropertyInsData(KADO::Product::Opening, data);
             }},
            {"GetTemplateCompIns(category)",
             [&] {
                 CONFIG::PropertyInsData data;
                 config->GetTemplateCompIns(category, data);
             }},
        };
        for (const Query& query : queries) {
            std::printf("%-40s %9.0f ns/call\n", query.name,
                        TimePerCall(query.name, runs, calls, query.call));
        }
    }
    return 0;
}
