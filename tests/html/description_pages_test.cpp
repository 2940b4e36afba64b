#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "html/page_names.h"
#include "html/placeholders.h"
#include "html_project.h"
#include "support/zt_system.h"
#include "test_support/file_size_limit.h"

namespace sylva {
namespace {

using test::HtmlProject;

// The part of a page between the end of its head and the start of its end.
std::string Body(const std::string& page) {
    std::size_t begin = page.find("<HR>\n\n");
    std::size_t end = page.find("<hr>\n<p align");
    if (begin == std::string::npos || end == std::string::npos) {
        return "(no body in: " + page + ")";
    }
    return page.substr(begin + 6, end - begin - 6);
}

// The lines a page writes for the section of `heading`, between its text start and text end.
std::string SectionText(const std::string& page, const std::string& heading) {
    const std::string start = "<font face=\"Arial\">" + heading +
                              "</font></big></strong>\n<P><font face=\"Lucida Console\" size=-1>\n";
    std::size_t begin = page.find(start);
    std::size_t end = page.find("</font></P>\n", begin);
    if (begin == std::string::npos || end == std::string::npos) {
        return "(no section " + heading + " in: " + page + ")";
    }
    return page.substr(begin + start.size(), end - begin - start.size());
}

TEST(DescriptionPages, APageHasHeadSyntaxBlockSectionsAndEnd) {
    HtmlProject html;
    html.Add("int Open(const char* path,<br>int mode)",
             {"Group: Files", "Description: Opens a <b>file</b> & more.", "  Second line.",
              "Return: 0 on success"});
    html.Sort();

    EXPECT_EQ(WriteDescriptionPages(html.job), 1);
    EXPECT_EQ(html.Read("SYLVA_Open.html"),
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

<p>&nbsp;<BR><strong><big><font face="Arial">History:</font></big></strong>
<P><font face="Lucida Console" size=-1>
Source file last change: 2001-02-03 00:00:00<BR>
</font></P>

<p>&nbsp;<BR><strong><big><font face="Arial">See also:</font></big></strong>
<P><font face="Lucida Console" size=-1>
<a href="Demo.HTML">Project description index</a><BR><BR>
<a href="../SYLVA_MAIN_INDEX.HTML" target="_top">Main</a><BR><BR>
</font></P>
<hr>
<p align="right"><small><font face="Arial">File created: 2023-11-14 22:13:20 by Sylva 1.0.0</font></small></p>
</body>
</html>
)");
    EXPECT_EQ(
        html.ProtocolLines(),
        std::vector<std::string>{"    Open to HTML SYLVA_Open.html (type: Files<BR>(Public))"});
    EXPECT_EQ(html.progress.statuses,
              std::vector<std::string>{"Generate html description file Open..."});
    EXPECT_EQ(html.progress.positions, std::vector<int>{0});
    EXPECT_EQ(html.reporter.progressPos(), 1);
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
    HtmlProject html;
    html.Add("Item", {"Parameter: param", "Content: content", "Group: group", "Description: desc",
                      "Attention: attention", "Remarks: remark", "Return: return",
                      "Example: example", "Author: author", "Copyright: copyright",
                      "Version: version", "History: history", "Request: request", "Source: source",
                      "See also: see", "Doc type: type", "Throws: throws"});
    html.Sort();

    const std::string seeAlso = "See also:=<a href=\"SYLVA_see.html\">see</a><BR><BR>";
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
          "Request:=request<BR>", seeAlso}},
        {"every switch on: the group never shows",
         [](RunOptions& o) { o.sectionType = o.sectionSource = 1; },
         {"Content:=content<BR>", "Description=desc<BR>", "Parameter:=param<BR>",
          "Attention:=attention<BR>", "Remarks:=remark<BR>", "Return:=return<BR>",
          "Throws:=throws<BR>", "Doc type:=type<BR>", "Examples:=example<BR>", "Author:=author<BR>",
          "Copyright:=copyright<BR>", "Version:=version<BR>", "History:=history<BR>",
          "Request:=request<BR>", "Source:=source<BR>", seeAlso}},
        {"switched off although they have lines",
         [](RunOptions& o) {
             o.sectionContent = o.sectionDescription = o.sectionParameter = o.sectionAttention =
                 o.sectionRemark = o.sectionReturn = o.sectionThrows = o.sectionExamples = 0;
             o.sectionAuthor = o.sectionCopyright = o.sectionHistory = o.sectionSeeAlso = 0;
         },
         {"Version:=version<BR>", "Request:=request<BR>"}},
    };
    for (const Case& c : cases) {
        html.scanned.options = RunOptions();
        c.configure(html.scanned.options);
        ASSERT_EQ(WriteDescriptionPages(html.job), 1);
        EXPECT_EQ(SectionsOf(html.Read("SYLVA_Item.html")), c.expected) << c.name;
    }
}

