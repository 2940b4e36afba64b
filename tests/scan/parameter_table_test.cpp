// The parameter table an item's text builds from the "//" comments of its declaration, and the
// edits of those comments in the declaration it shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/scan_fixture.h"

namespace sylva {
namespace {

using Rows = std::vector<std::string>;

class ParameterTableTest : public ::testing::Test {
  protected:
    // The text of an item of `declaration` and `blockLines`.
    ItemText TextOf(const std::string& declaration,
                    std::initializer_list<std::string_view> blockLines = {"Description: d"}) {
        return DeriveItemText(scanned_.Add(declaration, blockLines), scanned_.settings,
                              scanned_.options);
    }

    // The rows of the table, as "name|comment".
    static Rows RowsOf(const ItemText& text) {
        Rows rows;
        for (const ParameterRow& row : text.parameterRows) {
            rows.push_back(row.name + "|" + row.comment);
        }
        return rows;
    }
    Rows ParametersOf(const std::string& declaration) { return RowsOf(TextOf(declaration)); }

    test::Scanned scanned_;
};

constexpr const char* kSum = "int Sum(int a, // first value\n        int b)  // bee";
const Rows kSumRows = {"a|first value", "b)|bee"};

TEST_F(ParameterTableTest, BuildsRowsFromCommentsWhenTheBlockLeavesTheSectionOpen) {
    struct Case {
        std::initializer_list<std::string_view> block;
        Rows rows;
        Rows parameterLines;
        bool hasParamTable;
    };
    const Case cases[] = {
        {{"Description: d"}, kSumRows, {}, true},
        {{"Parameter: SEE BELOW"}, kSumRows, {}, true},
        {{"Params:", "  siehe unten"}, kSumRows, {}, true},
        {{"Parameter:", "", "later text"}, kSumRows, {}, true},
        {{"Parameter: the count"}, {}, {"the count"}, false},
    };
    for (const Case& c : cases) {
        ItemText text = TextOf(kSum, c.block);
        const std::string block = ::testing::PrintToString(std::vector<std::string_view>(c.block));
        EXPECT_EQ(RowsOf(text), c.rows) << block;
        EXPECT_EQ(text.sections[kSectionParameter].Lines(), c.parameterLines) << block;
        EXPECT_EQ(text.hasParamTable, c.hasParamTable) << block;
        EXPECT_EQ(text.declaration, kSum);
    }
}

TEST_F(ParameterTableTest, NeedsACommentInASyntaxDeclaration) {
    EXPECT_FALSE(TextOf("int Sum(int a, int b)").hasParamTable);
    ItemText plain = TextOf("// Drawing (see below)");
    EXPECT_FALSE(plain.hasParamTable);
    EXPECT_EQ(scanned_.items[scanned_.items.size() - 1]->hasSyntax, 0);
    // A block comment alone still builds a table; its lines have no "//" comment text.
    ItemText blockComment = TextOf("int Get(int key /* the key */)");
    EXPECT_TRUE(blockComment.hasParamTable);
    EXPECT_EQ(RowsOf(blockComment), (Rows{"*/)|"}));
}

TEST_F(ParameterTableTest, EndsAtTheClosingCharacterAndSkipsCommentOnlyLines) {
    EXPECT_EQ(ParametersOf("void f(int a, // first\n"
                           "              // continued\n"
                           "       int b,\n"
                           ")  // trailing\n"
                           "int later; // not a parameter"),
              (Rows{"a|first", "b|"}));
    EXPECT_EQ(ParametersOf("typedef struct tagPOINT {\n"
                           "    int x; // horizontal\n"
                           "    int y; // vertical\n"
                           "} POINT; // the point"),
              (Rows{"x|horizontal", "y|vertical"}));
    EXPECT_EQ(ParametersOf("void Sum(int a, //// odd // second part\n int b)"),
              (Rows{"a|", "b)|"}));
}

TEST_F(ParameterTableTest, ShortensLongCommentsInTheDeclaration) {
    scanned_.options.maxInlineComment = 5;
    ItemText text =
        TextOf("// Sums two values\nint Sum(int a, // the first value\n        int b) // bee");
    EXPECT_EQ(text.declaration,
              "// Sums two values\nint Sum(int a, // the f...\n        int b) // bee");
    EXPECT_EQ(RowsOf(text)[0], "a|the first value");
}

TEST_F(ParameterTableTest, RemovesCommentsOnlyFromTheirOwnLines) {
    scanned_.options.removeInlineComments = 1;
    ItemText text = TextOf("void Move(int x, // x\n          int y) // the y value");
    EXPECT_EQ(text.declaration, "void Move(int x,  \n          int y)  ");
    EXPECT_EQ(RowsOf(text), (Rows{"x|x", "y)|the y value"}));

    // A comment-only line has no parameter, so it stays as it is.
    EXPECT_EQ(
        TextOf("void f(int width, // width\n       // more about it\n       int h)").declaration,
        "void f(int width,  \n       // more about it\n       int h)");
}

TEST_F(ParameterTableTest, EditsTheRightLineOfALongDeclaration) {
    scanned_.options.maxInlineComment = 10;
    std::string declaration = "// header line\nvoid Many(";
    std::string expected = declaration;
    for (int i = 0; i < 2000; ++i) {
        // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
        std::string name = "p";
        name += std::to_string(i);
        declaration += "int " + name + ", // comment number " + std::to_string(i) + "\n";
        expected += "int " + name + ", // comment nu...\n";
    }
    declaration += "int last)";
    expected += "int last)";
    ItemText text = TextOf(declaration);
    Rows rows = RowsOf(text);
    ASSERT_EQ(rows.size(), 2001u);
    EXPECT_EQ(rows[1999], "p1999|comment number 1999");
    EXPECT_EQ(text.declaration, expected);
}

}  // namespace
}  // namespace sylva
