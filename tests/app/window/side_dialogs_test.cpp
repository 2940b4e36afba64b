// The Options, Projects and About dialogs, each opened on its own and driven through its
// controls.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "app/window/about_dialog.h"
#include "app/window/options_dialog.h"
#include "app/window/projects_dialog.h"
#include "app/window/qt_text.h"
#include "window_fixture.h"

namespace sylva {

using test::MasterIndexPage;
using test::MasterIndexRecord;
using test::ScriptedPrompter;
using test::Shown;

namespace {

// Every check box of the Options dialog with the run option it must edit.
const std::pair<const char*, int StoredOptions::*> kBoxes[] = {
    {"Include subdirectories while scanning path", &StoredOptions::includeSubdirs},
    {"Add last write access date/time to \"History\" section", &StoredOptions::addHistoryDate},
    {"Add source file link to \"Source\" section", &StoredOptions::addSourceLink},
    {"Group index items by class name (if found)", &StoredOptions::groupByClass},
    {"Remove function declaration inline (param) comments", &StoredOptions::removeInlineComments},
    {"Search for every main item and replace with link", &StoredOptions::searchAndLink},
    {"Copy sources to pool directory (if \"Add source link\")", &StoredOptions::copySources},
    {"Attention section", &StoredOptions::sectionAttention},
    {"Author section", &StoredOptions::sectionAuthor},
    {"Content section", &StoredOptions::sectionContent},
    {"Copyright section", &StoredOptions::sectionCopyright},
    {"Description section", &StoredOptions::sectionDescription},
    {"Examples section", &StoredOptions::sectionExamples},
    {"History section", &StoredOptions::sectionHistory},
    {"Parameter section", &StoredOptions::sectionParameter},
    {"Remark section", &StoredOptions::sectionRemark},
    {"Request section", &StoredOptions::sectionRequest},
    {"Return section", &StoredOptions::sectionReturn},
    {"See Also section", &StoredOptions::sectionSeeAlso},
    {"Source section", &StoredOptions::sectionSource},
    {"Throws section", &StoredOptions::sectionThrows},
    {"Type section", &StoredOptions::sectionType},
    {"Version section", &StoredOptions::sectionVersion},
    {"Add alphabetic index to project index", &StoredOptions::alphaIndex},
};

QCheckBox* BoxLabelled(const QDialog& dialog, const char* label) {
    for (auto* box : dialog.findChildren<QCheckBox*>()) {
        if (box->text() == QString::fromLatin1(label)) {
            return box;
        }
    }
    return nullptr;
}

QPushButton* ButtonLabelled(const QDialog& dialog, const QString& label) {
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == label) {
            return button;
        }
    }
    return nullptr;
}

// Opens the Options dialog on `options`, lets `act` work on it while it is open, and returns
// the dialog's result. `act` must end the dialog or leave that to a later step.
template <typename Act>
int EditOptions(ScriptedPrompter& prompter, StoredOptions& options, Act act) {
    COptionsDlg dialog(prompter, nullptr);
    test::WhenModalOpens([&dialog, act](QWidget*) { act(dialog); });
    return dialog.EditOptions(options);
}

}  // namespace

class SideDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void everyOptionsBoxEditsItsOwnField() {
        for (const auto& [label, field] : kBoxes) {
            ScriptedPrompter prompter;
            StoredOptions options;
            StoredOptions expected;
            expected.*field = expected.*field != 0 ? 0 : 1;
            int result = EditOptions(prompter, options, [label](COptionsDlg& dialog) {
                QCheckBox* box = BoxLabelled(dialog, label);
                QVERIFY2(box != nullptr, label);
                box->setEnabled(true);
                box->click();
                ButtonLabelled(dialog, QStringLiteral("OK"))->click();
            });
            QCOMPARE(result, int(QDialog::Accepted));
            QVERIFY2(options == expected, label);
        }
        ScriptedPrompter prompter;
        COptionsDlg dialog(prompter, nullptr);
        QCOMPARE(dialog.findChildren<QCheckBox*>().size(), qsizetype(std::size(kBoxes)));
    }

    void opensWithTheValuesAndOnlySearchDisabled() {
        ScriptedPrompter prompter;
        StoredOptions options;
        options.maxInlineComment = 77;
        options.configFile = "other.ini";
        options.sectionHistory = 0;
        EditOptions(prompter, options, [](COptionsDlg& dialog) {
            QCOMPARE(dialog.MaxInlineCommentEdit()->text(), QStringLiteral("77"));
            QCOMPARE(dialog.ConfigFileEdit()->text(), QStringLiteral("other.ini"));
            QVERIFY(!dialog.Box(&StoredOptions::sectionHistory)->isChecked());
            QVERIFY(dialog.Box(&StoredOptions::sectionParameter)->isChecked());
            // The enable rules wait for a click: these stay enabled although their section is off.
            for (auto* box : dialog.findChildren<QCheckBox*>()) {
                QCOMPARE(box->isEnabled(), box != dialog.Box(&StoredOptions::searchAndLink));
            }
            QVERIFY(dialog.MaxInlineCommentEdit()->isEnabled());
            dialog.reject();
        });
    }

    // Each row: the section box clicked and the controls it switches.
    void sectionClicksSwitchTheirOptions_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("dependents");
        QTest::newRow("source") << "Source section"
                                << QStringList{"Add source file link to \"Source\" section",
                                               "Copy sources to pool directory (if \"Add source "
                                               "link\")"};
        QTest::newRow("history") << "History section"
                                 << QStringList{
                                        "Add last write access date/time to \"History\" "
                                        "section"};
        QTest::newRow("parameter") << "Parameter section"
                                   << QStringList{
                                          "Remove function declaration inline (param) "
                                          "comments",
                                          "max"};
    }
    void sectionClicksSwitchTheirOptions() {
        QFETCH(QString, section);
        QFETCH(QStringList, dependents);
        ScriptedPrompter prompter;
        StoredOptions options;
        options.sectionSource = 1;
        StoredOptions before = options;
        int result = EditOptions(prompter, options, [&](COptionsDlg& dialog) {
            auto widgets = [&] {
                QList<QWidget*> found;
                for (const QString& name : dependents) {
                    found << (name == QLatin1String("max")
                                  ? static_cast<QWidget*>(dialog.MaxInlineCommentEdit())
                                  : BoxLabelled(dialog, name.toLatin1().constData()));
                }
                return found;
            };
            QCheckBox* trigger = BoxLabelled(dialog, section.toLatin1().constData());
            trigger->click();
            for (QWidget* widget : widgets()) {
                QVERIFY(!widget->isEnabled());
            }
            trigger->click();
            for (QWidget* widget : widgets()) {
                QVERIFY(widget->isEnabled());
            }
            // Disabled options keep their value and are still handed back on OK.
            trigger->click();
            ButtonLabelled(dialog, QStringLiteral("OK"))->click();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        StoredOptions expected = before;
        expected.*(section == "Source section"    ? &StoredOptions::sectionSource
                   : section == "History section" ? &StoredOptions::sectionHistory
                                                  : &StoredOptions::sectionParameter) = 0;
        QVERIFY(options == expected);
    }

    void cancelLeavesTheOptionsExactlyAsTheyWere() {
        ScriptedPrompter prompter;
        StoredOptions options;
        options.sectionType = 1;
        StoredOptions before = options;
        int result = EditOptions(prompter, options, [](COptionsDlg& dialog) {
            for (auto* box : dialog.findChildren<QCheckBox*>()) {
                box->setChecked(!box->isChecked());
            }
            dialog.MaxInlineCommentEdit()->setText(QStringLiteral("999"));
            dialog.ConfigFileEdit()->setText(QStringLiteral("changed.ini"));
            ButtonLabelled(dialog, QStringLiteral("Cancel"))->click();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(options == before);
    }

    // Each row: the inline comment length typed, and whether OK accepts it.
    void okValidatesTheInlineCommentLength_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("lowest") << "5" << true;
        QTest::newRow("highest") << "1000" << true;
        QTest::newRow("blanks around") << " 12 " << true;
        QTest::newRow("too small") << "4" << false;
        QTest::newRow("too large") << "1001" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("negative") << "-5" << false;
        QTest::newRow("plus sign") << "+7" << false;
        QTest::newRow("hex") << "0x10" << false;
        QTest::newRow("text") << "forty" << false;
        QTest::newRow("huge") << "99999999999999999999" << false;
    }
    void okValidatesTheInlineCommentLength() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        ScriptedPrompter prompter;
        StoredOptions options;
        options.alphaIndex = 0;
        bool stayedOpen = false;
        int result = EditOptions(prompter, options, [&](COptionsDlg& dialog) {
            dialog.Box(&StoredOptions::alphaIndex)->click();
            dialog.MaxInlineCommentEdit()->setText(typed);
            ButtonLabelled(dialog, QStringLiteral("OK"))->click();
            stayedOpen = dialog.isVisible();
            if (stayedOpen) {
                dialog.reject();
            }
        });
        QCOMPARE(stayedOpen, !accepted);
        QCOMPARE(result, int(accepted ? QDialog::Accepted : QDialog::Rejected));
        if (accepted) {
            QCOMPARE(options.maxInlineComment, typed.trimmed().toUInt());
            QCOMPARE(options.alphaIndex, 1);
            QVERIFY(prompter.shown.empty());
        } else {
            QCOMPARE(options.maxInlineComment, 40u);
            QCOMPARE(options.alphaIndex, 0);
            QCOMPARE(Shown(prompter, "warning"),
                     std::vector<std::string>{"Please enter a whole number from 5 to 1000 for "
                                              "\"Max. comment inline function declaration:\"."});
        }
    }

    void okRefusesAConfigFileNameOverTheLimit() {
        ScriptedPrompter prompter;
        StoredOptions options;
        // The longest name -CONFIG takes reaches the field, and the run, whole.
        const std::string fromCommandLine(kMaxOptionValueLength, 'n');
        options.configFile = fromCommandLine;
        EditOptions(prompter, options, [&](COptionsDlg& dialog) {
            ButtonLabelled(dialog, QStringLiteral("OK"))->click();
        });
        QCOMPARE(options.configFile, fromCommandLine);
        bool stayedOpen = false;
        constexpr int kLimit = COptionsDlg::kConfigFileLimit;
        EditOptions(prompter, options, [&](COptionsDlg& dialog) {
            // Within the limit in characters, over it in bytes: the name is handed on as bytes.
            dialog.ConfigFileEdit()->setText(QString(kLimit / 2 + 1, QChar(0xfc)));
            ButtonLabelled(dialog, QStringLiteral("OK"))->click();
            stayedOpen = dialog.isVisible();
            dialog.ConfigFileEdit()->setText(QString(kLimit, 'c'));
            ButtonLabelled(dialog, QStringLiteral("OK"))->click();
        });
        QVERIFY(stayedOpen);
        QCOMPARE(Shown(prompter, "warning"),
                 std::vector<std::string>{"Please enter a configuration file name of at most " +
                                          std::to_string(kLimit) + " characters."});
        QCOMPARE(options.configFile, std::string(kLimit, 'c'));
    }

    // Load says so when the named file cannot be read: which file was read in its place, or that
    // none was.
    void loadReadsTheFileAndWarnsOnlyWhenItCannot() {
        test::ScratchDir dir;
        test::CurrentDirectory cwd(dir.path());
        std::string config = dir.Write("mine.ini", "SYL_Q_AUTHOR=Autor:\n");
        ScriptedPrompter prompter;
        StoredOptions options;
        EditOptions(prompter, options, [&](COptionsDlg& dialog) {
            dialog.ConfigFileEdit()->setText(ToQString(config));
            ButtonLabelled(dialog, QStringLiteral("Load"))->click();
            dialog.ConfigFileEdit()->setText(QStringLiteral("missing.ini"));
            ButtonLabelled(dialog, QStringLiteral("Load"))->click();
            dir.Write("SYLVA.INI", "SYL_Q_AUTHOR=Autor:\n");
            ButtonLabelled(dialog, QStringLiteral("Load"))->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.ConfigFileEdit()->text(), QStringLiteral("missing.ini"));
            dialog.reject();
        });
        QCOMPARE(Shown(prompter, "warning"),
                 (std::vector<std::string>{"Cannot read the configuration file missing.ini; the "
                                           "built-in settings stay in force.",
                                           "Cannot read the configuration file missing.ini; "
                                           "SYLVA.INI from the current directory was read "
                                           "instead."}));
        QCOMPARE(options, StoredOptions());
    }

    void projectsAreListedByNameWithThreeColumns() {
        test::ScratchDir dir;
        dir.Write("M.HTML",
                  MasterIndexPage({MasterIndexRecord("gamma", "g/g_frame.HTML", "third"),
                                   MasterIndexRecord("Beta", "b/b_frame.HTML", "second; more"),
                                   MasterIndexRecord("alpha", "a/a_frame.HTML", "first")}));
        ScriptedPrompter prompter;
        CProjectsDlg dialog(prompter, nullptr);
        dialog.ListProjects("SYLVA.INI", dir.path(), "M.HTML");
        const QTreeWidget& list = dialog.Projects();
        QCOMPARE(list.columnCount(), 3);
        QCOMPARE(list.headerItem()->text(0), QStringLiteral("Project"));
        QCOMPARE(list.headerItem()->text(1), QStringLiteral("Index"));
        QCOMPARE(list.headerItem()->text(2), QStringLiteral("Description"));
        QCOMPARE(list.columnWidth(0), 150);
        QCOMPARE(list.columnWidth(1), 120);
        QCOMPARE(list.columnWidth(2), 200);
        QCOMPARE(list.topLevelItemCount(), 3);
        const char* expected[][3] = {{"alpha", "a/a_frame.HTML", "first"},
                                     {"Beta", "b/b_frame.HTML", "second"},
                                     {"gamma", "g/g_frame.HTML", "third"}};
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                QCOMPARE(list.topLevelItem(row)->text(column),
                         QString::fromLatin1(expected[row][column]));
            }
        }
        QCOMPARE(dialog.MasterIndexPathText(), ToQString(dir.File("M.HTML")));
        QCOMPARE(dialog.findChild<QLabel*>()->textFormat(), Qt::PlainText);
        QVERIFY(prompter.shown.empty());
    }

    void missingMasterIndexGivesAnEmptyListAndNoMessage() {
        test::ScratchDir dir;
        ScriptedPrompter prompter;
        CProjectsDlg dialog(prompter, nullptr);
        dialog.ListProjects("SYLVA.INI", dir.path(), "NONE.HTML");
        QCOMPARE(dialog.Projects().topLevelItemCount(), 0);
        QVERIFY(prompter.shown.empty());
    }

    void projectsArrowOpensTheMasterIndexAndCloseEnds() {
        test::ScratchDir dir;
        ScriptedPrompter prompter;
        prompter.openFailure = "No browser.";
        CProjectsDlg dialog(prompter, nullptr);
        int result = -1;
        test::WhenModalOpens([&](QWidget*) {
            ButtonLabelled(dialog, QStringLiteral("->"))->click();
            ButtonLabelled(dialog, QStringLiteral("&Close"))->click();
        });
        result = dialog.ShowProjects("SYLVA.INI", dir.path(), "M.HTML");
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(prompter.shown,
                 (std::vector<std::string>{"open " + dir.File("M.HTML"), "warning: No browser."}));
    }

    // Run again with 144 dots per inch for a larger font.
    void everyTextShowsWhole() {
        test::ScratchDir dir;
        ScriptedPrompter prompter;
        COptionsDlg options(prompter, nullptr);
        QCOMPARE(test::CutTexts(options), QString());
        CProjectsDlg projects(prompter, nullptr);
        projects.ListProjects("SYLVA.INI", dir.path(), "M.HTML");
        QCOMPARE(test::CutTexts(projects), QString());
        CAboutDlg about(nullptr);
        QCOMPARE(test::CutTexts(about), QString());
    }

    void aboutShowsNameVersionAndNotice() {
        CAboutDlg dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Info über Sylva"));
        QStringList texts;
        for (auto* label : dialog.findChildren<QLabel*>()) {
            texts << label->text();
        }
        QVERIFY2(texts.contains(QStringLiteral("Sylva Version " SYLVA_VERSION)),
                 qPrintable(texts.join('|')));
        QCOMPARE(texts.size(), 3);
        test::WhenModalOpens([](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>(), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    }
};

}  // namespace sylva

QTEST_MAIN(sylva::SideDialogsTest)
#include "side_dialogs_test.moc"
