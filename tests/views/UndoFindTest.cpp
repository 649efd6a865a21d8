#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include "CProfileUndoStack.h"
#include "CTextMessageView.h"
#include "CTreeFindBar.h"
#include "FrameFixture.h"
#include "FullProfile.h"
#include "MessageStyle.h"
#include "XmlDom.h"

namespace {

class UndoFindTest : public FrameFixture {
  protected:
    CProfileUndoStack& Stack() const { return m_frame->UndoStack(); }
    // Lets the turn of the event loop end, as after any user action.
    static void EndTurn() { QCoreApplication::processEvents(); }
    std::string Attr(const std::string& xpath, const char* name) const {
        const CXPath query(m_frame->Document().Model().GetProfileDoc());
        return GetAttribute(query.SelectFirst(xpath), name).value_or("<none>");
    }
    std::vector<std::string> Attrs(const std::string& xpath, const char* name) const {
        std::vector<std::string> values;
        const CXPath query(m_frame->Document().Model().GetProfileDoc());
        for (xmlNode* node : query.SelectNodes(xpath)) {
            values.push_back(GetAttribute(node, name).value_or("<none>"));
        }
        return values;
    }
    CDataItem List(NodeKind listKind) const { return m_frame->Tree()->ListItem(listKind); }
    void RenameSelected(const QString& name) {
        QTest::keyClick(Tree(), Qt::Key_F2);
        auto* editor = Tree()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QSignalSpy closed(Tree()->itemDelegate(), &QAbstractItemDelegate::closeEditor);
        QTest::keyClick(editor, Qt::Key_Return);
        ASSERT_TRUE(closed.wait(5000));
    }
    QStringList VisibleMembers() const {
        QStringList shown;
        for (int kind : {kKindPrivates, kKindPrivateGroups, kKindPublicGroups, kKindTextMessages}) {
            QTreeWidgetItem* node = Node(kind);
            for (int i = 0; node && i < node->childCount(); ++i) {
                if (!node->child(i)->isHidden()) {
                    shown << node->child(i)->text(0);
                }
            }
        }
        return shown;
    }
};

TEST_F(UndoFindTest, RenameInTheTreeIsUndoneAndRedoneWithTheSelectionKept) {
    Open();
    Click(Node(kKindPrivate, 1));
    RenameSelected("Bob");
    EndTurn();
    ASSERT_EQ(Stack().UndoText(), "Rename 'Bob'");

    const struct {
        bool redo;
        std::string name;
        bool modified;
    } steps[] = {{false, "Bruno Costa", false}, {true, "Bob", true}, {false, "Bruno Costa", false}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        s.redo ? m_frame->Redo() : m_frame->Undo();
        EXPECT_EQ(Attr("//dfns:Private[@pid='10000003']", "name"), s.name);
        EXPECT_EQ(Node(kKindPrivate, 1)->text(0), QString::fromStdString(s.name));
        EXPECT_EQ(Tree()->currentItem(), Node(kKindPrivate, 1));
        EXPECT_EQ(m_frame->Current().kind, kKindPrivate);
        EXPECT_EQ(m_frame->Document().IsModified(), s.modified);
        EXPECT_EQ(m_frame->isWindowModified(), s.modified);
    }
    EXPECT_EQ(Stack().RedoText(), "Rename 'Bob'");
}

TEST_F(UndoFindTest, DeletingTheOnlyMemberOfAGroupIsOneStepThatUndoRestoresWhole) {
    ProfilePieces pieces;
    pieces.privateGroups =
        PrivateGroupXml("Pair", "10001001") + PrivateGroupXml("Solo", "10001000");
    const std::string groups =
        "<ParentPrivateGroups><ParentPrivateGroup pid=\"10001000\"/>"
        "<ParentPrivateGroup pid=\"10001001\"/></ParentPrivateGroups>"
        "<scrolllist/>";
    pieces.privates = PrivateXml("Ana", "10000002", groups, " home_grp=\"10001000\"") +
                      PrivateXml("Ben", "10000003",
                                 "<ParentPrivateGroups><ParentPrivateGroup pid=\"10001001\"/>"
                                 "</ParentPrivateGroups><scrolllist/>");
    const auto path = m_config.Path() / "Groups.lam";
    WriteFileBytes(path, MakeProfile(pieces));
    Open(path);
    Click(Node(kKindPrivate, 0));
    m_ui.answers = {MessageStyle::kIdOk};
    QTest::keyClick(Tree(), Qt::Key_Delete);
    ASSERT_EQ(Labels(Node(kKindPrivateGroups)), QStringList({"Pair"}));
    ASSERT_EQ(Labels(Node(kKindPrivates)), QStringList({"Ben"}));
    EndTurn();
    EXPECT_EQ(Stack().Count(), 1);
    EXPECT_EQ(Stack().UndoText(), "Delete 'Ana'");

    m_frame->Undo();
    EXPECT_EQ(Labels(Node(kKindPrivateGroups)), QStringList({"Pair", "Solo"}));
    EXPECT_EQ(Labels(Node(kKindPrivates)), QStringList({"Ana", "Ben"}));
    EXPECT_EQ(Attrs("//dfns:Private[@pid='10000002']//dfns:ParentPrivateGroup", "pid"),
              (std::vector<std::string>{"10001000", "10001001"}));
    EXPECT_EQ(Attr("//dfns:Private[@pid='10000002']", "home_grp"), "10001000");
    // The privates list was shown after the delete; it still is.
    EXPECT_EQ(CQMVVLTTreeView::KindOf(Tree()->currentItem()), kKindPrivates);
    EXPECT_EQ(m_frame->Current().kind, kKindPrivates);
    EXPECT_FALSE(m_frame->Document().IsModified());
}

TEST_F(UndoFindTest, MembershipAndSettingsChangesAreUndoneInReverseOrder) {
    Open();
    // A two-list move as a contact view makes it: a new membership, then its group, one action.
    Click(Node(kKindPrivate, 1));
    CDataItem groups = List(kKindPrivates).GetChildByIndex(1).GetChildByName("ParentPrivateGroups");
    auto entry = groups.AddNewChild();
    ASSERT_TRUE(entry);
    ASSERT_EQ(entry->SetAttributeValue("pid", ScriptText("10001000")).result, 0);
    m_frame->MarkModified();
    m_frame->NotifyAllViews({NoticeAction::kRefresh, kKindPrivate, 1});
    EndTurn();
    // A settings field as the settings view commits it.
    Click(Node(kKindSettings));
    CDataItem setting = m_frame->Document().Model().GetRootItem().GetChildByName("setting");
    ASSERT_EQ(setting.SetAttributeValue("contrast", ScriptText("7")).result, 0);
    m_frame->MarkModified();
    EndTurn();
    ASSERT_EQ(Stack().Count(), 2);

    const std::string bruno = "//dfns:Private[@pid='10000003']";
    const struct {
        QString undoText;
        std::string contrast;
        std::vector<std::string> brunoGroups;
        bool modified;
    } steps[] = {
        {"Settings Change", "7", {"10001000"}, true},
        {"Edit 'Bruno Costa'", "5", {"10001000"}, true},
        {"", "5", {}, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.undoText.toStdString());
        EXPECT_EQ(Stack().UndoText(), s.undoText);
        EXPECT_EQ(Attr("//dfns:setting", "contrast"), s.contrast);
        EXPECT_EQ(Attrs(bruno + "//dfns:ParentPrivateGroup", "pid"), s.brunoGroups);
        EXPECT_EQ(m_frame->Document().IsModified(), s.modified);
        m_frame->Undo();
    }
    EXPECT_FALSE(Stack().CanUndo());
    EXPECT_EQ(Stack().Count(), 2);
}

TEST_F(UndoFindTest, UndoingBackToTheSavedStateClearsTheModifiedMark) {
    Open();
    Node(kKindTextMessages)->setExpanded(true);
    const auto retype = [&](const QString& content) {
        Click(Node(kKindTextMessage, 1));
        auto* text =
            qobject_cast<QPlainTextEdit*>(m_frame->View()->Control(CTextMessageView::kText));
        ASSERT_NE(text, nullptr);
        text->setFocus();
        text->selectAll();
        QTest::keyClicks(text, content);
    };
    retype("Saved text");
    // Undo takes the typed text first, as a selection change would, and takes it back.
    m_frame->Undo();
    EXPECT_EQ(Attrs("//dfns:TextMessage", "txt"),
              (std::vector<std::string>{"Call the office", "Meet at gate 3", "On my way"}));
    EXPECT_FALSE(m_frame->Document().IsModified());
    m_frame->Redo();
    ASSERT_TRUE(m_frame->Document().Save());
    retype("Unsaved");
    Click(Node(kKindTextMessages));
    EndTurn();
    ASSERT_EQ(Stack().UndoText(), "Text Message Change");

    const struct {
        bool redo;
        bool modified;
        const char* second;
    } steps[] = {{false, false, "Saved text"},
                 {false, true, "Meet at gate 3"},
                 {true, false, "Saved text"},
                 {true, true, "Unsaved"}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.second);
        s.redo ? m_frame->Redo() : m_frame->Undo();
        EXPECT_EQ(m_frame->Document().IsModified(), s.modified);
        EXPECT_EQ(m_frame->isWindowModified(), s.modified);
        const auto texts = Attrs("//dfns:TextMessage", "txt");
        EXPECT_NE(std::find(texts.begin(), texts.end(), s.second), texts.end());
    }
}

