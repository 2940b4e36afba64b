// Items as the scan makes them: names, page numbers, groups, the sort order and the short
// description.
#include <gtest/gtest.h>

#include <algorithm>

#include <optional>
#include <string>
#include <vector>

#include "scan/item_fields.h"
#include "scan/scan_fixture.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

TEST(Item, PagesOfARepeatedNameAreNumberedAcrossAllNames) {
    test::Scanned scanned;
    std::vector<int> numbers;
    for (const char* declaration :
         {"void Init()", "void Draw()", "void Init()", "void Draw()", "void Init()"}) {
        numbers.push_back(scanned.Add(declaration).pageNumber);
    }
    EXPECT_EQ(numbers, (std::vector<int>{-1, -1, 0, 1, 2}));
}

TEST(Item, BlocksWithoutDeclarationAreUntitledAndNumbered) {
    test::Scanned scanned;
    EXPECT_EQ(scanned.Scan("/**--\n--e*/\n\n/**--\n--e*/\n"), 2);
    const CSylItem& first = *scanned.items[0];
    const CSylItem& second = *scanned.items[1];
    EXPECT_EQ(first.name, "__Untitled");
    EXPECT_EQ(first.Declaration(), "__Untitled");
    EXPECT_EQ(first.hasSyntax, 0);
    EXPECT_EQ(first.pageNumber, -1);
    EXPECT_EQ(second.pageNumber, 0);
}

TEST(Item, PageNumbersCompareNamesNotTheirFileNameForm) {
    test::Scanned scanned;
    std::vector<int> numbers;
    for (const char* declaration :
         {"bool operator<(const CFoo& other)", "bool operator>(const CFoo& other)", "void init()",
          "void Init()"}) {
        numbers.push_back(scanned.Add(declaration).pageNumber);
    }
    EXPECT_EQ(numbers, (std::vector<int>{-1, -1, -1, -1}));
}

TEST(Item, KeepsTheDeclarationWithoutLeadingBlankLines) {
    test::Scanned scanned;
    // The declaration above the block begins after the last short line.
    EXPECT_EQ(scanned.Scan("\n  void CFoo::Bar(int a)\n/**--\n--e*/\n"), 1);
    const CSylItem& item = *scanned.items[0];
    EXPECT_EQ(item.Declaration(), "void CFoo::Bar(int a)");
    EXPECT_EQ(item.name, "CFoo::Bar");
    EXPECT_EQ(item.MemberName(), "Bar");
    EXPECT_EQ(item.hasSyntax, 1);
    EXPECT_EQ(item.sourceTime, test::kSourceTime);
    EXPECT_EQ(item.sourceFile, "test.h");
    EXPECT_EQ(item.sourceLine, 3);
}

TEST(ItemNames, MemberNameIsTheTextBetweenTheFirstTwoScopeMarks) {
    EXPECT_EQ(SplitClassMember("A::B::C"), "B");
    EXPECT_EQ(SplitClassMember("CFoo::Bar"), "Bar");
    EXPECT_EQ(SplitClassMember("Plain"), "Plain");
    EXPECT_EQ(SplitClassMember("::Global"), "Global");
    EXPECT_EQ(SplitClassMember("CFoo::"), "");
}

TEST(Item, GroupComesFromTheFirstGroupLineAndTypeWordsFromTheDocTypeLines) {
    test::Scanned scanned;
    const CSylItem& grouped = scanned.Add("void Draw()", {"Group:  Drawing", "Second"});
    EXPECT_EQ(grouped.group, "Drawing");
    EXPECT_EQ(DeriveItemText(grouped, scanned.settings, scanned.options).typeText, "Public");

    const CSylItem& common = scanned.Add("void Draw()", {"Description: draws"});
    EXPECT_EQ(common.group, "Common");

    const CSylItem& helper = scanned.Add("void Flush()", {"Doc type: private helper"});
    EXPECT_EQ(helper.accessRank, 200);
    EXPECT_EQ(helper.isPublic, 0);
    EXPECT_EQ(DeriveItemText(helper, scanned.settings, scanned.options).typeText, "Private Helper");
}

