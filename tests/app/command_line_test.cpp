#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/man_page.h"
#include "support/setting_table.h"
#include "test_support/process.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

ParsedCommandLine Parse(std::vector<std::string> arguments) {
    std::vector<const char*> argv{"sylva"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(ParseCommandLine, ReadsTheFourValuesAndTheSwitches) {
    ParsedCommandLine parsed = Parse({"-PROJECT=Demo", "-DESC=A demo project", "-SCAN=src",
                                      "-OUT=doc", "-CONFIG=theme.ini", "-FORCE", "-VERBOSE"});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.values.project, "Demo");
    EXPECT_EQ(parsed.values.description, "A demo project");
    EXPECT_EQ(parsed.values.scanPaths, std::vector<std::string>{"src"});
    EXPECT_EQ(parsed.values.outputPath, "doc");
    EXPECT_EQ(parsed.values.configFile, "theme.ini");
    EXPECT_TRUE(parsed.values.force);
    EXPECT_TRUE(parsed.values.verbose);
    EXPECT_FALSE(parsed.values.warningsAreErrors);
    EXPECT_FALSE(parsed.values.help);
}

TEST(ParseCommandLine, WerrorIsASwitchInAnyCase) {
    for (const char* argument : {"-WERROR", "-Werror", "--werror"}) {
        StartValues values = Parse({argument, "-FORCE"}).values;
        EXPECT_TRUE(values.warningsAreErrors) << argument;
        EXPECT_TRUE(values.force) << argument;
        EXPECT_FALSE(values.verbose) << argument;
    }
    EXPECT_FALSE(Parse({"-DESC=-WERROR"}).values.warningsAreErrors);
}

TEST(ParseCommandLine, MatchesNamesAnywhereBeforeTheFirstEqualsSign) {
    struct Case {
        std::string argument;
        std::string StartValues::*field;
        std::string expected;
    };
    const Case cases[] = {
        {"-project=lower case", &StartValues::project, "lower case"},
        {"-Doxyfile=docs/Doxyfile", &StartValues::doxyfile, "docs/Doxyfile"},
        {"-OUTPUT=x", &StartValues::outputPath, "x"},
        {"--out=y", &StartValues::outputPath, "y"},
        {"-config=/usr/share/sylva/themes/modern.ini", &StartValues::configFile,
         "/usr/share/sylva/themes/modern.ini"},
        {"-style=Doxygen", &StartValues::commentStyle, "Doxygen"},
        {"-STYLE=sylva", &StartValues::commentStyle, "sylva"},
        {"-filter=.h|.hpp", &StartValues::filter, ".h|.hpp"},
        // Only the text before the first "=" names the option: a path holding an option name
        // stays a value.
        {"-OUT=/home/me/my-project", &StartValues::outputPath, "/home/me/my-project"},
        {"-CACHE=/src/-DESC/files", &StartValues::cacheDirectory, "/src/-DESC/files"},
        // Two names before the "=": the first of the fixed order wins.
        {"-SCAN-PROJECT=both", &StartValues::project, "both"},
        {"-OUT-DESC=both", &StartValues::description, "both"},
        // The value is everything after the first "=".
        {"-DESC=a=b=c", &StartValues::description, "a=b=c"},
        {"-DESC=x -project=y", &StartValues::description, "x -project=y"},
        {"-DESC", &StartValues::description, ""},
        {"-DESC=", &StartValues::description, ""},
    };
    for (const Case& c : cases) {
        ParsedCommandLine parsed = Parse({c.argument});
        EXPECT_EQ(parsed.values.*c.field, c.expected) << c.argument;
        EXPECT_FALSE(parsed.values.force) << c.argument;
    }
}

TEST(ParseCommandLine, ALaterValueReplacesAnEarlierOneAndUnknownArgumentsAreTold) {
    ParsedCommandLine parsed =
        Parse({"-PROJECT=first", "stray", "-UNKNOWN=1", "/path", "-PROJECT=second"});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.values.project, "second");
    EXPECT_TRUE(parsed.values.scanPaths.empty());
    EXPECT_EQ(parsed.ignored, (std::vector<std::string>{"sylva: argument \"stray\" sets nothing",
                                                        "sylva: argument \"-UNKNOWN=1\" sets "
                                                        "nothing",
                                                        "sylva: argument \"/path\" sets nothing"}));
}

