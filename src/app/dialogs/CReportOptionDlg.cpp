#include "CReportOptionDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "CQMVVLTException.h"
#include "CReportAssembler.h"
#include "CReportDlg.h"
#include "DialogText.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "ReportPage.h"

std::filesystem::path CReportOptionDlg::UserPageFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
}

CReportOptionDlg::CReportOptionDlg(const CQMVVLTDoc& doc, std::filesystem::path installPath,
                                   std::filesystem::path pageFolder, IAppUi& ui, QWidget* parent)
    : QDialog(parent),
      m_doc(doc),
      m_installPath(std::move(installPath)),
      m_pageFolder(std::move(pageFolder)),
      m_ui(ui) {
    setWindowTitle(DialogText(MessageId::kReportsTitle));
    auto* prompt = new QLabel(DialogText(MessageId::kChooseReport), this);
    m_list = new QListWidget(this);
    m_list->setAccessibleName(prompt->text());
    prompt->setBuddy(m_list);
    const bool radio = CReportAssembler::IsAvailable(doc, CReportAssembler::Kind::kRadio);
    auto* radioItem = new QListWidgetItem(DialogText(MessageId::kRadioSpecificReport), m_list);
    radioItem->setData(Qt::UserRole, static_cast<int>(CReportAssembler::Kind::kRadio));
    if (!radio) {
        // Shown greyed, so the user sees that the profile's own radio has no contact.
        radioItem->setFlags(radioItem->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    }
    auto* overviewItem = new QListWidgetItem(DialogText(MessageId::kOverviewReport), m_list);
    overviewItem->setData(Qt::UserRole, static_cast<int>(CReportAssembler::Kind::kOverview));
    m_list->setCurrentItem(radio ? radioItem : overviewItem);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item->flags() & Qt::ItemIsEnabled) {
            accept();
        }
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_list);
    layout->addWidget(AddDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
    m_list->setFocus(Qt::OtherFocusReason);
}

void CReportOptionDlg::accept() {
    const QListWidgetItem* item = m_list->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled)) {
        return;
    }
    const auto kind = static_cast<CReportAssembler::Kind>(item->data(Qt::UserRole).toInt());
    std::filesystem::path written;
    try {
        const CReportAssembler assembler(m_installPath);
        const std::string page = assembler.Page(m_doc, kind);
        written = SaveReport(
            assembler.ReportFolder(),
            kind == CReportAssembler::Kind::kRadio ? kRadioReportOutput : kOverviewReportOutput,
            page, m_pageFolder);
    } catch (const CQMVVLTException& e) {
        m_ui.ShowError(e.Code(), e.Trace());
        QDialog::reject();
        return;
    }
    QDialog::accept();
    CReportDlg report(written, m_ui, parentWidget());
    report.exec();
}