TEST(ItemList, IsInSortKeyOrderUpperCaseBeforeLowerCaseEqualKeysInCreationOrder) {
    test::Scanned scanned;
    scanned.Add("void Zeta()");
    scanned.Add("void Init()", {"Group: Drawing", "Description: first"});
    scanned.Add("void alpha()");
    scanned.Add("void Alpha()", {"Group: Drawing"});
    scanned.Add("void Init()", {"Group: Drawing", "Description: second"});
    scanned.Add("void Alpha()");
    scanned.items.Sort();
    Strings keys;
    for (const ItemList::Slot& item : scanned.items) {
        keys.push_back(item->group + "-" + item->name + ShortDescription(*item, scanned.settings));
    }
    EXPECT_EQ(keys, (Strings{"Common-Alpha ", "Common-Zeta ", "Common-alpha ", "Drawing-Alpha ",
                             "Drawing-Initfirst ", "Drawing-Initsecond "}));
}

// Names that agree on their first eight bytes or more, a name that begins another, bytes above
// 0x7F (which order after ASCII), groups of which one begins the other, an empty slot: the order
// is that of the keys' bytes, equal keys in creation order, empty slots last.
TEST(ItemList, SortsByTheKeysBytesHoweverLongTheSharedStart) {
    test::Scanned scanned;
    const std::vector<std::pair<std::string, std::string>> added = {{"Common", "CompareLongNameB"},
                                                                    {"Common", "CompareLongNameA"},
                                                                    {"Common", "Compare"},
                                                                    {"Common", "\xC3\xA9tat"},
                                                                    {"Common", "zeta"},
                                                                    {"Draw", "ing"},
                                                                    {"Drawing", "Apply"},
                                                                    {"Draw", "Zoom"},
                                                                    {"Common", "CompareLongName"},
                                                                    {"Common", "CompareLongNameA"},
                                                                    {"Common", "Removed"}};
    // Each key with the number of its item behind it, which tells equal keys apart.
    std::vector<std::pair<std::string, std::string>> expected;
    for (std::size_t i = 0; i < added.size(); ++i) {
        const auto& [group, name] = added[i];
        scanned.Add("void " + name + "()",
                    {"Group: " + group, "Description: " + std::to_string(i)});
        // A short description ends in a blank.
        expected.emplace_back(group + "-" + name, std::to_string(i) + " ");
    }
    scanned.items.Remove(10);
    expected.pop_back();
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    expected.emplace_back("(empty)", " ");
    scanned.items.Sort();
    std::vector<std::pair<std::string, std::string>> sorted;
    for (const ItemList::Slot& item : scanned.items) {
        sorted.emplace_back(item ? item->group + "-" + item->name : "(empty)",
                            item ? ShortDescription(*item, scanned.settings) : " ");
    }
    EXPECT_EQ(sorted, expected);
}

TEST(ItemList, NameLookupSeesOnlyNonEmptySlotsAndIsCaseSensitive) {
    test::Scanned scanned;
    EXPECT_FALSE(scanned.items.Contains("Init"));
    scanned.Add("void Init()");
    scanned.Add("void Init()");
    EXPECT_TRUE(scanned.items.Contains("Init"));
    EXPECT_FALSE(scanned.items.Contains("init"));
    EXPECT_FALSE(scanned.items.Contains("Ini"));

    scanned.items.Remove(0);
    EXPECT_TRUE(scanned.items.Contains("Init"));
    scanned.items.Remove(1);
    EXPECT_FALSE(scanned.items.Contains("Init"));
    scanned.items.Remove(1);  // an empty slot stays empty
    EXPECT_EQ(scanned.items.size(), 2u);
    EXPECT_EQ(scanned.items[0], nullptr);

    // A name freed by removal numbers no page: the next item of that name takes the plain page.
    EXPECT_EQ(scanned.Add("void Init()").pageNumber, -1);
    EXPECT_EQ(scanned.Add("void Init()").pageNumber, 1);
}

