#pragma once

#include <QObject>

// The process-wide command flags the tree sets for its selected node; the main window enables
// Add, Scan(Add), Delete and Rename from them.
class CCommandState : public QObject {
    Q_OBJECT
  public:
    static CCommandState& Instance();

    bool CanAdd() const { return m_add; }
    bool CanScanAdd() const { return m_scanAdd; }
    bool CanDelete() const { return m_delete; }
    bool CanRename() const { return m_rename; }
    void Set(bool add, bool scanAdd, bool del, bool rename);
    void Clear() { Set(false, false, false, false); }

  signals:
    void changed();

  private:
    bool m_add = false;
    bool m_scanAdd = false;
    bool m_delete = false;
    bool m_rename = false;
};
