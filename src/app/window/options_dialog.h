// COptionsDlg: edits the run options. Changes reach the options only when the dialog ends with
// OK, and OK refuses values no run can use (the dialog then stays open).
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <optional>
#include <vector>

#include "app/main_fields.h"
#include "app/window/dialog_units.h"
#include "support/prompter.h"

namespace sylva {

class COptionsDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr unsigned kMinInlineComment = 5;
    static constexpr unsigned kMaxInlineComment = 1000;
    // A path like any other: -CONFIG fills the field, and a name cut to fit would make the
    // window read another file than batch mode.
    static constexpr int kConfigFileLimit = kPathLimit;

    COptionsDlg(Prompter& prompter, QWidget* parent);

    // Shows `options` and runs the dialog; with OK the edited values replace `options`, with
    // Cancel `options` stays as it was. Returns the dialog's result.
    int EditOptions(StoredOptions& options);

    // The check box bound to `field`, or none.
    QCheckBox* Box(int StoredOptions::*field) const;
    QLineEdit* ConfigFileEdit() const { return configFile_; }
    QLineEdit* MaxInlineCommentEdit() const { return maxInlineComment_; }

  public slots:
    // Validates the controls and, when they hold usable values, ends the dialog with OK.
    void accept() override;

  private:
    void ShowOptions(const StoredOptions& options);
    // Copies the controls into `options`. REQUIRES: the controls passed validation.
    void StoreOptions(StoredOptions& options) const;
    // The inline comment length typed, when it is a whole number in the accepted range.
    std::optional<unsigned> TypedInlineComment() const;
    void LoadConfigFile();
    void ApplyEnableRule(int StoredOptions::*trigger, const std::vector<QWidget*>& dependents);

    Prompter& prompter_;
    DialogUnits units_;
    QLineEdit* configFile_;
    QLineEdit* maxInlineComment_;
    std::vector<std::pair<int StoredOptions::*, QCheckBox*>> boxes_;
};

}  // namespace sylva
