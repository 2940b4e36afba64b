// Runs that keep a cache: after any sequence of edits, a run into the project gives the bytes,
// warnings and protocol of a full run into an empty directory; runs at once take turns, and a run
// killed at any moment is followed by one that comes out as a full run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine.h"
#include "engine/run_proof.h"
#include "engine/source_memo.h"
#include "support/cache_store.h"
#include "support/digest.h"
#include "support/file_stamp.h"
#include "test_support/recording_diagnostics.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

// Every file below `directory` by its relative path, with its bytes.
Tree ReadTree(const std::string& directory) {
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        if (entry.is_regular_file()) {
            tree[fs::relative(entry.path(), directory).string()] =
                test::ReadFile(entry.path().string());
        }
    }
    return tree;
}

void WriteFile(const std::string& path, std::string_view content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// The sources and settings a run reads, as the edits change them.
struct Sources {
    std::map<std::string, std::string> files;   // by path below the scan directory
    std::map<std::string, std::string> images;  // files that comments show, not sources
    std::string config;                         // configuration lines
    RunOptions options;
};

constexpr std::string_view kStyleKey = "SYL_COMMENT_STYLE=";

// Doxygen comments whose items depend on other files: a group defined in two files under two
// titles and added to from two more, a declaration documented again at its definition, texts copied
// across files, a function related to a class of another file, a brief that links to an item of
// another file (which the project index shows too), and an image beside the source.
const std::map<std::string, std::string> kDoxygenFiles = {
    {"dir0/pond.h",
     "/** @defgroup pond Pond care\n * Item groups.\n * @{ */\n"
     "/** Item fills the pond, as shown: ![the pond](pic.png)\n * @param value litres */\n"
     "int FPond(int value);\n/** @} */\n"
     "/** Item keeps a pond. */\nstruct FKeeper {\n    int depth; ///< in cm\n};\n"},
    {"dir1/pond.c",
     "/** Item defined here, and more: @copydoc F0I0Twin */\nint FPond(int value) { return value; "
     "}\n"
     "/** @relates FKeeper\n * Item waters what the keeper keeps. */\nint FWater(int value);\n"},
    {"dir1/more.h",
     "/** @defgroup pond Ponds again */\n"
     "/** @ingroup pond\n * Item more: @copydoc FPond\n * @copybrief FWater */\n"
     "int FMore(int value);\n/** Item also shows ![the pond](../dir0/pic.png). */\n"
     "int FShow(int value);\n"},
    {"dir0/tide.h",
     "/** @addtogroup pond\n * Item tides join the pond's group.\n * @{ */\n/** Item rises with "
     "@ref FPond. */\n"
     "int FTide(int value);\n/** @} */\n"},
    {"dir1/wave.h",
     "/** @addtogroup pond Waves\n * Item waves join it too. */\n/** Item breaks. @ingroup pond "
     "*/\n"
     "int FWave(int value);\n"},
};

// One item of the default style: `name` with a description that quotes `quoted` and a See also
// entry for `seeAlso`.
std::string Block(const std::string& name, const std::string& text, const std::string& quoted,
                  const std::string& seeAlso, const std::string& group) {
    return "/**--\nDescription: " + text + " Uses \"" + quoted + "\".\nGroup: " + group +
           "\nSee also: " + seeAlso + "\n--e*/\nint " + name + "(int value);\n\n";
}

// Also documented in the doxygen style, so that a change of style changes every page.
std::string DoxygenBlock(const std::string& name, const std::string& text) {
    return "/** " + text + "\n * @param value the value\n * @sa " + name + "Twin\n */\nint " +
           name + "Twin(int value);\n\n";
}

std::string SourceFile(int file, int items, std::mt19937& random,
                       const std::vector<std::string>& names) {
    std::string text;
    for (int item = 0; item < items; ++item) {
        const std::string name = "F" + std::to_string(file) + "I" + std::to_string(item);
        text += Block(name, "Item " + name + ".", names[random() % names.size()],
                      names[random() % names.size()], item % 2 ? "Odd" : "Even");
        text += DoxygenBlock(name, "The twin of " + name + ".");
    }
    // A repeated name across files gives numbered pages.
    text +=
        Block("Shared", "Shared in file " + std::to_string(file) + ".", "Shared", "F0I0", "Even");
    return text;
}

class IncrementalRun : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
    void TearDown() override { ::unsetenv("SOURCE_DATE_EPOCH"); }

    void WriteSources() const {
        fs::remove_all(dir_.File("src"));
        for (const auto& [path, text] : sources_.files) {
            dir_.Write("src/" + path, text);
        }
        for (const auto& [path, bytes] : sources_.images) {
            dir_.Write("src/" + path, bytes);
        }
    }

    struct Outcome {
        RunResult result;
        std::vector<std::string> warnings;
        std::vector<std::string> protocol;
        RunSummary summary;
    };

    Outcome RunInto(const std::string& output, const std::string& cache,
                    bool rebuild = false) const {
        Settings settings;
        (void)LoadConfig(settings, dir_.Write("config.ini", sources_.config), nullptr);
        Outcome outcome;
        MemoryListBox protocol;
        test::RecordingDiagnostics diagnostics;
        Reporter reporter(&protocol, nullptr, &diagnostics);
        RunInputs inputs{dir_.File("src"), "INDEX.HTML", "Garden", output,
                         ".H|.C",          "A garden",   1,        1};
        inputs.cache = {cache, rebuild};
        inputs.summary = &outcome.summary;
        outcome.result = sylva::Run(inputs, settings, sources_.options, reporter);
        outcome.warnings = diagnostics.warnings;
        for (const std::string& line : protocol.Lines()) {
            // A run into an empty directory finds no master index; a later one finds its own.
            if (line.find("Read HTML master index") != std::string::npos) {
                break;
            }
            if (line.find("Cache in") == std::string::npos) {
                outcome.protocol.push_back(line.find(output) == std::string::npos
                                               ? line
                                               : line.substr(0, line.find(output)));
            }
        }
        return outcome;
    }

    // Runs into the project with the cache, then a full run into an empty directory, and expects
    // both to give the same bytes, warnings and protocol.
    Outcome ExpectSameAsFullRun(const std::string& step) const {
        Outcome kept = RunInto(dir_.File("out"), dir_.File("cache"));
        const std::string fresh = dir_.File("full" + std::to_string(fullRuns_++));
        Outcome full = RunInto(fresh, fresh + "-cache");
        EXPECT_EQ(ReadTree(dir_.File("out")), ReadTree(fresh)) << step;
        EXPECT_EQ(kept.warnings, full.warnings) << step;
        // The first line where the protocols part, when they do.
        auto [keptLine, fullLine] = std::mismatch(kept.protocol.begin(), kept.protocol.end(),
                                                  full.protocol.begin(), full.protocol.end());
        EXPECT_TRUE(keptLine == kept.protocol.end() && fullLine == full.protocol.end())
            << step << ": " << (keptLine == kept.protocol.end() ? "(end)" : *keptLine) << " | "
            << (fullLine == full.protocol.end() ? "(end)" : *fullLine);
        fs::remove_all(fresh);
        fs::remove_all(fresh + "-cache");
        return kept;
    }

    // The records of the output files in the project's cache (or those of `table`), by path.
    Tree PageRecords(CacheTable table = CacheTable::kPages) const {
        Tree records;
        for (const auto& entry : fs::directory_iterator(dir_.File("cache"))) {
            OpenedStore opened = OpenSqliteStore(entry.path().string());
            EXPECT_NE(opened.store, nullptr) << opened.problem;
            if (opened.store != nullptr) {
                opened.store->ForEach(table, [&](std::string_view path, std::string_view record) {
                    records.emplace(path, record);
                });
            }
        }
        return records;
    }

    // Puts `value` in place of every record of `table` in the project's cache.
    void OverwriteRecords(CacheTable table, std::string_view value) const {
        const Tree records = PageRecords(table);
        for (const auto& entry : fs::directory_iterator(dir_.File("cache"))) {
            OpenedStore opened = OpenSqliteStore(entry.path().string());
            ASSERT_NE(opened.store, nullptr) << opened.problem;
            opened.store->Begin();
            for (const auto& record : records) {
                opened.store->Put(table, record.first, value);
            }
            opened.store->Commit();
        }
    }

    test::ScratchDir dir_;
    Sources sources_;
    mutable int fullRuns_ = 0;
};

