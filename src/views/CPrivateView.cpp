#include "CPrivateView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <set>

#include "CQMVVLTException.h"
#include "CTwoListEditor.h"
#include "Collation.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {

constexpr CContactEditView::Ids kIds{
    CPrivateView::kCaption,     CPrivateView::kNameLabel, CPrivateView::kChannelLabel,
    CPrivateView::kIdLabel,     CPrivateView::kName,      CPrivateView::kChannel,
    CPrivateView::kAddLabel,    CPrivateView::kAdd,       MessageId::kAddPrivates,
    CPrivateView::kDeleteLabel, CPrivateView::kDelete};
constexpr int kRingers = 12;

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

std::string AttributeText(const CDataItem& item, const char* name) {
    return ScriptToText(item.GetAttributeValue(name));
}

}  // namespace

CPrivateView::CPrivateView(IViewHost& host, QWidget* parent)
    : CContactEditView(host, kKindPrivate, "Privates", "CPrivateView", "PrivateX", kIds, parent) {
    m_id = Register(kId, new QLineEdit(this));
    AddRow(IdLabel(), m_id);
    m_read = Register(kReadId, new QPushButton(Text(MessageId::kReadPrivateIdButton), this));
    AddFieldButtonRow(m_read);
    m_home = Register(kHomeGroup, new QComboBox(this));
    AddRow(NewLabel(kHomeGroupLabel, Text(MessageId::kHomeGroup)), m_home);
    m_groupOnly = Register(kGroupOnly, new QCheckBox(this));
    AddRow(NewLabel(kGroupOnlyLabel, Text(MessageId::kGroupOnly)), m_groupOnly);
    m_ringer = Register(kRinger, new QComboBox(this));
    AddRow(NewLabel(kRingerLabel, Text(MessageId::kRinger)), m_ringer);
    m_scrollEnable =
        Register(kScrollEnable, new QCheckBox(Text(MessageId::kPrivateScrollList), this));
    m_scrollEnable->setAccessibleName(m_scrollEnable->text());
    AddRow(nullptr, m_scrollEnable);
    m_scrollList =
        new CTwoListEditor(MessageId::kAvailableContacts, MessageId::kScrollListCaption, this);
    RegisterTwoList(m_scrollList, kScrollAvailableLabel, kScrollMembersLabel, kScrollAvailable,
                    kScrollMembers, kScrollAdd, kScrollRemove);
    AddRow(nullptr, m_scrollList);
    AddButtonRows();
    connect(m_scrollList, &CTwoListEditor::addRequested, this, &CPrivateView::OnScrollAdd);
    connect(m_scrollList, &CTwoListEditor::removeRequested, this, &CPrivateView::OnScrollRemove);

    connect(m_id, &QLineEdit::textChanged, this, &CPrivateView::OnIdChanged);
    connect(m_id, &QLineEdit::textEdited, this, &CPrivateView::MarkChanged);
    connect(m_read, &QPushButton::clicked, this, &CPrivateView::OnReadId);
    connect(m_home, &QComboBox::activated, this, &CPrivateView::OnHomeActivated);
    connect(m_ringer, &QComboBox::activated, this, &CPrivateView::OnRingerActivated);
    connect(m_groupOnly, &QCheckBox::clicked, this, &CPrivateView::OnGroupOnlyClicked);
    connect(m_scrollEnable, &QCheckBox::clicked, this, &CPrivateView::OnScrollEnableClicked);
}

void CPrivateView::LoadFields() {
    CDataItem contact = Contact();
    const CDataItem limit = Limit();
    m_id->setMaxLength(static_cast<int>(AttributeText(limit, "valid_PID_end").size()));
    {
        const QSignalBlocker block(m_id);
        m_acceptedId = QString::fromStdString(AttributeText(contact, "pid"));
        m_id->setText(m_acceptedId);
    }
    {
        const QSignalBlocker block(m_ringer);
        m_ringer->clear();
        for (int r = 1; r <= kRingers; ++r) {
            m_ringer->addItem(QString::fromStdString(
                CStringTable::Instance().Format(MessageId::kRingerNumber, {std::to_string(r)})));
        }
        // A tone outside 1..12 selects nothing rather than a ringer the profile does not hold.
        m_ringer->setCurrentIndex(ScriptToInt32(contact.GetAttributeValue("alert_tone")) - 1);
    }
    m_groupOnly->setChecked(ScriptToBool(contact.GetAttributeValue("show_grp_only")));
    FillHomeGroups();
    // The private scroll list exists from the model groups that have the field.
    if (xmlHasProp(contact.Node(), BAD_CAST "private_scroll_list")) {
        for (int id = kScrollEnable; id <= kScrollRemove; ++id) {
            KeepShown(id);
        }
        m_scrollEnable->setChecked(ScriptToBool(contact.GetAttributeValue("private_scroll_list")));
        FillScrollList();
    }
}

