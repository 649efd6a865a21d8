#include "CTextMessageView.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "CQMVVLTException.h"
#include "CTextMessageEdit.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {
QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

CTextMessageView::CTextMessageView(IViewHost& host, QWidget* parent)
    : CBaseView(host, "CTextMessageView", "TextMsgX", parent) {
    SetCaption(kCaption, Text(MessageId::kTextMessage));
    m_text = Register(kText, new CTextMessageEdit(kMaxLength, this));
    m_text->setMinimumSize(260, 80);
    m_text->setMaximumHeight(100);
    AddRow(NewLabel(kTextLabel, Text(MessageId::kTextMessageCaption)), m_text);
    m_delete = Register(kDelete, new QPushButton(ViewIcons::Delete(), QString(), this));
    AddRow(NewLabel(kDeleteLabel, Text(MessageId::kDeleteCurrentMessage)), m_delete);
    m_add = Register(kAdd, new QPushButton(ViewIcons::Add(), QString(), this));
    AddRow(NewLabel(kAddLabel, Text(MessageId::kAddNewMessage)), m_add);

    connect(m_text, &CTextMessageEdit::limitExceeded, this, [this] {
        m_host.Ui().ShowMessage(CStringTable::Instance().Format(MessageId::kLengthOfTextMessage,
                                                                {std::to_string(kMaxLength)}),
                                MessageStyle::kOk);
    });
    connect(m_delete, &QPushButton::clicked, this, &CTextMessageView::SendDeleteNotice);
    connect(m_add, &QPushButton::clicked, this, [this] {
        m_host.NotifyAllViews({NoticeAction::kAdd, kKindTextMessages});
    });
}

void CTextMessageView::LoadData() {
    try {
        m_position = m_host.Current().position;
        m_item = RootItem().GetChildByName("TextMessages").GetChildByIndex(m_position);
        if (m_item.IsEmpty()) {
            throw CQMVVLTException(MessageId::kUnknownError, "CTextMessageView::LoadData", __LINE__,
                                   "Index=" + std::to_string(m_position));
        }
        const QSignalBlocker block(m_text);
        m_text->setPlainText(QString::fromStdString(ScriptToText(m_item.GetAttributeValue("txt"))));
        m_changed = false;
    } catch (CQMVVLTException& e) {
        e.AddTrace("CTextMessageView::LoadData", __LINE__,
                   LoadString(MessageId::kErrorTextMessagesView));
        throw;
    }
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        m_changed = true;
        m_host.MarkModified();
    });
}

QString CTextMessageView::WithoutControlCharacters(const QString& text) {
    QString result = text;
    for (qsizetype i = result.size(); i-- > 0;) {
        if (result.at(i).unicode() < 32) {
            result.remove(i, 1);
        }
    }
    return result;
}

int CTextMessageView::ValidateCurrentItem() {
    const QString text = WithoutControlCharacters(m_text->toPlainText().left(1024));
    if (text.isEmpty()) {
        if (m_host.Ui().ShowMessage(LoadString(MessageId::kMessageFieldIsBlank),
                                    MessageStyle::kOkCancel) == MessageStyle::kIdOk) {
            SendDeleteNotice();
            return -1;
        }
        PostFocusText();
        return 0;
    }
    if (!m_changed) {
        return 1;
    }
    const RuleResult stored = m_item.SetAttributeValue("txt", ScriptText(text.toStdString()));
    if (stored.result == 0) {
        m_changed = false;
        m_host.MarkModified();
        m_host.NotifyAllViews({NoticeAction::kRefresh, kKindTextMessage, m_position});
        return 1;
    }
    if (stored.result == 1) {
        if (m_host.Ui().ShowMessage(LoadString(stored.messageId), MessageStyle::kOkCancel) ==
            MessageStyle::kIdOk) {
            SendDeleteNotice();
            return -1;
        }
        PostFocusText();
        return 0;
    }
    return 1;
}

void CTextMessageView::FocusFirstField(int /*kind*/) {
    m_text->setFocus(Qt::OtherFocusReason);
    m_text->selectAll();
}

void CTextMessageView::PostFocusText() {
    QTimer::singleShot(0, this, [this] { FocusFirstField(kKindTextMessage); });
}

void CTextMessageView::SendDeleteNotice() {
    m_changed = false;
    m_host.NotifyAllViews({NoticeAction::kDelete, kKindTextMessage, m_position});
}
