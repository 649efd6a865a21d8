#include "CRadioInfoView.h"

#include <QLabel>
#include <QLineEdit>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "RadioInfoText.h"
#include "StringTable.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
QString LabelText(int id) {
    return Text(id) + Text(MessageId::kMessage);
}

}  // namespace

CRadioInfoView::CRadioInfoView(IViewHost& host, QWidget* parent)
    : CBaseView(host, "CRadioInfoView", "RadioInfo", parent) {
    SetCaption(kCaption, Text(MessageId::kQMVRadioInformation));
    m_pid = NewReadOnlyEdit(kPid);
    AddRow(NewLabel(kPidLabel, LabelText(MessageId::kUnitPrivateId)), m_pid);
    m_name = NewReadOnlyEdit(kName);
    AddRow(NewLabel(kNameLabel, LabelText(MessageId::kName)), m_name);
    m_firmware = NewReadOnlyEdit(kFirmware);
    AddRow(NewLabel(kFirmwareLabel, LabelText(MessageId::kFirmwareVersion)), m_firmware);
    m_codeplug = NewReadOnlyEdit(kCodeplug);
    AddRow(NewLabel(kCodeplugLabel, LabelText(MessageId::kCodeplugVersion)), m_codeplug);
}

void CRadioInfoView::LoadData() {
    try {
        const CDataItem root = RootItem();
        const CDataItem limit = root.GetChildByName("limit");
        const CDataItem version = root.GetChildByName("version");
        const std::string pid = ScriptToText(limit.GetAttributeValue("pid"));
        const auto number = [&](const char* name) {
            return ScriptToInt32(version.GetAttributeValue(name));
        };
        m_pid->setText(QString::fromStdString(pid));
        m_name->setText(QString::fromStdString(RadioInfoText::OwnRadioName(root, pid)));
        m_firmware->setText(QString::fromStdString(RadioInfoText::Firmware(
            ScriptToText(version.GetAttributeValue("firmware_phase")), number("firmware_release"),
            number("firmware_version"), number("firmware_revision"))));
        m_codeplug->setText(QString::fromStdString(
            RadioInfoText::Codeplug(number("codeplug_structure"), number("codeplug_version"),
                                    number("codeplug_dev_version"))));
    } catch (CQMVVLTException& e) {
        e.AddTrace("CRadioInfoView::LoadData", __LINE__,
                   LoadString(MessageId::kErrorRadioInformationView));
        throw;
    }
}
