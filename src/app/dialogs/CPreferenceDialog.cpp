#include "CPreferenceDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "CRadioBackup.h"
#include "CTraceFolder.h"
#include "DialogText.h"
#include "MessageId.h"
#include "StringTable.h"
#include "Utility.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

// "ttyUSB2" before "ttyUSB10": names compare by their text, then by the number they end with.
bool PortBefore(const PortDescription& a, const PortDescription& b) {
    const auto stem = [](const std::string& name) {
        std::size_t end = name.size();
        while (end > 0 && name[end - 1] >= '0' && name[end - 1] <= '9') {
            --end;
        }
        return name.substr(0, end);
    };
    const std::string sa = stem(a.name);
    const std::string sb = stem(b.name);
    if (sa != sb) {
        return sa < sb;
    }
    return CCableDiscovery::PortNumber(a.name) < CCableDiscovery::PortNumber(b.name);
}

}  // namespace

CPreferenceDialog::CPreferenceDialog(const IPortLister& lister,
                                     std::function<void(const QString&)> showPort, QWidget* parent,
                                     std::chrono::milliseconds settle)
    : QDialog(parent),
      m_lister(lister),
      m_discovery(lister, settle),
      m_showPort(std::move(showPort)) {
    setWindowTitle(Text(MessageId::kPreferenceTitle));
    m_autoDetect = new QCheckBox(Text(MessageId::kAutoDetectText), this);
    m_autoDetect->setProperty("ctrlId", MessageId::kAutoDetectText);
    m_autoDetect->setAccessibleName(m_autoDetect->text().remove(QLatin1Char('&')));
    auto* label = new QLabel(Text(MessageId::kSelectPortLabel), this);
    m_ports = new QComboBox(this);
    m_ports->setProperty("ctrlId", kPortList);
    m_ports->setAccessibleName(label->text());
    label->setBuddy(m_ports);
    const auto option = [this](int textId, bool on) {
        auto* box = new QCheckBox(Text(textId), this);
        box->setProperty("ctrlId", textId);
        box->setAccessibleName(box->text().remove(QLatin1Char('&')));
        box->setChecked(on);
        return box;
    };
    m_backup = option(MessageId::kBackupBeforeWriteOption, Utility::GetBackupBeforeWrite());
    m_verify = option(MessageId::kVerifyAfterWriteOption, Utility::GetVerifyAfterWrite());
    m_trace = option(MessageId::kWireTraceOption, Utility::GetWireTrace());
    // Where the files go, so the user can find them for a support request.
    const auto place = [this](int textId, const std::filesystem::path& folder) {
        auto* where = new QLabel(
            QString::fromStdString(CStringTable::Instance().Format(textId, {folder.string()})),
            this);
        where->setTextInteractionFlags(Qt::TextSelectableByMouse);
        where->setWordWrap(true);
        where->setIndent(20);
        return where;
    };
    auto* backups = place(MessageId::kBackupsKeptIn, CRadioBackup::UserFolder());
    auto* traces = place(MessageId::kTracesKeptIn, CTraceFolder::UserFolder());
    m_backup->setAccessibleDescription(backups->text());
    m_trace->setAccessibleDescription(traces->text());
    auto* buttons = AddDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_autoDetect);
    layout->addWidget(label);
    layout->addWidget(m_ports);
    layout->addSpacing(8);
    layout->addWidget(m_backup);
    layout->addWidget(backups);
    layout->addWidget(m_verify);
    layout->addWidget(m_trace);
    layout->addWidget(traces);
    layout->addWidget(buttons);

    Fill(false);
    m_autoDetect->setChecked(Utility::GetAutoDetect() > 0);
    ApplyAutoDetectRule();
    // A pick in the list shows in the status bar only once OK stores it.
    connect(m_autoDetect, &QCheckBox::toggled, this, &CPreferenceDialog::ApplyAutoDetectRule);
}

std::string CPreferenceDialog::SelectedPort() const {
    return m_ports->currentData().toString().toStdString();
}

void CPreferenceDialog::Fill(bool forceDetect) {
    m_ports->clear();
    auto ports = m_lister.Ports();
    std::sort(ports.begin(), ports.end(), PortBefore);
    for (const auto& port : ports) {
        // The cable is recognised by its USB description; show it so the user can too.
        QString text = QString::fromStdString(port.name);
        if (!port.description.empty()) {
            text += QStringLiteral(" (%1)").arg(QString::fromStdString(port.description));
        }
        m_ports->addItem(text, QString::fromStdString(port.name));
    }
    const std::string current = m_discovery.GetCurrentPort(
        forceDetect, {Utility::GetAutoDetect(), Utility::GetCurrentComPort()});
    if (!current.empty()) {
        Select(current);
        ShowSelected();
    }
}

void CPreferenceDialog::Select(const std::string& port) {
    int index = m_ports->findData(QString::fromStdString(port));
    if (index < 0 && !port.empty() && port.front() == '/') {
        // A device the system does not list (a virtual radio's pseudo-terminal) stays choosable.
        m_ports->addItem(QString::fromStdString(port), QString::fromStdString(port));
        index = m_ports->count() - 1;
    }
    m_ports->setCurrentIndex(std::max(index, 0));
}

void CPreferenceDialog::ApplyAutoDetectRule() {
    if (m_autoDetect->isChecked()) {
        m_ports->setEnabled(false);
        Fill(true);
    } else {
        m_ports->setEnabled(true);
        if (m_ports->currentIndex() < 0) {
            if (m_ports->count() > 0) {
                m_ports->setCurrentIndex(0);
            }
        } else if (const std::string valid = m_discovery.ValidatePort(SelectedPort());
                   !valid.empty()) {
            Fill(false);
            Select(valid);
        }
    }
    ShowSelected();
}

void CPreferenceDialog::ShowSelected() {
    if (m_showPort) {
        m_showPort(QString::fromStdString(SelectedPort()));
    }
}

void CPreferenceDialog::accept() {
    Utility::SetCurrentComPort(SelectedPort());
    Utility::SetAutoDetect(m_autoDetect->isChecked() ? 1 : 0);
    Utility::SetBackupBeforeWrite(m_backup->isChecked());
    Utility::SetVerifyAfterWrite(m_verify->isChecked());
    Utility::SetWireTrace(m_trace->isChecked());
    ShowSelected();
    QDialog::accept();
}
