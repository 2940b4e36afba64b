#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "scan/section_keywords.h"
#include "test_support/recording_diagnostics.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

class ConfigFileTest : public ::testing::Test {
  protected:
    // Loads `content` as the configuration file "my.ini" over the settings.
    // Its warnings go to `warnings_`, as "my.ini:line: text".
    bool Load(const std::string& content) {
        std::string path = dir_.Write("my.ini", content);
        test::RecordingDiagnostics sink;
        Reporter reporter(nullptr, nullptr, &sink);
        bool loaded = LoadConfig(settings_, path, &protocol_, &reporter);
        warnings_.clear();
        for (const std::string& warning : sink.warnings) {
            warnings_.push_back(warning.substr(warning.rfind('/') + 1));
        }
        return loaded;
    }

    test::ScratchDir dir_;
    const Settings defaults_;
    Settings settings_;
    MemoryListBox protocol_;
    std::vector<std::string> warnings_;
};

TEST_F(ConfigFileTest, AKeyReplacesOnlyItsSetting) {
    ASSERT_TRUE(Load("SYL_Q_AUTHOR=Verfasser:\n"));
    EXPECT_EQ(settings_[SYL_Q_AUTHOR], "Verfasser:");
    for (int id = 0; id < kSettingCount; ++id) {
        if (id != SYL_Q_AUTHOR) {
            EXPECT_EQ(settings_[SettingId(id)], defaults_[SettingId(id)])
                << kSettingDefinitions[id].key;
        }
    }
    EXPECT_TRUE(protocol_.Lines().empty());
    EXPECT_TRUE(warnings_.empty());
}

TEST_F(ConfigFileTest, LoadedKeywordListsAreInForceAtOnce) {
    ASSERT_TRUE(Load("SYL_Q_AUTHOR_SEE=Verfasser|Author\n"));
    std::optional<SectionKeywords::Match> match = settings_.Keywords().Find("Verfasser: Anna");
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->section, kSectionAuthor);
    EXPECT_EQ(match->text, "Anna");
    EXPECT_FALSE(settings_.Keywords().Find("Autor: Anna").has_value());
}

TEST_F(ConfigFileTest, RepeatedKeysConcatenateWithoutLineBreaks) {
    ASSERT_TRUE(
        Load("SYL_HTML_DESC_FILE_END=<hr>\n"
             "SYL_Q_AUTHOR=Verfasser:\n"
             "SYL_HTML_DESC_FILE_END=</body>\n"
             "# a comment between\n"
             "SYL_HTML_DESC_FILE_END=</html>\n"));
    EXPECT_EQ(settings_[SYL_HTML_DESC_FILE_END], "<hr></body></html>");
}

TEST_F(ConfigFileTest, AnEmptyValueEmptiesTheSettingForGood) {
    ASSERT_TRUE(Load("SYL_Q_VERSION=\n"));
    EXPECT_EQ(settings_[SYL_Q_VERSION], "");
}

TEST_F(ConfigFileTest, AValueKeepsEveryEqualsSignAfterTheFirst) {
    ASSERT_TRUE(
        Load("SYL_HTML_STD_LINK=<a href=\"[LinkedFile]\" width=\"30%\">[LinkName]</a>\n"
             "SYL_Q_SYNTAX=a=b=c\n"));
    EXPECT_EQ(settings_[SYL_HTML_STD_LINK],
              "<a href=\"[LinkedFile]\" width=\"30%\">[LinkName]</a>");
    EXPECT_EQ(settings_[SYL_Q_SYNTAX], "a=b=c");
}

TEST_F(ConfigFileTest, KeysAreCaseSensitiveAndUnknownLinesAreSkippedWithOneWarning) {
    ASSERT_TRUE(
        Load("syl_q_author=lower\n"
             "\tSYL_Q_VERSION=after a tab\n"
             "SYL_Q_UNKNOWN=x\n"
             "; comment\n"
             "# comment\n"
             "// comment\n"
             "\n"
             " \t\r\n"
             "SYL_Q_AUTHOR\n"
             "garbage without equals\n"));
    EXPECT_EQ(settings_[SYL_Q_VERSION], "Version:");
    // "SYL_Q_AUTHOR" alone is the key with an empty value.
    EXPECT_EQ(settings_[SYL_Q_AUTHOR], "");
    EXPECT_TRUE(protocol_.Lines().empty());
    EXPECT_EQ(warnings_,
              std::vector<std::string>{"my.ini:1: 4 lines set no known key and are skipped: line 1 "
                                       "\"syl_q_author\", line 2 \"\\x09SYL_Q_VERSION\", line 3 "
                                       "\"SYL_Q_UNKNOWN\", ..."});
    ASSERT_TRUE(Load("SYL_Q_AUTHOR=a\nSYL_HTML_SERCH=1\n"));
    EXPECT_EQ(warnings_, std::vector<std::string>{"my.ini:2: 1 line sets no known key and is "
                                                  "skipped: line 2 \"SYL_HTML_SERCH\""});
}

