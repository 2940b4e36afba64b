#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    ParsedCommandLine parsed = Parse(
        {"-PROJECT=Demo", "-DESC=A demo project", "-SCAN=src", "-OUT=doc", "-FORCE", "-VERBOSE"});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.values.project, "Demo");
    EXPECT_EQ(parsed.values.description, "A demo project");
    EXPECT_EQ(parsed.values.scanPath, "src");
    EXPECT_EQ(parsed.values.outputPath, "doc");
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
        {"-Scan=mixed", &StartValues::scanPath, "mixed"},
        {"-OUTPUT=x", &StartValues::outputPath, "x"},
        {"--out=y", &StartValues::outputPath, "y"},
        // Only the text before the first "=" names the option: a path holding an option name
        // stays a value.
        {"-OUT=/home/me/my-project", &StartValues::outputPath, "/home/me/my-project"},
        {"-SCAN=/src/-DESC/files", &StartValues::scanPath, "/src/-DESC/files"},
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

TEST(ParseCommandLine, ALaterValueReplacesAnEarlierOneAndUnknownArgumentsAreIgnored) {
    ParsedCommandLine parsed =
        Parse({"-PROJECT=first", "stray", "-UNKNOWN=1", "/path", "-PROJECT=second"});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.values.project, "second");
    EXPECT_TRUE(parsed.values.scanPath.empty());
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

TEST(ParseCommandLine, HelpAndVersion) {
    EXPECT_TRUE(Parse({"--help"}).values.help);
    EXPECT_TRUE(Parse({"--version"}).values.version);
    EXPECT_FALSE(Parse({"--version"}).values.verbose);
    std::string usage = UsageText();
    for (const char* name : {"-PROJECT=NAME", "-DESC=TEXT", "-SCAN=DIR", "-OUT=DIR", "-FORCE",
                             "-VERBOSE", "-WERROR", "--HELP", "--VERSION"}) {
        EXPECT_NE(usage.find(name), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace sylva
