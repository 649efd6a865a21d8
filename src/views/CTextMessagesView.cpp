#include "CTextMessagesView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "NodeKind.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {
QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

CTextMessagesView::CTextMessagesView(IViewHost& host, QWidget* parent)
    : CBaseView(host, "CTextMessagesView", "TextMsgs", parent) {
    SetCaption(kCaption, Text(MessageId::kTextMessagesCaption));
    m_maximum = NewReadOnlyEdit(kMaximum);
    AddRow(NewLabel(kMaximumLabel, Text(MessageId::kMaximumTextMessages)), m_maximum);
    m_count = NewReadOnlyEdit(kCount);
    AddRow(NewLabel(kCountLabel, Text(MessageId::kCurrentNumberOfText)), m_count);
    m_add = Register(kAdd, new QPushButton(ViewIcons::Add(), QString(), this));
    auto* addLabel = NewLabel(kAddLabel, Text(MessageId::kAddTextMessage));
    AddRow(addLabel, m_add);
    connect(m_add, &QPushButton::clicked, this, [this] {
        m_host.NotifyAllViews({NoticeAction::kAdd, kKindTextMessages});
    });
}

void CTextMessagesView::LoadData() {
    try {
        const CDataItem root = RootItem();
        const CDataItem texts = root.GetChildByName("TextMessages");
        m_maximum->setText(QString::fromStdString(ScriptToText(
            root.GetChildByName("limit").GetAttributeValue("max_num_of_predefined_msgs"))));
        m_count->setText(QString::number(texts.GetChildCount()));
        m_add->setEnabled(texts.CanAddChild());
    } catch (CQMVVLTException& e) {
        e.AddTrace("CTextMessagesView::LoadData", __LINE__,
                   LoadString(MessageId::kErrorTextMessagesView));
        throw;
    }
}
