#include "scan/section_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/scan_fixture.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

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

class SectionTest : public ::testing::Test {
  protected:
    // The text of an item made of `declaration` and `blockLines`.
    ItemText TextOf(const std::string& declaration,
                    std::initializer_list<std::string_view> blockLines = {}) {
        return DeriveItemText(scanned_.Add(declaration, blockLines), scanned_.settings,
                              scanned_.options);
    }

    test::Scanned scanned_;
};

TEST_F(SectionTest, KeywordLinesOpenSectionsAndOtherLinesFollowThem) {
    ItemText text = TextOf("#define MAX 10", {
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
                                                 "  ::",
                                             });
    auto SectionOf = [&text](SectionKind kind) { return text.sections[kind].Lines(); };
    EXPECT_EQ(SectionOf(kSectionDescription),
              (std::vector<std::string>{"first", "   indented stays indented", "",
                                        "Return value: the count", "again"}));
    EXPECT_EQ(SectionOf(kSectionAuthor), (std::vector<std::string>{"Max"}));
    EXPECT_EQ(SectionOf(kSectionRemarks), (std::vector<std::string>{"  note text"}));
    EXPECT_EQ(SectionOf(kSectionVersion), (std::vector<std::string>{"1.2"}));
    EXPECT_EQ(SectionOf(kSectionThrows), (std::vector<std::string>{"never"}));
    EXPECT_EQ(SectionOf(kSectionDocType), (std::vector<std::string>{"public"}));
    EXPECT_EQ(SectionOf(kSectionSource), (std::vector<std::string>{"file.c", "  ::"}));
    for (SectionKind untouched : {kSectionParameter, kSectionContent, kSectionGroup,
                                  kSectionAttention, kSectionReturn, kSectionExamples}) {
        EXPECT_TRUE(text.sections[untouched].IsEmpty()) << untouched;
    }
}

TEST_F(SectionTest, KeywordListsAreTriedInTheirFixedOrder) {
    // "Type" is a Doc type keyword; "Section" opens the group; "Items" the content.
    ItemText text = TextOf("xx", {"Type: helper", "Section: Drawing", "Items: all"});
    EXPECT_EQ(text.sections[kSectionDocType].Lines(), (Strings{"helper"}));
    EXPECT_EQ(scanned_.items[0]->group, "Drawing");
    EXPECT_EQ(text.sections[kSectionContent].Lines(), (Strings{"all"}));

    // A keyword in two lists belongs to the list tried first.
    scanned_.settings.Set(SYL_Q_AUTHOR_SEE, "Description|Author");
    ItemText shared = TextOf("xx", {"Description: who"});
    EXPECT_EQ(shared.sections[kSectionDescription].Lines(), (Strings{"who"}));
    EXPECT_TRUE(shared.sections[kSectionAuthor].IsEmpty());
}

TEST_F(SectionTest, HistoryGetsTheSourceDateWhenBothOptionsAreOn) {
    EXPECT_EQ(
        TextOf("xx", {"History: created"}).sections[kSectionHistory].Lines(),
        (Strings{"created", "Source file last change: " + test::kSourceTime.GetTimeAsString()}));

    scanned_.options.addHistoryDate = 0;
    EXPECT_EQ(TextOf("xx", {"History: created"}).sections[kSectionHistory].Lines(),
              (Strings{"created"}));

    scanned_.options.addHistoryDate = 1;
    scanned_.options.sectionHistory = 0;
    EXPECT_TRUE(TextOf("xx").sections[kSectionHistory].IsEmpty());
}

TEST_F(SectionTest, SeeAlsoLinesStayAsWritten) {
    EXPECT_EQ(TextOf("xx", {"See also: CFoo::Bar", "", "  Draw"}).sections[kSectionSeeAlso].Lines(),
              (Strings{"CFoo::Bar", "", "  Draw"}));
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
        std::string source = "/**--\nDoc type:\n";
        for (const std::string& line : c.lines) {
            source += line + "\n";
        }
        test::Scanned scanned;
        ASSERT_EQ(scanned.Scan(source + "--e*/\nxx\n"), 1);
        const CSylItem& item = *scanned.items[0];
        EXPECT_EQ(DeriveItemText(item, scanned.settings, scanned.options).typeText, c.label)
            << ::testing::PrintToString(c.lines);
        EXPECT_EQ(item.accessRank, c.accessRank) << ::testing::PrintToString(c.lines);
        EXPECT_EQ(item.isPublic, c.isPublic) << ::testing::PrintToString(c.lines);
    }
}

TEST_F(SectionTest, OnlyTheConstructorWordIsSearchedRegardlessOfCase) {
    scanned_.settings.Set(SYL_TYPE_CONSTRUCTOR_S, "Ctor");
    scanned_.settings.Set(SYL_TYPE_PUBLIC_S, "Pub");
    EXPECT_EQ(TextOf("xx", {"Doc type: pub ctor"}).typeText, "Constructor");
}

}  // namespace
}  // namespace sylva
