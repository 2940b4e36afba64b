#include "test_support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace sylva::test {

namespace {

// Hands out a progress dialog while the prompter keeps the recording for the test to read.
class ForwardingProgress : public CZTProgressDlg {
  public:
    explicit ForwardingProgress(RecordingProgress& target) : target_(target) {}
    void SetTitle(std::string_view text) override { target_.SetTitle(text); }
    void SetRange(int lower, int upper) override { target_.SetRange(lower, upper); }
    void ShowPercent(bool show) override { target_.ShowPercent(show); }
    void SetStep(int step) override { target_.SetStep(step); }
    void SetStatus(std::string_view text) override { target_.SetStatus(text); }
    void SetPos(int pos) override { target_.SetPos(pos); }

  private:
    RecordingProgress& target_;
};

}  // namespace

void ScriptedPrompter::Warning(std::string_view text) {
    shown.push_back("warning: " + std::string(text));
}

void ScriptedPrompter::Information(std::string_view text) {
    shown.push_back("information: " + std::string(text));
}

bool ScriptedPrompter::Answer(std::string record) {
    shown.push_back(record);
    if (answers.empty()) {
        ADD_FAILURE() << "no scripted answer left for " << record;
        return false;
    }
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedPrompter::Question(std::string_view text) {
    return Answer("question: " + std::string(text));
}

bool ScriptedPrompter::CautiousQuestion(std::string_view text) {
    return Answer("cautious question: " + std::string(text));
}

std::optional<std::string> ScriptedPrompter::ChooseFile(FileChoice kind, std::string_view initial,
                                                        bool htmlFilter) {
    shown.push_back("choose " + std::to_string(static_cast<int>(kind)) + " from " +
                    std::string(initial) + (htmlFilter ? " html" : ""));
    if (choices.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> choice = choices.front();
    choices.pop_front();
    return choice;
}

std::optional<std::string> ScriptedPrompter::OpenDocument(std::string_view path) {
    shown.push_back("open " + std::string(path));
    return openFailure;
}

std::unique_ptr<CZTProgressDlg> ScriptedPrompter::CreateProgress() {
    keptProgress_.push_back(std::make_unique<RecordingProgress>());
    progressDialogs.push_back(keptProgress_.back().get());
    return std::make_unique<ForwardingProgress>(*keptProgress_.back());
}

}  // namespace sylva::test
