// One complete small project, scanned from one documented header and written by the HTML stages,
// compared byte for byte with the files in golden/shapes.
//
// After a deliberate change of the output, SYLVA_UPDATE_GOLDEN=1 rewrites the expected files;
// read every changed line against the templates before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "html_project.h"
#include "support/file_output.h"
#include "test_support/process.h"

namespace sylva {
namespace {

using test::kIndexName;

// The last write time of the header: 2023-11-01 09:30:00 UTC.
const CZTTime kHeaderTime(1698831000);

// Every section kind, links to make, parameter tables of a function and of a structure, a
// pre-formatted example, HTML in the text and a private helper.
constexpr std::string_view kHeader = R"(/**--
Description: Returns the library version as text, such as "1.2.0".
Return: A static string; never NULL.
--e*/
const char* GetVersion(void)

/**--
Description: A point on the canvas.
See also: CCanvas::DrawLine
--e*/
struct SPoint {
    int x;  // column
    int y;  // row
};

/**--
Group: Drawing
Description: Empties the canvas.
Lines drawn with "CCanvas::DrawLine" are lost.
See also: CCanvas::DrawLine
--e*/
void CCanvas::Clear()

/**--
Content: Drawing primitives of the canvas
Group: Drawing
Description: Draws a straight line from (x1, y1) to (x2, y2) with the current pen.
Call "CCanvas::Clear" first to start on an empty canvas.
Attention: Coordinates outside the canvas are <b>clipped</b>, not rejected.
Remarks: Both ends are "SPoint" values & may be equal.
Return: Nothing.
Throws: std::logic_error when the canvas is not open.
Doc type: public
Example:
<pre>
    CCanvas canvas;
    canvas.DrawLine(0, 0, 10, 10);
</pre>
Draws the diagonal of a square.
Author: Jane Doe
Copyright: (c) 2023 Example & Co.
Version: 1.2
History: 2023-10-01 first version
Request: A canvas opened with "CCanvas::Open".
Source: canvas.cpp
See also: CCanvas::Clear
SPoint
--e*/
void CCanvas::DrawLine(int x1,   // start column
                       int y1,   // start row
                       int x2,   // end column
                       int y2)   // end row

/**--
Group: Drawing
Description: Writes buffered strokes to the device.
Never call "CCanvas::FlushPendingStrokes" from a stroke callback.
Doc type: private helper
--e*/
void CCanvas::FlushPendingStrokes()
)";

TEST(GoldenProject, AllPagesOfASmallProjectAreExactlyAsExpected) {
    test::HtmlProject html("Shapes");
    html.project.description = "Geometry helpers <i>for the demo</i>";
    html.scanned.options.sectionType = 1;
    html.scanned.options.sectionSource = 1;
    ASSERT_EQ(html.scanned.Scan(kHeader, "shapes.h", kHeaderTime), 5);
    html.Sort();

    // Another project of the same output directory, generated earlier.
    ASSERT_EQ(AddToMasterIndex(html.scanned.settings, html.reporter, html.dir.path(), kIndexName,
                               {"Circles", "", "Round things"}),
              1);

    CrossLink(html.job);
    EXPECT_EQ(WriteDescriptionPages(html.job), 5);
    EXPECT_EQ(WriteProjectIndex(html.job), 5);
    EXPECT_EQ(AddToMasterIndex(html.scanned.settings, html.reporter, html.dir.path(), kIndexName,
                               {html.project.name, "", html.project.description}),
              2);
    EXPECT_EQ(html.reporter.failureCount(), 0);
    EXPECT_EQ(html.reporter.warningCount(), 0);

    const char* testData = std::getenv("SYLVA_TEST_DATA");
    ASSERT_NE(testData, nullptr) << "SYLVA_TEST_DATA names the folder of the golden files";
    const std::string goldenDir = std::string(testData) + "/golden/shapes";
    std::map<std::string, std::string> written = test::Tree(html.dir.path());
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