TEST(ParseCommandLine, AnArgumentThatSetsNothingNamesTheNearestOptionWhenOneIsClose) {
    const std::pair<const char*, const char*> cases[] = {
        {"-STYEL=doxygen", "-STYLE"},  // two letters swapped
        {"-VERBSE", "-VERBOSE"},       // one left out
        {"--verbse", "-VERBOSE"},      // in another case and with two dashes
        {"-PROJCT=x", "-PROJECT"},    {"-SACN=src", "-SCAN"},
        {"-WEROR", "-WERROR"},        {"--hepl", "--HELP"},
        {"-FROCE", "-FORCE"},         {"-XYZ", nullptr},  // as far from every name as it is long
        {"-O=doc", nullptr},          {"-VERB", nullptr},
    };
    for (const auto& [argument, nearest] : cases) {
        ParsedCommandLine parsed = Parse({argument});
        ASSERT_EQ(parsed.ignored.size(), 1u) << argument;
        const std::string told = "sylva: argument \"" + std::string(argument) + "\" sets nothing";
        EXPECT_EQ(parsed.ignored[0], nearest ? told + "; did you mean " + nearest + "?" : told);
        EXPECT_TRUE(parsed.error.empty()) << argument;
    }
    EXPECT_TRUE(Parse({"-STYLE=doxygen", "-VERBOSE", "-DESC"}).ignored.empty());
}

TEST(ParseCommandLine, EachUseOfAListOptionAddsAValue) {
    StartValues values =
        Parse({"-SCAN=include", "-Scan=examples", "-SCAN=/src/-DESC/files", "-EXCLUDE=*/tests/*",
               "-exclude=third_party|build", "-PATTERNS=*.h",
               "-PREDEFINED=CV_EXPORTS=", "-PREDEFINED=__attribute__(x)=",
               "-ALIAS=sideeffect=@par Side effects:", "-alias=or=a|b", "-IMAGE-PATH=art",
               "-image-path=logos|icons", "-EXAMPLE-PATTERNS=*.c", "-EXAMPLE-PATH=examples"})
            .values;
    EXPECT_EQ(values.scanPaths,
              (std::vector<std::string>{"include", "examples", "/src/-DESC/files"}));
    EXPECT_EQ(values.exclusions, (std::vector<std::string>{"*/tests/*", "third_party|build"}));
    EXPECT_EQ(values.filePatterns, std::vector<std::string>{"*.h"});
    EXPECT_EQ(values.predefined, (std::vector<std::string>{"CV_EXPORTS=", "__attribute__(x)="}));
    EXPECT_EQ(values.aliases,
              (std::vector<std::string>{"sideeffect=@par Side effects:", "or=a|b"}));
    EXPECT_TRUE(values.description.empty());
    // -EXAMPLE-PATTERNS holds -PATTERNS, and is told apart from it.
    EXPECT_EQ(values.imagePaths, (std::vector<std::string>{"art", "logos|icons"}));
    EXPECT_EQ(values.examplePatterns, std::vector<std::string>{"*.c"});
    EXPECT_EQ(values.examplePaths, std::vector<std::string>{"examples"});
}

TEST(ParseCommandLine, ForceCountsWhateverElseTheArgumentHolds) {
    EXPECT_TRUE(Parse({"-force"}).values.force);
    EXPECT_TRUE(Parse({"x-FORCEy"}).values.force);
    EXPECT_FALSE(Parse({"-DESC=-FORCE"}).values.force);
}

TEST(ParseCommandLine, RefusesAValueLongerThan259Characters) {
    EXPECT_TRUE(Parse({"-SCAN=" + std::string(259, 's')}).error.empty());
    ParsedCommandLine parsed = Parse({"-SCAN=" + std::string(260, 's')});
    EXPECT_EQ(parsed.error, "the value of -SCAN is longer than 259 characters");
}

