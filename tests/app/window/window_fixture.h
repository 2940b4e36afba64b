// What the window tests share: a main window over a scratch output directory, answered by a
// scripted prompter, and helpers that act on its controls as a user would.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/window/main_dialog.h"
#include "test_support/scratch_dir.h"
#include "test_support/scripted_prompter.h"

namespace sylva::test {

// The texts the prompter showed as `kind` ("warning", "question", ...), in order.
std::vector<std::string> Shown(const ScriptedPrompter& prompter, std::string_view kind);

// One master index record as the default template writes it.
std::string MasterIndexRecord(const std::string& name, const std::string& link,
                              const std::string& description);
// A master index page holding `records` between its markers.
std::string MasterIndexPage(const std::vector<std::string>& records);

// The label and button texts of `dialog` that do not show whole in their controls, each with the
// pixels it needs and has, or nothing when all do. Labels and check boxes need their size hint; a
// push button's text needs its width inside the frame and default-button border the style draws.
QString CutTexts(const QWidget& dialog);

// Runs `inspect` on the next modal dialog once it is open (it must close the dialog).
template <typename Inspect>
void WhenModalOpens(Inspect inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        inspect(modal);
    });
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

class WindowFixture {
  public:
    // The output directory is "<scratch>/out"; the current directory is the scratch directory.
    WindowFixture();
    ~WindowFixture();

    CMainDlg& Window() { return *window_; }
    QWidget* Control(int controlId) { return window_->Control(controlId); }
    QLineEdit* Edit(int controlId) { return qobject_cast<QLineEdit*>(Control(controlId)); }
    QAbstractButton* Button(int controlId) {
        return qobject_cast<QAbstractButton*>(Control(controlId));
    }
    // Clicks the control with the left mouse button.
    void Click(int controlId);
    // Replaces the edit's text by typing `text` into it.
    void Type(int controlId, const QString& text);
    // Replaces the edit's text by pasting `text` into it.
    void Paste(int controlId, const QString& text);
    // The lines of the protocol list as it shows them, once it has taken every line written.
    std::vector<std::string> ProtocolLines();
    // Fills the fields a Create needs: project `name`, the scan path `scan`, the output path.
    void FillProject(const QString& name, const QString& scan);

    ScratchDir dir;
    std::string output;
    MainFields fields;
    ScriptedPrompter prompter;

  private:
    CurrentDirectory cwd_;
    std::unique_ptr<CMainDlg> window_;
};

}  // namespace sylva::test
