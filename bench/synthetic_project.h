// A project as a run leaves it after the scan: n documented functions in 17 groups, about a
// third of them sharing a name, each quoting the name of another, with an output directory of its
// own that is removed at the end.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <variant>

#include "engine/engine.h"
#include "scan/scan.h"

namespace sylva {

class SyntheticProject {
  public:
    explicit SyntheticProject(int items) {
        char pattern[] = "/tmp/sylva-html-bench-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            output_ = pattern;
        }
        project = std::get<Project>(MakeProject("Bench", "", output_, "SYLVA_MAIN_INDEX.HTML"));
        (void)CreateProjectDirectory(project);
        std::string source;
        const int distinct = items - items / 3;
        for (int i = 0; i < items; ++i) {
            std::string name = "Function" + std::to_string((i * 7919L) % distinct);
            source += "int " + name + "(int first,  // the first operand of the sum\n" +
                      "        int second) // the second operand of the sum\n" +
                      "/**--\nGroup: Arithmetic" + std::to_string(i % 17) + "\n" +
                      "Description: Adds two numbers; see \"Function" +
                      std::to_string((i + 1) % distinct) + "\" for the difference.\n" +
                      "    A second line of the description.\nReturn: the sum\n" +
                      "See also: Function" + std::to_string((i + 2) % distinct) + "\n" +
                      "--e*/\n{\n    return first + second;\n}\n\n";
        }
        ScanJob job{settings, this->items, reporter, output_, ".CPP", output_, "Bench"};
        (void)ScanBuffer(job, source, output_ + "/source.cpp", CZTTime(0));
        this->items.Sort();
    }
    SyntheticProject(const SyntheticProject&) = delete;
    SyntheticProject& operator=(const SyntheticProject&) = delete;
    ~SyntheticProject() {
        std::error_code ignored;
        std::filesystem::remove_all(output_, ignored);
    }

    // The page stages' view, on one thread: the benchmarks measure the work, not how it is shared.
    PageJob Job() { return {settings, options, project, items, reporter, 1, 1, 1}; }

    Settings settings;
    RunOptions options;
    Project project;
    ItemList items;
    Reporter reporter;

  private:
    std::string output_;
};

}  // namespace sylva
