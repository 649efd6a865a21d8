#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Without a display (CI, ctest) the widgets draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
