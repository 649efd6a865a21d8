#include "CChildFrame.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "CAppSettings.h"
#include "CBaseView.h"
#include "CHelpPane.h"
#include "CProfileUndoStack.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CQMVVLTTreeView.h"
#include "CTreeFindBar.h"
#include "CViewFactory.h"
#include "IFrameOwner.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"
#include "TreeFilter.h"

namespace {

QString Format(int id, const QString& arg) {
    return QString::fromStdString(CStringTable::Instance().Format(id, {arg.toStdString()}));
}

// Where a tree node is: kind, position and label of it and each node above it.
struct NodeStep {
    int kind;
    int position;
    QString label;
};

std::vector<NodeStep> PathOf(QTreeWidgetItem* item) {
    std::vector<NodeStep> path;
    for (; item; item = item->parent()) {
        path.insert(path.begin(), {CQMVVLTTreeView::KindOf(item), CQMVVLTTreeView::PositionOf(item),
                                   item->text(0)});
    }
    return path;
}

// The node at path, or the deepest one of it that still exists. A member is found by its label
// first (others may have come or gone before it), else by its position (it was renamed).
QTreeWidgetItem* FindPath(QTreeWidget& tree, const std::vector<NodeStep>& path) {
    QTreeWidgetItem* found = nullptr;
    for (const NodeStep& step : path) {
        QTreeWidgetItem* byLabel = nullptr;
        QTreeWidgetItem* byPosition = nullptr;
        const int count = found ? found->childCount() : tree.topLevelItemCount();
        for (int i = 0; i < count && !byLabel; ++i) {
            QTreeWidgetItem* child = found ? found->child(i) : tree.topLevelItem(i);
            if (CQMVVLTTreeView::KindOf(child) != step.kind) {
                continue;
            }
            if (child->text(0) == step.label) {
                byLabel = child;
            } else if (!byPosition && CQMVVLTTreeView::PositionOf(child) == step.position) {
                byPosition = child;
            }
        }
        QTreeWidgetItem* next = byLabel ? byLabel : byPosition;
        if (!next) {
            break;
        }
        found = next;
    }
    return found;
}

// The expanded nodes that are not list members, by kind and position.
using NodeRef = std::pair<NodeKind, int>;
NodeRef RefOf(const QTreeWidgetItem* item) {
    return {CQMVVLTTreeView::KindOf(item), CQMVVLTTreeView::PositionOf(item)};
}
std::set<NodeRef> ExpandedNodes(QTreeWidget& tree) {
    std::set<NodeRef> expanded;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        if ((*it)->isExpanded()) {
            expanded.insert(RefOf(*it));
        }
    }
    return expanded;
}

}  // namespace

struct CChildFrame::KeptPlace {
    std::vector<NodeStep> path;
    std::set<NodeRef> expanded;
};

namespace {

// The tree pane's width at the start, and how far long labels may widen it.
constexpr int kTreePaneWidth = 200;
constexpr int kTreePaneMaxWidth = 340;
}  // namespace

