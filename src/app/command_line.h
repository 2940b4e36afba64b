// The command line of `sylva`: "-PROJECT=", "-DESC=", "-SCAN=", "-OUT=", "-FILTER=", "-CONFIG=",
// "-STYLE=", "-CACHE=", "-EXCLUDE=", "-PATTERNS=", "-PREDEFINED=", "-ALIAS=", "-TAGFILES=",
// "-TAGFILE=", "-DOXYFILE=", "-IMAGE-PATH=", "-EXAMPLE-PATH=", "-EXAMPLE-PATTERNS=",
// "-DIAGNOSTICS=", "-DIAGNOSTICS-BASE=", "-DIAGNOSTICS-FORMAT=", "-BASELINE=", "-JSON=",
// "-COVERAGE-MIN=" with their values, "-COVERAGE" with an optional "=FILE",
// "-BASELINE-UPDATE" and the switches "-FORCE" (generate at once, without the
// window), "-REBUILD", "-WATCH" (generate, then again after each change), "-VERBOSE" and
// "-WERROR" (a run that gave warnings fails), plus --help and --version.
//
// An option's name is looked for, without regard to case, anywhere in the text before the
// argument's first "="; the first name of the table found there decides. The value is
// everything after the first "=". A later value replaces an earlier one, except for the options
// that take lists (-SCAN, -EXCLUDE, -PATTERNS, -PREDEFINED, -ALIAS, -TAGFILES, -IMAGE-PATH,
// -EXAMPLE-PATH, -EXAMPLE-PATTERNS), where each adds; an argument that names no option sets
// nothing and is told of, with the nearest option name when one is close.
//
// One table of options serves the parsing, the --help text and the manual page, so that they
// cannot drift apart.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// The longest value an option takes.
inline constexpr std::size_t kMaxOptionValueLength = 259;

struct StartValues {
    std::string project;
    std::string description;
    std::vector<std::string> scanPaths;  // in their order; the first is the window's scan path
    std::string outputPath;
    std::string filter;             // empty: the extensions the window's Filter field starts with
    std::string configFile;         // empty: the standard file, when there is one
    std::string commentStyle;       // empty: as the configuration says
    std::string cacheDirectory;     // empty: $SYLVA_CACHE_DIR or the user's cache directory
    std::string diagnosticsFile;    // empty: no file of the run's diagnostics
    std::string diagnosticsBase;    // empty: the current directory
    std::string diagnosticsFormat;  // empty: by the file's name
    std::string baselineFile;       // empty: every warning counts
    bool baselineUpdate = false;
    std::string doxyfile;  // empty: as the configuration says
    std::string mainPage;  // empty: as the configuration (or the Doxyfile) says
    std::string tagFile;   // empty: as the configuration (or the Doxyfile) says
    // "file=location" each; an entry may hold several, ";" or "|" between them.
    std::vector<std::string> tagFiles;
    // Each entry may hold several, "|" between them, as the configuration's lists do.
    std::vector<std::string> exclusions;
    std::vector<std::string> filePatterns;
    std::vector<std::string> predefined;
    std::vector<std::string> imagePaths;
    std::vector<std::string> examplePaths;
    std::vector<std::string> examplePatterns;
    // One alias each ("name=text"): a bar in its text is part of it.
    std::vector<std::string> aliases;
    std::string modelFile;        // empty: no JSON model of the items
    bool coverage = false;        // -COVERAGE was given, with or without a file
    std::string coverageFile;     // empty: the coverage is printed only
    std::string coverageMinimum;  // empty: any coverage passes
    bool force = false;
    bool rebuild = false;
    bool watch = false;
    bool verbose = false;
    bool warningsAreErrors = false;
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    StartValues values;
    // Why the command line was refused (a value too long, an unknown comment style); empty when
    // it was not.
    std::string error;
    // One line for standard error per argument that named no option, in argument order.
    std::vector<std::string> ignored;
};

// One option of the command line: its name as matched, what follows the name in the usage
// ("=NAME"), its help line, and the start value it sets (`value` for an option with a value,
// `flag` for a switch, `list` for an option each use of which adds a value; the others are null).
struct OptionRow {
    std::string_view name;
    std::string_view argument;
    std::string_view help;
    std::string StartValues::*value;
    bool StartValues::*flag;
    std::vector<std::string> StartValues::*list;

    // --help and --version end the program at once; every other option shapes a start.
    bool EndsAtOnce() const { return name.starts_with("--"); }
};

// What the coverage counts count, as --help and the manual page state it.
inline constexpr std::string_view kCoverageRules =
    "  With -STYLE=doxygen, the public declarations of the header files (.h, .hh, .hpp, .hxx)\n"
    "  are counted: functions, classes, structs, unions, enums, typedefs, variables and macros\n"
    "  at file or namespace scope, and the public and protected members (functions, data\n"
    "  members, nested types) of such types. Not counted: what stands in an anonymous\n"
    "  namespace, a function body or @cond, a type's private part, static functions and\n"
    "  variables outside a class, friends, forward declarations, include guards, enumerators,\n"
    "  namespaces and @internal declarations (with INTERNAL_DOCS=YES they count, documented).\n"
    "  A declaration is documented when a comment documents it: a documented member of an\n"
    "  undocumented class counts as documented, its class as undocumented; an undocumented\n"
    "  override of a documented virtual member, shown with that member's text, counts as\n"
    "  documented. The sylva style has no declarations to count: coverage then says so and\n"
    "  changes no exit status.\n";

// An environment variable a run reads: its name, what follows it in the usage, its help line.
struct EnvironmentRow {
    std::string_view name;
    std::string_view argument;
    std::string_view help;
};

// The options in their order of matching.
std::span<const OptionRow> CommandLineOptions();
std::span<const EnvironmentRow> EnvironmentVariables();

// Reads argv[1] to argv[argc - 1].
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// A share in percent, 0 to 100 (as -COVERAGE-MIN takes it); nothing for any other text.
std::optional<double> ParseShare(std::string_view text);

// The usage text printed by --help, one line per option.
std::string UsageText();

}  // namespace sylva
