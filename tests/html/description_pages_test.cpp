#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "html_project.h"
#include "support/zt_system.h"
#include "test_support/file_size_limit.h"

namespace sylva {
namespace {

using test::HtmlProject;

void SetLines(CSylItem& item, SectionKind kind, std::vector<std::string> lines) {
    item.Details().sections[kind].RemoveAll();
    for (std::string& line : lines) {
        item.Details().sections[kind].Add(std::move(line));
    }
}

// The part of a page between the end of its head and the start of its end.
std::string Body(const std::string& page) {
    std::size_t begin = page.find("<HR>\n\n");
    std::size_t end = page.find("<hr>\n<p align");
    if (begin == std::string::npos || end == std::string::npos) {
        return "(no body in: " + page + ")";
    }
    return page.substr(begin + 6, end - begin - 6);
}

TEST(DescriptionPages, APageHasHeadSyntaxBlockSectionsAndEnd) {
    HtmlProject project;
    CSylItem& open = project.Add("Open", "Files");
    open.Details().typeLabel = "Files<BR>(Public)";
    open.hasSyntax = 1;
    open.Details().declaration = "int Open(const char* path,<br>int mode)";
    SetLines(open, kSectionDescription, {"Opens a <b>file</b> & more.", "  Second line."});
    SetLines(open, kSectionReturn, {"0 on success"});
    SetLines(open, kSectionGroup, {"Files"});
    project.Sort();

    EXPECT_EQ(project.generator.WriteDescriptionPages(), 1);
    EXPECT_EQ(project.Read("SYLVA_Open.html"),
              R"(<html>
<head>
<title>Open</title>
</head>
<body>

<table border="0" width="100%">
  <tr><td width="60%" valign="top" align="left"><big><font face="Arial"><strong><big>Open</big></strong></font></big></td><td valign="top" align="right" width="40%"><font face="Arial">Files<BR>(Public)</font></td></tr>
</table>
<HR>


<p>&nbsp;<BR><strong><big><font face="Arial">Syntax:</font></big></strong>
<pre><b><font face="Lucida Console">
int Open(const char* path, int mode)
</font></b></pre>

<p>&nbsp;<BR><strong><big><font face="Arial">Description</font></big></strong>
<P><font face="Lucida Console" size=-1>
Opens a <b>file</b> & more.<BR>
  Second line.<BR>
</font></P>

<p>&nbsp;<BR><strong><big><font face="Arial">Return:</font></big></strong>
<P><font face="Lucida Console" size=-1>
0 on success<BR>
</font></P>
<hr>
<p align="right"><small><font face="Arial">File created: 2023-11-14 22:13:20 by Sylva 1.0.0</font></small></p>
</body>
</html>
)");
    EXPECT_EQ(
        project.ProtocolLines(),
        std::vector<std::string>{"    Open to HTML SYLVA_Open.html (type: Files<BR>(Public))"});
    EXPECT_EQ(project.progress.statuses,
              std::vector<std::string>{"Generate html description file Open..."});
    EXPECT_EQ(project.progress.positions, std::vector<int>{0});
    EXPECT_EQ(project.generator.progressPos, 1);
}

// "Heading=first line" for every section of a page, in page order.
std::vector<std::string> SectionsOf(const std::string& page) {
    static const std::regex kSection(
        "<font face=\"Arial\">([^<]*)</font></big></strong>\n"
        "<P><font face=\"Lucida Console\" size=-1>\n([^\n]*)\n");
    std::vector<std::string> sections;
    for (std::sregex_iterator it(page.begin(), page.end(), kSection), end; it != end; ++it) {
        sections.push_back((*it)[1].str() + "=" + (*it)[2].str());
    }
    return sections;
}

TEST(DescriptionPages, SectionsFollowTheirSwitchesHeadingsAndTheFixedOrder) {
    HtmlProject project;
    CSylItem& item = project.Add("Item");
    const char* lines[kSectionCount] = {"param",   "content", "group",   "desc",   "attention",
                                        "remark",  "return",  "example", "author", "copyright",
                                        "version", "history", "request", "source", "see",
                                        "type",    "throws"};
    for (int kind = 0; kind < kSectionCount; ++kind) {
        SetLines(item, static_cast<SectionKind>(kind), {lines[kind]});
    }
    project.Sort();

    struct Case {
        const char* name;
        void (*configure)(RunOptions&);
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"defaults: Type and Source are off",
         [](RunOptions&) {},
         {"Content:=content<BR>", "Description=desc<BR>", "Parameter:=param<BR>",
          "Attention:=attention<BR>", "Remarks:=remark<BR>", "Return:=return<BR>",
          "Throws:=throws<BR>", "Examples:=example<BR>", "Author:=author<BR>",
          "Copyright:=copyright<BR>", "Version:=version<BR>", "History:=history<BR>",
          "Request:=request<BR>", "See also:=see<BR>"}},
        {"every switch on: the group never shows",
         [](RunOptions& o) { o.sectionType = o.sectionSource = 1; },
         {"Content:=content<BR>", "Description=desc<BR>", "Parameter:=param<BR>",
          "Attention:=attention<BR>", "Remarks:=remark<BR>", "Return:=return<BR>",
          "Throws:=throws<BR>", "Doc type:=type<BR>", "Examples:=example<BR>", "Author:=author<BR>",
          "Copyright:=copyright<BR>", "Version:=version<BR>", "History:=history<BR>",
          "Request:=request<BR>", "Source:=source<BR>", "See also:=see<BR>"}},
        {"switched off although they have lines",
         [](RunOptions& o) {
             o.sectionContent = o.sectionDescription = o.sectionParameter = o.sectionAttention =
                 o.sectionRemark = o.sectionReturn = o.sectionThrows = o.sectionExamples = 0;
             o.sectionAuthor = o.sectionCopyright = o.sectionHistory = o.sectionSeeAlso = 0;
         },
         {"Version:=version<BR>", "Request:=request<BR>"}},
    };
    for (const Case& c : cases) {
        project.generator.options = RunOptions();
        c.configure(project.generator.options);
        ASSERT_EQ(project.generator.WriteDescriptionPages(), 1);
        EXPECT_EQ(SectionsOf(project.Read("SYLVA_Item.html")), c.expected) << c.name;
    }
}

TEST(DescriptionPages, AnItemWithoutSectionsHasHeadSyntaxAndEndOnly) {
    HtmlProject project;
    CSylItem& withSyntax = project.Add("WithSyntax");
    withSyntax.hasSyntax = 1;
    withSyntax.Details().declaration = "void WithSyntax()";
    project.Add("Plain").Details().declaration = "#define PLAIN 1";
    project.Sort();
    project.generator.WriteDescriptionPages();

    std::string withSyntaxPage = project.Read("SYLVA_WithSyntax.html");
    EXPECT_EQ(Body(withSyntaxPage),
              "\n<p>&nbsp;<BR><strong><big><font face=\"Arial\">Syntax:</font></big></strong>\n"
              "<pre><b><font face=\"Lucida Console\">\nvoid WithSyntax()\n</font></b></pre>\n");
    EXPECT_EQ(Body(project.Read("SYLVA_Plain.html")), "");
}

TEST(DescriptionPages, LineBreaksAndPreformattedBlocks) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int hasParamTable;
        std::string expected;  // the lines as written, between the text start and end
    };
    const std::string pre = "<font face=\"Lucida Console\" size=3>";
    const Case cases[] = {
        {"ordinary lines get a line break", {"one", "", "  two"}, 0, "one<BR>\n<BR>\n  two<BR>\n"},
        {"a parameter table gets none",
         {"<table>", "  <tr><td>a</td></tr>\n", "</table>"},
         1,
         "<table>\n  <tr><td>a</td></tr>\n\n</table>\n"},
        {"upper-case PRE starts the block, the closing line gets the font end and a break",
         {"before", "<PRE>", "  code();", "</pre>", "after"},
         0,
         "before<BR>\n" + pre + "<PRE>\n  code();\n</font></pre><BR>\nafter<BR>\n"},
        {"a line with both tags starts the block and does not end it",
         {"<pre>x</pre>", "inside", "end </PRE> here", "out"},
         0,
         pre + "<pre>x</pre>\ninside\n</font>end </PRE> here<BR>\nout<BR>\n"},
        {"a second <pre> inside a block writes the font again",
         {"<pre>", "<pre>", "</pre>"},
         0,
         pre + "<pre>\n" + pre + "<pre>\n</font></pre><BR>\n"},
        {"a block left open is not closed", {"<pre>", "last"}, 0, pre + "<pre>\nlast\n"},
        {"in a parameter table the closing line gets no break",
         {"<pre>", "</pre>"},
         1,
         pre + "<pre>\n</font></pre>\n"},
    };
    for (const Case& c : cases) {
        HtmlProject project;
        CSylItem& item = project.Add("Item");
        item.Details().hasParamTable = c.hasParamTable;
        SetLines(item, kSectionParameter, c.lines);
        project.Sort();
        project.generator.WriteDescriptionPages();
        std::string expected =
            "\n<p>&nbsp;<BR><strong><big><font face=\"Arial\">Parameter:</font></big></strong>\n"
            "<P><font face=\"Lucida Console\" size=-1>\n" +
            c.expected + "</font></P>\n";
        EXPECT_EQ(Body(project.Read("SYLVA_Item.html")), expected) << c.name;
    }
}

