// Fuzzing a whole generation run, the search index included: the first line of an input is the
// project name, the rest the one source file of the scan path. Every file the run writes must lie
// in the project directory or be the master index (with its lock), and a run that is not refused
// must report no failure.
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "support/file_output.h"

namespace sylva::fuzz {

namespace {

constexpr std::string_view kIndexName = "INDEX.HTML";
constexpr std::size_t kMaxProjectName = 300;

}  // namespace

int FuzzRun(const std::uint8_t* data, std::size_t size) {
    std::string_view input = AsText(data, size);
    std::size_t lineEnd = input.find('\n');
    std::string name(input.substr(0, std::min(lineEnd, kMaxProjectName)));
    std::string_view source =
        lineEnd == input.npos ? std::string_view() : input.substr(lineEnd + 1);

    const std::string sourceDirectory = ScratchDirectory() + "/src";
    const std::string out = ScratchDirectory() + "/out";
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(sourceDirectory);
    Require(WriteWholeFile(sourceDirectory + "/fuzz.cpp", source).ok(), "cannot write the input");

    MemoryListBox protocol;
    Reporter reporter(&protocol);
    const RunInputs inputs{
        sourceDirectory, std::string(kIndexName), name, out, ".CPP|.C|.H|.SYL", "Desc", 1, 1};
    Settings settings;
    // The search index takes every name and text of the run too.
    settings.Set(SYL_HTML_SEARCH, "1");
    if (Run(inputs, settings, RunOptions(), reporter) == RunResult::kRefused) {
        Require(!std::filesystem::exists(out), "a refused run wrote files");
        return 0;
    }
    const std::string project = ProjectDirectoryName(name);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
        std::string relative = entry.path().lexically_relative(out).string();
        bool inProject = relative == project ||
                         entry.path().parent_path().lexically_relative(out).string() == project;
        Require(inProject || relative == kIndexName || relative == kSiteEntryFile,
                "a file written outside the project directory");
    }
    // Every page name fits a file name (too long ones are shortened, a project whose own pages
    // could not be named is refused); a project name holding an index marker is refused by the
    // master index.
    if (name.find("<!--") == std::string::npos) {
        Require(reporter.failureCount() == 0, "a run that was not refused reported a failure");
    }
    return 0;
}

}  // namespace sylva::fuzz
