#include "app/command_line.h"

#include <algorithm>
#include <string_view>

#include "scan/settings.h"
#include "support/diagnostic_log.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

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
    {"-FILTER", "=EXTENSIONS", "extensions of the files to read (default: .CPP|.C|.H|.SYL)",
     &StartValues::filter, nullptr},
    {"-CONFIG", "=FILE", "configuration file (default: SYLVA.INI in the current directory, if any)",
     &StartValues::configFile, nullptr},
    {"-STYLE", "=STYLE",
     "how the sources are documented: sylva (marker blocks) or doxygen (/** */, ///)",
     &StartValues::commentStyle, nullptr},
    {"-CACHE", "=DIR", "cache directory (default: $XDG_CACHE_HOME/sylva or ~/.cache/sylva)",
     &StartValues::cacheDirectory, nullptr},
    // Before -DIAGNOSTICS and -BASELINE, whose names they contain.
    {"-DIAGNOSTICS-BASE", "=DIR",
     "locations in the diagnostics file are relative to DIR (default: here)",
     &StartValues::diagnosticsBase, nullptr},
    {"-DIAGNOSTICS-FORMAT", "=FORMAT",
     "sarif or jsonl (default: jsonl for a file named .jsonl, else sarif)",
     &StartValues::diagnosticsFormat, nullptr},
    {"-DIAGNOSTICS", "=FILE", "write every warning and error of the run to FILE as SARIF 2.1.0",
     &StartValues::diagnosticsFile, nullptr},
    {"-BASELINE-UPDATE", "", "rewrite the -BASELINE file from this run's warnings", nullptr,
     &StartValues::baselineUpdate},
    {"-BASELINE", "=FILE",
     "-WERROR counts only warnings not in FILE (missing: written from this run)",
     &StartValues::baselineFile, nullptr},
    {"-JSON", "=FILE", "write the project's items to FILE as JSON (the sylva-model 1 schema)",
     &StartValues::modelFile, nullptr},
    {"-FORCE", "", "generate at once, without opening the window", nullptr, &StartValues::force},
    {"-REBUILD", "", "read every file and build every page, as without a cache", nullptr,
     &StartValues::rebuild},
    {"-WATCH", "",
     "generate at once, then again after each change below the scan path, until Ctrl-C", nullptr,
     &StartValues::watch},
    {"-VERBOSE", "", "print every protocol line on standard output", nullptr,
     &StartValues::verbose},
    {"-WERROR", "", "after the whole run, exit with status 1 if any warning was given", nullptr,
     &StartValues::warningsAreErrors},
    {"--HELP", "", "print this text and exit", nullptr, &StartValues::help},
    {"--VERSION", "", "print the version and exit", nullptr, &StartValues::version},
};

constexpr EnvironmentRow kEnvironment[] = {
    {"SOURCE_DATE_EPOCH", "", "the time written into the pages, in seconds since 1970"},
    {"SYLVA_CACHE_DIR", "=DIR", "the cache directory, when -CACHE names none"},
    {"SYLVA_THREADS", "=N",
     "threads a run keeps busy, 1 to 64 (default 2; the output is the same)"},
};

constexpr std::string_view kUsageStart = "Usage: sylva";
constexpr std::string_view kUsageEnd =
    "Without -FORCE the window opens with the given values filled in.\n\n";
constexpr std::string_view kEnvironmentHeading = "\nEnvironment:\n";
constexpr std::size_t kUsageColumn = 18;
constexpr std::size_t kUsageWidth = 90;

// "  NAME=ARG" padded to the help column, the help, a line end.
void AppendUsageLine(std::string& text, std::string_view name, std::string_view argument,
                     std::string_view help) {
    std::string usage = std::string(name) + std::string(argument);
    usage.resize(std::max(usage.size() + 1, kUsageColumn), ' ');
    text.append("  ").append(usage).append(help).append("\n");
}

}  // namespace

std::span<const OptionRow> CommandLineOptions() {
    return kOptions;
}

std::span<const EnvironmentRow> EnvironmentVariables() {
    return kEnvironment;
}

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
    const std::string& format = parsed.values.diagnosticsFormat;
    if (!format.empty() && !ParseDiagnosticFormat(format)) {
        parsed.error =
            "unknown diagnostics format \"" + format + "\"; the formats are sarif and jsonl";
        return parsed;
    }
    const std::string& style = parsed.values.commentStyle;
    if (!style.empty() && !ParseCommentStyle(style)) {
        parsed.error = "unknown comment style \"" + style + "\"; the styles are sylva and doxygen";
    }
    return parsed;
}

std::string UsageText() {
    // The synopsis: "[-NAME=ARG]" of every option a start takes, wrapped below its first entry.
    std::string text(kUsageStart);
    std::size_t lineStart = 0;
    for (const OptionRow& option : kOptions) {
        if (option.EndsAtOnce()) {
            continue;
        }
        // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
        std::string entry = "[";
        entry.append(option.name).append(option.argument).append("]");
        if (text.size() - lineStart + 1 + entry.size() > kUsageWidth) {
            text.push_back('\n');
            lineStart = text.size();
            text.append(kUsageStart.size(), ' ');
        }
        text.append(" ").append(entry);
    }
    text.append("\n").append(kUsageEnd);
    for (const OptionRow& option : kOptions) {
        AppendUsageLine(text, option.name, option.argument, option.help);
    }
    text.append(kEnvironmentHeading);
    for (const EnvironmentRow& variable : kEnvironment) {
        AppendUsageLine(text, variable.name, variable.argument, variable.help);
    }
    return text;
}

}  // namespace sylva
