#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <algorithm>

#include "CPrivateGroupView.h"
#include "CPrivateView.h"
#include "CPublicGroupView.h"
#include "CTwoListEditor.h"
#include "ExpectSoon.h"
#include "FrameFixture.h"
#include "FullProfile.h"
#include "MessageId.h"
#include "ViewIcons.h"
#include "XmlDom.h"

namespace {

class ContactViewsTest : public FrameFixture {
  protected:
    // Opens a profile (the sample unless given) and shows the contact of kind at position.
    template <class View>
    View* Show(int kind, int position, const std::filesystem::path& profile = {}) {
        if (!m_frame) {
            profile.empty() ? Open() : Open(profile);
            // Focus moves (and so commits) only within the active window.
            m_frame->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(m_frame));
        }
        Click(Node(kind, position));
        auto* view = qobject_cast<View*>(m_frame->View());
        EXPECT_NE(view, nullptr);
        return view;
    }
    std::filesystem::path WriteProfile(const std::string& text, const char* name = "Test.lam") {
        const auto path = m_config.Path() / name;
        WriteFileBytes(path, text);
        return path;
    }
    std::string SampleText() const { return ReadFileBytes(m_profile); }
    std::string Stored(const std::string& xpath, const char* attribute) const {
        const CXPath query(m_frame->Document().Model().GetProfileDoc());
        const auto nodes = query.SelectNodes(xpath);
        return nodes.empty() ? "<none>" : GetAttribute(nodes.front(), attribute).value_or("");
    }
    static QStringList Entries(const QComboBox* combo) {
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i) {
            entries << combo->itemText(i);
        }
        return entries;
    }
    // Chooses an entry the way a user does: open the list, go to the entry, press Enter.
    static void Choose(QComboBox* combo, int index) {
        combo->setFocus();
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->model()->index(index, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QApplication::processEvents();
    }
    static void Retype(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
};

TEST_F(ContactViewsTest, IdentifierListMarksOnlyOtherGroupsNumbers) {
    // Dispatch, Maintenance and Security hold numbers 1, 2 and 3 of the sample's bank.
    const struct {
        int position;
        QStringList firstFour;
        QString current;
    } cases[] = {
        {0, {"   1", "x  2", "x  3", "   4"}, "   1"},
        {1, {"x  1", "   2", "x  3", "   4"}, "   2"},
        {2, {"x  1", "x  2", "   3", "   4"}, "   3"},
    };
    for (const auto& c : cases) {
        auto* view = Show<CPublicGroupView>(kKindPublicGroup, c.position);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->IdList()->count(), 100);
        EXPECT_EQ(Entries(view->IdList()).mid(0, 4), c.firstFour);
        EXPECT_EQ(view->IdList()->currentText(), c.current);
    }
}

TEST_F(ContactViewsTest, TakenIdentifierIsRefusedAndReselected) {
    auto* view = Show<CPublicGroupView>(kKindPublicGroup, 1);
    Choose(view->IdList(), 0);
    EXPECT_TRUE(m_ui.Showed(132));
    EXPECT_EQ(view->IdList()->currentText(), "   2");
    Choose(view->IdList(), 9);
    EXPECT_EQ(Stored("//dfns:PublicGroup[@name='Maintenance']", "pid"), "17179869174");
    EXPECT_TRUE(m_frame->Document().IsModified());
}

TEST_F(ContactViewsTest, OverlappingBanksAreReportedOnceEach) {
    std::string text = SampleText();
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"public_grp_info_start_pid1=\"0\"",
                                              "public_grp_info_start_pid1=\"17179869173\""},
          {"public_grp_info_lst_size1=\"0\"", "public_grp_info_lst_size1=\"20\""}}) {
        text.replace(text.find(from), from.size(), to);
    }
    auto* view = Show<CPublicGroupView>(kKindPublicGroup, 0, WriteProfile(text));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(m_ui.Count(LoadString(MessageId::kDuplicatePublicGroupId)), 1);
    EXPECT_EQ(m_ui.Count(LoadString(MessageId::kBankInformationIncorrect)), 1);
    EXPECT_EQ(view->IdList()->count(), 120);
}

