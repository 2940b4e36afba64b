// Reading a Doxyfile: "KEY = value" and "KEY += value" lines, "\" at a line's end continuing it,
// "#" comment lines, values split at blanks with "..." quoting a value that holds blanks (\"
// inside stands for a quote), $(VARIABLE) replaced from the environment, "@INCLUDE = file" read
// in place and "@INCLUDE_PATH" searched for included files. Relative paths stay as written:
// Doxygen takes them against the current directory, and so does the run that uses them.
//
// Nothing here knows what a key means; engine/doxyfile_settings.h maps keys to a run.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// The longest logical line and the most bytes of all files read for one Doxyfile: a real
// Doxyfile's longest line has a few thousand bytes, its whole text some hundred kilobytes.
inline constexpr std::size_t kMaxDoxyfileLine = 1 << 20;
inline constexpr std::size_t kMaxDoxyfileBytes = 16 << 20;
inline constexpr int kMaxDoxyfileIncludeDepth = 32;

struct DoxyfileProblem {
    std::string file;
    int line = 0;  // 0: the file as a whole
    std::string text;
};

struct Doxyfile {
    // Each key's values in order, "+=" lines appended; a key set to nothing holds no values.
    std::map<std::string, std::vector<std::string>, std::less<>> values;
    // Keys in the order first set.
    std::vector<std::string> keys;
    // The Doxyfile cannot be read right (missing, not a file, binary, a line too long, an
    // include cycle): a run must not go on with it.
    std::vector<DoxyfileProblem> errors;
    // The reading went on (an unterminated quote, a key set twice, an unset variable).
    std::vector<DoxyfileProblem> warnings;

    // The values of `key`; none when it was not set.
    const std::vector<std::string>* Find(std::string_view key) const;
};

// The value of an environment variable, none when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The process's environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

// Reads the Doxyfile at `path` with the files it includes.
Doxyfile ReadDoxyfile(const std::string& path,
                      const EnvironmentLookup& environment = ProcessEnvironment);

// Reads `text` as the bytes of a Doxyfile named `name`; @INCLUDE reads files as ReadDoxyfile
// does.
Doxyfile ReadDoxyfileText(std::string_view text, const std::string& name,
                          const EnvironmentLookup& environment = ProcessEnvironment);

}  // namespace sylva
