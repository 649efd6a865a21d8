#include "CReadPidDialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "CTransferOperations.h"
#include "CTransferRun.h"
#include "CTransferSignals.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

}  // namespace

CReadPidDialog::CReadPidDialog(CTransferContext& context, std::string port,
                               std::function<void(const QString&)> setPane, QWidget* parent)
    : CTransferDialog(parent),
      m_context(context),
      m_port(std::move(port)),
      m_setPane(std::move(setPane)) {
    setWindowTitle(Text(MessageId::kReadPrivateIDFrom));
    auto* group = new QGroupBox(this);
    m_progress = new QProgressBar(group);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setAccessibleName(windowTitle());
    auto* instruction = new QLabel(Text(MessageId::kCaptureInstruction), group);
    instruction->setWordWrap(true);
    m_status = new QLabel(group);
    m_status->setMinimumWidth(320);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(instruction);
    groupLayout->addWidget(m_progress);
    groupLayout->addWidget(m_status);

    m_ok = new QPushButton(Text(MessageId::kOkText), this);
    m_ok->setProperty("ctrlId", 1);
    m_ok->setEnabled(false);
    m_cancel = new QPushButton(Text(MessageId::kCancelText), this);
    m_cancel->setProperty("ctrlId", 2);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CReadPidDialog::RequestCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    m_signals = new CTransferSignals(m_context, this);
    connect(m_signals, &CTransferSignals::progress, m_progress, &QProgressBar::setValue);
    connect(m_signals, &CTransferSignals::done, this, &CReadPidDialog::OnDone);
    connect(m_signals, &CTransferSignals::failed, this,
            [this](RadioResult code) { OnFailed(static_cast<int>(code)); });
}

// The worker may still use this dialog's members: it ends before they go.
CReadPidDialog::~CReadPidDialog() {
    m_run.reset();
}

int CReadPidDialog::Run() {
    // The PID of an earlier capture must not pass for this one.
    m_context.SetCapturedPid(std::u16string(20, u' '));
    m_context.ClearCancel();
    m_run = std::make_unique<CTransferRun>(m_context, m_signals, [this] {
        CTransferOperations operations(m_context);
        std::u16string pid;
        return operations.CaptureRadioPid(m_port, pid);
    });
    if (m_setPane) {
        m_setPane(Text(MessageId::kTransferring));
    }
    const int answer = exec();
    m_run.reset();
    return answer;
}

void CReadPidDialog::OnDone() {
    m_progress->setValue(100);
    setWindowTitle(Text(MessageId::kReadingSuccessful));
    m_status->setText(Text(MessageId::kReadingSuccessful));
    m_ok->setEnabled(true);
    m_cancel->setEnabled(false);
    m_ok->setDefault(true);
    m_ok->setFocus(Qt::OtherFocusReason);
    if (m_setPane) {
        m_setPane(QString::fromStdString(m_port));
    }
}

void CReadPidDialog::OnFailed(int code) {
    m_finished = true;
    m_status->setText(QString::fromStdString(
        WithPortProblem(RadioTransferText(code), code, m_context.PortProblem())));
    if (m_setPane) {
        m_setPane(QString::fromStdString(m_port));
    }
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
