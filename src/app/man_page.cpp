#include "app/man_page.h"

#include "app/batch.h"
#include "app/command_line.h"
#include "support/setting_table.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kHeader = ".TH SYLVA 1 \"\" \"Sylva %s\" \"User Commands\"\n";
constexpr std::string_view kName =
    ".SH NAME\n"
    "sylva \\- documentation generator for C and C++\n";
constexpr std::string_view kDescription =
    ".SH DESCRIPTION\n"
    "Sylva finds the documentation comment blocks in the C and C++ sources below a directory "
    "(a line starting with /**\\-\\- opens one, a line ending with \\-\\-e*/ closes it), takes the "
    "declaration beside each block, and writes linked HTML pages: one page per item, a project "
    "index with a frame set, and a master index of every project of the output directory.\n"
    ".PP\n"
    "With \\fB\\-FORCE\\fR it generates at once, without a display; otherwise it opens its "
    "window with the given values filled in. Option names are matched without regard to case; "
    "a value is everything after the first \\(lq=\\(rq and may be at most %s characters long.\n";
constexpr std::string_view kOptionsHeading = ".SH OPTIONS\n";
constexpr std::string_view kEnvironmentHeading = ".SH ENVIRONMENT\n";
constexpr std::string_view kCoverageHeading = ".SH COVERAGE\n";
constexpr std::string_view kFiles =
    ".SH FILES\n"
    ".TP\n"
    ".I SYLVA.INI\n"
    "The configuration file read from the current directory when \\fB\\-CONFIG\\fR names none. "
    "Its lines \\fIKEY\\fR=\\fIvalue\\fR replace comment markers, keyword lists, fonts and HTML "
    "templates. Its absence does not change the run or its exit status: the built-in defaults "
    "serve. Only with \\fB\\-VERBOSE\\fR does the protocol say that it cannot be accessed.\n";
constexpr std::string_view kKeysHeading =
    ".SH CONFIGURATION KEYS\n"
    "A line \\fIKEY\\fR=\\fIvalue\\fR of a configuration file replaces the built-in default "
    "of its key; lines of another form are skipped. The keys, with their defaults:\n";
constexpr std::string_view kShortDefault = "Default: \\(lq%s\\(rq.";
constexpr std::string_view kEmptyDefault = "Default: empty.";
constexpr std::string_view kLongDefault = "Default: a built-in text of %s bytes.";
constexpr std::string_view kThemeFile =
    ".TP\n"
    ".I %s\n"
    "A theme: a configuration file that replaces the HTML templates. Name it with "
    "\\fB\\-CONFIG\\fR.\n";
constexpr std::string_view kExitStatus =
    ".SH EXIT STATUS\n"
    ".TP\n"
    "%s\n"
    "The documentation was generated and everything was written.\n"
    ".TP\n"
    "%s\n"
    "The run went through, but a page, an index or the master index could not be written or the "
    "sources could not be read; or warnings were given under \\fB\\-WERROR\\fR.\n"
    ".TP\n"
    "%s\n"
    "Nothing was generated: an argument, a name or a check was refused, a question was answered "
    "No, or the configuration file named by \\fB\\-CONFIG\\fR cannot be read.\n";
constexpr std::string_view kExamples =
    ".SH EXAMPLES\n"
    "Document the sources below \\fIsrc\\fR as the project Nursery into \\fIdoc\\fR, then with "
    "the modern theme:\n"
    ".PP\n"
    ".RS\n"
    ".nf\n"
    "sylva \\-PROJECT=Nursery \"\\-DESC=A tree nursery\" \\-SCAN=src \\-OUT=doc \\-FORCE\n"
    "sylva \\-CONFIG=%s \\-PROJECT=Nursery \\-SCAN=src \\-OUT=doc \\-FORCE\n"
    ".fi\n"
    ".RE\n"
    ".PP\n"
    "Document headers whose comments are written in the Javadoc/Doxygen style, such as\n"
    ".PP\n"
    ".RS\n"
    ".nf\n"
    "/**\n"
    " * Fills a pond to the given depth.\n"
    " * @param depth how deep, in centimetres\n"
    " * @return 0 on success, \\-1 when the pond leaks\n"
    " */\n"
    "int pond_fill(int depth);\n"
    ".fi\n"
    ".RE\n"
    ".PP\n"
    "with\n"
    ".PP\n"
    ".RS\n"
    ".nf\n"
    "sylva \\-STYLE=doxygen \\-PROJECT=Pond \\-SCAN=include \\-OUT=doc \\-FORCE\n"
    ".fi\n"
    ".RE\n";

