#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "scan/block_markers.h"
#include "scan/scan_fixture.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;
using namespace std::string_literals;

class FileScanTest : public test::ScanTest {
  protected:
    // Writes `content` as "src.cpp" and scans it into `scanned` with the time 1000.
    int Scan(const std::string& content, test::Scanned& scanned) {
        ScanJob job = scanned.Job();
        return ScanFile(job, Write(content), CZTTime(1000));
    }
    int Scan(const std::string& content) { return Scan(content, scanned_); }

    std::string Write(const std::string& content) { return dir_.Write("src.cpp", content); }

    // The page text of the item in `slot`, as the scan leaves it.
    ItemText Text(const test::Scanned& scanned, std::size_t slot) const {
        return DeriveItemText(*scanned.items[slot], scanned.settings, scanned.options);
    }
    ItemText Text(std::size_t slot) const { return Text(scanned_, slot); }
    const CSylItem& Item(std::size_t slot) const { return *scanned_.items[slot]; }
};

TEST_F(FileScanTest, ReportsTheFileAndItsItemCount) {
    EXPECT_EQ(Scan("int First(int a);\n"
                   "/**--\n"
                   "Description: one\n"
                   "--e*/\n"
                   "\n"
                   "/**--\n"
                   "Description: two\n"
                   "--e*/\n"
                   "int Second(int b);\n"),
              2);
    EXPECT_EQ(scanned_.ProtocolLines(),
              (Strings{"  Scanning file src.cpp...", "  File done, scanned items 2."}));
    EXPECT_EQ(scanned_.progress.statuses,
              (Strings{"Scanning source file " + dir_.File("src.cpp") + "..."}));
    EXPECT_EQ(scanned_.progress.positions,
              (std::vector<int>{0, 1, 2}));  // the file, then each block end
    EXPECT_EQ(scanned_.Names(), (Strings{"First", "Second"}));
    EXPECT_EQ(Item(0).sourceFile, dir_.File("src.cpp"));
    EXPECT_EQ(Item(0).sourceLine, 2);
    EXPECT_EQ(Item(1).sourceLine, 6);
    EXPECT_EQ(Item(1).sourceTime, CZTTime(1000));
    EXPECT_EQ(Text(1).sections[kSectionDescription].Lines(), (Strings{"two"}));
}

TEST_F(FileScanTest, TakesTheDeclarationAboveTheBlockOrElseBelowIt) {
    struct Case {
        std::string content;
        std::string declaration;
    };
    const Case cases[] = {
        // Above wins; the line below is read and consumed all the same.
        {"// Drawing\nint Above(int a);\n/**--\n--e*/\nint Below(int b);\n",
         "// Drawing\nint Above(int a);"},
        // A line of at most two characters above the block cuts what came before it.
        {"int Old(void);\n ;\nint New(void);\n/**--\n--e*/\n", "int New(void);"},
        {"int Old(void);\n        \n/**--\n--e*/\nint Below(void);\n", "int Below(void);"},
        // Below: up to a line opening with '{' or shorter than two characters.
        {"/**--\n--e*/\nvoid Draw(int x)\n{\n    body();\n}\n", "void Draw(int x)"},
        {"/**--\n--e*/\nvoid Draw(int x) {\n    int a = 1;\n    Use(a);\n\n}\n",
         "void Draw(int x) {\n    int a = 1;\n    Use(a);"},
        {"/**--\n--e*/\nint a;\n  \nint b;\n\n", "int a;\n  \nint b;"},
        {"/**--\n--e*/\nint a;\n \nint b;\n\n", "int a;"},
        {"/**--\n--e*/\nint a;\n\t\nint b;\n\n", "int a;"},
        {"/**--\n--e*/\nint a;   \nint b;", "int a;   \nint b;"},
        // Nothing beside the block.
        {"/**--\n--e*/", "__Untitled"},
        {"/**--\n--e*/\n\nint Later(void);\n", "__Untitled"},
    };
    for (const Case& c : cases) {
        test::Scanned scanned;
        Scan(c.content, scanned);
        ASSERT_EQ(scanned.items.size(), 1u) << c.content;
        EXPECT_EQ(Text(scanned, 0).declaration, c.declaration) << c.content;
    }
}

TEST_F(FileScanTest, EachBlockGetsOnlyTheTextAboveItself) {
    Scan(
        "void First(int a);\n"
        "/**--\n"
        "--e*/\n"
        "\n"
        "void Second(int b);\n"
        "/**--\n"
        "--e*/\n"
        "\n"
        "/**--\n"
        "--e*/\n"
        "void Third(int c);\n");
    EXPECT_EQ(scanned_.Names(), (Strings{"First", "Second", "Third"}));
}

