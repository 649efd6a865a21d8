#include "CListsView.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>

#include "CContactTable.h"
#include "CQMVVLTException.h"
#include "MessageId.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {
constexpr int kCaptionId = 1013;
constexpr int kScrollHeadingId = 1011;
constexpr int kScrollListId = 1000;
constexpr int kScanGridId = 1001;
constexpr int kScanModeId = 1002;
constexpr int kScanHeadingId = 1012;
constexpr int kScanModeLabelId = 1015;
constexpr int kScanGridMinimumWidth = 420;

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

CListsView::CListsView(IViewHost& host, QWidget* parent)
    : CBaseView(host, "CListsView", "Lists", parent) {
    SetCaption(kCaptionId, Text(MessageId::kLists));
    KeepShown(kCaptionId);
    AddHeading(kScrollHeadingId, Text(MessageId::kScrollListCaption));
    KeepShown(kScrollHeadingId);
    m_scroll = Register(kScrollListId, new QListWidget(this));
    m_scroll->setIconSize(QSize(17, 17));
    m_scroll->setUniformItemSizes(true);
    m_scroll->setMinimumHeight(140);
    m_scroll->setAccessibleName(Text(MessageId::kScrollListCaption));
    AddRow(nullptr, m_scroll);

    AddHeading(kScanHeadingId, Text(MessageId::kScanListCaption));
    m_scanMode = Register(kScanModeId, new QCheckBox(this));
    // Shown, not edited: the scan list node's view changes it.
    m_scanMode->setEnabled(false);
    AddRow(NewLabel(kScanModeLabelId, Text(MessageId::kScanMode)), m_scanMode);
    m_scan = Register(kScanGridId, new QTableWidget(this));
    m_scan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_scan->setSelectionMode(QAbstractItemView::SingleSelection);
    m_scan->verticalHeader()->hide();
    // Tab leaves the grid; the arrow keys move inside it.
    m_scan->setTabKeyNavigation(false);
    m_scan->setMinimumSize(kScanGridMinimumWidth, 200);
    m_scan->setAccessibleName(Text(MessageId::kScanListCaption));
    m_scan->viewport()->installEventFilter(this);
    AddRow(nullptr, m_scan);
}

void CListsView::LoadData() {
    try {
        const CDataItem root = RootItem();
        const CDataItem limit = root.GetChildByName("limit");
        const CContactTable table(root);
        m_scroll->clear();
        std::vector<const ContactRecord*> publicGroups;
        for (const ContactRecord& record : table.Records()) {
            const CDataItem contact = table.ItemOf(record);
            if (ScriptToBool(contact.GetAttributeValue("in_scroll_list"))) {
                m_scroll->addItem(
                    new QListWidgetItem(ViewIcons::ContactImage(table.ImageOf(record)),
                                        QString::fromStdString(record.name)));
            }
            if (record.type == CContactTable::kPublicGroup &&
                ScriptToBool(contact.GetAttributeValue("in_scan_list"))) {
                publicGroups.push_back(&record);
            }
        }

        const bool publicScan = ScriptToBool(limit.GetAttributeValue("public_scan_en"));
        m_scanMode->setChecked(
            ScriptToBool(root.GetChildByName("setting").GetAttributeValue("scan_en")));
        m_scan->clear();
        if (!publicScan) {
            m_scan->setEnabled(false);
            for (int id : {kScanModeLabelId, kScanHeadingId, kScanModeId, kScanGridId}) {
                Control(id)->hide();
            }
            return;
        }
        const int channels = ScriptToInt32(limit.GetAttributeValue("max_num_of_channels"));
        int groups = 0;
        for (const ContactRecord& record : table.Records()) {
            groups += record.type == CContactTable::kPublicGroup ? 1 : 0;
        }
        m_scan->setColumnCount(channels);
        m_scan->setRowCount(groups);
        QStringList headers;
        for (int c = 1; c <= channels; ++c) {
            headers << QString::fromStdString(
                CStringTable::Instance().Format(MessageId::kChannelN, {std::to_string(c)}));
        }
        m_scan->setHorizontalHeaderLabels(headers);
        std::vector<int> filled(static_cast<std::size_t>(std::max(channels, 0)), 0);
        for (const ContactRecord* group : publicGroups) {
            const int column = group->channel - 1;
            if (column < 0 || column >= channels) {
                continue;
            }
            m_scan->setItem(filled[static_cast<std::size_t>(column)]++, column,
                            new QTableWidgetItem(QString::fromStdString(group->name)));
        }
        // The grid grows until every heading and name fits its share of the width.
        constexpr int kCellPadding = 12;
        int widest = 0;
        for (int c = 0; c < channels; ++c) {
            widest = std::max(widest, m_scan->horizontalHeader()->sectionSizeHint(c));
        }
        for (const ContactRecord* group : publicGroups) {
            widest = std::max(widest, m_scan->fontMetrics().horizontalAdvance(
                                          QString::fromStdString(group->name)) +
                                          kCellPadding);
        }
        m_scan->setMinimumWidth(
            std::max(kScanGridMinimumWidth, widest * channels + 2 * m_scan->frameWidth() +
                                                m_scan->verticalScrollBar()->sizeHint().width()));
        SizeColumns();
    } catch (CQMVVLTException& e) {
        ThrowQMVVLT(MessageId::kProfileDataError, "CListsView::LoadData", e.what());
    }
}

bool CListsView::eventFilter(QObject* watched, QEvent* event) {
    if (m_scan && watched == m_scan->viewport() && event->type() == QEvent::Resize) {
        SizeColumns();
    }
    return CBaseView::eventFilter(watched, event);
}

// Columns share the width, but no column is narrower than a tenth of it.
void CListsView::SizeColumns() {
    const int columns = m_scan->columnCount();
    if (columns == 0) {
        return;
    }
    const int width = m_scan->viewport()->width();
    const int column = std::max(width / columns, width / 10);
    for (int c = 0; c < columns; ++c) {
        m_scan->setColumnWidth(c, column);
    }
}
