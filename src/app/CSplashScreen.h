#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The start-up screen: the product's artwork over the screen's centre until its time is up or the
// user clicks or presses a key; the main window is repainted when it goes.
class CSplashScreen : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDisplayMs = 2500;

    // Shows a splash screen that deletes itself when it closes.
    static void ShowFor(QWidget* mainWindow);

    // The artwork, painted at the device pixel ratio given.
    static QPixmap Artwork(qreal devicePixelRatio = 1.0);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    explicit CSplashScreen(QWidget* mainWindow);

    QPointer<QWidget> m_mainWindow;
    QPixmap m_artwork;
};
