#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "html/sorted_rows.h"
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

// What the index pages of Add and Bind (group First), Copy and Cut (group Second) show, and what
// writing them reported.
void ExpectGroupsGapsAndTheAlphabeticalIndex(HtmlProject& html) {
    EXPECT_EQ(IndexRows(html.Read("Demo.HTML")),
              Tokens({"-", "[First]", "-", "Add", "-", "Bind", "-", "[Second]", "-", "Copy", "Cut",
                      "-", "-", "-", "[Index]", "Add", "Bind", "Copy", "Cut"}));
    EXPECT_EQ(FrameRows(html.Read("Demo_frameidx.HTML")),
              Tokens({"-", "[First]", "-", "Add", "-", "Bind", "-", "[Second]", "-", "Copy", "Cut",
                      "-", "-", "-", "[Index]", "Add", "Bind", "Copy", "Cut"}));
    EXPECT_EQ(
        html.ProtocolLines(),
        (std::vector<std::string>{"", "  Creating HTML index file Demo.HTML for project Demo.",
                                  "  Add alphabetical index...",
                                  "  Generating projects HTML base frame " +
                                      html.ProjectFile("Demo_frame.HTML") + "..."}));
    EXPECT_EQ(html.progress.statuses, std::vector<std::string>{"Generate project index..."});
    // One step per item for the drop-down list and one per item for the rows.
    EXPECT_EQ(html.reporter.progressPos(), 8);
}

// With more than one thread the two pages are written at once, each in a pass of its own: they
// come out as one pass over both writes them, and the stage reports alike.
TEST(ProjectIndex, GroupsGapsBetweenInitialsAndTheAlphabeticalIndex) {
    std::vector<std::string> pagesOfOneThread;
    for (int threads : {1, 2}) {
        SCOPED_TRACE("threads: " + std::to_string(threads));
        HtmlProject html;
        html.job.threadCount = threads;
        html.Add("Add", {"Group: First"});
        html.Add("Bind", {"Group: First"});
        html.Add("Copy", {"Group: Second"});
        html.Add("Cut", {"Group: Second"});
        html.Sort();
        EXPECT_EQ(WriteProjectIndex(html.job), 4);
        // Up to their creation times, which two runs need not share.
        std::vector<std::string> pages;
        for (const char* name : {"Demo.HTML", "Demo_frameidx.HTML"}) {
            const std::string page = html.Read(name);
            pages.push_back(page.substr(0, page.rfind("File created:")));
        }
        if (threads == 1) {
            pagesOfOneThread = pages;
        } else {
            EXPECT_EQ(pages, pagesOfOneThread);
        }
        ExpectGroupsGapsAndTheAlphabeticalIndex(html);
    }
}

TEST(ProjectIndex, InitialsComeFromTheMemberNameWithLettersFoldedToUpperCase) {
    struct Case {
        std::vector<std::string> declarations;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {{"Apple", "alpha"}, {"-", "[G]", "-", "Apple", "alpha"}},
        {{"void Y()", "_x"}, {"-", "[G]", "-", "Y", "-", "_x"}},
        {{"CFoo::Add", "CBar::Apply", "CFoo::Bind"},
         {"-", "[G]", "-", "CBar::Apply", "CFoo::Add", "-", "CFoo::Bind"}},
    };
    for (const Case& c : cases) {
        HtmlProject html;
        html.scanned.options.alphaIndex = 0;
        for (const std::string& declaration : c.declarations) {
            html.Add(declaration, {"Group: G"});
        }
        html.Sort();
        EXPECT_EQ(WriteProjectIndex(html.job), static_cast<int>(c.declarations.size()));
        EXPECT_EQ(IndexRows(html.Read("Demo.HTML")), c.rows) << c.declarations[0];
    }
}

