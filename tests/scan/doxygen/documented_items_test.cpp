// Items of the doxygen style across the files of a scan: a declaration documented where it is
// declared and again where it is defined, texts copied from other items, groups defined twice,
// the images comments show, and Markdown files as pages. Each case is a small tree written for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "scan/doxygen/reader.h"
#include "scan/rich_text.h"
#include "scan/scan_fixture.h"
#include "test_support/recording_diagnostics.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

struct Scan {
    // "name [group]: description | rows", in list order; a titled group as "[label: title]"
    Strings items;
    Strings warnings;   // "file:line: text", the scan path left out
    Strings images;     // "copy name"
    Strings links;      // "shown text -> the listed name its reference leads to, or ?"
    Strings mainPages;  // the names of the main pages
    Strings shown;      // the files besides the sources the pages show, by path in the tree
    Strings unlisted;   // the items a batch run leaves out unless asked (not public)
    Strings uncounted;  // the declarations the coverage counts as undocumented
};

// The references of the rich text `flow`, as Scan::links shows them.
void AppendLinks(const ItemList& items, std::string_view flow, Strings& links) {
    for (std::size_t open = flow.find(rich::kReferenceOpen); open != std::string_view::npos;
         open = flow.find(rich::kReferenceOpen, open + 1)) {
        const std::size_t text = flow.find(rich::kReferenceText, open);
        const std::size_t close = flow.find(rich::kReferenceClose, open);
        const std::string name(flow.substr(open + 1, text - open - 1));
        std::optional<std::string> target =
            items.Contains(name) ? std::optional(name) : items.LabelledName(name);
        links.push_back(std::string(flow.substr(text + 1, close - text - 1)) + " -> " +
                        target.value_or("?"));
    }
}

// `mainPage`: the file, in the tree, that the settings make the main page; `places`: settings
// that name one directory of the tree each, `values` other settings.
Scan ScanTree(const Files& files, const std::string& predefined = {},
              const std::string& mainPage = {}, const std::map<SettingId, std::string>& places = {},
              const std::map<SettingId, std::string>& values = {}) {
    test::ScratchDir dir;
    for (const auto& [path, content] : files) {
        dir.Write(path, content);
    }
    dir.Write("outside.png", "png");
    test::Scanned scanned;
    scanned.settings.Set(SYL_PREDEFINED, predefined);
    scanned.settings.Set(SYL_MAIN_PAGE, mainPage.empty() ? mainPage : dir.File(mainPage));
    for (const auto& [id, place] : places) {
        scanned.settings.Set(id, dir.File(place));
    }
    for (const auto& [id, value] : values) {
        scanned.settings.Set(id, value);
    }
    test::RecordingDiagnostics diagnostics;
    Reporter reporter{&scanned.protocol, nullptr, &diagnostics};
    std::string root = dir.File("src");
    ScanJob job{scanned.settings, scanned.items, reporter, root,
                ".H|.C",          "/out",        "Demo",   CommentStyle::kDoxygen};
    (void)ScanPath(job, root, true);
    Scan scan;
    for (const ItemList::Slot& item : scanned.items) {
        if (!item) {
            continue;
        }
        ItemText text = DeriveItemText(*item, scanned.settings, scanned.options);
        std::string line = item->name + " [" + item->group +
                           (item->groupTitle.empty() ? "" : ": " + item->groupTitle) + "]:";
        if (!predefined.empty()) {
            line += " {" + text.declaration + "}";
        }
        for (const std::string& description : text.sections[kSectionDescription]) {
            line += " " + rich::InlineText(description);
            AppendLinks(scanned.items, description, scan.links);
        }
        if (item->isPublic == 0) {
            scan.unlisted.push_back(item->name);
        }
        if (item->kind == DoxygenKind::kMainPage) {
            scan.mainPages.push_back(item->name);
        }
        for (const ParameterRow& row : text.parameterRows) {
            line += " | " + row.name + " " + row.comment;
        }
        for (const std::string& returned : text.sections[kSectionReturn]) {
            line += " / " + rich::InlineText(returned);
        }
        for (const std::string& name : text.sections[kSectionSeeAlso]) {
            line += " ~ " + name;
        }
        scan.items.push_back(line);
    }
    for (const std::string& warning : diagnostics.warnings) {
        scan.warnings.push_back(warning.substr(warning.find("src/") + 4));
    }
    for (const auto& image : scanned.items.Images()) {
        scan.images.push_back(image.second);
    }
    const std::string canonicalRoot = std::filesystem::canonical(dir.path()).string();
    for (const std::string& file : scanned.items.ShownFiles()) {
        scan.shown.push_back(file.substr(canonicalRoot.size() + 1));
    }
    for (const ItemList::CountedDeclaration& declaration : scanned.items.Declarations()) {
        if (!declaration.seen.documented) {
            scan.uncounted.push_back(declaration.seen.name);
        }
    }
    return scan;
}

