#pragma once

#include "CContactListView.h"
#include "MessageId.h"
#include "NodeKind.h"

// The privates node's view: adding a private by hand or with a bar-code scanner.
class CPrivatesView : public CContactListView {
  public:
    // Control ids.
    enum ControlId : int {
        kAdd = 1037,
        kAddLabel = 1038,
        kAddWithScanner = 1039,
        kAddWithScannerLabel = 1040,
    };

    explicit CPrivatesView(IViewHost& host, QWidget* parent = nullptr)
        : CContactListView(host, "CPrivatesView", "Privates", MessageId::kPrivatesNode, "Privates",
                           {{kAdd, kAddLabel, MessageId::kAddPrivates, kKindPrivates},
                            {kAddWithScanner, kAddWithScannerLabel,
                             MessageId::kAddPrivatesWithScanner, kKindPrivateWithScanner}},
                           parent) {}
};
