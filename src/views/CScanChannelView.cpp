#include "CScanChannelView.h"

#include "CTwoListEditor.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"

namespace {
constexpr CListEditorView::Form kForm{MessageId::kAllPublicGroupsList,
                                      MessageId::kScanListCaption,
                                      CScanChannelView::kAvailable,
                                      CScanChannelView::kMembers,
                                      CScanChannelView::kAddMember,
                                      CScanChannelView::kRemoveMember,
                                      CScanChannelView::kAvailableLabel,
                                      CScanChannelView::kMembersLabel,
                                      "in_scan_list"};
}  // namespace

CScanChannelView::CScanChannelView(IViewHost& host, QWidget* parent)
    : CListEditorView(host, "CScanChannelView", "ChannelX", kForm, parent) {}

void CScanChannelView::RefreshCaption() {
    SetCaption(kCaption, QString::fromStdString(CStringTable::Instance().Format(
                             MessageId::kScanListChannel, {std::to_string(Channel())})));
}

int CScanChannelView::Channel() const {
    return m_host.Current().position + 1;
}

bool CScanChannelView::Shows(const ContactRecord& record) const {
    return record.type == CContactTable::kPublicGroup && record.channel == Channel();
}

bool CScanChannelView::MayStartAdding(int members) {
    if (members < kMaxScanGroups) {
        return true;
    }
    ShowMessage(MessageId::kChannelScanListFull, MessageStyle::kOk);
    Editor()->ClearAvailableSelection();
    return false;
}

bool CScanChannelView::MayAddAnother(int members) {
    if (members != kMaxScanGroups) {
        return true;
    }
    m_host.Ui().ShowMessage(CStringTable::Instance().Format(MessageId::kScanListLimit,
                                                            {std::to_string(kMaxScanGroups)}),
                            MessageStyle::kOk);
    return false;
}

ChangeNotice CScanChannelView::RefreshNotice() const {
    return {NoticeAction::kRefresh, kKindScanChannel, m_host.Current().position};
}