TEST_F(ContactViewsTest, PublicGroupChannelChangeAsksWithBothChannels) {
    const std::string question =
        "Changing the channel will remove this public group from channel 1's scan list and add it "
        "to channel 2's scan list. Do you want to continue?";
    const struct {
        int answer;
        const char* channel;
        QString scanLabel;
    } cases[] = {
        {MessageStyle::kIdCancel, "1", "Channel 1 (1)"},
        {MessageStyle::kIdOk, "2", "Channel 1 (0)"},
    };
    for (const auto& c : cases) {
        auto* view = Show<CPublicGroupView>(kKindPublicGroup, 0);
        m_ui.answers = {c.answer};
        Choose(view->ChannelList(), 1);
        EXPECT_EQ(m_ui.Count(question), 1);
        EXPECT_EQ(Stored("//dfns:PublicGroup[@name='Dispatch']", "channel"), c.channel);
        EXPECT_EQ(view->ChannelList()->currentIndex(), std::atoi(c.channel) - 1);
        EXPECT_EQ(Node(kKindScanChannel, 0)->text(0), c.scanLabel);
        CloseFrame();
        m_ui.shown.clear();
    }
}

TEST_F(ContactViewsTest, EmptyNameThenDeleteButtonDeletesWithoutComplaint) {
    auto* view = Show<CPublicGroupView>(kKindPublicGroup, 2);
    Retype(view->NameBox(), "");
    QTest::mouseClick(qobject_cast<QPushButton*>(view->Control(1118)), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(m_ui.Showed(MessageId::kNameFieldEmpty));
    EXPECT_EQ(Stored("//dfns:PublicGroup[@name='Security']", "pid"), "<none>");
    EXPECT_EQ(Node(kKindPublicGroups)->childCount(), 2);
}

TEST_F(ContactViewsTest, EmptyNameInsideTheViewIsRefusedWith10055) {
    auto* view = Show<CPublicGroupView>(kKindPublicGroup, 2);
    Retype(view->NameBox(), "");
    view->ChannelList()->setFocus();
    EXPECT_TRUE(m_ui.Showed(MessageId::kNameFieldEmpty));
    EXPECT_SOON(view->NameBox()->hasFocus());
    EXPECT_EQ(Stored("//dfns:PublicGroup[@pid='17179869181']", "name"), "Security");
}

TEST_F(ContactViewsTest, LeavingACompleteContactPutsBackWhatTheRulesRefuse) {
    const struct {
        int kind;
        int position;
        bool idBox;
        QString typed;
        int message;
        std::string xpath;
        const char* attribute;
        QString stored;
    } cases[] = {
        {kKindPublicGroup, 1, false, "ana lima", 127, "//dfns:PublicGroup[@pid='17179869182']",
         "name", "Maintenance"},
        {kKindPublicGroup, 2, false, "", MessageId::kNameFieldEmpty,
         "//dfns:PublicGroup[@pid='17179869181']", "name", "Security"},
        {kKindPrivateGroup, 0, false, "NIGHT SHIFT", 127, "//dfns:PrivateGroup[@pid='10001000']",
         "name", "Day Shift"},
        {kKindPrivate, 1, false, "Dispatch", 127, "//dfns:Private[@pid='10000003']", "name",
         "Bruno Costa"},
        {kKindPrivate, 1, true, "10000002", 132, "//dfns:Private[@name='Bruno Costa']", "pid",
         "10000003"},
        {kKindPrivate, 1, true, "", MessageId::kIdFieldEmpty, "//dfns:Private[@name='Bruno Costa']",
         "pid", "10000003"},
    };
    for (const auto& c : cases) {
        // Leaving through the tree, and the check a save or a radio command runs first.
        for (const bool throughTree : {true, false}) {
            const std::string label = c.typed.toStdString() + (throughTree ? " (tree)" : "");
            Open();
            m_frame->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
            const int before = Node(c.kind - 3)->childCount();
            Click(Node(c.kind, c.position));
            auto* view = qobject_cast<CContactEditView*>(m_frame->View());
            ASSERT_NE(view, nullptr);
            QLineEdit* box = c.idBox ? static_cast<CPrivateView*>(view)->IdBox() : view->NameBox();
            Retype(box, c.typed);
            if (throughTree) {
                Click(Node(kKindContacts));
                EXPECT_EQ(m_frame->Current().kind, kKindContacts) << label;
            } else {
                EXPECT_EQ(m_frame->ValidateView(), 1) << label;
                EXPECT_EQ(box->text(), c.stored) << label;
            }
            EXPECT_EQ(m_ui.shown, std::vector<std::string>{LoadString(c.message)}) << label;
            EXPECT_EQ(Node(c.kind - 3)->childCount(), before) << label;
            EXPECT_EQ(Stored(c.xpath, c.attribute), c.stored.toStdString()) << label;
            CloseFrame();
            m_ui.shown.clear();
        }
    }
}

TEST_F(ContactViewsTest, LeavingAnIncompleteContactOffersToDeleteIt) {
    // Bruno Costa has no identifier yet.
    std::string text = SampleText();
    const std::string from = "name=\"Bruno Costa\" pid=\"10000003\"";
    ASSERT_NE(text.find(from), std::string::npos);
    text.replace(text.find(from), from.size(), "name=\"Bruno Costa\" pid=\"\"");
    const auto path = WriteProfile(text);
    const std::string nameLine = LoadString(MessageId::kFaultName);
    const std::string idLine = LoadString(MessageId::kFaultId);
    const std::string membersLine = LoadString(MessageId::kFaultGroupMembers);
    const struct {
        int kind;
        bool added;  // a new contact, else the private without identifier
        QString name;
        std::string lines;
        int answer;
    } cases[] = {
        {kKindPrivate, false, "Bruno Costa", idLine, MessageStyle::kIdCancel},
        {kKindPrivate, false, "", nameLine + idLine, MessageStyle::kIdOk},
        {kKindPrivateGroup, true, "Group 1", membersLine, MessageStyle::kIdOk},
        {kKindPrivateGroup, true, "ana lima", nameLine + membersLine, MessageStyle::kIdOk},
    };
    for (const auto& c : cases) {
        Open(path);
        m_frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
        QTreeWidgetItem* list = Node(c.kind - 3);
        const int before = list->childCount();
        if (c.added) {
            static_cast<CQMVVLTTreeView*>(Tree())->AddNewItem(c.kind - 3);
        } else {
            Click(Node(c.kind, 1));
        }
        auto* view = qobject_cast<CContactEditView*>(m_frame->View());
        ASSERT_NE(view, nullptr);
        if (view->NameBox()->text() != c.name) {
            Retype(view->NameBox(), c.name);
        }
        m_ui.answers = {c.answer};
        Click(Node(kKindContacts));
        const std::string expected =
            CStringTable::Instance().Format(MessageId::kFieldsIncorrectlySpecified, {c.lines});
        EXPECT_EQ(m_ui.shown, std::vector<std::string>{expected}) << c.lines;
        const bool deleted = c.answer == MessageStyle::kIdOk;
        EXPECT_EQ(list->childCount(), deleted ? before - (c.added ? 0 : 1) : before);
        EXPECT_EQ(m_frame->Current().kind, deleted ? kKindContacts : c.kind);
        if (!deleted) {
            EXPECT_SOON(static_cast<CPrivateView*>(view)->IdBox()->hasFocus());
        }
        CloseFrame();
        m_ui.shown.clear();
    }
}

TEST_F(ContactViewsTest, RenameInTheViewRelabelsTreeAndCaption) {
    auto* view = Show<CPublicGroupView>(kKindPublicGroup, 1);
    Retype(view->NameBox(), "Works");
    view->ChannelList()->setFocus();
    EXPECT_EQ(Stored("//dfns:PublicGroup[@pid='17179869182']", "name"), "Works");
    EXPECT_EQ(Node(kKindPublicGroup, 1)->text(0), "Works");
    EXPECT_EQ(view->Caption()->text(), "Works");
    // A name another contact has (in any letter case) is refused and stays in the box.
    Retype(view->NameBox(), "ana lima");
    view->ChannelList()->setFocus();
    EXPECT_TRUE(m_ui.Showed(127));
    EXPECT_EQ(Stored("//dfns:PublicGroup[@pid='17179869182']", "name"), "Works");
    EXPECT_SOON(view->NameBox()->hasFocus());
}

TEST(PrivateIdFilter, DigitsOnlyNoLeadingZeroNeverAboveTheEnd) {
    const QString start = "10000001";
    const QString end = "17179867883";
    const struct {
        QString typed;
        int caret;
        std::optional<QString> result;
        int removedBeforeCaret;
    } cases[] = {
        {"0", 1, QString(), 1},
        {"007", 3, QString("7"), 2},
        {"1a2b", 3, QString("12"), 1},
        {"17179867883", 11, QString("17179867883"), 0},
        {"17179867884", 11, std::nullopt, 0},
        {"99999999999", 11, std::nullopt, 0},
        {"10000000", 8, QString("10000000"), 0},
    };
    for (const auto& c : cases) {
        int removed = -1;
        EXPECT_EQ(CPrivateView::FilterId(c.typed, c.caret, start, end, removed), c.result)
            << c.typed.toStdString();
        if (c.result) {
            EXPECT_EQ(removed, c.removedBeforeCaret) << c.typed.toStdString();
        }
    }
}

TEST_F(ContactViewsTest, IdentifierBoxFiltersWhatIsTyped) {
    auto* view = Show<CPrivateView>(kKindPrivate, 1);
    QLineEdit* id = view->IdBox();
    EXPECT_EQ(id->maxLength(), 11);
    const struct {
        QString keys;
        QString shown;
    } cases[] = {
        {"0", ""},
        {"0a1b2", "12"},
        {"1717986788", "1717986788"},
    };
    for (const auto& c : cases) {
        Retype(id, c.keys);
        EXPECT_EQ(id->text(), c.shown) << c.keys.toStdString();
    }
    // One digit more would pass 17179867883: it cannot be typed.
    QTest::keyClicks(id, "4");
    EXPECT_EQ(id->text(), "1717986788");
    QTest::keyClicks(id, "3");
    EXPECT_EQ(id->text(), "17179867883");
}

TEST_F(ContactViewsTest, IdentifierRangeBoundsCompareAsNumbers) {
    const struct {
        const char* start;
        bool dataError;
    } cases[] = {
        {"9000000", false},  // fewer digits than the end, larger first digit
        {"17179867884", true},
    };
    for (const auto& c : cases) {
        std::string text = SampleText();
        const std::string from = "valid_PID_start=\"10000001\"";
        ASSERT_NE(text.find(from), std::string::npos);
        text.replace(text.find(from), from.size(),
                     std::string("valid_PID_start=\"") + c.start + "\"");
        auto* view = Show<CPrivateView>(kKindPrivate, 1, WriteProfile(text));
        ASSERT_NE(view, nullptr);
        // The window may go away with its tree.
        m_tester.reset();
        Retype(view->IdBox(), "10000009");
        // The typed ID left the profile modified: the error also names where its changes went.
        const std::string error = LoadString(MessageId::kProfileDataError);
        const bool reported =
            std::any_of(m_ui.shown.begin(), m_ui.shown.end(),
                        [&](const std::string& s) { return s.starts_with(error); });
        EXPECT_EQ(reported, c.dataError) << c.start;
        if (c.dataError) {
            EXPECT_SOON(m_frame.isNull());
        } else {
            EXPECT_EQ(view->IdBox()->text(), "10000009");
        }
        CloseFrame();
        m_ui.shown.clear();
    }
}

TEST_F(ContactViewsTest, HomeGroupListHoldsTheChannelsGroupsInNameOrder) {
    ProfilePieces pieces;
    pieces.publicGroups = PublicGroupXml("zulu", "17179869183", 1) +
                          PublicGroupXml("Echo", "17179869182", 2) +
                          PublicGroupXml("Alpha", "17179869181", 1);
    pieces.privateGroups =
        PrivateGroupXml("\xC9quipe", "10000100", 1) + PrivateGroupXml("bravo", "10000101", 1);
    pieces.privates = PrivateXml("One", "10000002", "", " home_grp=\"10000101\"") +
                      PrivateXml("Two", "10000003", "", " channel=\"3\"");
    const auto path = WriteProfile(MakeProfile(pieces));
    const struct {
        int position;
        QStringList entries;
        QString current;
    } cases[] = {
        {0, {"None", "Alpha", "bravo", "\u00C9quipe", "zulu"}, "bravo"},
        {1, {"None"}, "None"},
    };
    for (const auto& c : cases) {
        auto* view = Show<CPrivateView>(kKindPrivate, c.position, path);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(Entries(view->HomeGroupList()), c.entries);
        EXPECT_EQ(view->HomeGroupList()->currentText(), c.current);
    }
}

TEST_F(ContactViewsTest, HomeGroupOnAnotherChannelClosesTheProfileUnsaved) {
    // The duty manager (channel 4) is moved to channel 1, away from the night shift, its home.
    std::string text = SampleText();
    const std::string from = "name=\"Duty Manager\" pid=\"10000005\" channel=\"4\"";
    ASSERT_NE(text.find(from), std::string::npos);
    text.replace(text.find(from), from.size(),
                 "name=\"Duty Manager\" pid=\"10000005\" channel=\"1\"");
    Open(WriteProfile(text));
    m_frame->MarkModified();
    // The window goes away with its tree.
    m_tester.reset();
    Click(Node(kKindPrivate, 3));
    // Marked modified: what it holds is kept first, in the file the message names.
    std::error_code ec;
    const std::filesystem::directory_iterator kept(Utility::UserDataFolder() / "recovered", ec);
    ASSERT_NE(kept, std::filesystem::directory_iterator());
    EXPECT_TRUE(m_ui.Showed(MessageId::kProfileDataErrorKeptIn, kept->path().string()));
    EXPECT_SOON(m_frame.isNull());
    EXPECT_EQ(m_maybeSaveCalls, 0);
}

TEST_F(ContactViewsTest, EveryNodeOfTheSampleOpensWithoutComplaint) {
    Open();
    std::vector<QTreeWidgetItem*> nodes;
    for (QTreeWidgetItemIterator it(Tree()); *it; ++it) {
        nodes.push_back(*it);
    }
    ASSERT_GT(nodes.size(), 20u);
    for (QTreeWidgetItem* node : nodes) {
        const QString label = node->text(0);
        Click(node);
        ASSERT_FALSE(m_frame.isNull()) << label.toStdString();
        EXPECT_EQ(m_frame->Current().kind, CQMVVLTTreeView::KindOf(node)) << label.toStdString();
        EXPECT_EQ(m_ui.shown, std::vector<std::string>{}) << label.toStdString();
    }
    EXPECT_FALSE(m_frame->Document().IsModified());
}

TEST_F(ContactViewsTest, PrivateFieldsAreStored) {
    auto* view = Show<CPrivateView>(kKindPrivate, 0);
    Choose(view->RingerList(), 6);
    Choose(view->HomeGroupList(), 0);
    QTest::mouseClick(view->GroupOnlyBox(), Qt::LeftButton);
    const std::string private_ = "//dfns:Private[@name='Ana Lima']";
    EXPECT_EQ(Stored(private_, "alert_tone"), "7");
    EXPECT_EQ(Stored(private_, "home_grp"), "");
    EXPECT_EQ(Stored(private_, "show_grp_only"), "1");
    EXPECT_TRUE(view->GroupOnlyBox()->isChecked());
}

TEST_F(ContactViewsTest, PrivateChannelChangeAsks137AndRefreshesTheHomeGroups) {
    auto* view = Show<CPrivateView>(kKindPrivate, 0);
    m_ui.answers = {MessageStyle::kIdOk};
    Choose(view->ChannelList(), 3);
    EXPECT_TRUE(m_ui.Showed(137));
    const std::string private_ = "//dfns:Private[@name='Ana Lima']";
    EXPECT_EQ(Stored(private_, "channel"), "4");
    EXPECT_EQ(Stored(private_, "home_grp"), "");
    EXPECT_EQ(Entries(view->HomeGroupList()), QStringList({"None", "Night Shift"}));
}

TEST_F(ContactViewsTest, CapturedIdGoesIntoTheBoxAndCommitsOnLeaving) {
    const struct {
        std::optional<std::string> captured;
        std::string stored;
    } cases[] = {
        {std::nullopt, "10000003"},
        {"10000777", "10000777"},
    };
    for (const auto& c : cases) {
        auto* view = Show<CPrivateView>(kKindPrivate, 1);
        m_ui.readPid = c.captured;
        QTest::mouseClick(view->ReadIdButton(), Qt::LeftButton);
        EXPECT_EQ(m_ui.readPidRuns, 1);
        EXPECT_EQ(view->IdBox()->text(), QString::fromStdString(c.stored));
        view->RingerList()->setFocus();
        EXPECT_EQ(Stored("//dfns:Private[@name='Bruno Costa']", "pid"), c.stored);
        CloseFrame();
        m_ui.readPidRuns = 0;
    }
}

TEST_F(ContactViewsTest, ScannerAddsOnePrivatePerScannedCode) {
    Open();
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    auto* tree = static_cast<CQMVVLTTreeView*>(Tree());
    tree->ScanAdd();
    const QStringList codes = {"10000201", "10000202", "10000203"};
    for (const QString& code : codes) {
        EXPECT_SOON(qobject_cast<CPrivateView*>(m_frame->View()) &&
                    static_cast<CPrivateView*>(m_frame->View())->IdBox()->hasFocus());
        auto* view = static_cast<CPrivateView*>(m_frame->View());
        EXPECT_TRUE(view->ScannerMode());
        QTest::keyClicks(view->IdBox(), code);
        QTest::keyClick(view->IdBox(), Qt::Key_Return);
    }
    EXPECT_SOON((Node(kKindPrivates)->childCount()) == (8));
    for (const QString& code : codes) {
        EXPECT_NE(Stored("//dfns:Private[@pid='" + code.toStdString() + "']", "name"), "<none>");
    }
}

TEST_F(ContactViewsTest, EditsSurviveSaveAndReopen) {
    auto* group = Show<CPublicGroupView>(kKindPublicGroup, 1);
    Retype(group->NameBox(), "Works");
    Choose(group->IdList(), 9);
    auto* private_ = Show<CPrivateView>(kKindPrivate, 1);
    Choose(private_->RingerList(), 11);
    Retype(private_->IdBox(), "10000444");
    Click(Node(kKindContacts));
    ASSERT_TRUE(m_frame->Document().Save());
    const std::string saved = ReadFileBytes(m_profile);
    CloseFrame();
    Open();
    EXPECT_EQ(Stored("//dfns:PublicGroup[@name='Works']", "pid"), "17179869174");
    EXPECT_EQ(Stored("//dfns:Private[@name='Bruno Costa']", "pid"), "10000444");
    EXPECT_EQ(Stored("//dfns:Private[@name='Bruno Costa']", "alert_tone"), "12");
    // Reopening and saving again changes nothing.
    ASSERT_TRUE(m_frame->Document().Save());
    EXPECT_EQ(ReadFileBytes(m_profile), saved);
}

}  // namespace

