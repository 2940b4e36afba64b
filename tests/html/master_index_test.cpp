#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "html/html.h"
#include "html_project.h"
#include "support/zt_system.h"
#include "test_support/file_size_limit.h"
#include "test_support/process.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using test::kIndexName;
const std::string kHead =
    "<html>\n<head>\n<title>Sylva MAIN INDEX</title>\n</head>\n<body><basefont size=2>\n\n<p>\n"
    "<big><font face=\"Arial\"><strong><big>Sylva Main Index</big></strong></font></big>\n</p>\n"
    "<HR>\n<table border=\"0\" width=\"100%\">\n<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n";
const std::string kTail =
    "<!-- ##### END OF SYLVA INDEX ##### -->\n</table>\n<hr><align=\"right\"><small><font "
    "face=\"Arial\">Last update: 2023-11-14 22:13:20</font></small></p>\n</body>\n</html>\n";

// An output directory, with the default settings and a reporter into a protocol list.
class MasterIndex {
  public:
    MasterIndex() { test::FixClockAndTimeZone(); }

    int Add(const std::string& name, const std::string& description = "Desc",
            const std::string& link = "") {
        return AddToMasterIndex(settings, reporter, dir.path(), kIndexName,
                                {name, link, description});
    }
    int Remove(const std::string& name) {
        return RemoveFromMasterIndex(settings, reporter, dir.path(), kIndexName, name);
    }
    std::optional<int> Read(CZTStringArray& records) {
        return ReadMasterIndex(settings, reporter, Path(), records);
    }
    std::string Path() const { return dir.File(kIndexName); }
    std::string Content() const { return test::ReadFile(Path()); }

    // The lines between the markers as tokens: a record by its key's name, "-" an add gap,
    // "<BR>" a remove gap, "" an empty line; any other line as it stands.
    std::vector<std::string> Lines() const {
        std::string content = Content();
        std::size_t begin = content.find("INDEX ##### -->\n");
        std::size_t end = content.find("<!-- ##### END");
        std::vector<std::string> lines;
        if (begin == std::string::npos || end == std::string::npos) {
            return {"(markers missing)"};
        }
        std::string inner = content.substr(begin + 16, end - begin - 16);
        std::size_t from = 0;
        for (std::size_t lf = inner.find('\n'); lf != std::string::npos;
             from = lf + 1, lf = inner.find('\n', from)) {
            std::string line = inner.substr(from, lf - from);
            if (line.starts_with("<!---->")) {
                lines.push_back("-");
            } else if (line.starts_with("<!--")) {
                lines.push_back(line.substr(4, line.find("-->") - 4));
            } else {
                lines.push_back(line);
            }
        }
        return lines;
    }

