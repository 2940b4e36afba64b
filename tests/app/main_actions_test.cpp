#include "app/main_actions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support/recording_diagnostics.h"
#include "test_support/scratch_dir.h"
#include "test_support/scripted_prompter.h"

namespace sylva {
namespace {

constexpr const char* kSource =
    "/**--\n"
    "Description: Opens the door.\n"
    "--e*/\n"
    "int Open(int how);\n"
    "\n";

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> Lines(const MemoryListBox& list) {
    return {list.Lines().begin(), list.Lines().end()};
}

class MainActionsTest : public ::testing::Test {
  protected:
    MainActionsTest() : cwd_(dir_.path()) {
        dir_.Write("src/door.h", kSource);
        fields_.scanPath = dir_.File("src");
        fields_.outputPath = dir_.File("out");
        fields_.projectName = "Demo";
        fields_.projectDesc = "The demo";
    }

    MainActions Actions() { return MainActions(fields_, prompter_, &protocol_, nullptr); }

    test::ScratchDir dir_;
    test::CurrentDirectory cwd_;  // no SYLVA.INI here: the defaults serve
    MainFields fields_;
    test::ScriptedPrompter prompter_;
    MemoryListBox protocol_;
};

TEST_F(MainActionsTest, CreateChecksTheFieldsInOrder) {
    struct Case {
        const char* name;
        MainFields fields;
        const char* warning;
    };
    MainFields none;
    none.masterIndexName.clear();
    none.outputPath.clear();
    MainFields noMaster = none;
    noMaster.scanPath = "src";
    MainFields noProject = noMaster;
    noProject.masterIndexName = "INDEX.HTML";
    MainFields noOutput = noProject;
    noOutput.projectName = "Demo";
    const Case cases[] = {
        {"every field empty", none, "Scan path is empty, please enter a valid path name."},
        {"no master index", noMaster,
         "Name of main index file is empty, please enter a valid filename."},
        {"no project", noProject, "Project name is empty, please enter a valid project name."},
        {"no output path", noOutput, "Output path is empty, please enter a valid path name."},
    };
    for (const Case& c : cases) {
        fields_ = c.fields;
        prompter_.shown.clear();
        EXPECT_EQ(Actions().Create(), ActionResult::kNotRun) << c.name;
        EXPECT_EQ(prompter_.shown, std::vector<std::string>{std::string("warning: ") + c.warning})
            << c.name;
        EXPECT_TRUE(prompter_.progressDialogs.empty()) << c.name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out")));
}

TEST_F(MainActionsTest, CreateGeneratesTheProjectAndItsMasterIndexRecord) {
    EXPECT_EQ(Actions().Create(), ActionResult::kDone);
    EXPECT_TRUE(prompter_.shown.empty());
    EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/Demo_frame.HTML")));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Open.html")));
    std::string master = dir_.Read("out/SYLVA_MAIN_INDEX.HTML");
    EXPECT_NE(master.find("<!--DESC:Demo;Demo/Demo_frame.HTML;The demoDESCEND-->"),
              std::string::npos);

    ASSERT_EQ(prompter_.progressDialogs.size(), 1u);
    const test::RecordingProgress& progress = *prompter_.progressDialogs[0];
    EXPECT_EQ(progress.title, "Sylva - Generate HTML system...");
    EXPECT_EQ(progress.rangeLower, 0);
    EXPECT_EQ(progress.rangeUpper, 500);
    EXPECT_EQ(progress.step, 5);
    EXPECT_FALSE(progress.percentShown);
    EXPECT_FALSE(progress.positions.empty());

    // The window's protocol shows the configuration load and the run.
    std::vector<std::string> lines = Lines(protocol_);
    EXPECT_TRUE(Contains(lines, "ERROR: Cannot access to config file SYLVA.INI."));
    EXPECT_TRUE(Contains(lines, "Path done, scanned paths 1, scanned files 1."));
}