namespace {

// Private groups G0..G5 on channel 1 and Far on channel 2; Full belongs to G1..G5, Four to G1..G4,
// Member only to G0, and Crowded (channel 2) to five groups. The own radio is Member.
std::string GroupProfile() {
    auto groups = [](int first, int last) {
        std::string inner = "<ParentPrivateGroups>";
        for (int g = first; g <= last; ++g) {
            inner += "<ParentPrivateGroup pid=\"1000010" + std::to_string(g) + "\"/>";
        }
        return inner + "</ParentPrivateGroups><scrolllist/>";
    };
    ProfilePieces pieces;
    pieces.pid = "10000003";
    for (int g = 0; g <= 5; ++g) {
        pieces.privateGroups +=
            PrivateGroupXml("G" + std::to_string(g), "1000010" + std::to_string(g), 1);
    }
    pieces.privateGroups += PrivateGroupXml("Far", "10000109", 2);
    pieces.privates = PrivateXml("Full", "10000001", groups(1, 5), " id_in_use=\"1\"") +
                      PrivateXml("Four", "10000002", groups(1, 4), " id_in_use=\"1\"") +
                      PrivateXml("Member", "10000003", groups(0, 0), " id_in_use=\"1\"") +
                      PrivateXml("Crowded", "10000004", groups(1, 5), " channel=\"2\"");
    return MakeProfile(pieces);
}

QStringList Rows(const QListView* list) {
    QStringList rows;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
        rows << list->model()->index(r, 0).data().toString();
    }
    return rows;
}

