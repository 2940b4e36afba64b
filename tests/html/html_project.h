// Test helper for the HTML stages: items scanned from blocks written as source text, and a
// project in a scratch output directory with its directory made, as a run leaves them before its
// page stages. The stages report into a protocol list, a recording progress dialog and a
// recording diagnostic sink of their own, apart from what the scan reported; the clock and the
// time zone are fixed.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "html/html.h"
#include "scan/scan_fixture.h"
#include "support/protocol.h"
#include "support/reporter.h"
#include "test_support/recording_diagnostics.h"
#include "test_support/recording_progress.h"
#include "test_support/scratch_dir.h"

namespace sylva::test {

// SOURCE_DATE_EPOCH of every HTML test: the pages show "2023-11-14 22:13:20" (UTC).
inline constexpr const char* kFixedEpoch = "1700000000";

// The master index of every HTML test.
inline const std::string kIndexName = "SYLVA_MAIN_INDEX.HTML";

// Fixes "now" and the time zone for the whole test process.
void FixClockAndTimeZone();

class HtmlProject {
  public:
    explicit HtmlProject(std::string projectName = "Demo");
    HtmlProject(const HtmlProject&) = delete;
    HtmlProject& operator=(const HtmlProject&) = delete;

    // The item of one block (test::Block): `declaration` below the block `lines`. Call Sort()
    // when all are added.
    const CSylItem& Add(std::string_view declaration,
                        std::initializer_list<std::string_view> lines = {}) {
        return scanned.Add(declaration, lines);
    }
    void Sort() { scanned.items.Sort(); }

    // The path, or the content, of a file in the project directory.
    std::string ProjectFile(std::string_view name) const;
    std::string Read(std::string_view name) const { return ReadFile(ProjectFile(name)); }
    std::vector<std::string> ProtocolLines() const;

    ScratchDir dir;
    Scanned scanned;
    Project project;
    MemoryListBox protocol;
    RecordingProgress progress;
    RecordingDiagnostics diagnostics;
    Reporter reporter{&protocol, &progress, &diagnostics};
    // Over the scanned settings, options and items; both item kinds are written.
    PageJob job{scanned.settings, scanned.options, project, scanned.items, reporter};
};

}  // namespace sylva::test