// A page's log keeps each lookup once, however often it is made or merged; a record that holds
// one twice was not written by Encode and is refused.
TEST(NameLookups, KeepEachLookupOnceAndRefuseARecordThatRepeatsOne) {
    using Kind = NameLookups::Kind;
    NameLookups log;
    NameLookups other;
    {
        NameLookups::Recording recording(log);
        for (int i = 0; i < 3; ++i) {
            NameLookups::Note(Kind::kListed, "geo::Shape", "1");
            NameLookups::Note(Kind::kRow, "geo::Shape", "");
        }
        NameLookups::Note(Kind::kListed, "geo::Shape", "");  // another answer is another lookup
        NameLookups::Recording inner(other);
        NameLookups::Note(Kind::kBases, "geo::Circle", "geo::Shape\n");
        NameLookups::Note(Kind::kListed, "geo::Shape", "1");
    }
    NameLookups::Note(Kind::kListed, "unrecorded", "");
    log.Merge(other);
    const std::vector<NameLookups::Lookup> expected = {
        {Kind::kListed, "geo::Shape", ""},
        {Kind::kListed, "geo::Shape", "1"},
        {Kind::kRow, "geo::Shape", ""},
        {Kind::kBases, "geo::Circle", "geo::Shape\n"},
    };
    EXPECT_EQ(log.Distinct(), expected);

    ByteWriter out;
    log.Encode(out);
    ByteReader in(out.bytes());
    std::optional<NameLookups> decoded = NameLookups::Decode(in);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->Distinct(), expected);

    ByteWriter twice;
    twice.Number(2);
    for (int i = 0; i < 2; ++i) {
        twice.Number(static_cast<std::uint64_t>(Kind::kListed)).Text("x").Text("");
    }
    ByteReader damaged(twice.bytes());
    EXPECT_FALSE(NameLookups::Decode(damaged).has_value());

    // Encode sorts: a record out of that order was not written by it.
    ByteWriter unsorted;
    unsorted.Number(2);
    for (const char* name : {"y", "x"}) {
        unsorted.Number(static_cast<std::uint64_t>(Kind::kListed)).Text(name).Text("");
    }
    ByteReader outOfOrder(unsorted.bytes());
    EXPECT_FALSE(NameLookups::Decode(outOfOrder).has_value());

    // A visit reads in place and stops where its visitor does.
    ByteReader visited(out.bytes());
    std::vector<std::string> seen;
    EXPECT_FALSE(NameLookups::Visit(visited, [&](Kind, std::string_view name, std::string_view) {
        seen.emplace_back(name);
        return seen.size() < 2;
    }));
    EXPECT_EQ(seen, (std::vector<std::string>{"geo::Shape", "geo::Shape"}));
}

TEST(Item, ShortDescriptionTakesThreeTrimmedLinesAndCutsAt120) {
    test::Scanned scanned;
    auto shortDesc = [&scanned](std::initializer_list<std::string_view> lines) {
        return ShortDescription(scanned.Add("f()", lines), scanned.settings);
    };
    EXPECT_EQ(shortDesc({"Description: one,", "  two", ", three ,", "four"}), "one two three ");
    EXPECT_EQ(shortDesc({"Author: me"}), " ");
    const std::string xs(150, 'x');
    EXPECT_EQ(shortDesc({"Description:", xs}), std::string(120, 'x') + "...");
    const std::string ys(119, 'y');
    EXPECT_EQ(shortDesc({"Description:", ys}), ys + " ");
}

TEST(Item, SeeAlsoNamesAreTheTrimmedLinesOnlyWhenTheSectionIsWritten) {
    test::Scanned scanned;
    const CSylItem& item = scanned.Add("f()", {"See also:", "  CFoo::Bar", "", "Other"});
    EXPECT_EQ(SeeAlsoNames(item, scanned.settings, scanned.options),
              (Strings{"CFoo::Bar", "", "Other"}));
    scanned.options.sectionSeeAlso = 0;
    EXPECT_EQ(SeeAlsoNames(item, scanned.settings, scanned.options), Strings{});
}

}  // namespace
}  // namespace sylva