void ClickRow(QListView* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

TEST_F(ContactViewsTest, PrivateInFiveGroupsIsGreyAndCannotBeChosen) {
    auto* view = Show<CPrivateGroupView>(kKindPrivateGroup, 1, WriteProfile(GroupProfile()));
    ASSERT_NE(view, nullptr);
    QListView* available = view->Members()->AvailableList();
    EXPECT_EQ(Rows(available), QStringList({"Four (1 Group(s) Left)", "Full (0 Group(s) Left)"}));
    EXPECT_EQ(Rows(view->Members()->MembersList()), QStringList({"Member"}));
    const QString full = QString::fromStdString(LoadString(MessageId::kFivePrivateGroupsAlready));
    EXPECT_EQ(available->model()->index(1, 0).data(Qt::ToolTipRole).toString(), full);
    QSignalSpy status(m_frame.data(), &CChildFrame::statusTextChanged);
    ClickRow(available, 1);
    EXPECT_TRUE(view->Members()->SelectedAvailable().empty());
    EXPECT_FALSE(view->Members()->AddButton()->isEnabled());
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.last().at(0).toString(), full);
    ClickRow(available, 0);
    EXPECT_TRUE(view->Members()->AddButton()->isEnabled());
    EXPECT_EQ(status.last().at(0).toString(),
              QString::fromStdString(LoadString(MessageId::kReady)));
}

