#include "CPrivateGroupView.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>

#include "CTwoListEditor.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {

constexpr CContactEditView::Ids kIds{
    CPrivateGroupView::kCaption,      CPrivateGroupView::kNameLabel,
    CPrivateGroupView::kChannelLabel, CPrivateGroupView::kIdLabel,
    CPrivateGroupView::kName,         CPrivateGroupView::kChannel,
    CPrivateGroupView::kAddLabel,     CPrivateGroupView::kAdd,
    MessageId::kAddPrivateGroup,      CPrivateGroupView::kDeleteLabel,
    CPrivateGroupView::kDelete};

std::string AttributeText(const CDataItem& item, const char* name) {
    return ScriptToText(item.GetAttributeValue(name));
}

}  // namespace

CPrivateGroupView::CPrivateGroupView(IViewHost& host, QWidget* parent)
    : CContactEditView(host, kKindPrivateGroup, "PrivateGroups", "CPrivateGroupView",
                       "PrivateGroupX", kIds, parent) {
    m_id = Register(kId, new QComboBox(this));
    AddRow(IdLabel(), m_id);
    m_members =
        new CTwoListEditor(MessageId::kAllPrivatesLabel, MessageId::kGroupMembersLabel, this);
    m_members->SetButtonTexts(MessageId::kAddMembersButton, MessageId::kRemoveMembersButton);
    RegisterTwoList(m_members, kAvailableLabel, kMembersLabel, kAvailable, kMembers, kAddMember,
                    kRemoveMember);
    AddRow(nullptr, m_members);
    AddButtonRows();

    connect(m_id, &QComboBox::activated, this, &CPrivateGroupView::OnIdActivated);
    connect(m_members, &CTwoListEditor::addRequested, this, &CPrivateGroupView::OnAdd);
    connect(m_members, &CTwoListEditor::removeRequested, this, &CPrivateGroupView::OnRemove);
    m_members->AvailableList()->viewport()->installEventFilter(this);
    connect(m_members->AvailableList()->selectionModel(), &QItemSelectionModel::selectionChanged,
            this, &CPrivateGroupView::UpdateStatus);
}

std::string CPrivateGroupView::GroupPid() {
    return AttributeText(Contact(), "pid");
}

void CPrivateGroupView::LoadFields() {
    FillIdList();
    FillMembers();
}

void CPrivateGroupView::FillIdList() {
    const std::string own = GroupPid();
    QStringList pids;
    const CDataItem privates = ContactList("Privates");
    for (int i = 0, n = privates.GetChildCount(); i < n; ++i) {
        const CDataItem private_ = privates.GetChildByIndex(i);
        if (ScriptToInt32(private_.GetAttributeValue("id_in_use")) == 0) {
            pids << QString::fromStdString(AttributeText(private_, "pid"));
        }
    }
    if (!pids.contains(QString::fromStdString(own))) {
        pids << QString::fromStdString(own);
    }
    pids.sort();
    const QSignalBlocker block(m_id);
    m_id->clear();
    m_id->addItems(pids);
    m_idPos = m_id->findText(QString::fromStdString(own), Qt::MatchExactly);
    m_id->setCurrentIndex(m_idPos);
}

void CPrivateGroupView::OnIdActivated(int index) {
    if (!Loaded() || index == m_idPos || index < 0) {
        return;
    }
    Guarded([this, index] {
        if (Contact()
                .SetAttributeValue("pid", ScriptText(m_id->itemText(index).toStdString()))
                .result != 0) {
            ProfileDataError("CPrivateGroupView::OnIdActivated", __LINE__);
        }
        m_idPos = index;
        MarkChanged();
    });
}

CDataItem CPrivateGroupView::Memberships(const CDataItem& private_) const {
    return RequiredChild(private_, "ParentPrivateGroups");
}

int CPrivateGroupView::GroupsLeft(const CDataItem& private_) const {
    const int left = kMaxGroupsPerPrivate - Memberships(private_).GetChildCount();
    if (left < 0) {
        ProfileDataError("CPrivateGroupView::GroupsLeft", __LINE__);
    }
    return left;
}

void CPrivateGroupView::FillMembers() {
    const std::string pid = GroupPid();
    const std::string ownRadio = AttributeText(Limit(), "pid");
    const int channel = CurrentChannel();
    const QString full = QString::fromStdString(LoadString(MessageId::kFivePrivateGroupsAlready));
    std::vector<TwoListRow> available;
    std::vector<TwoListRow> members;
    const CDataItem privates = ContactList("Privates");
    for (int i = 0, n = privates.GetChildCount(); i < n; ++i) {
        const CDataItem private_ = privates.GetChildByIndex(i);
        if (ScriptToInt32(private_.GetAttributeValue("channel")) != channel) {
            continue;
        }
        const QString name = QString::fromStdString(AttributeText(private_, "name"));
        const int icon = AttributeText(private_, "pid") == ownRadio ? ViewIcons::kOwnRadioImage
                                                                    : ViewIcons::kPrivateImage;
        if (MembershipIndex(Memberships(private_), pid) >= 0) {
            members.push_back({i, name, icon});
            continue;
        }
        const int left = GroupsLeft(private_);
        const QString suffix = QString::fromStdString(
            CStringTable::Instance().Format(MessageId::kGroupsLeftSuffix, {std::to_string(left)}));
        available.push_back({i, name + suffix, icon, left > 0, left > 0 ? QString() : full});
    }
    m_members->SetRows(std::move(available), std::move(members));
    UpdateStatus();
}