// A record comes with the record of the other table under its key, when there is one.
TEST(SqliteStore, ForEachWithPairsEachRecordWithItsNeighbourOfTheSameKey) {
    test::ScratchDir dir;
    OpenedStore opened = OpenSqliteStore(dir.File("cache.sqlite"));
    ASSERT_NE(opened.store, nullptr) << opened.problem;
    CacheStore& store = *opened.store;
    store.Begin();
    store.Put(CacheTable::kPages, "a", "page a");
    store.Put(CacheTable::kPages, "b", "");
    store.Put(CacheTable::kPageLookups, "a", "lookups a");
    store.Put(CacheTable::kPageLookups, "c", "lookups c");
    store.Commit();
    std::map<std::string, std::pair<std::string, std::optional<std::string>>> seen;
    store.ForEachWith(
        CacheTable::kPages, CacheTable::kPageLookups,
        [&](std::string_view key, std::string_view value, std::optional<std::string_view> beside) {
            seen[std::string(key)] = {std::string(value),
                                      beside ? std::optional<std::string>(*beside) : std::nullopt};
        });
    using Seen = decltype(seen);
    EXPECT_EQ(seen, (Seen{{"a", {"page a", "lookups a"}}, {"b", {"", std::nullopt}}}));
    EXPECT_TRUE(store.failure().empty());
}

