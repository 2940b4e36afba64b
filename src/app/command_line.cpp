#include "app/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>
#include <vector>

#include "scan/settings.h"
#include "support/diagnostic_log.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

// The order is the order of matching: an argument naming two options counts as the first.
constexpr OptionRow kOptions[] = {
    {"-PROJECT", "=NAME", "project name; its directory and pages are named after it",
     &StartValues::project, nullptr, nullptr},
    {"-DESC", "=TEXT", "project description, shown in the indexes", &StartValues::description,
     nullptr, nullptr},
    {"-SCAN", "=PATH", "directory or file to scan; each -SCAN adds one", nullptr, nullptr,
     &StartValues::scanPaths},
    {"-OUT", "=DIR", "output directory (default: the current directory)", &StartValues::outputPath,
     nullptr, nullptr},
    {"-FILTER", "=EXTENSIONS", "extensions of the files to read (default: .CPP|.C|.H|.SYL)",
     &StartValues::filter, nullptr, nullptr},
    {"-CONFIG", "=FILE", "configuration file (default: SYLVA.INI in the current directory, if any)",
     &StartValues::configFile, nullptr, nullptr},
    {"-STYLE", "=STYLE",
     "how the sources are documented: sylva (marker blocks) or doxygen (/** */, ///)",
     &StartValues::commentStyle, nullptr, nullptr},
    {"-CACHE", "=DIR", "cache directory (default: $XDG_CACHE_HOME/sylva or ~/.cache/sylva)",
     &StartValues::cacheDirectory, nullptr, nullptr},
    {"-EXCLUDE", "=PATHS", "paths or glob patterns (*/tests/*) left out of the scan; each use adds",
     nullptr, nullptr, &StartValues::exclusions},
    {"-IMAGE-PATH", "=DIRS", "where images of doxygen-style comments are also looked for (a|b)",
     nullptr, nullptr, &StartValues::imagePaths},
    // Before -PATTERNS, whose name it contains.
    {"-EXAMPLE-PATTERNS", "=GLOBS", "file name globs an example found below -EXAMPLE-PATH matches",
     nullptr, nullptr, &StartValues::examplePatterns},
    {"-EXAMPLE-PATH", "=DIRS", "where @include, @snippet and @example find their files (a|b)",
     nullptr, nullptr, &StartValues::examplePaths},
    {"-PATTERNS", "=GLOBS",
     "file name globs (*.h|*.hpp) choosing the files read instead of -FILTER", nullptr, nullptr,
     &StartValues::filePatterns},
    {"-PREDEFINED", "=MACROS",
     "macros removed from doxygen-style declarations (NAME=|NAME(x)=text)", nullptr, nullptr,
     &StartValues::predefined},
    {"-MAINPAGE", "=FILE", "Markdown file whose page the project opens with (doxygen style)",
     &StartValues::mainPage, nullptr, nullptr},
    {"-ALIAS", "=NAME=TEXT",
     "a doxygen-style command, NAME{1}=TEXT with one argument; each use adds one", nullptr, nullptr,
     &StartValues::aliases},
    // Before -TAGFILE, whose name it contains.
    {"-TAGFILES", "=FILE=URL[;...]",
     "tag files of other sites: names they document link to URL; each use adds", nullptr, nullptr,
     &StartValues::tagFiles},
    {"-TAGFILE", "=FILE", "write a tag file of the project's pages for other sites to link to",
     &StartValues::tagFile, nullptr, nullptr},
    {"-DOXYFILE", "=FILE",
     "read a Doxyfile: inputs, output, project, settings; options beside it win",
     &StartValues::doxyfile, nullptr, nullptr},
    // Before -DIAGNOSTICS and -BASELINE, whose names they contain.
    {"-DIAGNOSTICS-BASE", "=DIR",
     "locations in the diagnostics file are relative to DIR (default: here)",
     &StartValues::diagnosticsBase, nullptr, nullptr},
    {"-DIAGNOSTICS-FORMAT", "=FORMAT",
     "sarif or jsonl (default: jsonl for a file named .jsonl, else sarif)",
     &StartValues::diagnosticsFormat, nullptr, nullptr},
    {"-DIAGNOSTICS", "=FILE", "write every warning and error of the run to FILE as SARIF 2.1.0",
     &StartValues::diagnosticsFile, nullptr, nullptr},
    {"-BASELINE-UPDATE", "", "rewrite the -BASELINE file from this run's warnings", nullptr,
     &StartValues::baselineUpdate, nullptr},
    {"-BASELINE", "=FILE",
     "-WERROR counts only warnings not in FILE (missing: written from this run)",
     &StartValues::baselineFile, nullptr, nullptr},
    {"-JSON", "=FILE", "write the project's items to FILE as JSON (the sylva-model 1 schema)",
     &StartValues::modelFile, nullptr, nullptr},
    // Before -COVERAGE, whose name it contains.
    {"-COVERAGE-MIN", "=PCT",
     "exit with status 1 after the run if under PCT % of declarations are documented",
     &StartValues::coverageMinimum, nullptr, nullptr},
    {"-COVERAGE", "[=FILE]",
     "print the documentation coverage after the run; with FILE, write it as JSON",
     &StartValues::coverageFile, &StartValues::coverage, nullptr},
    {"-FORCE", "", "generate at once, without opening the window", nullptr, &StartValues::force,
     nullptr},
    {"-REBUILD", "", "read every file and build every page, as without a cache", nullptr,
     &StartValues::rebuild, nullptr},
    {"-WATCH", "", "generate, then again after each change to a file the run reads, until Ctrl-C",
     nullptr, &StartValues::watch, nullptr},
    {"-VERBOSE", "", "print every protocol line on standard output", nullptr, &StartValues::verbose,
     nullptr},
    {"-WERROR", "", "after the whole run, exit with status 1 if any warning was given", nullptr,
     &StartValues::warningsAreErrors, nullptr},
    {"--HELP", "", "print this text and exit", nullptr, &StartValues::help, nullptr},
    {"--VERSION", "", "print the version and exit", nullptr, &StartValues::version, nullptr},
};

