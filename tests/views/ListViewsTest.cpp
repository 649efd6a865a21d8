#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <map>
#include <regex>

#include "CContactTable.h"
#include "CContactsView.h"
#include "CListsView.h"
#include "CPrivateGroupsView.h"
#include "CPrivatesView.h"
#include "CPublicGroupsView.h"
#include "CScanChannelView.h"
#include "CScanListView.h"
#include "CScrollListView.h"
#include "CTwoListModel.h"
#include "FrameFixture.h"
#include "MessageId.h"
#include "StringTable.h"
#include "ViewIcons.h"
#include "XmlDom.h"

namespace {

std::string SampleText() {
    QFile file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml");
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

// Public groups on channel 1 after "Dispatch" (which is scanned): scanned ones first.
std::string ChannelOneGroups(int scanned, int unscanned) {
    std::string groups;
    for (int i = 0; i < scanned + unscanned; ++i) {
        const std::string name = (i < 9 ? "G0" : "G") + std::to_string(i + 1);
        groups += "<PublicGroup cntct_type=\"2\" name=\"" + name + "\" pid=\"" +
                  std::to_string(17179869170LL - i) + "\" channel=\"1\" in_scan_list=\"" +
                  (i < scanned ? "1" : "0") + "\" in_scroll_list=\"0\"/>";
    }
    return groups;
}

class ListViewsTest : public FrameFixture {
  protected:
    // Opens the sample with text replacements applied.
    void OpenEdited(const std::vector<std::pair<std::string, std::string>>& edits) {
        std::string text = SampleText();
        for (const auto& [from, to] : edits) {
            const auto at = text.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            text.replace(at, from.size(), to);
        }
        const auto path = m_config.Path() / "Edited.lam";
        std::ofstream(path) << text;
        Open(path);
    }
    void Show(int kind, int position = 0) {
        for (QTreeWidgetItem* item = Node(kind, position); item; item = item->parent()) {
            item->setExpanded(true);
        }
        Click(Node(kind, position));
        ASSERT_EQ(CQMVVLTTreeView::KindOf(Tree()->currentItem()), kind);
    }
    template <class W>
    W* Control(int id) {
        auto* widget = qobject_cast<W*>(m_frame->View()->Control(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    static QStringList Names(const QAbstractItemView* list) {
        QStringList names;
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            names << list->model()->index(r, 0).data().toString();
        }
        return names;
    }
    std::vector<std::string> Select(const std::string& query, const char* attribute) {
        std::vector<std::string> values;
        const CXPath xpath(m_frame->Document().Model().GetProfileDoc());
        for (xmlNode* node : xpath.SelectNodes(query)) {
            values.push_back(GetAttribute(node, attribute).value_or(""));
        }
        return values;
    }
    std::vector<std::string> ScanList(int channel) {
        return Select(
            "//dfns:PublicGroup[@channel=" + std::to_string(channel) + " and @in_scan_list=1]",
            "name");
    }
    void SelectAll(QListView* list) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    }
    std::string Formatted(int id, int value) {
        return CStringTable::Instance().Format(id, {std::to_string(value)});
    }
};

TEST_F(ListViewsTest, ScanListOfAChannelHoldsTenGroups) {
    const struct {
        int scanned;  // besides "Dispatch"
        int unscanned;
        int messageId;
        std::size_t scanListAfter;
        int availableAfter;
        bool availableSelected;
    } cases[] = {
        {8, 3, MessageId::kScanListLimit, 10, 2, true},
        {9, 2, MessageId::kChannelScanListFull, 10, 2, false},
    };
    for (const auto& c : cases) {
        OpenEdited(
            {{"<PublicGroups>", "<PublicGroups>" + ChannelOneGroups(c.scanned, c.unscanned)}});
        Show(kKindScanChannel, 0);
        auto* available = Control<QListView>(CScanChannelView::kAvailable);
        SelectAll(available);
        ASSERT_EQ(static_cast<int>(available->selectionModel()->selectedRows().size()),
                  c.unscanned);
        QTest::mouseClick(Control<QPushButton>(CScanChannelView::kAddMember), Qt::LeftButton);
        const std::string message = c.messageId == MessageId::kScanListLimit
                                        ? Formatted(c.messageId, 10)
                                        : LoadString(c.messageId);
        EXPECT_EQ(m_ui.Count(message), 1);
        EXPECT_EQ(m_ui.shown.size(), 1u);
        EXPECT_EQ(ScanList(1).size(), c.scanListAfter);
        EXPECT_EQ(available->model()->rowCount(), c.availableAfter);
        EXPECT_EQ(available->selectionModel()->hasSelection(), c.availableSelected);
        EXPECT_EQ(Node(kKindScanChannel, 0)->text(0).toStdString(),
                  CStringTable::Instance().Format(MessageId::kChannelCount, {"1", "10"}));
        m_ui.shown.clear();
        CloseFrame();
    }
}

TEST_F(ListViewsTest, RemovingTheLastScanMemberFocusesTheGroups) {
    Open();
    Show(kKindScanChannel, 0);
    auto* members = Control<QListView>(CScanChannelView::kMembers);
    SelectAll(members);
    QTest::keyClick(members, Qt::Key_Return);
    EXPECT_TRUE(ScanList(1).empty());
    EXPECT_EQ(Names(Control<QListView>(CScanChannelView::kAvailable)), QStringList({"Dispatch"}));
    EXPECT_EQ(m_frame->View()->focusWidget(), Control<QListView>(CScanChannelView::kAvailable));
    EXPECT_FALSE(Control<QPushButton>(CScanChannelView::kRemoveMember)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(CScanChannelView::kAddMember)->isEnabled());
    EXPECT_TRUE(m_frame->Document().IsModified());
    EXPECT_EQ(Node(kKindScanChannel, 0)->text(0).toStdString(),
              CStringTable::Instance().Format(MessageId::kChannelCount, {"1", "0"}));
}

TEST_F(ListViewsTest, ScrollListShowsEveryKindInNameOrderWithTheOwnRadioIcon) {
    // "Duty Manager" is the own radio's private.
    OpenEdited({{"name=\"Bruno Costa\"", "name=\"bruno costa\""},
                {"name=\"Night Shift\"", "name=\"ana night\""}});
    Show(kKindScrollList);
    auto* available = Control<QListView>(CScrollListView::kAvailable);
    EXPECT_EQ(Names(available), QStringList({"ana night", "bruno costa", "Carla Dias", "Day Shift",
                                             "Duty Manager", "Security"}));
    EXPECT_EQ(Names(Control<QListView>(CScrollListView::kMembers)),
              QStringList({"Ana Lima", "Dispatch", "Maintenance"}));
    const std::map<QString, int> images = {{"ana night", ViewIcons::kPrivateGroupImage},
                                           {"bruno costa", ViewIcons::kPrivateImage},
                                           {"Duty Manager", ViewIcons::kOwnRadioImage},
                                           {"Security", ViewIcons::kPublicGroupImage}};
    for (int r = 0; r < available->model()->rowCount(); ++r) {
        const QModelIndex index = available->model()->index(r, 0);
        const auto it = images.find(index.data().toString());
        if (it != images.end()) {
            EXPECT_EQ(index.data(Qt::DecorationRole).value<QIcon>().cacheKey(),
                      ViewIcons::ContactImage(it->second).cacheKey())
                << it->first.toStdString();
        }
    }
}

TEST_F(ListViewsTest, ChannelChangeMovesScanMembership) {
    Open();
    // What the public group view does when the user moves "Dispatch" to channel 3 and confirms.
    CDataItem dispatch = m_frame->Document()
                             .Model()
                             .GetRootItem()
                             .GetChildByName("Contacts")
                             .GetChildByName("PublicGroups")
                             .GetChildByIndex(0);
    ASSERT_NE(dispatch.SetAttributeValue("channel", std::int64_t{3}).result, 0);
    ASSERT_EQ(dispatch.SetAttributeValue("channel", std::int64_t{3}, 1).result, 0);
    m_frame->NotifyAllViews({NoticeAction::kRefresh, kKindPublicGroup, 0});
    EXPECT_EQ(Node(kKindScanChannel, 0)->text(0).toStdString(),
              CStringTable::Instance().Format(MessageId::kChannelCount, {"1", "0"}));
    Show(kKindScanChannel, 2);
    EXPECT_EQ(Names(Control<QListView>(CScanChannelView::kMembers)),
              QStringList({"Dispatch", "Security"}));
    Show(kKindLists);
    auto* grid = Control<QTableWidget>(CListsView::kScanGrid);
    EXPECT_EQ(grid->item(0, 0), nullptr);
    EXPECT_EQ(grid->item(0, 2)->text(), "Dispatch");
    EXPECT_EQ(grid->item(1, 2)->text(), "Security");
}

TEST_F(ListViewsTest, ListsOverviewShowsTheScanPartOnlyWithPublicScan) {
    for (const char* publicScan : {"1", "0"}) {
        OpenEdited(
            {{"public_scan_en=\"1\"", std::string("public_scan_en=\"") + publicScan + "\""}});
        Show(kKindLists);
        EXPECT_EQ(Names(Control<QListWidget>(CListsView::kScrollList)),
                  QStringList({"Dispatch", "Maintenance", "Ana Lima"}));
        const bool shown = publicScan[0] == '1';
        for (int id : {CListsView::kScanGrid, CListsView::kScanMode, CListsView::kScanHeading,
                       CListsView::kScanModeLabel}) {
            EXPECT_EQ(m_frame->View()->Control(id)->isVisible(), shown) << id;
        }
        if (shown) {
            auto* grid = Control<QTableWidget>(CListsView::kScanGrid);
            EXPECT_EQ(grid->columnCount(), 7);
            EXPECT_EQ(grid->rowCount(), 3);
            EXPECT_EQ(grid->horizontalHeaderItem(6)->text().toStdString(),
                      Formatted(MessageId::kChannelN, 7));
            EXPECT_EQ(grid->item(0, 0)->text(), "Dispatch");
            EXPECT_EQ(grid->item(0, 2)->text(), "Security");
            EXPECT_TRUE(Control<QCheckBox>(CListsView::kScanMode)->isChecked());
            EXPECT_FALSE(Control<QCheckBox>(CListsView::kScanMode)->isEnabled());
            // No heading is cut.
            for (int c = 0; c < grid->columnCount(); ++c) {
                EXPECT_GE(grid->columnWidth(c), grid->horizontalHeader()->sectionSizeHint(c)) << c;
            }
        }
        CloseFrame();
    }
}

TEST_F(ListViewsTest, AddButtonsFollowCanAddChild) {
    const struct {
        std::string from, to;
        bool publicGroups, privateGroups, privates;
    } cases[] = {
        {"max_num_of_public_grps=\"30\"", "max_num_of_public_grps=\"30\"", true, true, true},
        {"max_num_of_public_grps=\"30\"", "max_num_of_public_grps=\"3\"", false, true, true},
        {"max_num_of_contacts=\"150\"", "max_num_of_contacts=\"9\"", false, false, false},
    };
    for (const auto& c : cases) {
        OpenEdited({{c.from, c.to}});
        const struct {
            int kind;
            std::vector<int> buttons;
            bool enabled;
        } views[] = {
            {kKindPublicGroups, {CPublicGroupsView::kAdd}, c.publicGroups},
            {kKindPrivateGroups, {CPrivateGroupsView::kAdd}, c.privateGroups},
            {kKindPrivates, {CPrivatesView::kAdd, CPrivatesView::kAddWithScanner}, c.privates}};
        for (const auto& v : views) {
            Show(v.kind);
            for (int id : v.buttons) {
                EXPECT_EQ(Control<QPushButton>(id)->isEnabled(), v.enabled) << c.to << " " << id;
            }
        }
        CloseFrame();
    }
}

TEST_F(ListViewsTest, AddButtonAsksTheTreeToAdd) {
    Open();
    Show(kKindPublicGroups);
    const int before = Node(kKindPublicGroups)->childCount();
    QTest::mouseClick(Control<QPushButton>(CPublicGroupsView::kAdd), Qt::LeftButton);
    EXPECT_EQ(Node(kKindPublicGroups)->childCount(), before + 1);
    EXPECT_EQ(CQMVVLTTreeView::KindOf(Tree()->currentItem()), kKindPublicGroup);
}

TEST_F(ListViewsTest, ContactsViewCountsEachList) {
    Open();
    Show(kKindContacts);
    const auto count = [this](const char* element) {
        return QString::number(Select(std::string("//dfns:") + element, "name").size());
    };
    const QString limit = QString::fromStdString(Select("//dfns:limit", "max_num_of_contacts")[0]);
    const QString expected[] = {
        limit,
        QString::fromStdString(Select("//dfns:limit", "max_num_of_private_grps")[0]),
        QString::fromStdString(Select("//dfns:limit", "max_num_of_public_grps")[0]),
        limit,
        QString::number(Select("//dfns:*[@cntct_type]", "name").size()),
        count("PrivateGroup"),
        count("PublicGroup"),
        count("Private"),
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Control<QLineEdit>(CContactsView::kMaxContacts + i)->text(), expected[i]) << i;
        EXPECT_FALSE(m_frame->View()->Control(CContactsView::kFirstLabel + i)->isHidden());
    }
}

TEST_F(ListViewsTest, ListEditsSurviveSaveAndReopen) {
    Open();
    const auto snapshot = [this] {
        std::map<std::string, std::string> values;
        for (const char* attribute : {"in_scan_list", "in_scroll_list"}) {
            const auto names = Select("//dfns:*[@cntct_type]", "name");
            const auto flags = Select("//dfns:*[@cntct_type]", attribute);
            for (std::size_t i = 0; i < names.size(); ++i) {
                values[names[i] + "/" + attribute] = flags[i];
            }
        }
        values["scan_en"] = Select("//dfns:setting", "scan_en")[0];
        return values;
    };
    auto expected = snapshot();
    expected["Maintenance/in_scan_list"] = "1";
    expected["Bruno Costa/in_scroll_list"] = "1";
    expected["Dispatch/in_scroll_list"] = "0";
    expected["scan_en"] = "0";

    Show(kKindScanChannel, 1);
    QTest::mouseClick(Control<QPushButton>(CScanChannelView::kAddMember),
                      Qt::LeftButton);  // Maintenance, row 0
    Show(kKindScrollList);
    auto* available = Control<QListView>(CScrollListView::kAvailable);
    const int bruno = static_cast<int>(Names(available).indexOf("Bruno Costa"));
    QTest::mouseClick(available->viewport(), Qt::LeftButton, {},
                      available->visualRect(available->model()->index(bruno, 0)).center());
    QTest::keyClick(available, Qt::Key_Return);
    auto* members = Control<QListView>(CScrollListView::kMembers);
    const int dispatch = static_cast<int>(Names(members).indexOf("Dispatch"));
    QTest::mouseClick(members->viewport(), Qt::LeftButton, {},
                      members->visualRect(members->model()->index(dispatch, 0)).center());
    QTest::mouseClick(Control<QPushButton>(CScrollListView::kRemoveMember), Qt::LeftButton);
    Show(kKindScanList);
    QTest::mouseClick(Control<QCheckBox>(CScanListView::kScanMode), Qt::LeftButton);

    ASSERT_TRUE(m_frame->Document().Save());
    CloseFrame();
    Open();
    EXPECT_EQ(snapshot(), expected);
    EXPECT_TRUE(m_ui.shown.empty());
}

}  // namespace