CChildFrame::CChildFrame(std::unique_ptr<CQMVVLTDoc> document, const CAppSettings& settings,
                         std::vector<std::filesystem::path> helpFolders, IViewUi& ui,
                         IFrameOwner& owner, QWidget* parent)
    : QWidget(parent),
      m_document(std::move(document)),
      m_settings(settings),
      m_ui(ui),
      m_owner(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    static int untitledCount = 0;
    m_untitledNumber = ++untitledCount;
    m_split = new QSplitter(Qt::Horizontal, this);
    auto* treePane = new QWidget(m_split);
    auto* treeLayout = new QVBoxLayout(treePane);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(0);
    m_find = new CTreeFindBar(treePane);
    m_tree = new CQMVVLTTreeView(*this, treePane);
    treeLayout->addWidget(m_find);
    treeLayout->addWidget(m_tree, 1);
    setTabOrder(m_find, m_tree);
    connect(m_tree, &CQMVVLTTreeView::commandStateChanged, this, &CChildFrame::commandStateChanged);
    connect(m_find, &CTreeFindBar::textChanged, this, &CChildFrame::ApplyFilter);
    connect(m_find, &CTreeFindBar::leaveRequested, this,
            [this] { m_tree->setFocus(Qt::OtherFocusReason); });
    m_right = new QSplitter(Qt::Vertical, m_split);
    m_viewHolder = new QWidget(m_right);
    auto* holderLayout = new QVBoxLayout(m_viewHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_help = new CHelpPane(m_settings.HelpPane(), std::move(helpFolders), m_right);
    m_help->hide();
    m_right->setCollapsible(0, true);
    // The help pane keeps its height when the window is resized; the view takes the rest.
    m_right->setStretchFactor(0, 1);
    m_right->setStretchFactor(1, 0);
    m_split->setStretchFactor(1, 1);
    m_split->setSizes({kTreePaneWidth, 600});
    connect(m_right, &QSplitter::splitterMoved, this, [this] {
        if (m_help->isVisible()) {
            m_helpHeight = m_right->sizes().value(1, m_helpHeight);
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_split);
    setFocusProxy(m_tree);
    m_undo = new CProfileUndoStack(
        *m_document, [this](const CProfileSnapshot& snapshot) { RestoreProfile(snapshot); },
        [this] { return DescribeShownNode(); }, this);
    connect(m_undo, &CProfileUndoStack::changed, this, &CChildFrame::undoStateChanged);
    // Every change of the document's modified flag (edits, saves, a radio read) shows in [*]; a
    // save makes the present state the clean one of the undo history.
    m_document->SetModifiedCallback([this](bool modified) {
        if (!modified) {
            m_undo->DocumentSaved();
        }
        SyncModified();
    });
    m_document->SetChangeCallback([this] {
        m_undo->NoteChange();
        ScheduleFilter();
    });
    m_document->SetReplaceCallbacks([this] { ProfileReplacing(); }, [this] { ProfileReplaced(); });
}

CChildFrame::~CChildFrame() {
    m_document->SetModifiedCallback({});
    m_document->SetChangeCallback({});
    m_document->SetReplaceCallbacks({}, {});
    // The view talks to this frame from its event handlers; closing the window in the base
    // destructor moves the focus, so the view goes while the frame is still whole. The tree,
    // which the base destructor deletes later, then clears its commands on losing the focus: that
    // must no longer reach this half-gone frame.
    delete m_view;
    disconnect(m_tree, nullptr, this, nullptr);
}

void CChildFrame::InitialUpdate() {
    m_tree->Build();
    // The tree pane starts wide enough for its longest label (translations run up to a third
    // longer than English), within a limit that leaves the view its room.
    const int labels = static_cast<QAbstractItemView*>(m_tree)->sizeHintForColumn(0) +
                       2 * m_tree->frameWidth() + m_tree->verticalScrollBar()->sizeHint().width();
    const int tree = std::clamp(labels, kTreePaneWidth, kTreePaneMaxWidth);
    const QList<int> sizes = m_split->sizes();
    m_split->setSizes({tree, std::max(sizes.value(0) + sizes.value(1) - tree, 600)});
    SyncModified();
}

QString CChildFrame::DisplayName() const {
    const auto& path = m_document->Path();
    QString name = path.empty() ? QString::fromStdString(m_document->Title())
                                : QFileInfo(QString::fromStdString(path.string())).fileName();
    if (name.isEmpty()) {
        // An untitled profile: the document name and a number.
        name = UntitledName() + QString::number(m_untitledNumber);
    }
    return name + QStringLiteral("[*]");
}

QString CChildFrame::UntitledName() {
    // The document name of the template string.
    return QString::fromStdString(LoadString(MessageId::kDocumentTemplate))
        .section(QLatin1Char('\n'), 1, 1);
}

void CChildFrame::SyncModified() {
    setWindowTitle(DisplayName());
    setWindowModified(m_document->IsModified());
    m_owner.FrameChanged(*this);
}

void CChildFrame::MarkModified() {
    m_document->SetModified(true);
}

void CChildFrame::DescribeChange(const std::string& description) {
    m_undo->Describe(QString::fromStdString(description));
}

void CChildFrame::NotifyAllViews(const ChangeNotice& notice) {
    // A contact whose label the notice changes was renamed, wherever the new name was typed.
    QTreeWidgetItem* list = nullptr;
    QString before;
    if (notice.action == NoticeAction::kRefresh && IsContact(notice.kind)) {
        list = m_tree->ListNode(ListKindOf(notice.kind));
        if (QTreeWidgetItem* item = list ? list->child(notice.position) : nullptr) {
            before = item->text(0);
        }
    }
    m_tree->OnChangeNotice(notice);
    if (list) {
        QTreeWidgetItem* item = list->child(notice.position);
        if (item && item->text(0) != before) {
            m_undo->Describe(Format(MessageId::kUndoRename, item->text(0)));
        }
    }
    if (m_view) {
        m_view->OnChangeNotice(notice);
    }
    ScheduleFilter();
}

QString CChildFrame::DescribeShownNode() const {
    switch (m_current.kind) {
        case kKindSettings:
            return QString::fromStdString(LoadString(MessageId::kUndoSettings));
        case kKindTextMessages:
        case kKindTextMessage:
            return QString::fromStdString(LoadString(MessageId::kUndoTextMessage));
        case kKindLists:
        case kKindScrollList:
        case kKindScanList:
        case kKindScanChannel:
            return QString::fromStdString(LoadString(MessageId::kUndoLists));
        case kKindPublicGroup:
        case kKindPrivateGroup:
        case kKindPrivate:
            if (const QTreeWidgetItem* item = m_tree->currentItem();
                item && CQMVVLTTreeView::KindOf(item) == m_current.kind) {
                return Format(MessageId::kUndoEditNamed, item->text(0));
            }
            return {};
        default:
            return {};
    }
}

bool CChildFrame::CommitPendingInput() {
    return m_tree->FinishLabelEdit() && ValidateView() != 0;
}

const CCommandState& CChildFrame::CommandState() const {
    return m_tree->CommandState();
}

void CChildFrame::AddForSelected() {
    m_tree->AddForSelected();
}

void CChildFrame::ScanAdd() {
    if (CommitPendingInput()) {
        FocusTree();
        m_tree->ScanAdd();
    }
}

void CChildFrame::DeleteSelected() {
    m_tree->DeleteSelected();
}

void CChildFrame::RenameSelected() {
    m_tree->RenameSelected();
}

void CChildFrame::FocusTree() {
    m_tree->setFocus(Qt::OtherFocusReason);
}

void CChildFrame::Undo() {
    if (CommitPendingInput()) {
        m_undo->Undo();
    }
}

void CChildFrame::Redo() {
    if (CommitPendingInput()) {
        m_undo->Redo();
    }
}

void CChildFrame::RestoreProfile(const CProfileSnapshot& snapshot) {
    try {
        m_document->RestoreSnapshot(snapshot);
    } catch (const CQMVVLTException& e) {
        ReportFailure(e);
    }
}

void CChildFrame::ProfileReplacing() {
    m_kept = std::make_unique<KeptPlace>(
        KeptPlace{PathOf(m_tree->currentItem()), ExpandedNodes(*m_tree)});
    // The shown view holds data items of the profile being replaced: it goes before the profile
    // does, the focus first, so that none of its handlers runs afterwards.
    m_tree->setFocus(Qt::OtherFocusReason);
    DropView();
}

void CChildFrame::ProfileReplaced() {
    const std::unique_ptr<KeptPlace> kept = std::move(m_kept);
    try {
        m_tree->Build();
    } catch (const CQMVVLTException& e) {
        ReportFailure(e);
        return;
    }
    if (!kept) {
        return;
    }
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->childCount() > 0) {
            (*it)->setExpanded(kept->expanded.contains(RefOf(*it)));
        }
    }
    if (QTreeWidgetItem* target = FindPath(*m_tree, kept->path);
        target && target != m_tree->currentItem()) {
        // Through the tree's own selection change: the node's view shows.
        m_tree->setCurrentItem(target);
    }
    m_tree->scrollToItem(m_tree->currentItem());
    ApplyFilter();
}

void CChildFrame::ActivateFind() {
    m_find->Activate();
}

void CChildFrame::ResyncLabels() {
    m_tree->ResyncLabels({NoticeAction::kRefresh, kKindRoot});
}

void CChildFrame::ScheduleFilter() {
    if (m_filterScheduled || m_find->Text().isEmpty()) {
        return;
    }
    m_filterScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_filterScheduled = false;
        ApplyFilter();
    });
}