    std::vector<std::string> ProtocolLines() const {
        return {protocol.Lines().begin(), protocol.Lines().end()};
    }
    bool Reported(const std::string& line) const {
        auto lines = ProtocolLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    test::ScratchDir dir;
    Settings settings;
    MemoryListBox protocol;
    Reporter reporter{&protocol};
};

std::vector<std::string> Tokens(std::initializer_list<const char*> tokens) {
    return {tokens.begin(), tokens.end()};
}

TEST(MasterIndex, TheFirstAddWritesAPageWithOneRecord) {
    MasterIndex index;
    EXPECT_EQ(index.Add("Alpha", "First project"), 1);
    EXPECT_EQ(index.Content(),
              kHead +
                  "<!--Alpha--><tr><td width=\"30%\" valign=\"top\" align=\"left\"><font "
                  "face=\"Arial\"><a href=\"Alpha/Alpha_frame.HTML\">Alpha</a></font></td><td "
                  "valign=\"top\" align=\"left\" width=\"70%\"><font face=\"Arial\">First "
                  "project</font></td></tr><!--DESC:Alpha;Alpha/Alpha_frame.HTML;First "
                  "projectDESCEND-->\n" +
                  kTail);
    EXPECT_EQ(
        index.ProtocolLines(),
        (std::vector<std::string>{
            "", "  Read HTML master index " + index.Path() + ".",
            "  There is no previous master index file.", "  Current items in main header: 0",
            "  Add HTML index link to master index SYLVA_MAIN_INDEX.HTML for project Alpha."}));
    // The output directory is published as it is: nothing but the page and the entry page that
    // leads to it may be left there.
    EXPECT_EQ(test::Entries(index.dir.path()),
              (std::vector<std::string>{kIndexName, "index.html"}));
}

TEST(MasterIndex, TheEntryPageLeadsToTheIndexIsKeptWhenSameAndNeverReplacesAPageOfTheUsers) {
    MasterIndex index;
    ASSERT_EQ(index.Add("Alpha"), 1);
    const std::string entry = index.dir.File("index.html");
    const std::string page = test::ReadFile(entry);
    EXPECT_NE(page.find("<meta http-equiv=\"refresh\" content=\"0; url=SYLVA_MAIN_INDEX.HTML\">"),
              std::string::npos);
    EXPECT_NE(page.find("<a href=\"SYLVA_MAIN_INDEX.HTML\">"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);

    // A later add leaves the page that already leads there alone, as it does the master index.
    std::filesystem::last_write_time(entry, std::filesystem::file_time_type{});
    ASSERT_EQ(index.Add("Beta"), 2);
    EXPECT_EQ(std::filesystem::last_write_time(entry), std::filesystem::file_time_type{});

    // Another name for the master index: Sylva's own page follows it, escaped for the URL.
    ASSERT_EQ(AddToMasterIndex(index.settings, index.reporter, index.dir.path(), "all; \"x\".html",
                               {"Alpha", "", "d"}),
              1);
    EXPECT_NE(test::ReadFile(entry).find("url=all%3B%20%22x%22.html\""), std::string::npos);

    // The user's own start page, and a link, are never replaced.
    index.dir.Write("index.html", "<p>my site</p>\n");
    ASSERT_EQ(index.Add("Gamma"), 3);
    EXPECT_EQ(test::ReadFile(entry), "<p>my site</p>\n");
    EXPECT_TRUE(index.Reported("  " + entry +
                               " is not written by Sylva, it is left as it is; the site's root "
                               "address does not lead to the master index."));
    std::filesystem::remove(entry);
    index.dir.Write("elsewhere.html", "mine\n");
    std::filesystem::create_symlink(index.dir.File("elsewhere.html"), entry);
    ASSERT_EQ(index.Add("Delta"), 4);
    EXPECT_TRUE(std::filesystem::is_symlink(entry));
    EXPECT_EQ(test::ReadFile(index.dir.File("elsewhere.html")), "mine\n");
}

TEST(MasterIndex, RegeneratingAProjectReplacesItsRecord) {
    MasterIndex index;
    index.Add("Alpha", "old text");
    index.Add("Beta");
    EXPECT_EQ(index.Add("Alpha", "new text", "elsewhere/alpha.html"), 2);
    EXPECT_EQ(index.Lines(), Tokens({"Alpha", "-", "Beta"}));
    EXPECT_NE(index.Content().find("<!--DESC:Alpha;elsewhere/alpha.html;new textDESCEND-->"),
              std::string::npos);
    EXPECT_EQ(index.Content().find("old text"), std::string::npos);
    EXPECT_TRUE(index.Reported("  Project is already in main index, update link!"));
    EXPECT_TRUE(index.Reported("  Current items in main header: 2"));
}

TEST(MasterIndex, RecordsAreOrderedWithGapsBetweenInitialsOfTheirLinks) {
    MasterIndex index;
    index.Add("Bolt");
    index.Add("Alpha");
    EXPECT_EQ(index.Add("Beta"), 3);
    EXPECT_EQ(index.Lines(), Tokens({"Alpha", "-", "Beta", "Bolt"}));

    // The initial is that of the link target, letters folded to upper case.
    index.Add("Foreign", "Desc", "file://localhost/doc/index.html");
    index.Add("Fine", "Desc", "fine/index.html");
    EXPECT_EQ(index.Lines(), Tokens({"Alpha", "-", "Beta", "Bolt", "-", "Fine", "Foreign"}));
}

TEST(MasterIndex, LinesEditedByHandBetweenTheMarkersSurvive) {
    MasterIndex index;
    index.dir.Write(kIndexName,
                    "<html>old head\n"
                    "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n"
                    "<tr><td>my own row</td></tr>\n"
                    "\n"
                    "<br>\n"
                    "<!----><tr>old gap</tr>\n"
                    "<!--Zulu--><tr>zulu</tr>\n"
                    "  indented note\n"
                    "<!-- ##### END OF SYLVA INDEX ##### -->\n"
                    "old tail\n");
    EXPECT_EQ(index.Add("Alpha"), 4);
    std::vector<std::string> lines = index.Lines();
    lines.erase(std::remove(lines.begin(), lines.end(), "Alpha"), lines.end());
    EXPECT_EQ(lines, Tokens({"<tr><td>my own row</td></tr>", "Zulu", "  indented note"}));
    EXPECT_EQ(index.Content().find("old"), std::string::npos);
    EXPECT_EQ(index.Content().rfind(kHead, 0), 0u);
}

TEST(MasterIndex, ReadingTakesOnlyLinesBetweenTheMarkers) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::string> records;
    };
    const std::string longRecord = "<!--Long-->" + std::string(3000, 'x');
    const Case cases[] = {
        {"no begin marker", "<!--Alpha-->a\n<!-- ##### END OF SYLVA INDEX ##### -->\n", {}},
        {"no end marker: every later line is a record",
         "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n<!--Alpha-->a\n</table>\n</html>",
         {"<!--Alpha-->a", "</table>", "</html>"}},
        {"long lines are read whole, CR LF ends lines",
         "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\r\n" + longRecord + "\r\n<BR>\r\n",
         {longRecord}},
        {"carriage returns ending a line are part of its line end, however many",
         "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n<BR>\r\r\n<!---->gap\r\r\n\r\r\n"
         "<!--Alpha-->a\r\rb\r\r\r\n",
         {"<!--Alpha-->a\r\rb"}},
        {"a second begin marker starts again",
         "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\nA\n<!-- ##### END OF SYLVA INDEX ##### -->\n"
         "B\n<!-- ##### BEGIN OF SYLVA INDEX ##### -->C\nD\n",
         {"A", "D"}},
    };
    for (const Case& c : cases) {
        MasterIndex index;
        index.dir.Write(kIndexName, c.content);
        CZTStringArray records;
        records.Add("kept");
        EXPECT_EQ(index.Read(records), static_cast<int>(c.records.size())) << c.name;
        std::vector<std::string> expected = {"kept"};
        expected.insert(expected.end(), c.records.begin(), c.records.end());
        EXPECT_EQ(records.Lines(), expected) << c.name;
    }
}

