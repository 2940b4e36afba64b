// The window's building blocks, each on its own: dialog units, the display check, byte strings
// on screen, the protocol list, the progress dialog, the message box kinds and the end on
// SIGTERM.
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <csignal>

#include "app/window/dialog_units.h"
#include "app/window/display_check.h"
#include "app/window/progress_dialog.h"
#include "app/window/protocol_list.h"
#include "app/window/qt_prompter.h"
#include "app/window/qt_text.h"
#include "app/window/termination_watcher.h"
#include "window_fixture.h"

namespace sylva {

using test::PaintCounter;
using test::WhenModalOpens;

namespace {

constexpr const char* kProtocolLine = "    Add to HTML SYLVA_Add.html (type: PUBLIC<BR>)";

}  // namespace

class WindowPartsTest : public QObject {
    Q_OBJECT

  private slots:
    // Base units 6 x 13 are those of the 8-point font the layouts were drawn with.
    void dialogUnitsMapCornersAndRoundHalvesUp_data() {
        QTest::addColumn<QRect>("units");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("main window") << QRect(0, 0, 366, 346) << QRect(0, 0, 549, 562);
        QTest::newRow("protocol list") << QRect(6, 195, 354, 144) << QRect(9, 317, 531, 234);
        QTest::newRow("one unit rounds up") << QRect(1, 1, 1, 1) << QRect(2, 2, 1, 1);
        QTest::newRow("neighbours share an edge")
            << QRect(240, 114, 15, 12) << QRect(360, 185, 23, 20);
    }
    void dialogUnitsMapCornersAndRoundHalvesUp() {
        QFETCH(QRect, units);
        QFETCH(QRect, pixels);
        DialogUnits base(6, 13);
        QCOMPARE(base.Rect(units.x(), units.y(), units.width(), units.height()), pixels);
    }

    void displayCheck_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<bool>("available");
        QTest::newRow("nothing set") << QString() << QString() << QString() << false;
        QTest::newRow("all empty") << ""
                                   << ""
                                   << "" << false;
        QTest::newRow("X display") << QString() << ":0" << QString() << true;
        QTest::newRow("Wayland") << QString() << QString() << "wayland-0" << true;
        QTest::newRow("platform named") << "offscreen" << QString() << QString() << true;
    }
    void displayCheck() {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QFETCH(bool, available);
        QByteArray p = platform.toUtf8(), d = display.toUtf8(), w = wayland.toUtf8();
        QCOMPARE(DisplayAvailable(platform.isNull() ? nullptr : p.constData(),
                                  display.isNull() ? nullptr : d.constData(),
                                  wayland.isNull() ? nullptr : w.constData()),
                 available);
    }

    void bytesReachTheScreenUnchanged() {
        QCOMPARE(ToQString("R\xc3\xbc"
                           "ckgabe"),
                 QString::fromUtf8("Rückgabe"));
        // Windows-1252 text is not valid UTF-8; shown as Latin-1 it loses no letter.
        QCOMPARE(ToQString("R\xfc"
                           "ckgabe"),
                 QString::fromUtf8("Rückgabe"));
        QCOMPARE(ToBytes(QString::fromUtf8("Rückgabe")), std::string("R\xc3\xbc"
                                                                     "ckgabe"));
    }

