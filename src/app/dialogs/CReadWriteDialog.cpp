#include "CReadWriteDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "CTransferRun.h"
#include "CTransferSignals.h"
#include "DialogText.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"

CReadWriteDialog::CReadWriteDialog(Mode mode, CTransferContext& context,
                                   std::function<int()> operation, IAppUi& ui,
                                   std::function<void(const QString&)> setPane, QString port,
                                   QWidget* parent, int seriesCount)
    : CTransferDialog(
          context, DialogText(mode == kReadMode ? MessageId::kReadTitle : MessageId::kWriteTitle),
          std::move(setPane), std::move(port), parent),
      m_mode(mode),
      m_operation(std::move(operation)),
      m_ui(ui),
      m_seriesCount(seriesCount) {
    m_status->setText(
        DialogText(mode == kReadMode ? MessageId::kReadingFromRadio : MessageId::kWritingToRadio));
    m_status->setWordWrap(true);
    m_progress->setAccessibleDescription(m_status->text());

    m_next = new QPushButton(DialogText(MessageId::kWriteNextText), this);
    m_next->setVisible(false);
    connect(m_next, &QPushButton::clicked, this, [this] { done(kWriteNext); });
    m_buttons->insertWidget(1, m_next);
    connect(m_signals, &CTransferSignals::warning, this, &CReadWriteDialog::OnWarning);
}

// The worker may still use this dialog's members: it ends before they go.
CReadWriteDialog::~CReadWriteDialog() {
    m_run.reset();
}

int CReadWriteDialog::Run() {
    return RunWorker(m_operation);
}

int CReadWriteDialog::WarningMessage(TransferWarning warning) {
    switch (warning) {
        case TransferWarning::kChannelRemap:
            return MessageId::kAskRemapChannels;
        case TransferWarning::kRadioNotInProfile:
            return MessageId::kAskRadioNotInProfile;
        case TransferWarning::kNotSupported:
            return MessageId::kAskDropUnsupported;
    }
    return MessageId::kUnknownWarning;
}

void CReadWriteDialog::OnDone() {
    const QString title = DialogText(m_mode == kReadMode ? MessageId::kReadingSuccessful
                                                         : MessageId::kWritingSuccess);
    QString text = title;
    if (m_seriesCount > 0) {
        text = QString::fromStdString(CStringTable::Instance().Format(
            MessageId::kRadiosWritten, {std::to_string(m_seriesCount)}));
    }
    ShowSucceeded(title, text);
    m_progress->setAccessibleDescription(text);
    m_next->setVisible(m_mode == kWriteMode);
    ShowPort();
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
    ShowPort();
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
