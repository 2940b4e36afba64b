#include "app/window/protocol_list.h"

#include "app/window/qt_text.h"

namespace sylva {

ProtocolList::ProtocolList(QListWidget& widget) : widget_(widget) {}

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
