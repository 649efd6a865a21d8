#include "CQMVVLTTreeView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <map>

#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CTreeLabelDelegate.h"
#include "IViewHost.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"

namespace {

// An item's kind is its item type (above QTreeWidgetItem::UserType); its position among its
// siblings is a data role.
constexpr int kPositionRole = Qt::UserRole;
constexpr int kOwnRadioIcon = 16;

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

QString Format(int id, std::initializer_list<std::string_view> args) {
    return QString::fromStdString(CStringTable::Instance().Format(id, args));
}

QIcon LoadIcon(int kind) {
    QStyle* style = QApplication::style();
    switch (kind) {
        case kKindRoot:
            return style->standardIcon(QStyle::SP_ComputerIcon);
        case kKindSettings:
            return style->standardIcon(QStyle::SP_FileDialogDetailedView);
        case kKindTextMessage:
            return style->standardIcon(QStyle::SP_FileIcon);
        case kKindPublicGroup:
        case kKindPrivateGroup:
        case kKindPrivate:
        case kKindScanChannel:
        case kKindScrollList:
            return style->standardIcon(QStyle::SP_FileLinkIcon);
        default:
            return style->standardIcon(QStyle::SP_DirIcon);
    }
}

// Icons decode their pictures when made: make each once (kind 16 is the own radio's private).
const QIcon& IconOf(int kind) {
    static std::map<int, QIcon> icons;
    auto it = icons.find(kind);
    if (it == icons.end()) {
        it = icons
                 .emplace(kind, kind == kOwnRadioIcon
                                    ? QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon)
                                    : LoadIcon(kind))
                 .first;
    }
    return it->second;
}

}  // namespace

CQMVVLTTreeView::CQMVVLTTreeView(IViewHost& host, QWidget* parent)
    : QTreeWidget(parent), m_host(host) {
    setHeaderHidden(true);
    setColumnCount(1);
    // The pane is narrow: long labels (a bold own radio, a list's note) scroll rather than being
    // cut off.
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIconSize(QSize(17, 17));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setMouseTracking(true);
    setAccessibleName(Text(MessageId::kProfileTree));
    setItemDelegate(new CTreeLabelDelegate(
        [this](const QModelIndex& index, const QString& text) {
            return CommitRename(itemFromIndex(index), text);
        },
        this));
    connect(this, &QTreeWidget::currentItemChanged, this, &CQMVVLTTreeView::OnCurrentChanged);
}

CDataItem CQMVVLTTreeView::Root() const {
    return m_host.Document().Model().GetRootItem();
}

CDataItem CQMVVLTTreeView::ListItem(NodeKind listKind) const {
    const CDataItem root = Root();
    switch (listKind) {
        case kKindTextMessages:
            return root.GetChildByName("TextMessages");
        case kKindPublicGroups:
            return root.GetChildByName("Contacts").GetChildByName("PublicGroups");
        case kKindPrivateGroups:
            return root.GetChildByName("Contacts").GetChildByName("PrivateGroups");
        case kKindPrivates:
            return root.GetChildByName("Contacts").GetChildByName("Privates");
        default:
            return {};
    }
}

QTreeWidgetItem* CQMVVLTTreeView::ListNode(NodeKind kind) const {
    switch (kind) {
        case kKindTextMessages:
            return m_textMessages;
        case kKindPublicGroups:
            return m_publicGroups;
        case kKindPrivateGroups:
            return m_privateGroups;
        case kKindPrivates:
            return m_privates;
        case kKindScrollList:
            return m_scroll;
        case kKindScanList:
            return m_scanList;
        default:
            return nullptr;
    }
}

std::string CQMVVLTTreeView::OwnPid() const {
    return ScriptToText(Root().GetChildByName("limit").GetAttributeValue("pid"));
}

QString CQMVVLTTreeView::RootLabel(const std::string& model) {
    QString label = QString::fromStdString(model);
    label.replace(QLatin1String("Q"), QLatin1String("QMV"));
    label.replace(QLatin1String("QMV411"), QLatin1String("QMV410 M"));
    return label;
}

QString CQMVVLTTreeView::TextMessageLabel(const std::string& text) {
    const QString whole = QString::fromStdString(text);
    return whole.size() < 21 ? whole : whole.left(20) + QLatin1String("...");
}

