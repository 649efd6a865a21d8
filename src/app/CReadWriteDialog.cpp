#include "CReadWriteDialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "CTransferRun.h"
#include "CTransferSignals.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

}  // namespace

CReadWriteDialog::CReadWriteDialog(Mode mode, CTransferContext& context,
                                   std::function<int()> operation, IAppUi& ui,
                                   std::function<void(const QString&)> setPane, QString port,
                                   QWidget* parent, int seriesCount)
    : CTransferDialog(parent),
      m_mode(mode),
      m_context(context),
      m_operation(std::move(operation)),
      m_ui(ui),
      m_setPane(std::move(setPane)),
      m_port(std::move(port)),
      m_seriesCount(seriesCount) {
    setWindowTitle(Text(mode == kReadMode ? MessageId::kReadTitle : MessageId::kWriteTitle));
    auto* group = new QGroupBox(this);
    m_progress = new QProgressBar(group);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setAccessibleName(windowTitle());
    m_status = new QLabel(
        Text(mode == kReadMode ? MessageId::kReadingFromRadio : MessageId::kWritingToRadio), group);
    m_status->setMinimumWidth(320);
    m_status->setWordWrap(true);
    m_progress->setAccessibleDescription(m_status->text());
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_progress);
    groupLayout->addWidget(m_status);

    m_ok = new QPushButton(Text(MessageId::kOkText), this);
    m_ok->setProperty("ctrlId", 1);
    m_ok->setEnabled(false);
    m_cancel = new QPushButton(Text(MessageId::kCancelText), this);
    m_cancel->setProperty("ctrlId", 2);
    m_next = new QPushButton(Text(MessageId::kWriteNextText), this);
    m_next->setVisible(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CReadWriteDialog::RequestCancel);
    connect(m_next, &QPushButton::clicked, this, [this] { done(kWriteNext); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_next);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    m_signals = new CTransferSignals(m_context, this);
    connect(m_signals, &CTransferSignals::progress, m_progress, &QProgressBar::setValue);
    connect(m_signals, &CTransferSignals::done, this, &CReadWriteDialog::OnDone);
    connect(m_signals, &CTransferSignals::failed, this,
            [this](RadioResult code) { OnFailed(static_cast<int>(code)); });
    connect(m_signals, &CTransferSignals::warning, this, &CReadWriteDialog::OnWarning);
}

// The worker has ended when the dialog ends (its last notification closes or enables it); this
// waits only for the thread to wind down.
// The worker may still use this dialog's members: it ends before they go.
CReadWriteDialog::~CReadWriteDialog() {
    m_run.reset();
}

int CReadWriteDialog::Run() {
    m_run = std::make_unique<CTransferRun>(m_context, m_signals, m_operation);
    if (m_setPane) {
        m_setPane(Text(MessageId::kTransferring));
    }
    const int answer = exec();
    m_run->Wait();
    m_result = m_run->Result();
    m_run.reset();
    return answer;
}

int CReadWriteDialog::WarningMessage(TransferWarning warning) {
    switch (warning) {
        case TransferWarning::kChannelRemap:
            return 306;
        case TransferWarning::kRadioNotInProfile:
            return 10030;
        case TransferWarning::kNotSupported:
            return 10031;
    }
    return 10032;
}

void CReadWriteDialog::OnDone() {
    m_succeeded = true;
    m_progress->setValue(100);
    QString text =
        Text(m_mode == kReadMode ? MessageId::kReadingSuccessful : MessageId::kWritingSuccess);
    setWindowTitle(text);
    if (m_seriesCount > 0) {
        text = QString::fromStdString(CStringTable::Instance().Format(
            MessageId::kRadiosWritten, {std::to_string(m_seriesCount)}));
    }
    m_status->setText(text);
    m_progress->setAccessibleDescription(text);
    m_ok->setEnabled(true);
    m_cancel->setEnabled(false);
    m_next->setVisible(m_mode == kWriteMode);
    m_ok->setDefault(true);
    m_ok->setFocus(Qt::OtherFocusReason);
    if (m_setPane) {
        m_setPane(m_port);
    }
}

void CReadWriteDialog::OnFailed(int code) {
    m_finished = true;
    const std::string text =
        WithPortProblem(RadioTransferText(code), code, m_context.PortProblem());
    if (code == kTextToRadio || code == kTextFromRadio || code == kModifiedBandProfile) {
        m_ui.ShowMessage(text, MessageStyle::kOk);
        m_status->clear();
    } else {
        m_status->setText(QString::fromStdString(text));
    }
    m_progress->setAccessibleDescription(m_status->text());
    if (m_setPane) {
        m_setPane(m_port);
    }
    if (code == kUserCancelled || code == kModifiedBandProfile) {
        done(QDialog::Rejected);
    }
}

void CReadWriteDialog::OnWarning(TransferWarning warning) {
    const bool yes = m_ui.AskYesNo(WarningMessage(warning));
    if (!yes) {
        m_signals->Cancel();
    }
    m_signals->AnswerWarning(yes);
}
