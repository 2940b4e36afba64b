// The command line of `sylva`: "-PROJECT=", "-DESC=", "-SCAN=", "-OUT=" with their values and the
// switches "-FORCE" (generate at once, without the window), "-VERBOSE" and "-WERROR" (a run that
// gave warnings fails), plus --help and --version.
//
// An option's name is looked for, without regard to case, anywhere in the text before the
// argument's first "="; the first name of the table found there decides. The value is
// everything after the first "=". A later value replaces an earlier one; an argument that names
// no option is ignored.
#pragma once

#include <string>

namespace sylva {

// The longest value an option takes.
inline constexpr std::size_t kMaxOptionValueLength = 259;

struct StartValues {
    std::string project;
    std::string description;
    std::string scanPath;
    std::string outputPath;
    bool force = false;
    bool verbose = false;
    bool warningsAreErrors = false;
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    StartValues values;
    // Why the command line was refused (a value too long); empty when it was not.
    std::string error;
};

// Reads argv[1] to argv[argc - 1].
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage text printed by --help, one line per option.
std::string UsageText();

}  // namespace sylva
