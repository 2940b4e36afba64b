// Warnings of the file scan: a block left open at the end of its file and a block without a
// declaration, each at the line of the block's start marker.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/scan_fixture.h"
#include "test_support/recording_diagnostics.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

const std::string kUnclosed =
    "documentation block not closed before the end of the file; it gives no item";
const std::string kUntitled =
    "documentation block without a declaration; its item is named \"__Untitled\"";

class ScanWarningsTest : public test::ScanTest {
  protected:
    // Scans `content` as "src.cpp"; returns the warnings with the path shortened to "src.cpp".
    Strings Warnings(const std::string& content) {
        diagnostics_.warnings.clear();
        std::string path = dir_.Write("src.cpp", content);
        ScanJob job{scanned_.settings, scanned_.items, reporter_, {}, ".CPP", "/out", "Demo"};
        (void)ScanFile(job, path, CZTTime(1000));
        Strings shortened;
        for (const std::string& warning : diagnostics_.warnings) {
            EXPECT_EQ(warning.rfind(path + ":", 0), 0u) << warning;
            shortened.push_back("src.cpp" + warning.substr(path.size()));
        }
        return shortened;
    }

    test::RecordingDiagnostics diagnostics_;
    Reporter reporter_{&scanned_.protocol, nullptr, &diagnostics_};
};

TEST_F(ScanWarningsTest, EachWarningNamesTheLineOfTheBlocksStartMarker) {
    const std::string longLine(2500, 'x');
    struct Case {
        const char* name;
        std::string content;
        Strings expected;
    };
    const Case cases[] = {
        {"complete blocks with declarations above and below",
         "int Above(void);\n/**--\nDescription: a\n--e*/\n\n/**--\n--e*/\nint Below(void);\n",
         {}},
        {"a block still open at the end of the file",
         "int Done(void);\n/**--\n--e*/\n\n/**--\nDescription: never closed\n",
         {"src.cpp:5: " + kUnclosed}},
        {"an open block on the last line, without a line end",
         "/**--",
         {"src.cpp:1: " + kUnclosed}},
        {"nothing above and an empty line below",
         "\n/**--\nDescription: x\n--e*/\n\n",
         {"src.cpp:2: " + kUntitled}},
        {"the end marker on the last line", "/**--\n--e*/", {"src.cpp:1: " + kUntitled}},
        {"only a line of two spaces below",
         "/**--\n--e*/\n  \n \nint Late(void);\n",
         {"src.cpp:1: " + kUntitled}},
        {"a comment line is a declaration", "// Drawing\n/**--\n--e*/\n", {}},
        {"lines longer than one read count once",
         longLine + "\n" + longLine + "\n\n/**--\n",
         {"src.cpp:4: " + kUnclosed}},
        {"CR LF line ends",
         "int A(void);\r\n\r\n/**--\r\n--e*/\r\n\r\n/**--\r\n",
         {"src.cpp:3: " + kUntitled, "src.cpp:6: " + kUnclosed}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Warnings(c.content), c.expected) << c.name;
    }
}

TEST_F(ScanWarningsTest, WarningsAreCountedAndTheItemsStayAsBefore) {
    EXPECT_EQ(
        Warnings("/**--\n--e*/\n\n/**--\n--e*/\n\n/**--\n"),
        (Strings{"src.cpp:1: " + kUntitled, "src.cpp:4: " + kUntitled, "src.cpp:7: " + kUnclosed}));
    EXPECT_EQ(reporter_.warningCount(), 3);
    EXPECT_EQ(scanned_.Names(), (Strings{"__Untitled", "__Untitled"}));
    // A sink takes the warnings instead of the protocol.
    EXPECT_EQ(scanned_.ProtocolLines(),
              (Strings{"  Scanning file src.cpp...", "  File done, scanned items 2."}));
}

TEST_F(ScanWarningsTest, WithoutASinkWarningsArePutInTheProtocolAtItemIndentation) {
    std::string path = dir_.Write("src.cpp", "/**--\n--e*/\n\n/**--\n");
    ScanJob job = scanned_.Job();
    EXPECT_EQ(ScanFile(job, path, CZTTime(1000)), 1);
    EXPECT_EQ(
        scanned_.ProtocolLines(),
        (Strings{"  Scanning file src.cpp...", "    WARNING: " + path + ":1: " + kUntitled,
                 "    WARNING: " + path + ":4: " + kUnclosed, "  File done, scanned items 1."}));
    EXPECT_EQ(scanned_.reporter.warningCount(), 2);
}

}  // namespace
}  // namespace sylva
