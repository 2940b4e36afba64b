// The `sylva` program: reads the command line, then runs one batch generation (-FORCE), watches
// (-WATCH: a batch generation, then one after each change) or opens
// the window. The exit status tells a script whether the documentation was written.
#include <cstdio>
#include <optional>
#include <string>

#include "app/batch.h"
#include "app/command_line.h"
#include "app/main_fields.h"
#include "app/window_entry.h"

int main(int argc, char** argv) {
    using namespace sylva;
    ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    for (const std::string& line : parsed.ignored) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "sylva: %s\n", parsed.error.c_str());
        return kExitNotRun;
    }
    StartValues& values = parsed.values;
    if (values.help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitOk;
    }
    if (values.version) {
        std::puts("Sylva " SYLVA_VERSION);
        return kExitOk;
    }
    std::optional<MainFields> fields = StartFields(values);
    if (!fields) {
        return kExitNotRun;
    }
    if (values.force || values.watch) {
        return RunBatchGeneration(*fields, values);
    }
    return RunWindow(argc, argv, *fields);
}