TEST_F(MainActionsTest, GenerationReportsTheWarningsOfItsRunWhereverTheyGo) {
    dir_.Write("src/untitled.h", "\n/**--\nDescription: no declaration follows\n--e*/\n\n");
    const std::string warning = dir_.File("src") +
                                "/untitled.h:2: documentation block without a declaration; its "
                                "item is named \"__Untitled\"";

    // The window: the protocol shows each warning and, last, the summary. Warnings alone are no
    // failure.
    MainActions window = Actions();
    EXPECT_EQ(window.Create(), ActionResult::kDone);
    EXPECT_EQ(window.WarningCount(), 1);
    std::vector<std::string> lines = Lines(protocol_);
    EXPECT_TRUE(Contains(lines, "    WARNING: " + warning));
    EXPECT_EQ(lines.back(), "WARNING: 1 warning given.");

    // Batch form with a sink: the warnings go there only.
    prompter_.answers = {true};  // overwrite the project
    MemoryListBox runProtocol;
    test::RecordingDiagnostics sink;
    MainActions batch = Actions();
    EXPECT_EQ(batch.CreateBatch(&runProtocol, nullptr, &sink), ActionResult::kDone);
    EXPECT_EQ(batch.WarningCount(), 1);
    EXPECT_EQ(sink.warnings, std::vector<std::string>{warning});
    EXPECT_FALSE(Contains(Lines(runProtocol), "WARNING"));

    // A generation that does not run gave no warning.
    fields_.projectName.clear();
    EXPECT_EQ(batch.CreateBatch(&runProtocol, nullptr, &sink), ActionResult::kNotRun);
    EXPECT_EQ(batch.WarningCount(), 0);
}

TEST_F(MainActionsTest, SamePathsAreAskedAboutCautiouslyAfterTurningBackslashes) {
    fields_.scanPath = dir_.path() + "\\src";
    fields_.outputPath = dir_.File("src");
    prompter_.answers = {false};
    EXPECT_EQ(Actions().Create(), ActionResult::kNotRun);
    EXPECT_EQ(prompter_.shown,
              std::vector<std::string>{"cautious question: Output path and scan path are the same!"
                                       "\n\nIs this the intent?"});
    EXPECT_EQ(fields_.scanPath, dir_.File("src"));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("src/Demo")));

    prompter_.answers = {true};
    EXPECT_EQ(Actions().Create(), ActionResult::kDone);
    EXPECT_TRUE(std::filesystem::exists(dir_.File("src/Demo/Demo.HTML")));
}