// A file is read in pieces: one larger than a piece, one that fills a piece exactly and an empty
// one digest as their whole bytes do; a missing file or a directory gives nothing.
// A later, shorter proof leaves none of a longer one's records behind, and a run that is killed
// after it began leaves no proof, however much of the last one's records it left as they were.
TEST(RunProof, AShorterProofLeavesNoRecordsAndAnUnfinishedOneProvesNothing) {
    test::ScratchDir dir;
    const std::string page = dir.Write("page.html", "x");
    OpenedStore opened = OpenSqliteStore(dir.File("cache.sqlite"));
    ASSERT_NE(opened.store, nullptr) << opened.problem;
    CacheStore& store = *opened.store;
    const Digest key = Hasher().Text("run").Finish();
    const auto records = [&] {
        std::size_t count = 0;
        store.ForEach(CacheTable::kProof, [&](std::string_view, std::string_view) { ++count; });
        return count;
    };
    const auto prove = [&](int lines, bool finish) {
        RunProof proof(store);
        store.Begin();
        proof.Begin();
        for (int i = 0; i < lines; ++i) {
            proof.Protocol("line " + std::to_string(i));
            proof.Output(page, StampOfEntry(page));
        }
        if (finish) {
            proof.Finish(key, {lines, 1});
        }
        store.Commit();
    };
    prove(5000, true);
    EXPECT_GT(records(), 3u);
    ASSERT_TRUE(ProvenUnchanged(store, key));
    prove(10, true);
    EXPECT_EQ(records(), 3u);  // the head, one record of outputs and one of the report
    ASSERT_TRUE(ProvenUnchanged(store, key));
    EXPECT_EQ(ProvenUnchanged(store, key)->items, 10);
    prove(10, false);
    EXPECT_FALSE(ProvenUnchanged(store, key));
}

TEST(DigestOfFile, IsTheDigestOfTheWholeFileReadInPieces) {
    test::ScratchDir dir;
    for (const std::size_t size : {std::size_t{200001}, std::size_t{65536}, std::size_t{0}}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>('a' + i % 23);
        }
        const std::string path = dir.Write("f" + std::to_string(size), bytes);
        EXPECT_EQ(DigestOfFile(path), Hasher().Bytes(bytes).Finish()) << size;
    }
    EXPECT_EQ(DigestOfFile(dir.File("missing")), std::nullopt);
    EXPECT_EQ(DigestOfFile(dir.path()), std::nullopt);
}

