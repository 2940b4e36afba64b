// Every committed fuzz input, replayed through its target: a seed that stopped parsing, or a
// reproducer of a fixed fault that came back, aborts the test with the broken property.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_targets.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using Target = int (*)(const std::uint8_t*, std::size_t);

// The inputs of `target`, seeds and reproducers, in a fixed order.
std::vector<std::string> Inputs(const std::string& target) {
    std::vector<std::string> paths;
    for (const char* kind : {"corpus", "regressions"}) {
        std::filesystem::path directory = std::filesystem::path(SYLVA_FUZZ_DIR) / kind / target;
        if (!std::filesystem::is_directory(directory)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(FuzzReplay, EveryCommittedInputKeepsEveryProperty) {
    struct Case {
        std::string target;
        Target function;
    };
    const Case cases[] = {
        {"scan", fuzz::FuzzScan},
        {"config", fuzz::FuzzConfig},
        {"master_index", fuzz::FuzzMasterIndex},
        {"cross_link", fuzz::FuzzCrossLink},
        {"run", fuzz::FuzzRun},
        {"json_text", fuzz::FuzzJsonText},
        {"tag_file", fuzz::FuzzTagFile},
        {"doxyfile", fuzz::FuzzDoxyfile},
    };
    for (const Case& c : cases) {
        std::vector<std::string> inputs = Inputs(c.target);
        EXPECT_FALSE(inputs.empty()) << c.target << " has no seed corpus";
        for (const std::string& path : inputs) {
            // An abort ends the process; this line then names the input.
            std::fprintf(stderr, "replaying %s\n", path.c_str());
            std::string bytes = test::ReadFile(path);
            c.function(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
    }
}

}  // namespace
}  // namespace sylva
