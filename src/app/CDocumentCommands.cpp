#include "CDocumentCommands.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "CAppSettings.h"
#include "CChildFrame.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CRecentFiles.h"
#include "CReportOptionDlg.h"
#include "DialogText.h"
#include "IAppUi.h"
#include "ICommandHost.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"

namespace {

constexpr const char* kLam = ".lam";

}  // namespace

QString CDocumentCommands::FileFilter() {
    return QStringLiteral("%1 %2 (*%3);;%4 (*)")
        .arg(QString::fromLatin1(kApplicationName), DialogText(MessageId::kFiles),
             QLatin1String(kLam), DialogText(MessageId::kAllFiles));
}

bool CDocumentCommands::IsProfile(const QUrl& url) {
    return url.isLocalFile() &&
           url.toLocalFile().endsWith(QLatin1String(kLam), Qt::CaseInsensitive);
}

CChildFrame* CDocumentCommands::FrameFor(const std::filesystem::path& canonical) const {
    for (CChildFrame* frame : m_host.Frames()) {
        std::error_code ec;
        const auto& path = frame->Document().Path();
        if (!path.empty() && std::filesystem::weakly_canonical(path, ec) == canonical) {
            return frame;
        }
    }
    return nullptr;
}

bool CDocumentCommands::Open(const std::string& path) {
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    if (ec) {
        canonical = path;
    }
    if (CChildFrame* open = FrameFor(canonical)) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget()); sub && sub->mdiArea()) {
            sub->mdiArea()->setActiveSubWindow(sub);
        }
        return true;
    }
    auto document =
        std::make_unique<CQMVVLTDoc>(m_host.Settings(), m_host.InstallPath(), m_host.Ui());
    if (!document->Open(canonical)) {
        return false;
    }
    m_host.AddFrame(std::move(document));
    CRecentFiles::Add(canonical.string());
    return true;
}

void CDocumentCommands::AskAndOpen() {
    if (const auto path = m_host.Ui().AskOpenPath(FileFilter())) {
        Open(*path);
    }
}

bool CDocumentCommands::New() {
    const auto name = m_host.Ui().AskTemplate(m_host.InstallPath());
    if (!name) {
        return false;
    }
    auto document =
        std::make_unique<CQMVVLTDoc>(m_host.Settings(), m_host.InstallPath(), m_host.Ui());
    if (!document->NewFromTemplate(*name)) {
        return false;
    }
    m_host.AddFrame(std::move(document));
    return true;
}

bool CDocumentCommands::NewFromImage(const CVirtualCodeplug& image) {
    auto document =
        std::make_unique<CQMVVLTDoc>(m_host.Settings(), m_host.InstallPath(), m_host.Ui());
    if (!document->NewFromVirtualCP(image)) {
        return false;
    }
    m_host.AddFrame(std::move(document));
    return true;
}

bool CDocumentCommands::Replace(CChildFrame& frame, const CVirtualCodeplug& image) {
    try {
        frame.DescribeChange(LoadString(MessageId::kUndoRead));
        // The window follows the replaced profile by itself.
        frame.Document().SetVirtualCPData(image);
        frame.Document().SetModified(true);
    } catch (const CQMVVLTException& e) {
        m_host.Ui().ShowError(e.Code(), e.Trace());
        return false;
    }
    return true;
}

void CDocumentCommands::Report() {
    CChildFrame* frame = m_host.ActiveFrame();
    if (!frame || !frame->CommitPendingInput()) {
        return;
    }
    // The report shows the profile as it now is; the tree says the same.
    frame->ResyncLabels();
    try {
        CReportOptionDlg dialog(frame->Document(), m_host.InstallPath(),
                                CReportOptionDlg::UserPageFolder(), m_host.Ui(), m_host.Window());
        dialog.exec();
    } catch (const CQMVVLTException& e) {
        m_host.Ui().ShowError(e.Code(), e.Trace());
    }
}

bool CDocumentCommands::Save(CChildFrame& frame) {
    if (!frame.CommitPendingInput()) {
        return false;
    }
    if (frame.Document().Path().empty()) {
        return SaveAs(frame);
    }
    const bool saved = frame.Document().Save();
    frame.SyncModified();
    if (saved) {
        CRecentFiles::Add(frame.Document().Path().string());
    }
    return saved;
}

bool CDocumentCommands::SaveAs(CChildFrame& frame) {
    if (!frame.CommitPendingInput()) {
        return false;
    }
    const auto path =
        m_host.Ui().AskSavePath(frame.Document().ProposedSaveName().string(), FileFilter());
    if (!path) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = frame.Document().Save(*path);
    QApplication::restoreOverrideCursor();
    frame.SyncModified();
    if (saved) {
        CRecentFiles::Add(frame.Document().Path().string());
    }
    return saved;
}

bool CDocumentCommands::MaybeSave(CChildFrame& frame) {
    if (!frame.Document().IsModified()) {
        return true;
    }
    QString name = frame.DisplayName();
    name.remove(QStringLiteral("[*]"));
    switch (m_host.Ui().AskSaveChanges(name)) {
        case MessageStyle::kIdNo:
            return true;
        case MessageStyle::kIdYes:
            return Save(frame);
        default:
            return false;
    }
}

void CDocumentCommands::OpenDropped(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (IsProfile(url)) {
            Open(url.toLocalFile().toStdString());
        }
    }
}
