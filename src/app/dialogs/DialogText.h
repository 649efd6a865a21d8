#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>

#include "CBaseView.h"
#include "MessageId.h"
#include "StringTable.h"

// The string-table text of id, for a widget.
inline QString DialogText(int id) {
    return QString::fromStdString(LoadString(id));
}

// A control with its id, its accessible name from its label text (without the mnemonic's "&"),
// and its value kept for screen readers.
template <class Widget>
Widget* IdentifyControl(Widget* control, int ctrlId, const QString& name) {
    control->setProperty("ctrlId", ctrlId);
    control->setAccessibleName(QString(name).remove(QLatin1Char('&')));
    CBaseView::TrackAccessibleValue(control);
    return control;
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