TEST_F(ContactViewsTest, MemberListsTakeTheHeightTheWindowGives) {
    auto* view = Show<CPrivateGroupView>(kKindPrivateGroup, 1, WriteProfile(GroupProfile()));
    ASSERT_NE(view, nullptr);
    QListView* members = view->Members()->MembersList();
    EXPECT_SOON(members->height() > 0);
    const int before = members->height();
    m_frame->resize(m_frame->width(), m_frame->height() + 300);
    // Nearly all of the extra height reaches the lists, not the space below the form.
    EXPECT_SOON(members->height() >= before + 250);
}

TEST_F(ContactViewsTest, PrivateWithFourGroupsJoinsAndLeaves) {
    auto* view = Show<CPrivateGroupView>(kKindPrivateGroup, 1, WriteProfile(GroupProfile()));
    ASSERT_NE(view, nullptr);
    const std::string g0 =
        "//dfns:Private[@name='Four']/dfns:ParentPrivateGroups/"
        "dfns:ParentPrivateGroup[@pid='10000100']";
    ClickRow(view->Members()->AvailableList(), 0);
    QTest::mouseClick(view->Members()->AddButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(view->Members()->MembersList()), QStringList({"Four", "Member"}));
    EXPECT_EQ(Stored(g0, "pid"), "10000100");
    ClickRow(view->Members()->MembersList(), 0);
    QTest::mouseClick(view->Members()->RemoveButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(view->Members()->AvailableList()),
              QStringList({"Four (1 Group(s) Left)", "Full (0 Group(s) Left)"}));
    EXPECT_EQ(Stored(g0, "pid"), "<none>");
    EXPECT_TRUE(m_frame->Document().IsModified());
}