    // Lines reach the view in one chunk at the next turn of the event loop (or at Flush), with
    // the newest of them selected; what exceeds the limit is dropped, shown or not yet shown.
    void protocolKeepsTheNewestThousandLinesAndSelectsTheLast() {
        QListView view;
        ProtocolList protocol(view);
        protocol.AddSelString("first", 1, 1000);
        QCOMPARE(protocol.rowCount(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(protocol.rowCount(), 1);
        QCOMPARE(view.currentIndex().row(), 0);
        for (int i = 0; i < 1500; ++i) {
            protocol.AddSelString("line " + std::to_string(i), 1, 1000);
        }
        QCoreApplication::processEvents();
        QCOMPARE(protocol.rowCount(), 1000);
        QCOMPARE(protocol.LineText(0), QStringLiteral("line 500"));
        for (int i = 1500; i < 1505; ++i) {
            protocol.AddSelString("line " + std::to_string(i), 1, 1000);
        }
        protocol.Flush();
        QCOMPARE(protocol.rowCount(), 1000);
        QCOMPARE(protocol.LineText(0), QStringLiteral("line 505"));
        QCOMPARE(view.currentIndex().row(), 999);
        QModelIndexList selected = view.selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.front().data().toString(), QStringLiteral("line 1504"));
        QCOMPARE(protocol.LineText(1000), QString());
        protocol.AddSelString("gathered, never shown", 1, 1000);
        protocol.ResetContent();
        QCoreApplication::processEvents();
        QCOMPARE(protocol.rowCount(), 0);
    }

    // The run names an item's type as its pages do; the list shows what that markup means.
    void protocolShowsMarkupAsWhatItMeans_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("box");
        QTest::newRow("plain") << "Scanning path..."
                               << "Scanning path..."
                               << "Scanning path...";
        QTest::newRow("type label") << "    F to HTML SYLVA_F.html (type: Tools<BR>(Public))"
                                    << "    F to HTML SYLVA_F.html (type: Tools (Public))"
                                    << "    F to HTML SYLVA_F.html (type: Tools\n(Public))";
        QTest::newRow("break in any case and form") << "a<br>b<Br/>c<BR />d"
                                                    << "a b c d"
                                                    << "a\nb\nc\nd";
        QTest::newRow("escaped group") << "(type: In &amp; Out<BR>(Public))"
                                       << "(type: In & Out (Public))"
                                       << "(type: In & Out\n(Public))";
        QTest::newRow("escaped reference stays a reference") << "&amp;lt; &lt;T&gt; &quot;x&quot;"
                                                             << "&lt; <T> \"x\""
                                                             << "&lt; <T> \"x\"";
        QTest::newRow("other tags are text") << "List<T>::<b>"
                                             << "List<T>::<b>"
                                             << "List<T>::<b>";
    }
    void protocolShowsMarkupAsWhatItMeans() {
        QFETCH(QString, line);
        QFETCH(QString, row);
        QFETCH(QString, box);
        QListView view;
        ProtocolList protocol(view);
        protocol.AddSelString(ToBytes(line), 1, 1000);
        protocol.Flush();
        QCOMPARE(protocol.index(0).data().toString(), row);
        QCOMPARE(protocol.LineText(0), box);
    }

