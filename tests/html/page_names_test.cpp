#include "html/page_names.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "html_project.h"

namespace sylva {
namespace {

TEST(PageNames, PagesAreNamedBySafeNamesAndRepeatedNamesAreNumbered) {
    test::HtmlProject html;
    const CSylItem& first = html.Add("CFoo::Bar");
    const CSylItem& second = html.Add("CFoo::Bar");
    struct Case {
        std::string name;
        std::string expected;
    };
    const Case cases[] = {
        {PlainPageFile("a/b\\c:d*e?f\"g<h>i"), "SYLVA_a_b_c_d_e_f_g_h_i.html"},
        // The operators of a class documented in the doxygen style keep pages of their own.
        {PlainPageFile("A::operator*=", CommentStyle::kDoxygen), "SYLVA_A__operator_2A=.html"},
        {PlainPageFile("A::operator/=", CommentStyle::kDoxygen), "SYLVA_A__operator_2F=.html"},
        {PlainPageFile("v<int> a|b?\"\\\x01", CommentStyle::kDoxygen),
         "SYLVA_v_3Cint_3E a_7Cb_3F_22_5C_01.html"},
        {PageFile(first), "SYLVA_CFoo__Bar.html"},
        {PageFile(second), "SYLVA_CFoo__Bar_000.html"},
        {PagePath(html.project, second), html.project.Directory() + "/SYLVA_CFoo__Bar_000.html"},
        {ProjectIndexFile("Demo_A_"), "Demo_A_.HTML"},
        {FrameIndexFile("Demo_A_"), "Demo_A__frameidx.HTML"},
        {FrameSetFile("Demo_A_"), "Demo_A__frame.HTML"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.name, c.expected);
    }
}

TEST(PageNames, NamesTooLongForAFileAreShortenedStablyAndUniquely) {
    test::HtmlProject html;
    const std::string fits(244, 'm');  // "SYLVA_" + 244 bytes + ".html": 255 bytes
    const std::string tooLong(245, 'n');
    const std::string other = std::string(244, 'n') + "x";
    // Two-byte characters at the cut: the kept prefix never ends inside one.
    const std::string wide = "ww" + [] {
        std::string text;
        for (int i = 0; i < 150; ++i) {
            text += "\xC3\xB6";
        }
        return text;
    }();
    const CSylItem& plain = html.Add("// " + tooLong);
    const CSylItem& numbered = html.Add("// " + tooLong);

    EXPECT_EQ(PlainPageFile(fits), "SYLVA_" + fits + ".html");
    for (const std::string& name : {tooLong, other, wide}) {
        const std::string page = PlainPageFile(name);
        EXPECT_LE(page.size(), kMaxFileNameBytes) << name;
        EXPECT_EQ(PlainPageFile(name), page) << "the same in every call";
        EXPECT_TRUE(page.ends_with(".html")) << page;
        EXPECT_EQ(page.substr(page.size() - 5 - 16 - 1, 1), "-") << page;
    }
    EXPECT_EQ(PlainPageFile(tooLong).size(), kMaxFileNameBytes);
    EXPECT_TRUE(PlainPageFile(tooLong).starts_with("SYLVA_" + tooLong.substr(0, 227) + "-"));
    EXPECT_NE(PlainPageFile(tooLong), PlainPageFile(other));
    EXPECT_EQ(PlainPageFile(wide).size(), kMaxFileNameBytes - 1);  // cut before the half character
    EXPECT_EQ(PageFile(plain), PlainPageFile(tooLong));
    EXPECT_EQ(PageFile(numbered).size(), kMaxFileNameBytes);
    EXPECT_TRUE(PageFile(numbered).ends_with("_000.html")) << PageFile(numbered);
    EXPECT_NE(PageFile(numbered), PageFile(plain));
}

TEST(LinkTarget, EscapesOnlyNonAsciiBytesAndAmpersands) {
    struct Case {
        std::string_view name;
        std::string_view expected;
    };
    const Case cases[] = {
        {"SYLVA_CFoo__Bar.html", "SYLVA_CFoo__Bar.html"},
        {"../SYLVA_MAIN_INDEX.HTML", "../SYLVA_MAIN_INDEX.HTML"},
        {"SYLVA_Gr\xC3\xB6\xC3\x9F"
         "e.html",
         "SYLVA_Gr%C3%B6%C3%9Fe.html"},  // UTF-8
        {"SYLVA_Gr\xF6\xDF"
         "e.html",
         "SYLVA_Gr%F6%DFe.html"},  // Windows-1252
        {"SYLVA_a&copy.html", "SYLVA_a%26copy.html"},
        {"SYLVA_two words.html", "SYLVA_two words.html"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinkTarget(c.name), c.expected) << c.name;
    }
}

// A made project as "<directory> <output path> <index page> <frame index page> <frame set
// page>", or why it was refused.
std::string Describe(const std::variant<Project, ProjectRefusal>& made) {
    if (const ProjectRefusal* refusal = std::get_if<ProjectRefusal>(&made)) {
        return *refusal == ProjectRefusal::kMasterIndexNameWithPath ? "refused: index name"
                                                                    : "refused: directory name";
    }
    const Project& project = std::get<Project>(made);
    return project.directoryName + " " + project.outputPath + " " + project.indexPage + " " +
           project.frameIndexPage + " " + project.framePage;
}

TEST(MakeProject, DerivesThePathsOrRefusesNamesThatWouldWriteOutsideTheOutputDirectory) {
    struct Case {
        const char* name;
        const char* outputPath;
        const char* masterIndexName;
        std::string expected;
    };
    const Case cases[] = {
        {"Demo:A?", "/out", "INDEX.HTML",
         "Demo_A_ /out /out/Demo_A_/Demo_A_.HTML /out/Demo_A_/Demo_A__frameidx.HTML "
         "/out/Demo_A_/Demo_A__frame.HTML"},
        {"Demo", "/out//", "INDEX.HTML",
         "Demo /out /out/Demo/Demo.HTML /out/Demo/Demo_frameidx.HTML /out/Demo/Demo_frame.HTML"},
        {"Demo", "/", "INDEX.HTML",
         "Demo  /Demo/Demo.HTML /Demo/Demo_frameidx.HTML /Demo/Demo_frame.HTML"},
        {"../up", "/out", "INDEX.HTML",
         ".._up /out /out/.._up/.._up.HTML /out/.._up/.._up_frameidx.HTML "
         "/out/.._up/.._up_frame.HTML"},
        {"...", "/out", "INDEX.HTML",
         "... /out /out/.../....HTML /out/.../..._frameidx.HTML /out/.../..._frame.HTML"},
        {"Demo", "/out", "sub/INDEX.HTML", "refused: index name"},
        {"Demo", "/out", "../INDEX.HTML", "refused: index name"},
        {"", "/out", "INDEX.HTML", "refused: directory name"},
        {".", "/out", "INDEX.HTML", "refused: directory name"},
        {"..", "/out", "INDEX.HTML", "refused: directory name"},
        // The index name is checked first.
        {"..", "/out", "/INDEX.HTML", "refused: index name"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(MakeProject(c.name, "d", c.outputPath, c.masterIndexName)), c.expected)
            << "name \"" << c.name << "\", output path " << c.outputPath << ", index name "
            << c.masterIndexName;
    }
    // "<dir>_frameidx.HTML", the longest of the project's own pages, must fit a file name.
    EXPECT_NE(Describe(MakeProject(std::string(241, 'p'), "", "/out", "I")),
              "refused: directory name");
    EXPECT_EQ(Describe(MakeProject(std::string(242, 'p'), "", "/out", "I")),
              "refused: directory name");
}

}  // namespace
}  // namespace sylva
