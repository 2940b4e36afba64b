#include "scripted_prompter.h"

namespace sylva::test {

namespace {

class RecordingProgress : public CZTProgressDlg {
  public:
    explicit RecordingProgress(ScriptedPrompter::ProgressLog& log) : log_(log) { ++log_.created; }
    ~RecordingProgress() override { ++log_.destroyed; }

    void SetTitle(std::string_view title) override { log_.title = title; }
    void SetRange(int lower, int upper) override {
        log_.lower = lower;
        log_.upper = upper;
    }
    void ShowPercent(bool show) override { log_.percent = show; }
    void SetStep(int step) override { log_.step = step; }
    void SetStatus(std::string_view text) override { log_.statuses.emplace_back(text); }
    void SetPos(int pos) override { log_.lastPos = pos; }

  private:
    ScriptedPrompter::ProgressLog& log_;
};

}  // namespace

void ScriptedPrompter::Warning(std::string_view text) {
    messages.push_back({Kind::kWarning, std::string(text)});
}

void ScriptedPrompter::Information(std::string_view text) {
    messages.push_back({Kind::kInformation, std::string(text)});
}

bool ScriptedPrompter::Question(std::string_view text) {
    return Ask(Kind::kQuestion, text);
}

bool ScriptedPrompter::CautiousQuestion(std::string_view text) {
    return Ask(Kind::kCautiousQuestion, text);
}

bool ScriptedPrompter::Ask(Kind kind, std::string_view text) {
    messages.push_back({kind, std::string(text)});
    if (answers_.empty()) {
        ++unexpectedQuestions;
        return false;
    }
    bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

std::optional<std::string> ScriptedPrompter::ChooseFile(FileChoice kind, std::string_view initial,
                                                        bool htmlFilter) {
    choicesAsked.push_back({kind, std::string(initial), htmlFilter});
    if (choices_.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> chosen = std::move(choices_.front());
    choices_.pop_front();
    return chosen;
}

std::optional<std::string> ScriptedPrompter::OpenDocument(std::string_view path) {
    opened.emplace_back(path);
    if (openResults_.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> failure = std::move(openResults_.front());
    openResults_.pop_front();
    return failure;
}

std::unique_ptr<CZTProgressDlg> ScriptedPrompter::CreateProgress() {
    return std::make_unique<RecordingProgress>(progress);
}

std::vector<std::string> ScriptedPrompter::Texts(Kind kind) const {
    std::vector<std::string> texts;
    for (const Message& message : messages) {
        if (message.kind == kind) {
            texts.push_back(message.text);
        }
    }
    return texts;
}

}  // namespace sylva::test
