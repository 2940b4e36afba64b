#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "html_project.h"
#include "support/zt_system.h"

namespace sylva {
namespace {

using test::HtmlProject;

const std::string kBegin = "<!-- ##### BEGIN OF SYLVA INDEX ##### -->";
const std::string kEnd = "<!-- ##### END OF SYLVA INDEX ##### -->";

// The rows in `text` as tokens: "-" a gap, "[name]" a group heading, the item name for an item
// row (with "*" behind when it shows the red image). In `row`, group 1 is a heading's name (empty
// for the gap row of the index page), group 3 the image colour and group 4 an item's name.
std::vector<std::string> Rows(std::string_view text, const std::regex& row) {
    std::vector<std::string> rows;
    for (std::cregex_iterator it(text.data(), text.data() + text.size(), row), end; it != end;
         ++it) {
        const std::cmatch& match = *it;
        if (match[4].matched) {
            rows.push_back(match[4].str() + (match[3].str() == "Red" ? "*" : ""));
        } else if (match[1].matched && match[1].length() > 0) {
            // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
            rows.push_back(std::string("[").append(match[1].str()).append("]"));
        } else {
            rows.push_back("-");
        }
    }
    return rows;
}

std::vector<std::string> IndexRows(const std::string& page) {
    static const std::regex kRow(
        "  <tr><td width=\"30%\" valign=\"top\" align=\"left\">(?:"
        "<font face=\"Arial\" size=\\+1>([^<]*)</font>|"
        "&nbsp;&nbsp;&nbsp;(<img src=\"../bBalls(Green|Red).gif\">)?<a href=\"[^\"]*\">"
        "<font face=\"Arial\">([^<]*)</font></a>)");
    return Rows(page, kRow);
}

// The frame's rows between the end of its form and its creation time.
std::vector<std::string> FrameRows(const std::string& page) {
    static const std::regex kRow(
        "<BR><font face=\"Arial\" size=\\+1><B>([^<]*)</B></font><BR>|"
        "(<img src=\"../bBalls(Green|Red).gif\">)?<a href=\"[^\"]*\" (?:target|TARGET)=\"Details\">"
        "<font face=\"Arial\">([^<]*)</font></a><BR>\n|"
        "<BR>");
    std::size_t from = page.find("</form>");
    std::size_t to = page.find("File created:");
    if (from == std::string::npos || to == std::string::npos) {
        return {"(no rows in: " + page + ")"};
    }
    return Rows(std::string_view(page).substr(from, to - from), kRow);
}

std::vector<std::string> Tokens(std::initializer_list<const char*> tokens) {
    return {tokens.begin(), tokens.end()};
}

TEST(ProjectIndex, GroupsGapsBetweenInitialsAndTheAlphabeticalIndex) {
    HtmlProject project;
    project.Add("Add", "First");
    project.Add("Bind", "First");
    project.Add("Copy", "Second");
    project.Add("Cut", "Second");
    project.Sort();
    EXPECT_EQ(project.generator.WriteProjectIndex(), 4);

    EXPECT_EQ(IndexRows(project.Read("Demo.HTML")),
              Tokens({"-", "[First]", "-", "Add", "-", "Bind", "-", "[Second]", "-", "Copy", "Cut",
                      "-", "-", "-", "[Index]", "Add", "Bind", "Copy", "Cut"}));
    EXPECT_EQ(FrameRows(project.Read("Demo_frameidx.HTML")),
              Tokens({"-", "[First]", "-", "Add", "-", "Bind", "-", "[Second]", "-", "Copy", "Cut",
                      "-", "-", "-", "[Index]", "Add", "Bind", "Copy", "Cut"}));
    EXPECT_EQ(
        project.ProtocolLines(),
        (std::vector<std::string>{"", "  Creating HTML index file Demo.HTML for project Demo.",
                                  "  Add alphabetical index...",
                                  "  Generating projects HTML base frame " +
                                      project.ProjectFile("Demo_frame.HTML") + "..."}));
    EXPECT_EQ(project.progress.statuses, std::vector<std::string>{"Generate project index..."});
    // One step per item for the drop-down list and one per item for the rows.
    EXPECT_EQ(project.generator.progressPos, 8);
}

TEST(ProjectIndex, InitialsComeFromTheMemberNameWithLettersFoldedToUpperCase) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {{"Apple", "alpha"}, {"-", "[G]", "-", "Apple", "alpha"}},
        {{"Y", "_x"}, {"-", "[G]", "-", "Y", "-", "_x"}},
        {{"CFoo::Add", "CBar::Apply", "CFoo::Bind"},
         {"-", "[G]", "-", "CBar::Apply", "CFoo::Add", "-", "CFoo::Bind"}},
    };
    for (const Case& c : cases) {
        HtmlProject project;
        project.generator.options.alphaIndex = 0;
        for (const std::string& name : c.names) {
            project.Add(name, "G");
        }
        project.Sort();
        project.generator.WriteProjectIndex();
        EXPECT_EQ(IndexRows(project.Read("Demo.HTML")), c.rows) << c.names[0];
    }
}

