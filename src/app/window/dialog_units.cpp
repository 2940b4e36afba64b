#include "app/window/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

namespace sylva {

namespace {

constexpr int kDialogFontPointSize = 8;

// a * b / c rounded to the nearest whole number, halves away from zero, as dialog layouts have
// always been mapped to pixels.
int MulDiv(int a, int b, int c) {
    long long product = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

DialogUnits::DialogUnits(int baseWidth, int baseHeight)
    : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

DialogUnits DialogUnits::ForFont(const QFont& font) {
    QFontMetrics metrics(font);
    int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogUnits((letters / 26 + 1) / 2, metrics.height());
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseWidth_, 4);
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, baseHeight_, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    // The corners are mapped, not the size, so that neighbouring controls never overlap by
    // rounding.
    return QRect(X(x), Y(y), X(x + width) - X(x), Y(y + height) - Y(y));
}

QFont DialogFont() {
    QFont font = QApplication::font();
    font.setPointSize(kDialogFontPointSize);
    return font;
}

}  // namespace sylva