TEST_F(ConfigFileTest, ValuesAKeyCannotTakeAreKeptWithOneWarning) {
    struct Case {
        std::string content;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {"SYL_HTML_SEARCH=maybe\n",
         {"my.ini:1: 1 key holds a value it cannot take: line 1 SYL_HTML_SEARCH=\"maybe\""}},
        {"SYL_HTML_SEARCH= on \nSYL_DOXYGEN_INTERNAL_DOCS=No\nSYL_COMMENT_STYLE=Doxygen\n", {}},
        {"SYL_HTML_SEARCH=\nSYL_DOXYGEN_INTERNAL_DOCS=false\n", {}},
        // Judged as the lines of a key join up; the last line names it.
        {"SYL_COMMENT_STYLE=doxy\nSYL_Q_AUTHOR=x\nSYL_COMMENT_STYLE=gen\n", {}},
        {"SYL_COMMENT_STYLE=javadoc\nSYL_Q_AUTHOR=x\nSYL_DOXYGEN_INTERNAL_DOCS=2\n",
         {"my.ini:1: 2 keys hold values they cannot take: line 1 "
          "SYL_COMMENT_STYLE=\"javadoc\", line 3 SYL_DOXYGEN_INTERNAL_DOCS=\"2\""}},
        // Any text for a template.
        {"SYL_HTML_STD_LINK=maybe\n", {}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Load(c.content));
        EXPECT_EQ(warnings_, c.warnings) << c.content;
    }
    ASSERT_TRUE(Load("SYL_HTML_SEARCH=maybe\n"));
    EXPECT_EQ(settings_[SYL_HTML_SEARCH], "maybe");
}

TEST_F(ConfigFileTest, SpacesAndLineFeedsAreTrimmedButTabsAndLoneCarriageReturnsStay) {
    ASSERT_TRUE(
        Load("   SYL_Q_AUTHOR   =   Verfasser:   \n"
             "SYL_Q_VERSION=\tv\t\n"
             "SYL_Q_SOURCE=windows line\r\n"
             "SYL_Q_REQUEST=lone cr\r \n"));
    EXPECT_EQ(settings_[SYL_Q_AUTHOR], "Verfasser:");
    EXPECT_EQ(settings_[SYL_Q_VERSION], "\tv\t");
    EXPECT_EQ(settings_[SYL_Q_SOURCE], "windows line");
    EXPECT_EQ(settings_[SYL_Q_REQUEST], "lone cr\r");
}

TEST_F(ConfigFileTest, ThrowsHeadingHasNoKeyAndNeverChanges) {
    ASSERT_TRUE(Load("throwsHeading=Raises:\nSYL_Q_THROWS=Raises:\n"));
    EXPECT_EQ(settings_[throwsHeading], "Throws:");
}

TEST_F(ConfigFileTest, LongLinesArriveInPiecesOf999Characters) {
    // The key's line: "SYL_Q_AUTHOR=" (13) + 986 'a' fill the first piece exactly; the rest of the
    // physical line arrives as pieces of its own, which are unknown keys here.
    // A UTF-8 byte-order mark before the first key is no part of it, nor of the first piece.
    std::string first = "SYL_Q_AUTHOR=" + std::string(986, 'a');
    std::string rest = "SYL_Q_VERSION=" + std::string(10, 'v');
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        Settings settings;
        ASSERT_TRUE(
            LoadConfig(settings, dir_.Write("my.ini", mark + first + rest + "\n"), nullptr));
        EXPECT_EQ(settings[SYL_Q_AUTHOR], std::string(986, 'a')) << mark.size();
        EXPECT_EQ(settings[SYL_Q_VERSION], std::string(10, 'v')) << mark.size();
    }

    // A piece that starts mid-value with a known key is taken like any other line.
    std::string spill = "SYL_Q_SOURCE=" + std::string(986, 's') + "SYL_Q_REQUEST=tail\n";
    ASSERT_TRUE(Load(spill));
    EXPECT_EQ(settings_[SYL_Q_REQUEST], "tail");
}

