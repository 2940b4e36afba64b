#include "scan/syl_item.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scan_source.h"
#include "scan/item_builder.h"
#include "support/prompter.h"

namespace sylva {
namespace {

using test::AddBuiltItem;
using test::BuildItem;

using ItemTest = test::GeneratorTest;

TEST_F(ItemTest, NamesAndPagesOfARepeatedNameAreNumberedAcrossAllNames) {
    const std::vector<std::string> declarations = {"void Init()", "void Draw()", "void Init()",
                                                   "void Draw()", "void Init()"};
    std::vector<std::string> pages;
    for (const std::string& declaration : declarations) {
        pages.push_back(AddBuiltItem(generator_, declaration).PageFile());
    }
    EXPECT_EQ(pages,
              (std::vector<std::string>{"SYLVA_Init.html", "SYLVA_Draw.html", "SYLVA_Init_000.html",
                                        "SYLVA_Draw_001.html", "SYLVA_Init_002.html"}));
    EXPECT_EQ(generator_.items[4]->PagePath(), "/out/My_Project/SYLVA_Init_002.html");
    EXPECT_EQ(generator_.items[0]->PagePath(), "/out/My_Project/SYLVA_Init.html");
    EXPECT_EQ(generator_.duplicateCounter, 3);
}

TEST_F(ItemTest, BlocksWithoutDeclarationAreUntitledAndNumbered) {
    CSylItem& first = AddBuiltItem(generator_, "");
    CSylItem& second = AddBuiltItem(generator_, "\n  \n");
    EXPECT_EQ(first.name, "__Untitled");
    EXPECT_EQ(first.Details().declaration, "__Untitled");
    EXPECT_EQ(first.hasSyntax, 0);
    EXPECT_EQ(first.PageFile(), "SYLVA___Untitled.html");
    EXPECT_EQ(second.PageFile(), "SYLVA___Untitled_000.html");
}

TEST_F(ItemTest, PageNamesCompareNamesNotTheirFileNameForm) {
    CSylItem& less = AddBuiltItem(generator_, "bool operator<(const CFoo& other)");
    CSylItem& more = AddBuiltItem(generator_, "bool operator>(const CFoo& other)");
    CSylItem& init = AddBuiltItem(generator_, "void init()");
    CSylItem& upper = AddBuiltItem(generator_, "void Init()");
    EXPECT_EQ(less.SafeName(), "operator_");
    EXPECT_EQ(less.PageFile(), "SYLVA_operator_.html");
    EXPECT_EQ(more.PageFile(), "SYLVA_operator_.html");
    EXPECT_EQ(init.PageFile(), "SYLVA_init.html");
    EXPECT_EQ(upper.PageFile(), "SYLVA_Init.html");
    EXPECT_EQ(generator_.duplicateCounter, 0);
}

TEST_F(ItemTest, KeepsTheDeclarationWithoutLeadingBlankLines) {
    auto item = BuildItem(generator_, "\n\n  void CFoo::Bar(int a)\n", {});
    EXPECT_EQ(item->Details().declaration, "void CFoo::Bar(int a)\n");
    EXPECT_EQ(item->name, "CFoo::Bar");
    EXPECT_EQ(item->MemberName(), "Bar");
    EXPECT_EQ(item->hasSyntax, 1);
    EXPECT_EQ(item->sourceTime, CZTTime(981158400));
    EXPECT_EQ(item->owner, &generator_);
}

TEST(ItemNames, MemberNameIsTheTextBetweenTheFirstTwoScopeMarks) {
    EXPECT_EQ(SplitClassMember("A::B::C"), "B");
    EXPECT_EQ(SplitClassMember("CFoo::Bar"), "Bar");
    EXPECT_EQ(SplitClassMember("Plain"), "Plain");
    EXPECT_EQ(SplitClassMember("::Global"), "Global");
    EXPECT_EQ(SplitClassMember("CFoo::"), "");
}

TEST_F(ItemTest, GroupComesFromTheFirstGroupLineAndFormsTheSortKey) {
    auto grouped = BuildItem(generator_, "void Draw()", {"Group:  Drawing ", "Second"});
    EXPECT_EQ(grouped->group, "Drawing");
    EXPECT_EQ(grouped->SortKey(), "Drawing-Draw");
    EXPECT_EQ(grouped->Details().typeLabel, "Drawing<BR>(Public)");

    auto common = BuildItem(generator_, "void Draw()", {"Description: draws"});
    EXPECT_EQ(common->group, "Common");
    EXPECT_EQ(common->SortKey(), "Common-Draw");
    EXPECT_EQ(common->Details().typeLabel, "Common<BR>(Public)");
}

TEST_F(ItemTest, ListIsInSortKeyOrderUpperCaseBeforeLowerCase) {
    AddBuiltItem(generator_, "void Zeta()");
    AddBuiltItem(generator_, "void Alpha()", {"Group: Drawing"});
    AddBuiltItem(generator_, "void alpha()");
    AddBuiltItem(generator_, "void Alpha()");
    AddBuiltItem(generator_, "void Beta()");
    generator_.SortItems();
    std::vector<std::string> keys;
    for (const auto& item : generator_.items) {
        keys.push_back(item->SortKey());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"Common-Alpha", "Common-Beta", "Common-Zeta",
                                              "Common-alpha", "Drawing-Alpha"}));
}

TEST_F(ItemTest, ShortDescriptionTakesThreeTrimmedLinesAndCutsAt120) {
    auto four = BuildItem(generator_, "f()", {"Description: one,", "  two  ", ", three ,", "four"});
    EXPECT_EQ(four->Details().shortDesc, "one two three ");

    auto none = BuildItem(generator_, "f()", {"Author: me"});
    EXPECT_EQ(none->Details().shortDesc, " ");

    auto longLine = BuildItem(generator_, "f()", {"Description:", std::string(150, 'x')});
    EXPECT_EQ(longLine->Details().shortDesc.size(), 123u);
    EXPECT_EQ(longLine->Details().shortDesc, std::string(120, 'x') + "...");

    auto exact = BuildItem(generator_, "f()", {"Description:", std::string(119, 'y')});
    EXPECT_EQ(exact->Details().shortDesc, std::string(119, 'y') + " ");
}

class RecordingPrompter : public Prompter {
  public:
    void Warning(std::string_view text) override { warnings.emplace_back(text); }
    void Information(std::string_view) override {}
    bool Question(std::string_view) override { return true; }
    bool CautiousQuestion(std::string_view) override { return false; }
    std::optional<std::string> ChooseFile(FileChoice, std::string_view, bool) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenDocument(std::string_view) override { return std::nullopt; }
    std::unique_ptr<CZTProgressDlg> CreateProgress() override { return nullptr; }

    std::vector<std::string> warnings;
};

TEST(ItemWithoutOwner, WarnsThroughThePrompterAndLeavesEveryFieldEmpty) {
    RecordingPrompter prompter;
    CSylItem item(nullptr, "void Draw()", test::Lines({"Description: x"}), CZTTime(5), &prompter);
    EXPECT_EQ(prompter.warnings,
              (std::vector<std::string>{
                  "Cannot work without a valid base class (CZTScanSource)!\nCancel execution!"}));
    EXPECT_EQ(item.owner, nullptr);
    EXPECT_EQ(item.name, "");
    EXPECT_EQ(item.pageNumber, -1);
    EXPECT_TRUE(item.Details().sections[kSectionDescription].IsEmpty());
    EXPECT_EQ(item.Init(nullptr, "void Draw()", {}, CZTTime(5)), -1);  // and silently without
}

}  // namespace
}  // namespace sylva
