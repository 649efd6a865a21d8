#include "CEditCommandRouter.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>

#include "CSettingsView.h"

namespace {

bool IsPasswordBox(const QWidget* widget) {
    const QVariant id = widget->property("ctrlId");
    return id.isValid() &&
           (id.toInt() == CSettingsView::kPassword || id.toInt() == CSettingsView::kConfirm);
}

}  // namespace

EditCommandState CEditCommandRouter::Evaluate(QWidget* focus, bool clipboardHasText) {
    EditCommandState state;
    bool readOnly = false;
    bool selection = false;
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        readOnly = line->isReadOnly();
        selection = line->hasSelectedText();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        readOnly = plain->isReadOnly();
        selection = plain->textCursor().hasSelection();
    } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
        readOnly = rich->isReadOnly();
        selection = rich->textCursor().hasSelection();
    } else {
        return state;
    }
    state.editFocused = true;
    const bool password = IsPasswordBox(focus);
    state.cut = !readOnly && !password && selection;
    state.copy = !password && selection;
    state.paste = !readOnly && !password && clipboardHasText;
    state.clear = !readOnly && selection;
    return state;
}

void CEditCommandRouter::Cut(QWidget* focus) {
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        line->cut();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        plain->cut();
    } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
        rich->cut();
    }
}

void CEditCommandRouter::Copy(QWidget* focus) {
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        line->copy();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        plain->copy();
    } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
        rich->copy();
    }
}

void CEditCommandRouter::Paste(QWidget* focus) {
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        line->paste();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        plain->paste();
    } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
        rich->paste();
    }
}

void CEditCommandRouter::Clear(QWidget* focus) {
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        line->del();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        plain->textCursor().removeSelectedText();
    } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
        rich->textCursor().removeSelectedText();
    }
}
