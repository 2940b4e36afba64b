#include "support/setting_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/run_options.h"

namespace sylva {
namespace {

// The seventy settings the templates and keywords need, the comment style, the search switch, the
// frame set page, the switch for the doxygen style's hidden text, the scan's lists and switch,
// the predefined macros, the Doxyfile, the main page, the aliases, the tag files written and read,
// the image path and the example path with its patterns and switch. Only the lists, the Doxyfile,
// the main page, the aliases and the tag files are empty by default.
TEST(SettingTable, HasEightyEightStringsAndEightySevenDistinctKeysNamedAfterTheirSettings) {
    ASSERT_EQ(kSettingCount, 88);
    const std::set<SettingId> emptyByDefault = {
        SYL_SCAN_PATHS, SYL_EXCLUDE,    SYL_FILE_PATTERNS, SYL_PREDEFINED,
        SYL_DOXYFILE,   SYL_MAIN_PAGE,  SYL_ALIASES,       SYL_TAG_FILE,
        SYL_TAG_FILES,  SYL_IMAGE_PATH, SYL_EXAMPLE_PATH,  SYL_EXAMPLE_PATTERNS};
    std::set<std::string_view> keys;
    for (int id = 0; id < kSettingCount; ++id) {
        const SettingDefinition& setting = kSettingDefinitions[static_cast<std::size_t>(id)];
        if (!setting.key.empty()) {
            EXPECT_EQ(setting.key.substr(0, 4), "SYL_") << setting.key;
            keys.insert(setting.key);
        }
        EXPECT_EQ(setting.defaultValue.empty(), emptyByDefault.contains(static_cast<SettingId>(id)))
            << setting.key;
    }
    EXPECT_EQ(keys.size(), 87u);
    EXPECT_TRUE(kSettingDefinitions[throwsHeading].key.empty());
    EXPECT_EQ(kSettingDefinitions[SYL_Q_AUTHOR].key, "SYL_Q_AUTHOR");
    EXPECT_EQ(kSettingDefinitions[SYL_HTML_STD_PARAM_TABLE_END].key,
              "SYL_HTML_STD_PARAM_TABLE_END");
    EXPECT_EQ(kSettingDefinitions[SYL_HTML_FRAME_SET].key, "SYL_HTML_FRAME_SET");
}

TEST(SettingTable, FindsKeysExactlyAndCaseSensitively) {
    EXPECT_EQ(FindSettingByKey("SYL_Q_AUTHOR"), SYL_Q_AUTHOR);
    EXPECT_EQ(FindSettingByKey("SYL_HTML_MS_STD_LINK"), SYL_HTML_MS_STD_LINK);
    EXPECT_FALSE(FindSettingByKey("syl_q_author"));
    EXPECT_FALSE(FindSettingByKey("SYL_Q_AUTHOR "));
    EXPECT_FALSE(FindSettingByKey(""));
    EXPECT_FALSE(FindSettingByKey("throwsHeading"));
}

TEST(SettingLists, SplitAtBarsWithoutBlanksOrEmptyEntriesAndJoinBack) {
    using Entries = std::vector<std::string>;
    EXPECT_EQ(SplitSettingList(""), Entries{});
    EXPECT_EQ(SplitSettingList(" | |"), Entries{});
    EXPECT_EQ(SplitSettingList("include| examples/a b |\t*/tests/*|"),
              (Entries{"include", "examples/a b", "*/tests/*"}));
    const Entries entries{"CV_EXPORTS=", "F(x)=x"};
    EXPECT_EQ(SplitSettingList(JoinSettingList(entries)), entries);
    // An alias's bar is escaped on joining, as the reader shows an escaped bar, and stays so.
    EXPECT_EQ(SplitAliasList(" a=1 | b=x\\|y||"), (Entries{"a=1", "b=x\\|y"}));
    EXPECT_EQ(SplitAliasList(JoinAliasList(Entries{"or=a|b", "bar=\\|", "c=d"})),
              (Entries{"or=a\\|b", "bar=\\|", "c=d"}));
}

std::string_view Default(SettingId id) {
    return kSettingDefinitions[static_cast<std::size_t>(id)].defaultValue;
}

TEST(SettingDefaults, AreByteExact) {
    EXPECT_EQ(Default(SYL_DOC_BLOCK_START), "/**--|/**==|/**//|''--|''**|''//");
    EXPECT_EQ(Default(SYL_DOC_BLOCK_END), "--e*/|==e*/|//e*/|''e*");
    EXPECT_EQ(Default(SYL_Q_DESCRIPTION), "Description");  // the one without a colon
    EXPECT_EQ(Default(SYL_Q_REMARK), "Remarks:");
    EXPECT_EQ(Default(SYL_Q_TYPE), "Doc type:");
    EXPECT_EQ(Default(throwsHeading), "Throws:");
    EXPECT_EQ(Default(SYL_Q_RETURN_SEE),
              "Return|R\xFC"
              "ckgabe|Rueckgabe");
    EXPECT_EQ(Default(SYL_Q_REQUEST_SEE),
              "Request|Anforderungen|Einschr\xE4nkung|Einschr\xE4nkungen");
    EXPECT_EQ(Default(SYL_Q_TYPE_SEE),
              "Doc type|Doctype|Type|Kind of|Access type|Access|Zugriff|Freigabe");
    EXPECT_EQ(Default(SYL_STD_FONT_HEADER), "\"Arial\"");
    EXPECT_EQ(Default(SYL_STD_FONT_TEXT), "\"Lucida Console\"");
    EXPECT_EQ(Default(SYL_Q_HTML_INDEX_BEGIN), "<!-- ##### BEGIN OF SYLVA INDEX ##### -->");
    EXPECT_EQ(Default(SYL_HTML_STD_LINK), "<a href=\"[LinkedFile]\">[LinkName]</a><BR>");
    EXPECT_EQ(Default(SYL_HTML_SEARCH), "0");  // no search files by default
    EXPECT_EQ(Default(SYL_COMMENT_STYLE), "sylva");
    EXPECT_EQ(Default(SYL_HTML_DESC_CNT_TEXT_PRE_BOLD),
              "<pre><b><font face=[Font]>\n[CntText]\n</font></b></pre>");
    EXPECT_EQ(Default(SYL_HTML_MS_INDEX_FILE_END),
              "[IndexEnd]\n</table>\n<hr><align=\"right\"><small><font face=[Font]>Last update: "
              "[DateTime]</font></small></p>\n</body>\n</html>");
    std::string_view frameStart = Default(SYL_HTML_INDEX_FILE_FRAME_START);
    EXPECT_NE(frameStart.find("\t<script language=\"JavaScript\">\n\t\tfunction OpenLink()\n"),
              std::string_view::npos);
    EXPECT_TRUE(frameStart.ends_with("size=1>\n            [ListSearchEntries]"));
}

TEST(RunOptionsDefaults, AreThoseOfTheOptionsDialog) {
    RunOptions options;
    EXPECT_EQ(options.includeSubdirs, 1);
    EXPECT_EQ(options.removeInlineComments, 0);
    EXPECT_EQ(options.maxInlineComment, 40u);
    EXPECT_EQ(options.sectionSource, 0);
    EXPECT_EQ(options.sectionType, 0);
    EXPECT_EQ(options.sectionThrows, 1);
    EXPECT_EQ(options.alphaIndex, 1);
    EXPECT_EQ(options.linkItemNames, 1);
}

}  // namespace
}  // namespace sylva
