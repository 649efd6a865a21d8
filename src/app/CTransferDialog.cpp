#include "CTransferDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "CTransferRun.h"
#include "CTransferSignals.h"
#include "MessageId.h"
#include "StringTable.h"

CTransferDialog::CTransferDialog(QWidget* parent) : QDialog(parent) {}

CTransferDialog::~CTransferDialog() = default;

void CTransferDialog::RequestCancel() {
    m_signals->Cancel();
    m_status->setText(QString::fromStdString(LoadString(MessageId::kCanceling)));
    if (m_finished) {
        done(QDialog::Rejected);
    }
}

void CTransferDialog::reject() {
    // After success only OK ends the dialog.
    if (m_cancel->isEnabled()) {
        RequestCancel();
    }
}

void CTransferDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CTransferDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}