TEST_F(IncrementalRun, AnySequenceOfEditsGivesTheBytesOfAFullRun) {
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        sources_ = Sources();
        std::vector<std::string> names = {"F0I0", "F1I1", "Missing", "f0i0"};
        for (int file = 0; file < 3; ++file) {
            sources_.files["dir" + std::to_string(file % 2) + "/f" + std::to_string(file) + ".h"] =
                SourceFile(file, 3, random, names);
        }
        sources_.files.insert(kDoxygenFiles.begin(), kDoxygenFiles.end());
        sources_.images["dir0/pic.png"] = "png 1";
        if (seed % 2 != 0) {
            sources_.config = std::string(kStyleKey) + "doxygen\n";
        }
        fs::remove_all(dir_.File("out"));
        fs::remove_all(dir_.File("cache"));
        WriteSources();
        ExpectSameAsFullRun("first run, seed " + std::to_string(seed));
        // One of the files that add to a group changes; the group's page holds the texts of all.
        sources_.files["dir0/tide.h"].replace(sources_.files["dir0/tide.h"].find("tides"), 5,
                                              "ebbs");
        WriteSources();
        ExpectSameAsFullRun("a group's text edited, seed " + std::to_string(seed));
        if (seed % 2 != 0) {
            const Tree pages = ReadTree(dir_.File("out"));
            EXPECT_TRUE(std::any_of(
                pages.begin(), pages.end(),
                [](const auto& page) {
                    return page.second.find("Item groups.") != std::string::npos &&
                           page.second.find("Item ebbs join") != std::string::npos &&
                           page.second.find("Item waves join it too.") != std::string::npos;
                }))
                << "seed " << seed;
        }
        for (int step = 0; step < 12; ++step) {
            auto file = std::next(sources_.files.begin(),
                                  static_cast<long>(random() % sources_.files.size()));
            std::string what;
            switch (random() % 9) {
                case 0:  // change one comment
                    file->second.replace(file->second.find("Item "), 5, "Thing ");
                    what = "comment changed in " + file->first;
                    break;
                case 1: {  // rename an item, so that links to it change elsewhere
                    std::size_t at = file->second.find("int F");
                    file->second.insert(at + 4, "R");
                    what = "item renamed in " + file->first;
                    break;
                }
                case 2:  // add a file
                    sources_.files["dir1/new" + std::to_string(step) + ".h"] =
                        SourceFile(7 + step, 2, random, names);
                    what = "file added";
                    break;
                case 3:  // delete a file
                    if (sources_.files.size() > 1) {
                        what = "deleted " + file->first;
                        sources_.files.erase(file);
                    }
                    break;
                case 4:  // a setting and the configuration
                    sources_.config += random() % 2 ? "SYL_HTML_SEARCH=1\n" : "SYL_Q_AUTHOR=By:\n";
                    what = "configuration changed";
                    break;
                case 5:
                    sources_.options.alphaIndex = 1 - sources_.options.alphaIndex;
                    what = "option changed";
                    break;
                case 6: {
                    // Lines of one key join, so the style's line is replaced.
                    const std::size_t line = sources_.config.find(kStyleKey);
                    if (line != std::string::npos) {
                        sources_.config.erase(line, sources_.config.find('\n', line) + 1 - line);
                    }
                    sources_.config +=
                        std::string(kStyleKey) + (random() % 2 ? "doxygen\n" : "sylva\n");
                    what = "style changed";
                    break;
                }
                case 7: {  // the image changes, goes or comes back
                    auto image = sources_.images.find("dir0/pic.png");
                    if (image == sources_.images.end()) {
                        sources_.images["dir0/pic.png"] = "png back";
                        what = "image back";
                    } else if (random() % 2 != 0) {
                        image->second += " changed";
                        what = "image changed";
                    } else {
                        sources_.images.erase(image);
                        what = "image removed";
                    }
                    break;
                }
                default: {  // touch a file without changing it
                    const fs::path path = dir_.File("src/" + file->first);
                    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
                    what = "touched " + file->first;
                    ExpectSameAsFullRun(what + ", seed " + std::to_string(seed));
                    continue;
                }
            }
            WriteSources();
            ExpectSameAsFullRun(what + ", seed " + std::to_string(seed));
        }
    }
}

