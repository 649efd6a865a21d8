#include "CRegisterDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "AtomicFile.h"
#include "CBaseView.h"
#include "CQMVVLTException.h"
#include "CRegister.h"
#include "CRegisterTableModel.h"
#include "CReportDlg.h"
#include "DialogText.h"
#include "FleetReport.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "RadioText.h"
#include "RegisterCsv.h"
#include "ReportPage.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "CRegisterDialog";

QString Format(int id, std::initializer_list<std::string_view> values) {
    return QString::fromStdString(CStringTable::Instance().Format(id, values));
}

}  // namespace

CRegisterDialog::CRegisterDialog(CRegister& reg, IAppUi& ui, std::filesystem::path installPath,
                                 std::filesystem::path pageFolder, Actions actions, QWidget* parent)
    : QDialog(parent),
      m_register(reg),
      m_ui(ui),
      m_installPath(std::move(installPath)),
      m_pageFolder(std::move(pageFolder)),
      m_actions(std::move(actions)) {
    setWindowTitle(DialogText(MessageId::kRegisterTitle));
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    const auto label = [this](int id, QWidget* buddy) {
        auto* text = new QLabel(DialogText(id), this);
        text->setBuddy(buddy);
        return text;
    };
    m_pid = new QLineEdit(this);
    m_pid->setMaxLength(11);
    IdentifyControl(m_pid, kPidFilter, DialogText(MessageId::kRegisterFilterPid));
    m_profile = new QLineEdit(this);
    IdentifyControl(m_profile, kProfileFilter, DialogText(MessageId::kRegisterFilterProfile));
    m_sinceCheck = new QCheckBox(DialogText(MessageId::kRegisterFilterSince), this);
    IdentifyControl(m_sinceCheck, kSinceCheck, m_sinceCheck->text());
    m_since = new QDateEdit(QDate::currentDate(), this);
    m_since->setCalendarPopup(true);
    m_since->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_since->setEnabled(false);
    IdentifyControl(m_since, kSinceDate, m_sinceCheck->text());
    const auto dateValue = [this] { m_since->setAccessibleDescription(m_since->text()); };
    connect(m_since, &QDateEdit::dateChanged, this, dateValue);
    dateValue();

    auto* filters = new QHBoxLayout;
    filters->addWidget(label(MessageId::kRegisterFilterPid, m_pid));
    filters->addWidget(m_pid);
    filters->addWidget(label(MessageId::kRegisterFilterProfile, m_profile));
    filters->addWidget(m_profile, 1);
    filters->addWidget(m_sinceCheck);
    filters->addWidget(m_since);

    m_table = new QTableView(this);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSortingEnabled(true);
    m_table->setTabKeyNavigation(false);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_count = new QLabel(this);

    const auto button = [this](int id, int ctrlId) {
        auto* b = new QPushButton(DialogText(id), this);
        b->setAutoDefault(false);
        return IdentifyControl(b, ctrlId, b->text());
    };
    m_export = button(MessageId::kRegisterExportCsv, kExportCsv);
    m_openBackup = button(MessageId::kRegisterOpenBackup, kOpenBackup);
    m_restore = button(MessageId::kRegisterRestoreBackup, kRestoreBackup);
    m_report = button(MessageId::kRegisterFleetReport, kFleetReport);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = box->button(QDialogButtonBox::Close);
    close->setText(DialogText(MessageId::kClose));
    close->setAutoDefault(false);
    IdentifyControl(close, kCloseButton, close->text());
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_export, &QPushButton::clicked, this, &CRegisterDialog::ExportCsv);
    connect(m_openBackup, &QPushButton::clicked, this, &CRegisterDialog::OpenBackup);
    connect(m_restore, &QPushButton::clicked, this, &CRegisterDialog::RestoreBackup);
    connect(m_report, &QPushButton::clicked, this, &CRegisterDialog::ShowFleetReport);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_export, m_openBackup, m_restore, m_report}) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(box);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addLayout(filters);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_count);
    layout->addLayout(buttons);
    resize(1000, 520);

    try {
        m_register.Flush();
        m_db = std::make_unique<CRegisterDatabase>(m_register.QueryLocation());
        m_model = new CRegisterTableModel(*m_db, this);
        m_table->setModel(m_model);
        // A new query resets the header's sections.
        connect(m_model, &QAbstractItemModel::modelReset, this, &CRegisterDialog::ShowColumns);
        m_table->horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
        IdentifyControl(m_table, kTable, DialogText(MessageId::kRegisterTitle));
        connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &CRegisterDialog::UpdateButtons);
        connect(m_model, &QAbstractItemModel::modelReset, this, &CRegisterDialog::UpdateButtons);
    } catch (const CQMVVLTException& e) {
        m_db.reset();
        m_status->setText(QString::fromStdString(e.Message()));
        IdentifyControl(m_table, kTable, DialogText(MessageId::kRegisterTitle));
    }
    for (QLineEdit* edit : {m_pid, m_profile}) {
        connect(edit, &QLineEdit::textChanged, this, &CRegisterDialog::ApplyFilter);
    }
    connect(m_sinceCheck, &QCheckBox::toggled, m_since, &QWidget::setEnabled);
    connect(m_sinceCheck, &QCheckBox::toggled, this, &CRegisterDialog::ApplyFilter);
    connect(m_since, &QDateEdit::dateChanged, this, &CRegisterDialog::ApplyFilter);
    Refresh();
    m_table->setFocus(Qt::OtherFocusReason);
}

CRegisterDialog::~CRegisterDialog() {
    // The model's query uses the connection, which goes with m_db.
    m_table->setModel(nullptr);
    delete m_model;
}