void CPrivateView::NameChanged() {
    if (!m_contacts.empty()) {
        FillScrollList();
    }
}

// Every contact, in profile order, is offered; the private's scroll list names its members.
void CPrivateView::FillScrollList(bool moving) {
    const CDataItem entries = RequiredChild(Contact(), "scrolllist");
    std::set<std::string> listed;
    for (int i = 0, n = entries.GetChildCount(); i < n; ++i) {
        listed.insert(AttributeText(entries.GetChildByIndex(i), "name"));
    }
    const std::string ownRadio = AttributeText(Limit(), "pid");
    const CDataItem lists = RootItem().GetChildByName("Contacts");
    m_contacts.clear();
    std::vector<TwoListRow> available;
    std::vector<TwoListRow> members;
    for (int l = 0, ln = lists.GetChildCount(); l < ln; ++l) {
        const CDataItem list = lists.GetChildByIndex(l);
        for (int i = 0, n = list.GetChildCount(); i < n; ++i) {
            const CDataItem contact = list.GetChildByIndex(i);
            const int type = ScriptToInt32(contact.GetAttributeValue("cntct_type"));
            const int icon = type == 2   ? ViewIcons::kPublicGroupImage
                             : type == 1 ? ViewIcons::kPrivateGroupImage
                             : AttributeText(contact, "pid") == ownRadio ? ViewIcons::kOwnRadioImage
                                                                         : ViewIcons::kPrivateImage;
            const std::string name = AttributeText(contact, "name");
            const TwoListRow row{static_cast<int>(m_contacts.size()), QString::fromStdString(name),
                                 icon};
            (listed.count(name) ? members : available).push_back(row);
            m_contacts.push_back({name, icon});
        }
    }
    m_scrollList->SetRows(std::move(available), std::move(members));
    // After a move the editor has selected the rows that follow; on load the check box decides.
    if (!moving) {
        m_scrollList->SetListsEnabled(m_scrollEnable->isChecked());
    }
}

void CPrivateView::ChangeScrollList(
    const std::vector<int>& indexes,
    const std::function<bool(CDataItem& entries, const std::string& name)>& change) {
    Guarded([this, &indexes, &change] {
        CDataItem entries = RequiredChild(Contact(), "scrolllist");
        bool changed = false;
        for (const int index : indexes) {
            if (index >= 0 && index < static_cast<int>(m_contacts.size())) {
                changed =
                    change(entries, m_contacts[static_cast<std::size_t>(index)].name) || changed;
            }
        }
        if (changed) {
            // One notice for the whole move: the tree relabels its list node once.
            m_host.NotifyAllViews({NoticeAction::kRefresh, kKindScrollList});
        }
        m_host.MarkModified();
    });
    Guarded([this] { FillScrollList(true); });
}

void CPrivateView::OnScrollAdd(const std::vector<int>& indexes) {
    ChangeScrollList(indexes, [](CDataItem& entries, const std::string& name) {
        if (!entries.CanAddChild()) {
            return false;
        }
        entries.AddNewPriScrList(name);
        return true;
    });
}

void CPrivateView::OnScrollRemove(const std::vector<int>& indexes) {
    ChangeScrollList(indexes, [](CDataItem& entries, const std::string& name) {
        for (int i = 0, n = entries.GetChildCount(); i < n; ++i) {
            if (AttributeText(entries.GetChildByIndex(i), "name") == name) {
                entries.RemoveChildByIndex(i);
                return true;
            }
        }
        return false;
    });
}

void CPrivateView::FillHomeGroups() {
    const QSignalBlocker block(m_home);
    m_home->clear();
    m_home->addItem(Text(MessageId::kNone));
    const int channel = CurrentChannel();
    std::vector<std::string> names;
    for (const char* list : {"PrivateGroups", "PublicGroups"}) {
        const CDataItem groups = ContactList(list);
        for (int i = 0, n = groups.GetChildCount(); i < n; ++i) {
            const CDataItem group = groups.GetChildByIndex(i);
            if (ScriptToInt32(group.GetAttributeValue("channel")) == channel) {
                names.push_back(AttributeText(group, "name"));
            }
        }
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareContactNamesUtf8(a, b) < 0;
    });
    for (const std::string& name : names) {
        m_home->addItem(QString::fromStdString(name));
    }
    const std::string home = AttributeText(Contact(), "home_grp");
    m_homePos = 0;
    if (!home.empty()) {
        std::string name;
        for (const char* list : {"PrivateGroups", "PublicGroups"}) {
            const CDataItem groups = ContactList(list);
            for (int i = 0, n = groups.GetChildCount(); i < n && name.empty(); ++i) {
                const CDataItem group = groups.GetChildByIndex(i);
                if (AttributeText(group, "pid") == home) {
                    name = AttributeText(group, "name");
                }
            }
        }
        m_homePos =
            name.empty() ? -1 : m_home->findText(QString::fromStdString(name), Qt::MatchExactly);
        if (m_homePos < 1) {
            ProfileDataError("CPrivateView::FillHomeGroups", __LINE__);
        }
    }
    m_home->setCurrentIndex(m_homePos);
}

