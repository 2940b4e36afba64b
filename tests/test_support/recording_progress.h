// RecordingProgress: a progress dialog for tests that records every call it is given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/protocol.h"

namespace sylva::test {

// Records the calls of the progress dialog a run was given.
class RecordingProgress : public CZTProgressDlg {
  public:
    void SetTitle(std::string_view text) override { title = text; }
    void SetRange(int lower, int upper) override {
        rangeLower = lower;
        rangeUpper = upper;
    }
    void ShowPercent(bool show) override { percentShown = show; }
    void SetStep(int value) override { step = value; }
    void SetStatus(std::string_view text) override { statuses.emplace_back(text); }
    void SetPos(int pos) override { positions.push_back(pos); }

    std::string title;
    int rangeLower = -1;
    int rangeUpper = -1;
    bool percentShown = true;
    int step = 0;
    std::vector<std::string> statuses;
    std::vector<int> positions;
};

}  // namespace sylva::test
