// Widths that show every text whole. The layouts are drawn in dialog units, which follow the
// font's average letter; a text of wide letters, or a font whose check box indicator or button
// frame takes more room than the layouts allowed for, would be cut off ("Foreign html" without
// its colon). The dialogs measure their texts in their own font and style and stretch the layout
// across as far as the tightest text needs, keeping its proportions: nothing comes to overlap.
#pragma once

#include <QWidget>

namespace sylva {

// The pixels `widget` must be wide to show its text whole: a label's or a button's (push, check
// or radio) text in its font, with the room its style draws around the text. 0 for any other
// widget, a label that wraps its words, and one without text.
int WidthForText(const QWidget& widget);

// How much wider (1 or more) the child controls of `dialog` must be, all in proportion, for each
// to show its text whole.
double StretchForTexts(const QWidget& dialog);

// Stretches `dialog` and every control placed on it across by `factor`, keeping each control's
// left and right edges at the same proportion of the width.
void StretchAcross(QWidget& dialog, double factor);

}  // namespace sylva
