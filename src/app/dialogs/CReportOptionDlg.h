#pragma once

#include <QDialog>
#include <filesystem>

class CQMVVLTDoc;
class IAppUi;
class QListWidget;

// The report choice: the radio-specific report (offered only when the profile's own PID belongs
// to one of its private contacts) or the overview report. OK builds the chosen report, writes it
// with its pictures into pageFolder (the user's cache folder; the installed data stay untouched)
// and shows it.
class CReportOptionDlg : public QDialog {
    Q_OBJECT
  public:
    CReportOptionDlg(const CQMVVLTDoc& doc, std::filesystem::path installPath,
                     std::filesystem::path pageFolder, IAppUi& ui, QWidget* parent);

    // Where the desktop program writes report pages: the user's cache folder.
    static std::filesystem::path UserPageFolder();

    QListWidget* List() const { return m_list; }
    // Builds, writes and shows the chosen report; a failure shows the message of its code and no
    // report window.
    void accept() override;

  private:
    const CQMVVLTDoc& m_doc;
    std::filesystem::path m_installPath;
    std::filesystem::path m_pageFolder;
    IAppUi& m_ui;
    QListWidget* m_list;
};
