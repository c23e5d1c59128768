// Writes a synthetic configuration folder of a chosen scale, deterministically.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

struct GeneratedConfig {
    std::string root;  // ends with '/'
    // The seven constructor arguments, as paths below root.
    std::string definitions, display, templates, models, graphLibrary1, graphLibrary2, shapePool;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

// The layout of a configuration folder at `root` (file and byte counts left at 0).
GeneratedConfig DescribeConfig(const std::string& root);

// Scale 1: 300 definition files (30 parameters, 10 instances nested up to 3 deep), 1,000
// templates, 300 property models, 500 shape-pool files, a display folder with 500 item
// templates, 100 location views of 10 groups of 20 items, 2,000 defined locations,
// 200 containers, and two graph libraries of 10,000 models each. Scale N multiplies the counts.
GeneratedConfig GenerateConfig(const std::string& root, int scale);

// Texts the queries of the benchmark ask about (valid at every scale).
struct QuerySamples {
    std::string typeAndSection;  // UTF-8
    std::string location;
    std::string category;
};
QuerySamples SampleQueries();

}  // namespace bench
