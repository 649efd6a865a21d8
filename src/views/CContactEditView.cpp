#include "CContactEditView.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include "CQMVVLTException.h"
#include "CTwoListEditor.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

}  // namespace

CContactEditView::CContactEditView(IViewHost& host, NodeKind kind, const char* list,
                                   std::string className, std::string resourceKey, const Ids& ids,
                                   QWidget* parent)
    : CBaseView(host, std::move(className), std::move(resourceKey), parent),
      m_kind(kind),
      m_list(list),
      m_ids(ids) {
    SetCaption(ids.caption, QString());
    m_name = Register(ids.name, new QLineEdit(this));
    m_name->setMaxLength(kMaxNameLength);
    m_name->setMinimumWidth(200);
    AddRow(NewLabel(ids.nameLabel, Text(MessageId::kContactNameLabel)), m_name);
    m_channel = Register(ids.channel, new QComboBox(this));
    AddRow(NewLabel(ids.channelLabel, Text(MessageId::kContactChannelLabel)), m_channel);
    m_idLabel = NewLabel(ids.idLabel, Text(MessageId::kContactIdLabel));

    connect(m_name, &QLineEdit::textEdited, this, &CContactEditView::MarkChanged);
    connect(m_channel, &QComboBox::activated, this, &CContactEditView::OnChannelActivated);
}

void CContactEditView::AddButtonRows() {
    m_delete = Register(m_ids.deleteButton, new QPushButton(ViewIcons::Delete(), QString(), this));
    m_deleteLabel = NewLabel(m_ids.deleteLabel, Text(MessageId::kDeleteCurrentContact));
    AddRow(m_deleteLabel, m_delete);
    m_add = Register(m_ids.add, new QPushButton(ViewIcons::Add(), QString(), this));
    m_addLabel = NewLabel(m_ids.addLabel, Text(m_ids.addTextId));
    AddRow(m_addLabel, m_add);
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_host.NotifyAllViews({NoticeAction::kDelete, m_kind, m_position});
    });
    connect(m_add, &QPushButton::clicked, this, [this] {
        m_host.NotifyAllViews({NoticeAction::kAdd, ListKindOf(m_kind)});
    });
}

void CContactEditView::RegisterTwoList(CTwoListEditor* editor, int availableLabel, int membersLabel,
                                       int available, int members, int add, int remove) {
    editor->SetButtonIds(add, remove, available, members);
    Register(availableLabel, editor->AvailableLabel());
    Register(membersLabel, editor->MembersLabel());
    Register(available, editor->AvailableList());
    Register(members, editor->MembersList());
    Register(add, editor->AddButton());
    Register(remove, editor->RemoveButton());
}

CDataItem CContactEditView::Contact() {
    if (m_item.IsEmpty()) {
        m_position = m_host.Current().position;
        m_item = ContactList(m_list).GetChildByIndex(m_position);
        if (m_item.IsEmpty()) {
            ProfileDataError("CContactEditView::Contact", __LINE__);
        }
    }
    return m_item;
}

CDataItem CContactEditView::RequiredChild(const CDataItem& parent, const char* name) {
    for (int i = 0, n = parent.GetChildCount(); i < n; ++i) {
        const CDataItem child = parent.GetChildByIndex(i);
        if (!child.IsEmpty() && xmlStrEqual(child.Node()->name, BAD_CAST name)) {
            return child;
        }
    }
    ProfileDataError("CContactEditView::RequiredChild", __LINE__);
}

CDataItem CContactEditView::Limit() const {
    return RootItem().GetChildByName("limit");
}

CDataItem CContactEditView::ContactList(const char* list) const {
    return RootItem().GetChildByName("Contacts").GetChildByName(list);
}

void CContactEditView::ProfileDataError(const char* context, int line) {
    throw CQMVVLTException(MessageId::kProfileDataError, context, line,
                           LoadString(MessageId::kProfileDataError));
}

