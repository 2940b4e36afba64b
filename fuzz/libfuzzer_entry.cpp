// The libFuzzer entry of one fuzz target; SYLVA_FUZZ_TARGET names the target's function.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return sylva::fuzz::SYLVA_FUZZ_TARGET(data, size);
}