TEST(MasterIndex, ARefusedAddThenARemovalKeepARecordEndingInCarriageReturns) {
    MasterIndex index;
    index.dir.Write(kIndexName,
                    "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n<!--Zeta-->z\r\r\n<BR>\r\r\n"
                    "<!-- ##### END OF SYLVA INDEX ##### -->\n");
    EXPECT_EQ(index.Add("<!-- ##### END OF SYLVA INDEX ##### -->"), -1);
    EXPECT_EQ(index.Remove("Alpha"), 1);
    EXPECT_EQ(index.Lines(), Tokens({"Zeta"}));
    CZTStringArray records;
    EXPECT_EQ(index.Read(records), 1);
    EXPECT_EQ(records.Lines(), std::vector<std::string>{"<!--Zeta-->z"});
}

TEST(MasterIndex, ADescriptionWithLineBreaksStaysOnTheRecordLine) {
    MasterIndex index;
    index.Add("Alpha", "one\r\ntwo\nthree\rfour");
    EXPECT_NE(index.Content().find(";one two three fourDESCEND-->\n"), std::string::npos);
    CZTStringArray records;
    EXPECT_EQ(index.Read(records), 1);
}

TEST(MasterIndex, ARecordThatWouldNotBeReadBackIsRefusedAndTheOldPageKept) {
    const std::string begin = "<!-- ##### BEGIN OF SYLVA INDEX ##### -->";
    const std::string end = "<!-- ##### END OF SYLVA INDEX ##### -->";
    struct Case {
        std::string name;
        std::string description;
        std::string link;
    };
    const Case cases[] = {
        // Read back, the end marker would end the list and hide every record after it.
        {"A" + end, "d", ""},
        {"B" + begin, "d", ""},
        {"Alpha", "about " + end, ""},
        {"Alpha", "d", "http://x/" + begin},
    };
    for (const Case& c : cases) {
        MasterIndex index;
        index.Add("Zeta");
        index.Add("Omega");
        const std::string before = index.Content();
        EXPECT_EQ(index.Add(c.name, c.description, c.link), -1) << c.name << c.description;
        EXPECT_EQ(index.Content(), before) << c.name << c.description;
        EXPECT_EQ(index.ProtocolLines().back(),
                  "  ERROR: Project " + c.name + " cannot be listed in master index " +
                      index.Path() +
                      ": its record would not be read back (it holds an index marker or is a "
                      "gap line) !");
        EXPECT_EQ(index.reporter.failureCount(), 1);
        EXPECT_EQ(index.Lines(), Tokens({"Omega", "-", "Zeta"})) << c.name << c.description;
    }
}

