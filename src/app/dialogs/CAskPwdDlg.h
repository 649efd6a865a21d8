#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

// "Please enter the password:" with a password box, OK and Cancel.
class CAskPwdDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAskPwdDlg(QWidget* parent);

    QLineEdit* PasswordBox() const { return m_password; }
    // The typed text after OK; nothing after Cancel.
    static std::optional<std::string> Ask(QWidget* parent);

  private:
    QLineEdit* m_password = nullptr;
};
