#include "CGuiRadioUi.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

#include "CAppSettings.h"
#include "CAskPwdDlg.h"
#include "CReadWriteDialog.h"
#include "CTransferRun.h"
#include "CTransferSignals.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"
#include "Utility.h"

CGuiRadioUi::CGuiRadioUi(QWidget* parent, IAppUi& ui, CTransferContext& context,
                         std::function<void(const QString&)> setPane)
    : m_parent(parent), m_ui(ui), m_context(context), m_setPane(std::move(setPane)) {}

int CGuiRadioUi::RunOperation(RadioOperation which, const std::function<int()>& operation) {
    if (IsTransfer(which)) {
        CReadWriteDialog dialog(
            which == RadioOperation::kReadCodeplug ? CReadWriteDialog::kReadMode
                                                   : CReadWriteDialog::kWriteMode,
            m_context, operation, m_ui, m_setPane, m_port, m_parent, m_seriesCount);
        m_lastDialogCode = dialog.Run();
        return dialog.Result();
    }
    // A backup or a read-back takes as long as a read: the status bar says what is going on.
    if (m_setPane && (which == RadioOperation::kBackup || which == RadioOperation::kVerify)) {
        m_setPane(QString::fromStdString(LoadString(
            which == RadioOperation::kBackup ? MessageId::kBackingUp : MessageId::kVerifying)));
    }
    // The short reads run on a worker too, so the window keeps painting; the command waits here
    // for the outcome, which keeps the order of its steps.
    CTransferSignals notices(m_context);
    QEventLoop loop;
    QObject::connect(&notices, &CTransferSignals::done, &loop, &QEventLoop::quit);
    QObject::connect(&notices, &CTransferSignals::failed, &loop, &QEventLoop::quit);
    QObject::connect(&notices, &CTransferSignals::warning, &notices,
                     [this, &notices](TransferWarning warning) {
                         const bool yes = m_ui.AskYesNo(CReadWriteDialog::WarningMessage(warning));
                         if (!yes) {
                             notices.Cancel();
                         }
                         notices.AnswerWarning(yes);
                     });
    CTransferRun run(m_context, &notices, operation);
    // Both notifications are queued to this thread, so neither can be missed before exec.
    loop.exec();
    run.Wait();
    if (m_setPane && (which == RadioOperation::kBackup || which == RadioOperation::kVerify)) {
        m_setPane(m_port);
    }
    return run.Result();
}

bool CGuiRadioUi::AskYesNo(int messageId) {
    return m_ui.AskYesNo(messageId);
}

std::optional<std::string> CGuiRadioUi::AskPassword() {
    return CAskPwdDlg::Ask(m_parent);
}

void CGuiRadioUi::ShowMessage(const std::string& text) {
    m_ui.ShowMessage(text, MessageStyle::kOk);
}

void CGuiRadioUi::ShowNote(const std::string& text) {
    if (auto* window = qobject_cast<QMainWindow*>(m_parent.data())) {
        window->statusBar()->showMessage(QString::fromStdString(text));
    }
}

bool CGuiRadioUi::ShowModifiedBandNotice() {
    QMessageBox box(QMessageBox::Information, QString::fromLatin1(kApplicationName),
                    QString::fromStdString(LoadString(MessageId::kModifiedBandNotice)),
                    QMessageBox::Ok, m_parent);
    box.button(QMessageBox::Ok)->setText(QString::fromStdString(LoadString(MessageId::kOkText)));
    auto* dontShow =
        new QCheckBox(QString::fromStdString(LoadString(MessageId::kDoNotShowAgain)), &box);
    box.setCheckBox(dontShow);
    box.exec();
    return dontShow->isChecked();
}
