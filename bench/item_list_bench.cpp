// How filing n items grows with n: the name lookup that numbers repeated page names, Add and the
// one sort at the end of a scan must stay O(n log n) together, up to 100,000 items.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "scaling.h"
#include "scan/block_text.h"
#include "scan/items.h"

namespace sylva {
namespace {

constexpr int kGroups = 17;

// n names in a scrambled order, about a third of them repeated, in kGroups groups.
std::vector<std::string> MakeNames(int n) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(n));
    const int distinct = n - n / 3;
    for (int i = 0; i < n; ++i) {
        int scrambled = static_cast<int>((static_cast<long long>(i) * 7919) % distinct);
        names.push_back("Function" + std::to_string(scrambled));
    }
    return names;
}

// The block of an item of group `group`: a group line, and with `full` the lines a documented
// function usually has.
std::string BlockOf(int group, bool full) {
    std::string block;
    AppendBlockLine(block, "Group: Group" + std::to_string(group));
    if (full) {
        AppendBlockLine(block, "Description: draws the thing it is given");
        AppendBlockLine(block, "Return: the count");
        AppendBlockLine(block, "Doc type: public");
    }
    return block;
}

// Makes and files an item of each name, then sorts; with `full` blocks each item derives its
// fields from a whole block, otherwise from a group line alone (the list operations dominate).
void FileItems(benchmark::State& state, bool full) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<std::string> names = MakeNames(n);
    std::vector<std::string> declarations;
    for (const std::string& name : names) {
        declarations.push_back("int " + name + "(int a, int b)");
    }
    std::vector<std::string> blocks;
    for (int g = 0; g < kGroups; ++g) {
        blocks.push_back(BlockOf(g, full));
    }
    const Settings settings;
    for (auto _ : state) {
        ItemList items;
        for (int i = 0; i < n; ++i) {
            items.Add(settings, {declarations[static_cast<std::size_t>(i)],
                                 blocks[static_cast<std::size_t>(i % kGroups)], CZTTime(0),
                                 "bench.h", i + 1});
        }
        items.Sort();
        benchmark::DoNotOptimize(items.size());
    }
    state.SetComplexityN(n);
}

void BM_FileItems(benchmark::State& state) {
    FileItems(state, false);
}
BENCHMARK(BM_FileItems)->Apply(ScaleUpTo100k)->Complexity(benchmark::oNLogN);

void BM_BuildAndFileItems(benchmark::State& state) {
    FileItems(state, true);
}
BENCHMARK(BM_BuildAndFileItems)->Apply(ScaleUpTo100k)->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace sylva