void CChildFrame::ApplyFilter() {
    try {
        m_find->ShowCount(FilterProfileTree(*m_tree, m_find->Text()));
    } catch (const CQMVVLTException& e) {
        ReportFailure(e);
    }
}

void CChildFrame::ReportFailure(const CQMVVLTException& e) {
    if (e.Code() == MessageId::kProfileDataError) {
        ReportProfileDataError();
    } else {
        m_ui.ShowMessage(LoadString(e.Code()), MessageStyle::kOk);
    }
}

void CChildFrame::ReportProfileDataError() {
    // The profile's file must not be overwritten with inconsistent data, but the user's changes
    // are not thrown away either.
    const std::optional<std::filesystem::path> kept =
        m_document->IsModified() ? m_document->KeepUnsaved() : std::nullopt;
    m_ui.ShowMessage(
        kept ? CStringTable::Instance().Format(MessageId::kProfileDataErrorKeptIn, {kept->string()})
             : LoadString(MessageId::kProfileDataError),
        MessageStyle::kOk);
    m_document->SetModified(false);
    // Closed once the operation that found the error has unwound.
    QTimer::singleShot(0, this, &CChildFrame::CloseWithoutSaving);
}

void CChildFrame::CloseWithoutSaving() {
    m_closingUnasked = true;
    if (QWidget* window = parentWidget()) {
        window->close();
    } else {
        close();
    }
}

