// Fuzzing the tag file reader: any bytes are read without a crash, within the reader's bounds, and
// what it gives holds for every input: no names beside a problem, and no address that is unsafe
// or leads anywhere but below the location.
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_targets.h"
#include "scan/tag_file.h"

namespace sylva::fuzz {

namespace {

constexpr std::string_view kLocation = "https://example.org/doc/";

}  // namespace

int FuzzTagFile(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const TagFileRead read = ReadTagFile(in, kLocation);
    Require(!read.problem || read.names.empty(), "a tag file with a problem gave names");
    Require(!read.problem || read.problem->line >= 1, "a problem without its line");
    for (const auto& [name, address] : read.names.Sorted()) {
        Require(!name.empty(), "an empty name was given");
        Require(address.starts_with(kLocation), "an address leads outside the location");
        Require(!IsUnsafeAddress(address), "an unsafe address was given");
    }
    return 0;
}

}  // namespace sylva::fuzz
