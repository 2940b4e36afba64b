// What the fuzz targets share: a scratch directory for the one target that must write files, and
// the options a leading byte of an input switches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/run_options.h"

namespace sylva {
class CZTScanSource;
}

namespace sylva::fuzz {

inline constexpr std::string_view kOutputPath = "/out";
inline constexpr std::string_view kProjectName = "Fuzz";

// A directory of this process below $TMPDIR, or else in memory where the system offers it
// (/dev/shm), removed with its content when the process ends normally.
const std::string& ScratchDirectory();

// Run options with the switches that change parsing taken from the bits of `flags`.
RunOptions OptionsFromFlags(std::uint8_t flags);

// Sets the run fields a scan reads, as a run over kOutputPath and kProjectName does, with the
// options of `flags`, creating items of every kind.
void PrepareRun(CZTScanSource& generator, std::uint8_t flags);

// Aborts unless every item of `generator` has a page inside the project directory whose file
// name holds no byte that may not stand in a file name, and a sort key made of its group and
// name; and unless the list is in sort-key order.
void RequireSoundItems(const CZTScanSource& generator);

// The bytes of an input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace sylva::fuzz
