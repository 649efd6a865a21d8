#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>

#include "MessageId.h"
#include "StringTable.h"

// The string-table text of id, for a widget.
inline QString DialogText(int id) {
    return QString::fromStdString(LoadString(id));
}

// The dialog's button row with the string-table texts of its buttons ("&OK", "&Cancel"), wired
// to accept and reject.
inline QDialogButtonBox* AddDialogButtons(QDialog* dialog,
                                          QDialogButtonBox::StandardButtons which) {
    auto* buttons = new QDialogButtonBox(which, dialog);
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
        ok->setText(DialogText(MessageId::kOkText));
    }
    if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel)) {
        cancel->setText(DialogText(MessageId::kCancelText));
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
