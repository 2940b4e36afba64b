// Test fixture for the scanning stages: a scratch tree, a generator that reports into an
// in-memory protocol list and progress dialog, and readers of what the scan produced.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scan_source.h"
#include "scan/syl_item.h"
#include "test_support/scratch_dir.h"

namespace sylva::test {

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

class ScanTest : public ::testing::Test {
  protected:
    ScanTest() {
        generator_.protocol = &protocol_;
        generator_.progress = &progress_;
        generator_.outputPath = "/out";
        generator_.projectName = "Demo";
        generator_.projectDirName = "Demo";
        generator_.filter = ".CPP|.C|.H|.SYL";
        generator_.scanPath = dir_.path();
    }

    std::vector<std::string> ProtocolLines() const {
        return {protocol_.Lines().begin(), protocol_.Lines().end()};
    }

    // Item names in list order.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : generator_.items) {
            names.push_back(item->name);
        }
        return names;
    }

    const CSylItem& Item(std::size_t slot) const { return *generator_.items.at(slot); }

    ScratchDir dir_;
    MemoryListBox protocol_;
    RecordingProgress progress_;
    CZTScanSource generator_;
};

}  // namespace sylva::test
