// Reading tag files: what a well-formed one gives, and that every kind of bad input is one
// problem with its line, never a crash nor a partial list.
#include "scan/tag_file.h"

#include "support/xml_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace sylva {
namespace {

TagFileRead Read(const std::string& text, std::string_view location = "https://x.org/doc") {
    std::istringstream in(text);
    return ReadTagFile(in, location);
}

TEST(TagFile, GivesCompoundsAndTheirMembersWithJoinedAddresses) {
    const TagFileRead read = Read(
        "<?xml version=\"1.0\"?>\n<!DOCTYPE tagfile>\n<!-- made for this test -->\n"
        "<tagfile doxygen_version=\"1\">\n"
        "  <compound kind=\"namespace\"><name>std</name><filename></filename>\n"
        "    <member kind=\"function\"><name>swap</name><anchorfile>cpp/swap</anchorfile>"
        "<anchor/></member></compound>\n"
        "  <compound kind='class'><name> std::vector </name><filename>cpp/vector</filename>\n"
        "    <member kind=\"function\"><name>operator&lt;</name><anchorfile>a&amp;b.html"
        "</anchorfile><anchor>x1</anchor><arglist/></member>\n"
        "    <member kind=\"function\"><name>dangling</name><anchorfile></anchorfile></member>\n"
        "  </compound>\n"
        "  <compound kind=\"file\"><name>io.h</name><filename>io.html</filename>\n"
        "    <member kind=\"define\"><name><![CDATA[IO_MAX]]></name><anchorfile>io.html"
        "</anchorfile><anchor>m</anchor></member></compound>\n"
        "  <compound kind=\"dir\"><name>src</name><filename>dir_src.html</filename></compound>\n"
        "</tagfile>\n");
    ASSERT_FALSE(read.problem) << read.problem->line << ": " << read.problem->text;
    const std::pair<std::string, std::string> expected[] = {
        {"IO_MAX", "https://x.org/doc/io.html#m"},
        {"io.h", "https://x.org/doc/io.html"},
        {"std::swap", "https://x.org/doc/cpp/swap"},
        {"std::vector", "https://x.org/doc/cpp/vector"},
        {"std::vector::operator<", "https://x.org/doc/a&b.html#x1"},
    };
    EXPECT_EQ(read.names.Sorted(), std::vector(std::begin(expected), std::end(expected)));
}

// A tag file whose compound pages lack the folder and extension of their members' pages (as
// cppreference's for its local copy): the first compound that shows both teaches them, for the
// compounds before it too; pages with an extension and a convention of none stay as written.
TEST(TagFile, CompoundPagesTakeTheFolderAndExtensionTheirMembersShow) {
    const std::string local =
        "<tagfile>\n"
        "  <compound kind=\"class\"><name>std::add_const</name><filename>cpp/types/add_cv"
        "</filename></compound>\n"
        "  <compound kind=\"class\"><name>std::vector</name><filename>cpp/container/vector"
        "</filename>\n"
        "    <member kind=\"function\"><name>vector</name><anchorfile>en/cpp/container/vectorx/"
        "v.html</anchorfile></member>\n"
        "    <member kind=\"function\"><name>at</name><anchorfile>en/cpp/container/vector/at.html"
        "</anchorfile><anchor/></member></compound>\n"
        "  <compound kind=\"namespace\"><name>std</name><filename>en/cpp/std.html</filename>"
        "</compound>\n"
        "  <compound kind=\"file\"><name>array</name><filename>cpp/header/array</filename>"
        "</compound>\n"
        "</tagfile>\n";
    const TagFileRead read = Read(local, "file:///doc");
    ASSERT_FALSE(read.problem) << read.problem->text;
    const std::pair<std::string, std::string> expected[] = {
        {"array", "file:///doc/en/cpp/header/array.html"},
        {"std", "file:///doc/en/cpp/std.html"},
        {"std::add_const", "file:///doc/en/cpp/types/add_cv.html"},
        {"std::vector", "file:///doc/en/cpp/container/vector.html"},
        {"std::vector::at", "file:///doc/en/cpp/container/vector/at.html"},
        {"std::vector::vector", "file:///doc/en/cpp/container/vectorx/v.html"},
    };
    EXPECT_EQ(read.names.Sorted(), std::vector(std::begin(expected), std::end(expected)));

    const TagFileRead older = Read(
        "<tagfile><compound kind=\"class\"><name>Foo</name><filename>classFoo</filename>"
        "<member kind=\"function\"><name>f</name><anchorfile>classFoo.html</anchorfile>"
        "<anchor>a1</anchor></member></compound></tagfile>");
    EXPECT_EQ(*older.names.Find("Foo"), "https://x.org/doc/classFoo.html");
}

TEST(TagFile, BadInputIsOneProblemAtItsLineAndGivesNoNames) {
    std::string nested = "<tagfile>\n";
    for (int i = 0; i < 100; ++i) {
        nested += "<a>";
    }
    struct Case {
        std::string text;
        int line;
        std::string_view problem;
    };
    const Case cases[] = {
        {"", 1, "ends inside"},
        {"<other><compound kind=\"class\"/></other>", 1, "not <tagfile>"},
        {"<tagfile>\n<compound kind=\"class\"><name>A</name>\n", 3, "ends inside"},
        {"<tagfile>\n<compound>\n<name>A</nam></compound></tagfile>", 3, "does not match"},
        {std::string("<tagfile>\n\n<name>A") + '\0' + "B</name></tagfile>", 3, "binary"},
        {"\x7f"
         "ELF\x02\x01",
         1, "binary"},
        {nested, 2, "nest too deep"},
        {"<tagfile><name>" + std::string(kMaxXmlTextBytes + 1, 'n') + "</name></tagfile>", 1,
         "too long"},
        {"<tagfile>&bogus;</tagfile>", 1, "entity"},
        {"<tagfile>&#0;</tagfile>", 1, "entity"},
        {"<tagfile>&#x110000;</tagfile>", 1, "entity"},
        {"<!DOCTYPE t [<!ENTITY a \"aaaa\">]><tagfile>&a;</tagfile>", 1, "internal subset"},
        {"<tagfile/>\n<tagfile/>", 2, "after the root"},
        {"<tagfile a=\"1\" a2></tagfile>", 1, "malformed tag"},
        {"<tagfile><compound kind=\"class\"><name>A</name><filename>a</filename></compound>"
         "<",
         1, "a name is expected"},
    };
    for (const Case& c : cases) {
        const TagFileRead read = Read(c.text);
        ASSERT_TRUE(read.problem) << c.text.substr(0, 80);
        EXPECT_EQ(read.problem->line, c.line) << c.text.substr(0, 80);
        EXPECT_NE(read.problem->text.find(c.problem), std::string::npos)
            << c.text.substr(0, 80) << " gave " << read.problem->text;
        EXPECT_TRUE(read.names.empty()) << c.text.substr(0, 80);
    }
}

TEST(TagFile, AddressesThatWouldRunCodeAreNeverGiven) {
    const std::string_view unsafe[] = {
        "javascript:alert(1)", "JavaScript:x",        " \tjava\nscript:x", "&#106;avascript:x",
        "&#x6A;avascript:x",   "&#X4a&#97vascript:x", "VBScript:x",        "data:text/html,x",
    };
    for (std::string_view address : unsafe) {
        EXPECT_TRUE(IsUnsafeAddress(address)) << address;
    }
    for (std::string_view address :
         {"https://x.org/javascript:", "../other", "file:///usr/doc", "cpp/data:x", ""}) {
        EXPECT_FALSE(IsUnsafeAddress(address)) << address;
    }
    const std::string file =
        "<tagfile><compound kind=\"class\"><name>A</name><filename>javascript:x</filename>"
        "<member kind=\"function\"><name>f</name><anchorfile>a.html</anchorfile></member>"
        "</compound></tagfile>";
    // Joined with no location the compound's page would be the script itself.
    const TagFileRead bare = Read(file, "");
    ASSERT_FALSE(bare.problem);
    EXPECT_EQ(bare.unsafe, 1);
    EXPECT_EQ(bare.names.Sorted(),
              (std::vector<std::pair<std::string, std::string>>{{"A::f", "a.html"}}));
    const TagFileRead located = Read(file, "&#x6a;avascript:void(0)//");
    ASSERT_TRUE(located.problem);
    EXPECT_TRUE(located.names.empty());
}

TEST(TagFile, SourcesAreFileEqualsLocation) {
    const std::vector<TagFileSource> sources =
        ParseTagFileSources(" a.tag = https://x.org/a=b | b.tag | c.tag=");
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources[0].path, "a.tag");
    EXPECT_EQ(sources[0].location, "https://x.org/a=b");
    EXPECT_EQ(sources[1].location, "");
    EXPECT_EQ(sources[2].path, "c.tag");
}

}  // namespace
}  // namespace sylva
