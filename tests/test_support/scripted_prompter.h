// A Prompter for tests: answers come from a script, and everything shown is recorded.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/prompter.h"

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

class ScriptedPrompter : public Prompter {
  public:
    void Warning(std::string_view text) override;
    void Information(std::string_view text) override;
    // Each question takes the next scripted answer; with none left the test fails and No is
    // answered.
    bool Question(std::string_view text) override;
    bool CautiousQuestion(std::string_view text) override;
    std::optional<std::string> ChooseFile(FileChoice kind, std::string_view initial,
                                          bool htmlFilter) override;
    std::optional<std::string> OpenDocument(std::string_view path) override;
    std::unique_ptr<CZTProgressDlg> CreateProgress() override;

    // Answers for the next questions, in order.
    std::deque<bool> answers;
    // Results for the next file choices (nullopt: the user cancelled).
    std::deque<std::optional<std::string>> choices;
    // What OpenDocument reports as its failure; nothing means it worked.
    std::optional<std::string> openFailure;

    // Everything shown, as "warning: ...", "information: ...", "question: ...",
    // "cautious question: ...", "choose <kind> from <initial> [html]", "open <path>".
    std::vector<std::string> shown;
    // The progress dialogs handed out, still readable after their owner dropped them.
    std::vector<RecordingProgress*> progressDialogs;

  private:
    bool Answer(std::string record);
    std::vector<std::unique_ptr<RecordingProgress>> keptProgress_;
};

}  // namespace sylva::test
