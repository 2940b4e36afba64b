// Fuzzing a whole generation run, the search index included: the first line of an input is the
// project name, the rest the one source file of the scan path. Every file the run writes must lie
// in the project directory or be the master index (with its lock), and a run whose names all fit
// the file system must report no failure.
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/scan_source.h"
#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "scan/syl_item.h"
#include "support/file_output.h"

namespace sylva::fuzz {

namespace {

constexpr std::string_view kIndexName = "INDEX.HTML";
constexpr std::size_t kMaxNameBytes = 255;  // NAME_MAX of the usual file systems
constexpr std::size_t kMaxProjectName = 300;

// True when every file name the run writes for its project fits the file system.
bool NamesFit(const CZTScanSource& generator) {
    for (const std::string& path :
         {generator.projectIndexFile, generator.frameIndexFile, generator.frameFile}) {
        if (std::filesystem::path(path).filename().string().size() > kMaxNameBytes) {
            return false;
        }
    }
    for (const auto& item : generator.items) {
        if (item && item->PageFile().size() > kMaxNameBytes) {
            return false;
        }
    }
    return generator.projectDirName.size() <= kMaxNameBytes;
}

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

    CZTScanSource generator;
    // The search index takes every name and text of the run too.
    generator.SetSetting(SYL_HTML_SEARCH, "1");
    MemoryListBox protocol;
    int result = generator.Run(sourceDirectory, std::string(kIndexName), name, out,
                               ".CPP|.C|.H|.SYL", "Desc", &protocol, nullptr, 1, 1, RunOptions());
    if (result != 0) {
        Require(!std::filesystem::exists(out), "a refused run wrote files");
        return 0;
    }
    const std::string& project = generator.projectDirName;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
        std::string relative = entry.path().lexically_relative(out).string();
        bool inProject = relative == project ||
                         entry.path().parent_path().lexically_relative(out).string() == project;
        Require(
            inProject || relative == kIndexName || relative == std::string(kIndexName) + ".lock",
            "a file written outside the project directory");
    }
    // A project name holding an index marker is refused by the master index.
    if (NamesFit(generator) && name.find("<!--") == std::string::npos) {
        Require(generator.failureCount == 0, "a run whose names fit reported a failure");
    }
    return 0;
}

}  // namespace sylva::fuzz