constexpr EnvironmentRow kEnvironment[] = {
    {"SOURCE_DATE_EPOCH", "", "the time written into the pages, in seconds since 1970"},
    {"SYLVA_CACHE_DIR", "=DIR", "the cache directory, when -CACHE names none"},
    {"SYLVA_THREADS", "=N",
     "threads a run keeps busy, 1 to 64 (default 2; the output is the same)"},
};

constexpr std::string_view kIgnoredArgument = "sylva: argument \"%s\" sets nothing";
constexpr std::string_view kIgnoredNearOption =
    "sylva: argument \"%s\" sets nothing; did you mean %s?";
// A name at most this many edits from an option's (and less than half of it) is taken for a typo.
constexpr std::size_t kMostTypoEdits = 2;

constexpr std::string_view kUsageStart = "Usage: sylva";
constexpr std::string_view kUsageEnd =
    "Without -FORCE the window opens with the given values filled in.\n\n";
constexpr std::string_view kEnvironmentHeading = "\nEnvironment:\n";
constexpr std::string_view kCoverageHeading = "\nCoverage:\n";
constexpr std::size_t kUsageColumn = 18;
constexpr std::size_t kUsageWidth = 90;

// "  NAME=ARG" padded to the help column, the help, a line end.
void AppendUsageLine(std::string& text, std::string_view name, std::string_view argument,
                     std::string_view help) {
    std::string usage = std::string(name) + std::string(argument);
    usage.resize(std::max(usage.size() + 1, kUsageColumn), ' ');
    text.append("  ").append(usage).append(help).append("\n");
}

// The first option of the table whose name stands in `namePart`; none when no name does.
const OptionRow* OptionNamedIn(std::string_view namePart) {
    for (const OptionRow& option : kOptions) {
        if (FindNoCase(namePart, option.name) != std::string_view::npos) {
            return &option;
        }
    }
    return nullptr;
}

// The edits (insert, delete, replace, swap two neighbours) that turn `a` into `b`, letter case
// aside.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    const auto same = [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    };
    // Three rows of the table: two back, one back, this one.
    std::vector<std::size_t> twoBack(b.size() + 1), oneBack(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        oneBack[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = same(a[i - 1], b[j - 1]) ? 0 : 1;
            row[j] = std::min({oneBack[j] + 1, row[j - 1] + 1, oneBack[j - 1] + cost});
            if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1])) {
                row[j] = std::min(row[j], twoBack[j - 2] + 1);
            }
        }
        std::swap(twoBack, oneBack);
        std::swap(oneBack, row);
    }
    return oneBack[b.size()];
}

// The line telling that `argument` named no option, with the option whose name is nearest to its
// name part when that is close enough to be a typo.
std::string IgnoredArgumentLine(std::string_view argument, std::string_view namePart) {
    const std::string_view bare = TrimLeftView(namePart, "-");
    std::string_view nearest;
    std::size_t nearestEdits = kMostTypoEdits + 1;
    for (const OptionRow& option : kOptions) {
        const std::string_view name = TrimLeftView(option.name, "-");
        const std::size_t edits = EditDistance(bare, name);
        if (edits < nearestEdits && 2 * edits < name.size()) {
            nearest = option.name;
            nearestEdits = edits;
        }
    }
    return nearest.empty() ? FormatLine(kIgnoredArgument, {argument})
                           : FormatLine(kIgnoredNearOption, {argument, nearest});
}

}  // namespace

std::optional<double> ParseShare(std::string_view text) {
    double share = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), share);
    if (error != std::errc() || end != text.data() + text.size() || !(share >= 0 && share <= 100)) {
        return std::nullopt;
    }
    return share;
}

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
        const OptionRow* option = OptionNamedIn(namePart);
        if (option == nullptr) {
            parsed.ignored.push_back(IgnoredArgumentLine(argument, namePart));
            continue;
        }
        // An option with both a flag and a value takes its value optionally.
        if (option->flag != nullptr) {
            parsed.values.*option->flag = true;
            if (option->value == nullptr || equals == std::string_view::npos) {
                continue;
            }
        }
        std::string_view value =
            equals == std::string_view::npos ? std::string_view() : argument.substr(equals + 1);
        if (value.size() > kMaxOptionValueLength) {
            parsed.error = "the value of " + std::string(option->name) + " is longer than " +
                           std::to_string(kMaxOptionValueLength) + " characters";
            return parsed;
        }
        if (option->list != nullptr) {
            (parsed.values.*option->list).emplace_back(value);
        } else {
            parsed.values.*option->value = value;
        }
    }
    const std::string& format = parsed.values.diagnosticsFormat;
    if (!format.empty() && !ParseDiagnosticFormat(format)) {
        parsed.error =
            "unknown diagnostics format \"" + format + "\"; the formats are sarif and jsonl";
        return parsed;
    }
    const std::string& minimum = parsed.values.coverageMinimum;
    if (!minimum.empty() && !ParseShare(minimum)) {
        parsed.error = "the value of -COVERAGE-MIN is \"" + minimum +
                       "\", not a share in percent from 0 to 100";
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
    text.append(kCoverageHeading).append(kCoverageRules);
    return text;
}

}  // namespace sylva