void CContactEditView::RefreshCaption() {
    CDataItem contact = Contact();
    SetCaption(m_ids.caption,
               QString::fromStdString(ScriptToText(contact.GetAttributeValue("name"))) +
                   (m_kind == kKindPrivate ? QString::fromStdString(CaptionSuffix()) : QString()));
    if (m_add) {
        m_addLabel->setText(Text(m_ids.addTextId));
        m_add->setAccessibleName(m_addLabel->text());
        m_add->setEnabled(ContactList(m_list).CanAddChild());
        m_deleteLabel->setText(Text(MessageId::kDeleteCurrentContact));
        m_delete->setAccessibleName(m_deleteLabel->text());
        m_delete->setIcon(ViewIcons::Delete());
    }
}

void CContactEditView::LoadData() {
    CDataItem contact = Contact();
    {
        const QSignalBlocker block(m_name);
        m_name->setText(QString::fromStdString(ScriptToText(contact.GetAttributeValue("name"))));
    }
    const int channels = ScriptToInt32(Limit().GetAttributeValue("max_num_of_channels"));
    {
        const QSignalBlocker block(m_channel);
        m_channel->clear();
        for (int c = 1; c <= channels; ++c) {
            m_channel->addItem(QString::fromStdString(
                CStringTable::Instance().Format(MessageId::kChannelNumber, {std::to_string(c)})));
        }
        const QString current = QString::fromStdString(CStringTable::Instance().Format(
            MessageId::kChannelNumber, {ScriptToText(contact.GetAttributeValue("channel"))}));
        m_channelPos = m_channel->findText(current, Qt::MatchExactly);
        if (m_channelPos < 0) {
            ProfileDataError("CContactEditView::LoadData", __LINE__);
        }
        m_channel->setCurrentIndex(m_channelPos);
    }
    LoadFields();
    m_loaded = true;
}

void CContactEditView::OnChangeNotice(const ChangeNotice& notice) {
    if (notice.action != NoticeAction::kRefresh || notice.kind != m_kind ||
        notice.position != m_position || m_item.IsEmpty()) {
        return;
    }
    // A rename elsewhere (the tree's label edit) or our own: show the stored name.
    Guarded([this] {
        const QString stored =
            QString::fromStdString(ScriptToText(Contact().GetAttributeValue("name")));
        if (m_name->text() != stored && !m_name->hasFocus()) {
            const QSignalBlocker block(m_name);
            m_name->setText(stored);
        }
        RefreshCaption();
        NameChanged();
    });
}

bool CContactEditView::IgnoreFocusLoss(std::initializer_list<const QWidget*> extra) const {
    if (s_suspendValidation) {
        return true;
    }
    const QWidget* to = QApplication::focusWidget();
    if (!to || (to != this && !isAncestorOf(to)) || to == m_delete) {
        return true;
    }
    for (const QWidget* w : extra) {
        if (to == w) {
            return true;
        }
    }
    return false;
}

bool CContactEditView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_name && event->type() == QEvent::FocusOut && m_loaded) {
        OnNameFocusLost();
    }
    return CBaseView::eventFilter(watched, event);
}

void CContactEditView::OnNameFocusLost() {
    if (IgnoreFocusLoss()) {
        return;
    }
    Guarded([this] { CommitName(OnRefusal::kRefocus); });
}

bool CContactEditView::CommitName(OnRefusal how) {
    CDataItem contact = Contact();
    const std::string stored = ScriptToText(contact.GetAttributeValue("name"));
    const QString text = m_name->text();
    if (text.isEmpty()) {
        return RefuseField(
            m_name, how,
            [this] {
                m_host.Ui().ShowMessage(LoadString(MessageId::kNameFieldEmpty), MessageStyle::kOk);
            },
            QString::fromStdString(stored));
    }
    if (stored == text.toStdString()) {
        return true;
    }
    if (const RuleResult refused =
            contact.SetAttributeValue("name", ScriptText(text.toStdString()));
        refused.result != 0) {
        return RefuseField(
            m_name, how, [&] { ShowRuleMessage(refused.messageId, refused.style); },
            QString::fromStdString(stored));
    }
    m_host.MarkModified();
    RefreshCaption();
    m_host.NotifyAllViews({NoticeAction::kRefresh, m_kind, m_position});
    return true;
}

