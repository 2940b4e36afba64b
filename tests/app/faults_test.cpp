// Runs the `sylva` program into output places that are broken in every way a shared directory
// can be: the wrong kind of file where a directory, a page or the master index must go, a
// read-only or a full disk, sources that are no regular files, link cycles. Each case checks the
// ERROR lines, the exit status, that the run never blocks, and that nothing that was there
// before is lost.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "support/zt_string.h"
#include "test_support/process.h"
#include "test_support/scratch_dir.h"
#include "test_support/tmpfs_mount.h"

namespace sylva {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kSource =
    "/**--\n"
    "Description: Draws on the \"Canvas\".\n"
    "--e*/\n"
    "void Draw(int x);\n"
    "\n"
    "/**--\n"
    "Description: Where drawing happens.\n"
    "--e*/\n"
    "struct Canvas { int width; };\n"
    "\n";
const std::string kIndex = "out/SYLVA_MAIN_INDEX.HTML";

// The lines of a run's standard error that report a failure.
Strings ErrorLines(const std::string& err) {
    Strings lines;
    std::size_t from = 0;
    for (std::size_t lf = err.find('\n'); lf != std::string::npos;
         from = lf + 1, lf = err.find('\n', from)) {
        std::string line = err.substr(from, lf - from);
        if (line.find("ERROR:") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The records of the master index at `path`.
Strings Records(const std::string& path) {
    CZTStringArray records;
    Reporter reporter;
    (void)ReadMasterIndex(Settings(), reporter, path, records);
    return records.Lines();
}

// A directory with a source tree "src" and an output directory "out" that already holds the
// project "Other", as a shared output directory does.
class Workspace {
  public:
    Workspace() {
        dir.Write("src/draw.h", kSource);
        run.cwd = dir.path();
        run.environment = {"SOURCE_DATE_EPOCH=1700000000", "TZ=UTC"};
        run.timeoutSeconds = 30;
    }

    test::ProcessResult Sylva(const Strings& arguments) const {
        return test::RunProcess(SYLVA_BINARY, arguments, run);
    }

    test::ProcessResult Generate(const std::string& project,
                                 const std::string& scan = "src") const {
        return Sylva({"-PROJECT=" + project, "-SCAN=" + scan, "-OUT=out", "-FORCE"});
    }

    void GenerateOther() const { ASSERT_EQ(Generate("Other").status, 0); }

    // What the directory holds: every regular file with its content, and the master index's
    // records.
    struct Contents {
        std::map<std::string, std::string> files;
        Strings records;
    };
    Contents Snapshot() const { return {test::Tree(dir.path()), Records(dir.File(kIndex))}; }

    // Every file of `before` but the master index has its content still, and every record of
    // the master index is still listed.
    void ExpectNothingLost(const Contents& before, const std::string& label) const {
        const Contents after = Snapshot();
        for (const auto& [path, content] : before.files) {
            if (path != kIndex) {
                EXPECT_EQ(after.files.count(path) != 0 ? after.files.at(path) : "(missing)",
                          content)
                    << label << ": " << path;
            }
        }
        for (const std::string& record : before.records) {
            EXPECT_NE(std::find(after.records.begin(), after.records.end(), record),
                      after.records.end())
                << label << ": " << record;
        }
    }

    test::ScratchDir dir;
    test::ProcessOptions run;
};

void MakeFifo(const std::string& path) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

// A listening Unix socket at `path`; closing the descriptor leaves the socket file behind.
void MakeSocket(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path) << path;
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    ::close(fd);
}

TEST(Faults, OutputPlacesTakenByTheWrongKindOfFileFailWithErrorLinesAndLoseNothing) {
    struct Case {
        std::string name;
        std::function<void(Workspace&)> setup;
        std::string scan;
        Strings errors;
        // Pages that are still written.
        Strings written;
    };
    const Case cases[] = {
        // Without its directory a project gets no page and no master index record.
        {"the output path is a file",
         [](Workspace& w) { w.dir.Write("out", "a file where the output directory should be"); },
         "src",
         {"ERROR: Cannot create project directory out/Demo (Not a directory) !"},
         {}},
        {"a file stands where the project directory must go",
         [](Workspace& w) {
             w.GenerateOther();
             w.dir.Write("out/Demo", "a file where the project directory should be");
         },
         "src",
         {"ERROR: Cannot create project directory out/Demo (Not a directory) !"},
         {}},
        {"a page path is a directory",
         [](Workspace& w) {
             w.GenerateOther();
             w.dir.Write("out/Demo/SYLVA_Draw.html/kept.txt", "kept");
         },
         "src",
         {"    ERROR: Cannot access to HTML-file out/Demo/SYLVA_Draw.html ! (Is a directory)"},
         {"out/Demo/SYLVA_Canvas.html", "out/Demo/Demo_frame.HTML"}},
        {"a page path is a FIFO",
         [](Workspace& w) {
             w.GenerateOther();
             std::filesystem::create_directories(w.dir.File("out/Demo"));
             MakeFifo(w.dir.File("out/Demo/SYLVA_Draw.html"));
         },
         "src",
         {"    ERROR: Cannot access to HTML-file out/Demo/SYLVA_Draw.html ! (No such device or "
          "address)"},
         {"out/Demo/SYLVA_Canvas.html", "out/Demo/Demo_frame.HTML"}},
        {"a page path is a symbolic link to a file outside the project",
         [](Workspace& w) {
             w.GenerateOther();
             w.dir.Write("victim.txt", "not a page");
             std::filesystem::create_directories(w.dir.File("out/Demo"));
             ASSERT_EQ(
                 ::symlink("../../victim.txt", w.dir.File("out/Demo/SYLVA_Draw.html").c_str()), 0);
         },
         "src",
         {"    ERROR: Cannot access to HTML-file out/Demo/SYLVA_Draw.html ! (Too many levels of "
          "symbolic links)"},
         {"out/Demo/SYLVA_Canvas.html", "out/Demo/Demo_frame.HTML"}},
        {"the master index is a directory",
         [](Workspace& w) { w.dir.Write("out/SYLVA_MAIN_INDEX.HTML/kept.txt", "kept"); },
         "src",
         {"  ERROR: Cannot read master index out/SYLVA_MAIN_INDEX.HTML, it is left unchanged !"},
         {"out/Demo/SYLVA_Draw.html", "out/Demo/Demo_frame.HTML"}},
        {"the master index is a FIFO",
         [](Workspace& w) {
             std::filesystem::create_directories(w.dir.File("out"));
             MakeFifo(w.dir.File(kIndex));
         },
         "src",
         {"  ERROR: Cannot read master index out/SYLVA_MAIN_INDEX.HTML, it is left unchanged !"},
         {"out/Demo/SYLVA_Draw.html"}},
    };
    for (const Case& c : cases) {
        Workspace w;
        c.setup(w);
        const Workspace::Contents before = w.Snapshot();
        test::ProcessResult result = w.Generate("Demo", c.scan);
        EXPECT_FALSE(result.timedOut) << c.name;
        EXPECT_EQ(result.status, 1) << c.name << "\n" << result.err;
        EXPECT_EQ(ErrorLines(result.err), c.errors) << c.name << "\n" << result.err;
        for (const std::string& page : c.written) {
            EXPECT_TRUE(std::filesystem::is_regular_file(w.dir.File(page)))
                << c.name << ": " << page;
        }
        w.ExpectNothingLost(before, c.name);
        if (c.errors.front().starts_with("ERROR: Cannot create project directory")) {
            EXPECT_EQ(w.Snapshot().records, before.records) << c.name << ": a record of nothing";
        }
    }
}

// A scan path may name one file, as a Doxyfile's INPUT does: that file is read.
TEST(Faults, AScanPathThatIsAFileIsReadAsTheOneFile) {
    Workspace w;
    w.GenerateOther();
    const Workspace::Contents before = w.Snapshot();
    test::ProcessResult result = w.Generate("Demo", "src/draw.h");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(Records(w.dir.File(kIndex)).size(), 2u);
    w.ExpectNothingLost(before, "scan path");
}

TEST(Faults, AReadOnlyOutputDirectoryChangesNothing) {
    Workspace w;
    std::filesystem::create_directories(w.dir.File("out"));
    // Root may write anywhere the permissions say it may not, so root gets a read-only mount.
    test::TmpfsMount mount(w.dir.File("out"), 1 << 20);
    if (::geteuid() == 0 && !mount.mounted()) {
        GTEST_SKIP() << "running as root without permission to mount";
    }
    w.GenerateOther();
    if (mount.mounted()) {
        ASSERT_TRUE(mount.MakeReadOnly());
    } else {
        for (const char* directory : {"out", "out/Other"}) {
            std::filesystem::permissions(w.dir.File(directory),
                                         std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                                         std::filesystem::perm_options::remove);
        }
    }
    const std::map<std::string, std::string> before = test::Tree(w.dir.path());
    test::ProcessResult result = w.Generate("Demo");
    EXPECT_EQ(result.status, 1) << result.err;
    const std::string reason = mount.mounted() ? "Read-only file system" : "Permission denied";
    EXPECT_EQ(ErrorLines(result.err),
              (Strings{"ERROR: Cannot create project directory out/Demo (" + reason + ") !"}))
        << result.err;
    EXPECT_EQ(test::Tree(w.dir.path()), before);
}

// The files of `out` that a failed write could have left behind: temporaries of the master index.
Strings Temporaries(const Workspace& w) {
    Strings found;
    for (const std::string& entry : test::Entries(w.dir.File("out"))) {
        if (entry.find(".tmp.") != std::string::npos) {
            found.push_back(entry);
        }
    }
    return found;
}

void ExpectFailedWritesReported(const test::ProcessResult& result, const std::string& reason) {
    EXPECT_EQ(result.status, 1) << result.err;
    Strings errors = ErrorLines(result.err);
    for (const std::string& file : Strings{"out/Demo/SYLVA_Draw.html", kIndex}) {
        EXPECT_NE(std::find_if(errors.begin(), errors.end(),
                               [&](const std::string& line) {
                                   return line.find("ERROR: Cannot write file " + file +
                                                    " completely (" + reason + ") !") !=
                                          std::string::npos;
                               }),
                  errors.end())
            << file << "\n"
            << result.err;
    }
}

TEST(Faults, AFullDiskIsReportedAndTheMasterIndexKept) {
    Workspace w;
    std::filesystem::create_directories(w.dir.File("out"));
    test::TmpfsMount mount(w.dir.File("out"), 64 * 1024);
    if (!mount.mounted()) {
        GTEST_SKIP() << "cannot mount a small file system here; the file size limit test stands in";
    }
    w.GenerateOther();
    const std::string index = w.dir.Read(kIndex);
    {
        // Fill the disk to its last byte.
        std::FILE* filler = std::fopen(w.dir.File("out/filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
    test::ProcessResult result = w.Generate("Demo");
    ExpectFailedWritesReported(result, "No space left on device");
    EXPECT_EQ(w.dir.Read(kIndex), index);
    EXPECT_EQ(Temporaries(w), Strings{});
}

TEST(Faults, AWriteLimitIsReportedLikeAFullDiskAndTheMasterIndexKept) {
    Workspace w;
    w.dir.Write("src/draw.h",
                "/**--\nDescription: " + std::string(3000, 'd') + "\n--e*/\n" + kSource);
    w.GenerateOther();
    const std::string index = w.dir.Read(kIndex);
    w.run.fileSizeLimit = 1500;
    test::ProcessResult result = w.Sylva(
        {"-PROJECT=Demo", "-DESC=" + std::string(250, 'e'), "-SCAN=src", "-OUT=out", "-FORCE"});
    ExpectFailedWritesReported(result, "File too large");
    EXPECT_EQ(w.dir.Read(kIndex), index);
    EXPECT_EQ(Temporaries(w), Strings{});
}

TEST(Faults, SourcesThatCannotBeReadAreReportedWithoutBlocking) {
    Workspace w;
    MakeFifo(w.dir.File("src/pipe.h"));
    MakeSocket(w.dir.File("src/socket.h"));
    ASSERT_EQ(::symlink("nowhere.h", w.dir.File("src/gone.h").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/null", w.dir.File("src/null.h").c_str()), 0);
    ASSERT_EQ(::symlink("loop.h", w.dir.File("src/loop.h").c_str()), 0);
    // A regular file whose reading fails at once.
    ASSERT_EQ(::symlink("/proc/self/mem", w.dir.File("src/mem.h").c_str()), 0);
    test::ProcessResult result = w.Generate("Demo");
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(
        ErrorLines(result.err),
        (Strings{
            "  ERROR: Cannot access file src/gone.h !", "  ERROR: Cannot access file src/loop.h !",
            "  ERROR: Cannot read file src/mem.h completely (Input/output error) !",
            "  ERROR: Cannot access file src/null.h !", "  ERROR: Cannot access file src/pipe.h !",
            "  ERROR: Cannot access file src/socket.h !"}));
    EXPECT_TRUE(std::filesystem::is_regular_file(w.dir.File("out/Demo/SYLVA_Draw.html")));
    EXPECT_TRUE(std::filesystem::is_regular_file(w.dir.File("out/Demo/SYLVA_Canvas.html")));
}

TEST(Faults, SymbolicLinkCyclesAreWalkedOnce) {
    Workspace w;
    w.dir.Write("src/sub/more.h", "/**--\nDescription: more\n--e*/\nint More(void);\n");
    ASSERT_EQ(::symlink("..", w.dir.File("src/sub/up").c_str()), 0);
    ASSERT_EQ(::symlink(".", w.dir.File("src/self").c_str()), 0);
    ASSERT_EQ(::symlink("../sub", w.dir.File("src/sub/again").c_str()), 0);
    test::ProcessResult result =
        w.Sylva({"-PROJECT=Demo", "-SCAN=src", "-OUT=out", "-FORCE", "-VERBOSE"});
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0) << result.err;
    for (const char* line : {"  Scanning file draw.h...\n", "  Scanning file more.h...\n"}) {
        std::size_t first = result.out.find(line);
        EXPECT_NE(first, std::string::npos) << line;
        EXPECT_EQ(result.out.find(line, first + 1), std::string::npos) << line;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(w.dir.File("out/Demo/SYLVA_More.html")));
}

// True when every entry below `out` is the master index or lies directly in the project
// directory `projectDir`.
::testing::AssertionResult OnlyInsideTheProject(const std::string& out,
                                                const std::string& projectDir) {
    for (const std::string& entry : test::Entries(out)) {
        bool inProject =
            entry == projectDir || (entry.starts_with(projectDir + "/") &&
                                    entry.find('/', projectDir.size() + 1) == std::string::npos);
        if (!inProject && entry != "SYLVA_MAIN_INDEX.HTML" && entry != "index.html") {
            return ::testing::AssertionFailure() << "written outside the project: " << entry;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(HostileNames, ProjectNamesNeverLeadOutsideTheProjectDirectory) {
    // "<dir>_frameidx.HTML", the longest page name of a project, fits in 255 bytes.
    const std::string longest = std::string(241, 'p');
    struct Case {
        std::string name;
        std::string directory;  // empty: the name is refused before anything is written
    };
    const Case cases[] = {
        {"../../escape", ".._.._escape"},
        {"/abs/path", "_abs_path"},
        {"say \"hi\"", "say _hi_"},
        {"<b>bold</b>", "_b_bold__b_"},
        {"back\\slash:colon*star?", "back_slash_colon_star_"},
        {"ctl\x01\x1f\x7f", "ctl__\x7f"},
        {"line\nbreak", "line_break"},
        {"...", "..."},
        {"-rf", "-rf"},
        {longest, longest},
        // Its pages' names would not fit a file name: no page could be written.
        {longest + "p", ""},
        {std::string(256, 'q'), ""},
    };
    for (const Case& c : cases) {
        Workspace w;
        const std::map<std::string, std::string> sources = test::Tree(w.dir.File("src"));
        test::ProcessResult result = w.Generate(c.name);
        EXPECT_EQ(test::Tree(w.dir.File("src")), sources) << c.name;
        if (c.directory.empty()) {
            EXPECT_EQ(result.status, 2) << c.name << "\n" << result.err;
            EXPECT_NE(result.err.find("gives no usable directory name"), std::string::npos)
                << result.err;
            EXPECT_FALSE(std::filesystem::exists(w.dir.File("out"))) << c.name;
            continue;
        }
        EXPECT_EQ(result.status, 0) << c.name << "\n" << result.err;
        EXPECT_EQ(ErrorLines(result.err), Strings{}) << c.name;
        EXPECT_TRUE(OnlyInsideTheProject(w.dir.File("out"), c.directory)) << c.name;
        EXPECT_EQ(
            test::Entries(w.dir.path()).size(),
            test::Entries(w.dir.File("out")).size() + test::Entries(w.dir.File("src")).size() + 2)
            << c.name << ": only src and out in the working directory";
        Strings records = Records(w.dir.File(kIndex));
        ASSERT_EQ(records.size(), 1u) << c.name;
        CZTString shownName(c.name);
        shownName.FindReplace('\n', ' ');
        EXPECT_TRUE(records[0].starts_with("<!--" + shownName + "-->")) << c.name;
    }
}

TEST(HostileNames, ItemNamesNeverLeadOutsideTheProjectDirectoryAndTooLongOnesAreShortened) {
    const std::string fits(244, 'm');  // "SYLVA_" + 244 bytes + ".html" is 255 bytes
    const std::string tooLong(245, 'n');
    const std::string farTooLong(300, 'o');
    const Strings declarations = {
        "#define ../../../../tmp/escape 1",
        "// ../..",
        "// ..",
        "// /etc/passwd",
        "// \"quoted\" <script>alert</script> &amp; 'single'",
        "// ctl\x01\x02\x1b[31m",
        "// Gr\xf6\xdf"
        "e \xff",
        "// " + fits,
        "// " + tooLong,
        "// " + farTooLong,
    };
    Workspace w;
    std::string source;
    for (const std::string& declaration : declarations) {
        source += declaration + "\n/**--\nDescription: d\n--e*/\n\n";
    }
    w.dir.Write("src/hostile.h", source);
    test::ProcessResult result = w.Generate("Demo");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ErrorLines(result.err), Strings{});
    EXPECT_TRUE(OnlyInsideTheProject(w.dir.File("out"), "Demo"));
    // Every item has its page, and the project its three pages.
    const std::size_t pages = declarations.size() + 2 /* kSource */ + 3;
    EXPECT_EQ(test::Entries(w.dir.File("out/Demo")).size(), pages);
    // A name too long for a file keeps the longest prefix that fits, then a hash of the whole; the
    // index links to the page under that name.
    const std::string index = w.dir.Read("out/Demo/Demo.HTML");
    for (const std::string& name : {tooLong, farTooLong}) {
        const std::string kept = "SYLVA_" + name.substr(0, 227) + "-";
        std::string page;
        for (const std::string& entry : test::Entries(w.dir.File("out/Demo"))) {
            if (entry.starts_with(kept)) {
                page = entry;
            }
        }
        EXPECT_EQ(page.size(), 255u) << name.front();
        EXPECT_TRUE(page.ends_with(".html")) << page;
        EXPECT_NE(index.find("href=\"" + page + "\""), std::string::npos) << page;
    }
    for (const char* page : {"SYLVA__define .._.._.._.._tmp_escape 1.html", "SYLVA_.._...html",
                             "SYLVA_...html", "SYLVA_etc_passwd.html", "Demo_frame.HTML"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(w.dir.File("out/Demo/") + page)) << page;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(w.dir.File("out/Demo/SYLVA_" + fits + ".html")));
}

}  // namespace
}  // namespace sylva
