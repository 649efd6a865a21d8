#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "CDealerInfoDialog.h"
#include "ConfigTestFolder.h"
#include "MessageId.h"
#include "ScriptedUi.h"

namespace {

const std::string kMachine =
    "[Software\\Varentis Solutions\\QMV410 VLT]\nDefaultLanguage=English\n"
    "[Software\\Varentis Solutions\\QMV410 VLT\\Language\\English]\n"
    "DealerInfo=Radio Shop\nContactInfo=555 0100\nDealerNotes=Line 1\\nLine 2\n";

// The three fields in the order of their labels (dealer, contact, notes).
std::vector<QLineEdit*> Fields(const CDealerInfoDialog& dialog) {
    std::vector<QLineEdit*> fields;
    for (const char* label : {"Dealer Information", "Contact Information", "Notes"}) {
        QLineEdit* found = nullptr;
        for (const QLabel* l : dialog.findChildren<QLabel*>()) {
            if (l->text() == label) {
                found = qobject_cast<QLineEdit*>(l->buddy());
            }
        }
        EXPECT_NE(found, nullptr) << label;
        EXPECT_EQ(found != nullptr ? found->accessibleName() : QString(), label);
        fields.push_back(found);
    }
    return fields;
}

void ClickOk(CDealerInfoDialog& dialog) {
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    ASSERT_EQ(ok->text(), "&OK");
    QTest::mouseClick(ok, Qt::LeftButton);
}

class DealerInfoDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        ConfigTestFolder::Write(dir.Machine(), kMachine);
        ASSERT_TRUE(Utility::Bootstrap().ok);
    }
    ConfigTestFolder dir;
    ScriptedUi ui;
};

TEST_F(DealerInfoDialogTest, EditsAreStoredAndUntouchedTextsSurvive) {
    CDealerInfoDialog dialog(nullptr, &ui);
    EXPECT_EQ(dialog.windowTitle(), "Dealer Information");
    const std::vector<QLineEdit*> fields = Fields(dialog);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0]->text(), "Radio Shop");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    // Typed from the keyboard, accented letters included, and capped at 250 characters.
    fields[0]->setFocus();
    fields[0]->selectAll();
    QTest::keyClicks(fields[0], "Radios ");
    QTest::sendKeyEvent(QTest::KeyAction::Click, fields[0], Qt::Key_unknown, QStringLiteral("é"),
                        Qt::NoModifier);
    QTest::keyClick(&dialog, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), fields[1]);
    QTest::keyClick(fields[1], Qt::Key_End);
    QTest::keyClicks(fields[1], QString(300, 'x'));
    EXPECT_EQ(fields[1]->text().size(), CDealerInfoDialog::kMaxLength);
    ClickOk(dialog);

    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    DealerTexts stored;
    ASSERT_TRUE(Utility::ReadDealerInformation(stored));
    EXPECT_EQ(stored.dealerInfo, "Radios é");
    EXPECT_EQ(stored.contactInfo, "555 0100" + std::string(250 - 8, 'x'));
    EXPECT_EQ(stored.dealerNotes, "Line 1\nLine 2");
}

TEST_F(DealerInfoDialogTest, AFailedStoreKeepsTheDialogOpen) {
    CDealerInfoDialog dialog(nullptr, &ui);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    std::filesystem::remove(dir.User());
    std::filesystem::create_directory(dir.User());  // the user scope can no longer be read
    ClickOk(dialog);
    EXPECT_EQ(ui.shown, std::vector<int>{MessageId::kDealerReadFailed});
    EXPECT_TRUE(dialog.isVisible());
}

TEST(DealerInfoDialog, WithoutALanguageNothingOpens) {
    ConfigTestFolder dir;
    ScriptedUi ui;
    CDealerInfoDialog dialog(nullptr, &ui);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(ui.shown, std::vector<int>{MessageId::kLanguageTypeError});
}

}  // namespace