TEST(ProjectIndex, WithoutTheAlphabeticalIndexThereIsNoIndexHeading) {
    HtmlProject project;
    project.generator.options.alphaIndex = 0;
    project.Add("Add", "First");
    project.Sort();
    project.generator.WriteProjectIndex();
    EXPECT_EQ(IndexRows(project.Read("Demo.HTML")), Tokens({"-", "[First]", "-", "Add"}));
    EXPECT_EQ(FrameRows(project.Read("Demo_frameidx.HTML")), Tokens({"-", "[First]", "-", "Add"}));
    for (const std::string& line : project.ProtocolLines()) {
        EXPECT_NE(line, "  Add alphabetical index...");
    }
}

TEST(ProjectIndex, AnItemInTheEmptyGroupTakesTheCurrentInitialWithoutAHeading) {
    HtmlProject project;
    project.generator.options.alphaIndex = 0;
    project.Add("Alpha", "");
    project.Add("Beta", "");
    project.Sort();
    project.generator.WriteProjectIndex();
    EXPECT_EQ(IndexRows(project.Read("Demo.HTML")), Tokens({"Alpha", "-", "Beta"}));
}

TEST(ProjectIndex, TheDropDownListsEveryItemSortedWithLongNamesCut) {
    HtmlProject project;
    project.Add("Twenty_characters_20", "B");
    project.Add("Twenty_one_characters", "A");
    project.Add("Short", "C");
    project.Sort();
    project.generator.WriteProjectIndex();
    const std::string frame = project.Read("Demo_frameidx.HTML");
    const std::string expected =
        "            [ListSearchEntries]\n"
        "<option value=\"SYLVA_Short.html\">Short\n"
        "<option value=\"SYLVA_Twenty_characters_20.html\">Twenty_characters_20\n"
        "<option value=\"SYLVA_Twenty_one_characters.html\">Twenty_one_character...\n"
        "        </select>\n"
        "\n"
        "        <input type=submit value=\"Go\" onClick=\"OpenLink()\">\n"
        "    </form>\n"
        "\n"
        "    <table border=\"0\" width=\"100%\">\n"
        "    " +
        kBegin + "<BR>";
    EXPECT_NE(frame.find(expected), std::string::npos) << frame;
}

TEST(ProjectIndex, AFrameTemplateWithoutEntryPlaceKeepsTheFormEnd) {
    HtmlProject project;
    project.generator.SetSetting(SYL_HTML_INDEX_FILE_FRAME_START, "<select>");
    project.Add("Short");
    project.Sort();
    project.generator.WriteProjectIndex();
    const std::string frame = project.Read("Demo_frameidx.HTML");
    EXPECT_EQ(frame.rfind("<select>\n        </select>\n", 0), 0u) << frame;
    EXPECT_EQ(frame.find("<option"), std::string::npos);
    EXPECT_EQ(project.generator.progressPos, 1);
}

