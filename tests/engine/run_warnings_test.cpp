// The warnings of a whole run: where each is found, their order (scan order, then item order),
// and the closing summary line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "test_support/recording_diagnostics.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kDoorSource =
    "/**--\n"
    "Description: Opens; see \"close\", \"Close\" and \"open\".\n"
    "See also: Close\n"
    "See also: Missing\n"
    "See also: Hidden\n"
    "\n"
    "--e*/\n"
    "int Open(int how);\n"
    "\n"
    "/**--\n"
    "Description: Closes; never \"Hidden\", which is left out.\n"
    "See also: Open\n"
    "--e*/\n"
    "int Close(void);\n"
    "\n"
    "/**--\n"
    "Description: Only for \"Open\".\n"
    "Doc type: Private\n"
    "--e*/\n"
    "int Hidden(void);\n"
    "\n";

class RunWarningsTest : public ::testing::Test {
  protected:
    // Runs over the scratch tree, public items only; returns the run's reporter. Warnings go to
    // `sink` when there is one, otherwise into the protocol.
    Reporter RunOver(DiagnosticSink* sink = nullptr, RunSummary* summary = nullptr) {
        Reporter reporter(&protocol_, nullptr, sink);
        RunInputs inputs{dir_.File("src"), "INDEX.HTML", "Demo", dir_.File("out"),
                         ".CPP|.C|.H",     "",           1,      0};
        inputs.cache.directory = dir_.File("cache");
        inputs.summary = summary;
        EXPECT_EQ(sylva::Run(inputs, Settings(), options_, reporter), RunResult::kRan);
        return reporter;
    }

    // The protocol lines that hold "WARNING:", with the scratch path shortened to "src".
    Strings WarningLines() const {
        Strings lines;
        for (const std::string& line : protocol_.Lines()) {
            if (line.find("WARNING:") != std::string::npos) {
                lines.push_back(Shortened(line));
            }
        }
        return lines;
    }

    std::string Shortened(std::string text) const {
        std::string root = dir_.File("src");
        for (std::size_t at = text.find(root); at != std::string::npos; at = text.find(root)) {
            text.replace(at, root.size(), "src");
        }
        return text;
    }

    test::ScratchDir dir_;
    MemoryListBox protocol_;
    RunOptions options_;
};

TEST_F(RunWarningsTest, EveryKindInScanOrderThenItemOrderAndASummaryLast) {
    dir_.Write("src/a_door.h", kDoorSource);
    dir_.Write("src/b_open.h", "/**--\nDescription: never closed\n");
    Reporter reporter = RunOver();
    EXPECT_EQ(WarningLines(),
              (Strings{
                  "    WARNING: src/b_open.h:1: documentation block not closed before the end of "
                  "the file; it gives no item",
                  // Close comes before Open in item order.
                  "    WARNING: src/a_door.h:1: See also entry \"Missing\" names no documented "
                  "item; its link leads nowhere",
                  // Hidden is private and was left out: its page is not written.
                  "    WARNING: src/a_door.h:1: See also entry \"Hidden\" names no documented "
                  "item; its link leads nowhere",
                  "    WARNING: src/a_door.h:1: empty See also entry; its link leads nowhere",
                  "    WARNING: src/a_door.h:1: \"close\" matches the item \"Close\" only when "
                  "letter case is ignored; it stays unlinked",
                  "    WARNING: src/a_door.h:1: \"open\" matches the item \"Open\" only when "
                  "letter case is ignored; it stays unlinked",
                  "WARNING: 6 warnings given.",
              }));
    EXPECT_EQ(protocol_.Lines().back(), "WARNING: 6 warnings given.");
    EXPECT_EQ(reporter.warningCount(), 6);
    EXPECT_EQ(reporter.failureCount(), 0);
}

TEST_F(RunWarningsTest, CaseOnlyNamesAreCheckedOnlyWhenNamesAreLinked) {
    dir_.Write("src/door.h",
               "/**--\nDescription: Pairs with \"close\".\n--e*/\nint Open(void);\n\n"
               "/**--\nDescription: Pairs with \"Open\".\nSee also: Open\n--e*/\nint Close(void);\n"
               "\n");
    struct Case {
        int linkItemNames;
        Strings expected;
    };
    const Case cases[] = {
        {1,
         {"    WARNING: src/door.h:1: \"close\" matches the item \"Close\" only when letter case "
          "is ignored; it stays unlinked",
          "WARNING: 1 warning given."}},
        {0, {}},
    };
    for (const Case& c : cases) {
        protocol_.ResetContent();
        options_.linkItemNames = c.linkItemNames;
        (void)RunOver();
        EXPECT_EQ(WarningLines(), c.expected) << "linkItemNames " << c.linkItemNames;
    }
}

TEST_F(RunWarningsTest, WithoutTheSeeAlsoSectionItsEntriesAreNotChecked) {
    dir_.Write("src/door.h", "/**--\nSee also: Missing\n--e*/\nint Open(void);\n\n");
    options_.sectionSeeAlso = 0;
    (void)RunOver();
    EXPECT_EQ(WarningLines(), Strings{});
}

