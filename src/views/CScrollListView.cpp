#include "CScrollListView.h"

#include "MessageId.h"
#include "NodeKind.h"
#include "StringTable.h"

namespace {
constexpr int kCaptionId = 1011;
constexpr CListEditorView::Form kForm{MessageId::kAvailableContacts,
                                      MessageId::kScrollListCaption,
                                      1004,
                                      1003,
                                      1005,
                                      1006,
                                      1024,
                                      1025,
                                      "in_scroll_list"};
}  // namespace

CScrollListView::CScrollListView(IViewHost& host, QWidget* parent)
    : CListEditorView(host, "CScrollListView", "Scroll", kForm, parent) {}

void CScrollListView::RefreshCaption() {
    SetCaption(kCaptionId, QString::fromStdString(LoadString(MessageId::kScrollListCaption)));
}

ChangeNotice CScrollListView::RefreshNotice() const {
    return {NoticeAction::kRefresh, kKindScrollList};
}
