#include "app/window/protocol_list.h"

#include <algorithm>

#include "app/window/protocol_text.h"
#include "app/window/qt_text.h"

namespace sylva {

ProtocolList::ProtocolList(QListView& view) : view_(view) {
    // Lines are one text row each. Without this, every new chunk makes the list measure all its
    // lines again to scroll to the last one.
    view_.setUniformItemSizes(true);
    view_.setModel(this);
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(0);
    QObject::connect(&flushTimer_, &QTimer::timeout, this, [this] { Flush(); });
}

void ProtocolList::AddSelString(std::string_view line, int select, int maxLines) {
    pending_.push_back(ToQString(line));
    maxLines_ = maxLines;
    selectNewest_ = selectNewest_ || select != 0;
    // A run of 100,000 items between two turns of the event loop keeps only what the view
    // would keep.
    while (maxLines_ > 0 && pending_.size() > static_cast<std::size_t>(maxLines_)) {
        pending_.pop_front();
    }
    if (!flushTimer_.isActive()) {
        flushTimer_.start();
    }
}

void ProtocolList::Flush() {
    flushTimer_.stop();
    if (pending_.empty()) {
        return;
    }
    if (maxLines_ > 0) {
        std::size_t total = shown_.size() + pending_.size();
        std::size_t excess = total > static_cast<std::size_t>(maxLines_) ? total - maxLines_ : 0;
        std::size_t dropped = std::min(excess, shown_.size());
        if (dropped > 0) {
            beginRemoveRows(QModelIndex(), 0, static_cast<int>(dropped) - 1);
            shown_.erase(shown_.begin(), shown_.begin() + static_cast<std::ptrdiff_t>(dropped));
            endRemoveRows();
        }
    }
    int first = static_cast<int>(shown_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(pending_.size()) - 1);
    std::move(pending_.begin(), pending_.end(), std::back_inserter(shown_));
    pending_.clear();
    endInsertRows();
    if (selectNewest_) {
        selectNewest_ = false;
        view_.setCurrentIndex(index(rowCount() - 1));
        view_.scrollToBottom();
    }
}

void ProtocolList::ResetContent() {
    flushTimer_.stop();
    pending_.clear();
    selectNewest_ = false;
    beginResetModel();
    shown_.clear();
    endResetModel();
    view_.repaint();
}

QString ProtocolList::LineText(int row) const {
    if (row < 0 || row >= rowCount()) {
        return QString();
    }
    return ProtocolTextWithBreaks(shown_[static_cast<std::size_t>(row)]);
}

int ProtocolList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant ProtocolList::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    return ProtocolTextOnOneRow(shown_[static_cast<std::size_t>(index.row())]);
}

}  // namespace sylva
