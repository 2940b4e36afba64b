// Dialog units: the window layouts are given in units of the dialog font, a quarter of its
// average character width across and an eighth of its height down, so they scale with the font.
#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

namespace sylva {

class DialogUnits {
  public:
    // `baseWidth` is the font's average character width and `baseHeight` its height, in pixels.
    DialogUnits(int baseWidth, int baseHeight);
    // The units of `font`; its average width is measured over the 52 ASCII letters.
    static DialogUnits ForFont(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    // A rectangle given as x, y, width and height in dialog units, in pixels.
    QRect Rect(int x, int y, int width, int height) const;
    // Gives `widget` the rectangle x, y, width, height in dialog units; returns the widget.
    template <typename Widget>
    Widget* Place(Widget* widget, int x, int y, int width, int height) const {
        widget->setGeometry(Rect(x, y, width, height));
        return widget;
    }

  private:
    int baseWidth_;
    int baseHeight_;
};

// The font every dialog of the window lays out with: the application's default family at the
// 8-point size the layouts were drawn for.
QFont DialogFont();

}  // namespace sylva
