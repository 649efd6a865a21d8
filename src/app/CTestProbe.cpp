#include "CTestProbe.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <cstdio>

CTestProbe::CTestProbe(QWidget& window)
    : m_window(window), m_input(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this)) {
    connect(m_input, &QSocketNotifier::activated, this, &CTestProbe::ReadCommands);
    qApp->installEventFilter(this);
}

CTestProbe::~CTestProbe() {
    qApp->removeEventFilter(this);
}

bool CTestProbe::Wanted() {
    return qEnvironmentVariableIsSet("QMVVLT_TEST_PROBE");
}

void CTestProbe::Say(const QString& line) {
    QString text = line;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fputs(text.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

bool CTestProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::WindowTitleChange) {
        Say(QStringLiteral("title ") + m_window.windowTitle());
    } else if (event->type() == QEvent::Show && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->isModal()) {
            const auto* box = qobject_cast<const QMessageBox*>(widget);
            Say(QStringLiteral("modal ") + (box ? box->text() : widget->windowTitle()));
        }
    }
    return QObject::eventFilter(watched, event);
}

void CTestProbe::ReadCommands() {
    char buffer[256];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        m_input->setEnabled(false);
        return;
    }
    m_pending.append(buffer, got);
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QByteArray command = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (command != "answer") {
            continue;
        }
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        // A box with only OK has no default of its own: OK is also its escape button.
        QAbstractButton* press =
            box ? (box->defaultButton() ? box->defaultButton() : box->escapeButton()) : nullptr;
        if (press) {
            press->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->accept();
        }
        Say(QStringLiteral("answered"));
    }
}
