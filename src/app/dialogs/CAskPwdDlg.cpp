#include "CAskPwdDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogText.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

CAskPwdDlg::CAskPwdDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Text(MessageId::kPassword));
    auto* prompt = new QLabel(Text(MessageId::kPasswordPrompt), this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAccessibleName(prompt->text());
    prompt->setBuddy(m_password);
    auto* buttons = AddDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_password);
    layout->addWidget(buttons);
    m_password->setFocus(Qt::OtherFocusReason);
}

std::optional<std::string> CAskPwdDlg::Ask(QWidget* parent) {
    CAskPwdDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.m_password->text().toStdString();
}