TEST_F(ContactViewsTest, GroupChannelWithoutAvailablePrivatesIsRefusedUnasked) {
    // Channel 2 holds only a private in five groups, channel 3 none at all.
    for (const int channelIndex : {1, 2}) {
        auto* view = Show<CPrivateGroupView>(kKindPrivateGroup, 1, WriteProfile(GroupProfile()));
        ASSERT_NE(view, nullptr);
        Choose(view->ChannelList(), channelIndex);
        EXPECT_EQ(m_ui.shown,
                  std::vector<std::string>{LoadString(MessageId::kNoPrivatesOnNewChannel)});
        EXPECT_EQ(view->ChannelList()->currentIndex(), 0);
        EXPECT_EQ(Stored("//dfns:PrivateGroup[@name='G0']", "channel"), "1");
        CloseFrame();
        m_ui.shown.clear();
    }
}

TEST_F(ContactViewsTest, GroupLeftWithoutMembersIsOfferedForDeletion) {
    auto* view = Show<CPrivateGroupView>(kKindPrivateGroup, 1, WriteProfile(GroupProfile()));
    ASSERT_NE(view, nullptr);
    ClickRow(view->Members()->MembersList(), 0);
    QTest::mouseClick(view->Members()->RemoveButton(), Qt::LeftButton);
    m_ui.answers = {MessageStyle::kIdCancel};
    Click(Node(kKindContacts));
    EXPECT_EQ(m_ui.shown.back(),
              CStringTable::Instance().Format(MessageId::kFieldsIncorrectlySpecified,
                                              {LoadString(MessageId::kFaultGroupMembers)}));
    EXPECT_EQ(m_frame->Current().kind, kKindPrivateGroup);
    EXPECT_SOON(view->Members()->MembersList()->hasFocus());
}