bool CContactEditView::RefuseField(QLineEdit* box, OnRefusal how, const std::function<void()>& show,
                                   const QString& stored) {
    if (how == OnRefusal::kQuiet) {
        return false;
    }
    show();
    if (how == OnRefusal::kRefocus) {
        PostFocus(box);
        return false;
    }
    box->setText(stored);
    return true;
}

std::string CContactEditView::ChannelQuestion(int messageId, int /*oldChannel*/,
                                              int /*newChannel*/) const {
    return LoadString(messageId);
}

void CContactEditView::OnChannelActivated(int index) {
    if (!m_loaded || index == m_channelPos || index < 0) {
        return;
    }
    Guarded([this, index] {
        const int previous = m_channelPos;
        auto revert = [this, previous] {
            const QSignalBlocker block(m_channel);
            m_channel->setCurrentIndex(previous);
        };
        const int channel = index + 1;
        if (!AcceptChannel(channel)) {
            revert();
            return;
        }
        CDataItem contact = Contact();
        const RuleResult question = contact.SetAttributeValue("channel", ScriptInteger(channel));
        const bool asked = question.result != 0;
        if (asked) {
            if (m_host.Ui().ShowMessage(ChannelQuestion(question.messageId, previous + 1, channel),
                                        question.style) != MessageStyle::kIdOk) {
                revert();
                return;
            }
            if (contact.SetAttributeValue("channel", ScriptInteger(channel), MessageStyle::kIdOk)
                        .result != 0 &&
                !RepeatMayBeRefused()) {
                ProfileDataError("CContactEditView::OnChannelActivated", __LINE__);
            }
        }
        m_channelPos = index;
        UpdateAccessibleValue(m_channel);
        MarkChanged();
        ChannelChanged(asked);
    });
}

bool CContactEditView::StoredComplete() {
    CDataItem contact = Contact();
    return !ScriptToText(contact.GetAttributeValue("name")).empty() &&
           !ScriptToText(contact.GetAttributeValue("pid")).empty();
}

int CContactEditView::ValidateCurrentItem() {
    if (s_suspendValidation) {
        return 1;
    }
    // A contact complete as stored has nothing to delete: a refused edit is reported with the
    // rule's own message and the stored value goes back into its box.
    const OnRefusal how = StoredComplete() ? OnRefusal::kRestore : OnRefusal::kQuiet;
    std::string lines;
    QWidget* focus = nullptr;
    if (!CommitName(how)) {
        lines += LoadString(MessageId::kFaultName);
        focus = m_name;
    }
    QWidget* other = CollectFaults(lines, how);
    if (!focus) {
        focus = other;
    }
    if (lines.empty()) {
        return 1;
    }
    const std::string text =
        CStringTable::Instance().Format(MessageId::kFieldsIncorrectlySpecified, {lines});
    if (m_host.Ui().ShowMessage(text, MessageStyle::kOkCancel) == MessageStyle::kIdOk) {
        s_suspendValidation = true;
        m_host.NotifyAllViews({NoticeAction::kDelete, m_kind, m_position});
        s_suspendValidation = false;
        return -1;
    }
    PostFocus(focus ? focus : m_name);
    return 0;
}

void CContactEditView::FocusFirstField(int /*kind*/) {
    activateWindow();
    m_name->setFocus(Qt::OtherFocusReason);
    m_name->selectAll();
}

int CContactEditView::ShowRuleMessage(int messageId, int style) {
    return m_host.Ui().ShowMessage(LoadString(messageId), style);
}

void CContactEditView::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const CQMVVLTException& e) {
        m_host.ReportFailure(e);
    }
}

void CContactEditView::PostFocus(QWidget* widget) {
    QTimer::singleShot(0, widget, [widget] {
        widget->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->selectAll();
        }
    });
}

void CContactEditView::MarkChanged() {
    if (m_loaded) {
        m_host.MarkModified();
    }
}
