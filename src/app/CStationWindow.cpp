#include "CStationWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "CCableDiscovery.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CRadioBackup.h"
#include "CStation.h"
#include "CStationEvents.h"
#include "CUnitList.h"
#include "CUnitProfile.h"
#include "CsvRefusal.h"
#include "DialogText.h"
#include "IPortLister.h"
#include "MessageId.h"
#include "StationText.h"
#include "StringTable.h"

namespace {

QString Format(int id, std::initializer_list<std::string_view> args) {
    return QString::fromStdString(CStringTable::Instance().Format(id, args));
}

QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

// A label that names the control it stands before, and gives it its accessible name.
QLabel* Caption(int textId, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(DialogText(textId), parent);
    label->setBuddy(buddy);
    return label;
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

template <class W>
W* CStationWindow::Tag(int ctrlId, W* widget, const QString& accessibleName) {
    IdentifyControl(widget, ctrlId, accessibleName);
    m_controls[ctrlId] = widget;
    return widget;
}

CStationWindow::CStationWindow(CStationJob base, CRegisterOptions registerOptions,
                               const std::vector<std::pair<std::string, bool>>& ports,
                               std::unique_ptr<CAppSettings> app, QWidget* parent)
    : QWidget(parent, Qt::Window), m_base(std::move(base)), m_app(std::move(app)) {
    setWindowTitle(Format(MessageId::kStationTitle, {m_base.profileFile.filename().string()}));
    setAttribute(Qt::WA_DeleteOnClose);
    m_events = new CStationEvents(this);
    connect(m_events, &CStationEvents::portState, this, &CStationWindow::ShowPortState,
            Qt::QueuedConnection);
    connect(m_events, &CStationEvents::radioDone, this, &CStationWindow::ShowRadio,
            Qt::QueuedConnection);
    connect(m_events, &CStationEvents::finished, this, &CStationWindow::JobFinished,
            Qt::QueuedConnection);

    m_ports = Tag(kPortsCtrl, new QTableWidget(0, kColumnCount, this),
                  Plain(DialogText(MessageId::kStationPortsLabel)));
    m_ports->setHorizontalHeaderLabels(
        {DialogText(MessageId::kStationColumnPort), DialogText(MessageId::kStationColumnState),
         DialogText(MessageId::kStationColumnWritten), DialogText(MessageId::kStationColumnFailed),
         DialogText(MessageId::kStationColumnRefused), DialogText(MessageId::kStationColumnRate)});
    m_ports->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_ports->horizontalHeader()->setSectionResizeMode(kStateColumn, QHeaderView::Stretch);
    m_ports->verticalHeader()->hide();
    m_ports->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ports->setTabKeyNavigation(false);
    m_portEdit =
        Tag(kPortEditCtrl, new QLineEdit(this), Plain(DialogText(MessageId::kStationPortToAdd)));
    m_addPort = Tag(kAddPortCtrl, new QPushButton(DialogText(MessageId::kStationAddPort), this),
                    Plain(DialogText(MessageId::kStationAddPort)));
    m_unitFile = Tag(kUnitListCtrl, new QLineEdit(this),
                     Plain(DialogText(MessageId::kStationUnitListLabel)));
    m_browse = Tag(kBrowseCtrl, new QPushButton(DialogText(MessageId::kStationBrowse), this),
                   Plain(DialogText(MessageId::kStationBrowse)));
    const auto option = [this](int ctrlId, int textId) {
        return Tag(ctrlId, new QCheckBox(DialogText(textId), this), Plain(DialogText(textId)));
    };
    m_backup = option(kBackupCtrl, MessageId::kStationBackupOption);
    m_verify = option(kVerifyCtrl, MessageId::kStationVerifyOption);
    m_listedOnly = option(kListedOnlyCtrl, MessageId::kStationListedOnlyOption);
    m_acceptUnsupported =
        option(kAcceptUnsupportedCtrl, MessageId::kStationAcceptUnsupportedOption);
    m_password = Tag(kPasswordCtrl, new QLineEdit(this),
                     Plain(DialogText(MessageId::kStationPasswordLabel)));
    m_password->setEchoMode(QLineEdit::Password);
    m_start = Tag(kStartCtrl, new QPushButton(DialogText(MessageId::kStationStart), this),
                  Plain(DialogText(MessageId::kStationStart)));
    m_stop = Tag(kStopCtrl, new QPushButton(DialogText(MessageId::kStationStop), this),
                 Plain(DialogText(MessageId::kStationStop)));
    m_radios =
        Tag(kRadiosCtrl, new QListWidget(this), Plain(DialogText(MessageId::kStationRadiosLabel)));
    m_refusals = Tag(kRefusalsCtrl, new QListWidget(this),
                     DialogText(MessageId::kStationUnitListRefusalsLabel));
    m_total = Tag(kTotalCtrl, new QLabel(this), DialogText(MessageId::kStationColumnRate));
    m_message = Tag(kMessageCtrl, new QLabel(this), QString());
    m_message->setWordWrap(true);
    m_registerState = Tag(kRegisterCtrl, new QLabel(this), QString());
    m_registerState->setWordWrap(true);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(Caption(MessageId::kStationPortToAdd, m_portEdit, this));
    portRow->addWidget(m_portEdit, 1);
    portRow->addWidget(m_addPort);
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(m_unitFile, 1);
    unitRow->addWidget(m_browse);
    auto* form = new QFormLayout;
    form->addRow(Caption(MessageId::kStationUnitListLabel, m_unitFile, this), unitRow);
    form->addRow(Caption(MessageId::kStationPasswordLabel, m_password, this), m_password);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    m_refusalsLabel = new QLabel(DialogText(MessageId::kStationUnitListRefusalsLabel), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Caption(MessageId::kStationPortsLabel, m_ports, this));
    layout->addWidget(m_ports, 2);
    layout->addLayout(portRow);
    layout->addLayout(form);
    layout->addWidget(m_backup);
    layout->addWidget(m_verify);
    layout->addWidget(m_listedOnly);
    layout->addWidget(m_acceptUnsupported);
    layout->addWidget(m_refusalsLabel);
    layout->addWidget(m_refusals, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_message);
    layout->addWidget(Caption(MessageId::kStationRadiosLabel, m_radios, this));
    layout->addWidget(m_radios, 2);
    layout->addWidget(m_total);
    layout->addWidget(m_registerState);

    connect(m_addPort, &QPushButton::clicked, this, &CStationWindow::AddPortFromEdit);
    connect(m_portEdit, &QLineEdit::returnPressed, this, &CStationWindow::AddPortFromEdit);
    connect(m_browse, &QPushButton::clicked, this, &CStationWindow::ChooseUnitList);
    connect(m_start, &QPushButton::clicked, this, &CStationWindow::Start);
    connect(m_stop, &QPushButton::clicked, this, &CStationWindow::Stop);
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &CStationWindow::UpdateCounts);

    for (const auto& [port, checked] : ports) {
        AddPort(QString::fromStdString(port), checked);
    }
    m_register = std::make_unique<CRegister>(std::move(registerOptions));
    // The register's thread tells; the window shows it on its own thread.
    m_register->SetStatusObserver([this](const CRegisterStatus& status) {
        QMetaObject::invokeMethod(
            this,
            [this, text = status.Text()] {
                const QString shown = QString::fromStdString(text);
                m_registerState->setText(shown);
                m_registerState->setAccessibleDescription(shown);
            },
            Qt::QueuedConnection);
    });
    UpdateControls();
    resize(720, 640);
}

CStationWindow::~CStationWindow() {
    m_station.reset();
    m_register->SetStatusObserver(nullptr);
}

CStationWindow* CStationWindow::ForDocument(const CQMVVLTDoc& doc, const CAppSettings& settings,
                                            const std::filesystem::path& installPath,
                                            const IPortLister& ports, QWidget* parent) {
    CStationJob base;
    base.environment = settings.ModelEnvironment(installPath);
    base.profile = doc.TakeSnapshot();
    base.profileFile = doc.Path();
    base.backupFolder = CRadioBackup::UserFolder();
    std::vector<std::pair<std::string, bool>> listed;
    for (const PortDescription& port : ports.Ports()) {
        listed.emplace_back(port.name, CCableDiscovery::IsCable(port));
    }
    // Backups turn radios into profiles with settings of the station's own.
    std::unique_ptr<CAppSettings> own;
    try {
        own = std::make_unique<CAppSettings>(CAppSettings::Load());
    } catch (const CQMVVLTException&) {
        // No settings of its own: the job then records its backups as failed.
    }
    return new CStationWindow(std::move(base), CRegisterOptions::FromConfiguration(), listed,
                              std::move(own), parent);
}

QWidget* CStationWindow::Control(int ctrlId) const {
    const auto it = m_controls.find(ctrlId);
    return it == m_controls.end() ? nullptr : it->second;
}

void CStationWindow::AddPort(const QString& port, bool checked) {
    for (int row = 0; row < m_ports->rowCount(); ++row) {
        if (m_ports->item(row, kPortColumn)->text() == port) {
            m_ports->item(row, kPortColumn)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
            return;
        }
    }
    const int row = m_ports->rowCount();
    m_ports->insertRow(row);
    auto* name = Cell(port);
    name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
    name->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    m_ports->setItem(row, kPortColumn, name);
    for (int column = kStateColumn; column < kColumnCount; ++column) {
        m_ports->setItem(row, column, Cell(QString()));
    }
}

void CStationWindow::AddPortFromEdit() {
    const QString port = m_portEdit->text().trimmed();
    if (port.isEmpty()) {
        return;
    }
    AddPort(port, true);
    m_portEdit->clear();
}

void CStationWindow::ChooseUnitList() {
    const QString file = QFileDialog::getOpenFileName(
        this, DialogText(MessageId::kStationChooseUnitList), m_unitFile->text(),
        DialogText(MessageId::kStationUnitListFilter));
    if (!file.isEmpty()) {
        m_unitFile->setText(file);
    }
}

bool CStationWindow::ReadUnitList() {
    m_refusals->clear();
    m_units.reset();
    const QString file = m_unitFile->text().trimmed();
    if (file.isEmpty()) {
        return true;
    }
    std::unique_ptr<CUnitList> units;
    try {
        CUnitProfile profile(m_base.environment, m_base.profile);
        units = std::make_unique<CUnitList>(CUnitList::ReadFile(file.toStdString(), profile));
    } catch (const CQMVVLTException& e) {
        m_refusals->addItem(QString::fromStdString(e.Message()));
        return false;
    }
    for (const CsvRefusal& refusal : units->Refusals()) {
        m_refusals->addItem(QString::fromStdString(FormatRefusal(refusal)));
    }
    if (!units->Accepted()) {
        return false;
    }
    m_units = std::move(units);
    return true;
}

void CStationWindow::Start() {
    if (m_station) {
        return;
    }
    ShowMessage(QString());
    CStationJob job = m_base;
    m_jobRows.clear();
    for (int row = 0; row < m_ports->rowCount(); ++row) {
        if (m_ports->item(row, kPortColumn)->checkState() == Qt::Checked) {
            job.ports.push_back(m_ports->item(row, kPortColumn)->text().toStdString());
            m_jobRows.push_back(row);
        }
        for (int column = kStateColumn; column < kColumnCount; ++column) {
            m_ports->item(row, column)->setText(QString());
        }
    }
    if (job.ports.empty()) {
        ShowMessage(DialogText(MessageId::kStationNoPort));
        return;
    }
    if (!ReadUnitList()) {
        ShowMessage(DialogText(MessageId::kStationUnitListRefused));
        return;
    }
    job.units = m_units.get();
    job.listedOnly = m_listedOnly->isChecked() && m_units;
    if (!m_backup->isChecked()) {
        job.backupFolder.clear();
    }
    job.app = m_app.get();
    job.verify = m_verify->isChecked();
    if (!m_password->text().isEmpty()) {
        job.password = m_password->text().toStdString();
    }
    job.acceptUnsupported = m_acceptUnsupported->isChecked();
    job.reg = m_register.get();

    m_radios->clear();
    auto station = std::make_unique<CStation>(job, m_events);
    if (!station->Start()) {
        ShowMessage(Format(MessageId::kStationPortInUse, {station->BusyPort()}));
        return;
    }
    m_station = std::move(station);
    m_clock->start();
    UpdateControls();
}

void CStationWindow::Stop() {
    if (!m_station) {
        return;
    }
    ShowMessage(DialogText(MessageId::kStationStopping));
    m_stop->setEnabled(false);
    m_station->Stop();
}

void CStationWindow::ShowPortState(int portIndex, const CStationPortState& state) {
    if (portIndex < 0 || static_cast<std::size_t>(portIndex) >= m_jobRows.size()) {
        return;
    }
    QTableWidgetItem* cell =
        m_ports->item(m_jobRows[static_cast<std::size_t>(portIndex)], kStateColumn);
    cell->setText(QString::fromStdString(StationStateText(state)));
}

void CStationWindow::ShowRadio(int portIndex, const CStationRadioResult& result) {
    if (portIndex < 0 || static_cast<std::size_t>(portIndex) >= m_jobRows.size()) {
        return;
    }
    const CRegisterRecord& r = result.record;
    const QString port =
        m_ports->item(m_jobRows[static_cast<std::size_t>(portIndex)], kPortColumn)->text();
    QString outcome = QString::fromStdString(r.outcomeText).simplified();
    m_radios->addItem(Format(
        MessageId::kStationRadioLine,
        {port.toStdString(), r.pid, r.unit, outcome.toStdString(), Fixed(result.seconds, 1)}));
    m_radios->scrollToBottom();
    UpdateCounts();
}

void CStationWindow::UpdateCounts() {
    if (!m_station) {
        return;
    }
    const std::vector<CStationPortSummary> ports = m_station->Summary();
    for (std::size_t i = 0; i < ports.size() && i < m_jobRows.size(); ++i) {
        const int row = m_jobRows[i];
        m_ports->item(row, kWrittenColumn)->setText(QString::number(ports[i].written));
        m_ports->item(row, kFailedColumn)->setText(QString::number(ports[i].failed));
        m_ports->item(row, kRefusedColumn)->setText(QString::number(ports[i].refused));
        m_ports->item(row, kRateColumn)
            ->setText(QString::fromStdString(Fixed(ports[i].RadiosPerHour(), 1)));
    }
    const CStationPortSummary total = CStation::Total(ports);
    m_total->setText(Format(
        MessageId::kStationTotal,
        {std::to_string(total.written), std::to_string(total.failed), std::to_string(total.refused),
         Fixed(total.seconds, 0), Fixed(total.RadiosPerHour(), 1)}));
    m_total->setAccessibleDescription(m_total->text());
}

void CStationWindow::JobFinished() {
    if (!m_station) {
        return;
    }
    UpdateCounts();
    m_clock->stop();
    m_station.reset();
    ShowMessage(QString());
    UpdateControls();
    emit jobFinished();
    if (m_closeWhenStopped) {
        close();
    }
}

void CStationWindow::UpdateControls() {
    const bool idle = !m_station;
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_portEdit, m_addPort, m_unitFile, m_browse, m_backup, m_verify, m_listedOnly,
             m_acceptUnsupported, m_password, m_start}) {
        control->setEnabled(idle);
    }
    m_stop->setEnabled(!idle);
    // The rows stay readable while a job runs; only which ports take part is fixed.
    for (int row = 0; row < m_ports->rowCount(); ++row) {
        QTableWidgetItem* port = m_ports->item(row, kPortColumn);
        port->setFlags(idle ? port->flags() | Qt::ItemIsUserCheckable
                            : port->flags() & ~Qt::ItemIsUserCheckable);
    }
    m_refusalsLabel->setVisible(m_refusals->count() > 0);
    m_refusals->setVisible(m_refusals->count() > 0);
}

void CStationWindow::ShowMessage(const QString& text) {
    m_message->setText(text);
    m_message->setAccessibleDescription(text);
    UpdateControls();
}

void CStationWindow::closeEvent(QCloseEvent* event) {
    if (m_station) {
        // The ports stop at a safe point; the window goes once they have.
        m_closeWhenStopped = true;
        Stop();
        event->ignore();
        return;
    }
    event->accept();
}
