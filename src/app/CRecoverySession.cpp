#include "CRecoverySession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>
#include <map>
#include <system_error>
#include <vector>

#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CQMVVLTDoc.h"
#include "CRecoveryCopy.h"
#include "CRecoveryRecord.h"
#include "IAppUi.h"
#include "RecoveredFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCopyExtension = ".recovery";
constexpr const char* kLockExtension = ".lock";

// A lock that counts as held only while the program that took it runs (a dead one's is stale at
// once, however young).
std::unique_ptr<QLockFile> TakeLock(const fs::path& file) {
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(file.string()));
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}

// "<session>-<n>.recovery" and "<session>.lock" name their session.
std::string SessionOf(const fs::path& file) {
    const std::string stem = file.stem().string();
    return file.extension() == kCopyExtension ? stem.substr(0, stem.rfind('-')) : stem;
}

}  // namespace

CRecoverySession::CRecoverySession(CMainFrame& window)
    : m_window(window), m_folder(RecoveredFolder()) {
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    m_name = QStringLiteral("session-%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QDateTime::currentMSecsSinceEpoch());
    // Without its lock this program's copies would look abandoned to the next start: it keeps
    // none then.
    m_lock = TakeLock(m_folder / (m_name.toStdString() + kLockExtension));
    connect(&window, &CMainFrame::frameAdded, this, &CRecoverySession::Track);
    for (CChildFrame* frame : window.Frames()) {
        Track(frame);
    }
}

CRecoverySession::~CRecoverySession() = default;

void CRecoverySession::Track(CChildFrame* frame) {
    if (m_lock) {
        new CRecoveryCopy(*frame, m_folder / (m_name.toStdString() + "-" +
                                              std::to_string(++m_copies) + kCopyExtension));
    }
}

void CRecoverySession::OfferLeftCopies() {
    // A session whose lock this program can take has ended. Its lock stays taken until its copies
    // are dealt with, so that a program starting meanwhile leaves them alone; releasing it removes
    // the lock file.
    std::map<std::string, std::unique_ptr<QLockFile>> sessions;
    std::vector<std::pair<fs::path, CRecoveryRecord>> left;
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(m_folder, ec)) {
        const fs::path& file = entry.path();
        if (file.extension() == kCopyExtension || file.extension() == kLockExtension) {
            files.push_back(file);
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const std::string session = SessionOf(file);
        if (session == m_name.toStdString()) {
            continue;
        }
        auto it = sessions.find(session);
        if (it == sessions.end()) {
            it = sessions.emplace(session, TakeLock(m_folder / (session + kLockExtension))).first;
        }
        if (!it->second || file.extension() != kCopyExtension) {
            continue;
        }
        if (auto record = CRecoveryRecord::Read(file)) {
            left.emplace_back(file, std::move(*record));
        }
    }
    if (left.empty()) {
        return;
    }
    std::vector<std::string> names;
    for (const auto& [file, record] : left) {
        names.push_back(!record.path.empty()    ? record.path.string()
                        : !record.title.empty() ? record.title
                                                : CChildFrame::UntitledName().toStdString());
    }
    if (!m_window.Ui().AskRestoreUnsaved(names)) {
        for (const auto& [file, record] : left) {
            fs::remove(file, ec);
        }
        return;
    }
    for (const auto& [file, record] : left) {
        auto document = std::make_unique<CQMVVLTDoc>(m_window.Settings(), m_window.InstallPath(),
                                                     m_window.Ui());
        if (!document->OpenRecovered(record)) {
            continue;  // the user was told why; the copy stays for another try
        }
        CChildFrame* frame = m_window.AddFrame(std::move(document));
        if (!frame) {
            continue;
        }
        // The restored window's own copy takes the old one's place, so no moment lacks a copy.
        const CRecoveryCopy* copy = frame->findChild<CRecoveryCopy*>();
        if (copy) {
            fs::rename(file, copy->File(), ec);
        }
        if (!copy || ec) {
            fs::remove(file, ec);
        }
    }
}
