// The painted box of a hover tip: a frameless child of the main window, raised above the
// controls and transparent to the mouse, so the control beneath keeps receiving its movements.
#pragma once

#include <QWidget>

#include "app/window/tips_window.h"

namespace sylva {

class TipBox : public QWidget {
    Q_OBJECT

  public:
    explicit TipBox(QWidget* parent);

    // Shows `item` in `box` (the parent's client coordinates) with a font `fontHeight` pixels
    // high from the top of its tallest letter to the bottom of its lowest.
    void ShowItem(const TipRect& box, const CTipItem& item, int fontHeight);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CTipItem item_;
    int fontHeight_ = 0;
};

}  // namespace sylva
