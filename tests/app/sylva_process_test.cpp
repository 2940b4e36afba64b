// Runs the `sylva` program as a user's shell would and checks its output, files and exit status.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "test_support/process.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using test::ProcessOptions;
using test::ProcessResult;
using test::Tree;

ProcessResult RunSylva(const std::vector<std::string>& arguments, const ProcessOptions& options) {
    return test::RunProcess(SYLVA_BINARY, arguments, options);
}

constexpr const char* kSource =
    "/**--\n"
    "Description: Draws the \"Canvas\".\n"
    "--e*/\n"
    "void Draw(int x);\n"
    "\n"
    "/**--\n"
    "Description: Where drawing happens.\n"
    "--e*/\n"
    "class Canvas\n"
    "\n";

class SylvaProcessTest : public ::testing::Test {
  protected:
    SylvaProcessTest() {
        dir_.Write("src/draw.h", kSource);
        run_.cwd = dir_.path();
        run_.environment = {"SOURCE_DATE_EPOCH=1700000000", "TZ=UTC"};
    }

    test::ScratchDir dir_;
    ProcessOptions run_;
};

TEST_F(SylvaProcessTest, VersionAndHelp) {
    ProcessResult version = RunSylva({"--version"}, run_);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Sylva " SYLVA_VERSION "\n");
    ProcessResult help = RunSylva({"--help"}, run_);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("-FORCE"), std::string::npos);
}

TEST_F(SylvaProcessTest, ForceAloneStopsAtTheFirstCheck) {
    ProcessResult result = RunSylva({"-FORCE"}, run_);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "Scan path is empty, please enter a valid path name.\n");
    EXPECT_EQ(Tree(dir_.path()).size(), 1u);
}

TEST_F(SylvaProcessTest, WithoutOutWritesIntoTheCurrentDirectory) {
    ProcessResult result = RunSylva({"-PROJECT=Demo", "-SCAN=src", "-force"}, run_);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(std::filesystem::exists(dir_.File("Demo/Demo_frame.HTML")));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("Demo/SYLVA_Draw.html")));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("SYLVA_MAIN_INDEX.HTML")));
}

TEST_F(SylvaProcessTest, TheExistingProjectQuestionTakesYesWithoutATerminalAndNoWhenTyped) {
    std::vector<std::string> arguments = {"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE"};
    ASSERT_EQ(RunSylva(arguments, run_).status, 0);

    ProcessResult byDefault = RunSylva(arguments, run_);
    EXPECT_EQ(byDefault.status, 0);
    EXPECT_NE(byDefault.err.find("are you shure you want to overwrite it? [Y/n] Yes (the default "
                                 "answer: standard input is not a terminal)"),
              std::string::npos)
        << byDefault.err;

    std::filesystem::remove(dir_.File("out/Demo/SYLVA_Draw.html"));
    run_.terminalInput = "n\n";
    ProcessResult declined = RunSylva(arguments, run_);
    EXPECT_EQ(declined.status, 2) << declined.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Draw.html")));

    run_.terminalInput = "\n";
    EXPECT_EQ(RunSylva(arguments, run_).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Draw.html")));
}

TEST_F(SylvaProcessTest, SamePathsAreDeclinedByDefault) {
    ProcessResult result = RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=src", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Output path and scan path are the same!"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("src/Demo")));
}