TEST_F(IncrementalRun, ALinkThroughAClassFollowsItsBasesWhenOnlyTheBasesChange) {
    sources_.config = std::string(kStyleKey) + "doxygen\n";
    sources_.files["dir0/shape.h"] =
        "/** One base. */\nclass Base1 {\n  public:\n    /** Draws one way. */\n"
        "    void draw();\n};\n/** Another base. */\nclass Base2 {\n  public:\n"
        "    /** Draws another way. */\n    void draw();\n};\n"
        "/** A ring. */\nclass Ring : public Base1 {};\n";
    // Another file's page names the member through the derived class: its link leads to the
    // base that has it, and must follow when only the bases change, every name staying.
    sources_.files["dir1/use.h"] = "/** Calls Ring::draw() first. */\nint FUse(int value);\n";
    const auto runLeadingTo = [&](const char* base, const std::string& step) {
        WriteSources();
        ExpectSameAsFullRun(step);
        EXPECT_NE(dir_.Read("out/Garden/SYLVA_FUse.html")
                      .find(std::string("SYLVA_") + base + "__draw.html"),
                  std::string::npos)
            << step;
    };
    const auto derive = [&](const char* from, const char* to) {
        std::string& shape = sources_.files["dir0/shape.h"];
        shape.replace(shape.find(from), std::strlen(from), to);
    };
    runLeadingTo("Base1", "first run");
    derive("public Base1", "public Base2");
    runLeadingTo("Base2", "the base changed");
    // The lookups are kept apart from the pages' records; spoilt, they cannot tell that a page
    // still holds, and every page whose names changed is built again.
    ASSERT_FALSE(PageRecords(CacheTable::kPageLookups).empty());
    OverwriteRecords(CacheTable::kPageLookups, "spoilt");
    derive("public Base2", "public Base1");
    runLeadingTo("Base1", "the lookups spoilt");
}

// A file whose bytes change but whose items do not leaves the project index fresh: the class
// hierarchy it leads to still tells that it is too deep, as every run that shows it does.
TEST_F(IncrementalRun, AFreshIndexKeepsTheWarningOfAHierarchyTooDeep) {
    sources_.config = std::string(kStyleKey) + "doxygen\n";
    std::string chain = "/** Link 0. */\nclass D0 {};\n";
    for (int i = 1; i <= 70; ++i) {
        chain += "/** Link " + std::to_string(i) + ". */\nclass D" + std::to_string(i) +
                 " : public D" + std::to_string(i - 1) + " {};\n";
    }
    sources_.files["dir0/chain.h"] = chain;
    sources_.files["dir1/other.h"] = "/** Another. */\nint FOther(int value);\n";
    WriteSources();
    // An item keeps its file's time to the second: the file is written again within the same one.
    const std::string other = dir_.File("src/dir1/other.h");
    const fs::file_time_type written =
        std::chrono::floor<std::chrono::seconds>(fs::last_write_time(other));
    fs::last_write_time(other, written);
    const auto tellsTooDeep = [](const std::vector<std::string>& warnings) {
        return std::count_if(warnings.begin(), warnings.end(), [](const std::string& warning) {
            return warning.find("levels deep") != std::string::npos;
        });
    };
    EXPECT_EQ(tellsTooDeep(ExpectSameAsFullRun("first run").warnings), 1);
    // Only this file is written again: the others keep their stamps.
    sources_.files["dir1/other.h"] += "// No item of its own.\n";
    dir_.Write("src/dir1/other.h", sources_.files["dir1/other.h"]);
    fs::last_write_time(other, written + std::chrono::milliseconds(500));
    const Outcome rerun = ExpectSameAsFullRun("a comment that is no item");
    EXPECT_EQ(tellsTooDeep(rerun.warnings), 1);
    EXPECT_EQ(rerun.summary.pagesBuilt, 0);
}