QWidget* CRegisterDialog::Control(int ctrlId) const {
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->property("ctrlId").toInt() == ctrlId) {
            return child;
        }
    }
    return nullptr;
}

void CRegisterDialog::ShowColumns() {
    QHeaderView* header = m_table->horizontalHeader();
    for (int column = 0; column <= CRegisterTableModel::MarkColumn(); ++column) {
        m_table->setColumnHidden(column, !CRegisterTableModel::IsShown(column));
    }
    // The mark first, where the eye starts a row.
    const int mark = header->visualIndex(CRegisterTableModel::MarkColumn());
    if (mark != 0) {
        header->moveSection(mark, 0);
    }
    m_table->resizeColumnsToContents();
}

void CRegisterDialog::ShowFailure(const std::string& text) {
    m_status->setText(QString::fromStdString(text));
}

void CRegisterDialog::Refresh() {
    if (!m_db) {
        UpdateButtons();
        return;
    }
    m_status->setText(QString::fromStdString(m_register.Status().Text()));
    m_model->SetActiveProfileHash(m_actions.activeProfileHash ? m_actions.activeProfileHash()
                                                              : std::string());
    try {
        m_register.Flush();
        m_model->Refresh();
    } catch (const CQMVVLTException& e) {
        ShowFailure(e.Message());
    }
    ShowCount();
}

void CRegisterDialog::ApplyFilter() {
    if (!m_db) {
        return;
    }
    CRegisterFilter filter;
    const std::string pid = m_pid->text().trimmed().toStdString();
    // Text that cannot be a PID filters nothing.
    if (IsValidPid(pid)) {
        filter.pid = pid;
    }
    filter.profileFile = m_profile->text().trimmed().toStdString();
    if (m_sinceCheck->isChecked()) {
        filter.since =
            RegisterTimeFromUser(m_since->date().toString(Qt::ISODate).toStdString()).value_or("");
    }
    try {
        m_model->SetFilter(filter);
    } catch (const CQMVVLTException& e) {
        ShowFailure(e.Message());
    }
    ShowCount();
}

void CRegisterDialog::ShowCount() {
    m_count->setText(
        Format(MessageId::kRegisterRecordCount, {std::to_string(m_model->rowCount())}));
    UpdateButtons();
}

bool CRegisterDialog::Selected(CRegisterRecord& record) const {
    if (!m_db || !m_table->selectionModel()) {
        return false;
    }
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return false;
    }
    record = m_model->RecordAt(rows.first().row());
    return true;
}

void CRegisterDialog::UpdateButtons() {
    CRegisterRecord record;
    const bool selected = Selected(record);
    const bool backup = selected && !record.backupFile.empty();
    m_openBackup->setEnabled(backup);
    m_restore->setEnabled(backup && !record.pid.empty());
    m_export->setEnabled(m_db != nullptr);
    m_report->setEnabled(m_db != nullptr);
}

std::filesystem::path CRegisterDialog::SelectedBackup(CRegisterRecord& record) {
    if (!Selected(record)) {
        return {};
    }
    std::error_code ec;
    if (record.backupFile.empty() || !std::filesystem::is_regular_file(record.backupFile, ec)) {
        m_ui.ShowMessage(
            CStringTable::Instance().Format(MessageId::kRegisterNoBackup, {record.backupFile}),
            MessageStyle::kOk);
        return {};
    }
    return record.backupFile;
}

void CRegisterDialog::ExportCsv() {
    if (!m_db) {
        return;
    }
    const auto path =
        m_ui.AskSavePath("register.csv", QString::fromStdString(LoadString(MessageId::kCsvFilter)));
    if (!path) {
        return;
    }
    try {
        const std::vector<CRegisterRecord> records = m_db->List(m_model->Filter());
        WriteFileAtomically(*path, RegisterCsv(records), MessageId::kRegisterNotSaved, kContext);
        m_status->setText(
            Format(MessageId::kRegisterExported, {std::to_string(records.size()), *path}));
    } catch (const CQMVVLTException& e) {
        m_ui.ShowError(e.Code(), e.Trace());
    }
}

void CRegisterDialog::OpenBackup() {
    CRegisterRecord record;
    const std::filesystem::path backup = SelectedBackup(record);
    if (!backup.empty() && m_actions.openBackup) {
        m_actions.openBackup(backup);
    }
}

void CRegisterDialog::RestoreBackup() {
    CRegisterRecord record;
    const std::filesystem::path backup = SelectedBackup(record);
    if (backup.empty() || record.pid.empty() || !m_actions.restore) {
        return;
    }
    const std::string question = CStringTable::Instance().Format(
        MessageId::kRegisterRestoreQuestion, {backup.filename().string(), record.pid});
    if (m_ui.ShowMessage(question, MessageStyle::kYesNo) != MessageStyle::kIdYes) {
        return;
    }
    m_actions.restore(backup, record.pid);
    Refresh();
}

void CRegisterDialog::ShowFleetReport() {
    if (!m_db) {
        return;
    }
    std::filesystem::path written;
    try {
        const std::string page = FleetReportPage(
            m_db->List(m_model->Filter()), m_installPath / kReportFolderName,
            m_actions.activeProfileHash ? m_actions.activeProfileHash() : std::string());
        written =
            SaveReport(m_installPath / kReportFolderName, kFleetReportOutput, page, m_pageFolder);
    } catch (const CQMVVLTException& e) {
        m_ui.ShowError(e.Code(), e.Trace());
        return;
    }
    CReportDlg report(written, m_ui, this);
    report.exec();
}
