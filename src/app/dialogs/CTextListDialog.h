#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;

// A window of lines to read and copy (rows an import refused, differences between profiles): a
// heading, the lines in a read-only text box, Copy (all lines to the clipboard) and Close.
class CTextListDialog : public QDialog {
    Q_OBJECT
  public:
    CTextListDialog(const QString& title, const QString& heading,
                    const std::vector<std::string>& lines, QWidget* parent);

    QString Text() const;

  private:
    QPlainTextEdit* m_text = nullptr;
};
