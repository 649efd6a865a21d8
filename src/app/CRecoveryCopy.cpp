#include "CRecoveryCopy.h"

#include <algorithm>
#include <system_error>

#include "CChildFrame.h"
#include "CProfileUndoStack.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CRecoveryRecord.h"

CRecoveryCopy::CRecoveryCopy(CChildFrame& frame, std::filesystem::path file)
    : QObject(&frame), m_frame(frame), m_file(std::move(file)) {
    m_due.setSingleShot(true);
    connect(&m_due, &QTimer::timeout, this, &CRecoveryCopy::Write);
    connect(&frame, &CChildFrame::undoStateChanged, this, &CRecoveryCopy::Update);
    // A document may start with unsaved changes (read from a radio, restored).
    Update();
}

CRecoveryCopy::~CRecoveryCopy() {
    Remove();
}

void CRecoveryCopy::Update() {
    if (!m_frame.Document().IsModified()) {
        m_due.stop();
        Remove();
        return;
    }
    if (m_due.isActive()) {
        return;  // a write is already due and will take this step too
    }
    const qint64 since = m_lastWrite.isValid() ? m_lastWrite.elapsed() : kMinIntervalMs;
    m_due.start(static_cast<int>(std::max<qint64>(0, kMinIntervalMs - since)));
}

void CRecoveryCopy::Write() {
    const CQMVVLTDoc& document = m_frame.Document();
    if (!document.IsModified()) {
        return;
    }
    const CProfileSnapshot& state = m_frame.UndoStack().LastState();
    CRecoveryRecord record{document.Path(), document.Title(), state.profile, state.narrow};
    try {
        record.Write(m_file);
    } catch (const CQMVVLTException&) {
        // A copy that cannot be written costs nothing now; the next step tries again.
    }
    m_lastWrite.start();
}

void CRecoveryCopy::Remove() {
    std::error_code ec;
    std::filesystem::remove(m_file, ec);
}