int CChildFrame::ValidateView() {
    if (!m_view) {
        return 1;
    }
    try {
        return m_view->ValidateCurrentItem();
    } catch (const CQMVVLTException& e) {
        ReportFailure(e);
        return 0;
    }
}

void CChildFrame::DropView() {
    if (m_view) {
        // The old view may be the one whose button led here: delete it once that has returned.
        m_view->hide();
        m_view->setParent(nullptr);
        m_view->deleteLater();
        m_view = nullptr;
    }
}

void CChildFrame::ShowView(int kind, int position, const std::string& suffix) {
    m_current = {kind, position};
    DropView();
    // Leaving a node re-sorts its list, which relabels the tree's items in place.
    ScheduleFilter();
    m_help->ShowBlank();
    CBaseView* view = CViewFactory::Create(kind, *this, m_viewHolder);
    if (!view) {
        return;
    }
    view->SetCaptionSuffix(suffix);
    try {
        view->InitialUpdate();
    } catch (const CQMVVLTException& e) {
        delete view;
        ReportFailure(e);
        return;
    }
    m_view = view;
    m_viewHolder->layout()->addWidget(view);
    view->show();
}

void CChildFrame::PostFocusFirstField(int kind) {
    QTimer::singleShot(0, this, [this, kind] {
        if (m_view) {
            m_view->FocusFirstField(kind);
        }
    });
}

void CChildFrame::ControlFocused(const std::string& viewClass, int ctrlId) {
    if (m_help->isVisible()) {
        m_help->ShowFor(viewClass, ctrlId);
    }
}

void CChildFrame::SetStatusText(const std::string& text) {
    emit statusTextChanged(QString::fromStdString(text));
}

void CChildFrame::SetHelpPaneShown(bool shown) {
    if (shown == HelpPaneShown()) {
        return;
    }
    if (!shown) {
        m_helpHeight = m_right->sizes().value(1, m_helpHeight);
        m_help->hide();
        return;
    }
    m_help->ShowBlank();
    m_help->show();
    const int total = std::max(m_right->height(), 1);
    const int help = std::min(m_helpHeight, total);
    m_right->setSizes({total - help, help});
}

bool CChildFrame::HelpPaneShown() const {
    return !m_help->isHidden();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    // Every way of closing ends here: the Close command, the window's and its tab's buttons.
    if (!m_owner.MayClose(*this)) {
        event->ignore();
        return;
    }
    if (m_closingUnasked || m_owner.MaybeSave(*this)) {
        event->accept();
    } else {
        event->ignore();
    }
}
