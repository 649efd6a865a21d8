#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

class IAppUi;
class QPrintPreviewDialog;
class QPrinter;
class QTextBrowser;

// The report window: shows a written report page with its pictures, and prints it, previews it
// and saves it as PDF or HTML.
class CReportDlg : public QDialog {
    Q_OBJECT
  public:
    // page: the report file as written (FF FE and UTF-16LE), its pictures beside it.
    CReportDlg(std::filesystem::path page, IAppUi& ui, QWidget* parent);
    ~CReportDlg() override;

    QTextBrowser* Browser() const { return m_browser; }

    void Print();
    // Opens the preview over the report window (window-modal, so the call returns at once) and
    // returns it; it deletes itself when closed.
    QPrintPreviewDialog* PrintPreview();
    // Sets the report margins on a printer of the user's choice; its own defaults stay as they are.
    void PreparePrinter(QPrinter& printer) const;
    // Prints on a printer already chosen and prepared (or a PDF file).
    void PrintOn(QPrinter& printer) const;
    // Ask for a file and write it; false when cancelled or not written (the user was told).
    bool SaveAsPdf();
    bool SaveAsHtml();

  private:
    std::filesystem::path m_page;
    std::string m_pageText;
    IAppUi& m_ui;
    QTextBrowser* m_browser;
};
