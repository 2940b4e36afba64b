// The watch's counting of bursts of file system events and its loop of re-runs, with scripted
// events instead of a file system; and the program's source of events on a real tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "app/inotify_source.h"
#include "app/tree_changes.h"
#include "app/watch.h"
#include "app/watch_inputs.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using Kind = FileEvent::Kind;

FileEvent File(Kind kind, std::string path) {
    return {kind, std::move(path), false};
}
FileEvent Directory(Kind kind, std::string path) {
    return {kind, std::move(path), true};
}

const std::vector<std::string> kKnown = {"s/a.h", "s/b.h", "s/d/c.h", "s/d-x/e.h", "s/page.html"};

// Only the headers count, as with the filter ".H"; a name without '.' passes as the scan's
// filter lets it.
TreeChanges Headers() {
    return TreeChanges(kKnown, [](std::string_view path) {
        return path.ends_with(".h") || path.substr(path.rfind('/') + 1).find('.') == path.npos;
    });
}

TEST(TreeChangesTest, ABurstCountsItsNetEffect) {
    struct Case {
        const char* what;
        std::vector<FileEvent> events;
        std::vector<std::string> changed, added, removed;
        const char* description;
    };
    const Case cases[] = {
        {"an editor's save: temporary file written, renamed into place",
         {File(Kind::kCreated, "s/a.h.tmp"), File(Kind::kWritten, "s/a.h.tmp"),
          File(Kind::kMovedAway, "s/a.h.tmp"), File(Kind::kMovedHere, "s/a.h")},
         {"s/a.h"},
         {},
         {},
         "s/a.h changed"},
        {"a save whose temporary name passes the filter",
         {File(Kind::kCreated, "s/4913"), File(Kind::kRemoved, "s/4913"),
          File(Kind::kCreated, "s/tmp9"), File(Kind::kWritten, "s/tmp9"),
          File(Kind::kMovedAway, "s/tmp9"), File(Kind::kMovedHere, "s/b.h")},
         {"s/b.h"},
         {},
         {},
         "s/b.h changed"},
        {"written twice",
         {File(Kind::kWritten, "s/a.h"), File(Kind::kWritten, "s/a.h")},
         {"s/a.h"},
         {},
         {},
         "s/a.h changed"},
        {"a new file and a removed one",
         {File(Kind::kCreated, "s/n.h"), File(Kind::kWritten, "s/n.h"),
          File(Kind::kRemoved, "s/b.h")},
         {},
         {"s/n.h"},
         {"s/b.h"},
         "1 added, 1 removed"},
        {"a rename",
         {File(Kind::kMovedAway, "s/a.h"), File(Kind::kMovedHere, "s/z.h")},
         {},
         {"s/z.h"},
         {"s/a.h"},
         "1 added, 1 removed"},
        {"made and removed again",
         {File(Kind::kCreated, "s/n.h"), File(Kind::kRemoved, "s/n.h")},
         {},
         {},
         {},
         ""},
        {"removed and made again",
         {File(Kind::kRemoved, "s/a.h"), File(Kind::kCreated, "s/a.h")},
         {"s/a.h"},
         {},
         {},
         "s/a.h changed"},
        {"a file the run does not read", {File(Kind::kWritten, "s/page.html")}, {}, {}, {}, ""},
        {"a directory moved away, not its neighbour \"d-x\"",
         {Directory(Kind::kMovedAway, "s/d")},
         {},
         {},
         {"s/d/c.h"},
         "s/d/c.h removed"},
        {"a directory removed after its files",
         {File(Kind::kRemoved, "s/d/c.h"), Directory(Kind::kRemoved, "s/d")},
         {},
         {},
         {"s/d/c.h"},
         "s/d/c.h removed"},
        {"a directory moved in, its files told as made",
         {Directory(Kind::kMovedHere, "s/m"), File(Kind::kCreated, "s/m/f.h"),
          File(Kind::kCreated, "s/m/g.h"), File(Kind::kWritten, "s/a.h")},
         {"s/a.h"},
         {"s/m/f.h", "s/m/g.h"},
         {},
         "1 changed, 2 added"},
        {"a file made in a directory that is moved away at once",
         {File(Kind::kCreated, "s/d/n.h"), Directory(Kind::kMovedAway, "s/d")},
         {},
         {},
         {"s/d/c.h"},
         "s/d/c.h removed"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        TreeChanges changes = Headers();
        for (const FileEvent& event : test.events) {
            changes.Add(event);
        }
        ChangeCount count = changes.Take();
        EXPECT_EQ(count.changed, test.changed);
        EXPECT_EQ(count.added, test.added);
        EXPECT_EQ(count.removed, test.removed);
        EXPECT_FALSE(count.lost);
        EXPECT_EQ(DescribeChanges(count), test.description);
        EXPECT_TRUE(changes.Take().Empty()) << "a burst is counted once";
    }
}

TEST(TreeChangesTest, WhatABurstAddedOrRemovedIsKnownToTheNext) {
    TreeChanges changes = Headers();
    changes.Add(File(Kind::kCreated, "s/n.h"));
    changes.Add(File(Kind::kRemoved, "s/a.h"));
    changes.Take();
    changes.Add(File(Kind::kWritten, "s/n.h"));
    changes.Add(File(Kind::kCreated, "s/a.h"));
    ChangeCount next = changes.Take();
    EXPECT_EQ(next.changed, std::vector<std::string>{"s/n.h"});
    EXPECT_EQ(next.added, std::vector<std::string>{"s/a.h"});

    changes.Add(File(Kind::kWritten, "s/a.h"));
    changes.Add(FileEvent{Kind::kLost, "", false});
    ChangeCount lost = changes.Take();
    EXPECT_TRUE(lost.lost);
    EXPECT_FALSE(lost.Empty());
    EXPECT_EQ(DescribeChanges(lost), "changes beyond count");
    changes.Restart({"s/q.h"});
    changes.Add(File(Kind::kWritten, "s/q.h"));
    changes.Add(File(Kind::kWritten, "s/a.h"));
    ChangeCount restarted = changes.Take();
    EXPECT_EQ(restarted.changed, std::vector<std::string>{"s/q.h"});
    EXPECT_EQ(restarted.added, std::vector<std::string>{"s/a.h"});
}

// Hands out scripted waits (an empty one is a quiet wait that ran out), then a stop request.
class ScriptedSource : public ChangeSource {
  public:
    explicit ScriptedSource(std::deque<Waited> script) : script_(std::move(script)) {}

    Waited Wait(std::optional<std::chrono::milliseconds> timeout) override {
        timeouts.push_back(timeout);
        if (script_.empty()) {
            return Waited{{}, true};
        }
        Waited next = std::move(script_.front());
        script_.pop_front();
        return next;
    }
    std::vector<std::string> Files() override {
        ++listings;
        return kKnown;
    }

    std::vector<std::optional<std::chrono::milliseconds>> timeouts;
    int listings = 0;

  private:
    std::deque<Waited> script_;
};

ChangeSource::Waited Events(std::vector<FileEvent> events) {
    return {std::move(events), false};
}
const ChangeSource::Waited kQuiet{};
const ChangeSource::Waited kStop{{}, true};

TEST(WatchTest, ReRunsOnceAfterEachBurstThatChangedAFileTheRunReads) {
    const FileEvent save[] = {File(Kind::kCreated, "s/a.h.tmp"), File(Kind::kWritten, "s/a.h.tmp"),
                              File(Kind::kMovedAway, "s/a.h.tmp"), File(Kind::kMovedHere, "s/a.h")};
    struct Case {
        const char* what;
        std::deque<ChangeSource::Waited> script;
        BurstTiming timing;
        std::vector<std::string> lines;  // the start of each line told
        int status;                      // the status WatchForChanges returns
        int listings;
    };
    const BurstTiming standard;
    const BurstTiming never{std::chrono::milliseconds(30), std::chrono::milliseconds(0)};
    const Case cases[] = {
        {"a save spread over three waits",
         {Events({save[0]}), Events({save[1], save[2]}), Events({save[3]}), kQuiet},
         standard,
         {"Re-run after s/a.h changed: 4 files written, 1 removed, "},
         7,
         0},
        {"two bursts",
         {Events({save[3]}), kQuiet, Events({File(Kind::kRemoved, "s/b.h")}), kQuiet},
         standard,
         {"Re-run after s/a.h changed: ", "Re-run after s/b.h removed: "},
         8,
         0},
        {"a burst that never goes quiet is cut",
         {Events({save[3]}), Events({File(Kind::kRemoved, "s/b.h")}), kQuiet},
         never,
         {"Re-run after s/a.h changed: ", "Re-run after s/b.h removed: "},
         8,
         0},
        {"only files the run does not read",
         {Events({File(Kind::kWritten, "s/page.html"), File(Kind::kCreated, "s/x.h"),
                  File(Kind::kRemoved, "s/x.h")}),
          kQuiet},
         standard,
         {},
         1,
         0},
        {"stopped within a burst: not run", {Events({save[3]}), kStop}, standard, {}, 1, 0},
        {"lost events: a run, and the files listed anew",
         {Events({FileEvent{Kind::kLost, "", false}}), kQuiet},
         standard,
         {"Re-run after changes beyond count: "},
         7,
         1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        ScriptedSource source(test.script);
        TreeChanges changes = Headers();
        int runs = 0;
        std::vector<std::string> told;
        const int status = WatchForChanges(
            source, changes, test.timing,
            [&](const ChangeCount&) {
                ++runs;
                RerunResult result;
                result.summary.filesWritten = 4;
                result.summary.filesRemoved = 1;
                result.status = 6 + runs;
                return result;
            },
            [&](std::string_view line) { told.emplace_back(line); }, 1);
        EXPECT_EQ(status, test.status);
        EXPECT_EQ(source.listings, test.listings);
        ASSERT_EQ(told.size(), test.lines.size());
        for (std::size_t i = 0; i < told.size(); ++i) {
            EXPECT_TRUE(told[i].starts_with(test.lines[i])) << told[i];
            EXPECT_TRUE(told[i].ends_with(" ms.")) << told[i];
        }
        // A burst begins with a wait without a time limit; its end is waited for quietly.
        ASSERT_FALSE(source.timeouts.empty());
        EXPECT_FALSE(source.timeouts.front().has_value());
        if (source.timeouts.size() > 1 && source.timeouts[1]) {
            EXPECT_EQ(*source.timeouts[1], test.timing.quiet);
        }
    }
}

// The images and examples come from outside the scan path; the Doxyfile named is watched for
// although it is not there yet.
TEST(WatchInputsTest, CountsWhatTheScanReadsOrShowsAndTheSettingsFilesNamed) {
    test::ScratchDir dir;
    MainFields fields;
    fields.scanPath = dir.File("src");
    fields.options.configFile = dir.Write("sylva.ini", "");
    fields.settingOverrides = {{SYL_FILE_PATTERNS, "*.hh|*.md"},
                               {SYL_EXCLUDE, "*/detail/*"},
                               {SYL_IMAGE_PATH, dir.File("img")},
                               {SYL_EXAMPLE_PATH, dir.File("ex") + "|" + dir.File("one.txt")},
                               {SYL_EXAMPLE_PATTERNS, "*.cpp"}};
    const WatchInputs inputs(fields, dir.File("Doxyfile.absent"));
    EXPECT_EQ(inputs.Roots(), (std::vector<WatchRoot>{{dir.File("src"), true, false},
                                                      {dir.File("img"), true, true},
                                                      {dir.File("ex"), true, true},
                                                      {dir.File("one.txt"), true, true},
                                                      {dir.File("sylva.ini"), false, true},
                                                      {dir.File("Doxyfile.absent"), false, true}}));
    const std::pair<std::string, bool> cases[] = {
        {"src/a.hh", true},         {"src/sub/guide.md", true}, {"src/a.h", false},
        {"src/detail/b.hh", false}, {"src.hh", false},          {"sylva.ini", true},
        {"src/../sylva.ini", true}, {"Doxyfile.absent", true},  {"img/logo.png", true},
        {"img/sub/a.svg", true},    {"img-x/logo.png", false},  {"ex/hello.cpp", true},
        {"ex/sub/deep.cpp", true},  {"ex/notes.txt", false},    {"one.txt", true},
        {"src/../img/b.png", true}, {"two.txt", false},
    };
    for (const auto& [path, counts] : cases) {
        EXPECT_EQ(inputs.Counts(dir.File(path)), counts) << path;
    }
}

// The paths of the events that come until the source has been quiet for a while, in order.
std::vector<std::string> QuietEventPaths(InotifySource& source) {
    std::vector<std::string> paths;
    for (ChangeSource::Waited waited = source.Wait(std::chrono::milliseconds(200));
         !waited.events.empty(); waited = source.Wait(std::chrono::milliseconds(200))) {
        for (const FileEvent& event : waited.events) {
            paths.push_back(event.path);
        }
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

TEST(InotifySourceTest, WatchesEveryScanPathAndAFileScanPathForItselfAlone) {
    test::ScratchDir dir;
    dir.Write("a/x.h", "");
    dir.Write("b/sub/y.h", "");
    dir.Write("c/z.h", "");
    dir.Write("c/beside.h", "");
    // The file root inside a directory root needs no watch of its own and is listed once.
    const std::vector<std::string> roots = {dir.File("a"), dir.File("b"), dir.File("c/z.h"),
                                            dir.File("a/x.h")};
    std::vector<std::string> warnings;
    std::vector<WatchRoot> watchRoots;
    for (const std::string& root : roots) {
        watchRoots.push_back({root, true, false});
    }
    InotifySource source(watchRoots, "",
                         [&](std::string_view line) { warnings.emplace_back(line); });
    ASSERT_TRUE(source.ok());
    std::vector<std::string> files = source.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{dir.File("a/x.h"), dir.File("b/sub/y.h"),
                                               dir.File("c/z.h")}));

    dir.Write("b/sub/y.h", "changed");
    dir.Write("c/beside.h", "not scanned");
    dir.Write("c/z.h", "changed");
    dir.Write("a/new.h", "added");
    EXPECT_EQ(
        QuietEventPaths(source),
        (std::vector<std::string>{dir.File("a/new.h"), dir.File("b/sub/y.h"), dir.File("c/z.h")}));
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

TEST(InotifySourceTest, AScanPathThatDoesNotExistIsToldAndNothingIsWatched) {
    test::ScratchDir dir;
    dir.Write("a/x.h", "");
    std::vector<std::string> warnings;
    InotifySource source({{dir.File("a"), true, false},
                          {dir.File("gone"), true, false},
                          {dir.File("no-images"), true, true}},
                         "", [&](std::string_view line) { warnings.emplace_back(line); });
    EXPECT_FALSE(source.ok());
    EXPECT_EQ(warnings, std::vector<std::string>{"WARNING: Cannot watch " + dir.File("gone") +
                                                 " (No such file or directory) !"});
    // An optional place that is not there (an image path named but never made) is no fault.
    warnings.clear();
    InotifySource optional({{dir.File("a"), true, false}, {dir.File("no-images"), true, true}}, "",
                           [&](std::string_view line) { warnings.emplace_back(line); });
    EXPECT_TRUE(optional.ok());
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

// A configuration file made after watching began is seen; each root recurses as it says.
TEST(InotifySourceTest, AnOptionalFileIsWatchedForItsMakingAndEachRootRecursesAsItSays) {
    test::ScratchDir dir;
    dir.Write("flat/x.h", "");
    dir.Write("flat/sub/hidden.h", "");
    dir.Write("img/sub/logo.png", "");
    dir.Write("cfg/beside.txt", "");
    std::vector<std::string> warnings;
    InotifySource source({{dir.File("flat"), false, false},
                          {dir.File("img"), true, false},
                          {dir.File("cfg/sylva.ini"), false, true},
                          {dir.File("nowhere/sylva.ini"), false, true}},
                         "", [&](std::string_view line) { warnings.emplace_back(line); });
    ASSERT_TRUE(source.ok());
    std::vector<std::string> files = source.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files,
              (std::vector<std::string>{dir.File("flat/x.h"), dir.File("img/sub/logo.png")}));

    dir.Write("flat/sub/hidden.h", "not watched");
    dir.Write("img/sub/logo.png", "changed");
    dir.Write("cfg/beside.txt", "not watched");
    dir.Write("cfg/sylva.ini", "made");
    EXPECT_EQ(QuietEventPaths(source),
              (std::vector<std::string>{dir.File("cfg/sylva.ini"), dir.File("img/sub/logo.png")}));
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

}  // namespace
}  // namespace sylva
