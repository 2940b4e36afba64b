// A Prompter for tests: answers come from a script, and everything shown is recorded.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/prompter.h"
#include "test_support/recording_progress.h"

namespace sylva::test {

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