    // A large run writes a line per item; the list must not measure all its lines per line.
    void protocolTakesManyLinesQuickly() {
        QListView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        ProtocolList protocol(view);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 5000; ++i) {
            protocol.AddSelString("    Add to HTML SYLVA_Item_" + std::to_string(i) + ".html", 1,
                                  1000);
            if (i % 50 == 0) {
                QCoreApplication::processEvents();
            }
        }
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        protocol.Flush();
        QCOMPARE(protocol.rowCount(), 1000);
    }

    // Status lines name items such as "List<T>", which must not be taken for markup.
    void progressDialogShowsTitleStatusAndABarWithoutPercent() {
        ProgressDialog dialog(nullptr);
        dialog.SetTitle("Sylva - Generate HTML system...");
        dialog.SetRange(0, 500);
        dialog.ShowPercent(false);
        dialog.SetStep(5);
        dialog.SetStatus("Generate html description file List<b>...");
        auto* bar = dialog.findChild<QProgressBar*>();
        QVERIFY(bar != nullptr);
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.isModal());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Sylva - Generate HTML system..."));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 500);
        QVERIFY(!bar->isTextVisible());
        QCOMPARE(dialog.Step(), 5);
        auto* status = dialog.findChild<QLabel*>();
        QCOMPARE(status->text(), QStringLiteral("Generate html description file List<b>..."));
        QCOMPARE(status->textFormat(), Qt::PlainText);
        dialog.SetPos(120);
        QCOMPARE(bar->value(), 120);
        dialog.SetPos(2000);  // the running position passes the range
        QCOMPARE(bar->value(), 500);
    }

    // A run never returns to the event loop, so the dialog must paint while it is being moved.
    void progressDialogPaintsDuringARun() {
        ProgressDialog dialog(nullptr);
        dialog.SetRange(0, 500);
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* bar = dialog.findChild<QProgressBar*>();
        PaintCounter paints(bar);
        for (int pos = 1; pos <= 5; ++pos) {
            QTest::qSleep(50);
            dialog.SetPos(pos * 10);
        }
        QVERIFY2(paints.count >= 5, qPrintable(QString::number(paints.count)));
        // Positions that arrive faster than the eye can follow are not each painted.
        int before = paints.count;
        for (int pos = 100; pos < 400; ++pos) {
            dialog.SetPos(pos);
        }
        QVERIFY(paints.count - before < 100);
        QCOMPARE(bar->value(), 399);
        // So are statuses (a run sets one per item), yet the label holds the newest at once.
        auto* status = dialog.findChild<QLabel*>();
        PaintCounter statusPaints(status);
        for (int item = 0; item < 300; ++item) {
            dialog.SetStatus("Generate html description file Item" + std::to_string(item));
        }
        QVERIFY2(statusPaints.count < 100, qPrintable(QString::number(statusPaints.count)));
        QCOMPARE(status->text(), QStringLiteral("Generate html description file Item299"));
    }

    // Each row: the prompter call, the icon, the buttons and the default button it must show.
    // The text is a protocol line as a double click shows it: its "<BR>" is shown, not obeyed.
    void messageBoxKinds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::newRow("warning") << 0 << int(QMessageBox::Warning) << int(QMessageBox::Ok)
                                 << int(QMessageBox::Ok);
        QTest::newRow("information")
            << 1 << int(QMessageBox::Information) << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("question") << 2 << int(QMessageBox::Question)
                                  << int(QMessageBox::Yes | QMessageBox::No)
                                  << int(QMessageBox::Yes);
        QTest::newRow("cautious question")
            << 3 << int(QMessageBox::Question) << int(QMessageBox::Yes | QMessageBox::No)
            << int(QMessageBox::No);
    }
    void messageBoxKinds() {
        QFETCH(int, kind);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        QtPrompter prompter;
        bool inspected = false;
        WhenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), ToQString(kProtocolLine));
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(int(box->icon()), icon);
            QCOMPARE(int(box->standardButtons()), buttons);
            QCOMPARE(int(box->standardButton(box->defaultButton())), defaultButton);
            inspected = true;
            // Enter takes the default button.
            QTest::keyClick(box, Qt::Key_Return);
        });
        bool answer = false;
        switch (kind) {
            case 0:
                prompter.Warning(kProtocolLine);
                break;
            case 1:
                prompter.Information(kProtocolLine);
                break;
            case 2:
                answer = prompter.Question(kProtocolLine);
                break;
            default:
                answer = prompter.CautiousQuestion(kProtocolLine);
        }
        QVERIFY(inspected);
        QCOMPARE(answer, defaultButton == int(QMessageBox::Yes));
    }

    void openingAMissingDocumentSaysWhy() {
        QtPrompter prompter;
        std::optional<std::string> failure = prompter.OpenDocument("/nonexistent/SYLVA.HTML");
        QVERIFY(failure.has_value());
        QVERIFY(failure->find("/nonexistent/SYLVA.HTML") != std::string::npos);
    }

    void terminationSignalReachesTheEventLoopAndHandlersAreRestored() {
        struct sigaction before {};
        ::sigaction(SIGTERM, nullptr, &before);
        {
            TerminationWatcher watcher;
            QSignalSpy requested(&watcher, &TerminationWatcher::terminationRequested);
            ::raise(SIGTERM);
            ::raise(SIGINT);
            QTRY_VERIFY(requested.count() >= 1);
        }
        struct sigaction after {};
        ::sigaction(SIGTERM, nullptr, &after);
        QVERIFY(after.sa_handler == before.sa_handler);
    }
};

}  // namespace sylva

QTEST_MAIN(sylva::WindowPartsTest)
#include "window_parts_test.moc"
