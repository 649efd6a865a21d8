#pragma once

#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <memory>

#include "ICommandHost.h"
#include "IFrameOwner.h"
#include "MainCommand.h"

class CContactCsvCommands;
class CDocumentCommands;
class CMainMenus;
class CProgramCommands;
class CRadioCommands;
class CRegisterCommands;
class CStationWindow;
class IPortLister;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;

// The program's main window: the profile windows in an MDI area, the status bar, and the wiring
// of the menu commands to the pieces that carry them out.
class CMainFrame : public QMainWindow, public ICommandHost, public IFrameOwner {
    Q_OBJECT
  public:
    // ui: the answers to questions (message boxes when null); ports: the system's serial ports
    // (the real ones when null).
    CMainFrame(CAppSettings& settings, std::filesystem::path installPath, IAppUi* ui = nullptr,
               const IPortLister* ports = nullptr);
    ~CMainFrame() override;

    QAction* Action(int commandId) const;
    QMenu* LanguageMenu() const;
    QMdiArea* MdiArea() const { return m_mdi; }
    QLabel* PortPane() const { return m_portPane; }
    CDocumentCommands& Documents() { return *m_documents; }
    CRadioCommands& Radio() { return *m_radio; }
    CRegisterCommands& RegisterCommands() { return *m_registerCommands; }

    // The programming station window for the active profile (the open one when there is one).
    void ShowStation();
    CStationWindow* StationWindow() const;
    // Recomputes which commands are enabled.
    void UpdateCommands();

    // ICommandHost
    QWidget* Window() override { return this; }
    IAppUi& Ui() override { return *m_ui; }
    CAppSettings& Settings() override { return m_settings; }
    const std::filesystem::path& InstallPath() const override { return m_installPath; }
    CChildFrame* ActiveFrame() const override;
    QList<CChildFrame*> Frames() const override;
    CChildFrame* AddFrame(std::unique_ptr<CQMVVLTDoc> document) override;
    bool NewDocumentFromImage(const CVirtualCodeplug& image) override;
    bool ReplaceDocument(CChildFrame& frame, const CVirtualCodeplug& image) override;
    void ShowPort(const QString& text) override;
    void ShowStatus(const QString& text) override;

    // IFrameOwner
    bool MaybeSave(CChildFrame& frame) override;
    bool MayClose(const CChildFrame& frame) const override;
    void FrameChanged(CChildFrame& frame) override;

  signals:
    // A profile window was added and shows its document.
    void frameAdded(CChildFrame* frame);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void WireCommands();
    void BuildStatusBar();
    void UpdateTitle();
    void WatchFocus(QWidget* old, QWidget* now);
    void SetHelpPaneShown(bool shown);

    CAppSettings& m_settings;
    std::filesystem::path m_installPath;
    std::unique_ptr<IAppUi> m_ownUi;
    IAppUi* m_ui;
    std::unique_ptr<IPortLister> m_ownPorts;
    const IPortLister* m_ports;
    std::unique_ptr<CDocumentCommands> m_documents;
    std::unique_ptr<CProgramCommands> m_program;
    std::unique_ptr<CRadioCommands> m_radio;
    std::unique_ptr<CContactCsvCommands> m_contactCsv;
    // After the radio commands: the register window uses their register.
    std::unique_ptr<CRegisterCommands> m_registerCommands;
    QPointer<CStationWindow> m_station;  // the programming station window, while it is open
    QMdiArea* m_mdi = nullptr;
    CMainMenus* m_menus = nullptr;
    QLabel* m_portPane = nullptr;
    bool m_helpPaneShown = false;
    QMetaObject::Connection m_selectionWatch;
};