TEST(DocumentedItems, ADeclarationDocumentedTwiceIsOneItemWithBothTexts) {
    Scan scan = ScanTree({
        {"src/pond.h",
         "/** Fills a pond. @param depth how deep */\nint pond_fill(int depth);\n"
         "/** Drains by a count. */\nint pond_drain(int count);\n"
         "/** Drains by a name. */\nint pond_drain(const char *name);\n"
         "/** A pond. */\nstruct pond;\n"},
        {"src/pond.c",
         "/** At its definition: checks the depth first.\n @param d the depth again */\n"
         "int pond_fill(int d) { return d; }\n"
         "/** The pond's parts. */\nstruct pond {\n  int depth; /**< how deep */\n};\n"},
    });
    EXPECT_EQ(scan.items,
              (Strings{"pond [Common]: The pond's parts. A pond. | depth how deep",
                       "pond_drain [Common]: Drains by a count.",
                       "pond_drain [Common]: Drains by a name.",
                       "pond_fill [Common]: At its definition: checks the depth first. Fills a "
                       "pond. | d the depth again | depth how deep"}));
    EXPECT_TRUE(scan.warnings.empty()) << ::testing::PrintToString(scan.warnings);

    // A function template beside a function of the same parameters is an overload of its own; a
    // member of a class template defined outside it is still one entity with its declaration.
    Scan templates = ScanTree({
        {"src/lane.h",
         "namespace pond {\n"
         "/** A lane. */\n"
         "template <class T> class Lane {\n"
         "  public:\n"
         "    /** Reads as bytes. */\n"
         "    unsigned char* at(int i);\n"
         "    /** Reads as any type. */\n"
         "    template <typename U> U* at(int i);\n"
         "    /** Fills. */\n"
         "    void fill(int v);\n"
         "};\n"
         "/** Fills, at its definition. */\n"
         "template <class T> void Lane<T>::fill(int v) {}\n"
         "}\n"},
    });
    EXPECT_EQ(templates.items,
              (Strings{"pond [Common]:", "pond::Lane [Common]: A lane.",
                       "pond::Lane::at [Common]: Reads as bytes.",
                       "pond::Lane::at [Common]: Reads as any type.",
                       "pond::Lane::fill [Common]: Fills. Fills, at its definition."}));
}

TEST(DocumentedItems, SpecializationsStayApartRelatedFunctionsAndBasesStandOnTheirPages) {
    Scan scan = ScanTree({
        {"src/lamp.h",
         "namespace ns {\n/** A lamp. @ingroup lights */\ntemplate <class T> class Lamp {};\n"
         "/** A lamp of ints. @extends Lamp */\ntemplate <> class Lamp<int> {};\n}\n"
         "/** Compares lamps. @relates ns::Lamp */\nbool same(int a, int b);\n"
         "/** Nowhere. @relates Nothing */\nvoid lost(void);\n"
         "/** Itself. @memberof self */\nvoid self(void);\n"},
    });
    // A function related to no documented class, or to itself, keeps its own item; the warning
    // fits whichever command named the class.
    EXPECT_EQ(scan.items, (Strings{"lost [Common]: Nowhere.",
                                   "ns [Common]:", "ns::Lamp [Common]: A lamp of ints. ~ Lamp",
                                   "self [Common]: Itself.", "ns::Lamp [lights]: A lamp. ~ same",
                                   "same [lights]: Compares lamps."}));
    EXPECT_EQ(scan.warnings,
              (Strings{"lamp.h:9: \"Nothing\" names no documented class; the function stands "
                       "on its own page only",
                       "lamp.h:11: \"self\" names no documented class; the function stands on "
                       "its own page only"}));
}

