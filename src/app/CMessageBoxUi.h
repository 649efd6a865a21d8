#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "IAppUi.h"

// The desktop's answers: message boxes and file dialogs, always with the main window as parent.
class CMessageBoxUi : public IAppUi {
  public:
    explicit CMessageBoxUi(QWidget* parent) : m_parent(parent) {}

    bool AskYesNo(int messageId) override;
    void ShowError(int messageId, const std::string& detail) override;
    int ShowMessage(const std::string& text, int style) override;
    void Inform(int messageId, const std::string& detail = {}) override;
    std::optional<std::string> AskOpenPath(const QString& filter) override;
    std::optional<std::string> AskSavePath(const std::string& proposed,
                                           const QString& filter) override;
    int AskSaveChanges(const QString& documentName) override;
    std::optional<std::string> AskTemplate(const std::filesystem::path& installPath) override;
    bool OpenUrl(const QUrl& url) override;
    bool AskRestoreUnsaved(const std::vector<std::string>& profiles) override;
    std::optional<std::string> ReadPrivateId() override;
    // Who captures a PID for the views (the main window's radio commands).
    void SetPidReader(std::function<std::optional<std::string>()> reader) {
        m_pidReader = std::move(reader);
    }

  private:
    QPointer<QWidget> m_parent;
    std::function<std::optional<std::string>()> m_pidReader;
};
