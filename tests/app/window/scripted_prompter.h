// A Prompter for tests: answers come from queues the test fills beforehand, and every message,
// file choice, opened document and progress call is recorded for the test to check.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "support/prompter.h"

namespace sylva::test {

class ScriptedPrompter : public Prompter {
  public:
    enum class Kind { kWarning, kInformation, kQuestion, kCautiousQuestion };
    struct Message {
        Kind kind;
        std::string text;
    };
    struct Choice {
        FileChoice kind;
        std::string initial;
        bool htmlFilter;
    };
    // What the progress dialogs of this prompter were told, in order.
    struct ProgressLog {
        std::string title;
        int lower = 0;
        int upper = 0;
        bool percent = true;
        int step = 0;
        std::vector<std::string> statuses;
        int lastPos = -1;
        int created = 0;
        int destroyed = 0;
    };

    // The answer to the next question (either kind).
    void Answer(bool yes) { answers_.push_back(yes); }
    // The result of the next file choice; none means the user cancelled.
    void Choose(std::optional<std::string> chosen) { choices_.push_back(std::move(chosen)); }
    // The failure message of the next OpenDocument; none means it worked.
    void OpenResult(std::optional<std::string> failure) {
        openResults_.push_back(std::move(failure));
    }

    void Warning(std::string_view text) override;
    void Information(std::string_view text) override;
    bool Question(std::string_view text) override;
    bool CautiousQuestion(std::string_view text) override;
    std::optional<std::string> ChooseFile(FileChoice kind, std::string_view initial,
                                          bool htmlFilter) override;
    std::optional<std::string> OpenDocument(std::string_view path) override;
    std::unique_ptr<CZTProgressDlg> CreateProgress() override;

    // The texts of the messages of one kind, in order.
    std::vector<std::string> Texts(Kind kind) const;
    // Answers, choices or open results queued but never asked for.
    std::size_t Unused() const { return answers_.size() + choices_.size() + openResults_.size(); }

    std::vector<Message> messages;
    std::vector<Choice> choicesAsked;
    std::vector<std::string> opened;
    // Questions asked while no answer was queued (each was answered No).
    int unexpectedQuestions = 0;
    ProgressLog progress;

  private:
    bool Ask(Kind kind, std::string_view text);

    std::deque<bool> answers_;
    std::deque<std::optional<std::string>> choices_;
    std::deque<std::optional<std::string>> openResults_;
};

}  // namespace sylva::test