TEST(DescriptionPages, MarkerImagesShowGreenOrRedOnlyWhenInstalled) {
    HtmlProject project;
    project.Add("Pub");
    CSylItem& hidden = project.Add("Hidden");
    hidden.accessRank = 200;
    hidden.isPublic = 0;
    project.Sort();

    project.generator.WriteDescriptionPages();
    EXPECT_EQ(project.Read("SYLVA_Pub.html").find("<img"), std::string::npos);

    project.dir.Write("bBallsGreen.gif", "GIF89a");
    project.generator.WriteDescriptionPages();
    const std::string head =
        "<tr><td width=\"60%\" valign=\"top\" align=\"left\"><img src=\"../bBalls";
    EXPECT_NE(project.Read("SYLVA_Pub.html").find(head + "Green.gif\"><big>"), std::string::npos);
    EXPECT_NE(project.Read("SYLVA_Hidden.html").find(head + "Red.gif\"><big>"), std::string::npos);
}

TEST(DescriptionPages, ItemsOfKindsNotCreatedGetNoPage) {
    HtmlProject project;
    project.Add("Pub");
    project.Add("Priv").isPublic = 0;
    project.Sort();
    project.generator.typePrivate = 0;
    project.generator.WriteDescriptionPages();
    EXPECT_TRUE(CZTSystem::FileExist(project.ProjectFile("SYLVA_Pub.html")));
    EXPECT_FALSE(CZTSystem::FileExist(project.ProjectFile("SYLVA_Priv.html")));
    EXPECT_EQ(project.ProtocolLines().size(), 1u);
}