TEST(ProjectIndex, WithoutTheAlphabeticalIndexThereIsNoIndexHeading) {
    HtmlProject html;
    html.scanned.options.alphaIndex = 0;
    html.Add("Add", {"Group: First"});
    html.Sort();
    EXPECT_EQ(WriteProjectIndex(html.job), 1);
    EXPECT_EQ(IndexRows(html.Read("Demo.HTML")), Tokens({"-", "[First]", "-", "Add"}));
    EXPECT_EQ(FrameRows(html.Read("Demo_frameidx.HTML")), Tokens({"-", "[First]", "-", "Add"}));
    for (const std::string& line : html.ProtocolLines()) {
        EXPECT_NE(line, "  Add alphabetical index...");
    }
}

TEST(ProjectIndex, AnItemInTheEmptyGroupTakesTheCurrentInitialWithoutAHeading) {
    HtmlProject html;
    html.scanned.options.alphaIndex = 0;
    // A Group line without text: the next line, an empty one, is the group.
    html.Add("Alpha", {"Group:", ""});
    html.Add("Beta", {"Group:", ""});
    html.Sort();
    EXPECT_EQ(WriteProjectIndex(html.job), 2);
    EXPECT_EQ(IndexRows(html.Read("Demo.HTML")), Tokens({"Alpha", "-", "Beta"}));
}

TEST(ProjectIndex, TheDropDownListsEveryItemSortedWithLongNamesCut) {
    HtmlProject html;
    html.Add("Twenty_characters_20", {"Group: B"});
    html.Add("Twenty_one_characters", {"Group: A"});
    html.Add("Short", {"Group: C"});
    html.Sort();
    EXPECT_EQ(WriteProjectIndex(html.job), 3);
    const std::string frame = html.Read("Demo_frameidx.HTML");
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
    HtmlProject html;
    html.scanned.settings.Set(SYL_HTML_INDEX_FILE_FRAME_START, "<select>");
    html.Add("Short");
    html.Sort();
    EXPECT_EQ(WriteProjectIndex(html.job), 1);
    const std::string frame = html.Read("Demo_frameidx.HTML");
    EXPECT_EQ(frame.rfind("<select>\n        </select>\n", 0), 0u) << frame;
    EXPECT_EQ(frame.find("<option"), std::string::npos);
    EXPECT_EQ(html.reporter.progressPos(), 1);
}

TEST(ProjectIndex, AProjectWithoutItemsStillGetsItsThreePages) {
    for (bool withEmptySlots : {false, true}) {
        HtmlProject html;
        if (withEmptySlots) {
            html.Add("Removed");
            html.scanned.items.Remove(0);
        }
        EXPECT_EQ(WriteProjectIndex(html.job), withEmptySlots ? 1 : 0);
        EXPECT_EQ(IndexRows(html.Read("Demo.HTML")), Tokens({"-", "-", "-", "[Index]"}));
        EXPECT_EQ(FrameRows(html.Read("Demo_frameidx.HTML")), Tokens({"-", "-", "-", "[Index]"}));
        EXPECT_NE(html.Read("Demo.HTML").find(kEnd), std::string::npos);
        EXPECT_TRUE(CZTSystem::FileExist(html.ProjectFile("Demo_frame.HTML")));
    }
}

TEST(ProjectIndex, MarkerImagesColourTheRowsAndOrderTheAlphabeticalIndex) {
    HtmlProject html;
    html.dir.Write("bBallsGreen.gif", "GIF89a");
    html.Add("Apple", {"Doc type: private"});
    html.Add("Zebra");
    html.Sort();
    EXPECT_EQ(WriteProjectIndex(html.job), 2);
    // "../bBallsGreen.gif" sorts before "../bBallsRed.gif": public rows come first.
    EXPECT_EQ(IndexRows(html.Read("Demo.HTML")),
              Tokens({"-", "[Common]", "-", "Apple*", "-", "Zebra", "-", "-", "-", "[Index]",
                      "Zebra", "Apple*"}));
    EXPECT_EQ(FrameRows(html.Read("Demo_frameidx.HTML")),
              Tokens({"-", "[Common]", "-", "Apple*", "-", "Zebra", "-", "-", "-", "[Index]",
                      "Zebra", "Apple*"}));
}

