#include "app/window/text_fit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

namespace sylva {

namespace {

// The text as drawn: a mnemonic's "&" is not shown, "&&" shows one "&".
QString ShownText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == u'&' && at + 1 < text.size()) {
            ++at;
        }
        shown += text[at];
    }
    return shown;
}

// The widest line of `text` in the widget's font.
int TextAdvance(const QWidget& widget, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(u'\n')) {
        widest = std::max(widest, widget.fontMetrics().horizontalAdvance(line));
    }
    return widest;
}

// The room the style leaves for a push button's text at the button's present size.
int ContentsWidth(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (button.isDefault() || button.autoDefault()) {
        option.features |= QStyleOptionButton::AutoDefaultButton;
    }
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
}

}  // namespace

int WidthForText(const QWidget& widget) {
    // A push button's size hint has a floor of its own (a dialog's buttons are made at least so
    // wide), which says nothing about its text; labels and boxes measure their text exactly.
    if (const auto* push = qobject_cast<const QPushButton*>(&widget)) {
        if (push->text().isEmpty()) {
            return 0;
        }
        return push->width() - ContentsWidth(*push) + TextAdvance(*push, ShownText(push->text()));
    }
    const auto* label = qobject_cast<const QLabel*>(&widget);
    if (label != nullptr && !label->wordWrap() && !label->text().isEmpty()) {
        return label->sizeHint().width();
    }
    const auto* button = qobject_cast<const QAbstractButton*>(&widget);
    if (button != nullptr && !button->text().isEmpty()) {
        return button->sizeHint().width();
    }
    return 0;
}

double StretchForTexts(const QWidget& dialog) {
    double factor = 1.0;
    for (const QWidget* child :
         dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        int needed = WidthForText(*child);
        if (needed > child->width() && child->width() > 0) {
            // A pixel more than needed: the stretched edges are rounded each on its own.
            factor = std::max(factor, static_cast<double>(needed + 1) / child->width());
        }
    }
    return factor;
}

void StretchAcross(QWidget& dialog, double factor) {
    if (factor <= 1.0) {
        return;
    }
    // Edges are mapped, not widths, so that controls side by side stay side by side; rounding
    // up keeps every control at least as wide as its text needs.
    auto stretched = [factor](int x) { return static_cast<int>(std::ceil(x * factor)); };
    for (QWidget* child : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            continue;
        }
        QRect box = child->geometry();
        int left = stretched(box.left());
        child->setGeometry(left, box.top(), stretched(box.left() + box.width()) - left,
                           box.height());
    }
    dialog.setFixedWidth(stretched(dialog.width()));
}

}  // namespace sylva