std::optional<std::string> CPrivateView::GroupPidByName(const std::string& name) const {
    for (const char* list : {"PrivateGroups", "PublicGroups"}) {
        const CDataItem groups = ContactList(list);
        for (int i = 0, n = groups.GetChildCount(); i < n; ++i) {
            const CDataItem group = groups.GetChildByIndex(i);
            if (AttributeText(group, "name") == name) {
                return AttributeText(group, "pid");
            }
        }
    }
    return std::nullopt;
}

std::optional<QString> CPrivateView::FilterId(const QString& typed, int caret, const QString& start,
                                              const QString& end, int& removedBeforeCaret) {
    QString text;
    removedBeforeCaret = 0;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        const bool keep = c >= QLatin1Char('0') && c <= QLatin1Char('9') &&
                          !(c == QLatin1Char('0') && text.isEmpty());
        if (keep) {
            text += c;
        } else if (i < caret) {
            ++removedBeforeCaret;
        }
    }
    if (text.isEmpty() || text == end || text == start) {
        return text;
    }
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    bool endOk = false;
    const qulonglong last = end.toULongLong(&endOk);
    if (!ok || !endOk || value > last) {
        return std::nullopt;
    }
    return text;
}

void CPrivateView::OnIdChanged() {
    if (!Loaded() || m_filtering) {
        return;
    }
    Guarded([this] {
        const CDataItem limit = Limit();
        const QString start = QString::fromStdString(AttributeText(limit, "valid_PID_start"));
        const QString end = QString::fromStdString(AttributeText(limit, "valid_PID_end"));
        // Ranges differ in digit count ("9000000" to "17179867883"): compare the numbers.
        bool startOk = false;
        bool endOk = false;
        const qulonglong first = start.toULongLong(&startOk);
        const qulonglong last = end.toULongLong(&endOk);
        if (startOk && endOk && first > last) {
            ProfileDataError("CPrivateView::OnIdChanged", __LINE__);
        }
        const int caret = m_id->cursorPosition();
        int removed = 0;
        const auto filtered = FilterId(m_id->text(), caret, start, end, removed);
        m_filtering = true;
        if (filtered) {
            m_acceptedId = *filtered;
            m_id->setText(m_acceptedId);
            m_id->setCursorPosition(caret - removed);
        } else {
            m_id->setText(m_acceptedId);
            m_id->setCursorPosition(std::max(0, caret - 1));
        }
        m_filtering = false;
    });
}

bool CPrivateView::CommitId(OnRefusal how) {
    CDataItem contact = Contact();
    const std::string stored = AttributeText(contact, "pid");
    const std::string pid = m_id->text().trimmed().toStdString();
    if (pid.empty()) {
        return RefuseField(
            m_id, how,
            [this] {
                m_host.Ui().ShowMessage(LoadString(MessageId::kIdFieldEmpty), MessageStyle::kOk);
            },
            QString::fromStdString(stored));
    }
    if (stored != pid) {
        if (const RuleResult refused = contact.SetAttributeValue("pid", ScriptText(pid));
            refused.result != 0) {
            return RefuseField(
                m_id, how, [&] { ShowRuleMessage(refused.messageId, refused.style); },
                QString::fromStdString(stored));
        }
        m_host.MarkModified();
        RefreshCaption();
        m_host.NotifyAllViews({NoticeAction::kRefresh, kKindPrivate, Position()});
    }
    m_idCommitted = true;
    return true;
}

void CPrivateView::OnIdFocusLost() {
    if (IgnoreFocusLoss({m_read})) {
        return;
    }
    Guarded([this] { CommitId(OnRefusal::kRefocus); });
}