TEST_F(UndoFindTest, AtMostOneHundredStepsAreKept) {
    Open();
    CDataItem message = List(kKindTextMessages).GetChildByIndex(0);
    for (int i = 1; i <= CProfileUndoStack::kMaxSteps + 5; ++i) {
        ASSERT_EQ(message.SetAttributeValue("txt", ScriptText("Step " + std::to_string(i))).result,
                  0);
        m_frame->MarkModified();
        EndTurn();
    }
    EXPECT_EQ(Stack().Count(), CProfileUndoStack::kMaxSteps);
    while (Stack().CanUndo()) {
        m_frame->Undo();
    }
    // The oldest five steps are gone, and with them the way back to the file as opened.
    EXPECT_EQ(Attr("//dfns:TextMessage", "txt"), "Step 5");
    EXPECT_TRUE(m_frame->Document().IsModified());
}

TEST_F(UndoFindTest, FindNarrowsTheTreeByNamePidOrFoldedText) {
    ProfilePieces pieces;
    pieces.privateGroups = PrivateGroupXml("Day Shift", "10001000");
    pieces.privates = PrivateXml("Ana Lima", "10000002") + PrivateXml("Bruno Costa", "10000347");
    pieces.texts =
        "<TextMessage txt=\"Call the office\"/>"
        "<TextMessage txt=\"Jos\xc3\xa9 at the caf\xc3\xa9\"/>";
    const auto path = m_config.Path() / "Find.lam";
    WriteFileBytes(path, MakeProfile(pieces));
    Open(path);
    CTreeFindBar* find = m_frame->FindBar();
    const struct {
        const char* typed;
        QStringList shown;
        QString count;
    } cases[] = {
        {"LIMA", {"Ana Lima"}, "1 found"},
        {"0347", {"Bruno Costa"}, "1 found"},
        {"jose at the cafe", {"Jos\u00e9 at the caf\u00e9"}, "1 found"},
        {"a",
         {"Ana Lima", "Bruno Costa", "Day Shift", "Call the office", "Jos\u00e9 at the caf\u00e9"},
         "5 found"},
        {"nobody", {}, "0 found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        m_frame->ActivateFind();
        QTest::keyClicks(find->Edit(), c.typed);
        EXPECT_EQ(VisibleMembers(), c.shown);
        EXPECT_EQ(find->CountLabel()->text(), c.count);
        // The selected root stays shown; the settings and list nodes do not.
        EXPECT_FALSE(Tree()->topLevelItem(0)->isHidden());
        EXPECT_TRUE(Node(kKindSettings)->isHidden());
        QTest::keyClick(find->Edit(), Qt::Key_Escape);
        EXPECT_TRUE(find->Text().isEmpty());
        EXPECT_FALSE(Node(kKindSettings)->isHidden());
        EXPECT_EQ(VisibleMembers().size(), 5);
    }
}

TEST_F(UndoFindTest, AFilteredItemCanBeEditedAndStaysSelected) {
    Open();
    m_frame->ActivateFind();
    QTest::keyClicks(m_frame->FindBar()->Edit(), "costa");
    ASSERT_EQ(VisibleMembers(), QStringList({"Bruno Costa"}));
    Click(Node(kKindPrivate, 1));
    RenameSelected("Bruce");
    EndTurn();
    EXPECT_EQ(Attr("//dfns:Private[@pid='10000003']", "name"), "Bruce");
    // No longer a match, but it is the selected node: it stays shown and selected.
    EXPECT_EQ(VisibleMembers(), QStringList({"Bruce"}));
    EXPECT_EQ(m_frame->FindBar()->CountLabel()->text(), "0 found");
    EXPECT_EQ(Tree()->currentItem(), Node(kKindPrivate, 1));
    m_frame->Undo();
    EXPECT_EQ(VisibleMembers(), QStringList({"Bruno Costa"}));
    EXPECT_EQ(Tree()->currentItem(), Node(kKindPrivate, 1));
    EXPECT_EQ(m_frame->FindBar()->CountLabel()->text(), "1 found");
}

}  // namespace
