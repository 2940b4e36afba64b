#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scan/file_selection.h"
#include "scan/scan_fixture.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kBlock = "/**--\nDescription: d\n--e*/\n";

class PathScanTest : public test::ScanTest {
  protected:
    // Walks `directory` (the scratch directory when empty) as a run with `filter` would.
    ScanCounts Walk(bool recurse, const std::string& directory = {}) {
        ScanJob job = scanned_.Job(dir_.path());
        job.filter = filter_;
        return ScanPath(job, directory.empty() ? dir_.path() : directory, recurse);
    }

    std::vector<std::string> Header() const {
        return {"Scanning path " + dir_.path() + " for " + filter_ + " ...",
                "Output data to /out as project Demo ..."};
    }

    // The names of the files the scan opened, in the order it opened them.
    std::vector<std::string> ScannedFiles() const {
        std::vector<std::string> files;
        const std::string prefix = "  Scanning file ";
        for (const std::string& line : scanned_.protocol.Lines()) {
            if (line.starts_with(prefix)) {
                files.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 3));
            }
        }
        return files;
    }

    void Link(const std::string& target, const std::string& relative) {
        ASSERT_EQ(::symlink(target.c_str(), dir_.File(relative).c_str()), 0) << relative;
    }

    std::string filter_ = ".CPP|.C|.H|.SYL";
};

TEST_F(PathScanTest, VisitsMatchingEntriesInByteOrderAndWritesTheHeaderOnEveryCall) {
    dir_.Write("a.cpp", std::string("int Alpha(void);\n") + kBlock);
    dir_.Write("B.h", "");
    dir_.Write("sub/x.c", "");
    dir_.Write("dir.C/z.h", "");
    dir_.Write("dir.txt/y.c", "");
    ScanCounts counts = Walk(true);
    EXPECT_EQ(counts.paths, 3);
    EXPECT_EQ(counts.files, 4);
    Strings expected = Header();
    for (const std::string& line :
         Strings{"  Scanning file B.h...", "  File done, scanned items 0.",
                 "  Scanning file a.cpp...", "  File done, scanned items 1."}) {
        expected.push_back(line);
    }
    Strings again = Header();
    expected.insert(expected.end(), again.begin(), again.end());  // dir.C
    expected.push_back("  Scanning file z.h...");
    expected.push_back("  File done, scanned items 0.");
    expected.insert(expected.end(), again.begin(), again.end());  // sub
    expected.push_back("  Scanning file x.c...");
    expected.push_back("  File done, scanned items 0.");
    EXPECT_EQ(scanned_.ProtocolLines(), expected);
    EXPECT_EQ(scanned_.reporter.failureCount(), 0);
    const Strings& statuses = scanned_.progress.statuses;
    EXPECT_EQ(statuses.front(), "Search for files...");
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), "Search for files..."), 3);
}

TEST_F(PathScanTest, RecursionOffScansOnlyTheDirectoryItself) {
    dir_.Write("top.c", "");
    dir_.Write("sub/deep.c", "");
    ScanCounts counts = Walk(false);
    EXPECT_EQ(counts.paths, 1);
    EXPECT_EQ(counts.files, 1);
    EXPECT_EQ(ScannedFiles(), (Strings{"top.c"}));
    const FileSelection selection(filter_, scanned_.settings);
    EXPECT_TRUE(selection.ReadsBelow(dir_.path(), dir_.File("top.c"), false));
    EXPECT_FALSE(selection.ReadsBelow(dir_.path(), dir_.File("sub/deep.c"), false));
    EXPECT_TRUE(selection.ReadsBelow(dir_.path(), dir_.File("sub/deep.c"), true));
    // A directory's name passes the filter as a file's would ("dir.txt" does not).
    EXPECT_FALSE(selection.ReadsBelow(dir_.path(), dir_.File("dir.txt/y.c"), true));
    EXPECT_FALSE(selection.ReadsBelow(dir_.File("sub"), dir_.File("top.c"), true));
}