TEST_F(SylvaProcessTest, RefusalsExitWithStatusTwoAndWriteNothing) {
    // The standard file does not stand in for a named one that cannot be read.
    dir_.Write("SYLVA.INI", "SYL_Q_DESCRIPTION=Standard\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-CONFIG=themes/missing.ini", "-FORCE"},
         "sylva: cannot read configuration file themes/missing.ini: No such file or directory\n"},
        {{"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-CONFIG=src", "-FORCE"},
         "sylva: cannot read configuration file src: not a regular file\n"},
        {{"-PROJECT=..", "-SCAN=src", "-OUT=out", "-FORCE"},
         "Project name .. gives no usable directory name, please enter another project name.\n"},
        {{"-PROJECT=Demo", "-SCAN=" + std::string(300, 's'), "-FORCE"},
         "sylva: the value of -SCAN is longer than 259 characters\n"},
        {{"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-STYLE=javadoc", "-FORCE"},
         "sylva: unknown comment style \"javadoc\"; the styles are sylva and doxygen\n"},
        {{"-DOXYFILE=Doxyfile.missing", "-OUT=out", "-FORCE"},
         "sylva: ERROR: Doxyfile.missing: the Doxyfile does not exist or cannot be read\n"},
        {{"-DOXYFILE=src", "-OUT=out", "-FORCE"},
         "sylva: ERROR: src: the Doxyfile is not a regular file\n"},
        {{"-DOXYFILE=cycle.cfg", "-FORCE"},
         "sylva: ERROR: cycle.cfg:2: @INCLUDE of a file that is being read already: cycle.cfg\n"},
        {{"-DOXYFILE=noinput.cfg", "-FORCE"},
         "sylva: WARNING: noinput.cfg:1: $(SYLVA_UNSET_VARIABLE) is not set in the environment; "
         "it stands for nothing\n"
         "sylva: WARNING: Doxyfile noinput.cfg: INPUT names /nowhere, which does not exist; it "
         "is left out\n"
         "sylva: ERROR: Doxyfile noinput.cfg: no file or directory that INPUT names exists\n"},
    };
    dir_.Write("cycle.cfg", "OUTPUT_DIRECTORY = out\n@INCLUDE = cycle.cfg\n");
    dir_.Write("noinput.cfg", "INPUT = $(SYLVA_UNSET_VARIABLE)/nowhere\nOUTPUT_DIRECTORY = out\n");
    for (const Case& c : cases) {
        ProcessResult result = RunSylva(c.arguments, run_);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_EQ(result.err, c.message);
        EXPECT_FALSE(std::filesystem::exists(dir_.File("out"))) << c.message;
    }
}

// A mistyped scan path must not replace a published project with an empty one.
TEST_F(SylvaProcessTest, AScanPathThatIsNoDirectoryOrFileIsRefusedAndThePublishedProjectKept) {
    ASSERT_EQ(RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE"}, run_).status, 0);
    const std::map<std::string, std::string> published = Tree(dir_.File("out"));
    const std::pair<std::string, std::string> cases[] = {
        {"nowhere", "Scan path nowhere does not exist.\n"},
        {"src/draw.h/sub", "Scan path src/draw.h/sub does not exist.\n"},
        {"/dev/null", "Scan path /dev/null is neither a directory nor a file.\n"},
    };
    for (const auto& [scanPath, message] : cases) {
        ProcessResult result =
            RunSylva({"-PROJECT=Demo", "-SCAN=" + scanPath, "-OUT=out", "-FORCE"}, run_);
        EXPECT_EQ(result.status, 2) << scanPath;
        EXPECT_EQ(result.err, message);
        EXPECT_EQ(Tree(dir_.File("out")), published) << scanPath;
    }
}

TEST_F(SylvaProcessTest, AnOutputPathThatIsAFileFailsWithErrorLines) {
    dir_.Write("out", "a file where the output directory should be");
    ProcessResult result = RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("ERROR: Cannot create project directory out/Demo"), std::string::npos)
        << result.err;
    EXPECT_EQ(dir_.Read("out"), "a file where the output directory should be");
}

TEST_F(SylvaProcessTest, VerbosePrintsEveryProtocolLineIncludingTheConfigurationLoad) {
    ProcessResult result =
        RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE", "-VERBOSE"}, run_);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("ERROR: Cannot access to config file SYLVA.INI.\n", 0), 0u)
        << result.out;
    EXPECT_NE(result.out.find("  Scanning file draw.h...\n"), std::string::npos);
    EXPECT_NE(result.out.find("Path done, scanned paths 1, scanned files 1.\n"), std::string::npos);
    EXPECT_EQ(result.err, "");
}

