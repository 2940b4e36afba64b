// The sizes at which the scaling benchmarks run: 1,000 to 100,000, in steps of ten.
#pragma once

#include <benchmark/benchmark.h>

namespace sylva {

inline void ScaleUpTo100k(benchmark::internal::Benchmark* benchmark) {
    benchmark->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
}

}  // namespace sylva
