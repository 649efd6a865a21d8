#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "CNewProfileDlg.h"
#include "MessageId.h"
#include "ScriptedUi.h"
#include "TestInstall.h"

namespace {

namespace fs = std::filesystem;

QStringList Names(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
        names << list->item(i)->text();
    }
    return names;
}

TEST(CNewProfileDlg, KeyboardChoiceGivesTheTemplatesPath) {
    struct Case {
        const char* name;
        std::vector<Qt::Key> keys;
        std::string expected;  // template name, or "" for none chosen
    };
    const Case cases[] = {
        {"first by Enter", {Qt::Key_Return}, "QMV410"},
        {"second by Down Enter", {Qt::Key_Down, Qt::Key_Return}, "QMV410 M"},
        {"cancelled by Escape", {Qt::Key_Down, Qt::Key_Escape}, ""},
    };
    const fs::path install = TestInstallFolder();
    for (const Case& c : cases) {
        ScriptedUi ui;
        CNewProfileDlg dialog(nullptr, install.string(), &ui);
        auto* list = dialog.findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(Names(list), QStringList({"QMV410", "QMV410 M"})) << c.name;
        EXPECT_EQ(list->accessibleName(), "Profile templates:");
        QTimer::singleShot(0, list, [&] {
            for (Qt::Key key : c.keys) {
                QTest::keyClick(list, key);
            }
        });
        const int result = dialog.exec();
        EXPECT_EQ(result, c.expected.empty() ? QDialog::Rejected : QDialog::Accepted) << c.name;
        const std::string path = dialog.SelectedTemplatePath();
        EXPECT_EQ(path, c.expected.empty()
                            ? std::string()
                            : (install / "ProfileTemplate" / (c.expected + ".lam")).string())
            << c.name;
        EXPECT_TRUE(ui.shown.empty()) << c.name;
    }
}

TEST(CNewProfileDlg, WithoutTemplatesSaysSoAndOpensNothing) {
    const fs::path empty =
        fs::temp_directory_path() /
        ("qmvvlt-notemplates-" + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(empty / "ProfileTemplate" / "folder.lam");  // a folder is no template
    ScriptedUi ui;
    CNewProfileDlg dialog(nullptr, empty.string(), &ui);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(ui.shown, std::vector<int>{MessageId::kNoTemplateFiles});
    EXPECT_EQ(dialog.SelectedTemplatePath(), "");
    fs::remove_all(empty);
}

TEST(CNewProfileDlg, ADoubleClickedTemplateIsChosen) {
    CNewProfileDlg dialog(nullptr, TestInstallFolder().string());
    auto* list = dialog.findChild<QListWidget*>();
    QTimer::singleShot(0, list, [&dialog, list] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const QRect second = list->visualItemRect(list->item(1));
        // Through the window, as the platform delivers a real double click.
        QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, {},
                           list->viewport()->mapTo(&dialog, second.center()));
        if (dialog.isVisible()) {
            dialog.reject();  // not chosen: end the test instead of hanging
        }
    });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedTemplatePath(),
              (TestInstallFolder() / "ProfileTemplate" / "QMV410 M.lam").string());
}

}  // namespace
