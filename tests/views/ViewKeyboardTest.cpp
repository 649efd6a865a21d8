#include <QAccessible>
#include <QApplication>

#include "CBaseView.h"
#include "CContactsView.h"
#include "CListsView.h"
#include "CPrivateGroupView.h"
#include "CPrivateGroupsView.h"
#include "CPrivateView.h"
#include "CPrivatesView.h"
#include "CPublicGroupView.h"
#include "CPublicGroupsView.h"
#include "CScanChannelView.h"
#include "CScanListView.h"
#include "CScrollListView.h"
#include "FrameFixture.h"

namespace {

class ViewKeyboardTest : public FrameFixture {
  protected:
    void SetUp() override {
        FrameFixture::SetUp();
        Open();
        m_frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    }
    CBaseView* Show(int kind, int position = 0) {
        Click(Node(kind, position));
        EXPECT_EQ(m_frame->Current().kind, kind);
        return m_frame->View();
    }
    static int CtrlId(const QWidget* widget) {
        const QVariant id = widget ? widget->property(CBaseView::kCtrlIdProperty) : QVariant();
        return id.isValid() ? id.toInt() : -1;
    }
    // What a screen reader announces as the control's name.
    static QString SpokenName(QWidget* widget) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(QAccessible::Name).trimmed() : QString();
    }
    std::vector<int> TabChain(CBaseView* view, int first, std::size_t length) {
        QWidget* start = view->Control(first);
        EXPECT_NE(start, nullptr) << first;
        if (!start) {
            return {};
        }
        start->setFocus(Qt::TabFocusReason);
        std::vector<int> chain{CtrlId(QApplication::focusWidget())};
        while (chain.size() < length) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (view->isAncestorOf(now)) {
                EXPECT_FALSE(SpokenName(now).isEmpty()) << CtrlId(now);
            }
            chain.push_back(CtrlId(now));
        }
        return chain;
    }
};

TEST_F(ViewKeyboardTest, TabFollowsTheFormAndEveryControlIsNamed) {
    const struct {
        int kind;
        int position;
        std::vector<int> chain;
    } cases[] = {
        {kKindContacts,
         0,
         {CContactsView::kMaxContacts, CContactsView::kMaxPrivateGroups,
          CContactsView::kMaxPublicGroups, CContactsView::kMaxPrivates,
          CContactsView::kContactCount, CContactsView::kPrivateGroupCount,
          CContactsView::kPublicGroupCount, CContactsView::kPrivateCount}},
        {kKindPublicGroups, 0, {CPublicGroupsView::kAdd}},
        {kKindPrivateGroups, 0, {CPrivateGroupsView::kAdd}},
        {kKindPrivates, 0, {CPrivatesView::kAdd, CPrivatesView::kAddWithScanner}},
        {kKindPublicGroup,
         0,
         {CPublicGroupView::kName, CPublicGroupView::kChannel, CPublicGroupView::kId,
          CPublicGroupView::kDelete}},
        {kKindPrivateGroup,
         0,
         {CPrivateGroupView::kName, CPrivateGroupView::kChannel, CPrivateGroupView::kId,
          CPrivateGroupView::kAvailable, CPrivateGroupView::kAddMember, CPrivateGroupView::kMembers,
          CPrivateGroupView::kDelete}},
        {kKindPrivate,
         0,
         {CPrivateView::kName, CPrivateView::kChannel, CPrivateView::kId, CPrivateView::kReadId,
          CPrivateView::kHomeGroup, CPrivateView::kGroupOnly, CPrivateView::kRinger,
          CPrivateView::kScrollEnable, CPrivateView::kDelete}},
        {kKindPrivate,
         3,
         {CPrivateView::kName, CPrivateView::kChannel, CPrivateView::kId, CPrivateView::kReadId,
          CPrivateView::kHomeGroup, CPrivateView::kGroupOnly, CPrivateView::kRinger,
          CPrivateView::kScrollEnable, CPrivateView::kScrollAvailable, CPrivateView::kScrollAdd,
          CPrivateView::kScrollMembers, CPrivateView::kDelete}},
        {kKindLists, 0, {CListsView::kScrollList, CListsView::kScanGrid}},
        {kKindScrollList,
         0,
         {CScrollListView::kAvailable, CScrollListView::kAddMember, CScrollListView::kMembers}},
        {kKindScanList, 0, {CScanListView::kScanMode}},
        {kKindScanChannel,
         0,
         {CScanChannelView::kAvailable, CScanChannelView::kRemoveMember,
          CScanChannelView::kMembers}},
    };
    for (const auto& c : cases) {
        CBaseView* view = Show(c.kind, c.position);
        ASSERT_NE(view, nullptr) << c.kind;
        // One step past the last control leaves the view (or wraps to its first control).
        std::vector<int> chain = TabChain(view, c.chain.front(), c.chain.size() + 1);
        chain.pop_back();
        EXPECT_EQ(chain, c.chain) << "kind " << c.kind;
    }
}

TEST_F(ViewKeyboardTest, ScreenReadersHearTheValues) {
    const struct {
        int kind;
        int position;
        int ctrlId;
        QString value;
    } cases[] = {
        {kKindPrivate, 0, CPrivateView::kName, "Ana Lima"},
        {kKindPrivate, 0, CPrivateView::kChannel, "Channel 1"},
        {kKindPrivate, 0, CPrivateView::kHomeGroup, "Day Shift"},
        {kKindPrivate, 0, CPrivateView::kGroupOnly, "Not checked"},
        {kKindPrivate, 3, CPrivateView::kScrollEnable, "Checked"},
        {kKindPrivate, 3, CPrivateView::kScrollMembers, "2 item(s)"},
        {kKindPrivateGroup, 1, CPrivateGroupView::kMembers, "2 item(s), selected: Carla Dias"},
        {kKindScanChannel, 0, CScanChannelView::kMembers, "1 item(s), selected: Dispatch"},
        {kKindScanChannel, 0, CScanChannelView::kAvailable, "0 item(s)"},
        {kKindScanList, 0, CScanListView::kScanMode, "Checked"},
    };
    for (const auto& c : cases) {
        CBaseView* view = Show(c.kind, c.position);
        ASSERT_NE(view, nullptr);
        QWidget* control = view->Control(c.ctrlId);
        ASSERT_NE(control, nullptr) << c.ctrlId;
        EXPECT_EQ(control->accessibleDescription(), c.value) << c.ctrlId;
    }
}

}  // namespace
