// The search index of a run: deriving one item's entry (its plain text and terms), as the page
// builders do for every page, and adding n entries to the index and writing it, as the thread
// that writes the pages does. The writer must grow linearly (its shards as n log n).
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "html/search_index.h"
#include "scaling.h"

namespace sylva {
namespace {

constexpr const char* kWords[] = {"the",    "value",    "is",     "checked", "against", "its",
                                  "range",  "before",   "stored", "in",      "table",   "every",
                                  "change", "recorded", "cache",  "oldest",  "entry",   "dropped"};

// A text of `count` words such as the descriptions of a generated tree hold.
std::string Text(int seed, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.append(kWords[(seed * 7 + i * 13) % std::size(kWords)]);
        text.push_back(i % 9 == 8 ? '.' : ' ');
    }
    return text;
}

SearchEntry Entry(int i) {
    const std::string name = "CMakeIndex" + std::to_string(i / 3) + "::GetKey" + std::to_string(i);
    return {name,
            "SYLVA_CMakeIndex" + std::to_string(i / 3) + "__GetKey" + std::to_string(i) + ".html",
            "Storage Caches",
            "Public",
            Text(i, 12),
            Text(i, 30) + " Works together with CAddBlock" + std::to_string(i + 1) + ".",
            Text(i + 1, 25) + " arg0 the first operand arg1 the second operand " +
                "The number of entries handled, or -1 on failure. Synthetic Generator 1.4"};
}

void BM_IndexSearchEntry(benchmark::State& state) {
    const SearchEntry entry = Entry(12345);
    for (auto _ : state) {
        benchmark::DoNotOptimize(IndexSearchEntry(entry));
    }
}
BENCHMARK(BM_IndexSearchEntry)->Unit(benchmark::kMicrosecond);

// Adding n derived entries and writing the index into memory.
void BM_SearchIndexWriter(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<IndexedEntry> entries;
    for (int i = 0; i < n; ++i) {
        entries.push_back(IndexSearchEntry(Entry(i)));
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<IndexedEntry> added = entries;  // the run moves its entries in
        state.ResumeTiming();
        SearchIndexWriter writer([&bytes](const std::string&, std::string_view content) {
            bytes += content.size();
            return Status::Ok();
        });
        for (IndexedEntry& entry : added) {
            writer.Add(std::move(entry));
        }
        benchmark::DoNotOptimize(writer.Finish());
    }
    state.SetComplexityN(n);
    state.counters["bytes/item"] =
        static_cast<double>(bytes) / static_cast<double>(state.iterations()) / n;
}
BENCHMARK(BM_SearchIndexWriter)->Apply(ScaleUpTo100k)->Complexity(benchmark::oN);

}  // namespace
}  // namespace sylva
