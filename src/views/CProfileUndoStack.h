#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>

#include "CProfileSnapshot.h"

class CQMVVLTDoc;

// The undo history of one open profile: a snapshot of the profile per completed user action.
// Changes are noted as they happen; everything noted within one turn of the event loop becomes one
// step when the turn ends (or at Flush). Undo and redo hand the snapshot to restore to the window.
class CProfileUndoStack : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxSteps = 100;
    // Puts a snapshot back into the document and brings the window in line with it.
    using Restorer = std::function<void(const CProfileSnapshot&)>;
    // The name of a step nobody named, asked when its first change is noted.
    using Describer = std::function<QString()>;

    CProfileUndoStack(CQMVVLTDoc& document, Restorer restore, Describer describe,
                      QObject* parent = nullptr);

    // The profile changed (the document's change callback).
    void NoteChange();
    // Names the step in progress; the first name given wins.
    void Describe(const QString& text);
    // Ends the step in progress now. A change nobody noted (the tree re-sorting a list) joins the
    // last step instead of becoming one of its own.
    void Flush();
    void Undo() { Step(false); }
    void Redo() { Step(true); }
    // The document was saved: its present state is the clean one.
    void DocumentSaved();

    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    QString UndoText() const { return m_stack.undoText(); }
    QString RedoText() const { return m_stack.redoText(); }
    int Count() const { return m_stack.count(); }
    bool IsClean() const { return m_stack.isClean(); }
    // The profile as the last step (or the start, or the last save) left it.
    const CProfileSnapshot& LastState() const { return m_baseline; }

  signals:
    // Steps were added, undone or redone (menu texts and enabling follow).
    void changed();

  private:
    friend class CSnapshotCommand;
    void Apply(const CProfileSnapshot& snapshot);
    void ScheduleFlush();
    void Step(bool forward);

    CQMVVLTDoc& m_document;
    Restorer m_restore;
    Describer m_describe;
    QUndoStack m_stack;
    CProfileSnapshot m_baseline;  // the profile as the last step left it
    bool m_noted = false;
    bool m_flushScheduled = false;
    bool m_applying = false;
    QString m_name;          // given by Describe
    QString m_fallbackName;  // from the describer, when nobody names the step
};
