#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "CAppSettings.h"
#include "CBaseView.h"
#include "CChildFrame.h"
#include "CContactCsvImporter.h"
#include "CContactEditView.h"
#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CProfileUndoStack.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTTreeView.h"
#include "CRadioInfoView.h"
#include "CRecentFiles.h"
#include "CTextListDialog.h"
#include "CTextMessageView.h"
#include "ConfigTestFolder.h"
#include "ExpectSoon.h"
#include "FullProfile.h"
#include "LanguageMenu.h"
#include "MessageId.h"
#include "NodeKind.h"
#include "ScriptedUi.h"
#include "TestInstall.h"
#include "Utility.h"
#include "XmlDom.h"

namespace {

namespace fs = std::filesystem;

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Utility::SetInstallPathOverride(TestInstallFolder());
        m_settings = CQMVVLTApp::Start(m_ui);
        ASSERT_NE(m_settings, nullptr);
        m_profile = m_config.Path() / "Sample.lam";
        fs::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", m_profile);
        m_window = std::make_unique<CMainFrame>(*m_settings, TestInstallFolder(), &m_ui);
        m_window->resize(1000, 700);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
    }
    void TearDown() override {
        for (CChildFrame* frame : m_window->Frames()) {
            frame->Document().SetModified(false);
        }
        m_window.reset();
        Utility::SetInstallPathOverride(std::nullopt);
    }

    bool Enabled(int command) const { return m_window->Action(command)->isEnabled(); }
    QStringList TopMenus() const {
        QStringList titles;
        for (QAction* action : m_window->menuBar()->actions()) {
            if (action->isVisible()) {
                titles << action->text();
            }
        }
        return titles;
    }
    CChildFrame* Frame() const { return m_window->ActiveFrame(); }
    void SelectNode(int kind, int position = 0) {
        for (QTreeWidgetItemIterator it(Frame()->Tree()); *it; ++it) {
            if (CQMVVLTTreeView::KindOf(*it) == kind &&
                CQMVVLTTreeView::PositionOf(*it) == position) {
                Frame()->Tree()->setCurrentItem(*it);
                return;
            }
        }
        FAIL() << "no node of kind " << kind;
    }

    ConfigTestFolder m_config;
    ScriptedUi m_ui;
    std::unique_ptr<CAppSettings> m_settings;
    fs::path m_profile;
    std::unique_ptr<CMainFrame> m_window;
};

