#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

#include <QLabel>

#include "CCommandState.h"
#include "CRadioInfoView.h"
#include "FrameFixture.h"
#include "FullProfile.h"
#include "MessageId.h"

namespace {

class TreeViewTest : public FrameFixture {
  protected:
    // Return ends the label edit; the delegate commits once the event loop runs.
    void CommitEdit(QLineEdit* editor) {
        QSignalSpy closed(Tree()->itemDelegate(), &QAbstractItemDelegate::closeEditor);
        QTest::keyClick(editor, Qt::Key_Return);
        ASSERT_TRUE(closed.wait(5000));
    }
};

TEST_F(TreeViewTest, BuildShowsListsCountsAndTheRootView) {
    Open();
    QTreeWidgetItem* root = Tree()->topLevelItem(0);
    EXPECT_EQ(root->text(0), "QMV410");
    EXPECT_EQ(Labels(Node(kKindPrivates)),
              QStringList({"Ana Lima", "Bruno Costa", "Carla Dias", "Duty Manager"}));
    EXPECT_EQ(Labels(Node(kKindPrivateGroups)), QStringList({"Day Shift", "Night Shift"}));
    EXPECT_EQ(Node(kKindScrollList)->text(0), "Scroll (3)");
    EXPECT_EQ(Node(kKindScanChannel, 0)->text(0), "Channel 1 (1)");
    EXPECT_EQ(Node(kKindScanChannel, 2)->text(0), "Channel 3 (1)");
    EXPECT_EQ(Node(kKindScanList)->childCount(), 7);
    // The own radio's private is bold; text messages and scan list start collapsed.
    EXPECT_TRUE(Node(kKindPrivate, 3)->font(0).bold());
    EXPECT_FALSE(Node(kKindPrivate, 0)->font(0).bold());
    EXPECT_FALSE(Node(kKindTextMessages)->isExpanded());
    EXPECT_FALSE(Node(kKindScanList)->isExpanded());
    EXPECT_TRUE(Node(kKindPrivates)->isExpanded());

    EXPECT_EQ(Tree()->currentItem(), root);
    auto* view = qobject_cast<CRadioInfoView*>(m_frame->View());
    ASSERT_NE(view, nullptr);
    const auto text = [&](int id) { return qobject_cast<QLineEdit*>(view->Control(id))->text(); };
    EXPECT_EQ(text(CRadioInfoView::kPid), "10000005");
    EXPECT_EQ(text(CRadioInfoView::kName), "Duty Manager");
    EXPECT_EQ(text(CRadioInfoView::kFirmware), "R5E.08.00");
    EXPECT_EQ(text(CRadioInfoView::kCodeplug), "CP03.10.05");
}

TEST_F(TreeViewTest, ProfileWithoutPublicScanHasNoScanNodes) {
    ProfilePieces pieces;
    pieces.privates = PrivateXml("Solo", "10000001");
    const auto path = m_config.Path() / "NoScan.lam";
    WriteFileBytes(path, MakeProfile(pieces));
    Open(path);
    EXPECT_EQ(Node(kKindScanList), nullptr);
    EXPECT_EQ(Node(kKindScanChannel, 0), nullptr);
    EXPECT_NE(Node(kKindScrollList), nullptr);
}

TEST(TreeLabels, TextMessagesAreShortenedAfterTwentyCharacters) {
    const struct {
        std::string text;
        QString label;
    } cases[] = {
        {"", ""},
        {"12345678901234567890", "12345678901234567890"},
        {"123456789012345678901", "12345678901234567890..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CQMVVLTTreeView::TextMessageLabel(c.text), c.label) << c.text;
    }
}

TEST(TreeLabels, RootShowsTheModelName) {
    EXPECT_EQ(CQMVVLTTreeView::RootLabel("Q410"), "QMV410");
    EXPECT_EQ(CQMVVLTTreeView::RootLabel("Q411"), "QMV410 M");
}

TEST_F(TreeViewTest, RenamedContactIsSortedWhenLeftAndTheClickedItemStaysSelected) {
    Open();
    QTreeWidgetItem* security = Node(kKindPublicGroup, 2);
    Click(security);
    QTest::keyClick(Tree(), Qt::Key_F2);
    auto* editor = Tree()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->maxLength(), 20);
    editor->selectAll();
    QTest::keyClicks(editor, "Alpha");
    CommitEdit(editor);
    EXPECT_EQ(security->text(0), "Alpha");
    EXPECT_TRUE(m_frame->Document().IsModified());

    // Leaving the renamed group sorts it first; the clicked "Maintenance" moves down by one.
    Click(Node(kKindPublicGroup, 1));
    EXPECT_EQ(Labels(Node(kKindPublicGroups)), QStringList({"Alpha", "Dispatch", "Maintenance"}));
    EXPECT_EQ(Tree()->currentItem()->text(0), "Maintenance");
    EXPECT_EQ(CQMVVLTTreeView::PositionOf(Tree()->currentItem()), 2);
    EXPECT_EQ(m_frame->Current().position, 2);
}

TEST_F(TreeViewTest, RefusedRenameKeepsTheLabelAndTheProfile) {
    Open();
    QTreeWidgetItem* dispatch = Node(kKindPublicGroup, 0);
    Click(dispatch);
    QTest::keyClick(Tree(), Qt::Key_F2);
    auto* editor = Tree()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Security");  // another contact's name
    CommitEdit(editor);
    EXPECT_EQ(dispatch->text(0), "Dispatch");
    EXPECT_EQ(m_ui.shown.size(), 1u);
    EXPECT_FALSE(m_frame->Document().IsModified());
}

TEST_F(TreeViewTest, LabelEditingStartsOnlyOnContacts) {
    Open();
    for (int kind : {kKindRoot, kKindContacts, kKindPrivates, kKindSettings, kKindScrollList,
                     kKindTextMessages}) {
        Click(Node(kind));
        QTest::keyClick(Tree(), Qt::Key_F2);
        EXPECT_EQ(Tree()->viewport()->findChild<QLineEdit*>(), nullptr) << kind;
    }
}

TEST_F(TreeViewTest, DeletingTheLastMemberOfAGroupRemovesTheGroupNode) {
    Open();
    // Carla and Duty Manager are the night shift's only members: the group goes with the last.
    for (const char* name : {"Carla Dias", "Duty Manager"}) {
        QTreeWidgetItem* item = Tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive)[0];
        Click(item);
        m_ui.answers.push_back(MessageStyle::kIdOk);  // the rule file asks first
        QTest::keyClick(Tree(), Qt::Key_Delete);
    }
    EXPECT_EQ(Labels(Node(kKindPrivates)), QStringList({"Ana Lima", "Bruno Costa"}));
    EXPECT_EQ(Labels(Node(kKindPrivateGroups)), QStringList({"Day Shift"}));
    EXPECT_TRUE(m_frame->Document().IsModified());
}

