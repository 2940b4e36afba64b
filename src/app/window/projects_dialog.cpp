#include "app/window/projects_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <algorithm>

#include "app/main_actions.h"
#include "app/window/qt_text.h"
#include "app/window/text_fit.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr int kDialogWidth = 346;
constexpr int kDialogHeight = 252;

// The columns: title and width in pixels.
constexpr std::pair<const char*, int> kColumns[] = {
    {"Project", 150},
    {"Index", 120},
    {"Description", 200},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

std::string_view FirstColumn(const ProjectRow& row) {
    return row.columns.empty() ? std::string_view() : std::string_view(row.columns.front());
}

// Project names in ascending order without regard to ASCII case; names that differ only in case
// keep byte order, so the order never depends on the order of the records.
bool ProjectNameBefore(const ProjectRow& a, const ProjectRow& b) {
    std::string_view left = FirstColumn(a);
    std::string_view right = FirstColumn(b);
    auto lessNoCase = [](char x, char y) {
        return static_cast<unsigned char>(AsciiUpper(x)) <
               static_cast<unsigned char>(AsciiUpper(y));
    };
    if (std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                     lessNoCase)) {
        return true;
    }
    if (std::lexicographical_compare(right.begin(), right.end(), left.begin(), left.end(),
                                     lessNoCase)) {
        return false;
    }
    return left < right;
}

}  // namespace

CProjectsDlg::CProjectsDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), units_(DialogUnits::ForFont(DialogFont())) {
    setFont(DialogFont());
    setWindowTitle(QStringLiteral("Projects"));
    setFixedSize(units_.X(kDialogWidth), units_.Y(kDialogHeight));

    pathLine_ = units_.Place(new QLabel(this), 12, 6, 300, 8);
    // A path may hold what looks like a tag: it is shown as typed.
    pathLine_->setTextFormat(Qt::PlainText);
    auto* open = units_.Place(new QPushButton(QStringLiteral("->"), this), 321, 3, 16, 12);
    projects_ = units_.Place(new QTreeWidget(this), 9, 21, 327, 204);
    auto* close = units_.Place(new QPushButton(QStringLiteral("&Close"), this), 285, 234, 50, 14);
    close->setDefault(true);

    projects_->setColumnCount(kColumnCount);
    QStringList titles;
    for (int column = 0; column < kColumnCount; ++column) {
        titles << QString::fromLatin1(kColumns[column].first);
        projects_->setColumnWidth(column, kColumns[column].second);
    }
    projects_->setHeaderLabels(titles);
    projects_->setRootIsDecorated(false);
    projects_->setSelectionMode(QAbstractItemView::SingleSelection);
    projects_->header()->setStretchLastSection(false);

    connect(open, &QPushButton::clicked, this, &CProjectsDlg::OpenMasterIndex);
    connect(close, &QPushButton::clicked, this, &CProjectsDlg::accept);
    StretchAcross(*this, StretchForTexts(*this));
}

void CProjectsDlg::ListProjects(const std::string& configFile, const std::string& outputPath,
                                const std::string& masterIndexName) {
    masterIndexPath_ = outputPath + "/" + masterIndexName;
    std::vector<ProjectRow> rows = ReadProjectRows(configFile, outputPath, masterIndexName);
    std::stable_sort(rows.begin(), rows.end(), ProjectNameBefore);
    projects_->clear();
    for (const ProjectRow& row : rows) {
        auto* item = new QTreeWidgetItem(projects_);
        int shown = std::min(kColumnCount, static_cast<int>(row.columns.size()));
        for (int column = 0; column < shown; ++column) {
            item->setText(column, ToQString(row.columns[static_cast<std::size_t>(column)]));
        }
    }
    pathLine_->setText(ToQString(masterIndexPath_));
}

int CProjectsDlg::ShowProjects(const std::string& configFile, const std::string& outputPath,
                               const std::string& masterIndexName) {
    ListProjects(configFile, outputPath, masterIndexName);
    return exec();
}

void CProjectsDlg::OpenMasterIndex() {
    if (std::optional<std::string> failure = prompter_.OpenDocument(masterIndexPath_)) {
        prompter_.Warning(*failure);
    }
}

}  // namespace sylva
