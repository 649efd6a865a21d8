#include "CSplashScreen.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

#include "CAboutDialog.h"
#include "CAppSettings.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 320;

QFont SizedFont(int pixelSize, int weight) {
    QFont font;
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

// Radio waves spreading from the lower right corner, fading outwards.
void PaintWaves(QPainter& painter) {
    const QPointF centre(kWidth, kHeight);
    for (int i = 1; i <= 4; ++i) {
        QPen pen(QColor(255, 255, 255, 64 - i * 12));
        pen.setWidthF(8);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        const qreal r = 45.0 * i;
        painter.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 95 * 16, 80 * 16);
    }
}

}  // namespace

QPixmap CSplashScreen::Artwork(qreal devicePixelRatio) {
    QPixmap pixmap(QSize(kWidth, kHeight) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, kWidth, kHeight);
    sky.setColorAt(0.0, QColor(0x0f, 0x2a, 0x47));
    sky.setColorAt(1.0, QColor(0x1d, 0x6a, 0x86));
    painter.fillRect(QRect(0, 0, kWidth, kHeight), sky);
    PaintWaves(painter);

    const QPixmap icon =
        QIcon(QStringLiteral(":/icons/app.svg")).pixmap(QSize(112, 112), devicePixelRatio);
    painter.drawPixmap(QPointF(36, 52), icon);

    painter.setPen(Qt::white);
    painter.setFont(SizedFont(40, QFont::Bold));
    painter.drawText(QRect(170, 58, kWidth - 190, 52), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(kApplicationName));
    painter.setFont(SizedFont(15, QFont::Normal));
    painter.drawText(QRect(172, 112, kWidth - 190, 44), Qt::AlignLeft | Qt::TextWordWrap,
                     QString::fromStdString(LoadString(MessageId::kQMVSeriesCustomerProgramming)));

    painter.setPen(QColor(255, 255, 255, 40));
    painter.drawLine(QPointF(36, kHeight - 76), QPointF(kWidth - 220, kHeight - 76));
    painter.setPen(QColor(0xd8, 0xe8, 0xf0));
    painter.setFont(SizedFont(13, QFont::DemiBold));
    painter.drawText(QRect(36, kHeight - 66, kWidth - 72, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(CStringTable::Instance().Format(
                         MessageId::kVersionLine, {CAboutDialog::Version().toStdString()})));
    painter.setFont(SizedFont(11, QFont::Normal));
    painter.drawText(QRect(36, kHeight - 42, kWidth - 72, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(LoadString(MessageId::kRightsLine)));
    return pixmap;
}

void CSplashScreen::ShowFor(QWidget* mainWindow) {
    auto* splash = new CSplashScreen(mainWindow);
    splash->show();
    splash->raise();
}

CSplashScreen::CSplashScreen(QWidget* mainWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_mainWindow(mainWindow) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(QString::fromUtf8(kApplicationName));
    setFocusPolicy(Qt::StrongFocus);
    const QScreen* screen =
        mainWindow != nullptr ? mainWindow->screen() : QApplication::primaryScreen();
    m_artwork = Artwork(screen != nullptr ? screen->devicePixelRatio() : 1.0);
    setFixedSize(kWidth, kHeight);
    if (screen != nullptr) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QTimer::singleShot(kDisplayMs, Qt::PreciseTimer, this, &QWidget::close);
    qApp->installEventFilter(this);
}

void CSplashScreen::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_artwork);
}

void CSplashScreen::mousePressEvent(QMouseEvent*) {
    close();
}

// A key pressed anywhere in the program dismisses the splash; the key is spent on that, so a
// shortcut does not also run its command behind the splash.
bool CSplashScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CSplashScreen::closeEvent(QCloseEvent* event) {
    qApp->removeEventFilter(this);
    if (m_mainWindow != nullptr) {
        m_mainWindow->update();
    }
    QWidget::closeEvent(event);
}
