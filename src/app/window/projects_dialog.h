// CProjectsDlg: lists the projects recorded in a master index (name, link target, description),
// ordered by name, and opens the master index in the desktop's browser.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QTreeWidget>
#include <string>

#include "app/window/dialog_units.h"
#include "support/prompter.h"

namespace sylva {

class CProjectsDlg : public QDialog {
    Q_OBJECT

  public:
    CProjectsDlg(Prompter& prompter, QWidget* parent);

    // Lists the master index "<outputPath>/<masterIndexName>" read with the settings of
    // `configFile`, then runs the dialog; returns its result.
    int ShowProjects(const std::string& configFile, const std::string& outputPath,
                     const std::string& masterIndexName);
    // Fills the list and the path line without running the dialog.
    void ListProjects(const std::string& configFile, const std::string& outputPath,
                      const std::string& masterIndexName);

    const QTreeWidget& Projects() const { return *projects_; }
    QString MasterIndexPathText() const { return pathLine_->text(); }

  private:
    void OpenMasterIndex();

    Prompter& prompter_;
    DialogUnits units_;
    QLabel* pathLine_;
    QTreeWidget* projects_;
    std::string masterIndexPath_;
};

}  // namespace sylva
