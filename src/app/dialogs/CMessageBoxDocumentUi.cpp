#include "CMessageBoxDocumentUi.h"

#include <QMessageBox>

#include "CAppSettings.h"
#include "StringTable.h"

bool CMessageBoxDocumentUi::AskYesNo(int messageId) {
    return QMessageBox::question(m_parent, QString::fromUtf8(kApplicationName),
                                 QString::fromStdString(LoadString(messageId)),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CMessageBoxDocumentUi::ShowError(int messageId, const std::string& detail) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationName),
                    QString::fromStdString(LoadString(messageId)), QMessageBox::Ok, m_parent);
    // The trace is for a support call, not for the first read.
    if (!detail.empty()) {
        box.setDetailedText(QString::fromStdString(detail));
    }
    box.exec();
}
