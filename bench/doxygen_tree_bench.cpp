// Reads every C and C++ source below each directory given with the documentation comment reader
// and prints, per directory: files, input size, items, warnings by kind, and the reader's speed
// (the files are read into memory first, so the figure is the reader's own, without the disk;
// the best of five runs, wall clock and processor time).
//
//   doxygen_tree_bench [--names N] [--warnings N] DIR...
//
// --names N prints the first N item names of each directory with their kinds, --warnings N the
// first N warnings, so that a run over real headers can be looked at, not only counted.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "scan/doxygen/reader.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kExtensions[] = {".h", ".hh", ".hpp", ".hxx", ".inl",
                                       ".c", ".cc", ".cpp", ".cxx"};
constexpr int kRuns = 5;

struct Source {
    std::string path;
    std::string bytes;
};

bool IsSource(const fs::path& path) {
    std::string extension = path.extension().string();
    return extension.empty() || std::find(std::begin(kExtensions), std::end(kExtensions),
                                          extension) != std::end(kExtensions);
}

std::vector<Source> ReadTree(const std::string& root) {
    std::vector<Source> sources;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error) || !IsSource(it->path())) {
            continue;
        }
        std::ifstream in(it->path(), std::ios::binary);
        sources.push_back({it->path().string(), std::string(std::istreambuf_iterator<char>(in),
                                                            std::istreambuf_iterator<char>())});
    }
    std::sort(sources.begin(), sources.end(),
              [](const Source& a, const Source& b) { return a.path < b.path; });
    return sources;
}

// A warning's kind: its text with every quoted part replaced by "*".
std::string KindOf(std::string_view text) {
    std::string kind;
    bool quoted = false;
    for (char ch : text) {
        if (ch == '"') {
            kind += quoted ? "*\"" : "\"";
            quoted = !quoted;
        } else if (!quoted) {
            kind.push_back(ch);
        }
    }
    return kind;
}

long PeakRssKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The processor time this process has used, in seconds: less disturbed than the wall clock by
// other work on a shared machine.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Measure(const std::string& root, int names, int warnings) {
    std::vector<Source> sources = ReadTree(root);
    std::size_t bytes = 0;
    for (const Source& source : sources) {
        bytes += source.bytes.size();
    }
    std::size_t items = 0;
    std::size_t rows = 0;
    std::map<std::string, int> warningKinds;
    std::vector<std::string> shownWarnings;
    std::map<std::string, int> itemKinds;
    int printed = 0;
    for (const Source& source : sources) {
        auto warn = [&](int line, std::string_view text) {
            ++warningKinds[KindOf(text)];
            if (static_cast<int>(shownWarnings.size()) < warnings) {
                shownWarnings.push_back(source.path + ":" + std::to_string(line) +
                                        ": warning: " + std::string(text));
            }
        };
        for (const sylva::DoxygenItem& item : sylva::ReadDoxygenComments(source.bytes, warn)) {
            ++items;
            rows += item.parameters.size();
            ++itemKinds[std::string(sylva::DoxygenKindName(item.kind))];
            if (printed < names) {
                ++printed;
                std::printf("  %-9s %s\n", std::string(sylva::DoxygenKindName(item.kind)).c_str(),
                            item.name.c_str());
            }
        }
    }
    double best = 0;
    double bestCpu = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = std::chrono::steady_clock::now();
        double cpuStart = CpuSeconds();
        std::size_t count = 0;
        for (const Source& source : sources) {
            count += sylva::ReadDoxygenComments(source.bytes, [](int, std::string_view) {}).size();
        }
        std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        if (count != items) {
            std::printf("  item count differs between runs: %zu and %zu\n", items, count);
        }
        double cpu = CpuSeconds() - cpuStart;
        best = run == 0 ? seconds.count() : std::min(best, seconds.count());
        bestCpu = run == 0 ? cpu : std::min(bestCpu, cpu);
    }
    for (const std::string& warning : shownWarnings) {
        std::printf("  %s\n", warning.c_str());
    }
    int warningCount = 0;
    for (const auto& [kind, count] : warningKinds) {
        warningCount += count;
    }
    std::printf(
        "%s: %zu files, %.1f MB, %zu items, %zu rows, %d warnings, %.3f s (CPU %.3f s), "
        "%.1f MB/s, peak RSS %ld MB\n",
        root.c_str(), sources.size(), bytes / 1e6, items, rows, warningCount, best, bestCpu,
        best > 0 ? bytes / 1e6 / best : 0.0, PeakRssKilobytes() / 1024);
    for (const auto& [kind, count] : itemKinds) {
        std::printf("  items %-9s %d\n", kind.c_str(), count);
    }
    for (const auto& [kind, count] : warningKinds) {
        std::printf("  %6d  %s\n", count, kind.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    int names = 0;
    int warnings = 0;
    std::vector<std::string> roots;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if ((argument == "--names" || argument == "--warnings") && i + 1 < argc) {
            (argument == "--names" ? names : warnings) = std::atoi(argv[++i]);
        } else {
            roots.push_back(argument);
        }
    }
    if (roots.empty()) {
        std::fprintf(stderr, "usage: %s [--names N] [--warnings N] DIR...\n", argv[0]);
        return 2;
    }
    for (const std::string& root : roots) {
        Measure(root, names, warnings);
    }
    return 0;
}
