#include "CViewFactory.h"

#include "CContactsView.h"
#include "CListsView.h"
#include "CPrivateGroupView.h"
#include "CPrivateGroupsView.h"
#include "CPrivateView.h"
#include "CPrivatesView.h"
#include "CPublicGroupView.h"
#include "CPublicGroupsView.h"
#include "CRadioInfoView.h"
#include "CScanChannelView.h"
#include "CScanListView.h"
#include "CScrollListView.h"
#include "CSettingsView.h"
#include "CTextMessageView.h"
#include "CTextMessagesView.h"
#include "NodeKind.h"

CBaseView* CViewFactory::Create(int kind, IViewHost& host, QWidget* parent) {
    switch (kind) {
        case kKindRoot:
            return new CRadioInfoView(host, parent);
        case kKindSettings:
            return new CSettingsView(host, parent);
        case kKindTextMessages:
            return new CTextMessagesView(host, parent);
        case kKindTextMessage:
            return new CTextMessageView(host, parent);
        case kKindContacts:
            return new CContactsView(host, parent);
        case kKindPublicGroups:
            return new CPublicGroupsView(host, parent);
        case kKindPrivateGroups:
            return new CPrivateGroupsView(host, parent);
        case kKindPrivates:
            return new CPrivatesView(host, parent);
        case kKindLists:
            return new CListsView(host, parent);
        case kKindScrollList:
            return new CScrollListView(host, parent);
        case kKindScanList:
            return new CScanListView(host, parent);
        case kKindScanChannel:
            return new CScanChannelView(host, parent);
        case kKindPublicGroup:
            return new CPublicGroupView(host, parent);
        case kKindPrivateGroup:
            return new CPrivateGroupView(host, parent);
        case kKindPrivate:
            return new CPrivateView(host, parent);
        default:
            return nullptr;
    }
}
