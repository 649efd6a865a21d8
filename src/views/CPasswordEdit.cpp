#include "CPasswordEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

CPasswordEdit::CPasswordEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kLength);
    setEchoMode(QLineEdit::Password);
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
}

void CPasswordEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Copy)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CPasswordEdit::mouseReleaseEvent(QMouseEvent* event) {
    // X11 pastes the selection on a middle click.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CPasswordEdit::dropEvent(QDropEvent* event) {
    event->ignore();
}