TEST_F(TreeViewTest, CancelledDeleteChangesNothing) {
    Open();
    Click(Node(kKindPrivate, 0));
    m_ui.answers.push_back(MessageStyle::kIdCancel);
    QTest::keyClick(Tree(), Qt::Key_Delete);
    EXPECT_EQ(Node(kKindPrivates)->childCount(), 4);
    EXPECT_FALSE(m_frame->Document().IsModified());
}

TEST_F(TreeViewTest, FailingRuleShowsItsMessageAndLeavesTreeAndProfile) {
    // A rule file whose delete rule fails.
    m_install = m_config.Path() / "install";
    std::filesystem::copy(TestInstallFolder(), m_install, std::filesystem::copy_options::recursive);
    const auto rules = m_install / "ProfileTemplate/DataProfile.lua";
    std::string text = ReadFileBytes(rules);
    const std::string rule = "function DeleteTextMessage(text, message, confirmed, style)\n";
    ASSERT_NE(text.find(rule), std::string::npos);
    text.replace(text.find(rule), rule.size(), rule + "  error(\"refused\")\n");
    WriteFileBytes(rules, text);

    Open();
    Node(kKindTextMessages)->setExpanded(true);
    Click(Node(kKindTextMessage, 1));
    QTest::keyClick(Tree(), Qt::Key_Delete);
    EXPECT_EQ(m_ui.shown, std::vector<std::string>{LoadString(MessageId::kUnknownError)});
    EXPECT_EQ(Labels(Node(kKindTextMessages)),
              QStringList({"Call the office", "Meet at gate 3", "On my way"}));
    EXPECT_EQ(
        m_frame->Document().Model().GetRootItem().GetChildByName("TextMessages").GetChildCount(),
        3);
    EXPECT_FALSE(m_frame->Document().IsModified());
    EXPECT_EQ(Tree()->currentItem(), Node(kKindTextMessage, 1));
}

TEST_F(TreeViewTest, CommandFlagsFollowTheSelectedNode) {
    Open();
    Click(Node(kKindTextMessages));
    EXPECT_TRUE(m_frame->CommandState().CanAdd());
    EXPECT_FALSE(m_frame->CommandState().CanDelete());
    Click(Node(kKindPrivates));
    EXPECT_TRUE(m_frame->CommandState().CanScanAdd());
    Click(Node(kKindPrivate, 1));
    EXPECT_TRUE(m_frame->CommandState().CanDelete());
    EXPECT_TRUE(m_frame->CommandState().CanRename());
    EXPECT_FALSE(m_frame->CommandState().CanAdd());
}

