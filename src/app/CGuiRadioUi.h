#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "CTransferContext.h"
#include "IRadioCommandUi.h"

class IAppUi;

// The radio commands' front end in the window: the transfers in a transfer dialog, the short reads
// before them on a worker while the window keeps responding, questions and messages through the
// program's answers (IAppUi), the password in the password dialog.
class CGuiRadioUi : public IRadioCommandUi {
  public:
    CGuiRadioUi(QWidget* parent, IAppUi& ui, CTransferContext& context,
                std::function<void(const QString&)> setPane);

    // The port the command uses, shown again in the status bar when a transfer ends.
    void SetPort(QString port) { m_port = std::move(port); }
    // > 0: the number of this radio in a series of writes.
    void SetSeriesCount(int count) { m_seriesCount = count; }
    // How the last transfer dialog ended (QDialog codes, CReadWriteDialog::kWriteNext).
    int LastDialogCode() const { return m_lastDialogCode; }

    int RunOperation(RadioOperation which, const std::function<int()>& operation) override;
    bool AskYesNo(int messageId) override;
    std::optional<std::string> AskPassword() override;
    void ShowMessage(const std::string& text) override;
    // In the window's status bar.
    void ShowNote(const std::string& text) override;
    bool ShowModifiedBandNotice() override;

  private:
    QPointer<QWidget> m_parent;
    IAppUi& m_ui;
    CTransferContext& m_context;
    std::function<void(const QString&)> m_setPane;
    QString m_port;
    int m_seriesCount = 0;
    int m_lastDialogCode = 0;
};
