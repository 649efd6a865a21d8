#include "CTextMessageEdit.h"

#include <QKeyEvent>
#include <QMimeData>

CTextMessageEdit::CTextMessageEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), m_maxLength(maxLength) {
    setTabChangesFocus(true);
}

int CTextMessageEdit::Length() const {
    return static_cast<int>(toPlainText().size());
}

int CTextMessageEdit::Room() const {
    const auto selected = static_cast<int>(textCursor().selectedText().size());
    return m_maxLength - Length() + selected;
}

void CTextMessageEdit::keyPressEvent(QKeyEvent* event) {
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = event->text();
    const bool inserts = lineBreak || (!text.isEmpty() && text.at(0).isPrint());
    if (inserts && !(event->modifiers() & Qt::ControlModifier)) {
        const int wanted = lineBreak ? 1 : static_cast<int>(text.size());
        if (wanted > Room()) {
            event->accept();
            emit limitExceeded();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CTextMessageEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        return;
    }
    QString text = source->text();
    const int room = std::max(0, Room());
    if (text.size() > room) {
        text.truncate(room);
        textCursor().insertText(text);
        emit limitExceeded();
        return;
    }
    textCursor().insertText(text);
}
