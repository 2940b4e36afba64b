// Test helper for the HTML stages: a generator set up as a run leaves it before its output
// stages (output directory, project page paths, both item kinds wanted), with a protocol list, a
// recording progress dialog, a fixed clock and time zone, and items built field by field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/scan_source.h"
#include "scan/syl_item.h"
#include "support/protocol.h"
#include "test_support/scratch_dir.h"

namespace sylva::test {

// SOURCE_DATE_EPOCH of every HTML test, shown as this text in UTC.
inline constexpr const char* kFixedEpoch = "1700000000";
inline constexpr std::string_view kFixedTimeText = "2023-11-14 22:13:20";

// Fixes "now" and the time zone for the whole test process.
void FixClockAndTimeZone();

class RecordingProgress : public CZTProgressDlg {
  public:
    void SetTitle(std::string_view) override {}
    void SetRange(int, int) override {}
    void ShowPercent(bool) override {}
    void SetStep(int) override {}
    void SetStatus(std::string_view text) override { statuses.emplace_back(text); }
    void SetPos(int pos) override { positions.push_back(pos); }

    std::vector<std::string> statuses;
    std::vector<int> positions;
};

class HtmlProject {
  public:
    explicit HtmlProject(std::string projectName = "Demo");

    // Adds an item as the scan would have made it: page names from the name, member name after
    // "::", group "Common" unless given, public, type label "<group><BR>(Public)". Fields and
    // sections may be changed afterwards, the name not. Call Sort() when all are added.
    CSylItem& Add(const std::string& name, const std::string& group = "Common");
    void Sort() { generator.SortItems(); }

    // The path, or the content, of a file in the project directory.
    std::string ProjectFile(std::string_view name) const;
    std::string Read(std::string_view name) const { return ReadFile(ProjectFile(name)); }
    std::vector<std::string> ProtocolLines() const;

    ScratchDir dir;
    CZTScanSource generator;
    MemoryListBox protocol;
    RecordingProgress progress;
};

}  // namespace sylva::test
