#include "CChildFrame.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "CAppSettings.h"
#include "CBaseView.h"
#include "CHelpPane.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CQMVVLTTreeView.h"
#include "CViewFactory.h"
#include "IFrameOwner.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"

namespace {
// The tree pane's width at the start, and how far long labels may widen it.
constexpr int kTreePaneWidth = 200;
constexpr int kTreePaneMaxWidth = 340;
}  // namespace

CChildFrame::CChildFrame(std::unique_ptr<CQMVVLTDoc> document, const CAppSettings& settings,
                         const std::filesystem::path& helpFolder, IViewUi& ui, IFrameOwner& owner,
                         QWidget* parent)
    : QWidget(parent),
      m_document(std::move(document)),
      m_settings(settings),
      m_ui(ui),
      m_owner(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    static int untitledCount = 0;
    m_untitledNumber = ++untitledCount;
    m_split = new QSplitter(Qt::Horizontal, this);
    m_tree = new CQMVVLTTreeView(*this, m_split);
    m_right = new QSplitter(Qt::Vertical, m_split);
    m_viewHolder = new QWidget(m_right);
    auto* holderLayout = new QVBoxLayout(m_viewHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_help = new CHelpPane(m_settings.HelpPane(), helpFolder, m_right);
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
    // Every change of the document's modified flag (edits, saves, a radio read) shows in [*].
    m_document->SetModifiedCallback([this](bool) { SyncModified(); });
}

CChildFrame::~CChildFrame() {
    m_document->SetModifiedCallback({});
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
        // An untitled profile: the document name of the template string and a number.
        name = QString::fromStdString(LoadString(MessageId::kDocumentTemplate))
                   .section(QLatin1Char('\n'), 1, 1) +
               QString::number(m_untitledNumber);
    }
    return name + QStringLiteral("[*]");
}

void CChildFrame::SyncModified() {
    setWindowTitle(DisplayName());
    setWindowModified(m_document->IsModified());
    m_owner.FrameChanged(*this);
}

void CChildFrame::MarkModified() {
    m_document->SetModified(true);
}

void CChildFrame::NotifyAllViews(int hint) {
    m_tree->OnChangeNotice(hint);
    if (m_view) {
        m_view->OnChangeNotice(hint);
    }
}

void CChildFrame::ReportProfileDataError() {
    m_ui.ShowMessage(LoadString(MessageId::kProfileDataError), MessageStyle::kOk);
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
        if (e.Code() == MessageId::kProfileDataError) {
            ReportProfileDataError();
        } else {
            m_ui.ShowMessage(LoadString(e.Code()), MessageStyle::kOk);
        }
        return 0;
    }
}

void CChildFrame::ShowView(int kind, int position, const std::string& suffix) {
    m_current = {kind, position};
    if (m_view) {
        // The old view may be the one whose button led here: delete it once that has returned.
        m_view->hide();
        m_view->setParent(nullptr);
        m_view->deleteLater();
        m_view = nullptr;
    }
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
        if (e.Code() == MessageId::kProfileDataError) {
            ReportProfileDataError();
        } else {
            m_ui.ShowMessage(LoadString(e.Code()), MessageStyle::kOk);
        }
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
    if (m_closingUnasked || m_owner.MaybeSave(*this)) {
        event->accept();
    } else {
        event->ignore();
    }
}
