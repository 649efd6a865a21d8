#include "CMessageBoxUi.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "CAppSettings.h"
#include "CMessageBoxDocumentUi.h"
#include "CNewProfileDlg.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"

namespace {

QString Title() {
    return QString::fromLatin1(kApplicationName);
}

}  // namespace

bool CMessageBoxUi::AskYesNo(int messageId) {
    return CMessageBoxDocumentUi(m_parent).AskYesNo(messageId);
}

void CMessageBoxUi::ShowError(int messageId, const std::string& detail) {
    CMessageBoxDocumentUi(m_parent).ShowError(messageId, detail);
}

void CMessageBoxUi::Inform(int messageId, const std::string& detail) {
    ShowError(messageId, detail);
}

int CMessageBoxUi::ShowMessage(const std::string& text, int style) {
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (style & MessageStyle::kButtonMask) {
        case MessageStyle::kOkCancel:
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case MessageStyle::kYesNoCancel:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        case MessageStyle::kYesNo:
            buttons = QMessageBox::Yes | QMessageBox::No;
            break;
        default:
            break;
    }
    QMessageBox box(QMessageBox::Information, Title(), QString::fromStdString(text), buttons,
                    m_parent);
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return MessageStyle::kIdCancel;
        case QMessageBox::Yes:
            return MessageStyle::kIdYes;
        case QMessageBox::No:
            return MessageStyle::kIdNo;
        default:
            return MessageStyle::kIdOk;
    }
}

std::optional<std::string> CMessageBoxUi::AskOpenPath(const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(m_parent, QString(), QString(), filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

std::optional<std::string> CMessageBoxUi::AskSavePath(const std::string& proposed,
                                                      const QString& filter) {
    QFileDialog dialog(m_parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("lam"));
    dialog.selectFile(QString::fromStdString(proposed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

int CMessageBoxUi::AskSaveChanges(const QString& documentName) {
    const auto answer = QMessageBox::question(
        m_parent, Title(),
        QString::fromStdString(CStringTable::Instance().Format(MessageId::kSaveChangesTo,
                                                               {documentName.toStdString()})),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        return MessageStyle::kIdYes;
    }
    return answer == QMessageBox::No ? MessageStyle::kIdNo : MessageStyle::kIdCancel;
}

std::optional<std::string> CMessageBoxUi::AskTemplate(const std::filesystem::path& installPath) {
    CNewProfileDlg dialog(m_parent, installPath.string());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.SelectedTemplatePath()).stem().string();
}

bool CMessageBoxUi::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool CMessageBoxUi::AskRestoreUnsaved(const std::vector<std::string>& profiles) {
    std::string list;
    for (const std::string& profile : profiles) {
        list += (list.empty() ? "" : "\n") + profile;
    }
    QMessageBox box(QMessageBox::Question, Title(),
                    QString::fromStdString(CStringTable::Instance().Format(
                        MessageId::kRestoreUnsavedQuestion, {list})),
                    QMessageBox::NoButton, m_parent);
    QPushButton* restore = box.addButton(
        QString::fromStdString(LoadString(MessageId::kRestoreUnsaved)), QMessageBox::AcceptRole);
    box.addButton(QString::fromStdString(LoadString(MessageId::kDiscardUnsaved)),
                  QMessageBox::DestructiveRole);
    // Nothing is lost by the default: what is restored can still be closed without saving.
    box.setDefaultButton(restore);
    box.exec();
    return box.clickedButton() == restore;
}

std::optional<std::string> CMessageBoxUi::ReadPrivateId() {
    return m_pidReader ? m_pidReader() : std::nullopt;
}