TEST(MasterIndex, RemovingTheOnlyProjectLeavesHeadAndTail) {
    MasterIndex index;
    index.Add("Alpha");
    EXPECT_EQ(index.Remove("Alpha"), 0);
    EXPECT_EQ(index.Content(), kHead + kTail);
    EXPECT_EQ(test::Entries(index.dir.path()),
              (std::vector<std::string>{kIndexName, "index.html"}));
    EXPECT_TRUE(index.Reported(
        "  Recreate HTML index link to master index SYLVA_MAIN_INDEX.HTML for project Alpha."));
}

TEST(MasterIndex, RemovingAnUnlistedProject) {
    MasterIndex index;
    EXPECT_EQ(index.Remove("Nobody"), 0);
    EXPECT_FALSE(CZTSystem::FileExist(index.Path())) << "nothing to remove writes nothing";

    index.Add("Alpha");
    index.Add("Beta");
    EXPECT_EQ(index.Remove("Nobody"), 2);
    EXPECT_EQ(index.Lines(), Tokens({"Alpha", "<BR>", "", "Beta"}));
    // The gap a removal writes is dropped on the next read like the one an add writes.
    index.Add("Bolt");
    EXPECT_EQ(index.Lines(), Tokens({"Alpha", "-", "Beta", "Bolt"}));
    EXPECT_EQ(index.Remove("Beta"), 2);
    EXPECT_EQ(index.Lines(), Tokens({"Alpha", "<BR>", "", "Bolt"}));
}

TEST(MasterIndex, AFullDiskKeepsTheOldPage) {
    MasterIndex index;
    index.Add("Alpha");
    const std::string before = index.Content();
    {
        test::FileSizeLimit limit(before.size() + 10);
        EXPECT_EQ(index.Add("Beta", std::string(500, 'd')), -1);
    }
    EXPECT_EQ(index.Content(), before);
    EXPECT_EQ(index.ProtocolLines().back().rfind(
                  "  ERROR: Cannot write file " + index.Path() + " completely (", 0),
              0u)
        << index.ProtocolLines().back();
    EXPECT_EQ(index.reporter.failureCount(), 1);
    EXPECT_EQ(test::Entries(index.dir.path()),
              (std::vector<std::string>{kIndexName, "index.html"}));
}

TEST(MasterIndex, APageThatExistsButCannotBeReadWholeIsNeverOverwritten) {
    MasterIndex index;
    std::filesystem::create_directories(index.Path());
    EXPECT_EQ(index.Add("Alpha"), -1);
    EXPECT_EQ(index.Remove("Alpha"), -1);
    EXPECT_TRUE(std::filesystem::is_directory(index.Path()));
    EXPECT_EQ(index.ProtocolLines().back(),
              "  ERROR: Cannot read master index " + index.Path() + ", it is left unchanged !");
    EXPECT_EQ(index.reporter.failureCount(), 2);
    EXPECT_EQ(test::Entries(index.dir.path()), std::vector<std::string>{kIndexName});

    // A regular file as far as stat can tell, whose first read fails. Only reading goes through
    // the link that puts it in the page's place; a change refuses the link before reading.
    MasterIndex failing;
    std::filesystem::create_symlink("/proc/self/mem", failing.Path());
    CZTStringArray records;
    EXPECT_EQ(failing.Read(records), std::nullopt);
    EXPECT_EQ(failing.ProtocolLines().back(),
              "  ERROR: Cannot read master index " + failing.Path() + ", it is left unchanged !");
    EXPECT_EQ(failing.reporter.failureCount(), 1);
}

