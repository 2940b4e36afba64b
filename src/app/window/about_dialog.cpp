#include "app/window/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/window/dialog_units.h"
#include "app/window/text_fit.h"

namespace sylva {

namespace {

constexpr const char* kTitle = "Info über Sylva";
constexpr const char* kNameAndVersion = "Sylva Version " SYLVA_VERSION;
constexpr const char* kNotice = "Documentation generator for C and C++ sources.";
constexpr int kIconSize = 32;

}  // namespace

QIcon SylvaIcon() {
    return QIcon(QStringLiteral(":/sylva/icons/sylva.png"));
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setFont(DialogFont());
    DialogUnits units = DialogUnits::ForFont(font());
    setWindowTitle(QString::fromUtf8(kTitle));
    setFixedSize(units.X(235), units.Y(62));

    auto* icon = new QLabel(this);
    icon->setPixmap(SylvaIcon().pixmap(kIconSize));
    icon->setGeometry(units.X(9), units.Y(9), kIconSize, kIconSize);
    units.Place(new QLabel(QString::fromLatin1(kNameAndVersion), this), 40, 10, 188, 8);
    units.Place(new QLabel(QString::fromLatin1(kNotice), this), 40, 25, 185, 8);
    auto* ok = units.Place(new QPushButton(QStringLiteral("OK"), this), 174, 42, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);
    StretchAcross(*this, StretchForTexts(*this));
}

}  // namespace sylva
