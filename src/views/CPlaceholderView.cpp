#include "CPlaceholderView.h"

#include "CQMVVLTDoc.h"
#include "NodeKind.h"
#include "StringTable.h"

namespace {

constexpr int kCaptionId = 1049;

// The caption of a list node's view by kind; contacts show their name instead.
int CaptionId(int kind) {
    switch (kind) {
        case kKindSettings:
            return 109;
        case kKindContacts:
            return 131;
        case kKindPublicGroups:
            return 112;
        case kKindPrivateGroups:
            return 111;
        case kKindPrivates:
            return 110;
        case kKindLists:
            return 113;
        case kKindScrollList:
            return 114;
        case kKindScanList:
            return 115;
        case kKindScanChannel:
            return 124;
        default:
            return 0;
    }
}

const char* ContactList(int kind) {
    switch (kind) {
        case kKindPublicGroup:
            return "PublicGroups";
        case kKindPrivateGroup:
            return "PrivateGroups";
        case kKindPrivate:
            return "Privates";
        default:
            return nullptr;
    }
}

}  // namespace

CPlaceholderView::CPlaceholderView(IViewHost& host, int kind, std::string className,
                                   std::string resourceKey, QWidget* parent)
    : CBaseView(host, std::move(className), std::move(resourceKey), parent), m_kind(kind) {
    KeepShown(kCaptionId);
}

void CPlaceholderView::RefreshCaption() {
    const int position = m_host.Current().position;
    std::string caption;
    if (const char* list = ContactList(m_kind)) {
        caption = ScriptToText(RootItem()
                                   .GetChildByName("Contacts")
                                   .GetChildByName(list)
                                   .GetChildByIndex(position)
                                   .GetAttributeValue("name"));
    } else if (m_kind == kKindScanChannel) {
        caption =
            CStringTable::Instance().Format(CaptionId(m_kind), {std::to_string(position + 1)});
    } else {
        caption = LoadString(CaptionId(m_kind));
    }
    SetCaption(kCaptionId, QString::fromStdString(caption + CaptionSuffix()));
}

void CPlaceholderView::OnChangeNotice(int hint) {
    if (NoticeActionOf(hint) == kNoticeRefresh && NoticeKindOf(hint) == m_kind &&
        NoticePositionOf(hint) == m_host.Current().position) {
        RefreshCaption();
    }
}
