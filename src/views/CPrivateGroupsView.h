#pragma once

#include "CContactListView.h"
#include "MessageId.h"
#include "NodeKind.h"

// The private groups node's view: adding a contact.
class CPrivateGroupsView : public CContactListView {
  public:
    // Control ids.
    enum ControlId : int { kAddLabel = 1033, kAdd = 1034 };

    explicit CPrivateGroupsView(IViewHost& host, QWidget* parent = nullptr)
        : CContactListView(host, "CPrivateGroupsView", "PrivateGroups",
                           MessageId::kPrivateGroupsNode, "PrivateGroups",
                           {{kAdd, kAddLabel, MessageId::kAddPrivateGroup, kKindPrivateGroups}},
                           parent) {}
};