TEST(DescriptionPages, AnItemWithoutSectionsHasHeadSyntaxAndEndOnly) {
    HtmlProject html;
    // The source date and the See also links to the indexes are sections of every item.
    html.scanned.options.addHistoryDate = 0;
    html.scanned.options.sectionSeeAlso = 0;
    html.Add("void WithSyntax()");
    html.Add("Plain");
    html.Sort();
    EXPECT_EQ(WriteDescriptionPages(html.job), 2);

    EXPECT_EQ(Body(html.Read("SYLVA_WithSyntax.html")),
              "\n<p>&nbsp;<BR><strong><big><font face=\"Arial\">Syntax:</font></big></strong>\n"
              "<pre><b><font face=\"Lucida Console\">\nvoid WithSyntax()\n</font></b></pre>\n");
    EXPECT_EQ(Body(html.Read("SYLVA_Plain.html")), "");
}

// A row of the parameter table as the default templates write it.
std::string ParamRow(const Settings& settings, const std::string& name,
                     const std::string& comment) {
    return FillTemplate(settings[SYL_HTML_STD_PARAM_ROW],
                        {{placeholder::kFont, settings[SYL_STD_FONT_TEXT]},
                         {placeholder::kLinkName, "<I>" + name + "</I>"},
                         {placeholder::kShortDesc, comment}});
}

TEST(DescriptionPages, LineBreaksAndPreformattedBlocks) {
    const Settings settings;
    const std::string tableStart = settings[SYL_HTML_STD_PARAM_TABLE_START] + "\n";
    const std::string tableEnd = settings[SYL_HTML_STD_PARAM_TABLE_END] + "\n";
    const std::string pre = "<font face=\"Lucida Console\" size=3>";
    struct Case {
        const char* name;
        // A block of Parameter lines, or a declaration whose comments make the table.
        std::string source;
        std::string expected;  // the lines as written, between the text start and end
    };
    const Case cases[] = {
        {"ordinary lines get a line break", test::Block("Item", {"Parameter:", "one", "", "  two"}),
         "one<BR>\n<BR>\n  two<BR>\n"},
        {"a parameter table gets none",
         test::Block("struct Item {\n    int a;  // first\n    int b;  // second\n};"),
         tableStart + ParamRow(settings, "a", "first") + "\n" + ParamRow(settings, "b", "second") +
             "\n" + tableEnd},
        {"upper-case PRE starts the block, the closing line gets the font end and a break",
         test::Block("Item", {"Parameter:", "before", "<PRE>", "  code();", "</pre>", "after"}),
         "before<BR>\n" + pre + "<PRE>\n  code();\n</font></pre><BR>\nafter<BR>\n"},
        {"a line with both tags starts the block and does not end it",
         test::Block("Item", {"Parameter:", "<pre>x</pre>", "inside", "end </PRE> here", "out"}),
         pre + "<pre>x</pre>\ninside\n</font>end </PRE> here<BR>\nout<BR>\n"},
        {"a second <pre> inside a block writes the font again",
         test::Block("Item", {"Parameter:", "<pre>", "<pre>", "</pre>"}),
         pre + "<pre>\n" + pre + "<pre>\n</font></pre><BR>\n"},
        {"a block left open is not closed", test::Block("Item", {"Parameter:", "<pre>", "last"}),
         pre + "<pre>\nlast\n"},
        {"in a parameter table the closing line gets no break",
         test::Block("struct Item {\n    int a;  // <pre>\n    int b;  // </pre>\n};"),
         tableStart + pre + ParamRow(settings, "a", "<pre>") + "\n</font>" +
             ParamRow(settings, "b", "</pre>") + "\n" + tableEnd},
    };
    for (const Case& c : cases) {
        HtmlProject html;
        EXPECT_EQ(html.scanned.Scan(c.source), 1) << c.name;
        html.Sort();
        EXPECT_EQ(WriteDescriptionPages(html.job), 1) << c.name;
        EXPECT_EQ(SectionText(html.Read("SYLVA_Item.html"), "Parameter:"), c.expected) << c.name;
    }
}

