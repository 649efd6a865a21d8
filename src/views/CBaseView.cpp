#include "CBaseView.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "CQMVVLTDoc.h"
#include "MessageId.h"
#include "StringTable.h"
#include "XmlDom.h"

namespace {

// Captions and headings: white text on a light blue band.
constexpr const char* kBandStyle = "background-color: #C0C0FF; color: white; padding: 2px 6px;";
constexpr int kCaptionHeight = 28;
constexpr int kLeftKeepOut = 20;
constexpr int kCaptionInset = 10;

bool IsTrue(const std::optional<std::string>& value) {
    return value && (*value == "1" || *value == "true");
}

constexpr const char* kValueTracked = "accessibleValueTracked";

QString ListValue(const QAbstractItemView* list) {
    const QAbstractItemModel* model = list->model();
    const std::string rows = std::to_string(model ? model->rowCount() : 0);
    QStringList selected;
    if (list->selectionModel()) {
        QModelIndexList indexes = list->selectionModel()->selectedIndexes();
        std::sort(indexes.begin(), indexes.end());
        for (const QModelIndex& index : indexes) {
            selected << index.data().toString();
        }
    }
    const std::string text = selected.isEmpty()
                                 ? CStringTable::Instance().Format(MessageId::kListRowCount, {rows})
                                 : CStringTable::Instance().Format(
                                       MessageId::kListRowCountSelected,
                                       {rows, selected.join(QStringLiteral(", ")).toStdString()});
    return QString::fromStdString(text);
}

}  // namespace

CBaseView::CBaseView(IViewHost& host, std::string className, std::string resourceKey,
                     QWidget* parent)
    : QWidget(parent),
      m_host(host),
      m_className(std::move(className)),
      m_resourceKey(std::move(resourceKey)) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    // The pane itself is no stop on the way through the form.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    content->setAutoFillBackground(true);
    content->setPalette(pal);
    scroll->setWidget(content);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(kCaptionInset, kCaptionInset, kCaptionInset, kCaptionInset);
    m_form = new QWidget(content);
    m_grid = new QGridLayout(m_form);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(12);
    m_grid->setVerticalSpacing(8);
    // The form centres itself and keeps its distance from the left edge when the pane narrows.
    auto* centring = new QHBoxLayout;
    centring->setContentsMargins(kLeftKeepOut - kCaptionInset, 12, 0, 0);
    centring->addStretch(1);
    centring->addWidget(m_form);
    centring->addStretch(1);
    column->addLayout(centring);
    column->addStretch(1);
    m_column = column;
    m_centring = centring;
    // Shown or hidden rows change whether the form can use the pane's height.
    m_form->installEventFilter(this);
}

CDataItem CBaseView::RootItem() const {
    return m_host.Document().Model().GetRootItem();
}

void CBaseView::InitialUpdate() {
    RefreshCaption();
    LoadData();
    ApplyVisibility();
    // Values loaded with the controls' signals blocked.
    for (const auto& [ctrlId, control] : m_controls) {
        UpdateAccessibleValue(control);
    }
    UpdateFormGrowth();
}

QWidget* CBaseView::Control(int ctrlId) const {
    const auto it = m_controls.find(ctrlId);
    return it == m_controls.end() ? nullptr : it->second;
}

QLabel* CBaseView::SetCaption(int ctrlId, const QString& text) {
    if (!m_caption) {
        m_caption = new QLabel(this);
        m_caption->setStyleSheet(kBandStyle);
        m_caption->setFixedHeight(kCaptionHeight);
        m_caption->setFocusPolicy(Qt::ClickFocus);
        QFont font = m_caption->font();
        font.setPointSize(12);
        font.setBold(true);
        m_caption->setFont(font);
        m_column->insertWidget(0, m_caption);
        RegisterControl(ctrlId, m_caption);
    }
    m_caption->setText(text);
    m_caption->setAccessibleName(text);
    return m_caption;
}

QLabel* CBaseView::AddHeading(int ctrlId, const QString& text) {
    auto* heading = new QLabel(text, m_form);
    heading->setStyleSheet(kBandStyle);
    QFont font = heading->font();
    font.setPointSizeF(12.0 * 72.0 / 80.0);
    font.setWeight(QFont::DemiBold);
    heading->setFont(font);
    m_grid->addWidget(heading, m_nextRow++, 0, 1, 2);
    RegisterControl(ctrlId, heading);
    return heading;
}

QLabel* CBaseView::NewLabel(int ctrlId, const QString& text) {
    auto* label = new QLabel(text, m_form);
    RegisterControl(ctrlId, label);
    return label;
}

QLineEdit* CBaseView::NewReadOnlyEdit(int ctrlId) {
    auto* edit = new QLineEdit(m_form);
    edit->setReadOnly(true);
    edit->setMinimumWidth(180);
    RegisterControl(ctrlId, edit);
    return edit;
}