TEST_F(MainActionsTest, APathWithATrailingSlashIsNotTheSamePath) {
    fields_.outputPath = fields_.scanPath + "/";
    EXPECT_EQ(Actions().Create(), ActionResult::kDone);
    EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(MainActionsTest, AnExistingProjectIsOverwrittenOnlyWhenTheUserSaysYes) {
    ASSERT_EQ(Actions().Create(), ActionResult::kDone);
    std::string page = dir_.File("out/Demo/SYLVA_Open.html");
    std::filesystem::remove(page);

    prompter_.answers = {false};
    EXPECT_EQ(Actions().Create(), ActionResult::kNotRun);
    EXPECT_EQ(prompter_.shown.back(),
              "question: Project already exists on output path, are you shure you want to "
              "overwrite it?");
    EXPECT_FALSE(std::filesystem::exists(page));

    prompter_.answers = {true};
    EXPECT_EQ(Actions().Create(), ActionResult::kDone);
    EXPECT_TRUE(std::filesystem::exists(page));
}

TEST_F(MainActionsTest, ProjectNamesThatWouldAddressTheOutputDirectoryAreRefused) {
    for (const char* name : {".", ".."}) {
        fields_.projectName = name;
        prompter_.shown.clear();
        EXPECT_EQ(Actions().Create(), ActionResult::kNotRun) << name;
        EXPECT_EQ(prompter_.shown,
                  std::vector<std::string>{std::string("warning: Project name ") + name +
                                           " gives no usable directory name, please enter "
                                           "another project name."});
        EXPECT_EQ(Actions().RemoveProject(), ActionResult::kNotRun) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out")));
}

TEST_F(MainActionsTest, ProjectNamesWithInvalidCharactersGetUnderscoresInFileNames) {
    fields_.projectName = "a/b:c";
    EXPECT_EQ(Actions().Create(), ActionResult::kDone);
    EXPECT_TRUE(std::filesystem::is_directory(dir_.File("out/a_b_c")));
    EXPECT_NE(dir_.Read("out/a_b_c/a_b_c.HTML").find("<title>a/b:c</title>"), std::string::npos);
}

TEST_F(MainActionsTest, AMasterIndexNameWithAPathIsRefusedAloudAndNothingIsWritten) {
    fields_.masterIndexName = "sub\\INDEX.HTML";
    EXPECT_EQ(Actions().Create(), ActionResult::kNotRun);
    EXPECT_TRUE(
        Contains(Lines(protocol_),
                 "ERROR: Master file name MUST NOT contain path statement sub/INDEX.HTML !"));
    EXPECT_EQ(prompter_.shown,
              std::vector<std::string>{
                  "warning: Master file name MUST NOT contain path statement sub/INDEX.HTML !"});
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out")));
}

TEST_F(MainActionsTest, AScanPathThatIsNoDirectoryIsRefusedBeforeAnyQuestion) {
    ASSERT_EQ(Actions().Create(), ActionResult::kDone);
    const std::string index = dir_.Read("out/SYLVA_MAIN_INDEX.HTML");
    const std::string page = dir_.Read("out/Demo/SYLVA_Open.html");
    for (const std::string& scanPath : {dir_.File("sr"), std::string("/dev/null")}) {
        fields_.scanPath = scanPath;
        prompter_.shown.clear();
        protocol_.ResetContent();
        EXPECT_EQ(Actions().Create(), ActionResult::kNotRun) << scanPath;
        ASSERT_EQ(prompter_.shown.size(), 1u) << scanPath;
        EXPECT_EQ(prompter_.shown[0].rfind("warning: Scan path " + scanPath, 0), 0u);
        EXPECT_TRUE(Contains(Lines(protocol_), "ERROR: Scan path " + scanPath)) << scanPath;
        EXPECT_EQ(dir_.Read("out/SYLVA_MAIN_INDEX.HTML"), index);
        EXPECT_EQ(dir_.Read("out/Demo/SYLVA_Open.html"), page);
    }
}

TEST_F(MainActionsTest, RemoveAndAddForeignIndexUseTheConfiguredIndexMarkers) {
    // With the markers of the configuration, the master index holds two projects and a foreign
    // one; read with the built-in markers it would hold none, and a rewrite would lose them.
    dir_.Write("theme.ini",
               "SYL_Q_HTML_INDEX_BEGIN=<!-- begin -->\nSYL_Q_HTML_INDEX_END=<!-- end -->\n");
    fields_.options.configFile = dir_.File("theme.ini");
    ASSERT_EQ(Actions().Create(), ActionResult::kDone);
    fields_.projectName = "Second";
    ASSERT_EQ(Actions().Create(), ActionResult::kDone);
    fields_.projectName = "Web";
    fields_.foreignHtml = "https://example.org/docs/";
    ASSERT_EQ(Actions().AddForeignIndex(), ActionResult::kDone);
    fields_.projectName = "Second";
    prompter_.answers = {true};
    ASSERT_EQ(Actions().RemoveProject(), ActionResult::kDone);
    const std::string index = dir_.Read("out/SYLVA_MAIN_INDEX.HTML");
    EXPECT_NE(index.find("<!--Demo-->"), std::string::npos) << index;
    EXPECT_NE(index.find("<!--Web-->"), std::string::npos) << index;
    EXPECT_EQ(index.find("<!--Second-->"), std::string::npos) << index;
    EXPECT_NE(index.find("<!-- begin -->"), std::string::npos) << index;
}

TEST_F(MainActionsTest, RemoveDeletesTheFilesButLeavesASubdirectory) {
    ASSERT_EQ(Actions().Create(), ActionResult::kDone);
    dir_.Write("out/Demo/sources/kept.cpp", "int kept;\n");
    prompter_.answers = {true};
    EXPECT_EQ(Actions().RemoveProject(), ActionResult::kDoneWithFailures);

    EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/sources/kept.cpp")));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out/Demo/Demo.HTML")));
    std::vector<std::string> lines = Lines(protocol_);
    EXPECT_EQ(lines.front(), "Delete project Demo...");
    EXPECT_TRUE(Contains(lines, "    Deleting file " + dir_.File("out/Demo/Demo.HTML") + "..."));
    EXPECT_EQ(lines.back(), "ERROR: Cannot delete project sub directory!");
    EXPECT_EQ(dir_.Read("out/SYLVA_MAIN_INDEX.HTML").find("<!--Demo-->"), std::string::npos);
}

