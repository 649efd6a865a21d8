#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

class IDocumentUi;
class QListWidget;

// The New command's choice of an installed profile template.
class CNewProfileDlg : public QDialog {
    Q_OBJECT
  public:
    // ui answers for the message boxes; null shows them over the parent.
    CNewProfileDlg(QWidget* parent, const std::string& installDir, IDocumentUi* ui = nullptr);

    // Shows kNoTemplateFiles and returns Rejected without opening when no template is installed.
    int exec() override;
    // The chosen template's file after exec() returned Accepted; empty before.
    std::string SelectedTemplatePath() const;

  private:
    std::filesystem::path m_installDir;
    IDocumentUi* m_ui;
    QListWidget* m_list;
    int m_failure = 0;
    std::string m_failureTrace;
};
