#include "support/zt_string_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace sylva {
namespace {

std::vector<std::string> Contents(const CZTStringArray& array) {
    return {array.begin(), array.end()};
}

TEST(CZTStringArrayAdd, PlainAddAppends) {
    CZTStringArray array;
    EXPECT_EQ(array.Add("b"), 0);
    EXPECT_EQ(array.Add("a"), 1);
    EXPECT_EQ(Contents(array), (std::vector<std::string>{"b", "a"}));
}

TEST(CZTStringArrayAdd, SortedAddKeepsAscendingByteOrder) {
    CZTStringArray array;
    for (const char* text :
         {"delta", "Bravo", "alpha", "Charlie", "_under", "\xE4gypten", "Alpha"}) {
        array.Add(text, true, true);
    }
    EXPECT_EQ(Contents(array), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", "_under",
                                                         "alpha", "delta", "\xE4gypten"}));
}

TEST(CZTStringArrayAdd, SortedAddKeepsEqualTextsInOrderOfAddition) {
    CZTStringArray array;
    array.Add("b", true, true);
    array.Add("a", true, true);
    int second = array.Add("b", true, true);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(Contents(array), (std::vector<std::string>{"a", "b", "b"}));
}

TEST(CZTStringArrayAdd, SortedAddOverRecordsReadUnsortedInsertsAtItsPlace) {
    CZTStringArray array;
    array.Add("m");
    array.Add("c");
    array.Add("x");
    array.Add("d", true, true);
    EXPECT_EQ(Contents(array), (std::vector<std::string>{"m", "c", "d", "x"}));
}

TEST(CZTStringArrayFind, PrefixSearchFindsTheFirstElementBeginningWithTheKey) {
    CZTStringArray array;
    array.Add("<!--Beta--><tr>");
    array.Add("<!--Alpha--><tr>");
    array.Add("<!--Alpha--><tr>second");
    EXPECT_EQ(array.Find("<!--Alpha-->", true, false), 1);
    EXPECT_EQ(array.Find("<!--alpha-->", true, false), -1);
    EXPECT_EQ(array.Find("<!--alpha-->", true, true), 1);
    EXPECT_EQ(array.Find("Alpha", true, false), -1);
    EXPECT_EQ(array.Find("<!--Beta--><tr>", false, false), 0);
    EXPECT_EQ(array.Find("<!--Beta-->", false, false), -1);
}

TEST(CZTStringArray, RemoveAndReplaceElements) {
    CZTStringArray array;
    array.Add("a");
    array.Add("b");
    array.Add("c");
    array.RemoveAt(1);
    array.SetAt(0, "z");
    EXPECT_EQ(Contents(array), (std::vector<std::string>{"z", "c"}));
    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
}

}  // namespace
}  // namespace sylva
