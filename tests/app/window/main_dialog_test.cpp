// The main window driven as a user drives it: typing into the fields, clicking the buttons,
// answering the questions, and checking the fields, the files on disk and the protocol lines.
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "app/window/options_dialog.h"
#include "app/window/projects_dialog.h"
#include "app/window/qt_text.h"
#include "app/window/tip_box.h"
#include "window_fixture.h"

namespace sylva {

using test::MasterIndexPage;
using test::MasterIndexRecord;
using test::PaintCounter;
using test::ScriptedPrompter;
using test::Shown;
using test::WindowFixture;
namespace fs = std::filesystem;

namespace {

constexpr const char* kSource =
    "// A small library.\n"
    "\n"
    "/**--\n"
    "Description: Adds two numbers.\n"
    "Parameter: a - the first number\n"
    "--e*/\n"
    "int Add(int a, int b);\n"
    "\n";

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// What the mouse does in a double click: press, release, press again (the double click), release.
void DoubleClick(QWidget* widget, QPoint point) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, point);
}

// Removes the project "Demo", answering the question about its files with `deleteFiles`.
void RemoveDemo(WindowFixture& w, bool deleteFiles) {
    w.Type(CMainDlg::kIdProjectName, QStringLiteral("Demo"));
    w.prompter.answers.push_back(deleteFiles);
    w.Click(CMainDlg::kIdRemove);
}

