#pragma once

// What the selected node of a profile's tree allows while the tree has the focus; the main window
// enables Add, Scan(Add), Delete and Rename from the active profile window's.
class CCommandState {
  public:
    CCommandState() = default;
    CCommandState(bool add, bool scanAdd, bool del, bool rename)
        : m_add(add), m_scanAdd(scanAdd), m_delete(del), m_rename(rename) {}

    bool CanAdd() const { return m_add; }
    bool CanScanAdd() const { return m_scanAdd; }
    bool CanDelete() const { return m_delete; }
    bool CanRename() const { return m_rename; }
    bool operator==(const CCommandState&) const = default;

  private:
    bool m_add = false;
    bool m_scanAdd = false;
    bool m_delete = false;
    bool m_rename = false;
};
