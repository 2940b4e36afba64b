#include "app/command_line.h"

#include <algorithm>
#include <string_view>

#include "support/zt_string.h"

namespace sylva {

namespace {

struct OptionRow {
    std::string_view name;
    std::string_view argument;  // what follows the name in the usage text
    std::string_view help;
    std::string StartValues::*value;  // set for options that take a value
    bool StartValues::*flag;          // set for switches
};

// The order is the order of matching: an argument naming two options counts as the first.
constexpr OptionRow kOptions[] = {
    {"-PROJECT", "=NAME", "project name; its directory and pages are named after it",
     &StartValues::project, nullptr},
    {"-DESC", "=TEXT", "project description, shown in the indexes", &StartValues::description,
     nullptr},
    {"-SCAN", "=DIR", "directory to scan for documentation blocks", &StartValues::scanPath,
     nullptr},
    {"-OUT", "=DIR", "output directory (default: the current directory)", &StartValues::outputPath,
     nullptr},
    {"-FORCE", "", "generate at once, without opening the window", nullptr, &StartValues::force},
    {"-VERBOSE", "", "print every protocol line on standard output", nullptr,
     &StartValues::verbose},
    {"-WERROR", "", "after the whole run, exit with status 1 if any warning was given", nullptr,
     &StartValues::warningsAreErrors},
    {"--HELP", "", "print this text", nullptr, &StartValues::help},
    {"--VERSION", "", "print the version", nullptr, &StartValues::version},
};

constexpr std::size_t kUsageColumn = 18;

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine parsed;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        std::size_t equals = argument.find('=');
        std::string_view namePart = argument.substr(0, equals);
        for (const OptionRow& option : kOptions) {
            if (FindNoCase(namePart, option.name) == std::string_view::npos) {
                continue;
            }
            if (option.flag != nullptr) {
                parsed.values.*option.flag = true;
                break;
            }
            std::string_view value =
                equals == std::string_view::npos ? std::string_view() : argument.substr(equals + 1);
            if (value.size() > kMaxOptionValueLength) {
                parsed.error = "the value of " + std::string(option.name) + " is longer than " +
                               std::to_string(kMaxOptionValueLength) + " characters";
                return parsed;
            }
            parsed.values.*option.value = value;
            break;
        }
    }
    return parsed;
}

// The environment variables a run reads, after the options.
constexpr std::string_view kEnvironmentHelp =
    "\nEnvironment:\n"
    "  SOURCE_DATE_EPOCH  the time written into the pages, in seconds since 1970\n"
    "  SYLVA_THREADS=N    threads a run keeps busy, 1 to 64 (default 2; the output is the same)\n";

std::string UsageText() {
    std::string text =
        "Usage: sylva [-PROJECT=NAME] [-DESC=TEXT] [-SCAN=DIR] [-OUT=DIR] [-FORCE] [-VERBOSE]\n"
        "             [-WERROR]\n"
        "Without -FORCE the window opens with the given values filled in.\n\n";
    for (const OptionRow& option : kOptions) {
        std::string usage = std::string(option.name) + std::string(option.argument);
        usage.resize(std::max(usage.size() + 1, kUsageColumn), ' ');
        text.append("  ").append(usage).append(option.help).append("\n");
    }
    text.append(kEnvironmentHelp);
    return text;
}

}  // namespace sylva
