#include "CCommandState.h"

CCommandState& CCommandState::Instance() {
    static CCommandState state;
    return state;
}

void CCommandState::Set(bool add, bool scanAdd, bool del, bool rename) {
    if (add == m_add && scanAdd == m_scanAdd && del == m_delete && rename == m_rename) {
        return;
    }
    m_add = add;
    m_scanAdd = scanAdd;
    m_delete = del;
    m_rename = rename;
    emit changed();
}