// Defaults longer than this, or holding bytes that are not printable ASCII (templates, the German
// keywords in Windows-1252), are told by their length: the page stays readable and plain ASCII.
constexpr std::size_t kShownDefaultLength = 48;

// `text` as roff input text: backslashes and minus signs escaped, and a control character at the
// start of the line made plain.
std::string Escaped(std::string_view text) {
    std::string escaped;
    if (text.starts_with('.') || text.starts_with('\'')) {
        escaped = "\\&";
    }
    for (char c : text) {
        if (c == '\\') {
            escaped.append("\\e");
        } else if (c == '-') {
            escaped.append("\\-");
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

// "NAME=ARG" with the name and the "=" in bold and the rest in italics.
std::string Usage(std::string_view name, std::string_view argument) {
    std::string_view equals = argument.starts_with('=') ? "=" : "";
    argument.remove_prefix(equals.size());
    std::string usage = "\\fB" + Escaped(name) + std::string(equals);
    if (!argument.empty()) {
        usage.append("\\fI").append(Escaped(argument));
    }
    return usage.append("\\fR");
}

void AppendTaggedParagraph(std::string& page, const std::string& tag, std::string_view text) {
    page.append(".TP\n").append(tag).append("\n").append(Escaped(text)).append("\n");
}

std::string DefaultText(std::string_view value) {
    if (value.empty()) {
        return std::string(kEmptyDefault);
    }
    bool plain = value.size() <= kShownDefaultLength;
    for (char c : value) {
        plain = plain && c >= 0x20 && c < 0x7F;
    }
    return plain ? FormatLine(kShortDefault, {Escaped(value)})
                 : FormatLine(kLongDefault, {std::to_string(value.size())});
}

// One paragraph per configuration key, in the settings table's order.
std::string ConfigurationKeys() {
    std::string keys(kKeysHeading);
    for (const SettingDefinition& setting : kSettingDefinitions) {
        if (!setting.key.empty()) {
            keys.append(".TP\n\\fB")
                .append(Escaped(setting.key))
                .append("\\fR\n")
                .append(DefaultText(setting.defaultValue))
                .append("\n");
        }
    }
    return keys;
}

std::string Synopsis() {
    std::string synopsis = ".SH SYNOPSIS\n.B sylva\n";
    for (const OptionRow& option : CommandLineOptions()) {
        if (!option.EndsAtOnce()) {
            // "\%" first in a word keeps it from being hyphenated.
            synopsis.append("\\%[").append(Usage(option.name, option.argument)).append("]\n");
        }
    }
    for (const OptionRow& option : CommandLineOptions()) {
        if (option.EndsAtOnce()) {
            synopsis.append(".br\n.B sylva\n").append(Usage(option.name, "")).append("\n");
        }
    }
    return synopsis;
}

}  // namespace

std::string ManPage(std::string_view themesDirectory, std::span<const std::string> themeFiles) {
    const std::string themes(themesDirectory);
    std::string page = FormatLine(kHeader, {SYLVA_VERSION});
    page.append(kName).append(Synopsis());
    page.append(FormatLine(kDescription, {std::to_string(kMaxOptionValueLength)}));
    page.append(kOptionsHeading);
    for (const OptionRow& option : CommandLineOptions()) {
        AppendTaggedParagraph(page, Usage(option.name, option.argument), option.help);
    }
    page.append(kEnvironmentHeading);
    for (const EnvironmentRow& variable : EnvironmentVariables()) {
        AppendTaggedParagraph(page, Usage(variable.name, variable.argument), variable.help);
    }
    page.append(kCoverageHeading).append(Escaped(kCoverageRules));
    page.append(kFiles);
    for (const std::string& theme : themeFiles) {
        page.append(FormatLine(kThemeFile, {Escaped(themes + "/" + theme)}));
    }
    page.append(ConfigurationKeys());
    page.append(FormatLine(kExitStatus, {std::to_string(kExitOk), std::to_string(kExitFailures),
                                         std::to_string(kExitNotRun)}));
    std::string example = themeFiles.empty() ? themes + "/THEME.ini" : themes + "/" + themeFiles[0];
    page.append(FormatLine(kExamples, {Escaped(example)}));
    return page;
}

}  // namespace sylva
