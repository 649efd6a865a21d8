#include "CTransferDialog.h"

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
#include "DialogText.h"
#include "MessageId.h"

CTransferDialog::CTransferDialog(CTransferContext& context, const QString& title,
                                 std::function<void(const QString&)> setPane, QString port,
                                 QWidget* parent)
    : QDialog(parent), m_context(context), m_setPane(std::move(setPane)), m_port(std::move(port)) {
    setWindowTitle(title);
    auto* group = new QGroupBox(this);
    m_progress = new QProgressBar(group);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setAccessibleName(title);
    m_status = new QLabel(group);
    m_status->setMinimumWidth(320);
    m_groupLayout = new QVBoxLayout(group);
    m_groupLayout->addWidget(m_progress);
    m_groupLayout->addWidget(m_status);

    m_ok = new QPushButton(DialogText(MessageId::kOkText), this);
    m_ok->setProperty("ctrlId", kOk);
    m_ok->setEnabled(false);
    m_cancel = new QPushButton(DialogText(MessageId::kCancelText), this);
    m_cancel->setProperty("ctrlId", kCancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CTransferDialog::RequestCancel);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_buttons->addWidget(m_ok);
    m_buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(m_buttons);

    m_signals = new CTransferSignals(m_context, this);
    connect(m_signals, &CTransferSignals::progress, m_progress, &QProgressBar::setValue);
    connect(m_signals, &CTransferSignals::done, this, [this] { OnDone(); });
    connect(m_signals, &CTransferSignals::failed, this,
            [this](RadioResult code) { OnFailed(static_cast<int>(code)); });
}

CTransferDialog::~CTransferDialog() = default;

int CTransferDialog::RunWorker(std::function<int()> operation) {
    m_run = std::make_unique<CTransferRun>(m_context, m_signals, std::move(operation));
    if (m_setPane) {
        m_setPane(DialogText(MessageId::kTransferring));
    }
    const int answer = exec();
    m_run->Wait();
    m_result = m_run->Result();
    m_run.reset();
    return answer;
}

void CTransferDialog::ShowSucceeded(const QString& title, const QString& status) {
    m_progress->setValue(100);
    setWindowTitle(title);
    m_status->setText(status);
    m_ok->setEnabled(true);
    m_cancel->setEnabled(false);
    m_ok->setDefault(true);
    m_ok->setFocus(Qt::OtherFocusReason);
}

void CTransferDialog::ShowPort() {
    if (m_setPane) {
        m_setPane(m_port);
    }
}

void CTransferDialog::RequestCancel() {
    m_signals->Cancel();
    m_status->setText(DialogText(MessageId::kCanceling));
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