TEST(ProjectIndex, ItemsOfKindsNotCreatedAreLeftOut) {
    HtmlProject html;
    html.scanned.options.alphaIndex = 0;
    html.Add("Pub");
    html.Add("Priv", {"Doc type: private"});
    html.Sort();
    html.job.typePrivate = 0;
    EXPECT_EQ(WriteProjectIndex(html.job), 2);
    EXPECT_EQ(IndexRows(html.Read("Demo.HTML")), Tokens({"-", "[Common]", "-", "Pub"}));
}

TEST(ProjectIndex, PagesThatCannotBeCreatedAreReportedAndEndTheStage) {
    HtmlProject html;
    html.Add("Add");
    html.Sort();
    html.project.frameIndexPage = html.dir.File("missing/Demo_frameidx.HTML");
    EXPECT_EQ(WriteProjectIndex(html.job), -1);
    EXPECT_EQ(html.ProtocolLines().back(), "  ERROR: Cannot access file " +
                                               html.project.frameIndexPage +
                                               " ! (No such file or directory)");
    EXPECT_FALSE(CZTSystem::FileExist(html.ProjectFile("Demo_frame.HTML")));
    EXPECT_EQ(html.reporter.failureCount(), 1);
}

// Rows that agree on far more bytes than one key holds, rows that end on a key's boundary, and
// equal rows: the order is the order of their full texts, and a row is built again once per step
// of key bytes at most, never once per comparison.
TEST(SortedRows, OrdersByTheFullTextBuildingEachRowOncePerStep) {
    const std::string lead = "<option value=\"";
    const std::string shared(70, 'n');
    std::vector<std::string> rows;
    for (const std::string& tail :
         std::vector<std::string>{"b", "a", "", "a", "ab", std::string(32, 'z'), "c"}) {
        rows.push_back(lead + shared + tail);
        rows.push_back(lead + tail);
        rows.push_back(lead + std::string(32 - lead.size() % 32, 'k') + tail);
    }
    SortedRows sorted(lead.size());
    std::size_t longest = 0;
    for (const std::string& row : rows) {
        sorted.Add(row);
        longest = std::max(longest, row.size());
    }
    std::size_t builds = 0;
    const std::vector<std::uint32_t> order = sorted.TakeOrder([&](std::size_t i) {
        ++builds;
        return rows[i];
    });
    std::vector<std::string> shown;
    for (std::uint32_t i : order) {
        shown.push_back(rows[i]);
    }
    std::vector<std::string> expected = rows;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
    EXPECT_LE(builds, rows.size() * (longest / 32 + 1));
    EXPECT_EQ(sorted.size(), 0u);
}

TEST(FrameSet, NamesThePagesByTheSafeProjectNameAndReportsFailures) {
    HtmlProject html("Demo:A?");
    EXPECT_EQ(WriteProjectIndex(html.job), 0);
    EXPECT_EQ(html.Read("Demo_A__frame.HTML"),
              "<HTML>\n"
              "<HEAD>\n"
              "<TITLE>Demo:A?</TITLE></HEAD>\n"
              "<FRAMESET COLS=\"240,*\" ONUNLOAD=\"0\">\n"
              "<FRAME SRC=\"Demo_A__frameidx.HTML\" NAME=\"Index\" MARGINWIDTH=\"2\" "
              "MARGINHEIGHT=\"2\">\n"
              "<FRAME SRC=\"Demo_A_.HTML\" NAME=\"Details\">\n"
              "<NOFRAMES><BODY><basefont size=2></BODY></NOFRAMES></FRAMESET></HTML>\n");
    EXPECT_EQ(html.reporter.failureCount(), 0);

    html.project.framePage = html.dir.File("missing/x_frame.HTML");
    EXPECT_EQ(WriteProjectIndex(html.job), 0);
    EXPECT_EQ(html.ProtocolLines().back(), "    ERROR: Cannot access to HTML-file " +
                                               html.project.framePage +
                                               " ! (No such file or directory)");
    EXPECT_EQ(html.reporter.failureCount(), 1);
}

}  // namespace
}  // namespace sylva