TEST(ParseCommandLine, RefusesACommentStyleItDoesNotKnow) {
    for (const char* style : {"", "-STYLE=", "-STYLE=DOXYGEN", "-STYLE=Sylva"}) {
        EXPECT_TRUE(Parse({style}).error.empty()) << style;
    }
    for (const char* style : {"javadoc", "doxygen ", "sylva,doxygen"}) {
        EXPECT_EQ(Parse({std::string("-STYLE=") + style}).error,
                  "unknown comment style \"" + std::string(style) +
                      "\"; the styles are sylva and doxygen")
            << style;
    }
}

TEST(ParseCommandLine, HelpAndVersion) {
    EXPECT_TRUE(Parse({"--help"}).values.help);
    EXPECT_TRUE(Parse({"--version"}).values.version);
    EXPECT_FALSE(Parse({"--version"}).values.verbose);
}

// The usage and the manual page both come from the option table: every option and environment
// variable is in both, and the page is roff that renders without a warning.
TEST(UsageAndManualPage, NameEveryOptionAndTheInstalledThemes) {
    const std::vector<std::string> usages = {"-PROJECT=NAME",
                                             "-DESC=TEXT",
                                             "-SCAN=PATH",
                                             "-OUT=DIR",
                                             "-FILTER=EXTENSIONS",
                                             "-CONFIG=FILE",
                                             "-STYLE=STYLE",
                                             "-FORCE",
                                             "-VERBOSE",
                                             "-WERROR",
                                             "--HELP",
                                             "--VERSION",
                                             "SOURCE_DATE_EPOCH",
                                             "SYLVA_THREADS=N",
                                             "-EXCLUDE=PATHS",
                                             "-PATTERNS=GLOBS",
                                             "-PREDEFINED=MACROS",
                                             "-DOXYFILE=FILE",
                                             "-IMAGE-PATH=DIRS",
                                             "-EXAMPLE-PATH=DIRS",
                                             "-EXAMPLE-PATTERNS=GLOBS"};
    std::string usage = UsageText();
    for (const std::string& name : usages) {
        EXPECT_NE(usage.find("\n  " + name + " "), std::string::npos) << name;
    }
    for (std::size_t start = 0, end; start < usage.size(); start = end + 1) {
        end = usage.find('\n', start);
        EXPECT_LE(end - start, 100u) << usage.substr(start, end - start);
    }

    if (std::system("command -v groff >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "groff is not installed";
    }
    test::ScratchDir dir;
    const std::vector<std::string> themes = {"modern.ini", "plain.ini"};
    dir.Write("sylva.1", ManPage("/opt/sy-lva/themes", themes));
    test::ProcessOptions inScratch;
    inScratch.cwd = dir.path();
    test::ProcessResult rendered =
        test::RunProcess("/bin/sh", {"-c", "groff -man -Tascii -ww -P-cbou sylva.1"}, inScratch);
    ASSERT_EQ(rendered.status, 0) << rendered.err;
    EXPECT_EQ(rendered.err, "");
    const std::string& text = rendered.out;
    for (const std::string& name : usages) {
        EXPECT_NE(text.find(name), std::string::npos) << name << " in\n" << text;
    }
    for (const std::string& theme : themes) {
        EXPECT_NE(text.find("/opt/sy-lva/themes/" + theme), std::string::npos) << theme;
    }
    EXPECT_NE(text.find("Sylva " SYLVA_VERSION), std::string::npos);
    // Every configuration key of the settings table, and an example in the doxygen style.
    for (const SettingDefinition& setting : kSettingDefinitions) {
        if (!setting.key.empty()) {
            EXPECT_NE(text.find(std::string(setting.key) + "\n"), std::string::npos) << setting.key;
        }
    }
    EXPECT_NE(text.find("SYL_HTML_SEARCH\n              Default: \"0\"."), std::string::npos);
    EXPECT_NE(text.find("@param depth"), std::string::npos);
    EXPECT_NE(text.find("sylva -STYLE=doxygen"), std::string::npos);
    for (char c : text) {
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << static_cast<int>(c);
    }
}
}  // namespace
}  // namespace sylva
