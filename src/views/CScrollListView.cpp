#include "CScrollListView.h"

#include "MessageId.h"
#include "NodeKind.h"
#include "StringTable.h"

namespace {
constexpr CListEditorView::Form kForm{MessageId::kAvailableContacts,
                                      MessageId::kScrollListCaption,
                                      CScrollListView::kAvailable,
                                      CScrollListView::kMembers,
                                      CScrollListView::kAddMember,
                                      CScrollListView::kRemoveMember,
                                      CScrollListView::kAvailableLabel,
                                      CScrollListView::kMembersLabel,
                                      "in_scroll_list"};
}  // namespace

CScrollListView::CScrollListView(IViewHost& host, QWidget* parent)
    : CListEditorView(host, "CScrollListView", "Scroll", kForm, parent) {}

void CScrollListView::RefreshCaption() {
    SetCaption(kCaption, QString::fromStdString(LoadString(MessageId::kScrollListCaption)));
}

ChangeNotice CScrollListView::RefreshNotice() const {
    return {NoticeAction::kRefresh, kKindScrollList};
}
