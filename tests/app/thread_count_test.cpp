// A run that shares its work among threads writes what a run on one thread writes: the same files
// with the same bytes, and the same protocol lines and warnings in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "test_support/process.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using test::ProcessOptions;
using test::ProcessResult;
using test::ScratchDir;

struct RunOutput {
    ProcessResult result;
    std::map<std::string, std::string> files;
};

// Runs sylva on `scanPath` with SYLVA_THREADS=`threads`, in a directory of its own that the
// output path names the same way for every run, so that no path in a page tells runs apart. A
// non-empty `config` is the SYLVA.INI of that directory.
RunOutput RunWithThreads(const std::string& scanPath, int threads, const std::string& config) {
    ScratchDir work;
    if (!config.empty()) {
        work.Write("SYLVA.INI", config);
    }
    ProcessOptions options;
    options.cwd = work.path();
    options.environment = {"SOURCE_DATE_EPOCH=1700000000", "TZ=UTC",
                           "SYLVA_THREADS=" + std::to_string(threads)};
    options.timeoutSeconds = 300;
    RunOutput output;
    output.result = test::RunProcess(
        SYLVA_BINARY,
        {"-PROJECT=Shared", "-DESC=Threads", "-SCAN=" + scanPath, "-OUT=doc", "-FORCE", "-VERBOSE"},
        options);
    output.files = test::Tree(work.File("doc"));
    return output;
}

// The first file whose bytes differ between two outputs, for a readable failure.
std::string FirstDifference(const std::map<std::string, std::string>& expected,
                            const std::map<std::string, std::string>& actual) {
    for (const auto& [path, bytes] : expected) {
        auto found = actual.find(path);
        if (found == actual.end()) {
            return path + " is missing";
        }
        if (found->second != bytes) {
            return path + " differs";
        }
    }
    for (const auto& [path, bytes] : actual) {
        if (expected.count(path) == 0) {
            return path + " is extra";
        }
    }
    return "";
}

void ExpectSameAsOneThread(const std::string& scanPath, const std::string& config = "") {
    RunOutput single = RunWithThreads(scanPath, 1, config);
    ASSERT_EQ(single.result.status, 0) << single.result.err;
    ASSERT_GT(single.files.size(), 3u);
    for (int threads : {2, 4}) {
        SCOPED_TRACE("threads: " + std::to_string(threads));
        RunOutput shared = RunWithThreads(scanPath, threads, config);
        EXPECT_EQ(shared.result.status, single.result.status);
        EXPECT_EQ(shared.result.out, single.result.out);
        EXPECT_EQ(shared.result.err, single.result.err);
        EXPECT_EQ(FirstDifference(single.files, shared.files), "");
    }
}

// One source file of a generated tree: classes with members, free functions sharing names
// across files, structs, typedefs and macros, with parameters, quoted names of other items, See
// also entries (some naming nothing), "<pre>" examples and undocumented code between blocks. A
// few blocks draw warnings: no declaration, a name quoted in the wrong letter case, and a block
// left open at the end of the file.
std::string GeneratedSource(int file, int items) {
    std::string source = "#include <cstddef>\n\n";
    for (int i = 0; i < items; ++i) {
        const int n = file * items + i;
        const std::string group = "Group" + std::to_string(n % 11);
        const std::string other = "Shared" + std::to_string((n + 7) % 23);
        switch (n % 5) {
            case 0:
                source += "class Widget" + std::to_string(n) + "\n";
                break;
            case 1:
                source += "int Widget" + std::to_string(n - 1) + "::Member" +
                          std::to_string(n % 3) + "(int first,  // the first operand\n" +
                          "        int second) // the second operand\n";
                break;
            case 2:
                source += "void Shared" + std::to_string(n % 23) + "(const char* text)\n";
                break;
            case 3:
                source += "typedef struct tagRecord" + std::to_string(n) + " Record" +
                          std::to_string(n) + ";\n";
                break;
            default:
                source += n % 10 == 4 ? "#define LIMIT" + std::to_string(n) + " 42\n" : "";
                break;
        }
        source += "/**--\nGroup: " + group + "\nDescription: Works with \"" + other + "\" and \"" +
                  (n % 13 == 0 ? "shared3" : "Record" + std::to_string(n - 1)) +
                  "\".\n    A second line.\nReturn: nothing of note\n" +
                  "Example:\n<pre>\n  call(" + std::to_string(n) + ");\n</pre>\n" +
                  "See also: " + other + ", Missing" + std::to_string(n % 4) + "\n--e*/\n" +
                  "static int undocumented" + std::to_string(n) + " = " + std::to_string(n) +
                  ";\n\n";
    }
    if (file % 3 == 0) {
        source += "/**--\nDescription: Never closed.\n";
    }
    return source;
}

