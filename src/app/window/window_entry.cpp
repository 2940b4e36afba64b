// Opening the Qt window: the display check, the application object, the main window with its
// prompter, and a clean end on SIGTERM or SIGINT.
#include "app/window_entry.h"

#include <QApplication>
#include <cstdio>

#include "app/batch.h"
#include "app/window/about_dialog.h"
#include "app/window/display_check.h"
#include "app/window/main_dialog.h"
#include "app/window/qt_prompter.h"
#include "app/window/termination_watcher.h"

namespace sylva {

namespace {

constexpr const char* kNoDisplay =
    "sylva: cannot open the window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); use "
    "-FORCE to generate in batch mode (see --help)\n";

}  // namespace

int RunWindow(int argc, char** argv, MainFields& fields) {
    if (!DisplayAvailable()) {
        std::fputs(kNoDisplay, stderr);
        return kExitNotRun;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sylva"));
    QApplication::setWindowIcon(SylvaIcon());

    QtPrompter prompter;
    CMainDlg window(fields, prompter);
    prompter.SetOwner(&window);
    TerminationWatcher watcher;
    // Ending from outside asks nothing, since nobody may be there to answer: every event loop
    // ends, an open message box among them (its question counts as answered No), and a running
    // generation finishes its run first.
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, &application,
                     [] { QCoreApplication::exit(0); });
    window.exec();
    return kExitOk;
}

}  // namespace sylva
