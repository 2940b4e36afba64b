#include "app/window/protocol_list.h"

#include "app/window/qt_text.h"

namespace sylva {

ProtocolList::ProtocolList(QListWidget& widget) : widget_(widget) {
    // Lines are one text row each. Without this, every new line makes the list measure all its
    // lines again to scroll to the last one: a run of 100,000 items would spend minutes there.
    widget_.setUniformItemSizes(true);
}

void ProtocolList::AddSelString(std::string_view line, int select, int maxLines) {
    widget_.addItem(ToQString(line));
    while (maxLines > 0 && widget_.count() > maxLines) {
        delete widget_.takeItem(0);
    }
    if (select != 0) {
        widget_.setCurrentRow(widget_.count() - 1);
        widget_.scrollToBottom();
    }
}

void ProtocolList::ResetContent() {
    widget_.clear();
    widget_.repaint();
}

}  // namespace sylva
