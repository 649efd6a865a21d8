#pragma once

#include <QList>
#include <filesystem>
#include <memory>

class CAppSettings;
class CChildFrame;
class CQMVVLTDoc;
class CVirtualCodeplug;
class IAppUi;
class QString;
class QWidget;

// What the menu commands need of the window they serve: its profile windows, where it shows
// things, and the ways a radio's image becomes a profile. The main window is the one the program
// has; tests run the commands against their own.
class ICommandHost {
  public:
    virtual ~ICommandHost() = default;

    // The parent of the commands' dialogs and windows.
    virtual QWidget* Window() = 0;
    virtual IAppUi& Ui() = 0;
    virtual CAppSettings& Settings() = 0;
    virtual const std::filesystem::path& InstallPath() const = 0;

    // The profile window the commands work on; null when none is open.
    virtual CChildFrame* ActiveFrame() const = 0;
    virtual QList<CChildFrame*> Frames() const = 0;
    // Shows a document in a new profile window; null when the window could not show it (the user
    // was told why).
    virtual CChildFrame* AddFrame(std::unique_ptr<CQMVVLTDoc> document) = 0;
    // A new profile window for an image read from a radio (titled with the radio's PID).
    virtual bool NewDocumentFromImage(const CVirtualCodeplug& image) = 0;
    // Replaces frame's profile with an image read from a radio, as one undo step.
    virtual bool ReplaceDocument(CChildFrame& frame, const CVirtualCodeplug& image) = 0;

    // Status-bar pane 1: the port, or what a transfer is doing.
    virtual void ShowPort(const QString& text) = 0;
    // The status bar's message area.
    virtual void ShowStatus(const QString& text) = 0;
};
