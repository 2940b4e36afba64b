#include "app/window/tip_box.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/window/qt_text.h"

namespace sylva {

namespace {

constexpr int kTextLeft = 8;
constexpr int kTextTop = 5;

// A fixed-pitch font whose cell (ascent and descent) is `cellHeight` pixels.
QFont TipFont(int cellHeight) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(QFont::Normal);
    font.setPixelSize(cellHeight);
    QFontMetrics metrics(font);
    int cell = metrics.ascent() + metrics.descent();
    if (cell > 0 && cell != cellHeight) {
        font.setPixelSize(std::max(
            1, static_cast<int>(std::lround(static_cast<double>(cellHeight) * cellHeight / cell))));
    }
    return font;
}

// A sunken outer and a raised inner edge around `rect`: the etched frame.
void DrawEtchedFrame(QPainter& painter, const QRect& rect, const QPalette& palette) {
    QColor shadow = palette.color(QPalette::Dark);
    QColor light = palette.color(QPalette::Light);
    auto frame = [&painter](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    frame(rect, shadow, light);
    frame(rect.adjusted(1, 1, -1, -1), light, shadow);
}

}  // namespace

TipBox::TipBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TipBox::ShowItem(const TipRect& box, const CTipItem& item, int fontHeight) {
    item_ = item;
    fontHeight_ = fontHeight;
    setGeometry(box.ToQRect());
    raise();
    show();
    update();
}

void TipBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), item_.backColour);
    DrawEtchedFrame(painter, rect(), palette());
    painter.setFont(TipFont(fontHeight_));
    painter.setPen(item_.textColour);
    for (int i = 0; i < item_.lineCount && i < static_cast<int>(item_.lines.size()); ++i) {
        QRect line(kTextLeft, kTextTop + i * (fontHeight_ - 1), width() - kTextLeft, fontHeight_);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, ToQString(item_.lines[i]));
    }
}

}  // namespace sylva