// One header of a generated tree in the doxygen style: classes with members in a namespace,
// functions whose names repeat across files (overloads on numbered pages, and the same
// declaration in several files, which is one item), macros, groups defined in one file
// and joined from others, references to other items, and a parameter that names nothing.
std::string GeneratedDoxygenHeader(int file, int items) {
    const std::string group = "g" + std::to_string(file % 3);
    std::string source;
    if (file < 3) {
        source +=
            "/** @defgroup " + group + " Group " + std::to_string(file) + "\n * Its items. */\n";
    }
    source += "/** @addtogroup " + group + "\n * @{ */\nnamespace lib {\n";
    for (int i = 0; i < items; ++i) {
        const int n = file * items + i;
        const std::string shared = "shared" + std::to_string(n % 7);
        switch (n % 3) {
            case 0:
                source += "/** A class. @sa " + shared + " */\nclass C" + std::to_string(n) +
                          " {\n  public:\n    /// Runs it.\n    /// @param count how often\n" +
                          "    /// @param missing names nothing\n    int Run(int count);\n" +
                          "    int value;  ///< its value\n};\n";
                break;
            case 1:
                source += "/**\n * @brief Shared work, see @ref C" + std::to_string(n - 1) +
                          ".\n * @param text the text\n * @return its length\n */\nint " + shared +
                          (n % 2 == 0 ? "(const char* text);\n" : "(long text);\n");
                break;
            default:
                source += "/// A limit for `" + shared + "()`.\n#define LIMIT" + std::to_string(n) +
                          " 42\n";
                break;
        }
    }
    return source + "}\n/** @} */\n";
}

// Writes `files` generated headers, unit0.h ... , spread over `folders` folders.
void WriteGeneratedTree(ScratchDir& sources, int files, int folders,
                        const std::function<std::string(int)>& header) {
    for (int file = 0; file < files; ++file) {
        sources.Write(
            "part" + std::to_string(file % folders) + "/unit" + std::to_string(file) + ".h",
            header(file));
    }
}

// True iff a file of the output has a path that holds `text`.
bool HasPathHolding(const RunOutput& output, std::string_view text) {
    return std::ranges::any_of(output.files, [text](const auto& file) {
        return file.first.find(text) != std::string::npos;
    });
}

TEST(ThreadCount, TheBundledExamplesComeOutAsOnOneThread) {
    ExpectSameAsOneThread(SYLVA_SOURCE_DIR "/examples");
}

TEST(ThreadCount, AGeneratedTreeComesOutAsOnOneThread) {
    ScratchDir sources;
    WriteGeneratedTree(sources, 24, 4, [](int file) { return GeneratedSource(file, 60); });
    // The search index too: its entries come from the threads that build the pages.
    const std::string config = "SYL_HTML_SEARCH=1\n";
    RunOutput probe = RunWithThreads(sources.path(), 1, config);
    // The tree exercises what it is meant to: numbered pages and warnings.
    EXPECT_NE(probe.result.err.find("warning:"), std::string::npos);
    EXPECT_TRUE(HasPathHolding(probe, "Shared3_"));
    EXPECT_TRUE(probe.files.contains("Shared/sylva_search_i_1.js"));
    ExpectSameAsOneThread(sources.path(), config);
}

TEST(ThreadCount, AGeneratedTreeInTheDoxygenStyleComesOutAsOnOneThread) {
    ScratchDir sources;
    WriteGeneratedTree(sources, 12, 3, [](int file) { return GeneratedDoxygenHeader(file, 30); });
    const std::string config = "SYL_COMMENT_STYLE=doxygen\nSYL_HTML_SEARCH=1\n";
    RunOutput probe = RunWithThreads(sources.path(), 1, config);
    // The tree exercises what it is meant to: scoped names, numbered pages and warnings.
    EXPECT_NE(probe.result.err.find("is not a parameter"), std::string::npos);
    EXPECT_TRUE(probe.files.contains("Shared/SYLVA_lib__C0__Run.html"));
    EXPECT_TRUE(HasPathHolding(probe, "Shared/SYLVA_lib__shared1_"));
    ExpectSameAsOneThread(sources.path(), config);
}

}  // namespace
}  // namespace sylva