TEST_F(FileScanTest, BlocksOpenAndCloseOnlyAtTheirMarkers) {
    struct Case {
        std::string content;
        int items;
        Strings description;
    };
    const Case cases[] = {
        {"   /**--\nDescription: x\n--e*/\n", 0, {}},
        {"/**-- Description: lost\nDescription:  kept  \n\n  indented\n--e*/   \n",
         1,
         {"kept", "", "  indented"}},
        {"/**--\nDescription: x\n--e*/\t\n\n", 0, {}},
        {"/**==\nDescription: x\nend ==e*/\n", 1, {"x"}},
        // A UTF-8 byte-order mark before the first line's marker is no part of the line.
        {"\xEF\xBB\xBF/**--\nDescription: x\n--e*/\nint x;\n", 1, {"x"}},
        {"/**-- opens only --e*/\nDescription: inside\n--e*/\n", 1, {"inside"}},
        {"\n\n/**--\nDescription:\n\n\nx\n//e*/", 1, {"", "", "x"}},
        // A block still open at the end of the file gives no item.
        {"/**--\nDescription: a\n--e*/\n\n/**--\nDescription: b\n", 1, {"a"}},
        // A start marker directly below an end marker is swallowed by the declaration.
        {"/**--\nDescription: a\n--e*/\n/**--\nDescription: b\n--e*/\nint x;\n", 1, {"a"}},
    };
    for (const Case& c : cases) {
        test::Scanned scanned;
        EXPECT_EQ(Scan(c.content, scanned), c.items) << c.content;
        EXPECT_EQ(scanned.protocol.Lines().back(),
                  "  File done, scanned items " + std::to_string(c.items) + ".")
            << c.content;
        if (c.items == 1 && scanned.items.size() == 1) {
            EXPECT_EQ(Text(scanned, 0).sections[kSectionDescription].Lines(), c.description)
                << c.content;
        }
    }
}

TEST_F(FileScanTest, ReadsCrLfLinesAsLfLines) {
    EXPECT_EQ(Scan("int Crlf(int a);\r\n/**--\r\nDescription: crlf \r\n--e*/\r\n\r\n"), 1);
    EXPECT_EQ(scanned_.Names(), (Strings{"Crlf"}));
    EXPECT_EQ(Text(0).declaration, "int Crlf(int a);");
    EXPECT_EQ(Text(0).sections[kSectionDescription].Lines(), (Strings{"crlf"}));
}

TEST_F(FileScanTest, ReadsLongLinesInPiecesOf999Characters) {
    // The 999-character piece and the newline behind it are two lines of the scan: the lone
    // newline counts as a short line and cuts the text above the block.
    // A byte-order mark before the line counts toward neither its piece nor the line numbers.
    std::string exact(999, 'a');
    for (const std::string& mark : {""s, "\xEF\xBB\xBF"s}) {
        test::Scanned scanned;
        EXPECT_EQ(Scan(mark + exact + "\n/**--\n--e*/\n", scanned), 1);
        ASSERT_EQ(scanned.items.size(), 1u);
        EXPECT_EQ(scanned.items[0]->name, "__Untitled") << mark.size();
        EXPECT_EQ(scanned.items[0]->sourceLine, 2) << mark.size();
    }

    std::string longer(1500, 'b');
    test::Scanned scanned;
    Scan("\n" + longer + "\n\n/**--\nDescription:\n" + longer + "\n--e*/\n", scanned);
    ASSERT_EQ(scanned.items.size(), 1u);
    EXPECT_EQ(scanned.items[0]->sourceLine, 4);
    EXPECT_EQ(Text(scanned, 0).sections[kSectionDescription].Lines(),
              (Strings{std::string(999, 'b'), std::string(501, 'b')}));
}

TEST_F(FileScanTest, ABufferIsScannedExactlyAsAFileWithItsContent) {
    const std::string content =
        "int Above(int a);\r\n/**--\nDescription: one\n--e*/\n\n/**--\nGroup: G\n--e*/\nint "
        "Below(int b);\n/**--\nopen at the end";
    EXPECT_EQ(Scan(content), 2);

    test::Scanned fromMemory;
    const std::string path = dir_.File("src.cpp");
    EXPECT_EQ(fromMemory.Scan(content, path, CZTTime(1000)), 2);
    EXPECT_EQ(fromMemory.ProtocolLines(), scanned_.ProtocolLines());
    EXPECT_EQ(fromMemory.progress.statuses, scanned_.progress.statuses);
    EXPECT_EQ(fromMemory.progress.positions, scanned_.progress.positions);
    ASSERT_EQ(fromMemory.items.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const CSylItem& expected = Item(i);
        const CSylItem& item = *fromMemory.items[i];
        EXPECT_EQ(Text(fromMemory, i).declaration, Text(i).declaration) << i;
        EXPECT_EQ(item.name, expected.name) << i;
        EXPECT_EQ(item.group, expected.group) << i;
        EXPECT_EQ(item.sourceFile, path) << i;
        EXPECT_EQ(item.sourceLine, expected.sourceLine) << i;
        EXPECT_EQ(item.sourceTime, expected.sourceTime) << i;
    }
}