TEST(DocumentedItems, CopiedTextsComeFromTheItemsTheyName) {
    Scan scan = ScanTree({
        {"src/copy.h",
         "/** Brief of a.\n\n Details of a.\n @return a's result\n @sa d */\nint a(int x);\n"
         "/** @copydoc a */\nint b(int x);\n"
         "/** @copybrief a\n\n Own details. */\nint c(void);\n"
         "/** @copydetails a */\nint d(void);\n"
         "/** Loops: @copydoc f */\nint e(void);\n"
         "/** @copydoc e */\nint f(void);\n"
         "/** @copydoc nowhere */\nint g(void);\n"
         "/** Takes a number. */\nint h(int n);\n"
         "/** @overload */\nint h(long n);\n"
         "/** @copydoc h(int) */\nint i(void);\n"
         // An overload says so, behind the text it copies; a member function says so too.
         "/** @overload */\nint lone(long n);\n"
         "/** A pump. */\nstruct pump {\n  /** Starts it. */\n  void start(int n);\n"
         "  /** @overload */\n  void start(void);\n};\n"},
    });
    EXPECT_EQ(
        scan.items,
        (Strings{"a [Common]: Brief of a. Details of a. / a's result ~ d",
                 "b [Common]: Brief of a. Details of a. / a's result ~ d",
                 "c [Common]: Brief of a. Own details.", "d [Common]: Details of a.",
                 "e [Common]: Loops:", "f [Common]:", "g [Common]:", "h [Common]: Takes a number.",
                 "h [Common]: Takes a number. This is an overloaded function, provided for "
                 "convenience. It differs from the above function only in what argument(s) it "
                 "accepts.",
                 "i [Common]: Takes a number.",
                 "lone [Common]: This is an overloaded function, provided for convenience. It "
                 "differs from the above function only in what argument(s) it accepts.",
                 "pump [Common]: A pump.", "pump::start [Common]: Starts it.",
                 "pump::start [Common]: Starts it. This is an overloaded member function, "
                 "provided for convenience. It differs from the above function only in what "
                 "argument(s) it accepts."}));
    EXPECT_EQ(scan.warnings,
              (Strings{"copy.h:17: \"@copydoc e\" would copy this item's own text back into it; "
                       "the copy is left out",
                       "copy.h:19: \"@copydoc nowhere\" names no documented item; nothing is "
                       "copied",
                       "copy.h:27: \"@overload\" stands at the only function of its name; "
                       "nothing is copied"}));
}

