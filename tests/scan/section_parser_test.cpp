#include "scan/section_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scan_source.h"
#include "scan/item_builder.h"

namespace sylva {
namespace {

using test::BuildItem;

std::vector<std::string> SectionOf(const CSylItem& item, SectionKind kind) {
    return item.Details().sections[kind].Lines();
}

TEST(MatchKeyword, NeedsTheKeywordAtTheStartFollowedByNothingOrAColon) {
    struct Case {
        std::string list;
        std::string key;
        bool matches;
        std::string rest;
    };
    const Case cases[] = {
        {"Description|Beschreibung", "Description: text", true, "text"},
        {"Description|Beschreibung", "Description:text", true, "text"},
        {"Description|Beschreibung", "description", true, ""},
        {"Description|Beschreibung", "BESCHREIBUNG:: a: b", true, "a: b"},
        {"Description|Beschreibung", "Description : text", false, ""},
        {"Description|Beschreibung", "Descriptions: text", false, ""},
        {"Description|Beschreibung", "Descr", false, ""},
        {"Remark|Remarks|Note", "Remarks", true, ""},
        {"Remark|Remarks|Note", "remarks: see", true, "see"},
        {"Return|R\xFC"
         "ckgabe",
         "r\xFC"
         "ckgabe: n",
         true, "n"},
        {"Return|R\xFC"
         "ckgabe",
         "R\xDC"
         "CKGABE",
         false, ""},
        {"Return", "Return value: the count", false, ""},
        {"See also|Siehe auch", "see also: CFoo", true, "CFoo"},
    };
    for (const Case& c : cases) {
        std::string line = "unchanged";
        EXPECT_EQ(MatchKeyword(c.list, c.key, line), c.matches) << c.list << " / " << c.key;
        EXPECT_EQ(line, c.matches ? c.rest : "unchanged") << c.list << " / " << c.key;
    }
}

using SectionTest = test::GeneratorTest;

TEST_F(SectionTest, KeywordLinesOpenSectionsAndOtherLinesFollowThem) {
    auto item = BuildItem(generator_, "#define MAX 10",
                          {
                              "lost before any keyword",
                              "Description: first",
                              "   indented stays indented",
                              "",
                              "Return value: the count",
                              "Author:",
                              "Max",
                              "  remarks:",
                              "  note text",
                              "Description:   again",
                              "Version: 1.2:",
                              "Throws: never",
                              "Doc type: public",
                              "Source: file.c",
                              "  :: ",
                          });
    EXPECT_EQ(SectionOf(*item, kSectionDescription),
              (std::vector<std::string>{"first", "   indented stays indented", "",
                                        "Return value: the count", "again"}));
    EXPECT_EQ(SectionOf(*item, kSectionAuthor), (std::vector<std::string>{"Max"}));
    EXPECT_EQ(SectionOf(*item, kSectionRemarks), (std::vector<std::string>{"  note text"}));
    EXPECT_EQ(SectionOf(*item, kSectionVersion), (std::vector<std::string>{"1.2"}));
    EXPECT_EQ(SectionOf(*item, kSectionThrows), (std::vector<std::string>{"never"}));
    EXPECT_EQ(SectionOf(*item, kSectionDocType), (std::vector<std::string>{"public"}));
    EXPECT_EQ(SectionOf(*item, kSectionSource), (std::vector<std::string>{"file.c", "  :: "}));
    for (SectionKind untouched : {kSectionParameter, kSectionContent, kSectionGroup,
                                  kSectionAttention, kSectionReturn, kSectionExamples}) {
        EXPECT_TRUE(item->Details().sections[untouched].IsEmpty()) << untouched;
    }
}

TEST_F(SectionTest, KeywordListsAreTriedInTheirFixedOrder) {
    // "Type" is a Doc type keyword; "Section" opens the group; "Items" the content.
    auto item = BuildItem(generator_, "x", {"Type: helper", "Section: Drawing", "Items: all"});
    EXPECT_EQ(SectionOf(*item, kSectionDocType), (std::vector<std::string>{"helper"}));
    EXPECT_EQ(item->group, "Drawing");
    EXPECT_EQ(SectionOf(*item, kSectionContent), (std::vector<std::string>{"all"}));

    // A keyword in two lists belongs to the list tried first.
    generator_.SetSetting(SYL_Q_AUTHOR_SEE, "Description|Author");
    auto shared = BuildItem(generator_, "x", {"Description: who"});
    EXPECT_EQ(SectionOf(*shared, kSectionDescription), (std::vector<std::string>{"who"}));
    EXPECT_TRUE(shared->Details().sections[kSectionAuthor].IsEmpty());
}

TEST_F(SectionTest, HistoryGetsTheSourceDateWhenBothOptionsAreOn) {
    auto item = BuildItem(generator_, "x", {"History: created"});
    EXPECT_EQ(SectionOf(*item, kSectionHistory),
              (std::vector<std::string>{
                  "created", "Source file last change: " + item->sourceTime.GetTimeAsString()}));

    generator_.options.addHistoryDate = 0;
    EXPECT_EQ(SectionOf(*BuildItem(generator_, "x", {"History: created"}), kSectionHistory),
              (std::vector<std::string>{"created"}));

    generator_.options.addHistoryDate = 1;
    generator_.options.sectionHistory = 0;
    EXPECT_TRUE(BuildItem(generator_, "x")->Details().sections[kSectionHistory].IsEmpty());
}

TEST_F(SectionTest, SeeAlsoLinesBecomeLinksFollowedByIndexAndMain) {
    auto item = BuildItem(generator_, "x", {"See also: CFoo::Bar", "", "  Draw  "});
    EXPECT_EQ(SectionOf(*item, kSectionSeeAlso),
              (std::vector<std::string>{
                  "<a href=\"SYLVA_CFoo__Bar.html\">CFoo::Bar</a><BR>",
                  "<a href=\"SYLVA_.html\"></a><BR>",
                  "<a href=\"SYLVA_Draw.html\">Draw</a><BR>",
                  "<a href=\"My_Project.HTML\">Project description index</a><BR>",
                  "<a href=\"../SYLVA_MAIN_INDEX.HTML\" target=\"_top\">Main</a><BR>",
              }));
    // The names as the links show them, for the run's check of their targets.
    EXPECT_EQ(item->Details().seeAlsoNames, (std::vector<std::string>{"CFoo::Bar", "", "Draw"}));

    auto without = BuildItem(generator_, "x");
    EXPECT_EQ(without->Details().sections[kSectionSeeAlso].GetSize(), 2);
    EXPECT_TRUE(without->Details().seeAlsoNames.empty());

    generator_.options.sectionSeeAlso = 0;
    auto unlinked = BuildItem(generator_, "x", {"See also: Draw"});
    EXPECT_EQ(SectionOf(*unlinked, kSectionSeeAlso), (std::vector<std::string>{"Draw"}));
    EXPECT_TRUE(unlinked->Details().seeAlsoNames.empty());
}

TEST_F(SectionTest, TypeLabelFollowsTheTypeWordsInTableOrder) {
    struct Case {
        std::vector<std::string> lines;
        std::string label;
        int accessRank;
        int isPublic;
    };
    const Case cases[] = {
        {{}, "Public", 100, 1},
        {{"public", "constructor"}, "Public Constructor", 100, 1},
        {{"private helper"}, "Private Helper", 200, 0},
        {{"PUBLIC", "INTERNAL"}, "Public Internal", 200, 0},
        {{"EXPORTED"}, "Exported", 100, 1},
        {{"private constructor"}, "Private Constructor", 100, 0},
        {{"protected", "export"}, "Protected Exported", 100, 1},
        {{"destructor"}, "Destructor", 100, 1},
        {{"anything else"}, "Public", 100, 1},
    };
    for (const Case& c : cases) {
        CZTStringArray lines = test::Lines({"Doc type:"});
        for (const std::string& line : c.lines) {
            lines.Add(line);
        }
        CSylItem item(&generator_, "x", lines, CZTTime());
        EXPECT_EQ(item.Details().typeLabel, "Common<BR>(" + c.label + ")")
            << ::testing::PrintToString(c.lines);
        EXPECT_EQ(item.accessRank, c.accessRank) << ::testing::PrintToString(c.lines);
        EXPECT_EQ(item.isPublic, c.isPublic) << ::testing::PrintToString(c.lines);
    }
}

TEST_F(SectionTest, OnlyTheConstructorWordIsSearchedRegardlessOfCase) {
    generator_.SetSetting(SYL_TYPE_CONSTRUCTOR_S, "Ctor");
    generator_.SetSetting(SYL_TYPE_PUBLIC_S, "Pub");
    auto item = BuildItem(generator_, "x", {"Doc type: pub ctor"});
    EXPECT_EQ(item->Details().typeLabel, "Common<BR>(Constructor)");
}

}  // namespace
}  // namespace sylva