TEST(ProjectIndex, AProjectWithoutItemsStillGetsItsThreePages) {
    for (bool withEmptySlots : {false, true}) {
        HtmlProject project;
        if (withEmptySlots) {
            project.Add("Removed");
            project.generator.RemoveItem(0);
        }
        EXPECT_EQ(project.generator.WriteProjectIndex(), withEmptySlots ? 1 : 0);
        EXPECT_EQ(IndexRows(project.Read("Demo.HTML")), Tokens({"-", "-", "-", "[Index]"}));
        EXPECT_EQ(FrameRows(project.Read("Demo_frameidx.HTML")),
                  Tokens({"-", "-", "-", "[Index]"}));
        EXPECT_NE(project.Read("Demo.HTML").find(kEnd), std::string::npos);
        EXPECT_TRUE(CZTSystem::FileExist(project.ProjectFile("Demo_frame.HTML")));
    }
}

TEST(ProjectIndex, MarkerImagesColourTheRowsAndOrderTheAlphabeticalIndex) {
    HtmlProject project;
    project.dir.Write("bBallsGreen.gif", "GIF89a");
    CSylItem& apple = project.Add("Apple");
    apple.isPublic = 0;
    project.Add("Zebra");
    project.Sort();
    project.generator.WriteProjectIndex();
    // "../bBallsGreen.gif" sorts before "../bBallsRed.gif": public rows come first.
    EXPECT_EQ(IndexRows(project.Read("Demo.HTML")),
              Tokens({"-", "[Common]", "-", "Apple*", "-", "Zebra", "-", "-", "-", "[Index]",
                      "Zebra", "Apple*"}));
    EXPECT_EQ(FrameRows(project.Read("Demo_frameidx.HTML")),
              Tokens({"-", "[Common]", "-", "Apple*", "-", "Zebra", "-", "-", "-", "[Index]",
                      "Zebra", "Apple*"}));
}

TEST(ProjectIndex, ItemsOfKindsNotCreatedAreLeftOut) {
    HtmlProject project;
    project.generator.options.alphaIndex = 0;
    project.Add("Pub");
    project.Add("Priv").isPublic = 0;
    project.Sort();
    project.generator.typePrivate = 0;
    project.generator.WriteProjectIndex();
    EXPECT_EQ(IndexRows(project.Read("Demo.HTML")), Tokens({"-", "[Common]", "-", "Pub"}));
}

TEST(ProjectIndex, PagesThatCannotBeCreatedAreReportedAndEndTheStage) {
    HtmlProject project;
    project.Add("Add");
    project.Sort();
    project.generator.frameIndexFile = project.dir.File("missing/Demo_frameidx.HTML");
    EXPECT_EQ(project.generator.WriteProjectIndex(), -1);
    EXPECT_EQ(project.ProtocolLines().back(),
              "  ERROR: Cannot access file " + project.generator.frameIndexFile + " !");
    EXPECT_FALSE(CZTSystem::FileExist(project.ProjectFile("Demo_frame.HTML")));
    EXPECT_EQ(project.generator.failureCount, 1);
}

TEST(FrameSet, NamesThePagesByTheSafeProjectNameAndReportsFailures) {
    HtmlProject project("Demo:A?");
    EXPECT_EQ(project.generator.WriteFrameSet("Demo:A?"), 1);
    EXPECT_EQ(project.Read("Demo_A__frame.HTML"),
              "<HTML>\n"
              "<HEAD>\n"
              "<TITLE>Demo:A?</TITLE></HEAD>\n"
              "<FRAMESET COLS=\"240,*\" ONUNLOAD=\"0\">\n"
              "<FRAME SRC=\"Demo_A__frameidx.HTML\" NAME=\"Index\" MARGINWIDTH=\"2\" "
              "MARGINHEIGHT=\"2\">\n"
              "<FRAME SRC=\"Demo_A_.HTML\" NAME=\"Details\">\n"
              "<NOFRAMES><BODY><basefont size=2></BODY></NOFRAMES></FRAMESET></HTML>\n");

    project.generator.frameFile = project.dir.File("missing/x_frame.HTML");
    EXPECT_EQ(project.generator.WriteFrameSet("Demo:A?"), 0);
    EXPECT_EQ(project.ProtocolLines().back(),
              "    ERROR: Cannot access to HTML-file " + project.generator.frameFile + " !");
}

}  // namespace
}  // namespace sylva
