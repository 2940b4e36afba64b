// The modern theme (themes/modern.ini): that the configuration format takes it whole, and that
// the pages generated with it carry what it promises while Sylva can still read its master index
// back.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_actions.h"
#include "engine/engine.h"
#include "support/line_reader.h"
#include "test_support/scratch_dir.h"
#include "test_support/scripted_prompter.h"

namespace sylva {
namespace {

const std::string kTheme = std::string(SYLVA_SOURCE_DIR) + "/themes/modern.ini";

constexpr const char* kSource =
    "/**--\n"
    "Description: Opens the \"Door\".\n"
    "See also: Door\n"
    "--e*/\n"
    "int Open(int how,    // how far\n"
    "         int speed); // how fast\n"
    "\n"
    "/**--\n"
    "Group: Parts\n"
    "Description: A door.\n"
    "--e*/\n"
    "struct Door {\n"
    "    int width;  // in cm\n"
    "};\n"
    "\n";

// The pages of a project and the master index, by their path below the output directory.
const std::vector<std::string> kPages = {"SYLVA_MAIN_INDEX.HTML",   "Demo/Demo.HTML",
                                         "Demo/Demo_frameidx.HTML", "Demo/Demo_frame.HTML",
                                         "Demo/SYLVA_Open.html",    "Demo/SYLVA_Door.html"};

bool Holds(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// Expects each of `parts` somewhere in `text`; `where` names the text on failure.
void ExpectAll(const std::string& text, std::initializer_list<std::string_view> parts,
               const std::string& where) {
    for (std::string_view part : parts) {
        EXPECT_TRUE(Holds(text, part)) << where << " lacks " << part;
    }
}

TEST(ModernThemeFile, EveryLineIsACommentOrAKnownKeyAndFitsInOneRead) {
    LineReader reader;
    ASSERT_TRUE(reader.Open(kTheme));
    std::string line;
    int number = 0;
    int settingLines = 0;
    while (reader.ReadLine(line)) {
        ++number;
        // A longer line would be read in pieces, the rest of it taken as a line of its own.
        EXPECT_LT(line.size(), 999u) << "line " << number;
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        std::string key = line.substr(0, line.find('='));
        EXPECT_TRUE(FindSettingByKey(key).has_value()) << "line " << number << ": " << key;
        EXPECT_NE(line.find('='), std::string::npos) << "line " << number;
        ++settingLines;
    }
    EXPECT_GT(settingLines, 100);

    // It changes templates and fonts only: markers, keywords and headings keep their defaults.
    Settings themed;
    ASSERT_TRUE(LoadConfig(themed, kTheme, nullptr));
    const Settings defaults;
    for (int id = 0; id < kSettingCount; ++id) {
        std::string_view key = kSettingDefinitions[id].key;
        if (!key.starts_with("SYL_HTML_") && !key.starts_with("SYL_STD_FONT_")) {
            EXPECT_EQ(themed[SettingId(id)], defaults[SettingId(id)]) << key;
        }
    }
}

class ModernThemeTest : public ::testing::Test {
  protected:
    ModernThemeTest() : cwd_(dir_.path()) {
        dir_.Write("src/door.h", kSource);
        fields_.scanPath = dir_.File("src");
        fields_.outputPath = dir_.File("out");
        fields_.options.configFile = kTheme;
    }

    void Generate(const std::string& project, const std::string& description) {
        fields_.projectName = project;
        fields_.projectDesc = description;
        prompter_.answers = {true};  // overwrite an existing project
        MainActions actions(fields_, prompter_, nullptr, nullptr);
        MemoryListBox protocol;
        ASSERT_EQ(actions.CreateBatch(&protocol, &protocol), ActionResult::kDone) << project;
        prompter_.answers.clear();
    }

    std::string Page(const std::string& path) const { return dir_.Read("out/" + path); }

    test::ScratchDir dir_;
    test::CurrentDirectory cwd_;
    MainFields fields_;
    test::ScriptedPrompter prompter_;
};

TEST_F(ModernThemeTest, EveryPageDeclaresUtf8AViewportAndBothColourSchemes) {
    Generate("Demo", "The demo");
    for (const std::string& path : kPages) {
        std::string page = Page(path);
        EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u) << path;
        // A browser looks for the encoding in the first 1024 bytes only.
        EXPECT_LT(page.find("<meta charset=\"utf-8\">"), 1024u) << path;
        ExpectAll(page,
                  {"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
                   ":root{color-scheme:light dark;", "@media (prefers-color-scheme: dark){:root{",
                   "</body></html>"},
                  path);
    }
}

TEST_F(ModernThemeTest, TheIndexFrameHasAFilterBoxOverItsItemLinks) {
    Generate("Demo", "The demo");
    std::string frame = Page("Demo/Demo_frameidx.HTML");
    ExpectAll(
        frame,
        {"<input type=\"search\"", "oninput=\"SylvaFilter(this)\"", "<script>function OpenLink(){",
         "function SylvaFilter(box){",  // The filter leaves the search's result links alone.
         "querySelectorAll('a[target=\"Details\" i]:not(.sylva-results a)')",
         // The table the fixed form end opens is closed.
         "<!-- ##### END OF SYLVA INDEX ##### --></table>"},
        "the index frame");
    // The rows the script filters: one link per item, in the group list and in the alphabetical
    // index.
    for (std::string link : {"<a href=\"SYLVA_Open.html\" target=\"Details\">",
                             "<a href=\"SYLVA_Door.html\" target=\"Details\">"}) {
        std::size_t first = frame.find(link);
        ASSERT_NE(first, std::string::npos) << link;
        EXPECT_NE(frame.find(link, first + 1), std::string::npos) << link;
    }
}

TEST_F(ModernThemeTest, DescriptionPagesUseTheThemesBlocks) {
    Generate("Demo", "The demo");
    std::string page = Page("Demo/SYLVA_Open.html");
    ExpectAll(
        page,
        {"<header><h1>Open</h1><span class=\"kind\">Common<BR>(Public)</span>",
         "<pre class=\"syntax\"><code>int Open(int how,",
         "<table class=\"params\">\n<tr><td><I>how</I></td><td>how far</td>",
         "Opens the \"<a href=\"SYLVA_Door.html\">Door</a>\".",
         // One line break after each See also link: the page writes it.
         "<a href=\"Demo.HTML\">Project description index</a><BR>\n<a", "<footer>File created: "},
        "SYLVA_Open.html");
}

TEST_F(ModernThemeTest, PagesWithASearchBoxLoadTheSearchThatTheRunWritesBesideThem) {
    Generate("Demo", "The demo");
    for (std::string path : {"Demo/Demo.HTML", "Demo/Demo_frameidx.HTML", "Demo/SYLVA_Open.html",
                             "Demo/SYLVA_Door.html"}) {
        ExpectAll(Page(path),
                  {"<link rel=\"stylesheet\" href=\"sylva_search.css\">",
                   "<script src=\"sylva_search.js\" defer></script>", "<input type=\"search\"",
                   "class=\"sylva-search\""},
                  path);
    }
    for (std::string file : {"sylva_search.js", "sylva_search.css", "sylva_search_index.js",
                             "sylva_search_i_0.js", "sylva_search_w_do.js"}) {
        EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/" + file))) << file;
    }
    // The frame set's frames keep the names that the index rows aim at.
    ExpectAll(Page("Demo/Demo_frame.HTML"),
              {"<iframe id=\"index\" name=\"Index\" title=\"Index\" src=\"Demo_frameidx.HTML\">",
               "<iframe id=\"details\" name=\"Details\" title=\"Details\" src=\"Demo.HTML\">"},
              "the frame set");
}

TEST_F(ModernThemeTest, MasterIndexRecordsAreReadBackAndKeptByLaterRuns) {
    Generate("Demo", "The demo");
    std::string master = Page("SYLVA_MAIN_INDEX.HTML");
    ExpectAll(master,
              {"\n<!--Demo--><tr><td><a href=\"Demo/Demo_frame.HTML\">Demo</a>",
               "<!--DESC:Demo;Demo/Demo_frame.HTML;The demoDESCEND-->\n"},
              "the master index");

    // A second project and a second run of the first: both records stay, each once.
    Generate("Zeta", "Another");
    Generate("Demo", "The demo, again");
    std::vector<ProjectRow> rows =
        ReadProjectRows(kTheme, fields_.outputPath, fields_.masterIndexName);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].columns,
              (std::vector<std::string>{"Demo", "Demo/Demo_frame.HTML", "The demo, again"}));
    EXPECT_EQ(rows[1].columns,
              (std::vector<std::string>{"Zeta", "Zeta/Zeta_frame.HTML", "Another"}));

    // The description lookup of the window reads the same records.
    fields_.projectName = "Zeta";
    fields_.projectDesc.clear();
    MainActions actions(fields_, prompter_, nullptr, nullptr);
    EXPECT_TRUE(actions.GetMatchingDescription());
    EXPECT_EQ(fields_.projectDesc, "Another");
}

TEST_F(ModernThemeTest, AsTheStandardFileInTheCurrentDirectory) {
    std::filesystem::copy_file(kTheme, dir_.File("SYLVA.INI"));
    fields_.options.configFile = "SYLVA.INI";
    Generate("Demo", "The demo");
    EXPECT_TRUE(Holds(Page("Demo/Demo.HTML"), "<meta charset=\"utf-8\">"));
}

}  // namespace
}  // namespace sylva