TEST_F(IncrementalRun, ASecondRunWithNothingChangedReadsBuildsAndWritesNothing) {
    std::mt19937 random(7);
    std::vector<std::string> names = {"F0I0", "F1I1", "Missing"};
    sources_.config = "SYL_HTML_SEARCH=1\n";
    sources_.files["a.h"] = SourceFile(0, 3, random, names);
    sources_.files["b.h"] = SourceFile(1, 3, random, names);
    WriteSources();
    // The sources are written anew before each run: their times are set back, as the items
    // show them, so that only the edited file changes.
    const auto sourceTime = fs::last_write_time(dir_.File("src/a.h"));
    const Outcome first = ExpectSameAsFullRun("first");
    EXPECT_EQ(first.summary.sourcesRead, 2);
    const fs::path page = dir_.File("out/Garden/SYLVA_F0I0.html");
    const auto written = fs::last_write_time(page);
    const Tree records = PageRecords();
    const Outcome second = ExpectSameAsFullRun("second");
    EXPECT_EQ(PageRecords(), records);
    EXPECT_EQ(second.summary.sourcesRead, 0);
    EXPECT_EQ(second.summary.sourcesReused, 2);
    EXPECT_EQ(second.summary.pagesBuilt, 0);
    EXPECT_EQ(second.summary.filesWritten, 0);
    EXPECT_EQ(fs::last_write_time(page), written);

    // One comment: only its page and the index that shows its description are built and written.
    sources_.files["b.h"].replace(sources_.files["b.h"].find("Item F1I2."), 10, "Item F1I2!");
    WriteSources();
    fs::last_write_time(dir_.File("src/a.h"), sourceTime);
    fs::last_write_time(dir_.File("src/b.h"), sourceTime);
    const Outcome third = ExpectSameAsFullRun("one comment");
    EXPECT_EQ(third.summary.sourcesRead, 1);
    EXPECT_LE(third.summary.pagesBuilt, 2);
    EXPECT_EQ(fs::last_write_time(page), written);
    // Only the records of the files built or written anew change.
    const Tree renewed = PageRecords();
    ASSERT_EQ(renewed.size(), records.size());
    const auto same = std::count_if(renewed.begin(), renewed.end(), [&](const auto& record) {
        return records.at(record.first) == record.second;
    });
    EXPECT_LE(renewed.size() - static_cast<std::size_t>(same),
              static_cast<std::size_t>(third.summary.pagesBuilt + third.summary.filesWritten));

    // A page of an item that is gone is removed.
    sources_.files.erase("b.h");
    WriteSources();
    const Outcome fourth = ExpectSameAsFullRun("file deleted");
    EXPECT_GT(fourth.summary.filesRemoved, 0);
    EXPECT_FALSE(fs::exists(dir_.File("out/Garden/SYLVA_F1I0.html")));
    // Neither a run nor one that does not use the cache leaves the records of removed files.
    const auto removedPage = [](const auto& record) {
        return record.first.find("SYLVA_F1I0.html") != std::string::npos;
    };
    for (CacheTable table : {CacheTable::kPages, CacheTable::kPageLookups}) {
        const Tree left = PageRecords(table);
        EXPECT_FALSE(left.empty());
        EXPECT_FALSE(std::any_of(left.begin(), left.end(), removedPage));
    }
    sources_.files["b.h"] = SourceFile(1, 3, random, names);
    WriteSources();
    (void)RunInto(dir_.File("out"), dir_.File("cache"));
    sources_.files.erase("b.h");
    WriteSources();
    (void)RunInto(dir_.File("out"), dir_.File("cache"), true);
    for (CacheTable table : {CacheTable::kPages, CacheTable::kPageLookups}) {
        const Tree rebuilt = PageRecords(table);
        EXPECT_FALSE(std::any_of(rebuilt.begin(), rebuilt.end(), removedPage));
    }
}

// The inode and modification time of every file below `directory`, by its relative path.
std::map<std::string, std::pair<ino_t, std::int64_t>> Stamps(const std::string& directory) {
    std::map<std::string, std::pair<ino_t, std::int64_t>> stamps;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        struct stat info {};
        if (entry.is_regular_file() && ::stat(entry.path().c_str(), &info) == 0) {
            stamps[fs::relative(entry.path(), directory).string()] = {
                info.st_ino, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
        }
    }
    return stamps;
}

