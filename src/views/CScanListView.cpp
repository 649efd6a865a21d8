#include "CScanListView.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>

#include "CQMVVLTException.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"

namespace {
QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

CScanListView::CScanListView(IViewHost& host, QWidget* parent)
    : CBaseView(host, "CScanListView", "ScanList", parent) {
    SetCaption(kCaption, Text(MessageId::kScanListCaption));
    m_scan = Register(kScanMode, new QCheckBox(this));
    AddRow(NewLabel(kScanModeLabel, Text(MessageId::kScanMode)), m_scan);
    connect(m_scan, &QCheckBox::clicked, this, &CScanListView::Commit);
}

CDataItem CScanListView::Setting() const {
    return RootItem().GetChildByName("setting");
}

void CScanListView::LoadData() {
    try {
        const QSignalBlocker block(m_scan);
        m_scan->setChecked(ScriptToBool(Setting().GetAttributeValue("scan_en")));
    } catch (CQMVVLTException& e) {
        ThrowQMVVLT(MessageId::kProfileDataError, "CScanListView::LoadData", e.what());
    }
}

void CScanListView::Commit(bool on) {
    try {
        const RuleResult stored = Setting().SetAttributeValue("scan_en", on);
        if (stored.result == 0) {
            m_host.MarkModified();
            return;
        }
        m_host.Ui().ShowMessage(LoadString(stored.messageId), MessageStyle::kOk);
    } catch (const CQMVVLTException& e) {
        m_host.ReportFailure(e);
    }
    // Refused: the stored value is still the one before the click.
    const QSignalBlocker block(m_scan);
    m_scan->setChecked(!on);
}
