#include "engine/doxyfile_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "scan/doxygen/aliases.h"
#include "support/text_format.h"

namespace sylva {

namespace {

// The file patterns Doxygen reads when FILE_PATTERNS is empty, those of the languages Sylva
// reads.
constexpr std::string_view kDefaultPatterns =
    "*.c|*.cc|*.cxx|*.cpp|*.c++|*.ii|*.ixx|*.ipp|*.i++|*.inl|*.idl|*.ddl|*.odl|*.h|*.hh|*.hxx|"
    "*.hpp|*.h++|*.inc|*.md|*.markdown";
constexpr std::string_view kDefaultProjectName = "My Project";
constexpr std::string_view kDefaultHtmlOutput = "html";

constexpr std::string_view kMissingInput = "INPUT names %s, which does not exist; it is left out";
constexpr std::string_view kNoInput = "no file or directory that INPUT names exists";
constexpr std::string_view kNotAlias =
    "ALIASES entry \"%s\" is not name=text or name{n}=text; it is left out";
constexpr std::string_view kNotHonoured = "%s is set, but Sylva does not honour it: %s";

// Keys whose value, when set, changes the site in a way Sylva cannot follow, with why.
struct Refused {
    std::string_view key;
    std::string_view why;
};
constexpr std::array<Refused, 5> kRefused = {{
    {"INPUT_FILTER", "no filter program is ever run; the files are read as they are"},
    {"FILTER_PATTERNS", "no filter program is ever run; the files are read as they are"},
    {"FILTER_SOURCE_FILES", "no filter program is ever run"},
    {"EXCLUDE_SYMBOLS", "the symbols it names are documented"},
    {"WARN_LOGFILE", "warnings go to standard error"},
}};

// Keys that Sylva reads, or whose every value gives the site Sylva writes anyway.
constexpr std::array<std::string_view, 35> kUsed = {
    "ALIASES",
    "INPUT",
    "FILE_PATTERNS",
    "RECURSIVE",
    "EXCLUDE",
    "EXCLUDE_PATTERNS",
    "EXCLUDE_SYMLINKS",
    "PROJECT_NAME",
    "PROJECT_NUMBER",
    "PROJECT_BRIEF",
    "OUTPUT_DIRECTORY",
    "HTML_OUTPUT",
    "STRIP_FROM_PATH",
    "EXTRACT_PRIVATE",
    "EXTRACT_STATIC",
    "INTERNAL_DOCS",
    "ENABLE_PREPROCESSING",
    "MACRO_EXPANSION",
    "EXPAND_ONLY_PREDEF",
    "PREDEFINED",
    "WARN_AS_ERROR",
    "QUIET",
    "SEARCHENGINE",
    "GENERATE_HTML",
    "JAVADOC_AUTOBRIEF",
    "QT_AUTOBRIEF",
    "MARKDOWN_SUPPORT",
    "AUTOLINK_SUPPORT",
    "USE_MDFILE_AS_MAINPAGE",
    "GENERATE_TAGFILE",
    "TAGFILES",
    "IMAGE_PATH",
    "EXAMPLE_PATH",
    "EXAMPLE_PATTERNS",
    "EXAMPLE_RECURSIVE",
};

std::string Joined(const std::vector<std::string>* values, std::string_view separator) {
    std::string text;
    if (values == nullptr) {
        return text;
    }
    for (const std::string& value : *values) {
        if (!text.empty()) {
            text.append(separator);
        }
        text.append(value);
    }
    return text;
}

// YES, and the values Doxygen takes for it; `fallback` when the key is not set or empty.
bool IsYes(const Doxyfile& doxyfile, std::string_view key, bool fallback) {
    const std::vector<std::string>* values = doxyfile.Find(key);
    if (values == nullptr || values->empty()) {
        return fallback;
    }
    return IsSwitchedOn(values->front());
}

// Entries of a list key, a value holding commas split at them (Doxygen's lists take both).
std::vector<std::string> ListOf(const Doxyfile& doxyfile, std::string_view key) {
    std::vector<std::string> list;
    if (const std::vector<std::string>* values = doxyfile.Find(key)) {
        for (const std::string& value : *values) {
            std::string_view rest = value;
            while (!rest.empty()) {
                const std::size_t comma = rest.find(',');
                if (!rest.substr(0, comma).empty()) {
                    list.emplace_back(rest.substr(0, comma));
                }
                rest =
                    comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            }
        }
    }
    return list;
}

}  // namespace

DoxyfileRun MapDoxyfile(const Doxyfile& doxyfile) {
    DoxyfileRun run;
    run.projectName = Joined(doxyfile.Find("PROJECT_NAME"), " ");
    if (run.projectName.empty()) {
        run.projectName = kDefaultProjectName;
    }
    const std::string number = Joined(doxyfile.Find("PROJECT_NUMBER"), " ");
    const std::string brief = Joined(doxyfile.Find("PROJECT_BRIEF"), " ");
    run.projectDesc = number.empty() || brief.empty() ? number + brief : number + " - " + brief;
    std::string output = Joined(doxyfile.Find("OUTPUT_DIRECTORY"), " ");
    std::string html = Joined(doxyfile.Find("HTML_OUTPUT"), " ");
    html = html.empty() ? std::string(kDefaultHtmlOutput) : html;
    run.outputPath = html.starts_with('/') ? html : (output.empty() ? "." : output) + "/" + html;

    for (std::string& input : ListOf(doxyfile, "INPUT")) {
        struct stat info {};
        if (::stat(input.c_str(), &info) != 0) {
            run.warnings.push_back(FormatLine(kMissingInput, {input}));
        } else {
            run.inputs.push_back(std::move(input));
        }
    }
    if (doxyfile.Find("INPUT") == nullptr || doxyfile.Find("INPUT")->empty()) {
        run.inputs.emplace_back(".");
    } else if (run.inputs.empty()) {
        run.errors.emplace_back(kNoInput);
    }
    run.recursive = IsYes(doxyfile, "RECURSIVE", false);
    run.extractPrivate = IsYes(doxyfile, "EXTRACT_PRIVATE", false);
    run.warningsAreErrors = IsYes(doxyfile, "WARN_AS_ERROR", false);

    run.settings.emplace_back(SYL_COMMENT_STYLE, "doxygen");
    std::vector<std::string> patterns = ListOf(doxyfile, "FILE_PATTERNS");
    run.settings.emplace_back(SYL_FILE_PATTERNS, patterns.empty() ? std::string(kDefaultPatterns)
                                                                  : JoinSettingList(patterns));
    std::vector<std::string> excluded = ListOf(doxyfile, "EXCLUDE");
    for (std::string& pattern : ListOf(doxyfile, "EXCLUDE_PATTERNS")) {
        excluded.push_back(std::move(pattern));
    }
    run.settings.emplace_back(SYL_EXCLUDE, JoinSettingList(excluded));
    run.settings.emplace_back(SYL_EXCLUDE_SYMLINKS,
                              IsYes(doxyfile, "EXCLUDE_SYMLINKS", false) ? "1" : "0");
    // Doxygen replaces predefined macros in the code only when it expands macros at all.
    const bool expands =
        IsYes(doxyfile, "ENABLE_PREPROCESSING", true) && IsYes(doxyfile, "MACRO_EXPANSION", false);
    const std::vector<std::string>* predefined = doxyfile.Find("PREDEFINED");
    run.settings.emplace_back(SYL_PREDEFINED, expands && predefined != nullptr
                                                  ? JoinSettingList(*predefined)
                                                  : std::string());
    if (const std::vector<std::string>* aliases = doxyfile.Find("ALIASES")) {
        const CommentAliases read(*aliases);
        for (const std::string& rejected : read.Rejected()) {
            run.warnings.push_back(FormatLine(kNotAlias, {rejected}));
        }
        run.settings.emplace_back(SYL_ALIASES, JoinAliasList(*aliases));
    }
    run.settings.emplace_back(SYL_HTML_SEARCH, IsYes(doxyfile, "SEARCHENGINE", true) ? "1" : "0");
    run.settings.emplace_back(SYL_MAIN_PAGE, Joined(doxyfile.Find("USE_MDFILE_AS_MAINPAGE"), " "));
    run.settings.emplace_back(SYL_TAG_FILE, Joined(doxyfile.Find("GENERATE_TAGFILE"), " "));
    // Each value is one "file=location"; a location may hold commas, so they are not split.
    const std::vector<std::string>* tagFiles = doxyfile.Find("TAGFILES");
    run.settings.emplace_back(SYL_TAG_FILES,
                              tagFiles != nullptr ? JoinSettingList(*tagFiles) : std::string());
    run.settings.emplace_back(SYL_DOXYGEN_INTERNAL_DOCS,
                              IsYes(doxyfile, "INTERNAL_DOCS", false) ? "1" : "0");
    run.settings.emplace_back(SYL_IMAGE_PATH, JoinSettingList(ListOf(doxyfile, "IMAGE_PATH")));
    run.settings.emplace_back(SYL_EXAMPLE_PATH, JoinSettingList(ListOf(doxyfile, "EXAMPLE_PATH")));
    run.settings.emplace_back(SYL_EXAMPLE_PATTERNS,
                              JoinSettingList(ListOf(doxyfile, "EXAMPLE_PATTERNS")));
    run.settings.emplace_back(SYL_EXAMPLE_RECURSIVE,
                              IsYes(doxyfile, "EXAMPLE_RECURSIVE", false) ? "1" : "0");

    for (const std::string& key : doxyfile.keys) {
        const std::vector<std::string>& values = doxyfile.values.at(key);
        auto refused = std::find_if(kRefused.begin(), kRefused.end(),
                                    [&key](const Refused& r) { return r.key == key; });
        if (refused != kRefused.end()) {
            if (!values.empty()) {
                run.warnings.push_back(FormatLine(kNotHonoured, {key, std::string(refused->why)}));
            }
            continue;
        }
        if (std::find(kUsed.begin(), kUsed.end(), key) == kUsed.end()) {
            run.unusedKeys.push_back(key);
        }
    }
    return run;
}

}  // namespace sylva
