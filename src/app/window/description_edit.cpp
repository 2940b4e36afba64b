#include "app/window/description_edit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <algorithm>

namespace sylva {

DescriptionEdit::DescriptionEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), maxLength_(maxLength) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &DescriptionEdit::CutToLimit);
}

void DescriptionEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DescriptionEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) {
        return;
    }
    static const QRegularExpression kLineBreaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+"));
    insertPlainText(source->text().replace(kLineBreaks, QStringLiteral(" ")));
}

void DescriptionEdit::CutToLimit() {
    QString text = toPlainText();
    if (text.size() <= maxLength_) {
        return;
    }
    QTextCursor cursor = textCursor();
    int position = std::min(cursor.position(), maxLength_);
    cursor.select(QTextCursor::Document);
    cursor.insertText(text.left(maxLength_));
    cursor.setPosition(position);
    setTextCursor(cursor);
}

}  // namespace sylva
