// The protocol list of the main window: CZTListBox as the model of a list view. The actions and
// the run add lines to it as they go; the list shows the newest line and keeps the last 1000.
//
// A run adds a line per page while it holds the one UI thread, so a line is not handed to the
// view when it is added: the lines gather and reach the view in one chunk at the next turn of the
// event loop (which the progress dialog gives every few tens of milliseconds during a run), or
// when Flush is called. The view then takes the chunk in one insertion and selects and scrolls to
// the newest line once, instead of once per line.
#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QTimer>
#include <deque>

#include "support/protocol.h"

namespace sylva {

class ProtocolList : public QAbstractListModel, public CZTListBox {
  public:
    // Becomes the model of `view`, which is owned by the window and must outlive this object.
    explicit ProtocolList(QListView& view);

    // Gathers `line`; the oldest lines beyond `maxLines` are dropped and, with `select`, the
    // newest line is selected and scrolled into view when the chunk reaches the view.
    void AddSelString(std::string_view line, int select = 1, int maxLines = 1000) override;
    // Removes every line, gathered ones too, and repaints at once: an action empties the list
    // before it starts, and the user must not see the previous action's lines while it runs.
    void ResetContent() override;
    // Hands the gathered lines to the view now.
    void Flush();

    // The line at `row` of the view, as the box a double click opens shows it: markup the line
    // carries (an item's type reads "Group<BR>(Public)") shown as what it means.
    QString LineText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The display text is the line on one row: its line breaks read as spaces.
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    QListView& view_;
    std::deque<QString> shown_;    // the view's rows, oldest first
    std::deque<QString> pending_;  // gathered, not yet in the view; never more than maxLines_
    int maxLines_ = 1000;
    bool selectNewest_ = false;
    QTimer flushTimer_;
};

}  // namespace sylva
