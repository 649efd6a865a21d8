#include "CNewProfileDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "CMessageBoxDocumentUi.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "DialogText.h"
#include "MessageId.h"

CNewProfileDlg::CNewProfileDlg(QWidget* parent, const std::string& installDir, IDocumentUi* ui)
    : QDialog(parent), m_installDir(installDir), m_ui(ui), m_list(new QListWidget(this)) {
    setWindowTitle(DialogText(MessageId::kNewProfile));
    auto* label = new QLabel(DialogText(MessageId::kTemplatesLabel), this);
    label->setBuddy(m_list);
    m_list->setAccessibleName(label->text().remove(QLatin1Char('&')));

    QDialogButtonBox* buttons =
        AddDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    // Enter reaches the default OK button; a double click chooses as well.
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, ok,
            [ok](int row) { ok->setEnabled(row >= 0); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);

    try {
        for (const std::string& name : CQMVVLTDoc::TemplateNames(m_installDir)) {
            m_list->addItem(QString::fromStdString(name));
        }
    } catch (const CQMVVLTException& e) {
        m_failure = e.Code();
        m_failureTrace = e.Trace();
    }
    m_list->setCurrentRow(m_list->count() > 0 ? 0 : -1);
    ok->setEnabled(m_list->currentRow() >= 0);
}

int CNewProfileDlg::exec() {
    if (m_failure != 0) {
        if (m_ui != nullptr) {
            m_ui->ShowError(m_failure, m_failureTrace);
        } else {
            CMessageBoxDocumentUi(parentWidget()).ShowError(m_failure, m_failureTrace);
        }
        return Rejected;
    }
    return QDialog::exec();
}

std::string CNewProfileDlg::SelectedTemplatePath() const {
    const QListWidgetItem* item = m_list->currentItem();
    if (result() != Accepted || item == nullptr) {
        return {};
    }
    return CQMVVLTDoc::TemplatePath(m_installDir, item->text().toStdString()).string();
}