QString Joined(const std::vector<std::string>& lines) {
    QStringList all;
    for (const std::string& line : lines) {
        all << ToQString(line);
    }
    return all.join(QStringLiteral(" | "));
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void opensFoldedWithTheStartValues() {
        WindowFixture w;
        CMainDlg& window = w.Window();
        QCOMPARE(window.windowTitle(), QStringLiteral("Brackwater - Source Code Documentation"));
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(!window.ProtocolShown());
        QCOMPARE(w.Button(CMainDlg::kIdProtocolToggle)->text(), QStringLiteral("Protocoll >>"));
        // Folded, the window ends where the protocol list begins, whatever the dialog font.
        QCOMPARE(window.height(), w.Control(CMainDlg::kIdProtocolList)->y());
        QCOMPARE(w.Edit(CMainDlg::kIdOutputPath)->text(), ToQString(w.output));
        QCOMPARE(w.Edit(CMainDlg::kIdMasterIndexName)->text(),
                 QStringLiteral("SYLVA_MAIN_INDEX.HTML"));
        QCOMPARE(w.Edit(CMainDlg::kIdFilter)->text(), QStringLiteral(".CPP|.C|.H|.SYL"));
        QVERIFY(w.Edit(CMainDlg::kIdScanPath)->isVisible());
        QVERIFY(!w.Edit(CMainDlg::kIdForeignHtml)->isVisible());
        QVERIFY(w.Button(CMainDlg::kIdTypePublic)->isChecked());
        QVERIFY(!w.Button(CMainDlg::kIdTypePrivate)->isChecked());
        QVERIFY(w.Button(CMainDlg::kIdScanMode)->isChecked());
        QCOMPARE(w.Button(CMainDlg::kIdScanMode)->text(), QStringLiteral("Scan path:"));
    }

    // The longest values the command line takes, and a current directory longer still, reach
    // the edits whole: the window acts on what batch mode would.
    void commandLineValuesFillTheFields() {
        test::ScratchDir dir;
        std::string deep = dir.path();
        for (char letter : {'a', 'b', 'c'}) {
            deep += "/" + std::string(100, letter);
        }
        fs::create_directories(deep);
        test::CurrentDirectory cwd(deep);
        test::ScriptedPrompter prompter;
        MainFields fields = MainFields::Initial();
        fields.projectName = std::string(259, 'p');
        fields.projectDesc = std::string(259, 'd');
        fields.scanPath = "/" + std::string(258, 's');
        CMainDlg window(fields, prompter);
        QCOMPARE(qobject_cast<QLineEdit*>(window.Control(CMainDlg::kIdProjectName))->text(),
                 ToQString(fields.projectName));
        QCOMPARE(
            qobject_cast<QPlainTextEdit*>(window.Control(CMainDlg::kIdProjectDesc))->toPlainText(),
            ToQString(fields.projectDesc));
        QCOMPARE(qobject_cast<QLineEdit*>(window.Control(CMainDlg::kIdScanPath))->text(),
                 ToQString(fields.scanPath));
        QCOMPARE(qobject_cast<QLineEdit*>(window.Control(CMainDlg::kIdOutputPath))->text(),
                 ToQString(fs::current_path().string()));
        QVERIFY(prompter.shown.empty());
    }

    // Each row: the edit, what is pasted into it, and what it must then hold.
    void editsKeepTheirLimits_data() {
        QTest::addColumn<int>("controlId");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("held");
        // Each field takes every value that batch mode would act on: a name as long as the command
        // line takes, a path as long as the system takes, a file name as long as a file's.
        QTest::newRow("project name: 259")
            << int(CMainDlg::kIdProjectName) << QString(270, 'p') << QString(259, 'p');
        QTest::newRow("scan path: 4095")
            << int(CMainDlg::kIdScanPath) << QString(4100, 's') << QString(4095, 's');
        QTest::newRow("output path: 4095")
            << int(CMainDlg::kIdOutputPath) << QString(4100, 'o') << QString(4095, 'o');
        QTest::newRow("master index: 255")
            << int(CMainDlg::kIdMasterIndexName) << QString(260, 'm') << QString(255, 'm');
        QTest::newRow("filter: 220, upper case")
            << int(CMainDlg::kIdFilter) << ".cpp|.hxx|" + QString(220, 'x')
            << ".CPP|.HXX|" + QString(210, 'X');
        QTest::newRow("filter: ASCII letters only")
            << int(CMainDlg::kIdFilter) << QString::fromUtf8(".cpp|.ü")
            << QString::fromUtf8(".CPP|.ü");
    }
    void editsKeepTheirLimits() {
        QFETCH(int, controlId);
        QFETCH(QString, pasted);
        QFETCH(QString, held);
        WindowFixture w;
        w.Paste(controlId, pasted);
        QCOMPARE(w.Edit(controlId)->text(), held);
    }

    void descriptionHoldsOneLineOfAtMostAThousandCharacters() {
        WindowFixture w;
        auto* description = qobject_cast<QPlainTextEdit*>(w.Control(CMainDlg::kIdProjectDesc));
        w.Type(CMainDlg::kIdProjectDesc, QString(1010, 'd'));
        QCOMPARE(description->toPlainText(), QString(1000, 'd'));
        // Enter in the description asks whether to generate instead of breaking the line.
        w.Type(CMainDlg::kIdProjectDesc, QStringLiteral("first"));
        w.prompter.answers.push_back(false);
        QTest::keyClick(description, Qt::Key_Return);
        QTest::keyClicks(description, QStringLiteral("second"));
        QCOMPARE(description->toPlainText(), QStringLiteral("firstsecond"));
        // A pasted line break would split the project's master index record.
        QApplication::clipboard()->setText(QStringLiteral("one\ntwo\r\nthree"));
        w.Type(CMainDlg::kIdProjectDesc, QString());
        QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(description->toPlainText(), QStringLiteral("one two three"));
        QCOMPARE(Shown(w.prompter, "question"),
                 std::vector<std::string>{"Should I start HTML generation?"});
    }

    // Each row: what the fields hold, and the one warning Create must show.
    void createChecksTheFieldsInOrder_data() {
        QTest::addColumn<QString>("scan");
        QTest::addColumn<QString>("master");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("warning");
        QTest::newRow("all empty") << ""
                                   << ""
                                   << ""
                                   << ""
                                   << "Scan path is empty, please enter a valid path name.";
        QTest::newRow("no master index") << "/src"
                                         << ""
                                         << ""
                                         << ""
                                         << "Name of main index file is empty, please enter a "
                                            "valid filename.";
        QTest::newRow("no project") << "/src"
                                    << "M.HTML"
                                    << ""
                                    << ""
                                    << "Project name is empty, please enter a valid project name.";
        QTest::newRow("no output") << "/src"
                                   << "M.HTML"
                                   << "Demo"
                                   << ""
                                   << "Output path is empty, please enter a valid path name.";
        QTest::newRow("dots only") << "/src"
                                   << "M.HTML"
                                   << ".."
                                   << "/tmp"
                                   << "Project name .. gives no usable directory name, please "
                                      "enter another project name.";
    }
    void createChecksTheFieldsInOrder() {
        QFETCH(QString, scan);
        QFETCH(QString, master);
        QFETCH(QString, project);
        QFETCH(QString, output);
        QFETCH(QString, warning);
        WindowFixture w;
        w.Type(CMainDlg::kIdScanPath, scan);
        w.Type(CMainDlg::kIdMasterIndexName, master);
        w.Type(CMainDlg::kIdProjectName, project);
        w.Type(CMainDlg::kIdOutputPath, output);
        w.Click(CMainDlg::kIdCreate);
        QCOMPARE(w.prompter.shown.size(), 1u);
        QCOMPARE(Shown(w.prompter, "warning"), std::vector<std::string>{ToBytes(warning)});
        QVERIFY(w.prompter.progressDialogs.empty());
        QVERIFY(fs::is_empty(w.output));
    }

    void createGeneratesASmallTreeAndAsksBeforeOverwriting() {
        WindowFixture w;
        w.dir.Write("src/calc.h", kSource);
        w.FillProject(QStringLiteral("Demo"), ToQString(w.dir.File("src")));
        w.Type(CMainDlg::kIdProjectDesc, QStringLiteral("A small library"));
        w.Click(CMainDlg::kIdCreate);

        QVERIFY2(w.prompter.shown.empty(), qPrintable(QString::number(w.prompter.shown.size())));
        QVERIFY(fs::is_regular_file(w.output + "/Demo/Demo.HTML"));
        QVERIFY(fs::is_regular_file(w.output + "/Demo/Demo_frame.HTML"));
        QVERIFY(fs::is_regular_file(w.output + "/Demo/Demo_frameidx.HTML"));
        std::string page = test::ReadFile(w.output + "/Demo/SYLVA_Add.html");
        QVERIFY2(page.find("Adds two numbers.") != std::string::npos, page.c_str());
        std::string master = test::ReadFile(w.output + "/SYLVA_MAIN_INDEX.HTML");
        QVERIFY(master.find("<!--DESC:Demo;Demo/Demo_frame.HTML;A small library") !=
                std::string::npos);
        std::vector<std::string> lines = w.ProtocolLines();
        QVERIFY2(!lines.empty() && lines.back() == "Path done, scanned paths 1, scanned files 1.",
                 qPrintable(Joined(lines)));
        QVERIFY(Contains(lines, "  Scanning file calc.h..."));
        QCOMPARE(w.prompter.progressDialogs.size(), 1u);
        const test::RecordingProgress& progress = *w.prompter.progressDialogs.front();
        QCOMPARE(progress.title, std::string("Sylva - Generate HTML system..."));
        QCOMPARE(progress.rangeLower, 0);
        QCOMPARE(progress.rangeUpper, 500);
        QVERIFY(!progress.percentShown);
        QCOMPARE(progress.step, 5);
        QVERIFY(!progress.positions.empty());

        // The second Create finds the project and asks; No leaves everything as it was.
        std::string index = test::ReadFile(w.output + "/Demo/Demo.HTML");
        w.prompter.answers.push_back(false);
        w.Click(CMainDlg::kIdCreate);
        QCOMPARE(Shown(w.prompter, "question"),
                 std::vector<std::string>{"Project already exists on output path, are you shure "
                                          "you want to overwrite it?"});
        QCOMPARE(w.prompter.progressDialogs.size(), 1u);
        QVERIFY(w.ProtocolLines().empty());
        QCOMPARE(test::ReadFile(w.output + "/Demo/Demo.HTML"), index);
    }

    void createAsksWhenScanAndOutputPathAreTheSame() {
        WindowFixture w;
        // Typed with backslashes, the scan path is the output path once they become slashes.
        QString scan = ToQString(w.output).replace('/', '\\');
        w.FillProject(QStringLiteral("Demo"), scan);
        w.prompter.answers.push_back(false);
        w.Click(CMainDlg::kIdCreate);
        QCOMPARE(Shown(w.prompter, "cautious question"),
                 std::vector<std::string>{"Output path and scan path are the same!\n\nIs this the "
                                          "intent?"});
        QVERIFY(w.prompter.progressDialogs.empty());
        QVERIFY(!fs::exists(w.output + "/Demo"));
    }

    void enterAsksAndGeneratesEvenInForeignMode() {
        WindowFixture w;
        w.prompter.answers.push_back(false);
        QTest::keyClick(w.Control(CMainDlg::kIdProjectName), Qt::Key_Return);
        QCOMPARE(Shown(w.prompter, "question"),
                 std::vector<std::string>{"Should I start HTML generation?"});
        QVERIFY(Shown(w.prompter, "warning").empty());

        w.Click(CMainDlg::kIdScanMode);
        w.prompter.answers.push_back(true);
        QTest::keyClick(w.Control(CMainDlg::kIdProjectName), Qt::Key_Enter);
        // Generation, not the foreign index: the (hidden) scan path is checked first.
        QCOMPARE(Shown(w.prompter, "warning"),
                 std::vector<std::string>{"Scan path is empty, please enter a valid path name."});
    }

    void enterOnAButtonClicksThatButton() {
        WindowFixture w;
        QWidget* toggle = w.Control(CMainDlg::kIdProtocolToggle);
        toggle->setFocus();
        QTest::keyClick(toggle, Qt::Key_Return);
        QVERIFY(w.Window().ProtocolShown());
        QVERIFY(w.prompter.shown.empty());
    }

    void removeAnsweredNoKeepsTheFilesButDropsTheLink() {
        WindowFixture w;
        w.dir.Write("out/Demo/Demo.HTML", "index");
        w.dir.Write("out/SYLVA_MAIN_INDEX.HTML",
                    MasterIndexPage({MasterIndexRecord("Demo", "Demo/Demo_frame.HTML", "d"),
                                     MasterIndexRecord("Other", "Other/Other_frame.HTML", "o")}));
        RemoveDemo(w, false);
        QCOMPARE(Shown(w.prompter, "question"),
                 std::vector<std::string>{
                     "Every file in the projects sub directory " + w.output +
                     "/Demo/*.* will be deleted!\nAre you shure, you want to delete every content "
                     "of the project?"});
        QVERIFY(fs::is_regular_file(w.output + "/Demo/Demo.HTML"));
        std::vector<std::string> lines = w.ProtocolLines();
        QVERIFY2(lines.size() >= 2, qPrintable(Joined(lines)));
        QCOMPARE(lines[0], std::string("Delete project Demo..."));
        QCOMPARE(lines[1], "  Remove master index link to project Demo in path " + w.output + ".");
        std::string master = test::ReadFile(w.output + "/SYLVA_MAIN_INDEX.HTML");
        QVERIFY(master.find("<!--Demo-->") == std::string::npos);
        QVERIFY(master.find("<!--Other-->") != std::string::npos);
    }

    void removeAnsweredYesDeletesTheProject() {
        WindowFixture w;
        w.dir.Write("out/Demo/Demo.HTML", "index");
        w.dir.Write("out/Demo/SYLVA_Add.html", "page");
        RemoveDemo(w, true);
        QVERIFY(!fs::exists(w.output + "/Demo"));
        std::vector<std::string> lines = w.ProtocolLines();
        QVERIFY2(Contains(lines,
                          "  Deleting all project document contents for project Demo "
                          "from " +
                              w.output + "."),
                 qPrintable(Joined(lines)));
        QVERIFY(Contains(lines, "    Deleting file " + w.output + "/Demo/Demo.HTML..."));
        QVERIFY(Contains(lines, "    Deleting file " + w.output + "/Demo/SYLVA_Add.html..."));
        QCOMPARE(lines.back(), std::string("Project deleted successfully."));
        QVERIFY(Shown(w.prompter, "warning").empty());
    }

    void removeLeavesASubdirectoryAndSaysSo() {
        WindowFixture w;
        w.dir.Write("out/Demo/Demo.HTML", "index");
        w.dir.Write("out/Demo/sources/calc.h", "source");
        RemoveDemo(w, true);
        QVERIFY(!fs::exists(w.output + "/Demo/Demo.HTML"));
        QVERIFY(fs::is_regular_file(w.output + "/Demo/sources/calc.h"));
        QCOMPARE(w.ProtocolLines().back(),
                 std::string("ERROR: Cannot delete project sub directory!"));
    }

    void removeOfAMissingProjectWarns() {
        WindowFixture w;
        w.Type(CMainDlg::kIdProjectName, QStringLiteral("Nothing"));
        w.Click(CMainDlg::kIdRemove);
        QCOMPARE(Shown(w.prompter, "warning"),
                 std::vector<std::string>{"Project does not exist on output path."});
        QVERIFY(w.ProtocolLines().empty());
    }

    void modeSwitchShowsTheControlsOfEachMode() {
        WindowFixture w;
        w.Click(CMainDlg::kIdScanMode);
        QCOMPARE(w.Button(CMainDlg::kIdScanMode)->text(), QStringLiteral("Foreign html:"));
        for (int hidden : {CMainDlg::kIdScanPath, CMainDlg::kIdChooseScanPath,
                           CMainDlg::kIdTypePublic, CMainDlg::kIdTypePrivate}) {
            QVERIFY2(!w.Control(hidden)->isVisible(), qPrintable(QString::number(hidden)));
        }
        QVERIFY(w.Control(CMainDlg::kIdForeignHtml)->isVisible());
        QVERIFY(w.Control(CMainDlg::kIdChooseForeignHtml)->isVisible());
        QCOMPARE(w.fields.modeIsScan, 0);

        w.Click(CMainDlg::kIdScanMode);
        QCOMPARE(w.Button(CMainDlg::kIdScanMode)->text(), QStringLiteral("Scan path:"));
        QVERIFY(w.Control(CMainDlg::kIdScanPath)->isVisible());
        QVERIFY(w.Control(CMainDlg::kIdTypePrivate)->isVisible());
        QVERIFY(!w.Control(CMainDlg::kIdForeignHtml)->isVisible());
        QCOMPARE(w.fields.modeIsScan, 1);
    }

    void foreignIndexWithALocalPathAsksAndAddsItWithLocalhost() {
        WindowFixture w;
        w.Click(CMainDlg::kIdScanMode);
        w.Type(CMainDlg::kIdProjectName, QStringLiteral("Manual"));
        w.Type(CMainDlg::kIdForeignHtml, QStringLiteral("/srv/manual/index.html"));
        w.prompter.answers.push_back(true);
        w.Click(CMainDlg::kIdCreate);
        QCOMPARE(Shown(w.prompter, "question").size(), 1u);
        std::vector<std::string> lines = w.ProtocolLines();
        QVERIFY2(lines.size() >= 3, qPrintable(Joined(lines)));
        QCOMPARE(lines.front(), std::string("Add foreign index to main index file."));
        QCOMPARE(lines[1],
                 std::string("WARNING: \"Foreign index\" file name contains drive statement!"));
        QCOMPARE(lines.back(), std::string("Foreign index project Manual added to master index "
                                           "SYLVA_MAIN_INDEX.HTML."));
        std::string master = test::ReadFile(w.output + "/SYLVA_MAIN_INDEX.HTML");
        QVERIFY(master.find("<!--DESC:Manual;file://localhost/srv/manual/index.html;") !=
                std::string::npos);
        // The field changed, the edit keeps what the user typed.
        QCOMPARE(w.Edit(CMainDlg::kIdForeignHtml)->text(),
                 QStringLiteral("/srv/manual/index.html"));
    }

    void foreignIndexAddressIsEnteredWithoutAQuestion() {
        WindowFixture w;
        w.Click(CMainDlg::kIdScanMode);
        w.Type(CMainDlg::kIdProjectName, QStringLiteral("Web"));
        w.Type(CMainDlg::kIdForeignHtml, QStringLiteral("https://example.org/docs/"));
        w.Click(CMainDlg::kIdCreate);
        QVERIFY(w.prompter.shown.empty());
        std::string master = test::ReadFile(w.output + "/SYLVA_MAIN_INDEX.HTML");
        QVERIFY(master.find("<!--DESC:Web;https://example.org/docs/;") != std::string::npos);
    }

    void foreignIndexWithoutAFileIsReported() {
        WindowFixture w;
        w.Click(CMainDlg::kIdScanMode);
        w.Type(CMainDlg::kIdProjectName, QStringLiteral("Web"));
        w.Click(CMainDlg::kIdCreate);
        QCOMPARE(w.ProtocolLines(),
                 (std::vector<std::string>{"Add foreign index to main index file.",
                                           "ERROR: \"Foreign index\" file not given."}));
        QCOMPARE(Shown(w.prompter, "warning"),
                 std::vector<std::string>{"Please insert a \"Foreign index:\" html filename or "
                                          "URL. This adress will be added as project."});
        QVERIFY(!fs::exists(w.output + "/SYLVA_MAIN_INDEX.HTML"));
    }

    void matchingDescriptionComesFromTheFirstRecordOfTheName() {
        WindowFixture w;
        w.dir.Write("out/SYLVA_MAIN_INDEX.HTML",
                    MasterIndexPage({MasterIndexRecord("Alpha", "a.html", "Not this one"),
                                     MasterIndexRecord("Demo", "d.html", "The first"),
                                     MasterIndexRecord("Demo", "e.html", "The second")}));
        w.Type(CMainDlg::kIdProjectName, QStringLiteral("Demo"));
        w.Window().ProtocolLines().AddSelString("kept", 1, 1000);
        w.Click(CMainDlg::kIdMatchDescription);
        auto* description = qobject_cast<QPlainTextEdit*>(w.Control(CMainDlg::kIdProjectDesc));
        QCOMPARE(description->toPlainText(), QStringLiteral("The first"));
        QCOMPARE(w.ProtocolLines(), std::vector<std::string>{"kept"});

        // A name without a record changes nothing and says nothing.
        w.Type(CMainDlg::kIdProjectName, QStringLiteral("demo"));
        w.Click(CMainDlg::kIdMatchDescription);
        QCOMPARE(description->toPlainText(), QStringLiteral("The first"));
        QVERIFY(w.prompter.shown.empty());
    }

    // Each row: the button, the edit it fills, the kind of choice, whether HTML is offered, what
    // the user chooses, what the edit then shows, and where the choice starts ("OUT" stands for
    // the output path).
    void chooseButtonsFillTheirField_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("edit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("html");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("from");
        QTest::newRow("scan path") << int(CMainDlg::kIdChooseScanPath) << int(CMainDlg::kIdScanPath)
                                   << int(Prompter::FileChoice::kFolder) << false << "/src/lib"
                                   << "/src/lib"
                                   << "";
        QTest::newRow("output path")
            << int(CMainDlg::kIdChooseOutputPath) << int(CMainDlg::kIdOutputPath)
            << int(Prompter::FileChoice::kFolder) << false << "/doc"
            << "/doc"
            << "OUT";
        QTest::newRow("master index: the file name only")
            << int(CMainDlg::kIdChooseMasterIndex) << int(CMainDlg::kIdMasterIndexName)
            << int(Prompter::FileChoice::kFileToWrite) << true << "/doc/ALL.HTML"
            << "ALL.HTML"
            << "OUT/SYLVA_MAIN_INDEX.HTML";
    }
    void chooseButtonsFillTheirField() {
        QFETCH(int, button);
        QFETCH(int, edit);
        QFETCH(int, kind);
        QFETCH(bool, html);
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        QFETCH(QString, from);
        WindowFixture w;
        // The choice starts from what the field holds; the master index from the output path.
        from.replace(QStringLiteral("OUT"), ToQString(w.output));
        QString before = w.Edit(edit)->text();
        w.prompter.choices = {std::nullopt, ToBytes(chosen)};
        w.Click(button);
        QCOMPARE(w.Edit(edit)->text(), before);
        w.Click(button);
        QCOMPARE(w.Edit(edit)->text(), shown);
        QCOMPARE(w.prompter.shown.size(), 2u);
        QCOMPARE(w.prompter.shown[1], "choose " + std::to_string(kind) + " from " + ToBytes(from) +
                                          (html ? " html" : ""));
        QVERIFY(w.ProtocolLines().empty());
    }

    void chooseForeignFileOffersExistingHtmlFiles() {
        WindowFixture w;
        w.Click(CMainDlg::kIdScanMode);
        // Deeper than the 250 characters the design's field held: a chosen file is taken whole.
        std::string chosen = "/srv/" + std::string(280, 'm') + "/index.html";
        w.prompter.choices.push_back(chosen);
        w.Click(CMainDlg::kIdChooseForeignHtml);
        QCOMPARE(w.Edit(CMainDlg::kIdForeignHtml)->text(), ToQString(chosen));
        QCOMPARE(w.prompter.shown, std::vector<std::string>{"choose 1 from  html"});
    }

    // A value longer than its edit holds is refused with a message, never cut, and the next
    // action acts on what the edit shows.
    void tooLongValuesAreRefusedNotCut() {
        WindowFixture w;
        w.prompter.choices.push_back("/" + std::string(4095, 'o'));
        w.Click(CMainDlg::kIdChooseOutputPath);
        QCOMPARE(w.Edit(CMainDlg::kIdOutputPath)->text(), ToQString(w.output));
        w.Click(CMainDlg::kIdShowMasterIndex);
        QCOMPARE(w.prompter.shown.back(), "open " + w.output + "/SYLVA_MAIN_INDEX.HTML");

        w.dir.Write("out/SYLVA_MAIN_INDEX.HTML",
                    MasterIndexPage({MasterIndexRecord("Demo", "d.html", std::string(1001, 'd'))}));
        w.Type(CMainDlg::kIdProjectName, QStringLiteral("Demo"));
        w.Type(CMainDlg::kIdProjectDesc, QStringLiteral("kept"));
        w.Click(CMainDlg::kIdMatchDescription);
        auto* description = qobject_cast<QPlainTextEdit*>(w.Control(CMainDlg::kIdProjectDesc));
        QCOMPARE(description->toPlainText(), QStringLiteral("kept"));
        QCOMPARE(Shown(w.prompter, "warning"),
                 (std::vector<std::string>{
                     "The output path is 4096 characters long, more than the 4095 its field "
                     "holds; the field keeps what it held.",
                     "The project description is 1001 characters long, more than the 1000 its "
                     "field holds; the field keeps what it held."}));
    }

    void showMasterIndexOpensItAndWarnsWhenThatFails() {
        WindowFixture w;
        w.Click(CMainDlg::kIdShowMasterIndex);
        QCOMPARE(w.prompter.shown,
                 std::vector<std::string>{"open " + w.output + "/SYLVA_MAIN_INDEX.HTML"});
        w.prompter.openFailure = "Cannot open it.";
        w.Click(CMainDlg::kIdShowMasterIndex);
        QCOMPARE(Shown(w.prompter, "warning"), std::vector<std::string>{"Cannot open it."});
    }

    // In either mode, with the protocol folded or not, in the default font and (run again with
    // 144 dots per inch) a larger one.
    void everyTextShowsWhole() {
        WindowFixture w;
        CMainDlg& window = w.Window();
        QCOMPARE(test::CutTexts(window), QString());
        w.Click(CMainDlg::kIdScanMode);
        QCOMPARE(w.Button(CMainDlg::kIdScanMode)->text(), QStringLiteral("Foreign html:"));
        w.Click(CMainDlg::kIdProtocolToggle);
        QCOMPARE(test::CutTexts(window), QString());
        // Stretched across, the controls still lie inside the window and inside their groups.
        for (QWidget* control : window.findChildren<QWidget*>()) {
            QVERIFY(control->isWindow() || control->geometry().right() < window.width());
        }
        QRect settings = window.findChild<QGroupBox*>()->geometry();
        QVERIFY(settings.contains(w.Control(CMainDlg::kIdChooseForeignHtml)->geometry()));
    }

    void protocolToggleFoldsTwiceAndKeepsTheLines() {
        WindowFixture w;
        CMainDlg& window = w.Window();
        int folded = window.height();
        auto* list = w.Control(CMainDlg::kIdProtocolList);
        window.ProtocolLines().AddSelString("written while folded", 1, 1000);
        w.Click(CMainDlg::kIdProtocolToggle);
        QVERIFY(window.ProtocolShown());
        QCOMPARE(window.height(), DialogUnits::ForFont(DialogFont()).Y(346));
        QCOMPARE(w.Button(CMainDlg::kIdProtocolToggle)->text(), QStringLiteral("Protocoll <<"));
        QVERIFY(list->geometry().bottom() < window.height());
        QCOMPARE(w.ProtocolLines(), std::vector<std::string>{"written while folded"});
        w.Click(CMainDlg::kIdProtocolToggle);
        QVERIFY(!window.ProtocolShown());
        QCOMPARE(window.height(), folded);
        QCOMPARE(w.Button(CMainDlg::kIdProtocolToggle)->text(), QStringLiteral("Protocoll >>"));
    }

    void doubleClickShowsTheSelectedLineOnly() {
        WindowFixture w;
        w.Click(CMainDlg::kIdProtocolToggle);
        auto* list = qobject_cast<QListView*>(w.Control(CMainDlg::kIdProtocolList));
        DoubleClick(list->viewport(), QPoint(20, 5));
        QVERIFY(w.prompter.shown.empty());

        // A line of the run names an item's type with a line break: the row shows a space, the
        // box the break itself, neither the markup.
        ProtocolList& protocol = w.Window().ProtocolLines();
        protocol.AddSelString("    Add to HTML SYLVA_Add.html (type: Tools<BR>(Public))", 1, 1000);
        protocol.AddSelString("second line", 1, 1000);
        QCOMPARE(w.ProtocolLines().front(),
                 std::string("    Add to HTML SYLVA_Add.html (type: Tools (Public))"));
        QRect first = list->visualRect(list->model()->index(0, 0));
        DoubleClick(list->viewport(), first.center());
        QCOMPARE(
            Shown(w.prompter, "information"),
            std::vector<std::string>{"    Add to HTML SYLVA_Add.html (type: Tools\n(Public))"});
    }

    void escapeAndClosingAskFirstButCloseDoesNot() {
        WindowFixture w;
        CMainDlg& window = w.Window();
        w.prompter.answers.push_back(false);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        w.prompter.answers.push_back(false);
        window.close();
        QVERIFY(window.isVisible());
        QCOMPARE(Shown(w.prompter, "cautious question"),
                 (std::vector<std::string>{"Do you really want to close Sylva?",
                                           "Do you really want to close Sylva?"}));
        w.prompter.answers.push_back(true);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));

        window.show();
        w.Click(CMainDlg::kIdClose);
        QVERIFY(!window.isVisible());
        QCOMPARE(w.prompter.shown.size(), 3u);
    }

    void helpOpensTheAboutBox() {
        WindowFixture w;
        QString title;
        test::WhenModalOpens([&title](QWidget* modal) {
            title = modal->windowTitle();
            QTest::mouseClick(modal->findChild<QPushButton*>(), Qt::LeftButton);
        });
        w.Click(CMainDlg::kIdHelp);
        QCOMPARE(title, QString::fromUtf8("Info über Sylva"));
    }

    void optionsButtonEditsTheStoredOptionsOnlyOnOk() {
        WindowFixture w;
        auto uncheckAlphaIndexThen = [](const char* finish) {
            test::WhenModalOpens([finish](QWidget* modal) {
                auto* options = qobject_cast<COptionsDlg*>(modal);
                QVERIFY(options != nullptr);
                options->Box(&StoredOptions::alphaIndex)->click();
                for (auto* button : options->findChildren<QPushButton*>()) {
                    if (button->text() == QLatin1String(finish)) {
                        button->click();
                    }
                }
            });
        };
        uncheckAlphaIndexThen("Cancel");
        w.Click(CMainDlg::kIdOptions);
        QCOMPARE(w.fields.options, StoredOptions());
        uncheckAlphaIndexThen("OK");
        w.Click(CMainDlg::kIdOptions);
        QCOMPARE(w.fields.options.alphaIndex, 0);
        QVERIFY(w.ProtocolLines().empty());
    }

    void viewProjectsListsTheTypedMasterIndex() {
        WindowFixture w;
        w.dir.Write("out/ALL.HTML",
                    MasterIndexPage({MasterIndexRecord("Zeta", "z.html", "last"),
                                     MasterIndexRecord("Alpha", "a.html", "first")}));
        w.Type(CMainDlg::kIdMasterIndexName, QStringLiteral("ALL.HTML"));
        QStringList names;
        QString path;
        test::WhenModalOpens([&](QWidget* modal) {
            auto* projects = qobject_cast<CProjectsDlg*>(modal);
            QVERIFY(projects != nullptr);
            path = projects->MasterIndexPathText();
            for (int row = 0; row < projects->Projects().topLevelItemCount(); ++row) {
                names << projects->Projects().topLevelItem(row)->text(0);
            }
            projects->accept();
        });
        w.Click(CMainDlg::kIdViewProjects);
        QCOMPARE(path, ToQString(w.output + "/ALL.HTML"));
        QCOMPARE(names, (QStringList{"Alpha", "Zeta"}));
    }

    void hoverTipFollowsTheMouseFromControlToControl() {
        WindowFixture w;
        CMainDlg& window = w.Window();
        auto* tip = window.findChild<TipBox*>();
        QVERIFY(tip != nullptr);
        QWidget* create = w.Control(CMainDlg::kIdCreate);
        QTest::mouseMove(create, QPoint(5, 5));
        QTRY_VERIFY(tip->isVisible());
        // "Scan the path or insert the foreign index..." is 44 characters: 340 pixels wide, too
        // wide for the right of the button, so it extends to the left of the button's centre.
        QRect box = tip->geometry();
        QCOMPARE(box.width(), 340);
        QCOMPARE(box.height(), 25);
        QCOMPARE(box.left() + box.width(), (2 * create->x() + create->width()) / 2);
        QCOMPARE(box.top(), create->y() + create->height() - create->height() / 2);

        QTest::qWait(50);  // the first painting
        PaintCounter paints(tip);
        QTest::mouseMove(create, QPoint(10, 6));
        QTest::mouseMove(create, QPoint(20, 8));
        QTest::qWait(50);
        QCOMPARE(paints.count, 0);
        QVERIFY(tip->isVisible());

        QTest::mouseMove(w.Control(CMainDlg::kIdProjectName), QPoint(5, 5));
        QTRY_VERIFY(!tip->isVisible());

        QWidget* chooseOutput = w.Control(CMainDlg::kIdChooseOutputPath);
        QTest::mouseMove(chooseOutput, QPoint(3, 3));
        QTRY_VERIFY(tip->isVisible());
        QCOMPARE(tip->geometry().width(), 10 + 20 * 15 / 2);  // "Choose a output path"

        // The bare surface between the two group boxes takes the hint away.
        DialogUnits units = DialogUnits::ForFont(DialogFont());
        QList<QGroupBox*> groups = window.findChildren<QGroupBox*>();
        int between = (groups[0]->geometry().right() + groups[1]->geometry().left()) / 2;
        QTest::mouseMove(&window, QPoint(between, units.Y(100)));
        QTRY_VERIFY(!tip->isVisible());

        // So does leaving the window; coming back onto the same control shows the hint again.
        QTest::mouseMove(chooseOutput, QPoint(3, 3));
        QTRY_VERIFY(tip->isVisible());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&window, &leave);
        QVERIFY(!tip->isVisible());
        QTest::mouseMove(chooseOutput, QPoint(4, 4));
        QTRY_VERIFY(tip->isVisible());
    }

    void hiddenScanButtonLendsNoTipToTheForeignButton() {
        WindowFixture w;
        auto* tip = w.Window().findChild<TipBox*>();
        w.Click(CMainDlg::kIdScanMode);
        QTest::mouseMove(w.Control(CMainDlg::kIdChooseForeignHtml), QPoint(3, 3));
        QTest::qWait(50);
        QVERIFY(!tip->isVisible());
    }
};

}  // namespace sylva

QTEST_MAIN(sylva::MainDialogTest)
#include "main_dialog_test.moc"