TEST_F(PathScanTest, TheFilterIsASubstringTestOnTheUpperCaseExtension) {
    for (const char* name : {"a.cpp", "b.CP", "c.s", "d.sy", "e.txt", "f", "g.", "h.tar.h",
                             "i.h.txt", ".hidden", "j.Syl"}) {
        dir_.Write(name, "");
    }
    struct Case {
        std::string filter;
        Strings scanned;
    };
    const Case cases[] = {
        {".CPP|.C|.H|.SYL", {"a.cpp", "b.CP", "c.s", "d.sy", "f", "g.", "h.tar.h", "j.Syl"}},
        {".H", {"f", "g.", "h.tar.h"}},  // "g." has the extension "."
        {"*.*",
         {".hidden", "a.cpp", "b.CP", "c.s", "d.sy", "e.txt", "f", "g.", "h.tar.h", "i.h.txt",
          "j.Syl"}},
        {"*",
         {".hidden", "a.cpp", "b.CP", "c.s", "d.sy", "e.txt", "f", "g.", "h.tar.h", "i.h.txt",
          "j.Syl"}},
        {"",
         {".hidden", "a.cpp", "b.CP", "c.s", "d.sy", "e.txt", "f", "g.", "h.tar.h", "i.h.txt",
          "j.Syl"}},
    };
    for (const Case& c : cases) {
        scanned_.protocol.ResetContent();
        filter_ = c.filter;
        EXPECT_EQ(Walk(true).files, static_cast<int>(c.scanned.size())) << c.filter;
        EXPECT_EQ(ScannedFiles(), c.scanned) << c.filter;
    }
}

TEST_F(PathScanTest, SeveralRootsExclusionsAndPatternsChooseEachFileOnce) {
    const Strings tree = {"include/a.h",       "include/b.hpp",           "include/detail/c.h",
                          "include/tests/t.h", "third_party/z.h",         "examples/e.cpp",
                          "examples/README",   "examples/CMakeLists.txt", "include/link.h"};
    for (const std::string& name : tree) {
        if (name != "include/link.h") {
            dir_.Write(name, "");
        }
    }
    Link("a.h", "include/link.h");
    struct Case {
        Strings roots;
        std::string exclude;
        std::string patterns;
        std::string skipLinks;
        Strings scanned;
    };
    const std::string detail = dir_.File("include/detail");
    const Case cases[] = {
        // The extension filter's rule: an extensionless README passes, b.hpp does not.
        {{"include", "examples"}, "", "", "0", {"a.h", "c.h", "link.h", "t.h", "README", "e.cpp"}},
        // Patterns match the whole name, so README is left; a path and a pattern exclude.
        {{"include", "examples"},
         "*/tests/*|" + detail,
         "*.h|*.hpp|CMakeLists.txt",
         "0",
         {"a.h", "b.hpp", "link.h", "CMakeLists.txt"}},
        // Overlapping roots read a file once; a root that is a file is read whatever its name.
        {{"include", "include/detail", "examples/README"},
         "",
         "",
         "1",
         {"a.h", "c.h", "t.h", "README"}},
        // An excluded root and a pattern on the name alone.
        {{"third_party", "include/detail", "examples"},
         dir_.File("third_party") + "|e.*",
         "",
         "0",
         {"c.h", "README"}},
    };
    for (const Case& c : cases) {
        scanned_.protocol.ResetContent();
        scanned_.settings.Set(SYL_EXCLUDE, c.exclude);
        scanned_.settings.Set(SYL_FILE_PATTERNS, c.patterns);
        scanned_.settings.Set(SYL_EXCLUDE_SYMLINKS, c.skipLinks);
        ScanJob job = scanned_.Job(dir_.path());
        job.filter = filter_;
        Strings roots;
        for (const std::string& root : c.roots) {
            roots.push_back(dir_.File(root));
        }
        EXPECT_EQ(ScanPaths(job, roots, true).files, static_cast<int>(c.scanned.size()))
            << c.patterns;
        EXPECT_EQ(ScannedFiles(), c.scanned) << c.exclude << " " << c.patterns;
        // A watch asks file by file what the walk decided for the whole tree: the answers agree.
        const FileSelection selection(filter_, scanned_.settings);
        Strings read;
        for (const std::string& file : tree) {
            if (std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
                    return selection.ReadsBelow(root, dir_.File(file), true);
                })) {
                read.push_back(file.substr(file.rfind('/') + 1));
            }
        }
        Strings scanned = c.scanned;
        std::sort(read.begin(), read.end());
        std::sort(scanned.begin(), scanned.end());
        EXPECT_EQ(read, scanned) << c.exclude << " " << c.patterns;
    }
}

