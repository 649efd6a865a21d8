#pragma once

#include "CContactListView.h"
#include "MessageId.h"
#include "NodeKind.h"

// The public groups node's view: adding a contact.
class CPublicGroupsView : public CContactListView {
  public:
    explicit CPublicGroupsView(IViewHost& host, QWidget* parent = nullptr)
        : CContactListView(host, "CPublicGroupsView", "PublicGroups", MessageId::kPublicGroupsNode,
                           "PublicGroups",
                           {{1029, 1031, MessageId::kAddPublicGroup, kKindPublicGroups}}, parent) {}
};
