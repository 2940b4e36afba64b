// Fuzzing the master index: the first line of an input is a project name, the rest a master
// index page as a user or another program may have left it. The project is added and removed
// again; no record of another project may be lost on the way, and a change that is refused must
// leave the page as it was.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "support/file_output.h"
#include "support/zt_string_array.h"

namespace sylva::fuzz {

namespace {

constexpr std::string_view kIndexName = "INDEX.HTML";

// The records of the page, sorted.
std::vector<std::string> Records(const Settings& settings, const std::string& path) {
    CZTStringArray records;
    Reporter reporter;
    (void)ReadMasterIndex(settings, reporter, path, records);
    std::vector<std::string> sorted(records.begin(), records.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

std::string Content(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The records of `records` that are not the project's own: those not beginning with `key`.
std::vector<std::string> OtherRecords(const std::vector<std::string>& records,
                                      std::string_view key) {
    std::vector<std::string> others;
    std::copy_if(records.begin(), records.end(), std::back_inserter(others),
                 [key](const std::string& record) { return !record.starts_with(key); });
    return others;
}

// True when every record of `before` that is not the project's own is among `after`.
bool KeepsOtherRecords(const std::vector<std::string>& before,
                       const std::vector<std::string>& after, std::string_view key) {
    std::vector<std::string> others = OtherRecords(before, key);
    return std::includes(after.begin(), after.end(), others.begin(), others.end());
}

}  // namespace

int FuzzMasterIndex(const std::uint8_t* data, std::size_t size) {
    std::string_view input = AsText(data, size);
    std::size_t lineEnd = input.find_first_of("\r\n");
    std::string name(input.substr(0, lineEnd));
    std::string_view page = lineEnd == input.npos ? std::string_view() : input.substr(lineEnd + 1);
    if (name.empty()) {
        name.push_back('P');
    }
    const std::string& directory = ScratchDirectory();
    const std::string path = directory + "/" + std::string(kIndexName);
    Require(WriteWholeFile(path, page).ok(), "cannot write the input");

    const Settings settings;
    MemoryListBox protocol;
    Reporter reporter(&protocol);
    const std::string key = "<!--" + name + "-->";
    std::vector<std::string> before = Records(settings, path);

    int added = AddToMasterIndex(settings, reporter, directory, std::string(kIndexName),
                                 {name, "", "Desc"});
    std::vector<std::string> afterAdd = Records(settings, path);
    if (added < 0) {
        Require(Content(path) == page, "a refused add changed the page");
    } else {
        Require(KeepsOtherRecords(before, afterAdd, key), "an add lost another project's record");
        // The new record need not begin with the key: a name holding a placeholder, such as
        // "[Font]", is filled in turn.
        Require(afterAdd.size() >= OtherRecords(before, key).size() + 1,
                "an add did not list the project");
    }

    (void)RemoveFromMasterIndex(settings, reporter, directory, std::string(kIndexName), name);
    std::vector<std::string> afterRemove = Records(settings, path);
    Require(KeepsOtherRecords(afterAdd, afterRemove, key),
            "a remove lost another project's record");
    return 0;
}

}  // namespace sylva::fuzz