NodeKind CQMVVLTTreeView::KindOf(const QTreeWidgetItem* item) {
    return item ? static_cast<NodeKind>(item->type() - int{QTreeWidgetItem::UserType}) : kKindNone;
}

int CQMVVLTTreeView::PositionOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kPositionRole).toInt() : 0;
}

QTreeWidgetItem* CQMVVLTTreeView::NewItem(QTreeWidgetItem* parent, const QString& label,
                                          NodeKind kind, int position) {
    const int type = int{QTreeWidgetItem::UserType} + kind;
    auto* item = parent ? new QTreeWidgetItem(parent, type) : new QTreeWidgetItem(this, type);
    item->setText(0, label);
    item->setIcon(0, IconOf(kind));
    item->setData(0, kPositionRole, position);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsContact(kind)) {
        flags |= Qt::ItemIsEditable;
    }
    item->setFlags(flags);
    return item;
}

void CQMVVLTTreeView::SetPrivateLook(QTreeWidgetItem* item, bool ownRadio) {
    constexpr int kOwnRadioRole = Qt::UserRole + 1;
    const QVariant shown = item->data(0, kOwnRadioRole);
    if (shown.isValid() && shown.toBool() == ownRadio) {
        return;
    }
    item->setData(0, kOwnRadioRole, ownRadio);
    QFont font = item->font(0);
    if (font.bold() != ownRadio) {
        font.setBold(ownRadio);
        item->setFont(0, font);
    }
    item->setIcon(0, IconOf(ownRadio ? kOwnRadioIcon : kKindPrivate));
}

void CQMVVLTTreeView::Build() {
    m_loaded = false;
    m_busy = true;
    clear();
    m_textMessages = m_publicGroups = m_privateGroups = m_privates = nullptr;
    m_scroll = m_scanList = nullptr;

    const CDataItem root = Root();
    const CDataItem limit = root.GetChildByName("limit");
    const std::string ownPid = OwnPid();
    QTreeWidgetItem* top =
        NewItem(nullptr, RootLabel(ScriptToText(limit.GetAttributeValue("model"))), kKindRoot);

    QTreeWidgetItem* contacts = NewItem(top, Text(MessageId::kContactsLabel), kKindContacts);
    const CDataItem contactsItem = root.GetChildByName("Contacts");
    const auto addList = [&](const char* element, int labelId,
                             NodeKind listKind) -> QTreeWidgetItem* {
        const CDataItem list = contactsItem.GetChildByName(element);
        if (!list.IsEnabled()) {
            return nullptr;
        }
        QTreeWidgetItem* node = NewItem(contacts, ListLabel(list, labelId), listKind);
        const NodeKind memberKind = MemberKindOf(listKind);
        for (int i = 0, n = list.GetChildCount(); i < n; ++i) {
            const CDataItem member = list.GetChildByIndex(i);
            QTreeWidgetItem* item = NewItem(
                node, QString::fromStdString(ScriptToText(member.GetAttributeValue("name"))),
                memberKind, i);
            if (memberKind == kKindPrivate) {
                SetPrivateLook(item, ScriptToText(member.GetAttributeValue("pid")) == ownPid);
            }
        }
        return node;
    };
    m_privates = addList("Privates", MessageId::kPrivatesNode, kKindPrivates);
    m_privateGroups = addList("PrivateGroups", MessageId::kPrivateGroupsNode, kKindPrivateGroups);
    m_publicGroups = addList("PublicGroups", MessageId::kPublicGroupsNode, kKindPublicGroups);

    NewItem(top, Text(MessageId::kSettings), kKindSettings);
    QTreeWidgetItem* lists = NewItem(top, Text(MessageId::kLists), kKindLists);
    m_scroll = NewItem(lists, QString(), kKindScrollList);
    if (ScriptToBool(limit.GetAttributeValue("public_scan_en"))) {
        m_scanList = NewItem(lists, Text(MessageId::kScanList), kKindScanList);
        const int channels = ScriptToInt32(limit.GetAttributeValue("max_num_of_channels"));
        for (int channel = 1; channel <= channels; ++channel) {
            NewItem(m_scanList, QString(), kKindScanChannel, channel - 1);
        }
    }
    RefreshScrollNode();
    RefreshScanChannels();

    const CDataItem texts = root.GetChildByName("TextMessages");
    if (texts.IsEnabled()) {
        m_textMessages =
            NewItem(top, ListLabel(texts, MessageId::kTextMessages), kKindTextMessages);
        for (int i = 0, n = texts.GetChildCount(); i < n; ++i) {
            NewItem(
                m_textMessages,
                TextMessageLabel(ScriptToText(texts.GetChildByIndex(i).GetAttributeValue("txt"))),
                kKindTextMessage, i);
        }
    }

    expandAll();
    if (m_textMessages) {
        collapseItem(m_textMessages);
    }
    if (m_scanList) {
        collapseItem(m_scanList);
    }
    setCurrentItem(top);
    m_busy = false;
    m_host.ShowView(kKindRoot, 0);
    scrollToItem(top);
    m_loaded = true;
    UpdateCommandFlags();
}

