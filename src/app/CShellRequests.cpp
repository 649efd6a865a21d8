#include "CShellRequests.h"

#include <QApplication>
#include <QEvent>

#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CRadioCommands.h"

CShellRequests::CShellRequests(CMainFrame& window) : m_window(window) {
    // A modal window ending unblocks the main window; a radio command ending says so itself.
    m_window.installEventFilter(this);
    connect(&m_window.Radio(), &CRadioCommands::runningChanged, this, [this](bool running) {
        if (!running) {
            Schedule();
        }
    });
}

CShellRequests::~CShellRequests() {
    m_window.removeEventFilter(this);
}

void CShellRequests::Add(const QStringList& files) {
    m_pending << files;
    // Even a request without files brings the window to the front.
    m_raise = true;
    Schedule();
}

bool CShellRequests::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window &&
        (event->type() == QEvent::WindowUnblocked || event->type() == QEvent::EnabledChange)) {
        Schedule();
    }
    return QObject::eventFilter(watched, event);
}

bool CShellRequests::WindowBusy() const {
    return QApplication::activeModalWidget() != nullptr || m_window.Radio().Running() ||
           !m_window.isEnabled();
}

void CShellRequests::Schedule() {
    if (m_scheduled || (m_pending.isEmpty() && !m_raise)) {
        return;
    }
    m_scheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scheduled = false;
            OpenPending();
        },
        Qt::QueuedConnection);
}

void CShellRequests::OpenPending() {
    // A refused profile's message runs an event loop of its own; files arriving meanwhile join
    // the list this loop works through.
    if (m_opening) {
        return;
    }
    m_opening = true;
    while (!m_pending.isEmpty() && !WindowBusy()) {
        m_window.Documents().Open(m_pending.takeFirst().toStdString());
    }
    m_opening = false;
    if (m_pending.isEmpty() && m_raise && !WindowBusy()) {
        m_raise = false;
        m_window.raise();
        m_window.activateWindow();
    }
}
