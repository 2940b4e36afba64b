// Takes the screenshots of the window that README shows: the main window after a Create with
// the protocol unfolded, the Options dialog and the Projects dialog. Runs offscreen and writes
// window-main.png, window-options.png and window-projects.png into the folder it is given:
//     QT_QPA_PLATFORM=offscreen build/tests/app/window/window_screenshots docs
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/window/main_dialog.h"
#include "test_support/scripted_prompter.h"

namespace {

using sylva::CMainDlg;

// A small library of three headers to document.
void WriteSampleTree(const std::filesystem::path& root) {
    const std::pair<const char*, const char*> files[] = {
        {"geometry/point.h",
         "/**--\nDescription: A point in the plane.\nSection: Geometry\n--e*/\n"
         "Point MakePoint(double x, double y);\n\n"
         "/**--\nDescription: The distance of two points.\nParameter: a, b - the points\n"
         "Return: the distance, never negative\nSection: Geometry\n--e*/\n"
         "double Distance(Point a, Point b);\n\n"},
        {"geometry/shape.h",
         "/**--\nDescription: The area of a closed shape.\nSee also: \"Distance\"\n"
         "Section: Geometry\n--e*/\ndouble Area(const Shape& shape);\n\n"},
        {"io/reader.h",
         "/**--\nDescription: Reads a shape from a text stream.\nThrows: ParseError\n"
         "Section: Input\n--e*/\nShape ReadShape(std::istream& in);\n\n"},
    };
    for (const auto& [name, content] : files) {
        std::filesystem::path file = root / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << content;
    }
}

void Type(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* description = qobject_cast<QPlainTextEdit*>(control)) {
        description->setPlainText(text);
    }
}

void Generate(CMainDlg& window, const QString& project, const QString& description) {
    Type(window.Control(CMainDlg::kIdProjectName), project);
    Type(window.Control(CMainDlg::kIdProjectDesc), description);
    static_cast<QPushButton*>(window.Control(CMainDlg::kIdCreate))->click();
}

bool Save(QWidget& widget, const QString& file) {
    QApplication::processEvents();
    if (!widget.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

// Saves the next modal dialog as it first shows, then closes it.
void SaveWhenOpen(const QString& file, bool& saved) {
    QTimer::singleShot(0, [file, &saved] {
        QWidget* dialog = QApplication::activeModalWidget();
        saved = dialog != nullptr && Save(*dialog, file) && saved;
        if (dialog != nullptr) {
            dialog->close();
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: window_screenshots <folder for the PNG files>\n", stderr);
        return 2;
    }
    QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QTemporaryDir scratch;
    // Relative paths keep the scratch folder's name out of the pictures.
    QDir::setCurrent(scratch.path());
    WriteSampleTree("src");
    std::filesystem::create_directories("doc");

    sylva::test::ScriptedPrompter prompter;
    sylva::MainFields fields = sylva::MainFields::Initial();
    fields.scanPath = "src";
    fields.outputPath = "doc";
    CMainDlg window(fields, prompter);
    window.show();
    Generate(window, "Shapes", "Points, distances and areas");
    Generate(window, "Graphics", "Drawing shapes on a canvas");
    Generate(window, "Geometry", "Plane geometry for the shape library");
    static_cast<QPushButton*>(window.Control(CMainDlg::kIdProtocolToggle))->click();
    QTest::mouseMove(window.Control(CMainDlg::kIdViewProjects), QPoint(4, 4));
    bool saved = Save(window, folder + "/window-main.png");

    SaveWhenOpen(folder + "/window-options.png", saved);
    static_cast<QPushButton*>(window.Control(CMainDlg::kIdOptions))->click();
    SaveWhenOpen(folder + "/window-projects.png", saved);
    static_cast<QPushButton*>(window.Control(CMainDlg::kIdViewProjects))->click();
    return saved ? 0 : 1;
}