QString CQMVVLTTreeView::ListLabel(const CDataItem& list, int labelId) {
    QString label = Text(labelId);
    if (const int note = list.GetLabelSuffix(); note != 0) {
        label += QLatin1Char(' ') + Text(note);
    }
    return label;
}

void CQMVVLTTreeView::RemoveHiddenLists() {
    for (QTreeWidgetItem** slot : {&m_privates, &m_privateGroups, &m_textMessages}) {
        QTreeWidgetItem* node = *slot;
        if (!node || ListItem(KindOf(node)).IsEnabled()) {
            continue;
        }
        // The selection moves to the node above, whose view then shows.
        QTreeWidgetItem* parent = node->parent();
        const bool wasCurrent = currentItem() == node;
        if (wasCurrent) {
            SelectQuietly(parent);
        }
        *slot = nullptr;
        delete node;
        if (wasCurrent) {
            m_host.ShowView(KindOf(parent), 0);
        }
    }
}

void CQMVVLTTreeView::SelectQuietly(QTreeWidgetItem* item) {
    const bool busy = m_busy;
    m_busy = true;
    setCurrentItem(item);
    m_busy = busy;
}

void CQMVVLTTreeView::OnCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (!m_loaded || m_busy || !current) {
        return;
    }
    const NodeKind previousKind = KindOf(previous);
    const int previousPosition = PositionOf(previous);
    QTreeWidgetItem* previousParent = previous ? previous->parent() : nullptr;
    QTreeWidgetItem* parent = current->parent();
    int index = parent ? parent->indexOfChild(current) : 0;

    m_busy = true;
    const int validation = m_host.ValidateView();
    if (validation == 0) {
        if (previous) {
            setCurrentItem(previous);
        }
        m_busy = false;
        return;
    }
    QTreeWidgetItem* target = current;
    Guarded("CQMVVLTTreeView::SortTreeNode", [&] {
        const bool sameList = parent && parent == previousParent;
        if (validation == -1) {
            // The view deleted the member it showed; later members moved up by one.
            if (sameList && index > previousPosition) {
                --index;
            }
        } else if (previousKind == kKindTextMessage || IsContact(previousKind)) {
            const NodeKind listKind = ListKindOf(previousKind);
            const int moved = ListItem(listKind).ResortChild(
                previousPosition, previousKind == kKindTextMessage ? "txt" : "name", false);
            if (sameList) {
                const int e = previousPosition;
                const int l = index;
                if (e < l) {
                    index = moved < l ? l : l - 1;
                } else if (l < e) {
                    index = l >= moved ? l + 1 : l;
                }
            }
            // A member that kept its place leaves every label as it was.
            if (moved != previousPosition) {
                RefreshTreeNode(listKind);
            }
        }
        if (parent) {
            target = parent->child(index);
        }
    });
    if (target && target != currentItem()) {
        setCurrentItem(target);
    }
    m_busy = false;
    target = currentItem();
    const NodeKind kind = KindOf(target);
    Guarded("CQMVVLTTreeView::OnSelChanged", [&] {
        m_host.ShowView(kind, PositionOf(target), kind == kKindPrivate ? m_suffix : std::string());
    });
    UpdateCommandFlags();
}

