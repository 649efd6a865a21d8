#pragma once

#include "CContactListView.h"
#include "MessageId.h"
#include "NodeKind.h"

// The privates node's view: adding a private by hand or with a bar-code scanner.
class CPrivatesView : public CContactListView {
  public:
    explicit CPrivatesView(IViewHost& host, QWidget* parent = nullptr)
        : CContactListView(
              host, "CPrivatesView", "Privates", MessageId::kPrivatesNode, "Privates",
              {{1037, 1038, MessageId::kAddPrivates, kKindPrivates},
               {1039, 1040, MessageId::kAddPrivatesWithScanner, kKindPrivateWithScanner}},
              parent) {}
};
