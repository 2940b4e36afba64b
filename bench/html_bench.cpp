// The HTML stages of a run: cross-linking the quoted item names, writing one description page,
// and writing the two index pages, each on one thread. Cross-linking and the index pages must
// grow linearly (the sorted lists of the index pages as n log n) with the number of items.
#include <benchmark/benchmark.h>

#include "bench/synthetic_project.h"
#include "scaling.h"

namespace sylva {
namespace {

void BM_CrossLinkSections(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SyntheticProject project(n);
    PageJob job = project.Job();
    for (auto _ : state) {
        CrossLink(job);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_CrossLinkSections)->Apply(ScaleUpTo100k)->Complexity(benchmark::oN);

// One page: its text derived again from the item's source text, linked, filled into the
// templates and written to its file.
void BM_WriteOnePage(benchmark::State& state) {
    SyntheticProject project(100);
    // Only the first item keeps its slot; the stage then writes its page alone.
    for (std::size_t slot = 1; slot < project.items.size(); ++slot) {
        project.items.Remove(slot);
    }
    PageJob job = project.Job();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteDescriptionPages(job));
    }
}
BENCHMARK(BM_WriteOnePage)->Unit(benchmark::kMicrosecond);

void BM_WriteProjectIndex(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SyntheticProject project(n);
    PageJob job = project.Job();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteProjectIndex(job));
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_WriteProjectIndex)->Apply(ScaleUpTo100k)->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace sylva