TEST(DescriptionPages, MarkerImagesShowGreenOrRedOnlyWhenInstalled) {
    HtmlProject html;
    html.Add("Pub");
    html.Add("Hidden", {"Doc type: private"});
    html.Sort();

    EXPECT_EQ(WriteDescriptionPages(html.job), 2);
    EXPECT_EQ(html.Read("SYLVA_Pub.html").find("<img"), std::string::npos);

    html.dir.Write("bBallsGreen.gif", "GIF89a");
    EXPECT_EQ(WriteDescriptionPages(html.job), 2);
    const std::string head =
        "<tr><td width=\"60%\" valign=\"top\" align=\"left\"><img src=\"../bBalls";
    EXPECT_NE(html.Read("SYLVA_Pub.html").find(head + "Green.gif\"><big>"), std::string::npos);
    EXPECT_NE(html.Read("SYLVA_Hidden.html").find(head + "Red.gif\"><big>"), std::string::npos);
}

TEST(DescriptionPages, ItemsOfKindsNotCreatedGetNoPage) {
    HtmlProject html;
    html.Add("Pub");
    html.Add("Priv", {"Doc type: private"});
    html.Sort();
    html.job.typePrivate = 0;
    EXPECT_EQ(WriteDescriptionPages(html.job), 1);
    EXPECT_TRUE(CZTSystem::FileExist(html.ProjectFile("SYLVA_Pub.html")));
    EXPECT_FALSE(CZTSystem::FileExist(html.ProjectFile("SYLVA_Priv.html")));
    EXPECT_EQ(html.ProtocolLines().size(), 1u);
}

TEST(DescriptionPages, AnUnwritablePageIsReportedAndTheOthersAreWritten) {
    HtmlProject html;
    const std::string lostPage = PagePath(html.project, html.Add("Lost"));
    // A directory where the page goes: the page cannot be created.
    std::filesystem::create_directory(lostPage);
    html.Add("Kept");
    html.Sort();
    EXPECT_EQ(WriteDescriptionPages(html.job), 1);
    EXPECT_TRUE(CZTSystem::FileExist(html.ProjectFile("SYLVA_Kept.html")));
    EXPECT_EQ(html.ProtocolLines(),
              (std::vector<std::string>{
                  "    Kept to HTML SYLVA_Kept.html (type: Common<BR>(Public))",
                  "    Lost to HTML SYLVA_Lost.html (type: Common<BR>(Public))",
                  "    ERROR: Cannot access to HTML-file " + lostPage + " ! (Is a directory)"}));
    EXPECT_EQ(html.reporter.failureCount(), 1);
}

TEST(DescriptionPages, AFullDiskIsReportedAsAnError) {
    HtmlProject html;
    html.Add("Big");
    html.Sort();
    {
        test::FileSizeLimit limit(100);
        EXPECT_EQ(WriteDescriptionPages(html.job), 0);
    }
    ASSERT_EQ(html.ProtocolLines().size(), 2u);
    EXPECT_EQ(
        html.ProtocolLines()[1].rfind(
            "    ERROR: Cannot write file " + html.ProjectFile("SYLVA_Big.html") + " completely (",
            0),
        0u)
        << html.ProtocolLines()[1];
    EXPECT_EQ(html.reporter.failureCount(), 1);
}

}  // namespace
}  // namespace sylva
