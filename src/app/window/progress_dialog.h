// The progress dialog of a generation: a modeless window with a status line and a bar.
//
// A run blocks the one UI thread until it ends, so the dialog paints itself as what it shows
// changes, at most every few tens of milliseconds; it lets no user input through, so nothing can
// start a second action meanwhile.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <chrono>

#include "support/protocol.h"

namespace sylva {

class ProgressDialog : public QDialog, public CZTProgressDlg {
    Q_OBJECT

  public:
    // Shows itself at once over `parent` (which may be none).
    explicit ProgressDialog(QWidget* parent);

    void SetTitle(std::string_view title) override;
    void SetRange(int lower, int upper) override;
    void ShowPercent(bool show) override;
    void SetStep(int step) override;
    void SetStatus(std::string_view text) override;
    // Positions beyond the range show a full bar.
    void SetPos(int pos) override;

    int Step() const { return step_; }

  private:
    // Paints what changed, at most every few milliseconds unless `force`: a run of 100,000
    // items must not spend its time painting. The title is painted at once (it starts a run);
    // statuses and positions wait for the interval.
    void Refresh(bool force);

    QLabel* status_;
    QProgressBar* bar_;
    int step_ = 1;
    std::chrono::steady_clock::time_point lastPaint_;
};

}  // namespace sylva
