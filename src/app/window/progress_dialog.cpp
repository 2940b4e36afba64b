#include "app/window/progress_dialog.h"

#include <QCoreApplication>
#include <QVBoxLayout>
#include <algorithm>

#include "app/window/qt_text.h"

namespace sylva {

namespace {

constexpr auto kPaintInterval = std::chrono::milliseconds(40);
constexpr int kMinimumWidth = 360;

}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent), status_(new QLabel(this)), bar_(new QProgressBar(this)) {
    setModal(false);
    setMinimumWidth(kMinimumWidth);
    // Status lines name files and items ("operator<", "List<T>"): shown as they are.
    status_->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    show();
    Refresh(true);
}

void ProgressDialog::SetTitle(std::string_view title) {
    setWindowTitle(ToQString(title));
    Refresh(true);
}

void ProgressDialog::SetRange(int lower, int upper) {
    bar_->setRange(lower, upper);
}

void ProgressDialog::ShowPercent(bool show) {
    bar_->setTextVisible(show);
}

void ProgressDialog::SetStep(int step) {
    step_ = step;
}

void ProgressDialog::SetStatus(std::string_view text) {
    // A run sets a status per item, thousands a second: the label always holds the newest, but
    // painting it waits for the interval like the bar, else the run spends its time laying out
    // and painting texts nobody can read (ten times as long as the run itself). The next status
    // or position paints what arrived meanwhile.
    status_->setText(ToQString(text));
    Refresh(false);
}

void ProgressDialog::SetPos(int pos) {
    int shown = std::clamp(pos, bar_->minimum(), bar_->maximum());
    if (shown == bar_->value()) {
        return;
    }
    bar_->setValue(shown);
    Refresh(false);
}

void ProgressDialog::Refresh(bool force) {
    auto now = std::chrono::steady_clock::now();
    if (!force && now - lastPaint_ < kPaintInterval) {
        return;
    }
    lastPaint_ = now;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace sylva
