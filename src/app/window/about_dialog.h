// CAboutDlg: the program's icon, name, version and notice.
#pragma once

#include <QDialog>
#include <QIcon>

namespace sylva {

// The program's icon: a stylised pair of trees (the name means forest).
QIcon SylvaIcon();

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent);
};

}  // namespace sylva