TEST_F(MainActionsTest, RemoveAnsweredNoKeepsTheFilesButHasRemovedTheLink) {
    ASSERT_EQ(Actions().Create(), ActionResult::kDone);
    prompter_.answers = {false};
    EXPECT_EQ(Actions().RemoveProject(), ActionResult::kNotRun);
    EXPECT_EQ(prompter_.shown.back(),
              "question: Every file in the projects sub directory " + dir_.File("out/Demo") +
                  "/*.* will be deleted!\nAre you shure, you want to delete every content of "
                  "the project?");
    EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/Demo.HTML")));
    EXPECT_EQ(dir_.Read("out/SYLVA_MAIN_INDEX.HTML").find("<!--Demo-->"), std::string::npos);

    prompter_.answers = {true};
    EXPECT_EQ(Actions().RemoveProject(), ActionResult::kDone);
    EXPECT_EQ(Lines(protocol_).back(), "Project deleted successfully.");
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out/Demo")));
}

TEST_F(MainActionsTest, RemoveOfAMissingProjectWarns) {
    EXPECT_EQ(Actions().RemoveProject(), ActionResult::kNotRun);
    EXPECT_EQ(prompter_.shown,
              std::vector<std::string>{"warning: Project does not exist on output path."});
}

TEST_F(MainActionsTest, AddForeignIndexWithADriveLetterAsksAndPrefixesLocalhost) {
    fields_.foreignHtml = "C:\\docs\\index.html";
    fields_.projectName = "Foreign";
    prompter_.answers = {true};
    std::filesystem::create_directories(dir_.File("out"));
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kDone);
    EXPECT_EQ(fields_.foreignHtml, "file://localhost/C:\\docs\\index.html");
    std::vector<std::string> lines = Lines(protocol_);
    EXPECT_EQ(lines.front(), "Add foreign index to main index file.");
    EXPECT_TRUE(Contains(lines, "WARNING: \"Foreign index\" file name contains drive statement!"));
    EXPECT_EQ(lines.back(),
              "Foreign index project Foreign added to master index "
              "SYLVA_MAIN_INDEX.HTML.");
    EXPECT_NE(
        dir_.Read("out/SYLVA_MAIN_INDEX.HTML")
            .find("<!--DESC:Foreign;file://localhost/C:\\docs\\index.html;The demoDESCEND-->"),
        std::string::npos);
}

TEST_F(MainActionsTest, AddForeignIndexWithAnAbsolutePathOrAnAddress) {
    std::filesystem::create_directories(dir_.File("out"));
    fields_.projectName = "Local";
    fields_.foreignHtml = "/srv/docs/index.html";
    prompter_.answers = {true};
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kDone);
    EXPECT_EQ(fields_.foreignHtml, "file://localhost/srv/docs/index.html");

    fields_.projectName = "Web";
    fields_.foreignHtml = "https://example.org/docs/";
    prompter_.shown.clear();
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kDone);
    EXPECT_TRUE(prompter_.shown.empty());
    EXPECT_EQ(fields_.foreignHtml, "https://example.org/docs/");

    fields_.projectName = "Declined";
    fields_.foreignHtml = "D:\\x.html";
    prompter_.answers = {false};
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kNotRun);
    EXPECT_EQ(fields_.foreignHtml, "D:\\x.html");
    EXPECT_EQ(dir_.Read("out/SYLVA_MAIN_INDEX.HTML").find("Declined"), std::string::npos);
}

TEST_F(MainActionsTest, AddForeignIndexWithoutAnAddressOrANameWarns) {
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kNotRun);
    EXPECT_EQ(Lines(protocol_).back(), "ERROR: \"Foreign index\" file not given.");
    EXPECT_EQ(prompter_.shown, std::vector<std::string>{
                                   "warning: Please insert a \"Foreign index:\" html filename or "
                                   "URL. This adress will be added as project."});

    fields_.foreignHtml = "https://example.org/";
    fields_.projectName.clear();
    prompter_.shown.clear();
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kNotRun);
    EXPECT_EQ(prompter_.shown,
              std::vector<std::string>{
                  "warning: Project name is empty, please enter a valid project name."});

    // Without an output path the master index would go to the root of the file system.
    fields_.projectName = "Web";
    fields_.outputPath.clear();
    prompter_.shown.clear();
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kNotRun);
    EXPECT_EQ(
        prompter_.shown,
        std::vector<std::string>{"warning: Output path is empty, please enter a valid path name."});
}

