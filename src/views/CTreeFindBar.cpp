#include "CTreeFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "MessageId.h"
#include "StringTable.h"

namespace {
QString Label(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

CTreeFindBar::CTreeFindBar(QWidget* parent) : QWidget(parent) {
    m_edit = new QLineEdit(this);
    m_edit->setPlaceholderText(Label(MessageId::kFindPlaceholder));
    m_edit->setAccessibleName(Label(MessageId::kFindLabel));
    m_edit->setAccessibleDescription(Label(MessageId::kFindPlaceholder));
    m_edit->setClearButtonEnabled(true);
    m_edit->installEventFilter(this);
    m_count = new QLabel(this);
    m_count->setAccessibleName(Label(MessageId::kFindLabel));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_count);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &CTreeFindBar::textChanged);
}

QString CTreeFindBar::Text() const {
    return m_edit->text();
}

void CTreeFindBar::SetText(const QString& text) {
    m_edit->setText(text);
}

void CTreeFindBar::ShowCount(int matches) {
    m_count->setText(m_edit->text().isEmpty()
                         ? QString()
                         : QString::fromStdString(CStringTable::Instance().Format(
                               MessageId::kFindCount, {std::to_string(matches)})));
}

void CTreeFindBar::Activate() {
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

bool CTreeFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            if (m_edit->text().isEmpty()) {
                emit leaveRequested();
            } else {
                m_edit->clear();
            }
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down) {
            emit leaveRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