void CBaseView::AddRow(QLabel* label, QWidget* control) {
    if (label && control) {
        label->setBuddy(control);
        QString name = label->text();
        name.remove(QLatin1Char('&'));
        if (name.endsWith(QLatin1Char(':'))) {
            name.chop(1);
        }
        control->setAccessibleName(name.trimmed());
    }
    if (label) {
        m_grid->addWidget(label, m_nextRow, 0, Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (control) {
        control->setParent(m_form);
        // Buttons keep their own size; edit boxes fill the column.
        const Qt::Alignment align =
            qobject_cast<QAbstractButton*>(control) ? Qt::AlignLeft : Qt::Alignment();
        m_grid->addWidget(control, m_nextRow, label ? 1 : 0, 1, label ? 1 : 2, align);
    }
    ++m_nextRow;
}

// A form with a shown control that asks for vertical stretch (a long list) takes the pane's spare
// height, so the list shows as many rows as fit; other forms keep their size at the top.
void CBaseView::UpdateFormGrowth() {
    bool grows = false;
    for (int i = 0; i < m_grid->count(); ++i) {
        const QWidget* control = m_grid->itemAt(i)->widget();
        grows = grows ||
                (control && !control->isHidden() && control->sizePolicy().verticalStretch() > 0);
    }
    m_column->setStretchFactor(m_centring, grows ? 1 : 0);
    m_column->setStretch(m_column->count() - 1, grows ? 0 : 1);
}

void CBaseView::AddFieldButtonRow(QWidget* button) {
    button->setParent(m_form);
    m_grid->addWidget(button, m_nextRow++, 1, Qt::AlignLeft);
}

void CBaseView::RegisterControl(int ctrlId, QWidget* widget) {
    widget->setProperty(kCtrlIdProperty, ctrlId);
    m_controls[ctrlId] = widget;
    widget->installEventFilter(this);
    TrackAccessibleValue(widget);
}

void CBaseView::TrackAccessibleValue(QWidget* control) {
    if (control->property(kValueTracked).toBool()) {
        return;
    }
    control->setProperty(kValueTracked, true);
    const auto update = [control] { UpdateAccessibleValue(control); };
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QObject::connect(combo, &QComboBox::currentTextChanged, combo, update);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QObject::connect(edit, &QLineEdit::textChanged, edit, update);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::toggled, button, update);
    } else if (auto* list = qobject_cast<QAbstractItemView*>(control); list && list->model()) {
        QAbstractItemModel* model = list->model();
        QObject::connect(model, &QAbstractItemModel::modelReset, list, update);
        QObject::connect(model, &QAbstractItemModel::rowsInserted, list, update);
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, list, update);
        QObject::connect(model, &QAbstractItemModel::layoutChanged, list, update);
        if (list->selectionModel()) {
            QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, list,
                             update);
        }
    }
    update();
}

void CBaseView::UpdateAccessibleValue(QWidget* control) {
    QString value;
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        value = combo->currentText();
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        // A password box never tells what it holds.
        value = edit->echoMode() == QLineEdit::Normal ? edit->text() : QString();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        if (!button->isCheckable()) {
            return;
        }
        value = QString::fromStdString(
            LoadString(button->isChecked() ? MessageId::kChecked : MessageId::kNotChecked));
    } else if (const auto* list = qobject_cast<const QAbstractItemView*>(control)) {
        value = ListValue(list);
    } else {
        return;
    }
    control->setAccessibleDescription(value);
}

void CBaseView::ApplyVisibility() {
    xmlDoc* map = m_host.Document().SettingsCopy();
    std::set<int> listed;
    if (map && IsXmlNameSafe(m_resourceKey)) {
        const CXPath xpath(map);
        for (xmlNode* node : xpath.SelectNodes("//dfns:" + m_resourceKey + "/dfns:*")) {
            const auto id = GetAttribute(node, "ID");
            if (!id) {
                continue;
            }
            const int ctrlId = std::atoi(id->c_str());
            listed.insert(ctrlId);
            if (!IsTrue(GetAttribute(node, "isVisible"))) {
                if (QWidget* control = Control(ctrlId)) {
                    control->hide();
                }
            }
        }
    }
    for (auto& [ctrlId, control] : m_controls) {
        if (m_keptShown.count(ctrlId)) {
            control->setVisible(true);
        } else if (!listed.count(ctrlId)) {
            control->hide();
        }
    }
}

bool CBaseView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_form && event->type() == QEvent::LayoutRequest) {
        UpdateFormGrowth();
    }
    if (event->type() == QEvent::FocusIn) {
        // A value set with the control's signals blocked is read out right all the same.
        if (watched->isWidgetType()) {
            UpdateAccessibleValue(static_cast<QWidget*>(watched));
        }
        const QVariant id = watched->property(kCtrlIdProperty);
        if (id.isValid()) {
            m_host.ControlFocused(m_className, id.toInt());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CBaseView::mousePressEvent(QMouseEvent* event) {
    // A click on the background takes the focus out of an open edit box, so it commits.
    if (m_caption) {
        m_caption->setFocus(Qt::MouseFocusReason);
    }
    QWidget::mousePressEvent(event);
}