TEST_F(MainActionsTest, AddForeignIndexThatCannotBeWrittenIsAFailureNotAnAddition) {
    dir_.Write("out", "a file where the output directory should be");
    fields_.foreignHtml = "https://example.org/";
    EXPECT_EQ(Actions().AddForeignIndex(), ActionResult::kDoneWithFailures);
    std::vector<std::string> lines = Lines(protocol_);
    EXPECT_FALSE(Contains(lines, "added to master index")) << lines.back();
    EXPECT_TRUE(Contains(lines, "ERROR:")) << lines.back();
    EXPECT_EQ(dir_.Read("out"), "a file where the output directory should be");
}

TEST_F(MainActionsTest, GetMatchingDescriptionTakesTheFirstRecordOfTheName) {
    dir_.Write("out/SYLVA_MAIN_INDEX.HTML",
               "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n"
               "<!--Other--><!--DESC:Other;o.html;not thisDESCEND-->\n"
               "<!--Demo--><!--DESC:Demo;a.html;first descriptionDESCEND-->\n"
               "<!--Demo--><!--DESC:Demo;b.html;second descriptionDESCEND-->\n"
               "<!-- ##### END OF SYLVA INDEX ##### -->\n");
    fields_.projectDesc.clear();
    EXPECT_TRUE(Actions().GetMatchingDescription());
    EXPECT_EQ(fields_.projectDesc, "first description");

    fields_.projectName = "Missing";
    EXPECT_FALSE(Actions().GetMatchingDescription());
    EXPECT_EQ(fields_.projectDesc, "first description");
    EXPECT_TRUE(protocol_.Lines().empty());
}

TEST_F(MainActionsTest, ChooseButtonsTakeTheChoiceOrLeaveTheField) {
    prompter_.choices = {std::string("/chosen/dir"), std::nullopt};
    EXPECT_TRUE(Actions().ChooseScanPath());
    EXPECT_EQ(fields_.scanPath, "/chosen/dir");
    std::string before = fields_.masterIndexName;
    EXPECT_FALSE(Actions().ChooseMasterIndex());
    EXPECT_EQ(fields_.masterIndexName, before);
    EXPECT_EQ(prompter_.shown,
              (std::vector<std::string>{
                  "choose 2 from " + dir_.File("src"),
                  "choose 0 from " + dir_.File("out/SYLVA_MAIN_INDEX.HTML") + " html"}));
    // A run refuses a master index name with a path: only the chosen file's name is kept.
    prompter_.choices = {std::string("/elsewhere/ALL.HTML")};
    EXPECT_TRUE(Actions().ChooseMasterIndex());
    EXPECT_EQ(fields_.masterIndexName, "ALL.HTML");
}

TEST_F(MainActionsTest, ShowMasterIndexWarnsWithTheOpenersMessage) {
    prompter_.openFailure = "no browser";
    Actions().ShowMasterIndex();
    EXPECT_EQ(prompter_.shown,
              (std::vector<std::string>{"open " + dir_.File("out/SYLVA_MAIN_INDEX.HTML"),
                                        "warning: no browser"}));
}

TEST_F(MainActionsTest, ProjectRowsSplitTheRecordBodyAtSemicolons) {
    dir_.Write("out/SYLVA_MAIN_INDEX.HTML",
               "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n"
               "<!--Zed--><!--DESC:Zed;z/z_frame.HTML;last;with;extraDESCEND-->\n"
               "<!--Alpha--><!--DESC:Alpha;a/a_frame.HTML;firstDESCEND-->\n"
               "<!-- ##### END OF SYLVA INDEX ##### -->\n");
    std::vector<ProjectRow> rows =
        ReadProjectRows("SYLVA.INI", dir_.File("out"), "SYLVA_MAIN_INDEX.HTML");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].columns,
              (std::vector<std::string>{"Zed", "z/z_frame.HTML", "last", "with", "extra"}));
    EXPECT_EQ(rows[1].columns, (std::vector<std::string>{"Alpha", "a/a_frame.HTML", "first"}));
}

}  // namespace
}  // namespace sylva
