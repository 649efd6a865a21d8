#include "CTextListDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "DialogText.h"
#include "MessageId.h"

CTextListDialog::CTextListDialog(const QString& title, const QString& heading,
                                 const std::vector<std::string>& lines, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* label = new QLabel(heading, this);
    label->setWordWrap(true);
    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromStdString(line) + QLatin1Char('\n');
    }
    m_text->setPlainText(text);
    m_text->setAccessibleName(heading);
    m_text->setAccessibleDescription(text);
    label->setBuddy(m_text);

    QDialogButtonBox* buttons = AddDialogButtons(this, QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(DialogText(MessageId::kClose));
    QPushButton* copy =
        buttons->addButton(DialogText(MessageId::kCopyAll), QDialogButtonBox::ActionRole);
    copy->setAccessibleName(copy->text().remove(QLatin1Char('&')));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(m_text->toPlainText()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(640, 420);
    m_text->setFocus();
}

QString CTextListDialog::Text() const {
    return m_text->toPlainText();
}
