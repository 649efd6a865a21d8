#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "CAboutDialog.h"

TEST(CAboutDialog, ShowsTheBuildVersionAndClosesFromTheKeyboard) {
    CAboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "About QMV410 VLT");
    QStringList lines;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            lines << label->text();
        }
    }
    ASSERT_EQ(lines.size(), 5) << lines.join('|').toStdString();
    EXPECT_EQ(lines[0], "QMV Series Customer Programming Software");
    EXPECT_EQ(lines[1], "Version " QMVVLT_EXPECTED_VERSION);
    EXPECT_TRUE(lines[2].startsWith("Copyright"));
    EXPECT_EQ(dialog.findChild<QPushButton*>()->text(), "&OK");
    EXPECT_FALSE(dialog.findChild<QLabel*>()->pixmap().isNull()) << "application icon";

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
}
