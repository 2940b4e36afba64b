// How the file scan grows with the number of documentation blocks in one file, read from the file
// and from memory: reading, block recognition, declaration collection and item creation must
// stay linear.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "scaling.h"
#include "scan/scan.h"

namespace sylva {
namespace {

// A temporary source file of `blocks` documented functions, removed at destruction.
class GeneratedSource {
  public:
    explicit GeneratedSource(int blocks) {
        char pattern[] = "/tmp/sylva-scan-bench-XXXXXX";
        int fd = ::mkstemp(pattern);
        if (fd >= 0) {
            ::close(fd);
        }
        path_ = pattern;
        std::ofstream out(path_, std::ios::binary);
        for (int i = 0; i < blocks; ++i) {
            out << "int Function" << i << "(int first,  // the first operand of the sum\n"
                << "                 int second) // the second operand of the sum\n"
                << "/**--\n"
                << "Group: Arithmetic" << i % 13 << "\n"
                << "Description: Adds two numbers and returns their sum.\n"
                << "    A second line of the description.\n"
                << "Return: the sum\n"
                << "See also: Function" << i + 1 << "\n"
                << "--e*/\n"
                << "{\n"
                << "    return first + second;\n"
                << "}\n\n";
        }
    }
    GeneratedSource(const GeneratedSource&) = delete;
    GeneratedSource& operator=(const GeneratedSource&) = delete;
    ~GeneratedSource() { ::unlink(path_.c_str()); }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void BM_ScanFile(benchmark::State& state) {
    const int blocks = static_cast<int>(state.range(0));
    GeneratedSource source(blocks);
    const Settings settings;
    for (auto _ : state) {
        ItemList items;
        Reporter reporter;
        ScanJob job{settings, items, reporter, {}, ".CPP", {}, {}};
        if (ScanFile(job, source.path(), CZTTime(0)) != blocks) {
            state.SkipWithError("the scan missed blocks");
        }
    }
    state.SetComplexityN(blocks);
}
BENCHMARK(BM_ScanFile)->Apply(ScaleUpTo100k)->Complexity(benchmark::oN);

// The same blocks already in memory: block recognition and item creation without the reads.
void BM_ScanBuffer(benchmark::State& state) {
    const int blocks = static_cast<int>(state.range(0));
    GeneratedSource source(blocks);
    std::ifstream in(source.path(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    const Settings settings;
    for (auto _ : state) {
        ItemList items;
        Reporter reporter;
        ScanJob job{settings, items, reporter, {}, ".CPP", {}, {}};
        if (ScanBuffer(job, content, source.path(), CZTTime(0)) != blocks) {
            state.SkipWithError("the scan missed blocks");
        }
    }
    state.SetComplexityN(blocks);
}
BENCHMARK(BM_ScanBuffer)->Apply(ScaleUpTo100k)->Complexity(benchmark::oN);

}  // namespace
}  // namespace sylva
