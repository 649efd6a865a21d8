#pragma once

#include "CContactListView.h"
#include "MessageId.h"
#include "NodeKind.h"

// The private groups node's view: adding a contact.
class CPrivateGroupsView : public CContactListView {
  public:
    explicit CPrivateGroupsView(IViewHost& host, QWidget* parent = nullptr)
        : CContactListView(host, "CPrivateGroupsView", "PrivateGroups",
                           MessageId::kPrivateGroupsNode, "PrivateGroups",
                           {{1034, 1033, MessageId::kAddPrivateGroup, kKindPrivateGroups}},
                           parent) {}
};