TEST_F(MainFrameTest, MenusOfAPlainStartAndWithADocument) {
    EXPECT_EQ(TopMenus(), QStringList({"&File", "&Edit", "&View", "&Device", "&Help"}));
    EXPECT_FALSE(m_window->Action(MainCommand::kHelpPane)->isVisible());
    EXPECT_EQ(m_window->Action(MainCommand::kNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_TRUE(m_window->MdiArea()->subWindowList().isEmpty());

    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    EXPECT_EQ(TopMenus(),
              QStringList({"&File", "&Edit", "&View", "&Device", "&Report", "&Window", "&Help"}));
    EXPECT_TRUE(m_window->Action(MainCommand::kHelpPane)->isVisible());
    EXPECT_TRUE(m_window->windowTitle().startsWith("QMV410 VLT - Sample.lam"));
}

TEST_F(MainFrameTest, DeviceAndReportCommandsNeedAProfileWindow) {
    const struct {
        int command;
        bool withoutProfile;
    } cases[] = {
        {MainCommand::kRead, true},
        {MainCommand::kReset, true},
        {MainCommand::kWrite, false},
        {MainCommand::kReport, false},
        {MainCommand::kSave, false},
        {MainCommand::kNew, true},
        {MainCommand::kImportContacts, false},
        {MainCommand::kExportContacts, false},
        {MainCommand::kCompareWithRadio, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Enabled(c.command), c.withoutProfile) << c.command;
    }
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    for (const auto& c : cases) {
        EXPECT_TRUE(Enabled(c.command)) << c.command;
    }
}

TEST_F(MainFrameTest, ClipboardCommandsFollowTheFocusedEditBox) {
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    QApplication::clipboard()->setText("12");
    const struct {
        int ctrlId;
        bool cut, copy, paste;
    } cases[] = {
        {CRadioInfoView::kName, false, true, false},  // read-only name box: Copy only
        // The PID box shares its id with the settings' password box: nothing.
        {CRadioInfoView::kPid, false, false, false},
    };
    for (const auto& c : cases) {
        auto* box = qobject_cast<QLineEdit*>(Frame()->View()->Control(c.ctrlId));
        ASSERT_NE(box, nullptr);
        box->setFocus();
        box->selectAll();
        m_window->UpdateCommands();
        EXPECT_EQ(Enabled(MainCommand::kCut), c.cut) << c.ctrlId;
        EXPECT_EQ(Enabled(MainCommand::kCopy), c.copy) << c.ctrlId;
        EXPECT_EQ(Enabled(MainCommand::kPaste), c.paste) << c.ctrlId;
    }

    // An editable box: Cut and Copy with a selection, Paste with text on the clipboard.
    SelectNode(kKindTextMessages);
    SelectNode(kKindTextMessage, 0);
    auto* text = qobject_cast<QPlainTextEdit*>(Frame()->View()->Control(CTextMessageView::kText));
    ASSERT_NE(text, nullptr);
    text->setFocus();
    m_window->UpdateCommands();
    EXPECT_FALSE(Enabled(MainCommand::kCut));
    EXPECT_TRUE(Enabled(MainCommand::kPaste));
    text->selectAll();
    m_window->UpdateCommands();
    EXPECT_TRUE(Enabled(MainCommand::kCut));
    m_window->Action(MainCommand::kCut)->trigger();
    EXPECT_EQ(text->toPlainText(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "Call the office");
}

// Add, Scan(Add), Delete and Rename follow the tree of the active profile window, and only while
// that tree has the focus.
TEST_F(MainFrameTest, NodeCommandsFollowTheActiveWindowsTree) {
    const fs::path second = m_config.Path() / "Second.lam";
    fs::copy_file(m_profile, second);
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    CChildFrame* first = Frame();
    ASSERT_TRUE(m_window->Documents().Open(second.string()));
    const struct {
        CChildFrame* frame;  // null: the second window
        int kind;
        bool add, scanAdd, del, rename;
    } cases[] = {
        {nullptr, kKindPublicGroup, false, false, true, true},
        {first, kKindPrivates, true, true, false, false},
        {nullptr, kKindTextMessages, true, false, false, false},
    };
    for (const auto& c : cases) {
        CChildFrame* frame = c.frame ? c.frame : m_window->Frames().value(1);
        m_window->MdiArea()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(frame->parentWidget()));
        ASSERT_EQ(Frame(), frame);
        SelectNode(c.kind);
        Frame()->Tree()->setFocus();
        EXPECT_EQ(Enabled(MainCommand::kAdd), c.add) << c.kind;
        EXPECT_EQ(Enabled(MainCommand::kScanAdd), c.scanAdd) << c.kind;
        EXPECT_EQ(Enabled(MainCommand::kDelete), c.del) << c.kind;
        EXPECT_EQ(Enabled(MainCommand::kRename), c.rename) << c.kind;
    }
    // The find box takes the focus: the tree's commands go.
    Frame()->ActivateFind();
    EXPECT_FALSE(Enabled(MainCommand::kAdd));
}

TEST_F(MainFrameTest, OneWindowPerFileAndARefusedFileOpensNothing) {
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    ASSERT_TRUE(m_window->Documents().Open((m_config.Path() / "." / "Sample.lam").string()));
    EXPECT_EQ(m_window->MdiArea()->subWindowList().size(), 1);

    const fs::path broken = m_config.Path() / "Broken.lam";
    WriteFileBytes(broken, "<QMVProfile>not a profile");
    EXPECT_FALSE(m_window->Documents().Open(broken.string()));
    EXPECT_EQ(m_window->MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(m_ui.shown.size(), 1u);
    EXPECT_EQ(CRecentFiles::Entries(), std::vector<std::string>{m_profile.string()});
}

TEST_F(MainFrameTest, DroppedProfilesOpenAndOtherFilesDoNot) {
    const fs::path text = m_config.Path() / "notes.txt";
    fs::copy_file(m_profile, text);
    m_window->Documents().OpenDropped(
        {QUrl::fromLocalFile(QString::fromStdString(text.string())),
         QUrl::fromLocalFile(QString::fromStdString(m_profile.string()))});
    ASSERT_EQ(m_window->Frames().size(), 1);
    EXPECT_EQ(m_window->Frames().front()->Document().Path(), m_profile);
}

TEST_F(MainFrameTest, SaveChangesQuestionOnClose) {
    const std::string original = ReadFileBytes(m_profile);
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    SelectNode(kKindTextMessages);
    SelectNode(kKindTextMessage, 0);
    auto* text = qobject_cast<QPlainTextEdit*>(Frame()->View()->Control(CTextMessageView::kText));
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(text, "x");
    EXPECT_TRUE(Frame()->isWindowModified());

    m_ui.answers = {MessageStyle::kIdCancel};
    m_window->MdiArea()->closeActiveSubWindow();
    EXPECT_EQ(m_ui.saveChangesQuestions, 1);
    EXPECT_EQ(m_window->MdiArea()->subWindowList().size(), 1);

    m_ui.answers = {MessageStyle::kIdNo};
    QSignalSpy gone(Frame(), &QObject::destroyed);
    m_window->MdiArea()->closeActiveSubWindow();
    ASSERT_TRUE(gone.wait(5000));
    EXPECT_EQ(m_ui.saveChangesQuestions, 2);
    EXPECT_TRUE(m_window->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(ReadFileBytes(m_profile), original);
}

TEST_F(MainFrameTest, NewProfileFromATemplateIsSavedUnderTheChosenName) {
    m_ui.templateName = "QMV410";
    ASSERT_TRUE(m_window->Documents().New());
    ASSERT_EQ(m_window->Frames().size(), 1);
    EXPECT_TRUE(Frame()->Document().Path().empty());
    EXPECT_TRUE(m_window->windowTitle().contains(" - Profile"));

    const fs::path target = m_config.Path() / "Shop.lam";
    m_ui.savePath = target.string();
    m_window->Action(MainCommand::kSave)->trigger();  // no path yet: Save As
    EXPECT_EQ(Frame()->Document().Path(), target);
    EXPECT_TRUE(fs::exists(target));
    EXPECT_TRUE(m_window->windowTitle().contains("Shop.lam"));
}

TEST_F(MainFrameTest, SaveCommitsTheShownViewFirst) {
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    SelectNode(kKindTextMessages);
    SelectNode(kKindTextMessage, 0);
    auto* text = qobject_cast<QPlainTextEdit*>(Frame()->View()->Control(CTextMessageView::kText));
    text->selectAll();
    QTest::keyClicks(text, "Saved text");
    m_window->Action(MainCommand::kSave)->trigger();
    EXPECT_FALSE(Frame()->Document().IsModified());

    CQMVVLTDoc reread(*m_settings, TestInstallFolder(), m_ui);
    ASSERT_TRUE(reread.Open(m_profile));
    EXPECT_NE(reread.Model().ProfileText().find("txt=\"Saved text\""), std::string::npos);
}

TEST_F(MainFrameTest, LanguageCommandAsksForARestartOnlyOnAChange) {
    ASSERT_NE(m_window->LanguageMenu(), nullptr);
    m_window->Action(LanguageCommand::kEnglish)->trigger();  // English, the running language
    EXPECT_TRUE(m_ui.shown.empty());
    m_window->Action(LanguageCommand::kFrench)->trigger();  // French
    EXPECT_EQ(m_ui.shown, std::vector<std::string>{LoadString(MessageId::kYouHaveToRestart)});
    EXPECT_EQ(Utility::GetCurrentLanguage(), "French");
    EXPECT_TRUE(m_window->Action(LanguageCommand::kFrench)->isChecked());
}

TEST_F(MainFrameTest, HelpCommandReportsAMissingHelpFile) {
    // The shipped configuration names help files that this test install does not have.
    m_window->Action(MainCommand::kHelpContents)->trigger();
    EXPECT_EQ(m_ui.shown, std::vector<std::string>{LoadString(MessageId::kHelpFileMissing)});
    EXPECT_TRUE(m_ui.openedUrls.empty());
}

TEST_F(MainFrameTest, HelpPaneSwitchIsStoredOnExit) {
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    m_window->Action(MainCommand::kHelpPane)->trigger();
    EXPECT_TRUE(Frame()->HelpPaneShown());
    m_window->close();
    EXPECT_EQ(Utility::GetContextHelpFlag(), 1);
}

TEST_F(MainFrameTest, UndoAndRedoHeadTheEditMenuAndNameTheirStep) {
    QMenu* edit = m_window->menuBar()->actions().at(1)->menu();
    ASSERT_NE(edit, nullptr);
    const QList<QAction*> items = edit->actions();
    ASSERT_GE(items.size(), 5);
    EXPECT_EQ(items.at(0), m_window->Action(MainCommand::kUndo));
    EXPECT_EQ(items.at(1), m_window->Action(MainCommand::kRedo));
    EXPECT_EQ(items.at(2), m_window->Action(MainCommand::kFind));
    EXPECT_TRUE(items.at(3)->isSeparator());
    EXPECT_EQ(items.at(4), m_window->Action(MainCommand::kAdd));
    EXPECT_TRUE(m_window->Action(MainCommand::kRedo)
                    ->shortcuts()
                    .contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    EXPECT_FALSE(Enabled(MainCommand::kUndo));

    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    // The list node, not the private: the change below bypasses the views, and the private's own
    // view would commit the name it still shows before the undo.
    SelectNode(kKindPrivates);
    ASSERT_EQ(Frame()
                  ->Tree()
                  ->ListItem(kKindPrivates)
                  .GetChildByIndex(1)
                  .SetAttributeValue("name", ScriptText("A&B"))
                  .result,
              0);
    Frame()->DescribeChange("Rename 'A&B'");
    Frame()->MarkModified();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Enabled(MainCommand::kUndo));
    // The name's "&" shows as itself, not as a mnemonic.
    EXPECT_EQ(m_window->Action(MainCommand::kUndo)->text(), "&Undo Rename 'A&&B'");
    EXPECT_EQ(m_window->Action(MainCommand::kRedo)->text(), "Red&o");
    Frame()->Tree()->setFocus();
    QTest::keyClick(Frame()->Tree(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Enabled(MainCommand::kUndo));
    EXPECT_EQ(m_window->Action(MainCommand::kRedo)->text(), "Red&o Rename 'A&&B'");
}

// Saving an older profile in the latest format reloads it: the tree and the shown view follow the
// reloaded profile, keep the node shown, and the next edit in that view lands in it.
TEST_F(MainFrameTest, AConvertingSaveLeavesTheWindowOnTheReloadedProfile) {
    std::string group1 = ReadFileBytes(m_profile);
    group1.replace(group1.find("firmware_version=\"8\""), 20, "firmware_version=\"1\"");
    WriteFileBytes(m_profile, group1);
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    ASSERT_EQ(Frame()->Document().Model().GetModelGroup(), 1);
    const auto retype = [&](const QString& name) {
        auto* view = qobject_cast<CContactEditView*>(Frame()->View());
        ASSERT_NE(view, nullptr);
        view->NameBox()->setFocus();
        view->NameBox()->selectAll();
        QTest::keyClicks(view->NameBox(), name);
    };
    const auto stored = [&] {
        const CXPath query(Frame()->Document().Model().GetProfileDoc());
        return GetAttribute(query.SelectFirst("//dfns:Private[@pid='10000003']"), "name");
    };
    SelectNode(kKindPrivate, 1);
    retype("Bruno Silva");
    m_ui.answers = {MessageStyle::kIdYes};  // kAskConvertToLatest: convert
    m_window->Action(MainCommand::kSave)->trigger();
    ASSERT_EQ(Frame()->Document().Model().GetModelGroup(), 3);
    EXPECT_EQ(stored(), "Bruno Silva");
    EXPECT_EQ(Frame()->Tree()->currentItem()->text(0), "Bruno Silva");
    EXPECT_EQ(Frame()->Current().kind, kKindPrivate);

    retype("Bruno Souza");
    SelectNode(kKindPrivates);  // leaving the contact stores its name
    EXPECT_EQ(stored(), "Bruno Souza");
    EXPECT_TRUE(Frame()->Document().IsModified());
    EXPECT_FALSE(m_ui.Showed(MessageId::kProgrammingError108));
    EXPECT_FALSE(m_ui.Showed(MessageId::kProfileDataError));
}

TEST_F(MainFrameTest, AProfileOverwrittenByARadioReadComesBackWithUndo) {
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    CChildFrame* frame = Frame();
    const auto privates = [&] {
        QStringList names;
        QTreeWidgetItem* node = frame->Tree()->ListNode(kKindPrivates);
        for (int i = 0; node && i < node->childCount(); ++i) {
            names << node->child(i)->text(0);
        }
        return names;
    };
    const QStringList before = privates();
    const std::string profileBefore = frame->Document().Model().ProfileText();
    ASSERT_TRUE(m_window->ReplaceDocument(*frame, MakeFullImage()));
    QCoreApplication::processEvents();
    ASSERT_NE(privates(), before);
    EXPECT_EQ(m_window->Action(MainCommand::kUndo)->text(), "&Undo Read from Radio");

    m_window->Action(MainCommand::kUndo)->trigger();
    EXPECT_EQ(privates(), before);
    EXPECT_EQ(frame->Document().Model().ProfileText(), profileBefore);
    EXPECT_FALSE(frame->Document().IsModified());
    m_window->Action(MainCommand::kRedo)->trigger();
    EXPECT_NE(privates(), before);
    EXPECT_TRUE(frame->Document().IsModified());
}

// A radio of an older model group read over the open profile: the window shows that group's
// controls, as it does after an undo that changes the group.
TEST_F(MainFrameTest, ARadioReadOverTheProfileBringsItsGroupsControls) {
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    CChildFrame* frame = Frame();
    ASSERT_EQ(m_settings->CurrentGroup(), 3);
    CVirtualCodeplug image = MakeRuleConsistentFullImage();
    image.version.firmware_version = 1;
    ASSERT_TRUE(m_window->ReplaceDocument(*frame, image));
    ASSERT_EQ(frame->Document().Model().GetModelGroup(), 1);
    EXPECT_EQ(m_settings->CurrentGroup(), 1);
    EXPECT_TRUE(DocumentToString(frame->Document().SettingsCopy()) ==
                DocumentToString(m_settings->WorkingCopy()));
}

}  // namespace

TEST_F(MainFrameTest, ImportContactsListsTheRefusedRowsAndExportWritesThem) {
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    const fs::path csv = m_config.Path() / "in.csv";
    WriteFileBytes(csv,
                   "type,name,id,channel\r\nprivate,New Hire,10000400,2\r\n"
                   "private,Too Far,99999999999,1\r\n");
    m_ui.openPath = csv.string();
    m_window->Action(MainCommand::kImportContacts)->trigger();

    EXPECT_TRUE(Frame()->Document().IsModified());
    const auto windows = m_window->findChildren<CTextListDialog*>();
    ASSERT_EQ(windows.size(), 1);
    CTextListDialog* refused = windows[0];
    EXPECT_SOON(refused->isVisible());
    refused->grab().save("/tmp/qmvvlt-import-refused.png");
    const QString line = QString::fromStdString(FormatRefusal(
        {3, MessageId::kPidOutsideValidRange,
         LoadString(MessageId::kPidOutsideValidRange)}));  // the PID beyond the radio's range
    EXPECT_EQ(refused->Text(), line + "\n");
    QApplication::clipboard()->clear();
    for (QPushButton* button : refused->findChildren<QPushButton*>()) {
        if (button->text() == QString::fromStdString(LoadString(MessageId::kCopyAll))) {
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    EXPECT_EQ(QApplication::clipboard()->text(), line + "\n");
    QTest::keyClick(refused, Qt::Key_Escape);
    EXPECT_SOON(m_window->findChildren<CTextListDialog*>().isEmpty());

    const fs::path out = m_config.Path() / "out.csv";
    m_ui.savePath = out.string();
    m_window->Action(MainCommand::kExportContacts)->trigger();
    const std::string written = ReadFileBytes(out);
    EXPECT_NE(written.find("\r\nprivate,New Hire,10000400,2,"), std::string::npos) << written;
    EXPECT_EQ(written.find("Too Far"), std::string::npos) << written;
}

// A register address that cannot be used is said, and no station window opens (it used to throw
// out of the menu command and end the program).
TEST_F(MainFrameTest, StationWithAnUnusableRegisterAddressSaysWhy) {
    const std::string url = "ftp://register.example/fleet";
    ASSERT_TRUE(Utility::SetRegisterUrl(url));
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    m_window->Action(MainCommand::kProgrammingStation)->trigger();
    EXPECT_TRUE(m_ui.Showed(MessageId::kRegisterBadUrl, url));
    EXPECT_EQ(m_window->StationWindow(), nullptr);
}
