// The Prompter of the window: message boxes, file dialogs, the desktop's program for a document,
// and the progress dialog, all owned by the main window.
#pragma once

#include <QMessageBox>
#include <QWidget>

#include "support/prompter.h"

namespace sylva {

class QtPrompter : public Prompter {
  public:
    // The boxes and dialogs open over `owner`, which may be set later and may be none.
    explicit QtPrompter(QWidget* owner = nullptr);
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void Warning(std::string_view text) override;
    void Information(std::string_view text) override;
    bool Question(std::string_view text) override;
    bool CautiousQuestion(std::string_view text) override;
    std::optional<std::string> ChooseFile(FileChoice kind, std::string_view initial,
                                          bool htmlFilter) override;
    std::optional<std::string> OpenDocument(std::string_view path) override;
    std::unique_ptr<CZTProgressDlg> CreateProgress() override;

  private:
    QMessageBox::StandardButton Show(QMessageBox::Icon icon, std::string_view text,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton);

    QWidget* owner_;
};

}  // namespace sylva
