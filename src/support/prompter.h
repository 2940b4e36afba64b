// Prompter: how an action asks the user and uses the desktop.
//
// The actions of the main window (generate, remove, add a foreign index, ...) are written once,
// without any toolkit. Whatever they need from a person or from the desktop goes through this
// one interface, which the window (Qt dialogs), batch mode (the terminal) and the tests
// (scripted answers) each implement.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/protocol.h"

namespace sylva {

class Prompter {
  public:
    virtual ~Prompter() = default;

    // A warning (OK only) and an information box (OK only).
    virtual void Warning(std::string_view text) = 0;
    virtual void Information(std::string_view text) = 0;
    // Yes or No, with Yes the default answer.
    virtual bool Question(std::string_view text) = 0;
    // Yes or No, with No the default answer: for questions whose Yes may cost data.
    virtual bool CautiousQuestion(std::string_view text) = 0;

    enum class FileChoice { kFileToWrite = 0, kExistingFile = 1, kFolder = 2 };
    // Lets the user choose a file or folder, starting from `initial`; `htmlFilter` offers "HTML
    // files" (*.htm; *.html) and "All files (*.*)". Empty when the user cancelled.
    virtual std::optional<std::string> ChooseFile(FileChoice kind, std::string_view initial,
                                                  bool htmlFilter) = 0;

    // Opens `path` with the program the desktop associates with it. Returns the message to show
    // when that failed, nothing when it worked.
    virtual std::optional<std::string> OpenDocument(std::string_view path) = 0;

    // A progress dialog for one generation run (owned by the caller; never null).
    virtual std::unique_ptr<CZTProgressDlg> CreateProgress() = 0;
};

}  // namespace sylva
