#include "app/window/qt_prompter.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "app/window/progress_dialog.h"
#include "app/window/qt_text.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kBoxTitle = "Sylva";
// "*.*" would hide every file without an extension here, so "All files" matches every name.
constexpr const char* kHtmlFilter = "HTML files (*.htm *.html);;All files (*)";
constexpr std::string_view kMissingDocument = "Cannot open %s: the file does not exist.";
constexpr std::string_view kNoProgramForDocument =
    "Cannot open %s: the desktop has no program for it.";

}  // namespace

QtPrompter::QtPrompter(QWidget* owner) : owner_(owner) {}

QMessageBox::StandardButton QtPrompter::Show(QMessageBox::Icon icon, std::string_view text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, ToQString(kBoxTitle), ToQString(text), buttons, owner_);
    // The text may hold a protocol line or a typed name; "<BR>" or a tag in it is shown, not
    // rendered.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void QtPrompter::Warning(std::string_view text) {
    Show(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompter::Information(std::string_view text) {
    Show(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompter::Question(std::string_view text) {
    return Show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtPrompter::CautiousQuestion(std::string_view text) {
    return Show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<std::string> QtPrompter::ChooseFile(FileChoice kind, std::string_view initial,
                                                  bool htmlFilter) {
    QString start = ToQString(initial);
    QString filter = htmlFilter ? QString::fromLatin1(kHtmlFilter) : QString();
    QString chosen;
    switch (kind) {
        case FileChoice::kFolder:
            chosen = QFileDialog::getExistingDirectory(owner_, QString(), start);
            break;
        case FileChoice::kFileToWrite:
            // The master index is updated, not replaced: choosing an existing one is normal.
            chosen = QFileDialog::getSaveFileName(owner_, QString(), start, filter, nullptr,
                                                  QFileDialog::DontConfirmOverwrite);
            break;
        case FileChoice::kExistingFile:
            chosen = QFileDialog::getOpenFileName(owner_, QString(), start, filter);
            break;
    }
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ToBytes(chosen);
}

std::optional<std::string> QtPrompter::OpenDocument(std::string_view path) {
    QString file = ToQString(path);
    if (!QFileInfo::exists(file)) {
        return FormatLine(kMissingDocument, {path});
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()))) {
        return FormatLine(kNoProgramForDocument, {path});
    }
    return std::nullopt;
}

std::unique_ptr<CZTProgressDlg> QtPrompter::CreateProgress() {
    return std::make_unique<ProgressDialog>(owner_);
}

}  // namespace sylva