TEST_F(PathScanTest, AMissingDirectoryIsWarnedAboutAndCountsAsAFailure) {
    std::string missing = dir_.File("missing");
    ScanCounts counts = Walk(true, missing);
    EXPECT_EQ(counts.paths, 0);
    EXPECT_EQ(counts.files, 0);
    Strings expected = Header();
    expected.push_back("WARNING: No matching file found at path " + missing + "/*.* !");
    EXPECT_EQ(scanned_.ProtocolLines(), expected);
    EXPECT_EQ(scanned_.reporter.failureCount(), 1);

    // An empty directory is no failure.
    scanned_.protocol.ResetContent();
    dir_.Write("empty/.keep", "");
    EXPECT_EQ(Walk(true, dir_.File("empty")).paths, 1);
    EXPECT_EQ(scanned_.reporter.failureCount(), 1);
}

TEST_F(PathScanTest, LeavesTheItemsInSortKeyOrderWithTheFilesTimes) {
    dir_.Write("1.c", std::string("void Zeta(void);\n") + kBlock);
    dir_.Write("2.c", std::string("void alpha(void);\n") + kBlock +
                          "\nvoid Alpha(void);\n/**--\nGroup: Drawing\n--e*/\n");
    dir_.Write("3.c", std::string("void Beta(void);\n") + kBlock);
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir_.File("3.c").c_str(), times, 0), 0);

    (void)Walk(true);
    EXPECT_EQ(scanned_.Names(), (Strings{"Beta", "Zeta", "alpha", "Alpha"}));
    EXPECT_EQ(scanned_.items[0]->sourceTime, CZTTime(1000000000));
    EXPECT_EQ(scanned_.items[3]->group, "Drawing");
}

TEST_F(PathScanTest, FollowsDirectoryLinksButEntersNoDirectoryTwice) {
    dir_.Write("real/one.c", "");
    dir_.Write("real/inner/two.c", "");
    Link(dir_.path(), "real/inner/up");      // a cycle back to the root
    Link("../../real", "real/inner/again");  // a cycle back to a parent
    Link(dir_.File("real"), "alias");        // a second way into "real"
    EXPECT_EQ(Walk(true).files, 2);
    EXPECT_EQ(ScannedFiles(), (Strings{"two.c", "one.c"}));  // through "alias" only
    EXPECT_EQ(scanned_.reporter.failureCount(), 0);
}

TEST_F(PathScanTest, EntriesThatAreNoRegularFilesFailWithoutBlocking) {
    dir_.Write("good.c", std::string("void Good(void);\n") + kBlock);
    ASSERT_EQ(::mkfifo(dir_.File("pipe.c").c_str(), 0600), 0);
    Link(dir_.File("nowhere.c"), "dangling.c");
    EXPECT_EQ(Walk(true).files, 3);
    EXPECT_EQ(ScannedFiles(), (Strings{"dangling.c", "good.c", "pipe.c"}));
    Strings lines = scanned_.ProtocolLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "  ERROR: Cannot access file " + dir_.File("dangling.c") + " !"),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "  ERROR: Cannot access file " + dir_.File("pipe.c") + " !"),
              1);
    EXPECT_EQ(scanned_.reporter.failureCount(), 2);
    EXPECT_EQ(scanned_.Names(), (Strings{"Good"}));
}

}  // namespace
}  // namespace sylva
