#include "CPublicGroupView.h"

#include <QComboBox>
#include <QLabel>
#include <set>

#include "CQMVVLTDoc.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"

namespace {

constexpr CContactEditView::Ids kIds{
    CPublicGroupView::kCaption,     CPublicGroupView::kNameLabel, CPublicGroupView::kChannelLabel,
    CPublicGroupView::kIdLabel,     CPublicGroupView::kName,      CPublicGroupView::kChannel,
    CPublicGroupView::kAddLabel,    CPublicGroupView::kAdd,       MessageId::kAddPublicGroup,
    CPublicGroupView::kDeleteLabel, CPublicGroupView::kDelete};

}  // namespace

CPublicGroupView::CPublicGroupView(IViewHost& host, QWidget* parent)
    : CContactEditView(host, kKindPublicGroup, "PublicGroups", "CPublicGroupView", "PublicGroupX",
                       kIds, parent) {
    m_id = Register(kId, new QComboBox(this));
    AddRow(IdLabel(), m_id);
    AddButtonRows();
    connect(m_id, &QComboBox::activated, this, &CPublicGroupView::OnIdActivated);
}

QString CPublicGroupView::IdEntry(std::int64_t number, bool takenByOther) {
    return (takenByOther ? QStringLiteral("x  ") : QStringLiteral("   ")) + QString::number(number);
}

std::int64_t CPublicGroupView::IdEntryNumber(const QString& entry) {
    qsizetype i = 0;
    while (i < entry.size() && (entry[i] == QLatin1Char('x') || entry[i] == QLatin1Char(' '))) {
        ++i;
    }
    bool ok = false;
    const qlonglong number = entry.mid(i).toLongLong(&ok);
    return ok ? number : 0;
}

void CPublicGroupView::LoadFields() {
    CheckBanks();
    FillIdList();
}

// Banks whose display numbers overlap give the same number to two identifiers: say so once per
// kind of fault, and go on.
void CPublicGroupView::CheckBanks() {
    const PublicGroupIdBanks& banks = m_host.Document().Model().GetPublicGroupIdBanks();
    const auto check = [&banks](auto&& faulty) {
        for (int i = 1; i < static_cast<int>(banks.size()); ++i) {
            if (banks[i].lastNumber == -1) {
                continue;
            }
            for (int j = i - 1; j >= 0; --j) {
                if (faulty(banks[j], banks[i])) {
                    return true;
                }
            }
        }
        return false;
    };
    if (check([](const PublicGroupIdBank& earlier, const PublicGroupIdBank& later) {
            return earlier.firstNumber < later.firstNumber &&
                   later.firstNumber < earlier.lastNumber;
        })) {
        ShowRuleMessage(MessageId::kDuplicatePublicGroupId, MessageStyle::kOk);
    }
    if (check([](const PublicGroupIdBank& earlier, const PublicGroupIdBank& later) {
            return later.firstNumber < earlier.lastNumber;
        })) {
        ShowRuleMessage(MessageId::kBankInformationIncorrect, MessageStyle::kOk);
    }
}

void CPublicGroupView::FillIdList() {
    CQMVVLTDoc& document = m_host.Document();
    const PublicGroupIdBanks& banks = document.Model().GetPublicGroupIdBanks();
    const std::string ownPid = ScriptToText(Contact().GetAttributeValue("pid"));
    std::set<std::string> taken;
    const CDataItem groups = ContactList("PublicGroups");
    for (int i = 0, n = groups.GetChildCount(); i < n; ++i) {
        taken.insert(ScriptToText(groups.GetChildByIndex(i).GetAttributeValue("pid")));
    }
    const QSignalBlocker block(m_id);
    m_id->clear();
    for (const PublicGroupIdBank& bank : banks) {
        for (std::int64_t n = bank.firstNumber; n <= bank.lastNumber; ++n) {
            const std::string pid = document.PublicGroupNumberToPid(n);
            const bool inUse = pid.empty() || taken.count(pid) > 0;
            if (inUse && pid.empty()) {
                ProfileDataError("CPublicGroupView::FillIdList", __LINE__);
            }
            m_id->addItem(IdEntry(n, inUse && pid != ownPid));
        }
    }
    m_idPos =
        m_id->findText(IdEntry(document.PidToPublicGroupNumber(ownPid), false), Qt::MatchExactly);
    if (m_idPos < 0) {
        ProfileDataError("CPublicGroupView::FillIdList", __LINE__);
    }
    m_id->setCurrentIndex(m_idPos);
}

void CPublicGroupView::OnIdActivated(int index) {
    if (!Loaded() || index == m_idPos || index < 0) {
        return;
    }
    Guarded([this, index] {
        const std::string pid =
            m_host.Document().PublicGroupNumberToPid(IdEntryNumber(m_id->itemText(index)));
        if (pid.empty()) {
            ProfileDataError("CPublicGroupView::OnIdActivated", __LINE__);
        }
        if (const RuleResult refused = Contact().SetAttributeValue("pid", ScriptText(pid));
            refused.result != 0) {
            ShowRuleMessage(refused.messageId, refused.style);
            const QSignalBlocker block(m_id);
            m_id->setCurrentIndex(m_idPos);
            return;
        }
        m_idPos = index;
        MarkChanged();
    });
}

std::string CPublicGroupView::ChannelQuestion(int messageId, int oldChannel, int newChannel) const {
    return CStringTable::Instance().Format(
        messageId, {std::to_string(oldChannel), std::to_string(newChannel)});
}

void CPublicGroupView::ChannelChanged(bool /*asked*/) {
    // The tree relabels the group and every scan channel node.
    m_host.NotifyAllViews({NoticeAction::kRefresh, kKindPublicGroup, Position()});
}