void CQMVVLTTreeView::RefreshTreeNode(NodeKind listKind) {
    QTreeWidgetItem* node = ListNode(listKind);
    if (!node) {
        return;
    }
    const bool busy = m_busy;
    m_busy = true;
    const CDataItem list = ListItem(listKind);
    const NodeKind memberKind = MemberKindOf(listKind);
    const int members = list.GetChildCount();
    const std::string ownPid = memberKind == kKindPrivate ? OwnPid() : std::string();
    for (int i = 0; i < node->childCount() && i < members; ++i) {
        QTreeWidgetItem* item = node->child(i);
        const CDataItem member = list.GetChildByIndex(i);
        const QString label =
            memberKind == kKindTextMessage
                ? TextMessageLabel(ScriptToText(member.GetAttributeValue("txt")))
                : QString::fromStdString(ScriptToText(member.GetAttributeValue("name")));
        if (item->text(0) != label) {
            item->setText(0, label);
        }
        if (PositionOf(item) != i) {
            item->setData(0, kPositionRole, i);
        }
        if (memberKind == kKindPrivate) {
            SetPrivateLook(item, ScriptToText(member.GetAttributeValue("pid")) == ownPid);
        }
    }
    while (node->childCount() > members) {
        delete node->takeChild(node->childCount() - 1);
    }
    m_busy = busy;
}

void CQMVVLTTreeView::RefreshScrollNode() {
    if (m_scroll) {
        const QString label =
            Format(MessageId::kScrollCount, {std::to_string(Root().GetScrollListCount())});
        if (m_scroll->text(0) != label) {
            m_scroll->setText(0, label);
        }
    }
}

void CQMVVLTTreeView::RefreshScanChannels(int channel) {
    if (!m_scanList) {
        return;
    }
    const CDataItem root = Root();
    for (int i = 0; i < m_scanList->childCount(); ++i) {
        if (channel != 0 && channel != i + 1) {
            continue;
        }
        const QString label =
            Format(MessageId::kChannelCount,
                   {std::to_string(i + 1), std::to_string(root.GetScanListCount(i + 1))});
        if (m_scanList->child(i)->text(0) != label) {
            m_scanList->child(i)->setText(0, label);
        }
    }
}

void CQMVVLTTreeView::ResyncLabels(const ChangeNotice& notice) {
    const NoticeAction action = notice.action;
    // An add names the list; the labels follow from the kind of member it gained.
    const NodeKind kind = action != NoticeAction::kAdd             ? notice.kind
                          : notice.kind == kKindPrivateWithScanner ? kKindPrivate
                                                                   : MemberKindOf(notice.kind);
    // Adding or deleting a contact changes what the scroll list can hold.
    const bool membersChanged = action != NoticeAction::kRefresh;
    switch (kind) {
        case kKindRoot:
            for (NodeKind list :
                 {kKindTextMessages, kKindPublicGroups, kKindPrivateGroups, kKindPrivates}) {
                RefreshTreeNode(list);
            }
            RefreshScrollNode();
            RefreshScanChannels();
            break;
        case kKindTextMessage:
            RefreshTreeNode(kKindTextMessages);
            break;
        case kKindPublicGroup:
            RefreshTreeNode(kKindPublicGroups);
            if (membersChanged) {
                RefreshScrollNode();
            }
            // A new group counts only on its own channel; a rename or a delete may touch any.
            RefreshScanChannels(action == NoticeAction::kAdd
                                    ? ScriptToInt32(ListItem(kKindPublicGroups)
                                                        .GetChildByIndex(notice.position)
                                                        .GetAttributeValue("channel"))
                                    : 0);
            break;
        case kKindPrivateGroup:
            RefreshTreeNode(kKindPrivateGroups);
            if (membersChanged) {
                RefreshScrollNode();
            }
            break;
        case kKindPrivate:
            // A private's name and membership show in the group labels; a new one is in none yet.
            if (action != NoticeAction::kAdd) {
                RefreshTreeNode(kKindPrivateGroups);
            }
            RefreshTreeNode(kKindPrivates);
            if (membersChanged) {
                RefreshScrollNode();
            }
            break;
        case kKindScrollList:
            RefreshScrollNode();
            break;
        case kKindScanChannel:
            RefreshScanChannels(notice.position + 1);
            break;
        default:
            break;
    }
}

template <class F>
void CQMVVLTTreeView::Guarded(const char* context, F&& operation, int line) {
    try {
        operation();
    } catch (CQMVVLTException& e) {
        e.AddTrace(context, line, kExceptionCatched);
        m_loaded = true;
        // Show what the profile holds, whatever the failed operation got done.
        try {
            ResyncLabels({NoticeAction::kRefresh, kKindRoot});
        } catch (const CQMVVLTException&) {
        }
        m_host.ReportFailure(e);
    }
}

