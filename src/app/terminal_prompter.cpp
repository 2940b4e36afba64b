#include "app/terminal_prompter.h"

#include <unistd.h>

#include "app/terminal_output.h"

namespace sylva {

TerminalPrompter::TerminalPrompter(std::FILE* input, bool inputIsTerminal)
    : input_(input), interactive_(inputIsTerminal) {}

TerminalPrompter::TerminalPrompter() : TerminalPrompter(stdin, ::isatty(STDIN_FILENO) == 1) {}

void TerminalPrompter::Warning(std::string_view text) {
    WriteTerminalLine(stderr, text);
}

void TerminalPrompter::Information(std::string_view text) {
    WriteTerminalLine(stderr, text);
}

bool TerminalPrompter::Question(std::string_view text) {
    return Ask(text, true);
}

bool TerminalPrompter::CautiousQuestion(std::string_view text) {
    return Ask(text, false);
}

bool TerminalPrompter::Ask(std::string_view text, bool defaultAnswer) {
    std::string choices = defaultAnswer ? "[Y/n]" : "[y/N]";
    if (!interactive_) {
        WriteTerminalLine(stderr, std::string(text) + " " + choices + " " +
                                      (defaultAnswer ? "Yes" : "No") +
                                      " (the default answer: standard input is not a terminal)");
        return defaultAnswer;
    }
    for (;;) {
        std::string prompt = std::string(text) + " " + choices + " ";
        std::fwrite(prompt.data(), 1, prompt.size(), stderr);
        std::fflush(stderr);
        char answer[64];
        if (std::fgets(answer, sizeof answer, input_) == nullptr) {
            WriteTerminalLine(stderr, defaultAnswer ? "Yes" : "No");
            return defaultAnswer;
        }
        switch (answer[0]) {
            case '\n':
            case '\r':
            case '\0':
                return defaultAnswer;
            case 'y':
            case 'Y':
                return true;
            case 'n':
            case 'N':
                return false;
            default:
                WriteTerminalLine(stderr, "Please answer y or n.");
        }
    }
}

std::optional<std::string> TerminalPrompter::ChooseFile(FileChoice, std::string_view, bool) {
    return std::nullopt;
}

std::optional<std::string> TerminalPrompter::OpenDocument(std::string_view path) {
    return "Cannot open " + std::string(path) + " in batch mode; open it in a browser.";
}

std::unique_ptr<CZTProgressDlg> TerminalPrompter::CreateProgress() {
    return std::make_unique<TerminalProgress>();
}

}  // namespace sylva
