#include "support/zt_string.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string_view>

#include "support/byte_sets.h"

namespace sylva {
namespace {

TEST(CZTStringGetField, CountsEmptyFieldsAndIsEmptyBeyondTheLast) {
    struct Case {
        const char* text;
        const char* separator;
        std::size_t n;
        const char* expected;
    };
    const Case cases[] = {
        {"a=b=c", "=", 0, "a"},
        {"a=b=c", "=", 1, "b"},
        {"a=b=c", "=", 2, "c"},
        {"a=b=c", "=", 3, ""},
        {"a==c", "=", 1, ""},
        {"a==c", "=", 2, "c"},
        {"=x", "=", 0, ""},
        {"x=", "=", 1, ""},
        {"no separator", "=", 0, "no separator"},
        {"no separator", "=", 1, ""},
        {"A::B::C", "::", 0, "A"},
        {"A::B::C", "::", 2, "C"},
        {"<!--DESC:n;l;dDESCEND-->", "<!--DESC:", 1, "n;l;dDESCEND-->"},
        {"text", "", 0, "text"},
        {"text", "", 1, ""},
        {"", "=", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CZTString(c.text).GetField(std::string_view(c.separator), c.n), c.expected)
            << "text '" << c.text << "' separator '" << c.separator << "' field " << c.n;
    }
}

TEST(CZTStringGetField, CharSeparatorGivesTheLastWordAtCountChar) {
    CZTString text("unsigned long int value");
    EXPECT_EQ(text.GetField(' ', static_cast<std::size_t>(text.CountChar(' '))), "value");
    EXPECT_EQ(text.GetField(' ', 0), "unsigned");
}

TEST(CZTStringFindReplace, ReplacesFirstOrAllWithoutRescanningInsertedText) {
    CZTString all("aXbXc");
    EXPECT_EQ(all.FindReplace("X", "XX"), 2);
    EXPECT_EQ(all, "aXXbXXc");

    CZTString first("aXbXc");
    EXPECT_EQ(first.FindReplace("X", "--", false), 1);
    EXPECT_EQ(first, "a--bXc");

    CZTString overlapping("aaaa");
    overlapping.FindReplace("aa", "b");
    EXPECT_EQ(overlapping, "bb");

    CZTString removed("x//y//z");
    removed.FindReplace("//", "");
    EXPECT_EQ(removed, "xyz");
}

TEST(CZTStringFindReplace, AnEmptyFindChangesNothing) {
    CZTString text("unchanged");
    EXPECT_EQ(text.FindReplace("", "zzz"), 0);
    EXPECT_EQ(text.FindReplaceNoCase("", "zzz"), 0);
    EXPECT_EQ(text, "unchanged");
}

TEST(CZTStringFindReplace, ALongNeedleOverRepetitiveTextTakesLinearTime) {
    // Every position of the text matches all but the last byte of the needle: a search that
    // compares the needle at each position makes about 4 * 10^11 comparisons here.
    const std::string needle = std::string(200000, 'a') + "b";
    CZTString text(std::string(2000000, 'a') + needle + "a");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(text.FindReplace(needle, "X"), 1);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(text, std::string(2000000, 'a') + "Xa");
    EXPECT_LT(elapsed.count(), 5.0);
}

TEST(CZTStringFindReplace, NoCaseFoldsOnlyAsciiLetters) {
    CZTString text("a<br>b<BR>c<Br>d");
    EXPECT_EQ(text.FindReplaceNoCase("<BR>", " "), 3);
    EXPECT_EQ(text, "a b c d");

    CZTString umlaut("\xFC\xDC");  // u-umlaut and U-umlaut in Windows-1252 are not folded
    EXPECT_EQ(umlaut.FindReplaceNoCase("\xDC", "U"), 1);
    EXPECT_EQ(umlaut, "\xFCU");
}

TEST(CZTStringFindReplace, CharacterForm) {
    CZTString path("C:/src/sub");
    EXPECT_EQ(path.FindReplace('/', '\\'), 2);
    EXPECT_EQ(path, "C:\\src\\sub");
    CZTString once("a.b.c");
    once.FindReplace('.', '_', false);
    EXPECT_EQ(once, "a_b.c");
}

TEST(CZTStringFind, ReturnsMinusOneWhenAbsentAndHonoursTheStart) {
    CZTString text("abcabc");
    EXPECT_EQ(text.Find("bc"), 1);
    EXPECT_EQ(text.Find("bc", 2), 4);
    EXPECT_EQ(text.Find("zz"), -1);
    EXPECT_EQ(text.Find('c', 3), 5);
    EXPECT_EQ(text.Find('c', 6), -1);
    EXPECT_EQ(text.FindNoCase("BCA"), 1);
    EXPECT_EQ(text.FindNoCase("X"), -1);
    EXPECT_EQ(text.FindNoCase("abc", 10), -1);
}

TEST(CZTString, ReplaceInvalidFilenameCharsChangesInPlaceAndReturnsTheResult) {
    CZTString name(std::string("a\\b/c:d*e?f\"g<h>i|j\x01k\x1Fl\x7Fm n.o", 29));
    CZTString& result = name.ReplaceInvalidFilenameChars('_');
    EXPECT_EQ(&result, &name);
    EXPECT_EQ(name, "a_b_c_d_e_f_g_h_i_j_k_l\x7Fm n.o");

    CZTString withNul(std::string("a\0b", 3));
    withNul.ReplaceInvalidFilenameChars();
    EXPECT_EQ(withNul, "a_b");
    CZTString member("CFoo::Bar");
    EXPECT_EQ(member.ReplaceInvalidFilenameChars(), "CFoo__Bar");
    // In a link, '#' would start a fragment and '%' an escape: the page could not be reached.
    CZTString macro("#define PERCENT 100%");
    EXPECT_EQ(macro.ReplaceInvalidFilenameChars(), "_define PERCENT 100_");
}

TEST(CZTString, GetFilenameIsThePartAfterTheLastSlash) {
    EXPECT_EQ(CZTString("/a/b/file.cpp").GetFilename(), "file.cpp");
    EXPECT_EQ(CZTString("file.cpp").GetFilename(), "file.cpp");
    EXPECT_EQ(CZTString("dir/").GetFilename(), "");
}

TEST(CZTString, TrimsOnlyTheGivenBytes) {
    CZTString text("\n  \tvalue \t\n ");
    EXPECT_EQ(CZTString(text).Trim(" \n"), "\tvalue \t");
    EXPECT_EQ(CZTString(text).TrimLeft(" \n"), "\tvalue \t\n ");
    EXPECT_EQ(CZTString(text).TrimRight(" \n"), "\n  \tvalue \t");
    EXPECT_EQ(CZTString("    ").Trim(" "), "");
}

// The readers' byte-set searches stand in for std::string_view's: they must agree with them on
// every start, including one past the end, an empty set and a text of members only.
TEST(ByteSets, AgreeWithTheStandardSearches) {
    using namespace std::string_view_literals;
    const std::string_view texts[] = {""sv,      " "sv,    "ab"sv, " \t x\t "sv,
                                      "{a}b{"sv, "a\0b"sv, "xx"sv};
    const std::string_view sets[] = {""sv, " \t"sv, "{}"sv, "x"sv, "\0"sv};
    for (std::string_view text : texts) {
        for (std::string_view set : sets) {
            SCOPED_TRACE(testing::Message() << "text \"" << text << "\", set \"" << set << "\"");
            EXPECT_EQ(FindLastNotOf(text, set), text.find_last_not_of(set));
            for (std::size_t from = 0; from <= text.size() + 1; ++from) {
                EXPECT_EQ(FindFirstOf(text, set, from), text.find_first_of(set, from));
                EXPECT_EQ(FindFirstNotOf(text, set, from), text.find_first_not_of(set, from));
            }
        }
    }
}

TEST(CZTString, MakeUpperFoldsOnlyAscii) {
    CZTString text(
        "abz \xFC"
        "AZ.cpp");
    EXPECT_EQ(text.MakeUpper(),
              "ABZ \xFC"
              "AZ.CPP");
}

TEST(CZTString, DeleteAndCountChar) {
    CZTString text("abcdef");
    text.Delete(1, 2);
    EXPECT_EQ(text, "adef");
    text.Delete(10, 2);
    EXPECT_EQ(text, "adef");
    EXPECT_EQ(CZTString("a b  c").CountChar(' '), 3);
}

}  // namespace
}  // namespace sylva
