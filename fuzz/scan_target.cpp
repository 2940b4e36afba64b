// Fuzzing the source scanner: the bytes of one source file, with the first byte choosing the
// options that change how blocks are parsed.
#include "engine/scan_source.h"
#include "fuzz_support.h"
#include "fuzz_targets.h"

namespace sylva::fuzz {

int FuzzScan(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    CZTScanSource generator;
    MemoryListBox protocol;
    generator.protocol = &protocol;
    PrepareRun(generator, data[0]);
    int items = generator.ScanBuffer(AsText(data + 1, size - 1), "/src/fuzz.cpp", CZTTime(0));
    Require(items == static_cast<int>(generator.items.size()), "items created but not listed");
    generator.SortItems();
    RequireSoundItems(generator);
    return 0;
}

}  // namespace sylva::fuzz
