// The protocol list of the main window: CZTListBox over a Qt list widget. The actions and the
// run add lines to it as they go; the list shows the newest line and keeps the last
// 1000.
#pragma once

#include <QListWidget>

#include "support/protocol.h"

namespace sylva {

class ProtocolList : public CZTListBox {
  public:
    // `widget` is owned by the window and must outlive this object.
    explicit ProtocolList(QListWidget& widget);

    // Appends `line`, drops the oldest lines beyond `maxLines` and, with `select`, selects the
    // new line and scrolls it into view.
    void AddSelString(std::string_view line, int select = 1, int maxLines = 1000) override;
    // Removes every line and repaints at once: an action empties the list before it starts, and
    // the user must not see the previous action's lines while it runs.
    void ResetContent() override;

  private:
    QListWidget& widget_;
};

}  // namespace sylva
