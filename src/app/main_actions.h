// MainActions: what the main window's buttons and keys do, written once and without a toolkit.
//
// The window wires its widgets to these operations; batch mode calls Create in its batch form;
// the tests drive them with scripted answers. Everything an action needs from a person or the
// desktop goes through the Prompter; copying controls into the fields and back goes through the
// FieldsView, which only the window fills with life. Each action makes its own settings and
// reporter and lets go of them before it returns.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/main_fields.h"
#include "support/diagnostic_sink.h"
#include "support/prompter.h"
#include "support/protocol.h"
#include "support/reporter.h"

namespace sylva {

class ItemsObserver;

// The window's side of the data exchange between its controls and the fields.
class FieldsView {
  public:
    virtual ~FieldsView() = default;
    // Copies the controls' contents into `fields`.
    virtual void ReadControls(MainFields& fields) = 0;
    // Shows `fields` in the controls.
    virtual void WriteControls(const MainFields& fields) = 0;
};

// How an action ended, for batch mode's exit status.
enum class ActionResult {
    kDone,              // ran and wrote everything
    kDoneWithFailures,  // ran, but something could not be read or written (exit status 1)
    kNotRun,            // a check failed, the user said No, or an input was refused (status 2)
};

// One row of the Projects dialog: the master index records' name, link target and description.
struct ProjectRow {
    std::vector<std::string> columns;
};

class MainActions {
  public:
    // `protocol` is the window's protocol list (none in batch mode); `view` may be none (batch
    // mode and tests have no controls). All three must outlive the actions.
    MainActions(MainFields& fields, Prompter& prompter, CZTListBox* protocol, FieldsView* view);

    // Create from the window: empties the protocol, reads the controls, checks, asks, generates.
    ActionResult Create();
    // Create in batch form: the fields are already filled. The run's protocol lines go to
    // `runProtocol` and the configuration load's to `configProtocol`, its warnings to
    // `diagnostics` (each may be none; without a sink warnings are protocol lines).
    // `observer` (none: nobody) is told of the run's finished items.
    ActionResult CreateBatch(CZTListBox* runProtocol, CZTListBox* configProtocol,
                             DiagnosticSink* diagnostics = nullptr,
                             ItemsObserver* observer = nullptr);
    // The Create button: generates in scan mode, adds the foreign index in foreign mode.
    ActionResult CreateButton();
    // The Enter key: asks whether to generate and, answered Yes, generates whatever the mode.
    ActionResult GenerateOnEnter();

    ActionResult AddForeignIndex();
    ActionResult RemoveProject();
    // Fills the description from the master index record of the project name; true when found.
    bool GetMatchingDescription();

    // The choose buttons; each returns true when the user chose and the field changed.
    bool ChooseScanPath();
    bool ChooseOutputPath();
    bool ChooseMasterIndex();
    bool ChooseForeignHtml();

    // Opens the master index with the desktop's program for it; a failure is shown as a warning.
    void ShowMasterIndex();

    // The path of the master index of the fields, "<output path>/<master index name>".
    std::string MasterIndexPath() const;

    // The warnings the last generation gave; 0 before the first and after one that did not run.
    int WarningCount() const { return warningCount_; }
    // What the last generation did.
    const RunSummary& LastRun() const { return lastRun_; }

  private:
    ActionResult Generate(bool interactive, CZTListBox* runProtocol, CZTListBox* configProtocol,
                          DiagnosticSink* diagnostics, ItemsObserver* observer = nullptr);
    // With `inOutputPath` the file belongs in the output directory: the choice starts there and
    // only the chosen file's name is kept.
    bool Choose(std::string& field, Prompter::FileChoice kind, bool htmlFilter,
                bool inOutputPath = false);
    // False, with the warning of the first empty field shown, unless every field is filled.
    bool AllFilled(std::initializer_list<std::pair<const std::string&, std::string_view>> fields);
    void ReadControls();
    void WriteControls();
    void ClearProtocol();
    void Protocol(std::string_view line);

    MainFields& fields_;
    Prompter& prompter_;
    CZTListBox* protocol_;
    FieldsView* view_;
    int warningCount_ = 0;
    RunSummary lastRun_;
};

// Fills `settings` as a run of `fields` reads them: the configuration file's (its load told to
// `configProtocol`, its warnings to `warnings`; each may be none), then the fields' overrides in
// order, then the comment style the fields choose.
void LoadRunSettings(Settings& settings, const MainFields& fields, CZTListBox* configProtocol,
                     Reporter* warnings);

// The rows of the Projects dialog: the records of the master index at
// "<outputPath>/<masterIndexName>", read with the settings of `configFile`, in file order.
std::vector<ProjectRow> ReadProjectRows(const std::string& configFile,
                                        const std::string& outputPath,
                                        const std::string& masterIndexName);

}  // namespace sylva