TEST_F(SylvaProcessTest, TheConfigurationFileNamedOrElseTheOneInTheCurrentDirectoryIsUsed) {
    dir_.Write("SYLVA.INI", "SYL_Q_DESCRIPTION=Was es tut\n");
    ASSERT_EQ(RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE"}, run_).status, 0);
    EXPECT_NE(dir_.Read("out/Demo/SYLVA_Draw.html").find("Was es tut"), std::string::npos);

    dir_.Write("themes/named.ini", "SYL_Q_DESCRIPTION=What it does\n");
    ProcessResult named = RunSylva(
        {"-PROJECT=Demo", "-SCAN=src", "-OUT=named", "-CONFIG=themes/named.ini", "-FORCE"}, run_);
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(named.err, "");
    const std::string page = dir_.Read("named/Demo/SYLVA_Draw.html");
    EXPECT_NE(page.find("What it does"), std::string::npos);
    EXPECT_EQ(page.find("Was es tut"), std::string::npos);
}

// The comment style comes from -STYLE, else from the configuration file; an unknown one in the
// file refuses the run.
TEST_F(SylvaProcessTest, TheCommentStyleIsChosenByOptionOrConfigurationKey) {
    dir_.Write("doxy/pond.h",
               "/** Fills the pond. @param litres how much */\nvoid Fill(int litres);\n");
    struct Case {
        std::string config;
        std::vector<std::string> switches;
        int status;
        bool doxygenItem;
    };
    const Case cases[] = {
        {"", {}, 0, false},
        {"", {"-STYLE=doxygen"}, 0, true},
        {"SYL_COMMENT_STYLE=doxygen\n", {}, 0, true},
        {"SYL_COMMENT_STYLE=doxygen\n", {"-STYLE=sylva"}, 0, false},
        {"SYL_COMMENT_STYLE=javadoc\n", {}, 2, false},
        {"SYL_COMMENT_STYLE=javadoc\n", {"-STYLE=Doxygen"}, 0, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir_.File("out"));
        std::filesystem::remove(dir_.File("SYLVA.INI"));
        if (!c.config.empty()) {
            dir_.Write("SYLVA.INI", c.config);
        }
        std::vector<std::string> arguments = {"-PROJECT=Pond", "-SCAN=doxy", "-OUT=out", "-FORCE"};
        arguments.insert(arguments.end(), c.switches.begin(), c.switches.end());
        ProcessResult result = RunSylva(arguments, run_);
        std::string name = c.config + (c.switches.empty() ? "" : c.switches[0]);
        EXPECT_EQ(result.status, c.status) << name << result.err;
        EXPECT_EQ(std::filesystem::exists(dir_.File("out/Pond/SYLVA_Fill.html")), c.doxygenItem)
            << name;
        if (c.status == 2) {
            EXPECT_NE(result.err.find("ERROR: Unknown comment style javadoc"), std::string::npos)
                << result.err;
            EXPECT_FALSE(std::filesystem::exists(dir_.File("out"))) << name;
        }
    }
}

// -FILTER names the extensions read, in any letter case; without it C++ headers named .hpp are
// passed over.
TEST_F(SylvaProcessTest, TheFilterOptionNamesTheExtensionsRead) {
    dir_.Write("doxy/bed.hpp", "/// Plants a seed.\nvoid Plant();\n");
    dir_.Write("doxy/pond.h", "/// Fills the pond.\nvoid Fill();\n");
    for (const std::string filter : {"", "-FILTER=.h|.hpp"}) {
        std::filesystem::remove_all(dir_.File("out"));
        std::vector<std::string> arguments = {"-PROJECT=Pond", "-SCAN=doxy", "-OUT=out",
                                              "-STYLE=doxygen", "-FORCE"};
        if (!filter.empty()) {
            arguments.push_back(filter);
        }
        ProcessResult result = RunSylva(arguments, run_);
        EXPECT_EQ(result.status, 0) << filter << result.err;
        EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Pond/SYLVA_Fill.html"))) << filter;
        EXPECT_EQ(std::filesystem::exists(dir_.File("out/Pond/SYLVA_Plant.html")), !filter.empty())
            << filter;
    }
}

TEST_F(SylvaProcessTest, ADoxyfileIsAWholeCommandAndOptionsBesideItWin) {
    dir_.Write(
        "lib/include/api.h",
        "/// Adds.\n/// @sideeffect None.\nLIB_EXPORT int Add(int a, int b) LIB_ATTR((pure));\n");
    dir_.Write("lib/include/detail/impl.h", "/// Hidden.\nint Impl();\n");
    dir_.Write("lib/tests/test.h", "/// A test.\nint Test();\n");
    dir_.Write("lib/extra.hh", "/// Extra.\n/// @sideeffect Grows.\nint Extra();\n");
    dir_.Write("lib/include/README", "/// Not code.\nint Readme();\n");
    dir_.Write("docs/common.cfg", "PROJECT_BRIEF = \"A small library\"\nHTML_OUTPUT = site\n");
    dir_.Write("Doxyfile",
               "@INCLUDE_PATH = docs\n@INCLUDE = common.cfg\n"
               "PROJECT_NAME = \"Small Lib\"\nINPUT = lib/include \\\n  lib/tests lib/extra.hh\n"
               "RECURSIVE = YES\nEXCLUDE = lib/include/detail\nEXCLUDE_PATTERNS = */tests/*\n"
               "OUTPUT_DIRECTORY = $(SYLVA_TEST_OUT)\nMACRO_EXPANSION = YES\n"
               "PREDEFINED = LIB_EXPORT= LIB_ATTR(x)=\nINPUT_FILTER = cat\n"
               "GENERATE_LATEX = NO\nHAVE_DOT = NO\nGENERATE_TAGFILE = doc/lib.tag\n"
               "ALIASES = \"sideeffect=@par Side effects:^^\" broken\n");
    run_.environment.push_back("SYLVA_TEST_OUT=doc");
    ProcessResult result = RunSylva({"-DOXYFILE=Doxyfile", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Doxyfile keys Sylva does not use: GENERATE_LATEX, HAVE_DOT.\n");
    EXPECT_EQ(result.err,
              "sylva: WARNING: Doxyfile Doxyfile: ALIASES entry \"broken\" is not name=text or "
              "name{n}=text; it is left out\n"
              "sylva: WARNING: Doxyfile Doxyfile: INPUT_FILTER is set, but Sylva does not honour "
              "it: no filter program is ever run; the files are read as they are\n");
    const std::string project = dir_.File("doc/site/Small Lib/");
    EXPECT_TRUE(std::filesystem::exists(project + "SYLVA_Extra.html"));
    EXPECT_FALSE(std::filesystem::exists(project + "SYLVA_Impl.html"));
    EXPECT_FALSE(std::filesystem::exists(project + "SYLVA_Test.html"));
    EXPECT_FALSE(std::filesystem::exists(project + "SYLVA_Readme.html"));
    const std::string add = test::ReadFile(project + "SYLVA_Add.html");
    EXPECT_NE(add.find("int Add(int a, int b);"), std::string::npos);
    EXPECT_EQ(add.find("LIB_"), std::string::npos);
    EXPECT_NE(add.find("Side effects:"), std::string::npos);
    EXPECT_EQ(add.find("sideeffect"), std::string::npos);
    EXPECT_NE(test::ReadFile(dir_.File("doc/lib.tag")).find("<anchorfile>SYLVA_Add.html"),
              std::string::npos);

    // Options given beside it win: here the project and the one scan path.
    result =
        RunSylva({"-DOXYFILE=Doxyfile", "-PROJECT=Other", "-SCAN=lib/extra.hh", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(test::ReadFile(dir_.File("doc/site/Other/SYLVA_Extra.html")).find("Side effects:"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("doc/site/Other/SYLVA_Add.html")));
}

TEST_F(SylvaProcessTest, MarkdownPagesAndTheMainPageFromTheDoxyfileTheOptionOrAComment) {
    dir_.Write("lib/api.h", "/// Adds.\nint Add(int a);\n");
    dir_.Write("README.md",
               "# Small lib\n\nSee [the guide](docs/guide.md) and Add().\n\n"
               "```\nint x = Add(1);\n```\n");
    dir_.Write(
        "docs/guide.md",
        "# Guide\n\nBack [home](../README.md). ![logo](logo.png) ![no](../../../etc/passwd)\n"
        "@snippet use.c add\n");
    dir_.Write("art/logo.png", "logo");
    dir_.Write("examples/use.c",
               "int main(void) {\n    // [add]\n    return Add(2);\n    // [add]\n}\n");
    dir_.Write("Doxyfile",
               "PROJECT_NAME = Lib\nINPUT = README.md lib docs\nRECURSIVE = YES\n"
               "USE_MDFILE_AS_MAINPAGE = README.md\nOUTPUT_DIRECTORY = doc\n"
               "IMAGE_PATH = art\nEXAMPLE_PATH = examples\nEXAMPLE_PATTERNS = *.c\n");
    ProcessResult result = RunSylva({"-DOXYFILE=Doxyfile", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    // The image of the image path is copied beside the pages, the example shown where its
    // command stands; a file outside every input is neither read nor copied.
    EXPECT_NE(result.err.find("guide.md:3: warning: image \"../../../etc/passwd\""),
              std::string::npos)
        << result.err;
    const std::string guide = test::ReadFile(dir_.File("doc/html/Lib/SYLVA_Guide.html"));
    EXPECT_NE(guide.find("<pre class=\"code\">    return Add(2);</pre>"), std::string::npos)
        << guide;
    const std::size_t logo = guide.find("<img src=\"logo-");
    ASSERT_NE(logo, std::string::npos) << guide;
    const std::string copy = guide.substr(logo + 10, guide.find('"', logo + 10) - logo - 10);
    EXPECT_EQ(test::ReadFile(dir_.File("doc/html/Lib/" + copy)), "logo");
    const std::string project = dir_.File("doc/html/Lib/");
    EXPECT_NE(test::ReadFile(project + "Lib_frame.HTML").find("SRC=\"SYLVA_Small lib.html\""),
              std::string::npos);
    const std::string readme = test::ReadFile(project + "SYLVA_Small lib.html");
    EXPECT_NE(readme.find("<a href=\"SYLVA_Guide.html\">the guide</a> and "
                          "<a href=\"SYLVA_Add.html\">Add()</a>"),
              std::string::npos)
        << readme;
    EXPECT_NE(readme.find("<pre class=\"code\">int x = Add(1);</pre>"), std::string::npos);
    EXPECT_NE(test::ReadFile(project + "SYLVA_Guide.html")
                  .find("<a href=\"SYLVA_Small lib.html\">home</a>"),
              std::string::npos);

    // The option beside the Doxyfile wins.
    result = RunSylva({"-DOXYFILE=Doxyfile", "-MAINPAGE=docs/guide.md", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(test::ReadFile(project + "Lib_frame.HTML").find("SRC=\"SYLVA_Guide.html\""),
              std::string::npos);

    // Without either, a "@mainpage" comment is the main page; without one, the project index.
    dir_.Write("lib/main.h", "/** @mainpage Welcome\n Start here. */\n");
    result = RunSylva({"-STYLE=doxygen", "-PROJECT=C", "-SCAN=lib", "-OUT=out", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(dir_.Read("out/C/C_frame.HTML").find("SRC=\"SYLVA_Welcome.html\""),
              std::string::npos);
    std::filesystem::remove(dir_.File("lib/main.h"));
    result = RunSylva({"-STYLE=doxygen", "-PROJECT=C", "-SCAN=lib", "-OUT=out", "-FORCE"}, run_);
    EXPECT_NE(dir_.Read("out/C/C_frame.HTML").find("SRC=\"C.HTML\""), std::string::npos);
}

TEST_F(SylvaProcessTest, AMasterIndexThatIsASymbolicLinkIsLeftAsItIsWithExitStatusOne) {
    const std::string notes = dir_.Write("notes.txt", "my notes\n");
    std::filesystem::create_directories(dir_.File("out"));
    std::filesystem::create_symlink(notes, dir_.File("out/SYLVA_MAIN_INDEX.HTML"));
    ProcessResult result = RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE"}, run_);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "  ERROR: Master index out/SYLVA_MAIN_INDEX.HTML is a symbolic link, it "
              "and the file it names are left unchanged !\n");
    EXPECT_EQ(dir_.Read("notes.txt"), "my notes\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir_.File("out/SYLVA_MAIN_INDEX.HTML")));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Draw.html")));
}

constexpr const char* kBrokenSource =
    "/**--\n"
    "See also: Nowhere\n"
    "--e*/\n"
    "int Broken(void);\n"
    "\n"
    "/**--\n"
    "Description: never closed\n";

const std::string kBrokenWarnings =
    "src/broken.h:6: warning: documentation block not closed before the end of the file; it "
    "gives no item\n"
    "src/broken.h:1: warning: See also entry \"Nowhere\" names no documented item; its link "
    "leads nowhere\n";

TEST_F(SylvaProcessTest, WarningsGoToStandardErrorInCompilerFormThenASummary) {
    dir_.Write("src/broken.h", kBrokenSource);
    // Misspelt keys and a value its key cannot take are skipped; the run goes on with the rest.
    dir_.Write("misspelt.ini",
               "SYL_HTML_SERCH=1\n# a comment\n\nSYL_Q_DESCRIPTON=x\nSYL_HTML_SEARCH=maybe\n"
               "SYL_Q_DESCRIPTION=Does\n");
    struct Case {
        std::vector<std::string> switches;
        int status;
        std::string summary;
        std::string before = {};  // the lines ahead of the scan's warnings
    };
    const Case cases[] = {
        {{}, 0, "sylva: 2 warnings given\n"},
        // The run goes on to the end: every page and the master index are written.
        {{"-WERROR"}, 1, "sylva: 2 warnings given, treated as errors (-WERROR)\n"},
        // Each warning once: not also as a protocol line.
        {{"-VERBOSE"}, 0, "sylva: 2 warnings given\n"},
        // Arguments that set nothing are told, and change neither the run nor its status.
        {{"-STYEL=doxygen", "-VERBSE", "-X"},
         0,
         "sylva: 2 warnings given\n",
         "sylva: argument \"-STYEL=doxygen\" sets nothing; did you mean -STYLE?\n"
         "sylva: argument \"-VERBSE\" sets nothing; did you mean -VERBOSE?\n"
         "sylva: argument \"-X\" sets nothing\n"},
        {{"-CONFIG=misspelt.ini"},
         0,
         "sylva: 4 warnings given\n",
         "misspelt.ini:1: warning: 2 lines set no known key and are skipped: line 1 "
         "\"SYL_HTML_SERCH\", line 4 \"SYL_Q_DESCRIPTON\"\n"
         "misspelt.ini:5: warning: 1 key holds a value it cannot take: line 5 "
         "SYL_HTML_SEARCH=\"maybe\"\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir_.File("out"));
        std::vector<std::string> arguments = {"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE"};
        arguments.insert(arguments.end(), c.switches.begin(), c.switches.end());
        ProcessResult result = RunSylva(arguments, run_);
        std::string name = c.switches.empty() ? "no switch" : c.switches[0];
        EXPECT_EQ(result.status, c.status) << name;
        EXPECT_EQ(result.err, c.before + kBrokenWarnings + c.summary) << name;
        EXPECT_EQ(result.out.find("WARNING"), std::string::npos) << name;
        EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Broken.html"))) << name;
        EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Draw.html"))) << name;
        EXPECT_NE(dir_.Read("out/SYLVA_MAIN_INDEX.HTML").find("<!--DESC:Demo;"), std::string::npos)
            << name;
    }
    // The last run's file set the one key it spelt right.
    EXPECT_NE(dir_.Read("out/Demo/SYLVA_Draw.html").find("Does"), std::string::npos);
}

TEST_F(SylvaProcessTest, ABaselineCountsOnlyNewWarningsAndBadFilesFailWithTheSiteWritten) {
    dir_.Write("src/broken.h", kBrokenSource);
    const std::vector<std::string> run = {"-PROJECT=Demo", "-SCAN=src", "-OUT=out",
                                          "-FORCE",        "-WERROR",   "-BASELINE=base.json"};
    struct Case {
        std::string name;
        std::vector<std::string> extra;
        int status;
        std::string lastLine;
    };
    std::filesystem::create_directory(dir_.File("folder"));
    const Case cases[] = {
        {"missing baseline: written, nothing new",
         {},
         0,
         "sylva: baseline base.json written with 2 warnings\n"},
        {"unchanged: read only",
         {},
         0,
         "sylva: no warnings not in the baseline base.json; 0 of its warnings gone\n"},
        {"a new warning moved the old ones down",
         {"+new"},
         1,
         "sylva: 1 warning not in the baseline base.json; 0 of its warnings gone\n"},
        {"diagnostics into a folder",
         {"-DIAGNOSTICS=folder"},
         1,
         "sylva: ERROR: diagnostics file folder not written: it is a folder\n"},
        {"another project's baseline",
         {"-PROJECT=Other"},
         2,
         "sylva: cannot use the baseline base.json: it belongs to the project \"Demo\", not to "
         "\"Other\"; nothing is counted against it (write it anew with -BASELINE-UPDATE)\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = run;
        for (const std::string& extra : c.extra) {
            if (extra == "+new") {
                dir_.Write("src/broken.h", std::string("/**--\nSee also: Elsewhere\n--e*/\nint "
                                                       "New(void);\n\n") +
                                               kBrokenSource);
            } else {
                arguments.push_back(extra);
            }
        }
        ProcessResult result = RunSylva(arguments, run_);
        EXPECT_EQ(result.status, c.status) << c.name << "\n" << result.err;
        EXPECT_NE(result.err.find(c.lastLine), std::string::npos) << c.name << "\n" << result.err;
        if (c.status != 2) {
            EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Draw.html"))) << c.name;
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_.File("folder")));
}

TEST_F(SylvaProcessTest, CoverageIsPrintedOrWrittenAsJsonAndAMinimumDecidesTheExitStatus) {
    dir_.Write("lib/lib.h",
               "#ifndef LIB_H\n#define LIB_H\n/** Opens. */\nint lib_open(const char* path);\n"
               "int lib_close(int fd);\n#endif\n");
    std::filesystem::create_directory(dir_.File("folder"));
    const std::vector<std::string> run = {"-PROJECT=Demo", "-SCAN=lib", "-OUT=out", "-FORCE",
                                          "-STYLE=doxygen"};
    struct Case {
        std::string name;
        std::vector<std::string> extra;
        int status;
        std::string out;  // a line standard output holds; empty: it holds no table
        std::string err;  // a line standard error holds; empty: any
    };
    const Case cases[] = {
        {"the table", {"-COVERAGE"}, 0, "         1      2   50.0%  total\n", ""},
        {"the JSON file and a minimum met", {"-COVERAGE=cov.json", "-COVERAGE-MIN=50"}, 0, "", ""},
        {"a minimum missed, after the whole run",
         {"-COVERAGE-MIN=50.5"},
         1,
         "",
         "sylva: documentation coverage 50.0% is below -COVERAGE-MIN=50.5 (1 of 2 declarations "
         "documented)\n"},
        {"a folder in the file's place",
         {"-COVERAGE=folder"},
         1,
         "",
         "sylva: ERROR: coverage file folder not written: it is a folder\n"},
        {"the sylva style counts nothing and fails nothing",
         {"-STYLE=sylva", "-COVERAGE", "-COVERAGE-MIN=99"},
         0,
         "",
         "sylva: coverage counts need -STYLE=doxygen: the sylva style has no declarations to "
         "count\n"},
        {"a minimum that is no share", {"-COVERAGE-MIN=101"}, 2, "", "-COVERAGE-MIN"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = run;
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        ProcessResult result = RunSylva(arguments, run_);
        EXPECT_EQ(result.status, c.status) << c.name << "\n" << result.err;
        EXPECT_EQ(result.out.find("documented  total   share  file\n") != std::string::npos,
                  !c.out.empty())
            << c.name << "\n"
            << result.out;
        EXPECT_NE(result.out.find(c.out), std::string::npos) << c.name << "\n" << result.out;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << c.name << "\n" << result.err;
        if (c.status != 2) {
            EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo"))) << c.name;
        }
    }
    const std::string json = dir_.Read("cov.json");
    EXPECT_NE(json.find("{\"schema\":\"sylva-coverage\",\"schemaVersion\":\"1.0\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"total\":{\"documented\":1,\"total\":2,\"share\":50.0}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"undocumented\":[\n{\"location\":\"lib/lib.h:5\",\"name\":\"lib_close\","
                        "\"kind\":\"function\""),
              std::string::npos)
        << json;
    EXPECT_TRUE(std::filesystem::is_directory(dir_.File("folder")));
}

TEST_F(SylvaProcessTest, WerrorChangesNothingForACleanRunAndARefusedRunStaysRefused) {
    ProcessResult clean =
        RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE", "-WERROR"}, run_);
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.err, "");

    dir_.Write("src/broken.h", kBrokenSource);
    ProcessResult refused =
        RunSylva({"-PROJECT=..", "-SCAN=src", "-OUT=out2", "-FORCE", "-WERROR"}, run_);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err.find("warning"), std::string::npos) << refused.err;

    dir_.Write("out3", "a file where the output directory should be");
    ProcessResult failed =
        RunSylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out3", "-FORCE", "-WERROR"}, run_);
    EXPECT_EQ(failed.status, 1);
}

TEST(SylvaDeterminism, TwoRunsOverTheExamplesGiveIdenticalBytes) {
    test::ScratchDir dir;
    ProcessOptions run;
    run.cwd = dir.path();
    run.environment = {"SOURCE_DATE_EPOCH=1700000000", "TZ=UTC"};
    std::string examples = std::string(SYLVA_SOURCE_DIR) + "/examples";
    for (const char* out : {"first", "second"}) {
        ProcessResult result = RunSylva({"-PROJECT=Examples", "-DESC=The bundled examples",
                                         "-SCAN=" + examples, std::string("-OUT=") + out, "-FORCE"},
                                        run);
        ASSERT_EQ(result.status, 0) << result.err;
    }
    std::map<std::string, std::string> first = Tree(dir.File("first"));
    EXPECT_GT(first.size(), 10u);
    EXPECT_EQ(first, Tree(dir.File("second")));
}

TEST(SylvaExamples, GiveNoWarningEvenWithPrivateItemsLeftOut) {
    test::ScratchDir dir;
    ProcessOptions run;
    run.cwd = dir.path();
    std::string examples = std::string(SYLVA_SOURCE_DIR) + "/examples";
    ProcessResult result =
        RunSylva({"-PROJECT=Examples", "-SCAN=" + examples, "-OUT=out", "-FORCE", "-WERROR"}, run);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
}

// The re-run lines a watch printed.
std::size_t ReRuns(const std::string& out) {
    std::size_t reruns = 0;
    for (std::size_t at = 0; (at = out.find("Re-run after", at)) != std::string::npos; ++at) {
        ++reruns;
    }
    return reruns;
}

TEST_F(SylvaProcessTest, WatchReRunsAfterAnEditorsSaveAndEndsCleanlyOnCtrlC) {
    run_.environment.push_back("SYLVA_CACHE_DIR=" + dir_.File("cache"));
    // Pages show their file's date: the page that must stay untouched comes from another file.
    const std::string source = kSource;
    const std::size_t canvasBlock = source.find("/**--", 1);
    dir_.Write("src/draw.h", source.substr(0, canvasBlock));
    dir_.Write("src/canvas.h", source.substr(canvasBlock));
    dir_.Write("more/pond.h", "/**--\nDescription: Fills the pond.\n--e*/\nvoid Fill(void);\n");
    test::StartedProcess watch(
        SYLVA_BINARY, {"-PROJECT=Demo", "-SCAN=src", "-SCAN=more", "-OUT=out", "-WATCH"}, run_);
    ASSERT_TRUE(watch.WaitForOut("Watching src, more for changes; Ctrl-C ends.\n", 30))
        << watch.Out();
    const std::string page = dir_.File("out/Demo/SYLVA_Draw.html");
    const std::string untouched = dir_.File("out/Demo/SYLVA_class Canvas.html");
    const auto canvasWritten = std::filesystem::last_write_time(untouched);

    // As an editor saves: the new text into a temporary file, renamed over the original.
    std::string edited = source.substr(0, canvasBlock);
    edited.replace(edited.find("Draws the"), 9, "Paints the");
    dir_.Write("src/.draw.h.swp", edited);
    std::filesystem::rename(dir_.File("src/.draw.h.swp"), dir_.File("src/draw.h"));
    ASSERT_TRUE(watch.WaitForOut("Re-run after src/draw.h changed: ", 30)) << watch.Out();
    EXPECT_NE(test::ReadFile(page).find("Paints the"), std::string::npos);
    EXPECT_EQ(std::filesystem::last_write_time(untouched), canvasWritten);
    // A change below the second scan path re-runs as well.
    dir_.Write("more/pond.h", "/**--\nDescription: Drains the pond.\n--e*/\nvoid Fill(void);\n");
    ASSERT_TRUE(watch.WaitForOut("Re-run after more/pond.h changed: ", 30)) << watch.Out();
    EXPECT_NE(test::ReadFile(dir_.File("out/Demo/SYLVA_Fill.html")).find("Drains the"),
              std::string::npos);

    watch.Signal(SIGINT);
    ProcessResult ended = watch.Wait();
    EXPECT_FALSE(ended.timedOut);
    EXPECT_EQ(ended.status, 0) << ended.err;
    EXPECT_EQ(ended.err, "");
    // One line for each change, however many events the save gave.
    EXPECT_EQ(ReRuns(ended.out), 2u) << ended.out;
}

TEST_F(SylvaProcessTest, WatchReRunsForTheFilesTheFilePatternsChooseAndForItsDoxyfile) {
    run_.environment.push_back("SYLVA_CACHE_DIR=" + dir_.File("cache"));
    dir_.Write("lib/api.hh", "/// Adds.\nint Add(int a);\n");
    dir_.Write("lib/notes.txt", "Not read.\n");
    dir_.Write("docs/guide.md", "# Guide\n\nFirst words.\n");
    const std::string doxyfile =
        "PROJECT_NAME = Lib\nINPUT = lib docs\nOUTPUT_DIRECTORY = doc\n"
        "FILE_PATTERNS = *.hh *.md\n";
    dir_.Write("Doxyfile", doxyfile);
    test::StartedProcess watch(SYLVA_BINARY, {"-DOXYFILE=Doxyfile", "-WATCH"}, run_);
    ASSERT_TRUE(watch.WaitForOut("Doxyfile for changes; Ctrl-C ends.\n", 30)) << watch.Out();
    const std::string project = dir_.File("doc/html/Lib/");

    // Neither the extension filter's files nor a file no pattern names: a page and a header
    // that only the patterns choose.
    dir_.Write("lib/notes.txt", "Still not read.\n");
    dir_.Write("docs/guide.md", "# Guide\n\nSecond words.\n");
    ASSERT_TRUE(watch.WaitForOut("guide.md changed: ", 30)) << watch.Out();
    EXPECT_NE(test::ReadFile(project + "SYLVA_Guide.html").find("Second words."),
              std::string::npos);
    dir_.Write("lib/api.hh", "/// Adds one.\nint Add(int a);\n");
    ASSERT_TRUE(watch.WaitForOut("api.hh changed: ", 30)) << watch.Out();
    EXPECT_NE(test::ReadFile(project + "SYLVA_Add.html").find("Adds one."), std::string::npos);
    // The Doxyfile itself: read anew, its new settings hold.
    dir_.Write("Doxyfile", doxyfile + "PROJECT_BRIEF = \"Now with a brief\"\n");
    ASSERT_TRUE(watch.WaitForOut("Doxyfile changed: ", 30)) << watch.Out();
    EXPECT_NE(dir_.Read("doc/html/SYLVA_MAIN_INDEX.HTML").find("Now with a brief"),
              std::string::npos);

    watch.Signal(SIGINT);
    ProcessResult ended = watch.Wait();
    EXPECT_EQ(ended.status, 0) << ended.err;
    EXPECT_EQ(ReRuns(ended.out), 3u) << ended.out;
}

}  // namespace
}  // namespace sylva