TEST_F(FileScanTest, AFileThatCannotBeOpenedIsAFailureOfTheRun) {
    ScanJob job = scanned_.Job();
    std::string missing = dir_.File("gone.cpp");
    EXPECT_EQ(ScanFile(job, missing, CZTTime()), -1);
    EXPECT_EQ(scanned_.ProtocolLines(), (Strings{"  Scanning file gone.cpp...",
                                                 "  ERROR: Cannot access file " + missing + " !"}));
    EXPECT_EQ(scanned_.reporter.failureCount(), 1);

    std::string fifo = dir_.File("pipe.c");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ScanFile(job, fifo, CZTTime()), -1);  // returns at once: nobody writes
    EXPECT_EQ(ScanFile(job, dir_.path(), CZTTime()), -1);
    EXPECT_EQ(scanned_.reporter.failureCount(), 3);
    EXPECT_EQ(scanned_.items.size(), 0u);
}

TEST_F(FileScanTest, AReadErrorIsAFailureOfTheRun) {
    const std::string path = dir_.File("mem.c");
    ASSERT_EQ(::symlink("/proc/self/mem", path.c_str()), 0);
    ScanJob job = scanned_.Job();
    EXPECT_EQ(ScanFile(job, path, CZTTime()), 0);
    EXPECT_EQ(scanned_.ProtocolLines(),
              (Strings{"  Scanning file mem.c...",
                       "  ERROR: Cannot read file " + path + " completely (Input/output error) !",
                       "  File done, scanned items 0."}));
    EXPECT_EQ(scanned_.reporter.failureCount(), 1);
}

TEST_F(FileScanTest, ANulByteInTheFirst8kBSkipsTheFileAndOneFurtherOnIsText) {
    std::string binary;
    for (int i = 0; i < 64 * 1024; ++i) {
        binary.push_back(static_cast<char>((i * 7919) % 256));
    }
    EXPECT_EQ(Scan(binary), kSkippedAsBinary);
    EXPECT_EQ(Scan("/**--\nDescription: a\0b\n--e*/\nint f(void);\n"s), kSkippedAsBinary);

    std::string withNul =
        std::string(8 * 1024, ' ') + "\nint Nu\0l(int a);\n/**--\nDescription: a\0b\n--e*/\n"s;
    EXPECT_EQ(Scan(withNul), 1);
    EXPECT_EQ(Item(0).name, "Nu\0l"s);
    EXPECT_EQ(ShortDescription(Item(0), scanned_.settings), "a\0b "s);
}

TEST_F(FileScanTest, AHugeLineWithoutNewlineEndsNormally) {
    const std::string huge(10 * 1000 * 1000, 'x');
    const std::string commented = [] {
        std::string text;
        while (text.size() < 10 * 1000 * 1000) {
            text += "int value, // a comment long enough to be shortened in the declaration ";
        }
        return text;
    }();
    struct Case {
        std::string content;
        int items;
    };
    const Case cases[] = {
        {huge, 0},
        {huge + "\n/**--\nDescription: d\n--e*/\n", 1},
        {"/**--\nDescription: " + huge, 0},
        {"/**--\nDescription: d\n--e*/\nvoid f(" + commented, 1},
        {"void f(" + commented + "\n/**--\nDescription: d\n--e*/\n", 1},
    };
    for (const Case& c : cases) {
        test::Scanned scanned;
        EXPECT_EQ(Scan(c.content, scanned), c.items) << c.content.substr(0, 40);
    }
}

TEST(BlockMarkers, MatchTheFirstOrLastFiveCharactersAnywhereInTheList) {
    const Settings settings;
    struct Case {
        std::string line;
        bool start;
        bool end;
    };
    const Case cases[] = {
        {"/**--", true, false},
        {"/**== Title", true, false},
        {"/**//", true, false},
        {"/**", false, false},
        {"''-- basic", false, false},
        {"''--|", true, false},
        {"--|/* crosses a separator", true, false},
        {"text --e*/", false, true},
        {"text ==e*/", false, true},
        {"x ''e*", false, false},
        {"--e*/ ", false, false},
        {"/**-- and --e*/", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsBlockStart(settings, c.line), c.start) << c.line;
        EXPECT_EQ(IsBlockEnd(settings, c.line), c.end) << c.line;
    }
}

}  // namespace
}  // namespace sylva
