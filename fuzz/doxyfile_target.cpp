// Fuzzing the Doxyfile reader: the bytes of a Doxyfile (which may @INCLUDE itself or the files
// beside it), read with a fixed environment, then mapped to a run.
#include <string>

#include "engine/doxyfile_run.h"
#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "support/file_output.h"

namespace sylva::fuzz {

int FuzzDoxyfile(const std::uint8_t* data, std::size_t size) {
    const std::string path = ScratchDirectory() + "/Doxyfile";
    Require(WriteWholeFile(path, AsText(data, size)).ok(), "cannot write the input");
    const Doxyfile doxyfile = ReadDoxyfile(path, [](const std::string& name) {
        return name == "HOME" ? std::optional<std::string>("/home/fuzz") : std::nullopt;
    });
    Require(doxyfile.keys.size() == doxyfile.values.size(), "a key is listed twice or not at all");
    for (const auto& [key, values] : doxyfile.values) {
        Require(key.find('=') == std::string::npos, "a key holds its equals sign");
        for (const std::string& value : values) {
            Require(value.size() <= kMaxDoxyfileLine, "a value longer than a line may be");
        }
    }
    if (doxyfile.errors.empty()) {
        const DoxyfileRun run = MapDoxyfile(doxyfile);
        Require(!run.projectName.empty(), "a run without a project name");
        Require(!run.inputs.empty() || !run.errors.empty(), "a run without inputs or a reason");
    }
    return 0;
}

}  // namespace sylva::fuzz
