// The generation run as a whole: the files it writes and the items it keeps.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "engine/engine.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

std::set<std::string> FilesIn(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Runs over `scanPath` as the project `name` into `outputPath` with the built-in settings, public
// items only, files "*.H", the master index "INDEX.HTML".
RunResult RunProject(const std::string& scanPath, const std::string& name,
                     const std::string& outputPath, CZTListBox* protocol = nullptr,
                     const Settings& settings = Settings()) {
    Reporter reporter(protocol);
    const RunInputs inputs{scanPath, "INDEX.HTML", name, outputPath, ".H", "", 1, 0};
    return Run(inputs, settings, RunOptions(), reporter);
}

TEST(Run, AKeptItemTakesThePlainPageOfItsNameWhenTheFirstOfTheNameIsDropped) {
    test::ScratchDir dir;
    dir.Write("src/a.h",
              "/**--\n"
              "Doc type: Private\n"
              "--e*/\n"
              "int Write(int internal);\n"
              "\n"
              "/**--\n"
              "Description: Writes.\n"
              "--e*/\n"
              "int Write(const char* text);\n"
              "\n"
              "/**--\n"
              "Description: Also writes.\n"
              "--e*/\n"
              "int Write(double value);\n"
              "\n"
              "/**--\n"
              "Description: Calls \"Write\".\n"
              "See also: Write\n"
              "--e*/\n"
              "int Caller(void);\n"
              "\n");
    MemoryListBox protocol;
    ASSERT_EQ(RunProject(dir.File("src"), "Demo", dir.File("out"), &protocol), RunResult::kRan);
    // The first kept "Write" (page 000) now owns the plain page the links lead to; the second
    // keeps its number.
    EXPECT_EQ(
        FilesIn(dir.File("out/Demo")),
        (std::set<std::string>{"Demo.HTML", "Demo_frame.HTML", "Demo_frameidx.HTML",
                               "SYLVA_Caller.html", "SYLVA_Write.html", "SYLVA_Write_001.html"}));
    EXPECT_NE(dir.Read("out/Demo/SYLVA_Write.html").find("int Write(const char* text);"),
              std::string::npos);
    std::string caller = dir.Read("out/Demo/SYLVA_Caller.html");
    EXPECT_NE(caller.find("<a href=\"SYLVA_Write.html\">Write</a>"), std::string::npos);
    EXPECT_NE(dir.Read("out/Demo/Demo.HTML").find("<a href=\"SYLVA_Write_001.html\">"),
              std::string::npos);
}

TEST(Run, PagesKeepTheirNumbersWhenThePlainPageItemIsKept) {
    test::ScratchDir dir;
    dir.Write("src/a.h",
              "/**--\n--e*/\nint Draw(int);\n\n"
              "/**--\nDoc type: Private\n--e*/\nint Draw(long);\n\n"
              "/**--\n--e*/\nint Draw(char);\n\n");
    ASSERT_EQ(RunProject(dir.File("src"), "Demo", dir.File("out")), RunResult::kRan);
    std::set<std::string> files = FilesIn(dir.File("out/Demo"));
    EXPECT_TRUE(files.contains("SYLVA_Draw.html"));
    EXPECT_TRUE(files.contains("SYLVA_Draw_001.html"));
    EXPECT_FALSE(files.contains("SYLVA_Draw_000.html"));
}

TEST(Run, LinksToPagesWithNonAsciiNamesCarryTheExactBytesEscaped) {
    test::ScratchDir dir;
    dir.Write("src/a.h",
              "/**--\nDescription: The size.\n--e*/\nint Gr\xC3\xB6\xC3\x9F"
              "e(int);\n\n"
              "/**--\nDescription: Uses \"Gr\xC3\xB6\xC3\x9F"
              "e\".\nSee also: Gr\xC3\xB6\xC3\x9F"
              "e\n"
              "--e*/\nint User(int);\n\n");
    ASSERT_EQ(RunProject(dir.File("src"),
                         "Pr\xC3\xBC"
                         "fung",
                         dir.File("out")),
              RunResult::kRan);
    const std::string project =
        "out/Pr\xC3\xBC"
        "fung";
    EXPECT_TRUE(std::filesystem::exists(dir.File(project + "/SYLVA_Gr\xC3\xB6\xC3\x9F"
                                                           "e.html")));
    const std::string escaped = "SYLVA_Gr%C3%B6%C3%9Fe.html";
    std::string user = dir.Read(project + "/SYLVA_User.html");
    EXPECT_NE(user.find("<a href=\"" + escaped +
                        "\">Gr\xC3\xB6\xC3\x9F"
                        "e</a>"),
              std::string::npos)
        << user;
    EXPECT_NE(user.find("<a href=\"Pr%C3%BC"
                        "fung.HTML\">"),
              std::string::npos);
    EXPECT_NE(dir.Read(project + "/Pr\xC3\xBC"
                                 "fung.HTML")
                  .find("href=\"" + escaped + "\""),
              std::string::npos);
    EXPECT_NE(dir.Read(project + "/Pr\xC3\xBC"
                                 "fung_frame.HTML")
                  .find("SRC=\"Pr%C3%BC"
                        "fung_frameidx.HTML\""),
              std::string::npos);
    EXPECT_NE(dir.Read("out/INDEX.HTML")
                  .find("href=\"Pr%C3%BC"
                        "fung/Pr%C3%BC"
                        "fung_frame.HTML\""),
              std::string::npos);
}

Settings StyleSettings(std::string style) {
    Settings settings;
    settings.Set(SYL_COMMENT_STYLE, std::move(style));
    return settings;
}

// A header in the doxygen style, written for this test: a namespace with a group, a class with
// members, an operator, a template return type, a file and a page comment.
constexpr const char* kDocumentedHeader =
    "/** @file beds.h\n"
    "    Beds and their care. */\n"
    "/** @page care Care guide\n"
    "    Water daily. */\n"
    "namespace garden {\n"
    "/// @defgroup beds Garden beds\n"
    "/// Raised and sunken beds. Rows() lists them, as @ref CBed \"the bed class\" does.\n"
    "/// @{\n"
    "\n"
    "/** A raised bed: Plant() it, then Water() it; `garden::Rows` and CBed list it, %Rows and\n"
    "    https://x.example/Rows do not. */\n"
    "class CBed {\n"
    "  public:\n"
    "    /** Plants a seedling.\n"
    "        @param[in] seedling what goes in\n"
    "        @param[out] depth how deep it went, in cm < 30\n"
    "        @return true when it took root\n"
    "        @sa Water */\n"
    "    bool Plant(int seedling, int* depth);\n"
    "    /** Waters the bed; see @ref Plant \"planting\" first. */\n"
    "    void Water();\n"
    "};\n"
    "\n"
    "/** Compares two beds by area. */\n"
    "bool operator<(const CBed& a, const CBed& b);\n"
    "/** The other way round; its page is not the one of operator<. */\n"
    "bool operator>(const CBed& a, const CBed& b);\n"
    "\n"
    "/** The rows of a bed, as a `std::vector<int>` & co. */\n"
    "std::vector<int> Rows(const CBed& bed);\n"
    "/// @}\n"
    "}\n";

TEST(Run, TheDoxygenStyleGivesScopedNamesTablesLinksAndEscapedText) {
    test::ScratchDir dir;
    dir.Write("src/beds.h", kDocumentedHeader);
    ASSERT_EQ(
        RunProject(dir.File("src"), "Demo", dir.File("out"), nullptr, StyleSettings("Doxygen")),
        RunResult::kRan);
    EXPECT_EQ(FilesIn(dir.File("out/Demo")),
              (std::set<std::string>{
                  "Demo.HTML", "Demo_frame.HTML", "Demo_frameidx.HTML", "Demo_hierarchy.HTML",
                  "SYLVA_Care guide.html", "SYLVA_group_beds.html", "SYLVA_beds.h.html",
                  "SYLVA_garden.html", "SYLVA_garden__CBed.html", "SYLVA_garden__CBed__Plant.html",
                  "SYLVA_garden__CBed__Water.html", "SYLVA_garden__Rows.html",
                  "SYLVA_garden__operator_3C.html", "SYLVA_garden__operator_3E.html"}));
    struct Case {
        std::string file;
        std::string fragment;
    };
    const Case cases[] = {
        {"SYLVA_garden__CBed__Plant.html", "<title>garden::CBed::Plant</title>"},
        {"SYLVA_garden__CBed__Plant.html", "<I>seedling</I> [in]"},
        {"SYLVA_garden__CBed__Plant.html", "<I>depth</I> [out]"},
        {"SYLVA_garden__CBed__Plant.html", "how deep it went, in cm &lt; 30"},
        // "Water" is found in the scope of the item that names it.
        {"SYLVA_garden__CBed__Plant.html", "<a href=\"SYLVA_garden__CBed__Water.html\">Water</a>"},
        {"SYLVA_garden__CBed__Water.html",
         "<a href=\"SYLVA_garden__CBed__Plant.html\">planting</a>"},
        {"SYLVA_garden__operator_3C.html", "<title>garden::operator&lt;</title>"},
        {"SYLVA_garden__operator_3E.html", "<title>garden::operator&gt;</title>"},
        // Names link from the innermost scope out: in text, in code spans, in the declaration;
        // never the page's own name, a "%word" or a word of a web address.
        {"SYLVA_garden__Rows.html",
         "std::vector&lt;int&gt; Rows(const <a href=\"SYLVA_garden__CBed.html\">CBed</a>&amp; "
         "bed);"},
        // Where it is declared: the header below the scan path, and the line of the declaration
        // (its comment opens two lines earlier).
        {"SYLVA_garden__CBed.html", "Declared in <code>beds.h</code>, line 12."},
        {"SYLVA_garden__CBed.html",
         "<a href=\"SYLVA_garden__CBed__Plant.html\">Plant()</a> it, then "
         "<a href=\"SYLVA_garden__CBed__Water.html\">Water()</a> it; "
         "<code><a href=\"SYLVA_garden__Rows.html\">garden::Rows</a></code> and CBed list it, Rows "
         "and <a href=\"https://x.example/Rows\">https://x.example/Rows</a> do not."},
        {"SYLVA_garden__Rows.html", "<code>std::vector&lt;int&gt;</code> &amp; co."},
        {"SYLVA_group_beds.html", "Raised and sunken beds."},
        // A group's text finds names in the namespace its comment stands in.
        {"SYLVA_group_beds.html",
         "<a href=\"SYLVA_garden__Rows.html\">Rows()</a> lists them, as "
         "<a href=\"SYLVA_garden__CBed.html\">the bed class</a> does."},
        {"SYLVA_beds.h.html", "Files<BR>(Public)"},
        {"SYLVA_Care guide.html", "Pages<BR>(Public)"},
        // The group's title heads its items in the index, and names are escaped there too.
        {"Demo.HTML", "size=+1>Garden beds</font>"},
        {"Demo_frameidx.HTML", "<B>Garden beds</B>"},
        {"Demo.HTML", ">garden::<wbr>operator&lt;</font></a>"},
        {"Demo_frameidx.HTML", ">garden::<wbr>operator&lt;</font></a>"},
        {"SYLVA_garden__CBed__Water.html", "<big>garden::<wbr>CBed::<wbr>Water</big>"},
    };
    for (const Case& c : cases) {
        std::string page = dir.Read("out/Demo/" + c.file);
        EXPECT_NE(page.find(c.fragment), std::string::npos) << c.file << ": " << c.fragment;
    }
    EXPECT_EQ(dir.Read("out/Demo/Demo.HTML").find(">beds<"), std::string::npos);
}

// A header in the doxygen style, written for this test: a class with overloads, a static and a
// protected member, a derived class, a struct with fields of several shapes, an enum with values,
// a class template, a variable and a group that holds them.
constexpr const char* kScopedHeader =
    "/// @defgroup shapes Shapes\n"
    "/// Things with an area.\n"
    "/// @{\n"
    "namespace geo {\n"
    "/// A plane figure.\n"
    "class Shape {\n"
    "  public:\n"
    "    /// The area it covers.\n"
    "    virtual double area() const = 0;\n"
    "    /// Draws it.\n"
    "    void draw();\n"
    "    /// Draws it scaled.\n"
    "    void draw(double scale);\n"
    "    /// How many exist.\n"
    "    static int count();\n"
    "    int id;\n"
    "  protected:\n"
    "    /// The colour.\n"
    "    int colour;\n"
    "};\n"
    "/// A round shape; its centre is Point::x, its size #area(), its colour kBlue.\n"
    "class Circle : public Shape {\n"
    "  public:\n"
    "    /// Its area.\n"
    "    double area() const override;\n"
    "    /// Its radius. @ingroup cred\n"
    "    double radius() const;\n"
    "};\n"
    "/// A point.\n"
    "struct Point {\n"
    "    int x; ///< across\n"
    "    int lo, hi; ///< bounds\n"
    "    unsigned flags : 3; ///< bits\n"
    "    char name[8];\n"
    "    std::pair<int, int> span; ///< ends\n"
    "};\n"
    "/// Colours.\n"
    "enum Colour { kRed = 1, kBlue = kRed << 1, kGrey };\n"
    "/// A box.\n"
    "/// @tparam T what it holds\n"
    "template <class T> class Box {\n"
    "  public:\n"
    "    T item; ///< held\n"
    "};\n"
    "/// The largest size.\n"
    "extern const int limit;\n"
    "}\n"
    "/// @}\n";

TEST(Run, TheDoxygenStyleLeadsFromScopesToMembersAndBack) {
    test::ScratchDir dir;
    dir.Write("src/shape.h", kScopedHeader);
    // Bases that loop, and a class that is its own base through a typedef: no hang, no self link.
    dir.Write("src/loop.h",
              "/// One; not #lost.\nclass A : public B {};\n/// Two.\nclass B : public A {};\n"
              "/// Alias.\ntypedef C Same;\n/// Three.\nclass C : public Same {};\n");
    // Group labels with "&" and quotes, a label defined twice with two titles, a reference by
    // label; a class with two bases; a chain of bases deeper than the hierarchy nests.
    dir.Write("src/groups.h",
              "/** @defgroup a&b Authentication & credential \"management\" */\n\n"
              "/** @defgroup twice First title */\n\n/** @defgroup twice Second title */\n\n"
              "/** @defgroup cred Credentials */\n\n"
              "/// Fills.\nenum class Fill { kSolid };\n"
              "/// Rings: see @ref cred; they are geo::kGrey, Fill::kSolid, not kSolid. They\n"
              "/// draw(double) as geo::Circle::count() counts.\nclass "
              "Ring : public geo::Circle, "
              "public A {};\n");
    // "@relates" names its class as the namespace around the comment sees it.
    dir.Write("src/related.h",
              "namespace geo {\n/// Grows one Shape.\n/// @relates Shape\nvoid grow(Shape& s);\n"
              "/// Shrinks one, as #grow grows it.\nvoid shrink(Shape& s);\n}\n");
    // Two groups of one title, in two files: each is a group of its own.
    dir.Write("src/core_c.h",
              "/** @defgroup core_c C API */\n\n/// Makes a matrix. @ingroup core_c\n"
              "void cvCreateMat();\n");
    dir.Write("src/imgproc_c.h",
              "/** @defgroup imgproc_c C API */\n\n/// Smooths an image. @ingroup imgproc_c\n"
              "void cvSmooth();\n");
    // Every link names what the first inherits: a name is looked for a bounded way up.
    std::string chain = "/// Link 0.\nclass D0 {\n  public:\n    /// Deep.\n    void deep();\n};\n";
    for (int i = 1; i < 10000; ++i) {
        chain += "/// Link to #deep.\nclass D" + std::to_string(i) + " : public D" +
                 std::to_string(i - 1) + " {};\n";
    }
    dir.Write("src/chain.h", chain);
    MemoryListBox protocol;
    ASSERT_EQ(
        RunProject(dir.File("src"), "Geo", dir.File("out"), &protocol, StyleSettings("Doxygen")),
        RunResult::kRan);
    bool cutTold = false;
    for (const std::string& line : protocol.Lines()) {
        cutTold =
            cutTold || line.find("more than 64 levels deep below \"D63\"") != std::string::npos;
    }
    EXPECT_TRUE(cutTold);
    struct Case {
        std::string file;
        std::string fragment;
        bool present = true;
    };
    const std::string shape = "SYLVA_geo__Shape.html";
    const Case cases[] = {
        {shape, "<h3 class=\"members\">Member functions</h3>"},
        {shape,
         "<a href=\"SYLVA_geo__Shape__area.html\">area</a></td><td class=\"brief\">The "
         "area it covers."},
        // Overloads stand together, each leading to its own page.
        {shape,
         "<a href=\"SYLVA_geo__Shape__draw.html\">draw</a></td><td class=\"brief\">Draws "
         "it. </td></tr>\n<tr><td class=\"member\"><a href=\"SYLVA_geo__Shape__draw_"},
        {shape, "<h3 class=\"members\">Static member functions</h3>"},
        // A protected data member is a row of its class page: no link leads to a page of it.
        {shape, "SYLVA_geo__Shape__colour", false},
        {shape, "Inherited by <a href=\"SYLVA_geo__Circle.html\">geo::Circle</a>"},
        {shape, "Parameter:", false},
        {"SYLVA_geo__Shape__draw.html",
         "Member of <a href=\"SYLVA_geo__Shape.html\">geo::Shape</a>"},
        {"SYLVA_geo__grow.html", "Member of <a href=\"SYLVA_geo__Shape.html\">geo::Shape</a>"},
        {shape, "<a href=\"SYLVA_geo__grow.html\">"},
        {"SYLVA_geo__Circle.html", "Inherits <a href=\"SYLVA_geo__Shape.html\">geo::Shape</a>"},
        {"SYLVA_A.html", "Inherits <a href=\"SYLVA_B.html\">B</a>"},
        {"SYLVA_A.html", "Inherited by <a href=\"SYLVA_B.html\">B</a>"},
        {"SYLVA_C.html", "SYLVA_C.html\">C</a>", false},
        {"SYLVA_geo__Point.html", "Data members:"},
        // Data members show their types, widths and bounds, undocumented ones too; enumerators
        // their values, escaped.
        // Each row has an anchor of its name; links to a member row lead there.
        {"SYLVA_geo__Point.html", "int <I id=\"x\">x</I>"},
        {"SYLVA_geo__Point.html", "int <a id=\"hi\"></a><I id=\"lo\">lo, hi</I>"},
        {"SYLVA_geo__Point.html", "unsigned <I id=\"flags\">flags</I> : 3"},
        {"SYLVA_geo__Point.html", "char <I id=\"name\">name</I>[8]"},
        {"SYLVA_geo__Point.html", "std::pair&lt;int, int&gt; <I id=\"span\">span</I>"},
        {"SYLVA_geo__Circle.html", "<a href=\"SYLVA_geo__Point.html#x\">Point::x</a>"},
        {"SYLVA_geo__Circle.html", "<a href=\"SYLVA_geo__Circle__area.html\">area()</a>"},
        // A member a class inherits is named through it, as written with its parameter list;
        // through a loop of bases nothing is found, and far up a chain the search stops.
        {"SYLVA_Ring.html", "<a href=\"SYLVA_geo__Shape__draw.html\">draw(double)</a>"},
        {"SYLVA_Ring.html", "<a href=\"SYLVA_geo__Shape__count.html\">geo::Circle::count()</a>"},
        {"SYLVA_A.html", "One; not #lost."},
        {"SYLVA_D1.html", "<a href=\"SYLVA_D0__deep.html\">deep</a>"},
        {"SYLVA_D9999.html", "SYLVA_D0__deep.html", false},
        // An enumerator of an enum in a namespace is named in the namespace, from in and out.
        {"SYLVA_geo__Circle.html", "<a href=\"SYLVA_geo__Colour.html#kBlue\">kBlue</a>"},
        {"SYLVA_Ring.html", "<a href=\"SYLVA_geo__Colour.html#kGrey\">geo::kGrey</a>"},
        // One of a scoped enum is named in the enum only.
        {"SYLVA_Ring.html", "<a href=\"SYLVA_Fill.html#kSolid\">Fill::kSolid</a>"},
        {"SYLVA_Ring.html", "#kSolid\">kSolid", false},
        {"SYLVA_geo__Colour.html", "Values:"},
        // A group's page is named by its label, escaped as a page name and in links.
        {"SYLVA_geo__Colour.html", "In group <a href=\"SYLVA_group_shapes.html\">Shapes</a>"},
        // An undocumented namespace has a page that leads to its documented members; a group
        // lists a namespace's member beside it.
        {"SYLVA_geo__Colour.html", "Member of <a href=\"SYLVA_geo.html\">geo</a>"},
        {"SYLVA_geo.html", "<a href=\"SYLVA_geo__Colour.html\">"},
        {"SYLVA_group_shapes.html", "<a href=\"SYLVA_geo__Colour.html\">"},
        {"SYLVA_geo__Colour.html", "<I id=\"kRed\">kRed</I> = 1"},
        {"SYLVA_geo__Colour.html", "<I id=\"kBlue\">kBlue</I> = kRed &lt;&lt; 1"},
        {"SYLVA_geo__Colour.html", "<I id=\"kGrey\">kGrey</I><"},
        {"SYLVA_geo__Box.html", "Template parameters:"},
        {"SYLVA_geo__Box.html", "<I>T</I>"},
        {"SYLVA_geo__Box.html", "what it holds"},
        {"SYLVA_geo__Box.html", "template &lt;class T&gt; class Box"},
        {"SYLVA_geo__Box.html", "T <I id=\"item\">item</I>"},
        {"SYLVA_geo__Box.html", "Parameter:", false},
        // A variable in a member table shows its type.
        {"SYLVA_group_shapes.html",
         "extern const int <a href=\"SYLVA_geo__limit.html\">geo::limit</a>"},
        // Names in a namespace that has no page stand on their group's page.
        {"SYLVA_group_shapes.html", "<a href=\"SYLVA_geo__Shape.html\">geo::Shape</a>"},
        {"SYLVA_group_shapes.html", "<h3 class=\"members\">Types</h3>"},
        {"SYLVA_group_a&b.html", "<title>Authentication &amp; credential \"management\"</title>"},
        {"SYLVA_Ring.html", "<a href=\"SYLVA_group_cred.html\">"},
        // A class member in another group than its class's is listed there too, and says so;
        // one in its class's group is listed through the class only.
        {"SYLVA_group_cred.html",
         "<a href=\"SYLVA_geo__Circle__radius.html\">geo::Circle::radius</a></td>"},
        {"SYLVA_geo__Circle__radius.html",
         "Member of <a href=\"SYLVA_geo__Circle.html\">geo::Circle</a>"},
        {"SYLVA_geo__Circle__radius.html", "In group <a href=\"SYLVA_group_cred.html\">"},
        {"SYLVA_group_shapes.html", "geo::Circle::area</a></td>", false},
        {"Geo.HTML", "<a href=\"SYLVA_group_a%26b.html\">"},
        {"SYLVA_group_twice.html", "First title"},
        // A label defined twice is one group, under its first title, on one page.
        {"SYLVA_group_twice.html", "Second title", false},
        {"SYLVA_group_twice_000.html", "title", false},
        {"Geo.HTML", "<a href=\"Geo_hierarchy.HTML\"><font face=\"Arial\">Class hierarchy"},
        // A group's page shows its title once as a heading, not again as its own group.
        {"SYLVA_group_shapes.html", "Shapes<BR>", false},
        // A class with two bases stands under each; one expanded once; a cycle is shown.
        {"Geo_hierarchy.HTML",
         "<a href=\"SYLVA_geo__Circle.html\">geo::Circle</a>\n<ul>\n"
         "<li><a href=\"SYLVA_Ring.html\">Ring</a></li>"},
        {"Geo_hierarchy.HTML",
         "<li><a href=\"SYLVA_A.html\">A</a>\n<ul>\n<li><a "
         "href=\"SYLVA_B.html\">B</a>\n<ul>\n<li><a "
         "href=\"SYLVA_A.html\">A</a></li>\n</ul></li>\n<li><a "
         "href=\"SYLVA_Ring.html\">Ring</a></li>"},
        // The chain nests up to the limit, then goes on at the top level: every link is there.
        {"Geo_hierarchy.HTML", "<li><a href=\"SYLVA_D63.html\">D63</a></li>\n</ul></li>"},
        {"Geo_hierarchy.HTML",
         "<li><a href=\"SYLVA_D63.html\">D63</a>\n<ul>\n<li><a "
         "href=\"SYLVA_D64.html\">D64</a>"},
        {"Geo_hierarchy.HTML", "<a href=\"SYLVA_D9999.html\">D9999</a>"},
        // Groups of one title are told apart by their labels: each page lists its own items,
        // each item leads to its own group, and both show the title.
        {"SYLVA_group_core_c.html", "<a href=\"SYLVA_cvCreateMat.html\">cvCreateMat</a>"},
        {"SYLVA_group_core_c.html", "SYLVA_cvSmooth.html", false},
        {"SYLVA_group_imgproc_c.html", "<a href=\"SYLVA_cvSmooth.html\">cvSmooth</a>"},
        {"SYLVA_group_imgproc_c.html", "SYLVA_cvCreateMat.html", false},
        {"SYLVA_cvSmooth.html", "In group <a href=\"SYLVA_group_imgproc_c.html\">C API</a>"},
        {"SYLVA_cvSmooth.html", "C API<BR>("},
        {"SYLVA_group_core_c.html", "<title>C API</title>"},
        // A member row's brief links its words as the member's own page does, from the member's
        // scope out, whichever scope's page the row stands on.
        {"SYLVA_geo.html", "Shrinks one, as <a href=\"SYLVA_geo__grow.html\">grow</a> grows it."},
        {"SYLVA_geo.html", "<a href=\"SYLVA_geo__Circle__area.html\">area()</a>"},
        {"SYLVA_geo.html", "<a href=\"SYLVA_geo__Point.html#x\">Point::x</a>"},
        // ... but the name of the scope whose page the row stands on leads nowhere else.
        {"SYLVA_geo__grow.html", "Grows one <a href=\"SYLVA_geo__Shape.html\">Shape</a>."},
        {shape, "<td class=\"brief\">Grows one Shape. </td>"},
    };
    for (const Case& c : cases) {
        std::string page = dir.Read("out/Geo/" + c.file);
        EXPECT_EQ(page.find(c.fragment) != std::string::npos, c.present)
            << c.file << ": " << c.fragment;
    }
    // The index heads each group of one title on its own, before that group's items only.
    const std::string frame = dir.Read("out/Geo/Geo_frameidx.HTML");
    const std::size_t first = frame.find("<B>C API</B>");
    const std::size_t second = frame.find("<B>C API</B>", first + 1);
    ASSERT_NE(second, std::string::npos) << frame;
    EXPECT_EQ(frame.find("<B>C API</B>", second + 1), std::string::npos);
    const std::size_t made = frame.find("cvCreateMat</font>");
    const std::size_t smooths = frame.find("cvSmooth</font>");
    EXPECT_TRUE(first < made && made < second && second < smooths) << frame;
}

// One project writes its tag file, a second reads it with a snippet shaped like the standard
// library's published one: names documented there and not here link to the other site, in text,
// See also and declarations; a name both document links here.
TEST(Run, TagFilesLinkNamesToTheSitesThatDocumentThem) {
    test::ScratchDir dir;
    dir.Write("a/shape.h",
              "namespace geo {\n"
              "/// A shape.\n"
              "class Shape {\n"
              "  public:\n"
              "    /// Draws it.\n"
              "    void draw(int scale) const;\n"
              "};\n"
              "}\n");
    Settings writing = StyleSettings("doxygen");
    writing.Set(SYL_TAG_FILE, dir.File("a.tag"));
    ASSERT_EQ(RunProject(dir.File("a"), "A", dir.File("out"), nullptr, writing), RunResult::kRan);
    const std::string tags = dir.Read("a.tag");
    EXPECT_NE(tags.find("<compound kind=\"class\">\n    <name>geo::Shape</name>\n"
                        "    <filename>SYLVA_geo__Shape.html</filename>"),
              std::string::npos)
        << tags;
    EXPECT_NE(tags.find("<name>draw</name>\n      <anchorfile>SYLVA_geo__Shape__draw.html"
                        "</anchorfile>\n      <anchor></anchor>\n"
                        "      <arglist>(int scale) const</arglist>"),
              std::string::npos)
        << tags;

    dir.Write("std.tag",
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<tagfile>\n"
              "  <compound kind=\"namespace\"><name>std</name><filename></filename>\n"
              "    <class kind=\"class\">std::vector</class>\n  </compound>\n"
              "  <compound kind=\"class\"><name>std::vector</name>\n"
              "    <filename>cpp/container/vector</filename>\n"
              "    <member kind=\"function\"><type>T</type><name>at</name>\n"
              "      <anchorfile>cpp/container/vector/at</anchorfile><anchor></anchor>\n"
              "      <arglist>(T... args)</arglist></member>\n  </compound>\n"
              "  <compound kind=\"class\"><name>Local</name><filename>elsewhere</filename>"
              "</compound>\n</tagfile>\n");
    dir.Write("b/use.h",
              "/// Local helper.\n"
              "struct Local {};\n"
              "/// Draws with geo::Shape::draw(), keeps std::vector, calls Local.\n"
              "/// @see geo::Shape\n"
              "void use(std::vector<int> values, geo::Shape* shape);\n");
    Settings reading = StyleSettings("doxygen");
    reading.Set(SYL_TAG_FILES, dir.File("a.tag") + "=../A|" + dir.File("std.tag") +
                                   "=https://en.cppreference.com/w/");
    MemoryListBox protocol;
    ASSERT_EQ(RunProject(dir.File("b"), "B", dir.File("out"), &protocol, reading), RunResult::kRan);
    const std::string page = dir.Read("out/B/SYLVA_use.html");
    for (const std::string_view link :
         {"<a href=\"../A/SYLVA_geo__Shape__draw.html\">geo::Shape::draw()</a>",
          "<a href=\"https://en.cppreference.com/w/cpp/container/vector\">std::vector</a>",
          "<a href=\"../A/SYLVA_geo__Shape.html\">geo::Shape</a>",
          "<a href=\"SYLVA_Local.html\">Local</a>"}) {
        EXPECT_NE(page.find(link), std::string::npos) << link << "\n" << page;
    }
    // The declaration links too, and the See also entry is known.
    EXPECT_NE(page.find("<a href=\"https://en.cppreference.com/w/cpp/container/vector\">std::vector"
                        "</a>&lt;int&gt; values"),
              std::string::npos)
        << page;
    for (const std::string& line : protocol.Lines()) {
        EXPECT_EQ(line.find("names no documented item"), std::string::npos) << line;
    }
}

TEST(Run, AnUnknownCommentStyleOrAScanPathThatIsNoDirectoryRefusesTheRun) {
    test::ScratchDir dir;
    dir.Write("src/beds.h", kDocumentedHeader);
    MemoryListBox protocol;
    EXPECT_EQ(
        RunProject(dir.File("src"), "Demo", dir.File("out"), &protocol, StyleSettings("javadoc")),
        RunResult::kRefused);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
    bool told = false;
    for (const std::string& line : protocol.Lines()) {
        told = told || line.find("ERROR: Unknown comment style javadoc") != std::string::npos;
    }
    EXPECT_TRUE(told);
    // Neither is a scan path that is no directory: the project would be emptied.
    for (const std::string& scanPath : {dir.File("nowhere"), std::string("/dev/null")}) {
        EXPECT_EQ(RunProject(scanPath, "Demo", dir.File("out"), nullptr, StyleSettings("sylva")),
                  RunResult::kRefused)
            << scanPath;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out"))) << scanPath;
    }
    // Nor is a tag file to read that does not exist: every link it was named for would be lost.
    Settings tagged = StyleSettings("doxygen");
    tagged.Set(SYL_TAG_FILES, dir.File("missing.tag") + "=https://example.org");
    EXPECT_EQ(RunProject(dir.File("src"), "Demo", dir.File("out"), nullptr, tagged),
              RunResult::kRefused);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
    // The default style reads no doxygen comment as a block.
    ASSERT_EQ(RunProject(dir.File("src"), "Demo", dir.File("out"), nullptr, StyleSettings("sylva")),
              RunResult::kRan);
    EXPECT_EQ(FilesIn(dir.File("out/Demo")).size(), 3u);
}

}  // namespace
}  // namespace sylva