TEST(DocumentedItems, UndocumentedOverridesTakeTheNearestBaseTextAndProtectedMembersAreListed) {
    Scan scan = ScanTree({
        {"src/shape.h",
         "namespace geo {\n/** A shape. */\nclass Shape {\n public:\n"
         "  /** Draws it. @param scale how large */\n  virtual void draw(int scale) const;\n"
         "  /** Its area. */\n  virtual double area();\n  /** Not virtual. */\n  void name();\n"
         "};\n}\n"},
        // In another file, through a base named in scope, nearest first; what overrides
        // nothing documented (another parameter list, a member that is not virtual) is no item.
        {"src/round.h",
         "namespace geo {\n/** Round. */\nclass Round : public Shape {\n public:\n"
         "  /** Round area. */\n  double area() override;\n  void draw(long scale) const;\n"
         "  void name();\n protected:\n  void draw(int scale) const override;\n};\n"
         "/** A circle. */\nclass Circle final : public geo::Round {\n public:\n"
         "  double area() final;\n  void draw(int) const; ///< Own words.\n"
         " private:\n  double area(int);\n  /** Secret. */\n  double secret();\n};\n"
         "class Hidden : public Shape {\n public:\n  double area() override;\n};\n}\n"},
        // A using-declaration takes the text of the nearest documented member of its name;
        // one that names nothing documented is no item.
        {"src/square.h",
         "namespace geo {\n/** A square. */\nclass Square : public Round {\n public:\n"
         "  using Round::area;\n  using Shape::draw;\n  using Round::nothing;\n"
         " protected:\n  using Shape::name;\n};\n}\n"},
        // Classes that are their own bases end the search.
        {"src/loop.h",
         "/** A. */\nstruct A : B {\n  virtual void f();\n};\n"
         "/** B. */\nstruct B : A {\n  virtual void f();\n};\n"},
    });
    EXPECT_EQ(
        scan.items,
        (Strings{"A [Common]: A.", "B [Common]: B.", "geo [Common]:",
                 "geo::Circle [Common]: A circle.", "geo::Circle::area [Common]: Round area.",
                 "geo::Circle::draw [Common]: Own words.", "geo::Circle::secret [Common]: Secret.",
                 "geo::Round [Common]: Round.", "geo::Round::area [Common]: Round area.",
                 "geo::Round::draw [Common]: Draws it. | scale how large",
                 "geo::Shape [Common]: A shape.", "geo::Shape::area [Common]: Its area.",
                 "geo::Shape::draw [Common]: Draws it. | scale how large",
                 "geo::Shape::name [Common]: Not virtual.", "geo::Square [Common]: A square.",
                 "geo::Square::area [Common]: Round area.",
                 "geo::Square::draw [Common]: Draws it. | scale how large",
                 "geo::Square::name [Common]: Not virtual."}));
    // A protected member is shown as Doxygen shows it; a private one only when asked.
    EXPECT_EQ(scan.unlisted, (Strings{"geo::Circle::secret"}));
    EXPECT_TRUE(scan.warnings.empty()) << ::testing::PrintToString(scan.warnings);
    // An override shown with its base member's text counts as documented; one that takes no
    // text, or stands in a class without a page, does not.
    std::sort(scan.uncounted.begin(), scan.uncounted.end());
    EXPECT_EQ(scan.uncounted, (Strings{"A::f", "B::f", "geo::Hidden", "geo::Hidden::area",
                                       "geo::Round::draw", "geo::Round::name"}));
}

TEST(DocumentedItems, AGroupDefinedAgainIsWarnedOfAndStaysOneGroupUnderItsFirstTitle) {
    Scan scan = ScanTree({
        {"src/commit.h",
         "/** @defgroup git_commit Commit routines\n @{ */\n/** Commits. */\nint commit(void);\n"
         "/** @} */\n"},
        {"src/worktree.h",
         "/** @defgroup git_commit Worktree routines\n @{ */\n/** Adds a tree. */\n"
         "int worktree_add(void);\n/** @} */\n"
         "/** @defgroup git_commit Commit routines */\n"},
    });
    EXPECT_EQ(scan.items, (Strings{"Commit routines [git_commit: Commit routines]:",
                                   "commit [git_commit: Commit routines]: Commits.",
                                   "worktree_add [git_commit: Commit routines]: Adds a tree."}));
    ASSERT_EQ(scan.warnings.size(), 2u);
    for (std::string_view warning : {"worktree.h:1: group \"git_commit\" is defined again with "
                                     "another title (first at ",
                                     "commit.h:1 as \"Commit routines\"); it is one group, under "
                                     "that title"}) {
        EXPECT_NE(scan.warnings[0].find(warning), std::string::npos) << scan.warnings[0];
    }
    EXPECT_NE(scan.warnings[1].find("worktree.h:6: group \"git_commit\" is defined again (first "
                                    "at "),
              std::string::npos)
        << scan.warnings[1];
}

TEST(DocumentedItems, AGroupsTextsFromEveryFileJoinInTheOrderRead) {
    // Read in the order of the names: the first text of "core" comes before its definition.
    Scan scan = ScanTree({
        {"src/a_use.h",
         "/** @addtogroup core\n * Used first. */\n/** @ingroup core\n * Sums. */\n"
         "int sum(void);\n"},
        {"src/b_core.h", "/** @defgroup core Core\n * Core things.\n * @see sum\n */\n"},
        {"src/c_mat.h",
         "/** @addtogroup core\n * @{\n *\n * Matrices.\n */\n/** Inverts. */\nint inv(void);\n"
         "/** @} */\n"},
        {"src/d_vec.h",
         "/** @addtogroup core Vectors\n * Vectors too.\n * @{ */\n/** Adds. */\nint add(void);\n"
         "/** @} */\n/** @addtogroup extra Extras\n * Extra text. */\n"
         "/** @weakgroup extra\n * More text. */\n"},
    });
    EXPECT_EQ(
        scan.items,
        (Strings{"Core [core: Core]: Used first. Core things. Matrices. Vectors too. ~ sum",
                 "add [core: Core]: Adds.", "inv [core: Core]: Inverts.", "sum [core: Core]: Sums.",
                 "Extras [extra: Extras]: Extra text. More text."}));
    EXPECT_TRUE(scan.warnings.empty()) << ::testing::PrintToString(scan.warnings);
}

