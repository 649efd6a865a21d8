#include "CAboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "CAppSettings.h"
#include "DialogText.h"
#include "MessageId.h"

namespace {

constexpr int kIconSize = 64;

QLabel* AddLine(QVBoxLayout* layout, QWidget* parent, const std::string& text) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(label);
    return label;
}

}  // namespace

QString CAboutDialog::Version() {
    return QStringLiteral(QMVVLT_VERSION);
}

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    const CStringTable& table = CStringTable::Instance();
    setWindowTitle(
        QString::fromStdString(table.Format(MessageId::kAboutTitle, {kApplicationName})));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* lines = new QVBoxLayout;
    QLabel* product = AddLine(lines, this, LoadString(MessageId::kQMVSeriesCustomerProgramming));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    AddLine(lines, this, table.Format(MessageId::kVersionLine, {Version().toStdString()}));
    lines->addSpacing(8);
    AddLine(lines, this, LoadString(MessageId::kRightsLine));
    AddLine(lines, this, LoadString(MessageId::kTrademarkLine));
    QLabel* warning = AddLine(lines, this, LoadString(MessageId::kWarningLine));
    warning->setMinimumWidth(380);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(lines, 1);

    QDialogButtonBox* buttons = AddDialogButtons(this, QDialogButtonBox::Ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
