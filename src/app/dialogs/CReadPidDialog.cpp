#include "CReadPidDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "CTransferOperations.h"
#include "CTransferRun.h"
#include "DialogText.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RadioResultText.h"

CReadPidDialog::CReadPidDialog(CTransferContext& context, std::string port,
                               std::function<void(const QString&)> setPane, QWidget* parent)
    : CTransferDialog(context, DialogText(MessageId::kReadPrivateIDFrom), std::move(setPane),
                      QString::fromStdString(port), parent),
      m_port(std::move(port)) {
    auto* instruction = new QLabel(DialogText(MessageId::kCaptureInstruction), this);
    instruction->setWordWrap(true);
    m_groupLayout->insertWidget(0, instruction);
}

// The worker may still use this dialog's members: it ends before they go.
CReadPidDialog::~CReadPidDialog() {
    m_run.reset();
}

int CReadPidDialog::Run() {
    // The PID of an earlier capture must not pass for this one.
    m_context.SetCapturedPid(std::u16string(20, u' '));
    m_context.ClearCancel();
    return RunWorker([this] {
        CTransferOperations operations(m_context);
        std::u16string pid;
        return operations.CaptureRadioPid(m_port, pid);
    });
}

void CReadPidDialog::OnDone() {
    const QString text = DialogText(MessageId::kReadingSuccessful);
    ShowSucceeded(text, text);
    ShowPort();
}

void CReadPidDialog::OnFailed(int code) {
    m_finished = true;
    m_status->setText(QString::fromStdString(
        WithPortProblem(RadioTransferText(code), code, m_context.PortProblem())));
    ShowPort();
    if (code == kTimedOut) {
        QPalette palette = m_progress->palette();
        palette.setColor(QPalette::Base, QColor(255, 0, 0));
        palette.setColor(QPalette::Window, QColor(255, 0, 0));
        m_progress->setPalette(palette);
        m_progress->setAutoFillBackground(true);
    }
    if (code == kUserCancelled) {
        done(QDialog::Rejected);
    }
}