TEST_F(ContactViewsTest, PrivateScrollListEditsTheListAndShowsTheOwnRadio) {
    auto* view = Show<CPrivateView>(kKindPrivate, 3, WriteProfile(GroupProfile()));
    ASSERT_NE(view, nullptr);
    CTwoListEditor* editor = view->ScrollList();
    EXPECT_FALSE(editor->AvailableList()->isEnabled());
    QTest::mouseClick(view->ScrollListBox(), Qt::LeftButton);
    EXPECT_EQ(Stored("//dfns:Private[@name='Member']", "private_scroll_list"), "1");
    ASSERT_TRUE(editor->AvailableList()->isEnabled());
    const auto& rows = editor->AvailableModel().Rows();
    const auto own = std::find_if(rows.begin(), rows.end(),
                                  [](const TwoListRow& row) { return row.name == "Member"; });
    ASSERT_NE(own, rows.end());
    EXPECT_EQ(own->icon, ViewIcons::kOwnRadioImage);
    ClickRow(editor->AvailableList(), 0);
    QTest::mouseClick(editor->AddButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(editor->MembersList()), QStringList({"Crowded"}));
    EXPECT_EQ(Stored("//dfns:Private[@name='Member']/dfns:scrolllist/dfns:list", "name"),
              "Crowded");
    // A rename carries the entry along and the editor shows the new name.
    auto* crowded = Show<CPrivateView>(kKindPrivate, 0);
    Retype(crowded->NameBox(), "Busy");
    crowded->ChannelList()->setFocus();
    view = Show<CPrivateView>(kKindPrivate, 3);
    EXPECT_EQ(Rows(view->ScrollList()->MembersList()), QStringList({"Busy"}));
}