TEST(DescriptionPages, AnUnwritablePageIsReportedAndTheOthersAreWritten) {
    HtmlProject project;
    const CSylItem& lost = project.Add("Lost");
    // A directory where the page goes: the page cannot be created.
    std::filesystem::create_directory(lost.PagePath());
    project.Add("Kept");
    project.Sort();
    EXPECT_EQ(project.generator.WriteDescriptionPages(), 1);
    EXPECT_TRUE(CZTSystem::FileExist(project.ProjectFile("SYLVA_Kept.html")));
    EXPECT_EQ(project.ProtocolLines(),
              (std::vector<std::string>{
                  "    Kept to HTML SYLVA_Kept.html (type: Common<BR>(Public))",
                  "    Lost to HTML SYLVA_Lost.html (type: Common<BR>(Public))",
                  "    ERROR: Cannot access to HTML-file " + lost.PagePath() + " !"}));
    EXPECT_EQ(project.generator.failureCount, 1);
}

TEST(DescriptionPages, AFullDiskIsReportedAsAnError) {
    HtmlProject project;
    project.Add("Big");
    project.Sort();
    {
        test::FileSizeLimit limit(100);
        project.generator.WriteDescriptionPages();
    }
    ASSERT_EQ(project.ProtocolLines().size(), 2u);
    EXPECT_EQ(project.ProtocolLines()[1].rfind("    ERROR: Cannot write file " +
                                                   project.ProjectFile("SYLVA_Big.html") +
                                                   " completely (",
                                               0),
              0u)
        << project.ProtocolLines()[1];
    EXPECT_EQ(project.generator.failureCount, 1);
}

}  // namespace
}  // namespace sylva
