#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "CSplashScreen.h"

namespace {

CSplashScreen* ShownSplash() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<CSplashScreen*>(w);
            splash != nullptr && splash->isVisible()) {
            return splash;
        }
    }
    return nullptr;
}

TEST(CSplashScreen, AClickOrAnyKeyDismissesIt) {
    QMainWindow main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const std::vector<std::function<void(CSplashScreen*)>> dismissals = {
        [](CSplashScreen* s) { QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(10, 10)); },
        [](CSplashScreen* s) { QTest::mouseClick(s, Qt::RightButton, {}, QPoint(300, 200)); },
        [&main](CSplashScreen*) { QTest::keyClick(&main, Qt::Key_Space); },
    };
    for (std::size_t i = 0; i < dismissals.size(); ++i) {
        CSplashScreen::ShowFor(&main);
        QPointer<CSplashScreen> splash = ShownSplash();
        ASSERT_NE(splash, nullptr) << i;
        dismissals[i](splash);
        EXPECT_TRUE(splash.isNull() || !splash->isVisible()) << i;
        // It deletes itself once the event loop gets to it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(splash, nullptr) << i;
    }
}

TEST(CSplashScreen, ClosesByItselfAfterItsTime) {
    QElapsedTimer clock;
    clock.start();
    CSplashScreen::ShowFor(nullptr);
    QPointer<CSplashScreen> splash = ShownSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), CSplashScreen::Artwork().size());
    QSignalSpy gone(splash.data(), &QObject::destroyed);
    ASSERT_TRUE(gone.wait(CSplashScreen::kDisplayMs + 3000));
    EXPECT_GE(clock.elapsed(), CSplashScreen::kDisplayMs);
}

}  // namespace
