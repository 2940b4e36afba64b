// What the fuzz targets share: a scratch directory for the targets that must write files, and a
// scan under the options a leading byte of an input switches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "support/protocol.h"

namespace sylva::fuzz {

inline constexpr std::string_view kOutputPath = "/out";
inline constexpr std::string_view kProjectName = "Fuzz";

// A directory of this process below $TMPDIR, or else in memory where the system offers it
// (/dev/shm), removed with its content when the process ends normally.
const std::string& ScratchDirectory();

// Run options with the switches that change parsing taken from the bits of `flags`.
RunOptions OptionsFromFlags(std::uint8_t flags);

// A scan as a run over kOutputPath and kProjectName makes it, with the options of `flags`, and
// the page stages' view of it, creating items of every kind.
class FuzzProject {
  public:
    explicit FuzzProject(std::uint8_t flags);

    // Scans `source` as the file `path`, written in `style`; returns the number of items made.
    // The list is sorted.
    int Scan(std::string_view source, const std::string& path,
             CommentStyle style = CommentStyle::kSylva);
    PageJob Job() { return {settings, options, project, items, reporter, 1, 1, 1}; }

    Settings settings;
    RunOptions options;
    Project project;
    ItemList items;
    MemoryListBox protocol;
    Reporter reporter{&protocol};
};

// Aborts unless every item of `fuzzed` has a page inside the project directory whose file name
// holds no byte that may not stand in a file name, and unless the list is in sort-key order.
void RequireSoundItems(const FuzzProject& fuzzed);

// The bytes of an input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace sylva::fuzz
