#include "CTransferSignals.h"

#include <QMetaObject>

CTransferSignals::CTransferSignals(CTransferContext& context, QObject* parent)
    : QObject(parent), m_context(context) {}

// Each call is posted to this object's thread; a posted call dies with the object.
void CTransferSignals::OnProgress(int percent) {
    QMetaObject::invokeMethod(
        this, [this, percent] { emit progress(percent); }, Qt::QueuedConnection);
}

void CTransferSignals::OnRecord(int done, int total) {
    QMetaObject::invokeMethod(
        this, [this, done, total] { emit record(done, total); }, Qt::QueuedConnection);
}

void CTransferSignals::OnDone() {
    QMetaObject::invokeMethod(
        this, [this] { emit done(); }, Qt::QueuedConnection);
}

void CTransferSignals::OnFailed(RadioResult code) {
    QMetaObject::invokeMethod(
        this, [this, code] { emit failed(code); }, Qt::QueuedConnection);
}

void CTransferSignals::OnWarning(TransferWarning which) {
    QMetaObject::invokeMethod(
        this, [this, which] { emit warning(which); }, Qt::QueuedConnection);
}

void CTransferSignals::AnswerWarning(bool yes) {
    m_context.AnswerWarning(yes);
}

void CTransferSignals::Cancel() {
    m_context.RequestCancel();
}