TEST_F(IncrementalRun, ARunWithNothingChangedTellsTheSameAndWritesNothing) {
    std::mt19937 random(5);
    const std::vector<std::string> names = {"F0I0", "F1I1", "Missing"};
    // The doxygen style, with an image and an example that are no sources.
    sources_.config = "SYL_HTML_SEARCH=1\n" + std::string(kStyleKey) +
                      "doxygen\nSYL_EXAMPLE_PATH=" + dir_.File("src/examples") + "\n";
    sources_.files["a.h"] = SourceFile(0, 3, random, names);
    sources_.files["sub/b.h"] = SourceFile(1, 3, random, names);
    sources_.files["shows.h"] =
        "/** Shows ![the pond](pic.png), not ![gone](gone.png), and\n"
        " * @snippet pond.txt fill */\nint FShows(int value);\n";
    sources_.images["pic.png"] = "png 1";
    sources_.images["examples/pond.txt"] = "// [fill]\nfill(1);\n// [fill]\n";
    WriteSources();
    const Outcome first = ExpectSameAsFullRun("first");
    EXPECT_FALSE(first.summary.unchanged);
    EXPECT_FALSE(first.warnings.empty());

    // Each edit must be seen: the run after it comes out as a full run, and the one after that
    // finds nothing changed again.
    struct Edit {
        const char* name;
        std::function<void()> make;
    };
    const std::vector<Edit> edits = {
        {"nothing", [] {}},
        {"a file touched, its bytes the same",
         [&] {
             const fs::path path = dir_.File("src/a.h");
             fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
         }},
        {"a file added",
         [&] {
             sources_.files["sub/c.h"] = SourceFile(2, 2, random, names);
             dir_.Write("src/sub/c.h", sources_.files["sub/c.h"]);
         }},
        {"a file added in a new directory",
         [&] {
             sources_.files["sub/deeper/d.h"] = SourceFile(3, 1, random, names);
             dir_.Write("src/sub/deeper/d.h", sources_.files["sub/deeper/d.h"]);
         }},
        {"a file removed",
         [&] {
             sources_.files.erase("sub/c.h");
             fs::remove(dir_.File("src/sub/c.h"));
         }},
        {"an output page removed", [&] { fs::remove(dir_.File("out/Garden/SYLVA_F0I0.html")); }},
        {"an output page changed",
         [&] { WriteFile(dir_.File("out/Garden/SYLVA_F1I1.html"), "spoilt"); }},
        {"the master index changed",
         [&] { WriteFile(dir_.File("out/INDEX.HTML"), "<html></html>\n"); }},
        {"an image shown changed", [&] { dir_.Write("src/pic.png", "png 2"); }},
        {"an example shown changed",
         [&] { dir_.Write("src/examples/pond.txt", "// [fill]\nfill(2);\n// [fill]\n"); }},
        {"an example shown removed", [&] { fs::remove(dir_.File("src/examples/pond.txt")); }},
        {"a setting changed", [&] { sources_.config += "SYL_Q_AUTHOR=By:\n"; }},
        {"an option changed",
         [&] { sources_.options.alphaIndex = 1 - sources_.options.alphaIndex; }},
    };
    for (const Edit& edit : edits) {
        edit.make();
        const bool nothing = std::string_view(edit.name) == "nothing";
        const auto before = Stamps(dir_.File("out"));
        const Outcome after = ExpectSameAsFullRun(edit.name);
        EXPECT_EQ(after.summary.unchanged, nothing) << edit.name;
        EXPECT_EQ(after.result, first.result) << edit.name;
        if (nothing) {
            EXPECT_EQ(Stamps(dir_.File("out")), before);
            EXPECT_EQ(after.warnings, first.warnings);
            EXPECT_EQ(after.protocol, first.protocol);
            EXPECT_EQ(after.summary.items, first.summary.items);
            EXPECT_EQ(after.summary.filesWritten, 0);
        }
        const auto settled = Stamps(dir_.File("out"));
        const Outcome again = ExpectSameAsFullRun(std::string(edit.name) + ", again");
        EXPECT_TRUE(again.summary.unchanged) << edit.name;
        EXPECT_EQ(again.summary.filesWritten, 0) << edit.name;
        EXPECT_EQ(again.summary.sourcesRead, 0) << edit.name;
        EXPECT_EQ(Stamps(dir_.File("out")), settled) << edit.name;
    }
}