void CQMVVLTTreeView::OnChangeNotice(const ChangeNotice& notice) {
    const NodeKind kind = notice.kind;
    const int position = notice.position;
    if (notice.action == NoticeAction::kAdd) {
        AddNewItem(kind);
    } else if (notice.action == NoticeAction::kDelete) {
        DelItem(kind, position);
    } else if (notice.action == NoticeAction::kRefresh) {
        Guarded("CQMVVLTTreeView::RefreshTreeNode", [&] { ResyncLabels(notice); });
    }
}

void CQMVVLTTreeView::AddNewItem(NodeKind kind) {
    // Only a list takes a new member (a private added with the scanner goes to the privates).
    const NodeKind listKind =
        kind == kKindPrivateWithScanner ? kKindPrivates : ListKindOf(MemberKindOf(kind));
    QTreeWidgetItem* node = ListNode(listKind);
    if (!node) {
        return;
    }
    QTreeWidgetItem* added = nullptr;
    Guarded("CQMVVLTTreeView::AddNewItem", [&] {
        CDataItem list = ListItem(listKind);
        if (!list.CanAddChild()) {
            return;
        }
        std::optional<CDataItem> member;
        if (listKind == kKindPrivates) {
            m_suffix =
                " " + LoadString(kind == kKindPrivateWithScanner ? MessageId::kAddWithScanner
                                                                 : MessageId::kAddWithoutScanner);
            member = list.AddNewPriGrpPrivate(LoadString(MessageId::kPrivate));
        } else if (listKind == kKindPrivateGroups) {
            member = list.AddNewPriGrpPrivate(LoadString(MessageId::kGroup));
        } else {
            member = list.AddNewChild();
        }
        if (!member) {
            m_suffix.clear();
            return;
        }
        const int position = node->childCount();
        added = NewItem(node, QString(), MemberKindOf(listKind), position);
        ResyncLabels({NoticeAction::kAdd, listKind, position});
        m_host.MarkModified();
        m_host.DescribeChange(
            CStringTable::Instance().Format(MessageId::kUndoAdd, {added->text(0).toStdString()}));
    });
    if (!added) {
        return;
    }
    node->setExpanded(true);
    setCurrentItem(added);
    m_suffix.clear();
    if (currentItem() == added) {
        m_host.PostFocusFirstField(kind);
    }
}

void CQMVVLTTreeView::DelItem(NodeKind kind, int position) {
    const NodeKind listKind = ListKindOf(kind);
    QTreeWidgetItem* node = ListNode(listKind);
    if (!node) {
        return;
    }
    Guarded("CQMVVLTTreeView::DelItem", [&] {
        CDataItem list = ListItem(listKind);
        const QTreeWidgetItem* member = node->child(position);
        const std::string label = member ? member->text(0).toStdString() : std::string();
        RuleResult removed = list.RemoveChildByIndex(position);
        if ((kind == kKindPrivateGroup || kind == kKindPrivate) && removed.result == 2) {
            if (m_host.Ui().ShowMessage(LoadString(removed.messageId), removed.style) !=
                MessageStyle::kIdOk) {
                return;
            }
            removed = list.RemoveChildByIndex(position, MessageStyle::kIdOk);
        }
        if (removed.result != 0) {
            return;
        }
        const CurrentNode shown = m_host.Current();
        const bool shownWasDeleted = !m_busy && shown.kind == kind && shown.position == position;
        const bool busy = m_busy;
        m_busy = true;
        ResyncLabels({NoticeAction::kDelete, kind, position});
        m_host.MarkModified();
        m_host.DescribeChange(CStringTable::Instance().Format(MessageId::kUndoDelete, {label}));
        if (shownWasDeleted) {
            setCurrentItem(node);
            m_host.ShowView(listKind, 0);
        }
        // A list the model does not support is shown only while it holds members.
        RemoveHiddenLists();
        m_busy = busy;
    });
    UpdateCommandFlags();
}

bool CQMVVLTTreeView::CommitRename(QTreeWidgetItem* item, const QString& text) {
    const NodeKind kind = KindOf(item);
    if (!IsContact(kind)) {
        return false;
    }
    const int position = PositionOf(item);
    bool accepted = false;
    Guarded("CQMVVLTTreeView::OnEndLabelEdit", [&] {
        CDataItem contact = ListItem(ListKindOf(kind)).GetChildByIndex(position);
        const RuleResult stored = contact.SetAttributeValue("name", ScriptText(text.toStdString()));
        if (stored.result == 0) {
            accepted = true;
            m_host.MarkModified();
            m_host.NotifyAllViews({NoticeAction::kRefresh, kind, position});
        } else {
            m_host.Ui().ShowMessage(LoadString(stored.messageId), stored.style);
        }
    });
    return accepted;
}