TEST_F(TreeViewTest, AddedTextMessageIsSelectedAndCounted) {
    Open();
    Click(Node(kKindTextMessages));
    static_cast<CQMVVLTTreeView*>(Tree())->AddForSelected();
    EXPECT_EQ(Node(kKindTextMessages)->childCount(), 4);
    EXPECT_EQ(Tree()->currentItem(), Node(kKindTextMessages)->child(3));
    EXPECT_EQ(m_frame->Current().kind, kKindTextMessage);
    EXPECT_EQ(m_frame->Current().position, 3);
}

TEST_F(TreeViewTest, AddedPrivateShowsHowItWasAdded) {
    const struct {
        bool withScanner;
        const char* suffix;
    } cases[] = {{false, " (add without scanner)"}, {true, " (add with scanner)"}};
    for (const auto& c : cases) {
        Open();
        Click(Node(kKindPrivates));
        auto* tree = static_cast<CQMVVLTTreeView*>(Tree());
        c.withScanner ? tree->ScanAdd() : tree->AddForSelected();
        EXPECT_EQ(Node(kKindPrivates)->childCount(), 5);
        EXPECT_EQ(m_frame->Current().kind, kKindPrivate);
        EXPECT_TRUE(m_frame->View()->Caption()->text().endsWith(c.suffix)) << c.suffix;
        CloseFrame();
    }
}

// A list the model does not support stays in view while it holds members, says so, and takes
// nothing new; once emptied it goes. A supported list stays, and takes new members.
TEST_F(TreeViewTest, UnsupportedListIsShownOnlyWhileItHoldsMembers) {
    const struct {
        const char* name;
        bool supported;
        int listKind;
        int memberKind;
        QString label;
    } cases[] = {
        {"privates without contacts", false, kKindPrivates, kKindPrivate,
         "Privates (not supported by this radio)"},
        {"texts without messaging", false, kKindTextMessages, kKindTextMessage,
         "Text Messages (not supported by this radio)"},
        {"supported privates", true, kKindPrivates, kKindPrivate, "Privates"},
    };
    for (const auto& c : cases) {
        ProfilePieces pieces;
        pieces.privates = PrivateXml("Solo", "10000002");
        pieces.texts = "<TextMessage txt=\"Back soon\"/>";
        std::string xml = MakeProfile(pieces);
        if (!c.supported && c.listKind == kKindPrivates) {
            const std::string capacity = "max_num_of_contacts=\"150\"";
            xml.replace(xml.find(capacity), capacity.size(), "max_num_of_contacts=\"0\"");
        }
        const auto path = m_config.Path() / "Limited.lam";
        WriteFileBytes(path, xml);
        Open(path);

        QTreeWidgetItem* node = Node(c.listKind);
        ASSERT_NE(node, nullptr) << c.name;
        EXPECT_EQ(node->text(0), c.label) << c.name;
        Click(node);
        EXPECT_EQ(m_frame->CommandState().CanAdd(), c.supported) << c.name;
        node->setExpanded(true);
        Click(Node(c.memberKind, 0));
        QTest::keyClick(Tree(), Qt::Key_Delete);
        EXPECT_TRUE(m_frame->Document().IsModified()) << c.name;
        EXPECT_EQ(Node(c.listKind) != nullptr, c.supported) << c.name;
        // The selection and the shown view never stay on a node that is gone.
        EXPECT_EQ(CQMVVLTTreeView::KindOf(Tree()->currentItem()), m_frame->Current().kind);
        CloseFrame();
    }
}

TEST_F(TreeViewTest, ContextMenuFromTheKeyboardOffersTheNodesCommands) {
    Open();
    const struct {
        int kind;
        std::vector<bool> enabled;  // Add, Scan(Add), Delete, Rename
    } cases[] = {
        {kKindPrivates, {true, true, false, false}},
        {kKindPublicGroup, {false, false, true, true}},
    };
    for (const auto& c : cases) {
        Click(Node(c.kind));
        QStringList texts;
        std::vector<bool> enabled;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                texts << action->text();
                enabled.push_back(action->isEnabled());
            }
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        QTest::keyClick(Tree(), Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_EQ(texts, QStringList(
                             {"&Add\tCtrl+A", "&Scan(Add)\tCtrl+T", "&Delete\tDel", "&Rename\tF2"}))
            << c.kind;
        EXPECT_EQ(enabled, c.enabled) << c.kind;
    }

    // Delete chosen in the menu removes the selected group.
    Click(Node(kKindPublicGroup, 0));
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->setActiveAction(menu->actions().at(2));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::keyClick(Tree(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(Labels(Node(kKindPublicGroups)), QStringList({"Maintenance", "Security"}));
}

}  // namespace
