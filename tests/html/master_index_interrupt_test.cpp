// A process killed while it rewrites the master index: whatever the moment, the page left behind
// is the old page or the new one, whole, and never a part of either.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "html/html.h"
#include "html_project.h"
#include "test_support/process.h"
#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

using test::kIndexName;

// The project names a writer adds, in its order: "R<round>_<count>", counts with five digits so
// that their records sort in the order they were added.
std::string ProjectName(int round, int count) {
    std::string number = std::to_string(count);
    // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
    std::string name = "R";
    return name.append(std::to_string(round)).append("_").append(5 - number.size(), '0') + number;
}

// Adds the projects of `round` one after another, each a complete rewrite of the page, until the
// process is killed.
[[noreturn]] void AddForever(const std::string& output, int round) {
    const Settings settings;
    for (int count = 0;; ++count) {
        Reporter reporter;
        (void)AddToMasterIndex(settings, reporter, output, kIndexName,
                               {ProjectName(round, count), "", std::string(300, 'd')});
    }
}

TEST(MasterIndexInterrupted, AKilledWriterLeavesTheOldOrTheNewPageWhole) {
    test::FixClockAndTimeZone();
    test::ScratchDir dir;
    const std::string path = dir.File(kIndexName);
    std::mt19937 random(20240229);
    std::uniform_int_distribution<int> delayMicroseconds(0, 30000);
    const Settings settings;
    {
        Reporter reporter;
        ASSERT_EQ(AddToMasterIndex(settings, reporter, dir.path(), kIndexName, {"Seed", "", "d"}),
                  1);
    }
    std::vector<int> addedBefore;  // per round, how many projects its writer got into the page
    for (int round = 0; round < 40; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AddForever(dir.path(), round);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string page = test::ReadFile(path);
        ASSERT_TRUE(page.starts_with("<html>\n")) << "round " << round;
        ASSERT_TRUE(page.ends_with("</body>\n</html>\n")) << "round " << round;
        Reporter reporter;
        CZTStringArray records;
        ASSERT_TRUE(ReadMasterIndex(settings, reporter, path, records)) << "round " << round;
        // Every round's projects are there from its first up to the last one written, none
        // missing in between, and every earlier round's projects all stay.
        ASSERT_FALSE(records.IsEmpty()) << "round " << round;
        ASSERT_TRUE(records.GetAt(records.GetSize() - 1).starts_with("<!--Seed-->"))
            << "round " << round;
        records.RemoveAt(records.GetSize() - 1);
        std::vector<int> counts(static_cast<std::size_t>(round) + 1, 0);
        for (const std::string& record : records) {
            ASSERT_TRUE(record.ends_with("DESCEND-->")) << "round " << round << ": " << record;
            int recordRound = std::stoi(record.substr(5));
            ASSERT_LE(recordRound, round) << record;
            int& count = counts[static_cast<std::size_t>(recordRound)];
            ASSERT_TRUE(record.starts_with("<!--" + ProjectName(recordRound, count) + "-->"))
                << "round " << round << ": " << record;
            ++count;
        }
        for (int earlier = 0; earlier < round; ++earlier) {
            EXPECT_EQ(counts[static_cast<std::size_t>(earlier)],
                      addedBefore[static_cast<std::size_t>(earlier)])
                << "round " << round << " lost projects of round " << earlier;
        }
        addedBefore.push_back(counts.back());
    }
    // The next change clears away what the killed writers left: only the page and the entry page
    // that leads to it stay.
    Reporter reporter;
    ASSERT_GT(AddToMasterIndex(settings, reporter, dir.path(), kIndexName, {"Last", "", "d"}), 0);
    EXPECT_EQ(test::Entries(dir.path()), (std::vector<std::string>{kIndexName, "index.html"}));
}

}  // namespace
}  // namespace sylva
