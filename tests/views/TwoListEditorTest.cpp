#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "CTwoListEditor.h"
#include "MessageId.h"

namespace {

// An owner that moves every requested row across, except those it refuses.
class Owner {
  public:
    explicit Owner(CTwoListEditor& editor) : m_editor(editor) {
        QObject::connect(&editor, &CTwoListEditor::addRequested, [this](std::vector<int> indexes) {
            Move(indexes, m_available, m_members);
        });
        QObject::connect(
            &editor, &CTwoListEditor::removeRequested,
            [this](std::vector<int> indexes) { Move(indexes, m_members, m_available); });
    }
    void Load(std::vector<TwoListRow> available, std::vector<TwoListRow> members) {
        m_available = std::move(available);
        m_members = std::move(members);
        m_editor.SetRows(m_available, m_members);
    }
    std::vector<int> refused;
    std::vector<std::vector<int>> requests;

  private:
    void Move(const std::vector<int>& indexes, std::vector<TwoListRow>& from,
              std::vector<TwoListRow>& to) {
        requests.push_back(indexes);
        for (int index : indexes) {
            if (std::count(refused.begin(), refused.end(), index)) {
                continue;
            }
            auto it = std::find_if(from.begin(), from.end(),
                                   [index](const TwoListRow& r) { return r.index == index; });
            to.push_back(*it);
            from.erase(it);
        }
        m_editor.SetRows(m_available, m_members);
    }
    CTwoListEditor& m_editor;
    std::vector<TwoListRow> m_available;
    std::vector<TwoListRow> m_members;
};

std::vector<TwoListRow> Rows(std::initializer_list<const char*> names, int firstIndex) {
    std::vector<TwoListRow> rows;
    for (const char* name : names) {
        rows.push_back({firstIndex++, QString::fromUtf8(name), 6});
    }
    return rows;
}

QStringList Names(const QListView* list) {
    QStringList names;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
        names << list->model()->index(r, 0).data().toString();
    }
    return names;
}

QPoint RowCentre(const QListView* list, int row) {
    return list->visualRect(list->model()->index(row, 0)).center();
}

// As a mouse does it: the first click presses the row, the second comes as a double click.
void DoubleClick(QListView* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
}

class TwoListEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_editor.resize(500, 300);
        m_editor.show();
        m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
            m_editor.AvailableList()->model(),
            QAbstractItemModelTester::FailureReportingMode::Fatal));
        m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
            m_editor.MembersList()->model(),
            QAbstractItemModelTester::FailureReportingMode::Fatal));
    }
    CTwoListEditor m_editor{MessageId::kAvailableContacts, MessageId::kScrollListCaption};
    Owner m_owner{m_editor};
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
};

TEST_F(TwoListEditorTest, RowsSortIgnoringCaseAndCarryTheirGlobalIndex) {
    m_owner.Load(Rows({"delta", "Bravo", "alpha", "Charlie"}, 0), Rows({"zulu", "Echo"}, 10));
    EXPECT_EQ(Names(m_editor.AvailableList()), QStringList({"alpha", "Bravo", "Charlie", "delta"}));
    EXPECT_EQ(Names(m_editor.MembersList()), QStringList({"Echo", "zulu"}));
    const QModelIndex first = m_editor.MembersList()->model()->index(0, 0);
    EXPECT_EQ(first.data(CTwoListModel::kGlobalIndexRole).toInt(), 11);
}

TEST_F(TwoListEditorTest, LoadSelectsTheFirstSelectableRow) {
    const struct {
        std::vector<TwoListRow> available;
        std::vector<TwoListRow> members;
        std::vector<int> selectedAvailable;
        std::vector<int> selectedMembers;
    } cases[] = {
        {Rows({"b", "a"}, 0), Rows({"c"}, 5), {1}, {}},
        {{}, Rows({"d", "c"}, 5), {}, {6}},
        {{}, {}, {}, {}},
        // A greyed first row is skipped; an all-grey side hands the selection over.
        {{{0, "a", 10, false, "full"}, {1, "b", 10}}, {}, {1}, {}},
        {{{0, "a", 10, false, "full"}}, Rows({"c"}, 5), {}, {5}},
    };
    for (const auto& c : cases) {
        m_owner.Load(c.available, c.members);
        EXPECT_EQ(m_editor.SelectedAvailable(), c.selectedAvailable);
        EXPECT_EQ(m_editor.SelectedMembers(), c.selectedMembers);
        EXPECT_EQ(m_editor.AddButton()->isEnabled(), !c.selectedAvailable.empty());
        EXPECT_EQ(m_editor.RemoveButton()->isEnabled(), !c.selectedMembers.empty());
    }
}

TEST_F(TwoListEditorTest, GreyRowCannotBeSelectedAndExplainsItself) {
    m_owner.Load({{0, "a", 10, false, "No groups left"}, {1, "b", 10}}, {});
    QListView* list = m_editor.AvailableList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
    EXPECT_EQ(m_editor.SelectedAvailable(), std::vector<int>{1});
    DoubleClick(list, 0);
    EXPECT_TRUE(m_owner.requests.empty());
    EXPECT_EQ(list->model()->index(0, 0).data(Qt::ToolTipRole).toString(), "No groups left");
    EXPECT_EQ(list->model()->index(0, 0).data(Qt::StatusTipRole).toString(), "No groups left");
}

