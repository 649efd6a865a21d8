#include "CProfileUndoStack.h"

#include <QTimer>
#include <QUndoCommand>

#include "CQMVVLTDoc.h"
#include "MessageId.h"
#include "StringTable.h"

// One step: the profile before and after it.
class CSnapshotCommand : public QUndoCommand {
  public:
    CSnapshotCommand(CProfileUndoStack& owner, const QString& text, CProfileSnapshot before,
                     CProfileSnapshot after)
        : QUndoCommand(text),
          m_owner(owner),
          m_before(std::move(before)),
          m_after(std::move(after)) {}

    void undo() override { m_owner.Apply(m_before); }
    void redo() override {
        // Pushing a step runs redo; the profile is already in that state.
        if (m_pushed) {
            m_owner.Apply(m_after);
        }
        m_pushed = true;
    }
    // A change nobody noted that followed this step (a list re-sorted) belongs to its result.
    void Amend(CProfileSnapshot after) const { m_after = std::move(after); }

  private:
    CProfileUndoStack& m_owner;
    CProfileSnapshot m_before;
    mutable CProfileSnapshot m_after;
    bool m_pushed = false;
};

CProfileUndoStack::CProfileUndoStack(CQMVVLTDoc& document, Restorer restore, Describer describe,
                                     QObject* parent)
    : QObject(parent),
      m_document(document),
      m_restore(std::move(restore)),
      m_describe(std::move(describe)),
      m_baseline(document.TakeSnapshot()) {
    m_stack.setUndoLimit(kMaxSteps);
    // A profile that starts modified (read from a radio, imported) has no saved state to return to.
    if (m_document.IsModified()) {
        m_stack.resetClean();
    }
}

void CProfileUndoStack::ScheduleFlush() {
    if (!m_flushScheduled) {
        m_flushScheduled = true;
        QTimer::singleShot(0, this, [this] {
            if (m_flushScheduled) {
                Flush();
            }
        });
    }
}

void CProfileUndoStack::NoteChange() {
    if (m_applying) {
        return;
    }
    if (!m_noted) {
        m_noted = true;
        // Asked now: by the end of the turn the window may show another node.
        if (m_describe) {
            m_fallbackName = m_describe();
        }
    }
    ScheduleFlush();
}

void CProfileUndoStack::Describe(const QString& text) {
    if (!m_applying && m_name.isEmpty()) {
        m_name = text;
    }
    ScheduleFlush();
}

void CProfileUndoStack::Flush() {
    m_flushScheduled = false;
    const bool noted = m_noted;
    QString name = !m_name.isEmpty() ? m_name : m_fallbackName;
    if (name.isEmpty()) {
        name = QString::fromStdString(LoadString(MessageId::kUndoEdit));
    }
    m_noted = false;
    m_name.clear();
    m_fallbackName.clear();
    CProfileSnapshot now = m_document.TakeSnapshot();
    if (now.SameState(m_baseline)) {
        return;
    }
    if (!noted) {
        if (m_stack.index() > 0) {
            static_cast<const CSnapshotCommand*>(m_stack.command(m_stack.index() - 1))->Amend(now);
        }
        m_baseline = std::move(now);
        return;
    }
    CProfileSnapshot before = std::move(m_baseline);
    m_baseline = now;
    m_stack.push(new CSnapshotCommand(*this, name, std::move(before), std::move(now)));
    emit changed();
}

void CProfileUndoStack::Apply(const CProfileSnapshot& snapshot) {
    m_baseline = snapshot;
    m_restore(snapshot);
}

void CProfileUndoStack::Step(bool forward) {
    Flush();
    if (forward ? !m_stack.canRedo() : !m_stack.canUndo()) {
        return;
    }
    // Restoring rebuilds the window; what it reports is no change of the user's.
    m_applying = true;
    if (forward) {
        m_stack.redo();
    } else {
        m_stack.undo();
    }
    // The modified mark tells whether the profile differs from the saved one.
    m_document.SetModified(!m_stack.isClean());
    m_applying = false;
    m_noted = false;
    m_name.clear();
    m_fallbackName.clear();
    emit changed();
}

void CProfileUndoStack::DocumentSaved() {
    if (m_applying) {
        return;
    }
    Flush();
    // Saving in the latest format reloads the profile: older steps cannot be taken back into it.
    if (!m_document.TakeSnapshot().SameState(m_baseline)) {
        m_stack.clear();
        m_baseline = m_document.TakeSnapshot();
    }
    m_stack.setClean();
    emit changed();
}