bool CPrivateView::eventFilter(QObject* watched, QEvent* event) {
    if (Loaded()) {
        if (watched == m_id && event->type() == QEvent::FocusOut) {
            OnIdFocusLost();
        } else if (watched == m_read && event->type() == QEvent::FocusOut &&
                   QApplication::focusWidget() != m_id) {
            OnIdFocusLost();
        } else if (watched == m_id && event->type() == QEvent::KeyPress && m_scannerMode) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                !key->isAutoRepeat()) {
                OnScannerEnter();
                return true;
            }
        }
    }
    return CContactEditView::eventFilter(watched, event);
}

// A bar-code scanner ends its digits with Enter: commit them and go on to the next private.
void CPrivateView::OnScannerEnter() {
    m_idCommitted = false;
    Caption()->setFocus(Qt::OtherFocusReason);
    if (!m_idCommitted) {
        return;
    }
    m_scannerMode = false;
    Guarded([this] {
        if (ContactList("Privates").CanAddChild()) {
            IViewHost* host = &m_host;
            QTimer::singleShot(0, parentWidget(), [host] {
                host->NotifyAllViews({NoticeAction::kAdd, kKindPrivateWithScanner});
            });
        }
    });
}

void CPrivateView::FocusFirstField(int kind) {
    if (kind != kKindPrivateWithScanner) {
        CContactEditView::FocusFirstField(kind);
        return;
    }
    activateWindow();
    m_scannerMode = true;
    m_id->setFocus(Qt::OtherFocusReason);
    m_id->selectAll();
}

void CPrivateView::ChannelChanged(bool asked) {
    FillHomeGroups();
    if (asked) {
        // The rules may have removed memberships and deleted emptied groups.
        m_host.NotifyAllViews({NoticeAction::kRefresh, kKindPrivate, Position()});
    }
}

QWidget* CPrivateView::CollectFaults(std::string& lines, OnRefusal how) {
    if (!CommitId(how)) {
        lines += LoadString(MessageId::kFaultId);
        return m_id;
    }
    return nullptr;
}

void CPrivateView::OnHomeActivated(int index) {
    if (!Loaded() || index == m_homePos || index < 0) {
        return;
    }
    Guarded([this, index] {
        std::string pid;
        if (index > 0) {
            const auto found = GroupPidByName(m_home->itemText(index).toStdString());
            if (!found) {
                ProfileDataError("CPrivateView::OnHomeActivated", __LINE__);
            }
            pid = *found;
        }
        if (const RuleResult refused = Contact().SetAttributeValue("home_grp", ScriptText(pid));
            refused.result != 0) {
            ShowRuleMessage(refused.messageId, MessageStyle::kOk);
            const QSignalBlocker block(m_home);
            m_home->setCurrentIndex(m_homePos);
            return;
        }
        m_homePos = index;
        MarkChanged();
    });
}

void CPrivateView::OnRingerActivated(int index) {
    if (!Loaded() || index < 0) {
        return;
    }
    Guarded([this, index] {
        if (Contact().SetAttributeValue("alert_tone", ScriptInteger(index + 1)).result != 0) {
            ProfileDataError("CPrivateView::OnRingerActivated", __LINE__);
        }
        MarkChanged();
    });
}

void CPrivateView::OnGroupOnlyClicked() {
    if (!Loaded()) {
        return;
    }
    Guarded([this] {
        CDataItem contact = Contact();
        const bool stored = ScriptToBool(contact.GetAttributeValue("show_grp_only"));
        if (contact.SetAttributeValue("show_grp_only", CScriptValue(!stored)).result != 0) {
            ProfileDataError("CPrivateView::OnGroupOnlyClicked", __LINE__);
        }
        m_groupOnly->setChecked(!stored);
        MarkChanged();
    });
}

void CPrivateView::OnReadId() {
    const auto pid = m_host.Ui().ReadPrivateId();
    if (!pid) {
        return;
    }
    m_id->setText(QString::fromStdString(*pid));
    m_id->setFocus(Qt::OtherFocusReason);
    MarkChanged();
}

void CPrivateView::OnScrollEnableClicked(bool checked) {
    if (!Loaded()) {
        return;
    }
    Guarded([this, checked] {
        CDataItem contact = Contact();
        const CScriptValue value = ScriptInteger(checked ? 1 : 0);
        const RuleResult stored = contact.SetAttributeValue("private_scroll_list", value);
        if (stored.result == 0) {
            m_scrollList->SetListsEnabled(checked);
        } else if (stored.result == 1) {
            ShowRuleMessage(stored.messageId, MessageStyle::kOk);
        } else if (stored.result == 2) {
            contact.SetAttributeValue("private_scroll_list", value,
                                      ShowRuleMessage(stored.messageId, stored.style));
        }
        m_host.MarkModified();
    });
}
