// One complete small project, written by the HTML stages and compared byte for byte with the
// files in golden/shapes. The items are built as the scanner leaves them: See also lines already
// turned into links, parameter tables, History lines with the source date.
//
// After a deliberate change of the output, SYLVA_UPDATE_GOLDEN=1 rewrites the expected files;
// read every changed line against the templates before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "html/placeholders.h"
#include "html_project.h"
#include "support/file_output.h"
#include "test_support/process.h"

namespace sylva {
namespace {

using test::HtmlProject;

const std::string kIndexName = "SYLVA_MAIN_INDEX.HTML";

void SetLines(CSylItem& item, SectionKind kind, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        item.Details().sections[kind].Add(line);
    }
}

std::string ParamRow(const CZTScanSource& generator, const std::string& name,
                     const std::string& text) {
    return FillTemplate(generator.Setting(SYL_HTML_STD_PARAM_ROW),
                        {{placeholder::kFont, generator.Setting(SYL_STD_FONT_TEXT)},
                         {placeholder::kLinkName, "<I>" + name + "</I>"},
                         {placeholder::kShortDesc, text}});
}

std::vector<std::string> SeeAlso(const std::vector<std::string>& names) {
    std::vector<std::string> lines;
    for (const std::string& name : names) {
        std::string target = name;
        for (char& ch : target) {
            ch = ch == ':' ? '_' : ch;
        }
        lines.push_back("<a href=\"SYLVA_" + target + ".html\">" + name + "</a><BR>");
    }
    lines.push_back("<a href=\"Shapes.HTML\">Project description index</a><BR>");
    lines.push_back("<a href=\"../" + kIndexName + "\" target=\"_top\">Main</a><BR>");
    return lines;
}

void AddItems(HtmlProject& project) {
    const CZTScanSource& generator = project.generator;
    const std::string history = "Source file last change: 2023-11-01 09:30:00";

    CSylItem& getVersion = project.Add("GetVersion");
    getVersion.hasSyntax = 1;
    getVersion.Details().declaration = "const char* GetVersion(void)";
    getVersion.Details().shortDesc = "Returns the library version as text, such as \"1.2.0\". ";
    SetLines(getVersion, kSectionDescription,
             {"Returns the library version as text, such as \"1.2.0\"."});
    SetLines(getVersion, kSectionReturn, {"A static string; never NULL."});
    SetLines(getVersion, kSectionHistory, {history});
    SetLines(getVersion, kSectionSeeAlso, SeeAlso({}));

    CSylItem& point = project.Add("SPoint");
    point.hasSyntax = 1;
    point.Details().hasParamTable = 1;
    point.Details().declaration = "struct SPoint {\n    int x;  // column\n    int y;  // row\n};";
    point.Details().shortDesc = "A point on the canvas. ";
    SetLines(point, kSectionDescription, {"A point on the canvas."});
    SetLines(point, kSectionParameter,
             {generator.Setting(SYL_HTML_STD_PARAM_TABLE_START), ParamRow(generator, "x", "column"),
              ParamRow(generator, "y", "row"), generator.Setting(SYL_HTML_STD_PARAM_TABLE_END)});
    SetLines(point, kSectionHistory, {history});
    SetLines(point, kSectionSeeAlso, SeeAlso({"CCanvas::DrawLine"}));

    CSylItem& clear = project.Add("CCanvas::Clear", "Drawing");
    clear.hasSyntax = 1;
    clear.Details().declaration = "void CCanvas::Clear()";
    clear.Details().shortDesc =
        "Empties the canvas. Lines drawn with \"CCanvas::DrawLine\" are lost. ";
    SetLines(clear, kSectionGroup, {"Drawing"});
    SetLines(clear, kSectionDescription,
             {"Empties the canvas.", "Lines drawn with \"CCanvas::DrawLine\" are lost."});
    SetLines(clear, kSectionHistory, {history});
    SetLines(clear, kSectionSeeAlso, SeeAlso({"CCanvas::DrawLine"}));

    // Every section kind, with links to make, a pre-formatted example and HTML in the text.
    CSylItem& drawLine = project.Add("CCanvas::DrawLine", "Drawing");
    drawLine.hasSyntax = 1;
    drawLine.Details().hasParamTable = 1;
    drawLine.Details().declaration =
        "void CCanvas::DrawLine(int x1,   // start column\n"
        "                       int y1,   // start row\n"
        "                       int x2,   // end column\n"
        "                       int y2)   // end row";
    drawLine.Details().shortDesc =
        "Draws a straight line from (x1, y1) to (x2, y2) with the current pen. Call "
        "\"CCanvas::Clear\" first to start on an empty c...";
    SetLines(drawLine, kSectionContent, {"Drawing primitives of the canvas"});
    SetLines(drawLine, kSectionGroup, {"Drawing"});
    SetLines(drawLine, kSectionDescription,
             {"Draws a straight line from (x1, y1) to (x2, y2) with the current pen.",
              "Call \"CCanvas::Clear\" first to start on an empty canvas."});
    SetLines(drawLine, kSectionParameter,
             {generator.Setting(SYL_HTML_STD_PARAM_TABLE_START),
              ParamRow(generator, "x1", "start column"), ParamRow(generator, "y1", "start row"),
              ParamRow(generator, "x2", "end column"), ParamRow(generator, "y2)", "end row"),
              generator.Setting(SYL_HTML_STD_PARAM_TABLE_END)});
    SetLines(drawLine, kSectionAttention,
             {"Coordinates outside the canvas are <b>clipped</b>, not rejected."});
    SetLines(drawLine, kSectionRemarks, {"Both ends are \"SPoint\" values & may be equal."});
    SetLines(drawLine, kSectionReturn, {"Nothing."});
    SetLines(drawLine, kSectionThrows, {"std::logic_error when the canvas is not open."});
    SetLines(drawLine, kSectionDocType, {"public"});
    SetLines(drawLine, kSectionExamples,
             {"<pre>", "    CCanvas canvas;", "    canvas.DrawLine(0, 0, 10, 10);", "</pre>",
              "Draws the diagonal of a square."});
    SetLines(drawLine, kSectionAuthor, {"Jane Doe"});
    SetLines(drawLine, kSectionCopyright, {"(c) 2023 Example & Co."});
    SetLines(drawLine, kSectionVersion, {"1.2"});
    SetLines(drawLine, kSectionHistory, {"2023-10-01 first version", history});
    SetLines(drawLine, kSectionRequest, {"A canvas opened with \"CCanvas::Open\"."});
    SetLines(drawLine, kSectionSource, {"canvas.cpp"});
    SetLines(drawLine, kSectionSeeAlso, SeeAlso({"CCanvas::Clear", "SPoint"}));

    CSylItem& flush = project.Add("CCanvas::FlushPendingStrokes", "Drawing");
    flush.hasSyntax = 1;
    flush.Details().declaration = "void CCanvas::FlushPendingStrokes()";
    flush.Details().typeLabel = "Drawing<BR>(Private Helper)";
    flush.accessRank = 200;
    flush.isPublic = 0;
    flush.Details().shortDesc = "Writes buffered strokes to the device. ";
    SetLines(flush, kSectionGroup, {"Drawing"});
    SetLines(flush, kSectionDescription,
             {"Writes buffered strokes to the device.",
              "Never call \"CCanvas::FlushPendingStrokes\" from a stroke callback."});
    SetLines(flush, kSectionDocType, {"private helper"});
    SetLines(flush, kSectionHistory, {history});
    SetLines(flush, kSectionSeeAlso, SeeAlso({}));

    project.Sort();
}

TEST(GoldenProject, AllPagesOfASmallProjectAreExactlyAsExpected) {
    HtmlProject project("Shapes");
    CZTScanSource& generator = project.generator;
    generator.projectDesc = "Geometry helpers <i>for the demo</i>";
    generator.options.sectionType = 1;
    generator.options.sectionSource = 1;
    AddItems(project);

    // Another project of the same output directory, generated earlier.
    CZTScanSource earlier;
    CZTStringArray earlierRecords;
    ASSERT_EQ(earlier.AddToMasterIndex(earlierRecords, kIndexName, "Circles", "", "Round things",
                                       project.dir.path()),
              1);

    EXPECT_EQ(generator.CrossLinkSections(), 1);
    EXPECT_EQ(generator.WriteDescriptionPages(), 1);
    EXPECT_EQ(generator.WriteProjectIndex(), 5);
    EXPECT_EQ(generator.AddToMasterIndex(generator.masterEntries, kIndexName, "Shapes", "",
                                         generator.projectDesc, project.dir.path()),
              2);
    EXPECT_EQ(generator.failureCount, 0);

    const char* testData = std::getenv("SYLVA_TEST_DATA");
    ASSERT_NE(testData, nullptr) << "SYLVA_TEST_DATA names the folder of the golden files";
    const std::string goldenDir = std::string(testData) + "/golden/shapes";
    std::map<std::string, std::string> written = test::Tree(project.dir.path());
    if (const char* update = std::getenv("SYLVA_UPDATE_GOLDEN"); update && *update == '1') {
        std::filesystem::remove_all(goldenDir);
        for (const auto& [name, content] : written) {
            std::string path = goldenDir + "/" + name;
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            ASSERT_TRUE(WriteWholeFile(path, content).ok()) << path;
        }
    }
    std::map<std::string, std::string> expected = test::Tree(goldenDir);
    std::vector<std::string> writtenNames;
    std::vector<std::string> expectedNames;
    for (const auto& entry : written) {
        writtenNames.push_back(entry.first);
    }
    for (const auto& entry : expected) {
        expectedNames.push_back(entry.first);
    }
    ASSERT_EQ(writtenNames, expectedNames);
    for (const auto& [name, content] : expected) {
        EXPECT_EQ(written[name], content) << name;
    }
}

}  // namespace
}  // namespace sylva
