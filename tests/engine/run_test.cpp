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
                     const std::string& outputPath, CZTListBox* protocol = nullptr) {
    const Settings settings;
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

}  // namespace
}  // namespace sylva