TEST(DocumentedItems, PredefinedMacrosAreGoneFromDeclarationsAndNamesStay) {
    Scan scan = ScanTree({{"src/api.h",
                           "/** Adds. */\nCV_EXPORTS int add(int a, int b) "
                           "__attribute__((nonnull));\n"
                           "/** A box. */\nclass CV_EXPORTS Box {};\n"}},
                         "CV_EXPORTS=|__attribute__(x)=");
    EXPECT_EQ(scan.items, (Strings{"Box [Common]: {class Box { ... };} A box.",
                                   "add [Common]: {int add(int a, int b);} Adds."}));
    EXPECT_TRUE(scan.warnings.empty());
}

TEST(DocumentedItems, ImagesBesideTheSourceAreCopiedAndOthersAreWarnedOf) {
    Scan scan = ScanTree({
        {"src/pic.png", "png"},
        {"src/sub/pic.png", "another png"},
        {"src/img.h",
         "/** Shows ![the pond](pic.png), ![web](https://example.org/p.png),\n"
         " ![gone](missing.png) and ![out](../outside.png).\n"
         " \\image html pic.png \"A caption\" */\nint pond_show(void);\n"},
        {"src/sub/img.h", "/** The other ![pic](pic.png). */\nint other_show(void);\n"},
    });
    // Each copy is named after its own path alone, so two of one name never share a copy and a
    // scan of some of the files names each copy as a scan of all of them does.
    ASSERT_EQ(scan.images.size(), 2u);
    EXPECT_NE(scan.images[0], scan.images[1]);
    for (const std::string& image : scan.images) {
        EXPECT_TRUE(image.starts_with("pic-") && image.ends_with(".png") &&
                    image.size() == std::string("pic-.png").size() + 16)
            << image;
    }
    Scan alone =
        ScanTree({{"src/sub/pic.png", "another png"},
                  {"src/sub/img.h", "/** The other ![pic](pic.png). */\nint other(void);\n"}});
    EXPECT_EQ(alone.images, (Strings{scan.images[1]}));
    EXPECT_EQ(
        scan.warnings,
        (Strings{"img.h:2: image \"missing.png\" is not found beside the source, in the inputs "
                 "or in the image path; its alt text stands in its place",
                 "img.h:2: image \"../outside.png\" lies outside the inputs and the image path; "
                 "it is not copied, its alt text stands in its place"}));
}

