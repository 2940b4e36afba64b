// Reading Doxyfiles: the syntax Doxygen takes, and what a hostile or broken one gets.
#include "support/doxyfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

std::optional<std::string> Environment(const std::string& name) {
    return name == "SRC" ? std::optional<std::string>("/work/src") : std::nullopt;
}

std::string Texts(const std::vector<DoxyfileProblem>& problems) {
    std::string texts;
    for (const DoxyfileProblem& problem : problems) {
        texts += std::to_string(problem.line) + ": " + problem.text + "\n";
    }
    return texts;
}

TEST(Doxyfile, ReadsValuesAsDoxygenWritesThem) {
    struct Case {
        std::string text;
        std::string key;
        Strings values;
        std::string warnings;
    };
    const Case cases[] = {
        {"PROJECT_NAME = \"My Project\"\n", "PROJECT_NAME", {"My Project"}, ""},
        {"INPUT = include \\\n   src\\\n\tdocs/a.h\n", "INPUT", {"include", "src", "docs/a.h"}, ""},
        {"FILE_PATTERNS = *.h\r\nFILE_PATTERNS += *.hpp \"*.in l\"\n",
         "FILE_PATTERNS",
         {"*.h", "*.hpp", "*.in l"},
         ""},
        {"  # INPUT = nothing\nINPUT=$(SRC)/lib \"$(SRC) x\"\n",
         "INPUT",
         {"/work/src/lib", "/work/src x"},
         ""},
        {"INPUT = $(GONE)/lib\n",
         "INPUT",
         {"/lib"},
         "1: $(GONE) is not set in the environment; it stands for nothing\n"},
        {"PREDEFINED = \"Q=\\\"x\\\"\" F(a,b)=\n", "PREDEFINED", {"Q=\"x\"", "F(a,b)="}, ""},
        {"ALIASES = \"note=@par Note\n",
         "ALIASES",
         {"note=@par Note"},
         "1: unterminated quote; the value runs to the end of the line\n"},
        {"RECURSIVE = YES\nRECURSIVE = NO\n",
         "RECURSIVE",
         {"NO"},
         "2: RECURSIVE is set again; the later value counts\n"},
        {"EXCLUDE =\n", "EXCLUDE", {}, ""},
        {"what is this\nEXCLUDE = a\n",
         "EXCLUDE",
         {"a"},
         "1: a line that is neither a comment nor KEY = value: what is this\n"},
    };
    for (const Case& c : cases) {
        const Doxyfile doxyfile = ReadDoxyfileText(c.text, "Doxyfile", Environment);
        EXPECT_TRUE(doxyfile.errors.empty()) << c.text << Texts(doxyfile.errors);
        ASSERT_NE(doxyfile.Find(c.key), nullptr) << c.text;
        EXPECT_EQ(*doxyfile.Find(c.key), c.values) << c.text;
        EXPECT_EQ(Texts(doxyfile.warnings), c.warnings) << c.text;
    }
}

TEST(Doxyfile, IncludesFilesFromTheIncludePathAndRefusesWhatCannotBeRight) {
    test::ScratchDir dir;
    dir.Write("common/base.cfg", "PROJECT_NAME = Base\nINPUT = a\n");
    dir.Write("Doxyfile", "@INCLUDE_PATH = " + dir.File("common") +
                              "\n@INCLUDE = base.cfg\nINPUT += b\nPROJECT_NAME = Mine\n");
    const Doxyfile included = ReadDoxyfile(dir.File("Doxyfile"), Environment);
    EXPECT_TRUE(included.errors.empty()) << Texts(included.errors);
    EXPECT_EQ(*included.Find("INPUT"), (Strings{"a", "b"}));
    EXPECT_EQ(*included.Find("PROJECT_NAME"), Strings{"Mine"});
    EXPECT_EQ(included.keys, (Strings{"PROJECT_NAME", "INPUT"}));

    dir.Write("self", "@INCLUDE = " + dir.File("other") + "\n");
    dir.Write("other", "INPUT = x\n@INCLUDE = " + dir.File("self") + "\n");
    dir.Write("binary", std::string("INPUT = a\0b\n", 12));
    dir.Write("long", "INPUT = " + std::string(kMaxDoxyfileLine + 1, 'x') + "\n");
    dir.Write("missing_include", "@INCLUDE = nowhere.cfg\n");
    struct Case {
        std::string file;
        std::string error;
    };
    const Case cases[] = {
        {"absent", "the Doxyfile does not exist or cannot be read"},
        {"common", "the Doxyfile is not a regular file"},
        {"binary", "the Doxyfile holds a zero byte; it is no text file"},
        {"long", "a line of more than 1 MB; the Doxyfile is not read"},
        {"self", "@INCLUDE of a file that is being read already: " + dir.File("self")},
        {"missing_include", "@INCLUDE names a file that cannot be read: nowhere.cfg"},
    };
    for (const Case& c : cases) {
        const Doxyfile doxyfile = ReadDoxyfile(dir.File(c.file), Environment);
        ASSERT_EQ(doxyfile.errors.size(), 1u) << c.file << Texts(doxyfile.errors);
        EXPECT_EQ(doxyfile.errors[0].text, c.error) << c.file;
    }
}

}  // namespace
}  // namespace sylva
