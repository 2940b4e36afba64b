#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scan_source.h"
#include "scan/item_builder.h"
#include "scan/section_parser.h"

namespace sylva {
namespace {

using test::BuildItem;
using Rows = std::vector<std::string>;

// Short templates keep the expected rows readable; one test below uses the built-in ones.
class ParameterTableTest : public ::testing::Test {
  protected:
    ParameterTableTest() {
        generator_.SetSetting(SYL_HTML_STD_PARAM_TABLE_START, "<T>");
        generator_.SetSetting(SYL_HTML_STD_PARAM_ROW, "[Font]|[LinkName]|[ShortDesc]");
        generator_.SetSetting(SYL_HTML_STD_PARAM_TABLE_END, "</T>");
        generator_.SetSetting(SYL_STD_FONT_TEXT, "F");
    }

    Rows ParametersOf(const std::string& declaration,
                      std::initializer_list<std::string> blockLines = {"Description: d"}) {
        item_ = BuildItem(generator_, declaration, blockLines);
        return item_->Details().sections[kSectionParameter].Lines();
    }

    CZTScanSource generator_;
    std::unique_ptr<CSylItem> item_;
};

constexpr const char* kSum = "int Sum(int a, // first value\n        int b)  // bee";
const Rows kSumTable = {"<T>", "F|<I>a</I>|first value", "F|<I>b)</I>|bee", "</T>"};

TEST_F(ParameterTableTest, BuildsRowsFromCommentsWhenTheBlockLeavesTheSectionOpen) {
    struct Case {
        std::vector<std::string> block;
        Rows parameters;
        int hasParamTable;
    };
    const Case cases[] = {
        {{"Description: d"}, kSumTable, 1},
        {{"Parameter: SEE BELOW"}, kSumTable, 1},
        {{"Params:", "  siehe unten"}, kSumTable, 1},
        {{"Parameter:", "", "later text"}, kSumTable, 1},
        {{"Parameter: the count"}, {"the count"}, 0},
    };
    for (const Case& c : cases) {
        CZTStringArray block;
        for (const std::string& line : c.block) {
            block.Add(line);
        }
        CSylItem item(&generator_, kSum, block, CZTTime());
        EXPECT_EQ(item.Details().sections[kSectionParameter].Lines(), c.parameters)
            << ::testing::PrintToString(c.block);
        EXPECT_EQ(item.Details().hasParamTable, c.hasParamTable)
            << ::testing::PrintToString(c.block);
        EXPECT_EQ(item.Details().declaration, kSum);
    }
}

TEST_F(ParameterTableTest, NeedsACommentInASyntaxDeclaration) {
    EXPECT_TRUE(ParametersOf("int Sum(int a, int b)").empty());
    EXPECT_EQ(item_->Details().hasParamTable, 0);
    EXPECT_TRUE(ParametersOf("// Drawing (see below)").empty());
    EXPECT_EQ(item_->hasSyntax, 0);
    // A block comment alone still builds a table; its lines have no "//" comment text.
    EXPECT_EQ(ParametersOf("int Get(int key /* the key */)"),
              (Rows{"<T>", "F|<I>*/)</I>|", "</T>"}));
}

TEST_F(ParameterTableTest, EndsAtTheClosingCharacterAndSkipsCommentOnlyLines) {
    EXPECT_EQ(ParametersOf("void f(int a, // first\n"
                           "              // continued\n"
                           "       int b,\n"
                           ")  // trailing\n"
                           "int later; // not a parameter"),
              (Rows{"<T>", "F|<I>a</I>|first", "F|<I>b</I>|", "</T>"}));
    EXPECT_EQ(ParametersOf("typedef struct tagPOINT {\n"
                           "    int x; // horizontal\n"
                           "    int y; // vertical\n"
                           "} POINT; // the point"),
              (Rows{"<T>", "F|<I>x</I>|horizontal", "F|<I>y</I>|vertical", "</T>"}));
    EXPECT_EQ(ParametersOf("void Sum(int a, //// odd // second part\n int b)"),
              (Rows{"<T>", "F|<I>a</I>|", "F|<I>b)</I>|", "</T>"}));
}

TEST_F(ParameterTableTest, FillsTheBuiltInTemplates) {
    generator_.SetSetting(SYL_HTML_STD_PARAM_TABLE_START, "<table border=\"0\" width=\"100%\">");
    generator_.SetSetting(SYL_HTML_STD_PARAM_ROW, "");
    generator_.SetSetting(SYL_HTML_STD_PARAM_TABLE_END, "");
    generator_.SetSetting(SYL_STD_FONT_TEXT, "");
    generator_.SetDefaults();
    EXPECT_EQ(ParametersOf("void f(int a) // first"),
              (Rows{"<table border=\"0\" width=\"100%\">",
                    "  <tr><td width=\"15%\" valign=\"top\" align=\"left\"><font face=\"Lucida "
                    "Console\" size=-1><I>a)</I></font></td><td valign=\"top\" align=\"left\" "
                    "width=\"85%\"><font face=\"Lucida Console\" size=-1>first</font></td></tr>\n",
                    "</table>"}));
}

TEST_F(ParameterTableTest, ShortensLongCommentsInTheDeclaration) {
    generator_.options.maxInlineComment = 5;
    ParametersOf("// Sums two values\nint Sum(int a, // the first value\n        int b) // bee");
    EXPECT_EQ(item_->Details().declaration,
              "// Sums two values\nint Sum(int a, // the f...\n        int b) // bee");
    EXPECT_EQ(item_->Details().sections[kSectionParameter].GetAt(1), "F|<I>a</I>|the first value");
}

TEST_F(ParameterTableTest, RemovesCommentsOnlyFromTheirOwnLines) {
    generator_.options.removeInlineComments = 1;
    ParametersOf("void Move(int x, // x\n          int y) // the y value");
    EXPECT_EQ(item_->Details().declaration, "void Move(int x,  \n          int y)  ");
    EXPECT_EQ(item_->Details().sections[kSectionParameter].Lines(),
              (Rows{"<T>", "F|<I>x</I>|x", "F|<I>y)</I>|the y value", "</T>"}));

    // A comment-only line has no parameter, so it stays as it is.
    ParametersOf("void f(int width, // width\n       // more about it\n       int h)");
    EXPECT_EQ(item_->Details().declaration,
              "void f(int width,  \n       // more about it\n       int h)");
}

TEST_F(ParameterTableTest, EditsTheRightLineOfALongDeclaration) {
    generator_.options.maxInlineComment = 10;
    std::string declaration = "// header line\nvoid Many(";
    std::string expected = declaration;
    for (int i = 0; i < 2000; ++i) {
        // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
        std::string name = "p";
        name += std::to_string(i);
        declaration += "int " + name + ", // comment number " + std::to_string(i) + "\n";
        expected += "int " + name + ", // comment nu...\n";
    }
    declaration += ")";
    expected += ")";
    Rows rows = ParametersOf(declaration);
    EXPECT_EQ(rows.size(), 2002u);
    EXPECT_EQ(rows[2000], "F|<I>p1999</I>|comment number 1999");
    EXPECT_EQ(item_->Details().declaration, expected);
}

}  // namespace
}  // namespace sylva
