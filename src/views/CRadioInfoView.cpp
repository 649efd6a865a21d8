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
    SetCaption(1013, Text(MessageId::kQMVRadioInformation));
    m_pid = NewReadOnlyEdit(1066);
    AddRow(NewLabel(1001, LabelText(10057)), m_pid);
    m_name = NewReadOnlyEdit(1011);
    AddRow(NewLabel(1002, LabelText(175)), m_name);
    m_firmware = NewReadOnlyEdit(1010);
    AddRow(NewLabel(1003, LabelText(10059)), m_firmware);
    m_codeplug = NewReadOnlyEdit(1012);
    AddRow(NewLabel(1004, LabelText(10060)), m_codeplug);
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
