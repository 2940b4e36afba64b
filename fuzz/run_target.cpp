// Fuzzing a whole generation run: the first line of an input is the project name, the rest the
// one source file of the scan path. Every file the run writes must lie in the project directory
// or be the master index (with its lock), and a run whose names all fit the file system must
// report no failure.
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "html/page_names.h"
#include "support/file_output.h"

namespace sylva::fuzz {

namespace {

constexpr std::string_view kIndexName = "INDEX.HTML";
constexpr std::size_t kMaxNameBytes = 255;  // NAME_MAX of the usual file systems
constexpr std::size_t kMaxProjectName = 300;

// True when every file name the run writes for the project `directoryName` fits the file
// system. The items are scanned again from `source` for their page names.
bool NamesFit(const std::string& directoryName, std::string_view source) {
    for (const std::string& page : {ProjectIndexFile(directoryName), FrameIndexFile(directoryName),
                                    FrameSetFile(directoryName)}) {
        if (page.size() > kMaxNameBytes) {
            return false;
        }
    }
    FuzzProject scanned(0);
    scanned.Scan(source, "/src/fuzz.cpp");
    for (const ItemList::Slot& item : scanned.items) {
        if (PageFile(*item).size() > kMaxNameBytes) {
            return false;
        }
    }
    return directoryName.size() <= kMaxNameBytes;
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

    MemoryListBox protocol;
    Reporter reporter(&protocol);
    const RunInputs inputs{
        sourceDirectory, std::string(kIndexName), name, out, ".CPP|.C|.H|.SYL", "Desc", 1, 1};
    if (Run(inputs, Settings(), RunOptions(), reporter) == RunResult::kRefused) {
        Require(!std::filesystem::exists(out), "a refused run wrote files");
        return 0;
    }
    const std::string project = ProjectDirectoryName(name);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
        std::string relative = entry.path().lexically_relative(out).string();
        bool inProject = relative == project ||
                         entry.path().parent_path().lexically_relative(out).string() == project;
        Require(
            inProject || relative == kIndexName || relative == std::string(kIndexName) + ".lock",
            "a file written outside the project directory");
    }
    // A project name holding an index marker is refused by the master index.
    if (NamesFit(project, source) && name.find("<!--") == std::string::npos) {
        Require(reporter.failureCount() == 0, "a run whose names fit reported a failure");
    }
    return 0;
}

}  // namespace sylva::fuzz