TEST_F(IncrementalRun, ABadCacheGivesAFullRunWithOneLineSayingSo) {
    std::mt19937 random(9);
    sources_.files["a.h"] = SourceFile(0, 2, random, {"F0I0"});
    WriteSources();
    const std::string cache = dir_.File("cache");
    struct Case {
        const char* name;
        std::function<void()> spoil;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"garbage",
         [&] {
             for (const auto& entry : fs::directory_iterator(cache)) {
                 WriteFile(entry.path().string(), "not a database at all");
             }
         },
         "is damaged"},
        {"truncated",
         [&] {
             for (const auto& entry : fs::directory_iterator(cache)) {
                 fs::resize_file(entry.path(), fs::file_size(entry.path()) / 3);
             }
         },
         "Cache in"},
        {"a file",
         [&] {
             fs::remove_all(cache);
             WriteFile(cache, "x");
         },
         "cannot be used"},
        {"a link elsewhere",
         [&] {
             fs::remove_all(cache);
             fs::create_directories(dir_.File("elsewhere"));
             fs::create_symlink(dir_.File("elsewhere"), cache);
         },
         "cannot be used"},
    };
    for (const Case& spoilt : cases) {
        ExpectSameAsFullRun(std::string("before ") + spoilt.name);
        spoilt.spoil();
        sources_.files["a.h"] += Block("More", "More.", "F0I0", "F0I0", "Even");
        WriteSources();
        Settings settings;
        (void)LoadConfig(settings, dir_.Write("config.ini", sources_.config), nullptr);
        MemoryListBox protocol;
        Reporter reporter(&protocol);
        RunInputs inputs{dir_.File("src"), "INDEX.HTML", "Garden", dir_.File("out"),
                         ".H|.C",          "A garden",   1,        1};
        inputs.cache = {cache, false};
        (void)sylva::Run(inputs, settings, sources_.options, reporter);
        int lines = 0;
        for (const std::string& line : protocol.Lines()) {
            lines += line.find(spoilt.line) != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(lines, 1) << spoilt.name << ": " << ::testing::PrintToString(protocol.Lines());
        EXPECT_TRUE(!fs::exists(dir_.File("elsewhere")) || fs::is_empty(dir_.File("elsewhere")))
            << spoilt.name;
        ExpectSameAsFullRun(spoilt.name);
        fs::remove_all(cache);
    }
}

TEST_F(IncrementalRun, TwoRunsAtOnceTakeTurns) {
    std::mt19937 random(11);
    std::vector<std::string> names = {"F0I0", "F1I1"};
    for (int file = 0; file < 6; ++file) {
        sources_.files["f" + std::to_string(file) + ".h"] = SourceFile(file, 6, random, names);
    }
    WriteSources();
    std::thread other([this] { (void)RunInto(dir_.File("out"), dir_.File("cache")); });
    (void)RunInto(dir_.File("out"), dir_.File("cache"));
    other.join();
    const Outcome after = ExpectSameAsFullRun("after two runs at once");
    EXPECT_EQ(after.summary.filesWritten, 0);
    EXPECT_EQ(after.summary.sourcesRead, 0);
}

// A run killed at random moments, spread over its stages, leaves a project and a cache from
// which the next run comes out as a full run.
TEST_F(IncrementalRun, ARunKilledAnywhereIsFollowedByOneThatComesOutAsAFullRun) {
    std::mt19937 random(13);
    std::vector<std::string> names = {"F0I0", "F1I1", "Missing"};
    sources_.config = "SYL_HTML_SEARCH=1\n";
    for (int file = 0; file < 5; ++file) {
        sources_.files["f" + std::to_string(file) + ".h"] = SourceFile(file, 5, random, names);
    }
    WriteSources();
    const auto start = std::chrono::steady_clock::now();
    (void)RunInto(dir_.File("timing"), dir_.File("timing-cache"));
    const auto runTime = std::chrono::steady_clock::now() - start;
    fs::remove_all(dir_.File("timing"));
    constexpr int kKills = 50;
    for (int kill = 0; kill < kKills; ++kill) {
        // Every few kills the sources change, so that killed runs find work of every kind.
        if (kill % 5 == 0) {
            auto file = std::next(sources_.files.begin(),
                                  static_cast<long>(random() % sources_.files.size()));
            file->second.insert(file->second.find("int F") + 4, 1, 'K');
            WriteSources();
        }
        const auto delay = runTime * (kill + 0.5) / kKills;
        const pid_t child = ::fork();
        if (child == 0) {
            (void)RunInto(dir_.File("out"), dir_.File("cache"));
            ::_exit(0);
        }
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ExpectSameAsFullRun("after kill " + std::to_string(kill));
    }
}

}  // namespace
}  // namespace sylva