bool CQMVVLTTreeView::FinishLabelEdit() {
    if (state() != QAbstractItemView::EditingState) {
        return true;
    }
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor) {
        return true;
    }
    const QString text = editor->text();
    QTreeWidgetItem* item = currentItem();
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    setFocus(Qt::OtherFocusReason);
    return text.isEmpty() || (item && item->text(0) == text);
}

void CQMVVLTTreeView::AddForSelected() {
    AddNewItem(KindOf(currentItem()));
}

void CQMVVLTTreeView::ScanAdd() {
    AddNewItem(kKindPrivateWithScanner);
}

void CQMVVLTTreeView::DeleteSelected() {
    QTreeWidgetItem* item = currentItem();
    const NodeKind kind = KindOf(item);
    if (kind == kKindTextMessage || IsContact(kind)) {
        DelItem(kind, PositionOf(item));
    }
}

void CQMVVLTTreeView::RenameSelected() {
    QTreeWidgetItem* item = currentItem();
    if (item && IsContact(KindOf(item))) {
        setFocus(Qt::OtherFocusReason);
        editItem(item);
    }
}

void CQMVVLTTreeView::UpdateCommandFlags() {
    const NodeKind kind = KindOf(currentItem());
    bool add = false;
    bool scanAdd = false;
    bool del = false;
    bool rename = false;
    Guarded("CQMVVLTTreeView::UpdateCommandFlags", [&] {
        switch (kind) {
            case kKindTextMessages:
            case kKindPublicGroups:
            case kKindPrivateGroups:
                add = ListItem(kind).CanAddChild();
                break;
            case kKindPrivates:
                add = scanAdd = ListItem(kind).CanAddChild();
                break;
            case kKindTextMessage:
                del = true;
                break;
            case kKindPublicGroup:
            case kKindPrivateGroup:
            case kKindPrivate:
                del = rename = true;
                break;
            default:
                break;
        }
    });
    SetCommandState({add, scanAdd, del, rename});
}

void CQMVVLTTreeView::SetCommandState(const CCommandState& state) {
    if (state == m_commands) {
        return;
    }
    m_commands = state;
    emit commandStateChanged();
}

void CQMVVLTTreeView::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    if (m_loaded) {
        UpdateCommandFlags();
    }
}

void CQMVVLTTreeView::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    // A context menu or the label editor takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason && state() != QAbstractItemView::EditingState) {
        SetCommandState({});
    }
}

void CQMVVLTTreeView::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu is for the selected item and opens at its label; the event's
    // position is merely the middle of the widget.
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    QTreeWidgetItem* item =
        fromKeyboard ? currentItem() : itemAt(viewport()->mapFrom(this, event->pos()));
    if (!item) {
        return;
    }
    if (item != currentItem()) {
        setCurrentItem(item);
        if (currentItem() != item) {
            return;
        }
    }
    UpdateCommandFlags();
    const CCommandState& state = m_commands;
    QMenu menu(this);
    menu.addAction(Text(MessageId::kAddMenu), this, &CQMVVLTTreeView::AddForSelected)
        ->setEnabled(state.CanAdd());
    menu.addAction(Text(MessageId::kScanAddMenu), this, &CQMVVLTTreeView::ScanAdd)
        ->setEnabled(state.CanScanAdd());
    menu.addAction(Text(MessageId::kDeleteMenu), this, &CQMVVLTTreeView::DeleteSelected)
        ->setEnabled(state.CanDelete());
    menu.addAction(Text(MessageId::kRenameMenu), this, &CQMVVLTTreeView::RenameSelected)
        ->setEnabled(state.CanRename());
    menu.exec(fromKeyboard ? viewport()->mapToGlobal(visualItemRect(item).bottomLeft())
                           : event->globalPos());
}

void CQMVVLTTreeView::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 asks for the context menu as the menu key does; the platform turns only the
    // latter into a context menu event.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier &&
        state() != QAbstractItemView::EditingState) {
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, rect().center(),
                                    mapToGlobal(rect().center()));
        contextMenuEvent(&menuEvent);
        return;
    }
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        DeleteSelected();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
