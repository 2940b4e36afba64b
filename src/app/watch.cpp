#include "app/watch.h"

#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kRerunLine = "Re-run after %s: %d files written, %d removed, %d ms.";

}  // namespace

std::string RerunLine(const ChangeCount& changes, const RunSummary& summary,
                      std::chrono::milliseconds took) {
    return FormatLine(kRerunLine,
                      {DescribeChanges(changes), std::to_string(summary.filesWritten),
                       std::to_string(summary.filesRemoved), std::to_string(took.count())});
}

int WatchForChanges(ChangeSource& source, TreeChanges& changes, const BurstTiming& timing,
                    const std::function<RerunResult(const ChangeCount&)>& rerun,
                    const std::function<void(std::string_view)>& tell, int status) {
    using Clock = std::chrono::steady_clock;
    for (;;) {
        ChangeSource::Waited waited = source.Wait(std::nullopt);
        const Clock::time_point burstEnd = Clock::now() + timing.longest;
        while (!waited.stop && !waited.events.empty()) {
            for (const FileEvent& event : waited.events) {
                changes.Add(event);
            }
            if (Clock::now() >= burstEnd) {
                break;
            }
            waited = source.Wait(timing.quiet);
        }
        if (waited.stop) {
            return status;
        }
        ChangeCount count = changes.Take();
        if (count.Empty()) {
            continue;
        }
        if (count.lost) {
            changes.Restart(source.Files());
        }
        const Clock::time_point start = Clock::now();
        RerunResult result = rerun(count);
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        tell(RerunLine(count, result.summary, took));
        status = result.status;
    }
}

}  // namespace sylva
