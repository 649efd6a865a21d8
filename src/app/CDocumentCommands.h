#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <string>

class CChildFrame;
class CVirtualCodeplug;
class ICommandHost;

// The commands on whole profiles: new, open, save, save as and the report; the question before
// a modified profile closes; and the two ways a radio's image becomes a profile.
class CDocumentCommands {
  public:
    explicit CDocumentCommands(ICommandHost& host) : m_host(host) {}

    // Opens a profile (or activates its window when it is open); false when it was refused.
    bool Open(const std::string& path);
    // Asks for a profile and opens it.
    void AskAndOpen();
    bool New();
    bool Save(CChildFrame& frame);
    bool SaveAs(CChildFrame& frame);
    // Before a modified profile closes: saves it when the user says so; false to keep it open.
    bool MaybeSave(CChildFrame& frame);
    // Files dropped on the window: the profiles among them open.
    void OpenDropped(const QList<QUrl>& urls);
    static bool IsProfile(const QUrl& url);

    // The Report command: commits the shown view, then lets the user choose and see a report of
    // the active profile.
    void Report();

    bool NewFromImage(const CVirtualCodeplug& image);
    bool Replace(CChildFrame& frame, const CVirtualCodeplug& image);

  private:
    CChildFrame* FrameFor(const std::filesystem::path& canonical) const;
    static QString FileFilter();

    ICommandHost& m_host;
};