// With nothing that can be chosen, the status bar says why; otherwise it shows the idle text.
void CPrivateGroupView::UpdateStatus() {
    const bool none = m_members->SelectedAvailable().empty();
    m_host.SetStatusText(
        LoadString(none ? MessageId::kFivePrivateGroupsAlready : MessageId::kReady));
}

bool CPrivateGroupView::eventFilter(QObject* watched, QEvent* event) {
    if (!m_members) {
        return CContactEditView::eventFilter(watched, event);
    }
    QListView* list = m_members->AvailableList();
    if (watched == list && event->type() == QEvent::FocusOut) {
        // Leaving the list ends the explanation.
        m_host.SetStatusText(LoadString(MessageId::kReady));
    } else if (watched == list->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QModelIndex row =
            list->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (!row.isValid()) {
            m_host.SetStatusText(LoadString(MessageId::kReady));
        } else if (!row.flags().testFlag(Qt::ItemIsSelectable)) {
            // A private in five groups cannot be chosen: the click leaves nothing selected.
            m_members->ClearAvailableSelection();
            UpdateStatus();
        }
    }
    return CContactEditView::eventFilter(watched, event);
}

int CPrivateGroupView::MembershipIndex(const CDataItem& groups, const std::string& pid) {
    for (int g = 0, m = groups.GetChildCount(); g < m; ++g) {
        if (AttributeText(groups.GetChildByIndex(g), "pid") == pid) {
            return g;
        }
    }
    return -1;
}

void CPrivateGroupView::ChangeMemberships(
    const std::vector<int>& indexes,
    const std::function<void(CDataItem& groups, const std::string& pid)>& change) {
    Guarded([this, &indexes, &change] {
        const std::string pid = GroupPid();
        const CDataItem privates = ContactList("Privates");
        for (const int index : indexes) {
            const CDataItem private_ = privates.GetChildByIndex(index);
            if (private_.IsEmpty()) {
                ProfileDataError("CPrivateGroupView::ChangeMemberships", __LINE__);
            }
            CDataItem groups = Memberships(private_);
            change(groups, pid);
        }
        MarkChanged();
        FillMembers();
    });
}

void CPrivateGroupView::OnAdd(const std::vector<int>& indexes) {
    ChangeMemberships(indexes, [this](CDataItem& groups, const std::string& pid) {
        auto entry = groups.AddNewChild();
        if (!entry) {
            ProfileDataError("CPrivateGroupView::OnAdd", __LINE__);
        }
        if (const RuleResult stored = entry->SetAttributeValue("pid", ScriptText(pid));
            stored.result != 0) {
            ShowRuleMessage(stored.messageId, MessageStyle::kOk);
            ProfileDataError("CPrivateGroupView::OnAdd", __LINE__);
        }
    });
}

void CPrivateGroupView::OnRemove(const std::vector<int>& indexes) {
    ChangeMemberships(indexes, [](CDataItem& groups, const std::string& pid) {
        const int entry = MembershipIndex(groups, pid);
        if (entry < 0 || groups.RemoveChildByIndex(entry).result != 0) {
            ProfileDataError("CPrivateGroupView::OnRemove", __LINE__);
        }
    });
}

bool CPrivateGroupView::AcceptChannel(int channel) {
    const CDataItem privates = ContactList("Privates");
    for (int i = 0, n = privates.GetChildCount(); i < n; ++i) {
        const CDataItem private_ = privates.GetChildByIndex(i);
        if (ScriptToInt32(private_.GetAttributeValue("channel")) == channel &&
            GroupsLeft(private_) > 0) {
            return true;
        }
    }
    ShowRuleMessage(MessageId::kNoPrivatesOnNewChannel, MessageStyle::kOk);
    return false;
}

void CPrivateGroupView::ChannelChanged(bool /*asked*/) {
    FillMembers();
}

// Memberships are stored as they are chosen, so the members list shows what is stored.
bool CPrivateGroupView::StoredComplete() {
    return CContactEditView::StoredComplete() && m_members->MembersModel().rowCount() > 0;
}

QWidget* CPrivateGroupView::CollectFaults(std::string& lines, OnRefusal /*how*/) {
    if (m_members->MembersModel().rowCount() == 0) {
        lines += LoadString(MessageId::kFaultGroupMembers);
        return m_members->MembersList();
    }
    return nullptr;
}