TEST_F(ConfigFileTest, AHugeLineAndBinaryBytesNeitherCrashNorHang) {
    std::string binary(1 << 20, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>((i * 7919) & 0xFF);
    }
    ASSERT_TRUE(Load(binary + "\nSYL_Q_AUTHOR=after binary\n"));
    EXPECT_EQ(settings_[SYL_Q_AUTHOR], "after binary");
    // Thousands of unknown lines, one warning line.
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_LT(warnings_[0].size(), 600u) << warnings_[0];
    EXPECT_EQ(warnings_[0].find_first_of(std::string("\0\n\r", 3)), std::string::npos);
}

TEST(ConfigFileFallback, AMissingFileWithADirectoryTriesTheStandardFileAndReportsBoth) {
    test::ScratchDir dir;
    test::CurrentDirectory cwd(dir.path());
    Settings settings;
    MemoryListBox protocol;
    EXPECT_FALSE(LoadConfig(settings, "conf/missing.ini", &protocol));
    EXPECT_EQ(protocol.Lines(),
              (std::deque<std::string>{"ERROR: Cannot access to config file conf/missing.ini.",
                                       "ERROR: Cannot access to standard config file SYLVA.INI."}));
    EXPECT_EQ(settings[SYL_Q_AUTHOR], "Author:");
}

TEST(ConfigFileFallback, AMissingFileFallsBackToTheStandardFileWhenItIsThere) {
    test::ScratchDir dir;
    dir.Write("SYLVA.INI", "SYL_Q_AUTHOR=from the standard file\n");
    test::CurrentDirectory cwd(dir.path());
    Settings settings;
    MemoryListBox protocol;
    EXPECT_TRUE(LoadConfig(settings, "/no/such/dir/custom.ini", &protocol));
    EXPECT_EQ(
        protocol.Lines(),
        (std::deque<std::string>{"ERROR: Cannot access to config file /no/such/dir/custom.ini."}));
    EXPECT_EQ(settings[SYL_Q_AUTHOR], "from the standard file");
}

TEST(ConfigFileFallback, TheStandardNameInAnyCaseGivesOnlyTheFirstLine) {
    test::ScratchDir dir;
    test::CurrentDirectory cwd(dir.path());
    for (const char* name : {"SYLVA.INI", "sylva.ini", "Sylva.Ini"}) {
        Settings settings;
        MemoryListBox protocol;
        EXPECT_FALSE(LoadConfig(settings, name, &protocol));
        EXPECT_EQ(protocol.Lines(),
                  (std::deque<std::string>{std::string("ERROR: Cannot access to config file ") +
                                           name + "."}))
            << name;
    }
}

TEST(ConfigFileFallback, ADirectoryIsNoConfigurationFile) {
    test::ScratchDir dir;
    test::CurrentDirectory cwd(dir.path());
    Settings settings;
    MemoryListBox protocol;
    EXPECT_FALSE(LoadConfig(settings, dir.path(), &protocol));
    EXPECT_EQ(protocol.Lines().size(), 2u);
    EXPECT_EQ(settings[SYL_Q_AUTHOR], "Author:");
}

TEST(ConfigFileLoad, AConfigPathNamingSomeKeysLeavesDefaultsElsewhere) {
    test::ScratchDir dir;
    std::string path = dir.Write("partial.ini", "SYL_Q_AUTHOR=Verfasser:\nSYL_Q_VERSION=\n");
    Settings settings;
    EXPECT_TRUE(LoadConfig(settings, path, nullptr));
    EXPECT_EQ(settings[SYL_Q_AUTHOR], "Verfasser:");
    // SetDefaults is not repeated after a successful load: the emptied setting stays empty.
    EXPECT_EQ(settings[SYL_Q_VERSION], "");
    EXPECT_EQ(settings[SYL_Q_HISTORY], "History:");
}

TEST(ConfigFileLoad, AFailedLoadRefillsOnlyTheSettingsEmptiedBefore) {
    test::ScratchDir dir;
    test::CurrentDirectory cwd(dir.path());
    Settings settings;
    settings.Set(SYL_Q_AUTHOR, "Verfasser:");
    settings.Set(SYL_Q_VERSION, "");
    EXPECT_FALSE(LoadConfig(settings, "missing.ini", nullptr));
    EXPECT_EQ(settings[SYL_Q_AUTHOR], "Verfasser:");
    EXPECT_EQ(settings[SYL_Q_VERSION], "Version:");
}

}  // namespace
}  // namespace sylva
