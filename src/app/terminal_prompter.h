// The Prompter of batch mode: message boxes become lines on standard error.
//
// A question asked while standard input is a terminal reads y or n (an empty line takes the
// default button); otherwise the default button answers (Yes for a question, No for a cautious
// one) and the line says which answer was taken, so a run on a server never waits for input.
#pragma once

#include <cstdio>

#include "support/prompter.h"

namespace sylva {

class TerminalPrompter : public Prompter {
  public:
    // `input` is read for answers when `inputIsTerminal`.
    TerminalPrompter(std::FILE* input, bool inputIsTerminal);
    // Reads answers from standard input when it is a terminal.
    TerminalPrompter();

    void Warning(std::string_view text) override;
    void Information(std::string_view text) override;
    bool Question(std::string_view text) override;
    bool CautiousQuestion(std::string_view text) override;
    std::optional<std::string> ChooseFile(FileChoice kind, std::string_view initial,
                                          bool htmlFilter) override;
    std::optional<std::string> OpenDocument(std::string_view path) override;
    std::unique_ptr<CZTProgressDlg> CreateProgress() override;

  private:
    bool Ask(std::string_view text, bool defaultAnswer);

    std::FILE* input_;
    bool interactive_;
};

}  // namespace sylva
