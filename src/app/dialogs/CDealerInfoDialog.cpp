#include "CDealerInfoDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CMessageBoxDocumentUi.h"
#include "DialogText.h"
#include "MessageId.h"
#include "Utility.h"

namespace {

// The labels carry no mnemonic of their own; the accessible name is the plain label text.
QLineEdit* AddField(QFormLayout* form, QWidget* parent, int labelId) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(CDealerInfoDialog::kMaxLength);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 50);
    auto* label = new QLabel(DialogText(labelId), parent);
    label->setBuddy(edit);
    edit->setAccessibleName(DialogText(labelId));
    form->addRow(label, edit);
    return edit;
}

}  // namespace

CDealerInfoDialog::CDealerInfoDialog(QWidget* parent, IDocumentUi* ui) : QDialog(parent), m_ui(ui) {
    setWindowTitle(DialogText(MessageId::kDealerInformation));
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    m_dealerInfo = AddField(form, this, MessageId::kDealerLabel);
    m_contactInfo = AddField(form, this, MessageId::kContactLabel);
    m_dealerNotes = AddField(form, this, MessageId::kNotesLabel);

    QDialogButtonBox* buttons =
        AddDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    DealerTexts texts;
    if (Utility::ReadDealerInformation(texts)) {
        m_dealerInfo->setText(QString::fromStdString(texts.dealerInfo));
        m_contactInfo->setText(QString::fromStdString(texts.contactInfo));
        m_dealerNotes->setText(QString::fromStdString(texts.dealerNotes));
    }
}

void CDealerInfoDialog::ShowError(int messageId) {
    if (m_ui != nullptr) {
        m_ui->ShowError(messageId, {});
        return;
    }
    // Before the dialog shows, the message belongs over the window that asked for it.
    CMessageBoxDocumentUi(isVisible() ? this : parentWidget()).ShowError(messageId, {});
}

int CDealerInfoDialog::exec() {
    DealerTexts texts;
    if (Utility::GetCurrentLanguage().empty() || !Utility::ReadDealerInformation(texts)) {
        ShowError(MessageId::kLanguageTypeError);
        return Rejected;
    }
    return QDialog::exec();
}

void CDealerInfoDialog::accept() {
    const DealerTexts texts{m_dealerInfo->text().toStdString(), m_contactInfo->text().toStdString(),
                            m_dealerNotes->text().toStdString()};
    if (const int failure = Utility::WriteDealerInformation(texts); failure != 0) {
        ShowError(failure);
        return;
    }
    QDialog::accept();
}
