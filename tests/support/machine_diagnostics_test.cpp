// The writers of diagnostics for machines: JSON strings of hostile bytes, the SARIF and JSON
// Lines files on bad targets, the baseline's keys, counts and refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/diagnostic_log.h"
#include "support/json_text.h"
#include "support/warning_baseline.h"
#include "test_support/scratch_dir.h"
#include "test_support/tmpfs_mount.h"

namespace sylva {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

TEST(JsonString, HostileBytesStayValidJsonAndValidUtf8IsKept) {
    struct Case {
        std::string input;
        std::string decoded;  // what a JSON reader gives back
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"\"quoted\" \\ back", "\"quoted\" \\ back"},
        {std::string("nul\0tab\tbell\x07", 13), std::string("nul\0tab\tbell\x07", 13)},
        {"R\xC3\xBC"
         "ckgabe \xE2\x82\xAC \xF0\x9F\x8C\xB3",
         "R\xC3\xBC"
         "ckgabe \xE2\x82\xAC \xF0\x9F\x8C\xB3"},
        {"stray \x80 lead \xC3", "stray \xEF\xBF\xBD lead \xEF\xBF\xBD"},
        {"overlong \xC0\xAF surrogate \xED\xA0\x80",
         "overlong \xEF\xBF\xBD\xEF\xBF\xBD surrogate "
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"beyond \xF4\x90\x80\x80", "beyond \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::string(100000, 'x'), std::string(100000, 'x')},
        // Escapes and replacements next to runs of plain bytes and valid sequences.
        {"", ""},
        {"\x7F end\x1F", "\x7F end\x1F"},
        {"\xE2\x82\xE2\x82\xAC\"", "\xEF\xBF\xBD\xEF\xBF\xBD\xE2\x82\xAC\""},
        {"\\\n\xC3\xBC\xC3\xBC\r", "\\\n\xC3\xBC\xC3\xBC\r"},
    };
    for (const Case& c : cases) {
        const std::string text = JsonString(c.input);
        const json parsed = json::parse(text, nullptr, false);
        ASSERT_FALSE(parsed.is_discarded()) << text.substr(0, 80);
        EXPECT_EQ(parsed.get<std::string>(), c.decoded) << text.substr(0, 80);
    }
}

TEST(DiagnosticLog, FilesOfBothFormatsParseAndLocationsAreRelativeToTheBase) {
    test::ScratchDir dir;
    for (DiagnosticFormat format : {DiagnosticFormat::kSarif, DiagnosticFormat::kJsonLines}) {
        const std::string path = dir.File("log");
        DiagnosticLog log(path, format, dir.File("src"), "9.9", nullptr);
        log.WarningOfKind(dir.File("src/a b.h"), 3,
                          WarningMessage("doxygen.unknown-command", "\"@x\" \x01\xff", "ns::f"));
        log.WarningOfKind("/elsewhere/c.h", 0, WarningMessage("sylva.no-declaration", "t"));
        log.Error("  ERROR: page not written");
        ASSERT_TRUE(log.Finish().ok());
        const std::string text = dir.Read("log");
        if (format == DiagnosticFormat::kSarif) {
            const json sarif = json::parse(text);
            const json& results = sarif["runs"][0]["results"];
            ASSERT_EQ(results.size(), 3u);
            EXPECT_EQ(results[0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
                      "a%20b.h");
            EXPECT_EQ(results[1]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
                      "file:///elsewhere/c.h");
            EXPECT_EQ(results[0]["locations"][0]["logicalLocations"][0]["fullyQualifiedName"],
                      "ns::f");
            EXPECT_EQ(results[2]["level"], "error");
            EXPECT_EQ(sarif["runs"][0]["tool"]["driver"]["rules"].size(), 3u);
        } else {
            std::size_t lines = 0;
            for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1, ++lines) {
                EXPECT_FALSE(json::parse(text.substr(at, text.find('\n', at) - at), nullptr, false)
                                 .is_discarded());
            }
            EXPECT_EQ(lines, 3u);
        }
    }
}

TEST(DiagnosticLog, BadTargetsFailAndLeaveWhatWasThere) {
    test::ScratchDir dir;
    fs::create_directory(dir.File("folder"));
    dir.Write("kept", "old");
    fs::create_symlink(dir.File("kept"), dir.File("link"));
    for (const char* name : {"folder", "link", "missing/log"}) {
        DiagnosticLog log(dir.File(name), DiagnosticFormat::kSarif, dir.path(), "1", nullptr);
        log.Warning("a.h", 1, "text");
        EXPECT_FALSE(log.Finish().ok()) << name;
    }
    EXPECT_EQ(dir.Read("kept"), "old");
    EXPECT_TRUE(fs::is_symlink(dir.File("link")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);

    fs::create_directory(dir.File("full"));
    test::TmpfsMount full(dir.File("full"), 64 * 1024);
    if (!full.mounted()) {
        GTEST_SKIP() << "no tmpfs for the full disk";
    }
    DiagnosticLog log(dir.File("full/log"), DiagnosticFormat::kJsonLines, dir.path(), "1", nullptr);
    for (int i = 0; i < 100; ++i) {
        log.Warning("a.h", i + 1, std::string(4096, 'w'));
    }
    EXPECT_FALSE(log.Finish().ok());
    EXPECT_FALSE(fs::exists(dir.File("full/log")));
}

TEST(WarningBaseline, KeysIgnoreLinesAndCountDuplicates) {
    EXPECT_EQ(MessageWithoutLines("group \"g\" is defined again (first at a.h:12)"),
              "group \"g\" is defined again (first at a.h:)");
    EXPECT_EQ(MessageWithoutLines("x2 names 3 items"), "x2 names 3 items");

    test::ScratchDir dir;
    const std::string base = DiagnosticsBase(dir.path());
    BaselineRecorder first(base, nullptr, nullptr);
    for (int line : {10, 20}) {
        first.WarningOfKind(dir.File("a.h"), line, WarningMessage("r", "same", "f"));
    }
    first.WarningOfKind(dir.File("a.h"), 30, WarningMessage("r", "other", "g"));
    dir.Write("base.json", WarningBaseline::Document("P", first.counts()));

    std::string problem;
    std::optional<WarningBaseline> baseline =
        WarningBaseline::Read(dir.File("base.json"), "P", problem);
    ASSERT_TRUE(baseline) << problem;
    BaselineRecorder later(base, &*baseline, nullptr);
    // Moved down the file, given three times: the third is new; "other" is gone.
    for (int line : {11, 21, 31}) {
        later.WarningOfKind(dir.File("a.h"), line, WarningMessage("r", "same", "f"));
    }
    later.WarningOfKind(dir.File("a.h"), 5, WarningMessage("r2", "same", "f"));
    EXPECT_EQ(later.newWarnings(), 2);
    EXPECT_EQ(baseline->Gone(), 1);
}

TEST(WarningBaseline, UnusableFilesAreRefusedWithTheirReason) {
    test::ScratchDir dir;
    struct Case {
        std::string content;
        std::string reason;
    };
    const Case cases[] = {
        {"{\"schema\": 1, \"project\": \"P\", \"warnings\": [", "not valid JSON"},
        {"[1]", "not valid JSON"},
        {"{\"project\": \"P\", \"warnings\": []}", "no schema version"},
        {"{\"schema\": 2, \"project\": \"P\", \"warnings\": []}", "schema version 2"},
        {"{\"schema\": 1, \"project\": \"Q\", \"warnings\": []}", "project \"Q\""},
        {"{\"schema\": 1, \"project\": \"P\", \"warnings\": [{\"file\": \"a\"}]}", "entry 1"},
        {"{\"schema\": 1, \"project\": \"P\", \"warnings\": [{\"file\": \"a\", \"rule\": \"r\", "
         "\"entity\": \"\", \"message\": \"m\", \"count\": -1}]}",
         "entry 1"},
    };
    for (const Case& c : cases) {
        dir.Write("b.json", c.content);
        std::string problem;
        EXPECT_FALSE(WarningBaseline::Read(dir.File("b.json"), "P", problem)) << c.content;
        EXPECT_NE(problem.find(c.reason), std::string::npos) << c.content << ": " << problem;
    }
    std::string problem;
    EXPECT_FALSE(WarningBaseline::Read(dir.File("none.json"), "P", problem));
    EXPECT_EQ(problem, "");
}

}  // namespace
}  // namespace sylva
