#include <QAccessible>
#include <QApplication>

#include "CBaseView.h"
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
        {kKindContacts, 0, {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008}},
        {kKindPublicGroups, 0, {1029}},
        {kKindPrivateGroups, 0, {1034}},
        {kKindPrivates, 0, {1037, 1039}},
        {kKindPublicGroup, 0, {1053, 1002, 1004, 1118}},
        {kKindPrivateGroup, 0, {1069, 1070, 1071, 1072, 1073, 1075, 1122}},
        {kKindPrivate, 0, {1059, 1060, 1061, 1062, 1063, 1016, 1066, 1110, 1098}},
        {kKindPrivate, 3, {1059, 1060, 1061, 1062, 1063, 1016, 1066, 1110, 1113, 1115, 1114, 1098}},
        {kKindLists, 0, {1000, 1001}},
        {kKindScrollList, 0, {1004, 1005, 1003}},
        {kKindScanList, 0, {1109}},
        {kKindScanChannel, 0, {1018, 1020, 1017}},
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
        {kKindPrivate, 0, 1059, "Ana Lima"},
        {kKindPrivate, 0, 1060, "Channel 1"},
        {kKindPrivate, 0, 1063, "Day Shift"},
        {kKindPrivate, 0, 1016, "Not checked"},
        {kKindPrivate, 3, 1110, "Checked"},
        {kKindPrivate, 3, 1114, "2 item(s)"},
        {kKindPrivateGroup, 1, 1075, "2 item(s), selected: Carla Dias"},
        {kKindScanChannel, 0, 1017, "1 item(s), selected: Dispatch"},
        {kKindScanChannel, 0, 1018, "0 item(s)"},
        {kKindScanList, 0, 1109, "Checked"},
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
