// Create from the window against the same run in batch form, over one source tree.
//
//     window_create_bench SCAN_DIR OUT_DIR [--comment-style doxygen] [--runs N]
//
// Runs alternate, batch then window, in one process, every one a full rebuild into a directory of
// its own below OUT_DIR (with a cache of its own, never the user's): a run over the pages of the
// one before would pay for deleting them, by chance more or less. The directories are removed
// when every run is measured. The batch run is what
// `-FORCE` does without a terminal: no protocol list, no progress. The window run clicks Create
// in a shown main window with its protocol list unfolded, as a user watching the run would, and
// lasts until the window has handled every event the run left behind, its last line painted.
// Prints each run's seconds, the medians and their ratio. Without a display it runs offscreen.
//
// Give it an OUT_DIR on a tmpfs (/dev/shm) to compare what the window adds: on ext4 the time to
// create thousands of pages varies with what was deleted in the last half minute, by this
// benchmark or anything else on the machine, and swamps the difference.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_actions.h"
#include "app/window/main_dialog.h"
#include "app/window/qt_prompter.h"

namespace {

using sylva::CMainDlg;
using sylva::MainFields;

// Answers every question Yes (the project exists from the second run on) and prints warnings
// instead of showing them: nobody is there to click.
class YesPrompter : public sylva::QtPrompter {
  public:
    void Warning(std::string_view text) override {
        std::fprintf(stderr, "warning: %.*s\n", static_cast<int>(text.size()), text.data());
    }
    bool Question(std::string_view) override { return true; }
    bool CautiousQuestion(std::string_view) override { return true; }
};

struct Arguments {
    std::string scan;
    std::string out;
    std::string style;
    int runs = 5;
};

bool Parse(int argc, char** argv, Arguments& arguments) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--comment-style") == 0 && i + 1 < argc) {
            arguments.style = argv[++i];
        } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            arguments.runs = std::max(1, std::atoi(argv[++i]));
        } else {
            positional.emplace_back(argv[i]);
        }
    }
    if (positional.size() != 2) {
        return false;
    }
    arguments.scan = positional[0];
    arguments.out = positional[1];
    return true;
}

MainFields FieldsFor(const Arguments& arguments, const std::string& runName) {
    MainFields fields = MainFields::Initial();
    fields.projectName = "Bench";
    fields.scanPath = arguments.scan;
    fields.outputPath = arguments.out + "/" + runName;
    std::filesystem::create_directories(fields.outputPath);
    fields.options.commentStyle = arguments.style;
    fields.cache.directory = fields.outputPath + "/.cache";
    fields.cache.rebuild = true;
    fields.modeIsScan = 1;
    fields.scanMode = 1;
    return fields;
}

double BatchSeconds(const Arguments& arguments, int run) {
    MainFields fields = FieldsFor(arguments, "batch-" + std::to_string(run));
    YesPrompter prompter;
    sylva::MainActions actions(fields, prompter, nullptr, nullptr);
    QElapsedTimer timer;
    timer.start();
    actions.CreateBatch(nullptr, nullptr);
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double WindowSeconds(const Arguments& arguments, int run, int& lines) {
    MainFields fields = FieldsFor(arguments, "window-" + std::to_string(run));
    YesPrompter prompter;
    CMainDlg window(fields, prompter);
    prompter.SetOwner(&window);
    window.show();
    static_cast<QAbstractButton*>(window.Control(CMainDlg::kIdProtocolToggle))->click();
    QApplication::processEvents();
    auto* create = static_cast<QAbstractButton*>(window.Control(CMainDlg::kIdCreate));
    QElapsedTimer timer;
    timer.start();
    create->click();
    QApplication::processEvents();
    double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    auto* list = static_cast<QListView*>(window.Control(CMainDlg::kIdProtocolList));
    lines = list->model()->rowCount();
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!Parse(argc, argv, arguments)) {
        std::fputs(
            "usage: window_create_bench SCAN_DIR OUT_DIR [--comment-style doxygen] [--runs N]\n",
            stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::vector<double> batch;
    std::vector<double> window;
    int lines = 0;
    for (int run = 0; run < arguments.runs; ++run) {
        batch.push_back(BatchSeconds(arguments, run));
        window.push_back(WindowSeconds(arguments, run, lines));
        std::printf("run %d: batch %.3f s, window %.3f s\n", run + 1, batch.back(), window.back());
    }
    double batchMedian = Median(batch);
    double windowMedian = Median(window);
    std::printf(
        "median of %d: batch %.3f s, window %.3f s, window/batch %.2f (%d protocol "
        "lines shown at the end)\n",
        arguments.runs, batchMedian, windowMedian, windowMedian / batchMedian, lines);
    for (int run = 0; run < arguments.runs; ++run) {
        std::filesystem::remove_all(arguments.out + "/batch-" + std::to_string(run));
        std::filesystem::remove_all(arguments.out + "/window-" + std::to_string(run));
    }
    return 0;
}
