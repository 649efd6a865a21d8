#pragma once

#include "CContactListView.h"
#include "MessageId.h"
#include "NodeKind.h"

// The public groups node's view: adding a contact.
class CPublicGroupsView : public CContactListView {
  public:
    // Control ids.
    enum ControlId : int { kAdd = 1029, kAddLabel = 1031 };

    explicit CPublicGroupsView(IViewHost& host, QWidget* parent = nullptr)
        : CContactListView(host, "CPublicGroupsView", "PublicGroups", MessageId::kPublicGroupsNode,
                           "PublicGroups",
                           {{kAdd, kAddLabel, MessageId::kAddPublicGroup, kKindPublicGroups}},
                           parent) {}
};
