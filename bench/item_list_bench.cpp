// How filing n items grows with n: the name lookup that numbers repeated page names, AddItem and
// the one sort at the end of a scan must stay O(n log n) together, up to 100,000 items.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/scan_source.h"
#include "scaling.h"
#include "scan/syl_item.h"

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

// The list operations alone: lookup, AddItem, SortItems, on items whose fields are set directly.
void BM_FileItems(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<std::string> names = MakeNames(n);
    for (auto _ : state) {
        CZTScanSource generator;
        int repeated = 0;
        for (int i = 0; i < n; ++i) {
            const std::string& name = names[static_cast<std::size_t>(i)];
            repeated += generator.IsPageNameUsed(name) ? 1 : 0;
            auto item = std::make_unique<CSylItem>(&generator);
            item->name = name;
            item->group = "Group" + std::to_string(i % kGroups);
            generator.AddItem(std::move(item));
        }
        generator.SortItems();
        benchmark::DoNotOptimize(repeated);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_FileItems)->Apply(ScaleUpTo100k)->Complexity(benchmark::oNLogN);

// The same through the real constructor, which derives every field of an item from its
// declaration and block lines and numbers its page against the names already listed.
void BM_BuildAndFileItems(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<std::string> names = MakeNames(n);
    std::vector<CZTStringArray> blocks(kGroups);
    for (int g = 0; g < kGroups; ++g) {
        blocks[static_cast<std::size_t>(g)].Add("Group: Group" + std::to_string(g));
        blocks[static_cast<std::size_t>(g)].Add("Description: draws the thing it is given");
        blocks[static_cast<std::size_t>(g)].Add("Return: the count");
        blocks[static_cast<std::size_t>(g)].Add("Doc type: public");
    }
    for (auto _ : state) {
        CZTScanSource generator;
        for (int i = 0; i < n; ++i) {
            generator.AddItem(std::make_unique<CSylItem>(
                &generator, "int " + names[static_cast<std::size_t>(i)] + "(int a, int b)",
                blocks[static_cast<std::size_t>(i % kGroups)], CZTTime(0)));
        }
        generator.SortItems();
        benchmark::DoNotOptimize(generator.duplicateCounter);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_BuildAndFileItems)->Apply(ScaleUpTo100k)->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace sylva