TEST_F(TwoListEditorTest, MoveSelectsTheRowAtTheLastMovedPosition) {
    const struct {
        std::vector<int> selectRows;  // rows of "a".."e" to select before Add
        std::vector<int> refused;
        std::vector<int> requested;
        std::vector<int> selectedAfter;
    } cases[] = {
        {{1}, {}, {1}, {2}},         // "b" moves, "c" takes its row
        {{1, 3}, {}, {1, 3}, {0}},   // row 3 is past the end of "a", "c", "e": the first row
        {{4}, {}, {4}, {0}},         // past the end: the first row
        {{1, 2}, {2}, {1, 2}, {2}},  // "c" refused: row 1 ("b") was the last to move
        {{2}, {2}, {2}, {2}},        // everything refused: the row stays selected
    };
    for (const auto& c : cases) {
        m_owner.refused = c.refused;
        m_owner.requests.clear();
        m_owner.Load(Rows({"a", "b", "c", "d", "e"}, 0), {});
        QItemSelectionModel* selection = m_editor.AvailableList()->selectionModel();
        selection->clearSelection();
        for (int row : c.selectRows) {
            selection->select(m_editor.AvailableList()->model()->index(row, 0),
                              QItemSelectionModel::Select);
        }
        m_editor.AddButton()->click();
        ASSERT_EQ(m_owner.requests.size(), 1u);
        EXPECT_EQ(m_owner.requests[0], c.requested);
        EXPECT_EQ(m_editor.SelectedAvailable(), c.selectedAfter);
        EXPECT_TRUE(m_editor.SelectedMembers().empty());
        EXPECT_FALSE(m_editor.RemoveButton()->isEnabled());
    }
}

TEST_F(TwoListEditorTest, EmptiedSourceHandsSelectionAndFocusToTheOtherList) {
    m_owner.Load(Rows({"b", "a"}, 0), Rows({"c"}, 5));
    m_editor.MembersList()->setFocus();
    QTest::keyClick(m_editor.MembersList(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_editor.MembersList(), Qt::Key_Return);
    EXPECT_EQ(m_owner.requests, std::vector<std::vector<int>>{{5}});
    EXPECT_EQ(Names(m_editor.AvailableList()), QStringList({"a", "b", "c"}));
    EXPECT_EQ(m_editor.SelectedAvailable(), std::vector<int>{1});
    EXPECT_EQ(m_editor.focusWidget(), m_editor.AvailableList());
    EXPECT_FALSE(m_editor.RemoveButton()->isEnabled());
    EXPECT_TRUE(m_editor.AddButton()->isEnabled());
}

TEST_F(TwoListEditorTest, DoubleClickAndEnterActLikeTheirButton) {
    m_owner.Load(Rows({"a", "b"}, 0), Rows({"c"}, 5));
    QListView* available = m_editor.AvailableList();
    DoubleClick(available, 1);
    available->setFocus();
    QTest::keyClick(available, Qt::Key_Enter);
    QListView* members = m_editor.MembersList();
    DoubleClick(members, 0);
    EXPECT_EQ(m_owner.requests, (std::vector<std::vector<int>>{{1}, {0}, {0}}));
    EXPECT_EQ(Names(members), QStringList({"b", "c"}));
}

TEST_F(TwoListEditorTest, EnterInEitherListMovesItsSelectedRows) {
    const struct {
        bool fromAvailable;
        Qt::Key key;
        QStringList available;
        QStringList members;
    } cases[] = {
        {true, Qt::Key_Return, {"b"}, {"a", "c", "d", "e", "f"}},
        {false, Qt::Key_Enter, {"a", "b", "c", "d", "f"}, {"e"}},
    };
    for (const auto& c : cases) {
        m_owner.Load(Rows({"a", "b", "c"}, 0), Rows({"d", "e", "f"}, 3));
        QListView* list = c.fromAvailable ? m_editor.AvailableList() : m_editor.MembersList();
        list->selectionModel()->clearSelection();
        for (int row : {0, 2}) {
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select);
        }
        list->setFocus();
        QTest::keyClick(list, c.key);
        EXPECT_EQ(Names(m_editor.AvailableList()), c.available);
        EXPECT_EQ(Names(m_editor.MembersList()), c.members);
    }
}

TEST_F(TwoListEditorTest, DisabledListsRefuseEverything) {
    m_owner.Load(Rows({"a"}, 0), Rows({"c"}, 5));
    m_editor.SetListsEnabled(false);
    m_editor.AvailableList()->setFocus();
    QTest::keyClick(m_editor.AvailableList(), Qt::Key_Return);
    EXPECT_TRUE(m_owner.requests.empty());
    EXPECT_FALSE(m_editor.AddButton()->isEnabled());
    EXPECT_TRUE(m_editor.SelectedAvailable().empty());
    m_editor.SetListsEnabled(true);
    EXPECT_EQ(m_editor.SelectedAvailable(), std::vector<int>{0});
}

}  // namespace
