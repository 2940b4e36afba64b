// Fuzzing the source scanner: the bytes of one source file, with the first byte choosing the
// options that change how blocks are parsed.
#include "fuzz_support.h"
#include "fuzz_targets.h"

namespace sylva::fuzz {

int FuzzScan(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    FuzzProject fuzzed(data[0]);
    int items = fuzzed.Scan(AsText(data + 1, size - 1), "/src/fuzz.cpp");
    Require(items == static_cast<int>(fuzzed.items.size()), "items created but not listed");
    RequireSoundItems(fuzzed);
    for (const ItemList::Slot& item : fuzzed.items) {
        (void)DeriveItemText(*item, fuzzed.settings, fuzzed.options);
    }
    return 0;
}

}  // namespace sylva::fuzz