TEST(DocumentedItems, ImagePathAndExamplePathShowTheirFilesAndNothingOutsideThem) {
    const Files tree = {
        {"art/logo.png", "logo"},
        {"examples/pond.c", "int main(void) { return 0; }\n"},
        {"examples/deep/er/tide.c", "int tide;\n"},
        {"examples/deep/notes.txt", "notes\n"},
        // Longer than is shown: cut at a line end, with a warning.
        {"examples/huge.c", std::string(kExampleMostBytes + 64, 'x')},
        {"secret.c", "secret\n"},
        {"src/show.h",
         "/** Shows ![logo](logo.png) and ![out](/etc/passwd).\n"
         "    @include pond.c\n"
         "    @include ../secret.c\n"
         "    @include nothere.c\n"
         "    @include tide.c\n"
         "    @include notes.txt\n"
         "    @include huge.c */\n"
         "int pond_show(void);\n"},
    };
    const std::map<SettingId, std::string> places = {{SYL_IMAGE_PATH, "art"},
                                                     {SYL_EXAMPLE_PATH, "examples"}};
    Scan scan = ScanTree(tree, {}, {}, places);
    ASSERT_EQ(scan.images.size(), 1u);
    EXPECT_TRUE(scan.images[0].starts_with("logo-")) << scan.images[0];
    EXPECT_EQ(scan.shown, (Strings{"art/logo.png", "examples/pond.c", "examples/huge.c"}));
    const std::string missing = "is not found in the example path; nothing is shown";
    // The comment's commands warn before its images, which its Markdown shows.
    EXPECT_EQ(scan.warnings,
              (Strings{
                  "show.h:3: example \"../secret.c\" lies outside the example path; it is "
                  "not read, nothing is shown",
                  "show.h:4: example \"nothere.c\" " + missing,
                  "show.h:5: example \"tide.c\" " + missing,
                  "show.h:6: example \"notes.txt\" " + missing,
                  "show.h:7: example \"huge.c\" is larger than 4194304 bytes; only its first "
                  "lines are shown",
                  "show.h:1: image \"/etc/passwd\" lies outside the inputs and the image "
                  "path; it is not copied, its alt text stands in its place",
              }));

    // Searched below, an example is found by its path's end when its name passes the patterns.
    Scan below = ScanTree(tree, {}, {}, places,
                          {{SYL_EXAMPLE_RECURSIVE, "YES"}, {SYL_EXAMPLE_PATTERNS, "*.c|*.h"}});
    EXPECT_EQ(below.shown, (Strings{"art/logo.png", "examples/pond.c", "examples/deep/er/tide.c",
                                    "examples/huge.c"}));
    ASSERT_EQ(below.warnings.size(), 5u);
    EXPECT_EQ(below.warnings[2], "show.h:6: example \"notes.txt\" " + missing);
}

TEST(DocumentedItems, MarkdownFilesArePagesLinkedToEachOtherAndToDocumentedNames) {
    const Files tree = {
        {"src/README.md",
         "\n# The pond {#pond}\n\nRead [the guide](docs/guide.md#start), [care](Care), "
         "[away](../outside.png)\nand [web](https://example.org/x.md).\n\n"
         "```\nint depth = 2;\n```\n\n![out](../outside.png) ![gone](gone.png)\n"},
        {"src/docs/guide.md",
         "Guide\n=====\n\nBack [home](../README.md); @ref md_nowhere. @ref pond\n"},
        {"src/docs/notes.markdown", "No heading: @ref guide_label.\n"},
        {"src/docs/labelled.md", "@page guide_label Labelled\nText.\n"},
        {"src/care.h", "/** Cares. */\nvoid Care(void);\n"},
    };
    Scan scan = ScanTree(tree);
    Strings heads;
    for (const std::string& item : scan.items) {
        heads.push_back(item.substr(0, item.find(':')));
    }
    EXPECT_EQ(heads, (Strings{"Care [Common]", "Guide [Pages]", "Labelled [Pages]",
                              "The pond [Pages]", "notes.markdown [Pages]"}));
    EXPECT_EQ(scan.items[2], "Labelled [Pages]: Text.");
    EXPECT_EQ(scan.links, (Strings{"home -> The pond", "md_nowhere -> ?", "pond -> The pond",
                                   "the guide -> Guide", "care -> Care", "web -> ?",
                                   "guide_label -> Labelled"}));
    EXPECT_EQ(
        scan.warnings,
        (Strings{
            "README.md:4: link \"../outside.png\" leads to a file outside the inputs; "
            "it is not followed, its text stands in its place",
            "README.md:11: image \"../outside.png\" lies outside the inputs and the image path; "
            "it is not copied, its alt text stands in its place",
            "README.md:11: image \"gone.png\" is not found beside the source, in the inputs "
            "or in the image path; its alt text stands in its place"}));
    EXPECT_TRUE(scan.mainPages.empty());

    // The settings make one file the main page; naming a file that is no page read warns.
    EXPECT_EQ(ScanTree(tree, {}, "src/docs/guide.md").mainPages, (Strings{"Guide"}));
    Scan unread = ScanTree(tree, {}, "src/care.h");
    EXPECT_TRUE(unread.mainPages.empty());
    ASSERT_EQ(unread.warnings.size(), 4u);
    EXPECT_NE(unread.warnings.back().find("the main page file is not a Markdown file"),
              std::string::npos);
}

}  // namespace
}  // namespace sylva