TEST_F(RunWarningsTest, ACleanTreeGivesNoWarningAndNoSummary) {
    dir_.Write("src/door.h",
               "/**--\nDescription: Pairs with \"Close\".\nSee also: Close\n--e*/\n"
               "int Open(void);\n\n"
               "/**--\nDescription: Pairs with \"Open\", in \"rw\" mode or \"\".\n--e*/\n"
               "int Close(void);\n\n");
    EXPECT_EQ(RunOver().warningCount(), 0);
    EXPECT_EQ(WarningLines(), Strings{});
}

TEST_F(RunWarningsTest, ASinkTakesEveryWarningInTheSameOrderAndNoSummaryLine) {
    dir_.Write("src/a_door.h", kDoorSource);
    dir_.Write("src/b_open.h", "/**--\nDescription: never closed\n");
    (void)RunOver();
    Strings fromProtocol = WarningLines();
    ASSERT_EQ(fromProtocol.size(), 7u);
    fromProtocol.pop_back();

    protocol_.ResetContent();
    test::RecordingDiagnostics sink;
    EXPECT_EQ(RunOver(&sink).warningCount(), 6);
    EXPECT_EQ(WarningLines(), Strings{});
    ASSERT_EQ(sink.warnings.size(), fromProtocol.size());
    for (std::size_t i = 0; i < sink.warnings.size(); ++i) {
        EXPECT_EQ("    WARNING: " + Shortened(sink.warnings[i]), fromProtocol[i]);
    }
}

TEST_F(RunWarningsTest, ARunThatFindsNothingOfItsStyleNamesTheOtherStyleOnce) {
    struct Case {
        const char* style;
        std::vector<std::pair<std::string, std::string>> files;
        Strings expected;
    };
    const std::string doxygen = "int a;\n  /** Opens. */\nint Open(void);\n";
    const std::string blocks = "/**--\nDescription: Opens.\n--e*/\nint Open(void);\n\n";
    const Case cases[] = {
        {"sylva",
         {{"src/a.h", "/**/ int x;\n//// rule\n"}, {"src/b.h", doxygen}, {"src/c.h", doxygen}},
         {"    WARNING: src/b.h:2: no documentation block found, but this file holds doxygen "
          "comments; read them with -STYLE=doxygen (or SYL_COMMENT_STYLE=doxygen)",
          "WARNING: 1 warning given."}},
        // One file of the chosen style is enough: that run is not mistaken in its style.
        {"sylva", {{"src/a.h", blocks}, {"src/b.h", doxygen}}, {}},
        {"sylva", {{"src/a.h", "/* plain */\n// plain\nint x;\n"}}, {}},
        {"doxygen",
         {{"src/a.h", "int x;\n/**==\n"}},
         {"    WARNING: src/a.h:2: documentation comment is not closed before the end of the file; "
          "it is left out",
          "    WARNING: src/a.h:2: no doxygen comment found, but this file holds marker blocks of "
          "the default style; read them without -STYLE=doxygen (or with SYL_COMMENT_STYLE=sylva)",
          "WARNING: 2 warnings given."}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir_.File("src"));
        for (const auto& [path, content] : c.files) {
            dir_.Write(path, content);
        }
        protocol_.ResetContent();
        Settings settings;
        settings.Set(SYL_COMMENT_STYLE, c.style);
        Reporter reporter(&protocol_);
        const RunInputs inputs{
            dir_.File("src"), "INDEX.HTML", "Demo", dir_.File("out"), ".H", "", 1, 0};
        ASSERT_EQ(sylva::Run(inputs, settings, options_, reporter), RunResult::kRan);
        EXPECT_EQ(WarningLines(), c.expected) << c.style << " " << c.files[0].second;
    }
}

TEST_F(RunWarningsTest, AFileWithANulByteInItsFirst8kBIsSkippedWithOneWarningEachRun) {
    dir_.Write("src/a_door.h", "/**--\nDescription: Opens.\n--e*/\nint Open(void);\n\n");
    std::string binary = "/**--\nDescription: lost\n--e*/\nint Lost(void);\n";
    binary.append(8 * 1024 - binary.size() - 1, '\x7f').push_back('\0');
    dir_.Write("src/b_blob", binary + "\x01/**--\n");
    // A NUL byte further on does not make a file binary.
    std::string late = "/**--\nDescription: Kept.\n--e*/\nint Kept(void);\n\n";
    dir_.Write("src/c_late.h", late + std::string(8 * 1024, ' ') + std::string(1, '\0') + "\n");
    // The second run finds every file in its cache but still counts the binary one.
    for (const char* run : {"first", "cached"}) {
        protocol_.ResetContent();
        RunSummary summary;
        EXPECT_EQ(RunOver(nullptr, &summary).warningCount(), 1) << run;
        EXPECT_EQ(WarningLines(), (Strings{"    WARNING: src/b_blob:1: binary file (a NUL byte in "
                                           "its first 8 kB); skipped",
                                           "WARNING: 1 warning given."}))
            << run;
        EXPECT_EQ(summary.binarySkipped, 1) << run;
        EXPECT_TRUE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Kept.html"))) << run;
        EXPECT_FALSE(std::filesystem::exists(dir_.File("out/Demo/SYLVA_Lost.html"))) << run;
    }
}

}  // namespace
}  // namespace sylva