TEST(MasterIndex, APageThatIsASymbolicLinkIsNeverWrittenThroughNorReplaced) {
    const std::string listed =
        "<!-- ##### BEGIN OF SYLVA INDEX ##### -->\n<!--Zeta-->z\n"
        "<!-- ##### END OF SYLVA INDEX ##### -->\n";
    struct Case {
        const char* name;
        std::string target;  // relative to the scratch directory; empty: the link dangles
        std::string content;
    };
    const Case cases[] = {
        {"a link to another master index", "elsewhere/index.html", listed},
        {"a link to any file of the user's", "elsewhere/notes.txt", "my notes\n"},
        {"a dangling link", "", ""},
    };
    for (const Case& c : cases) {
        MasterIndex index;
        const std::string target = index.dir.File(c.target.empty() ? "nowhere" : c.target);
        if (!c.target.empty()) {
            index.dir.Write(c.target, c.content);
        }
        std::filesystem::create_symlink(target, index.Path());
        const std::string refusal = "  ERROR: Master index " + index.Path() +
                                    " is a symbolic link, it and the file it names are left "
                                    "unchanged !";
        EXPECT_EQ(index.Add("Alpha"), -1) << c.name;
        EXPECT_EQ(index.ProtocolLines().back(), refusal) << c.name;
        EXPECT_EQ(index.Remove("Zeta"), -1) << c.name;
        EXPECT_EQ(index.ProtocolLines().back(), refusal) << c.name;
        EXPECT_EQ(index.reporter.failureCount(), 2) << c.name;
        EXPECT_TRUE(std::filesystem::is_symlink(index.Path())) << c.name;
        EXPECT_EQ(std::filesystem::read_symlink(index.Path()), target) << c.name;
        EXPECT_EQ(test::ReadFile(target), c.content) << c.name;
    }
    // Reading changes nothing, so it may go through a link: the listing shows what the page lists.
    MasterIndex index;
    index.dir.Write("elsewhere/index.html", listed);
    std::filesystem::create_symlink(index.dir.File("elsewhere/index.html"), index.Path());
    CZTStringArray records;
    EXPECT_EQ(index.Read(records), 1);
    EXPECT_EQ(index.reporter.failureCount(), 0);
}

TEST(MasterIndex, AnOutputDirectoryThatDoesNotExistIsReported) {
    MasterIndex index;
    const std::string output = index.dir.File("missing");
    EXPECT_EQ(
        AddToMasterIndex(index.settings, index.reporter, output, kIndexName, {"Alpha", "", "d"}),
        -1);
    EXPECT_EQ(index.ProtocolLines().back(), "  ERROR: Cannot access file " + output + "/" +
                                                kIndexName + " ! (No such file or directory)");
}

TEST(MasterIndex, ConcurrentAddsIntoOneDirectoryKeepEveryRecordAndLeaveOnlyThePage) {
    test::FixClockAndTimeZone();
    test::ScratchDir dir;
    constexpr int kWriters = 8;
    constexpr int kProjectsEach = 8;
    // The writers share the settings, which nothing changes while they work.
    const Settings settings;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([w, &dir, &settings] {
            for (int p = 0; p < kProjectsEach; ++p) {
                // Each add opens the locked directory anew, as another process does.
                Reporter reporter;
                // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that
                // (-Wrestrict).
                std::string name = "P";
                name.append(std::to_string(w)).append("_").append(std::to_string(p));
                EXPECT_GT(
                    AddToMasterIndex(settings, reporter, dir.path(), kIndexName, {name, "", "d"}),
                    0)
                    << name;
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    Reporter reporter;
    CZTStringArray records;
    EXPECT_EQ(ReadMasterIndex(settings, reporter, dir.File(kIndexName), records),
              kWriters * kProjectsEach);
    for (int w = 0; w < kWriters; ++w) {
        for (int p = 0; p < kProjectsEach; ++p) {
            std::string key = "<!--P" + std::to_string(w) + "_" + std::to_string(p) + "-->";
            EXPECT_GE(records.Find(key, true, false), 0) << key;
        }
    }
    EXPECT_EQ(test::Entries(dir.path()), (std::vector<std::string>{kIndexName, "index.html"}));
}

}  // namespace
}  // namespace sylva
