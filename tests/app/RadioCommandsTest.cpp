#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "CAppSettings.h"
#include "CAskPwdDlg.h"
#include "CBaseView.h"
#include "CChildFrame.h"
#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CPreferenceDialog.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommands.h"
#include "CReadPidDialog.h"
#include "CReadWriteDialog.h"
#include "CSettingsView.h"
#include "CShellRequests.h"
#include "CTextListDialog.h"
#include "ConfigTestFolder.h"
#include "ExpectSoon.h"
#include "ICommandHost.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "RadioClock.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "ScriptedUi.h"
#include "SimFixture.h"
#include "TestInstall.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

class FakePorts : public IPortLister {
  public:
    std::vector<PortDescription> ports;
    std::vector<PortDescription> Ports() const override { return ports; }
};

// What a transfer dialog showed, and how it ended.
struct DialogSeen {
    QString title;
    QString status;
    int progress = -1;
    int finished = -99;
    bool stayedOpenOnEscape = false;
    bool deviceCommandEnabled = false;  // the watched command, while the dialog ran
};

// Drives the modal dialogs a radio command opens, polling from the event loop the command runs.
class DialogDriver : public QObject {
  public:
    enum class Plan { kOk, kCancelWhileRunning, kCancelAfterFailure, kNextOnce };

    explicit DialogDriver(Plan plan) : m_plan(plan) {
        connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start(5);
        qApp->installEventFilter(this);
    }

    std::vector<DialogSeen> seen;
    std::deque<QString> passwords;     // typed into the password dialog, in order
    std::function<void()> beforeNext;  // kNextOnce: before "Write Next Radio" is pressed
    QAction* watched = nullptr;        // a device command that must stay disabled meanwhile
    int passwordDialogs = 0;
    // The modified-band notice: how often it came, its title and box, and whether the box is
    // ticked before OK.
    bool tickDontShowAgain = false;
    int notices = 0;
    QString noticeTitle;
    QString noticeBox;
    // Commands that must not be chosen while a radio command runs; those seen enabled then.
    std::vector<QAction*> guarded;
    QStringList enabledWhileRunning;

  protected:
    // A dialog that ends before the next poll (a quick refusal on a loaded machine) is still seen.
    bool eventFilter(QObject* watchedObject, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<CReadWriteDialog*>(watchedObject)) {
                Track(dialog);
            }
        }
        return QObject::eventFilter(watchedObject, event);
    }

  private:
    void Track(CReadWriteDialog* dialog) {
        if (dialog == m_current) {
            return;
        }
        m_current = dialog;
        seen.emplace_back();
        connect(dialog, &QDialog::finished, this, [this](int code) {
            seen.back().finished = code;
            // The next dialog may be built at the same address.
            m_current = nullptr;
        });
    }

    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            for (QAction* action : guarded) {
                if (action->isEnabled() && !enabledWhileRunning.contains(action->text())) {
                    enabledWhileRunning << action->text();
                }
            }
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal);
            box && box->text() == Text(MessageId::kModifiedBandNotice)) {
            ++notices;
            noticeTitle = box->windowTitle();
            noticeBox = box->checkBox() ? box->checkBox()->text() : QString();
            if (tickDontShowAgain && box->checkBox()) {
                QTest::keyClick(box->checkBox(), Qt::Key_Space);
            }
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            return;
        }
        if (auto* pwd = qobject_cast<CAskPwdDlg*>(modal)) {
            ++passwordDialogs;
            const QString typed = passwords.empty() ? QString() : passwords.front();
            if (!passwords.empty()) {
                passwords.pop_front();
            }
            QTest::keyClicks(pwd->PasswordBox(), typed);
            if (typed.isEmpty()) {
                QTest::keyClick(pwd, Qt::Key_Escape);
            } else {
                QTest::keyClick(pwd->PasswordBox(), Qt::Key_Return);
            }
            return;
        }
        auto* dialog = qobject_cast<CReadWriteDialog*>(modal);
        if (!dialog) {
            return;
        }
        Track(dialog);
        DialogSeen& now = seen.back();
        now.title = dialog->windowTitle();
        now.status = dialog->StatusText()->text();
        now.progress = dialog->ProgressBar()->value();
        now.deviceCommandEnabled = watched && watched->isEnabled();
        if (m_plan == Plan::kNextOnce && dialog->NextButton()->isVisible() && !m_cancelled) {
            m_cancelled = true;
            beforeNext();
            QTest::mouseClick(dialog->NextButton(), Qt::LeftButton);
            return;
        }
        // Whatever the plan, a dialog that succeeded ends with OK.
        if (dialog->OkButton()->isEnabled()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            now.stayedOpenOnEscape = dialog->isVisible();
            QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
            return;
        }
        switch (m_plan) {
            case Plan::kOk:
            case Plan::kNextOnce:
                break;
            case Plan::kCancelWhileRunning:
                if (dialog->ProgressBar()->value() > 0 && !m_cancelled) {
                    m_cancelled = true;
                    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
                    now.status = dialog->StatusText()->text();
                }
                break;
            case Plan::kCancelAfterFailure:
                if (dialog->StatusText()->text() != Text(MessageId::kReadingFromRadio) &&
                    !m_cancelled) {
                    m_cancelled = true;
                    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
                }
                break;
        }
    }

    Plan m_plan;
    QTimer m_timer;
    CReadWriteDialog* m_current = nullptr;
    bool m_cancelled = false;
};

class RadioCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Utility::SetInstallPathOverride(TestInstallFolder());
        m_settings = CQMVVLTApp::Start(m_ui);
        ASSERT_NE(m_settings, nullptr);
    }
    void TearDown() override {
        CloseWindow();
        Utility::SetInstallPathOverride(std::nullopt);
    }
    void CloseWindow() {
        if (m_window) {
            for (CChildFrame* frame : m_window->Frames()) {
                frame->Document().SetModified(false);
            }
            m_window.reset();
        }
    }
    // The window, set to use the virtual radio's pseudo-terminal.
    void OpenWindow(const CSimRadio& sim) {
        Utility::SetAutoDetect(0);
        Utility::SetCurrentComPort(sim.Port());
        m_window = std::make_unique<CMainFrame>(*m_settings, TestInstallFolder(), &m_ui, &m_ports);
        m_window->Radio().Context().finishPause = std::chrono::milliseconds(0);
        m_window->show();
        // The window's first paint is over before a command starts, as it is for a user. Under
        // ThreadSanitizer that paint starves the virtual radio's thread long enough for a paced
        // reply to miss its time-out.
        QApplication::processEvents();
    }
    void OpenSample() {
        const auto profile = m_config.Path() / "Sample.lam";
        std::filesystem::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", profile,
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(m_window->Documents().Open(profile.string()));
    }

    ConfigTestFolder m_config;
    ScriptedUi m_ui;
    FakePorts m_ports;
    std::unique_ptr<CAppSettings> m_settings;
    std::unique_ptr<CMainFrame> m_window;
};

TEST_F(RadioCommandsTest, ReadWithoutAProfileWindowGivesANewProfileTitledWithThePid) {
    CSimRadio sim;
    OpenWindow(sim);
    DialogDriver driver(DialogDriver::Plan::kOk);
    driver.watched = m_window->Action(MainCommand::kReset);
    m_window->Action(MainCommand::kRead)->trigger();

    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_FALSE(driver.seen[0].deviceCommandEnabled);
    EXPECT_EQ(driver.seen[0].title, Text(MessageId::kReadingSuccessful));
    EXPECT_EQ(driver.seen[0].progress, 100);
    EXPECT_TRUE(driver.seen[0].stayedOpenOnEscape);
    EXPECT_EQ(driver.seen[0].finished, QDialog::Accepted);
    EXPECT_FALSE(m_ui.Showed(MessageId::kNewOrOverwrite));
    ASSERT_EQ(m_window->Frames().size(), 1);
    EXPECT_EQ(m_window->Frames()[0]->Document().Title(), "10000001");
    EXPECT_EQ(m_window->PortPane()->text(), QString::fromStdString(sim.Port()));
    EXPECT_TRUE(m_window->Action(MainCommand::kRead)->isEnabled());
}

// A modified-band radio's notice comes on every read until its box is ticked. While it (or the
// transfer dialog) is up, the read still runs, and nothing that would disturb it can be chosen.
TEST_F(RadioCommandsTest, ModifiedBandNoticeStopsOnceTickedAndCommandsWaitForTheRead) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.limits.model = u"Q411";
    image.limits.clone_compatibility_version = 15;
    image.limits.max_num_of_channels = 4;
    struct Case {
        bool tick;
        int noticesAfterTwoReads;
        int promptFlag;
    };
    for (const Case& c : {Case{false, 2, 1}, Case{true, 1, 0}}) {
        CSimRadio sim(image);
        OpenWindow(sim);
        OpenSample();
        Utility::SetRegionalizationPromptFlag(1);
        DialogDriver driver(DialogDriver::Plan::kOk);
        driver.tickDontShowAgain = c.tick;
        for (int command : {MainCommand::kRead, MainCommand::kWrite, MainCommand::kReset,
                            MainCommand::kPreference, MainCommand::kReport, MainCommand::kNew,
                            MainCommand::kOpen, MainCommand::kClose, MainCommand::kExit}) {
            driver.guarded.push_back(m_window->Action(command));
        }
        if (QMenu* languages = m_window->LanguageMenu()) {
            driver.guarded.push_back(languages->menuAction());
        }
        for (int read = 0; read < 2; ++read) {
            m_ui.answers = {MessageStyle::kIdCancel};  // neither a new profile nor an overwrite
            m_window->Action(MainCommand::kRead)->trigger();
        }
        EXPECT_EQ(driver.seen.size(), 2u);
        EXPECT_EQ(driver.notices, c.noticesAfterTwoReads) << c.tick;
        EXPECT_EQ(driver.noticeTitle, QString::fromLatin1(kApplicationName));
        EXPECT_EQ(driver.noticeBox, Text(MessageId::kDoNotShowAgain));
        EXPECT_EQ(Utility::GetRegionalizationPromptFlag(), c.promptFlag);
        EXPECT_TRUE(driver.enabledWhileRunning.isEmpty())
            << driver.enabledWhileRunning.join(", ").toStdString();
        for (QAction* action : driver.guarded) {
            EXPECT_TRUE(action->isEnabled()) << action->text().toStdString() << " after the read";
        }
        CloseWindow();
    }
}

TEST_F(RadioCommandsTest, ReadIntoTheActiveProfileWhenTheAnswerIsNo) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.texts[0] = u"From the radio";
    CSimRadio sim(image);
    OpenWindow(sim);
    OpenSample();
    m_ui.answers = {MessageStyle::kIdNo};
    DialogDriver driver(DialogDriver::Plan::kOk);
    m_window->Action(MainCommand::kRead)->trigger();

    EXPECT_TRUE(m_ui.Showed(MessageId::kNewOrOverwrite));
    ASSERT_EQ(m_window->Frames().size(), 1);
    CQMVVLTDoc& doc = m_window->Frames()[0]->Document();
    EXPECT_TRUE(doc.IsModified());
    CVirtualCodeplug now;
    doc.GetVirtualCPData(now, u"10000001");
    EXPECT_EQ(now.texts[0], u"From the radio");
}

TEST_F(RadioCommandsTest, CancelDuringAReadClosesTheDialogAndCreatesNothing) {
    CSimFaults faults;
    faults.pace = true;
    CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
    OpenWindow(sim);
    DialogDriver driver(DialogDriver::Plan::kCancelWhileRunning);
    m_window->Action(MainCommand::kRead)->trigger();

    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].status, Text(MessageId::kCanceling));
    EXPECT_EQ(driver.seen[0].finished, QDialog::Rejected);
    EXPECT_FALSE(m_ui.Showed(MessageId::kNewOrOverwrite));
    EXPECT_TRUE(m_window->Frames().isEmpty());
}

TEST_F(RadioCommandsTest, ASilentRadioKeepsTheDialogOpenWithTheFailureUntilCancel) {
    CSimFaults faults;
    faults.silenceAfterFrames = 6;
    CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
    OpenWindow(sim);
    DialogDriver driver(DialogDriver::Plan::kCancelAfterFailure);
    m_window->Action(MainCommand::kRead)->trigger();

    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].status.toStdString(), RadioTransferText(kNoConnection));
    EXPECT_EQ(driver.seen[0].finished, QDialog::Rejected);
    EXPECT_TRUE(m_window->Frames().isEmpty());
}

TEST_F(RadioCommandsTest, AWrongPasswordIsAskedAgainAndTheRightOneIsKept) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.settings.password = u"1234";
    CSimRadio sim(image);
    OpenWindow(sim);
    DialogDriver driver(DialogDriver::Plan::kOk);
    driver.passwords = {QStringLiteral("9999"), QStringLiteral("1234")};
    m_window->Action(MainCommand::kRead)->trigger();
    EXPECT_EQ(driver.passwordDialogs, 2);
    EXPECT_EQ(m_ui.Count(LoadString(MessageId::kWrongPassword)), 1);
    ASSERT_EQ(m_window->Frames().size(), 1);

    m_ui.answers = {MessageStyle::kIdCancel};
    m_window->Action(MainCommand::kRead)->trigger();
    EXPECT_EQ(driver.passwordDialogs, 2);
    EXPECT_EQ(driver.seen.size(), 2u);
}

TEST_F(RadioCommandsTest, TheWarningOfAWriteIsAnsweredInTheWindow) {
    struct Case {
        int answer;
        bool written;
        int finished;
    };
    for (const Case& c : {Case{MessageStyle::kIdYes, true, QDialog::Accepted},
                          Case{MessageStyle::kIdNo, false, QDialog::Rejected}}) {
        CSimRadio sim;
        OpenWindow(sim);
        OpenSample();
        m_ui.shown.clear();
        m_ui.answers = {c.answer};
        DialogDriver driver(DialogDriver::Plan::kOk);
        m_window->Action(MainCommand::kWrite)->trigger();
        // The sample profile has no private contact with the radio's PID.
        EXPECT_TRUE(m_ui.Showed(MessageId::kAskRadioNotInProfile));
        ASSERT_EQ(driver.seen.size(), 1u);
        EXPECT_EQ(driver.seen[0].finished, c.finished);
        EXPECT_EQ(sim.radio.Image().texts[0] == u"Call the office", c.written) << c.answer;
        CloseWindow();
    }
}

TEST_F(RadioCommandsTest, WriteSetsTheRadioClockFromThePcWhenTheSettingsViewSaysSo) {
    for (const bool usePcClock : {true, false}) {
        CSimRadio sim;
        OpenWindow(sim);
        OpenSample();
        CChildFrame* frame = m_window->Frames().front();
        frame->ShowView(kKindSettings, 0);
        auto* check = qobject_cast<QCheckBox*>(frame->View()->Control(CSettingsView::kPcClock));
        ASSERT_NE(check, nullptr);
        // The view's clock shows a date far from today; the write commits it unless the PC's
        // clock is to be used.
        auto* date = qobject_cast<QDateEdit*>(frame->View()->Control(CSettingsView::kDate));
        ASSERT_NE(date, nullptr);
        date->setDate(QDate(2030, 2, 3));
        if (usePcClock) {
            check->setFocus();
            QTest::keyClick(check, Qt::Key_Space);
        }
        m_ui.answers = {MessageStyle::kIdYes};
        DialogDriver driver(DialogDriver::Plan::kOk);
        const std::uint32_t before = RadioClockNow();
        m_window->Action(MainCommand::kWrite)->trigger();
        const std::uint32_t written = sim.radio.Image().settings.current_time;
        ASSERT_EQ(driver.seen.size(), 1u);
        EXPECT_EQ(driver.seen[0].finished, QDialog::Accepted);
        EXPECT_EQ(written >= before && written <= RadioClockNow(), usePcClock) << written;
        EXPECT_EQ(RadioClockDecode(written).year == 2030, !usePcClock) << written;
        CloseWindow();
    }
}

TEST_F(RadioCommandsTest, DroppingWhatAnOlderRadioLacksIsAskedBeforeAnythingIsSent) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.version.firmware_version = 5;  // a group-2 radio, below the sample's group 3
    CSimRadio sim(image);
    OpenWindow(sim);
    OpenSample();
    m_ui.shown.clear();
    m_ui.answers = {MessageStyle::kIdNo};
    DialogDriver driver(DialogDriver::Plan::kOk);
    m_window->Action(MainCommand::kWrite)->trigger();
    EXPECT_TRUE(m_ui.Showed(MessageId::kAskDropUnsupported));
    EXPECT_TRUE(driver.seen.empty()) << "no transfer dialog after No";
    EXPECT_NE(sim.radio.Image().texts[0], u"Call the office") << "nothing written";
}

TEST_F(RadioCommandsTest, WriteNextRadioWritesOneRadioAfterAnother) {
    CSimRadio first;
    CSimRadio second;
    OpenWindow(first);
    OpenSample();
    m_ui.answers = {MessageStyle::kIdYes, MessageStyle::kIdYes};
    DialogDriver driver(DialogDriver::Plan::kNextOnce);
    driver.beforeNext = [&second] { Utility::SetCurrentComPort(second.Port()); };
    m_window->Action(MainCommand::kWrite)->trigger();

    ASSERT_EQ(driver.seen.size(), 2u);
    EXPECT_EQ(driver.seen[1].status.toStdString(),
              CStringTable::Instance().Format(MessageId::kRadiosWritten, {"2"}));
    EXPECT_EQ(first.radio.Image().texts[0], u"Call the office");
    EXPECT_EQ(second.radio.Image().texts[0], u"Call the office");
}

// While a radio command works on a profile, neither the profile window's own close button nor its
// tab's closes it, nor does the program quit; a profile handed over meanwhile waits until the
// command has ended.
TEST_F(RadioCommandsTest, NothingClosesWhileARadioCommandRuns) {
    CSimFaults faults;
    faults.pace = true;  // a slow radio: the command's first read is still going on
    CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
    OpenWindow(sim);
    OpenSample();
    const auto later = m_config.Path() / "Later.lam";
    std::filesystem::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", later);
    CShellRequests requests(*m_window);
    QPointer<CChildFrame> frame = m_window->ActiveFrame();
    QMdiSubWindow* sub = m_window->MdiArea()->currentSubWindow();
    struct {
        bool running = false;
        bool closedBySubWindow = true;
        bool closedByTab = true;
        bool quit = true;
        qsizetype framesWhenDone = -1;
    } seen;
    QObject::connect(
        &m_window->Radio(), &CRadioCommands::runningChanged, m_window.get(), [&](bool running) {
            if (!running) {
                seen.framesWhenDone = m_window->Frames().size();
                return;
            }
            // Once the command waits for the radio, with the window's event loop running.
            QTimer::singleShot(0, m_window.get(), [&] {
                seen.running = m_window->Radio().Running();
                seen.closedBySubWindow = sub->close() || !frame;
                m_window->Action(MainCommand::kTabbed)->setChecked(true);
                auto* tabs = m_window->MdiArea()->findChild<QTabBar*>();
                QWidget* close = tabs ? tabs->tabButton(0, QTabBar::RightSide) : nullptr;
                if (close && frame) {
                    QTest::mouseClick(close, Qt::LeftButton);
                    seen.closedByTab = !frame;
                }
                seen.quit = m_window->close();
                requests.Add({QString::fromStdString(later.string())});
            });
        });
    DialogDriver driver(DialogDriver::Plan::kCancelWhileRunning);
    m_window->Action(MainCommand::kWrite)->trigger();

    EXPECT_TRUE(seen.running);
    EXPECT_FALSE(seen.closedBySubWindow);
    EXPECT_FALSE(seen.closedByTab);
    EXPECT_FALSE(seen.quit);
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(seen.framesWhenDone, 1);
    EXPECT_SOON(m_window->Frames().size() == 2);
    EXPECT_TRUE(requests.Pending().isEmpty());
    // The command over, the same tab button closes the window.
    m_window->MdiArea()->setActiveSubWindow(sub);
    auto* tabs = m_window->MdiArea()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    QTest::mouseClick(tabs->tabButton(tabs->currentIndex(), QTabBar::RightSide), Qt::LeftButton);
    EXPECT_SOON(frame.isNull());
}

// Status-bar pane 1 tells screen readers the port too, and changes only through the preference
// dialog's auto-detect rule and its OK: a pick in the list shows nothing yet, and Cancel puts back
// what the pane showed before.
TEST_F(RadioCommandsTest, PortPaneFollowsTheAutoDetectRuleAndOkOnly) {
    m_ports.ports = {{"ttyS0", "/dev/ttyS0", "", "", ""},
                     {"ttyS2", "/dev/ttyS2", "", "", ""},
                     {"ttyUSB1", "/dev/ttyUSB1", "br qmv cable", "Maker", "A1"}};
    Utility::SetAutoDetect(0);
    Utility::SetCurrentComPort("ttyS2");
    m_window = std::make_unique<CMainFrame>(*m_settings, TestInstallFolder(), &m_ui, &m_ports);
    m_window->show();
    QLabel* pane = m_window->PortPane();
    const auto told = [pane] {
        return QAccessible::queryAccessibleInterface(pane)
            ->text(QAccessible::Description)
            .toStdString();
    };
    EXPECT_EQ(pane->text().toStdString(), "ttyS2");
    EXPECT_EQ(told(), "ttyS2");

    const struct {
        const char* what;
        bool tickAutoDetect;
        bool ok;
        const char* duringDialog;
        const char* afterwards;
    } cases[] = {
        {"pick, Cancel", false, false, "ttyS2", "ttyS2"},
        {"auto-detect, Cancel", true, false, "ttyUSB1", "ttyS2"},
        {"pick, OK", false, true, "ttyS2", "ttyS0"},
    };
    for (const auto& c : cases) {
        std::string during;
        QTimer::singleShot(0, m_window.get(), [&] {
            auto* dialog = qobject_cast<CPreferenceDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                return;
            }
            if (c.tickAutoDetect) {
                QTest::keyClick(dialog->AutoDetectBox(), Qt::Key_Space);
            } else {
                QTest::keyClick(dialog->PortList(), Qt::Key_Home);  // the user picks ttyS0
            }
            during = pane->text().toStdString();
            c.ok ? dialog->accept() : dialog->reject();
        });
        m_window->Action(MainCommand::kPreference)->trigger();
        EXPECT_EQ(during, c.duringDialog) << c.what;
        EXPECT_EQ(pane->text().toStdString(), c.afterwards) << c.what;
        EXPECT_EQ(told(), c.afterwards) << c.what;
    }
}

TEST_F(RadioCommandsTest, NoPortRefusesTheRadioCommands) {
    m_window = std::make_unique<CMainFrame>(*m_settings, TestInstallFolder(), &m_ui, &m_ports);
    Utility::SetAutoDetect(0);
    Utility::SetCurrentComPort("ttyUSB0");
    for (int command : {MainCommand::kRead, MainCommand::kReset}) {
        m_ui.shown.clear();
        m_window->Action(command)->trigger();
        EXPECT_TRUE(m_ui.Showed(MessageId::kNoComPort)) << command;
    }
}

// A capture that polls without an answer times out with a red bar; one that gets a PID ends
// with OK and keeps it.
TEST_F(RadioCommandsTest, PidCaptureShowsItsOutcome) {
    CTransferContext context;
    context.capturePollInterval = std::chrono::milliseconds(0);
    struct Case {
        int waitingPolls;  // -1: no PID ever comes
        bool captured;
    };
    for (const Case& c : {Case{2, true}, Case{-1, false}}) {
        CSimRadio sim;
        if (c.waitingPolls >= 0) {
            sim.radio.SetCapture(u"10000777", c.waitingPolls);
        }
        CReadPidDialog dialog(context, sim.Port(), {}, nullptr);
        QString status;
        QColor bar;
        bool ended = false;
        QTimer::singleShot(0, &dialog, [&] {
            ended = QTest::qWaitFor([&] {
                return dialog.OkButton()->isEnabled() || !dialog.StatusText()->text().isEmpty();
            });
            status = dialog.StatusText()->text();
            bar = dialog.ProgressBar()->palette().color(QPalette::Base);
            QTest::mouseClick(
                dialog.OkButton()->isEnabled() ? dialog.OkButton() : dialog.CancelButton(),
                Qt::LeftButton);
        });
        const int answer = dialog.Run();
        EXPECT_TRUE(ended);
        EXPECT_EQ(answer, c.captured ? QDialog::Accepted : QDialog::Rejected);
        if (c.captured) {
            EXPECT_EQ(status, Text(MessageId::kReadingSuccessful));
            EXPECT_EQ(dialog.CapturedPid(), u"10000777");
        } else {
            EXPECT_EQ(status, QStringLiteral("Error: Operation timed out."));
            EXPECT_EQ(bar, QColor(255, 0, 0));
        }
    }
    context.capturePollInterval = std::chrono::milliseconds(3000);
}

// The preference dialog's list and its auto-detect rule over a fake set of ports.
TEST_F(RadioCommandsTest, PreferenceDialogChoosesAndStoresThePort) {
    m_ports.ports = {{"ttyS10", "/dev/ttyS10", "", "", ""},
                     {"ttyUSB1", "/dev/ttyUSB1", "br qmv cable", "Maker", "A1"},
                     {"ttyS2", "/dev/ttyS2", "", "", ""},
                     {"ttyS0", "/dev/ttyS0", "", "", ""}};
    struct Case {
        int autoDetect;  // -1: unreadable
        const char* stored;
        const char* selected;
    };
    const Case cases[] = {
        {0, "ttyS2", "ttyS2"},
        {0, "ttyS7", "ttyS0"},  // a port that does not exist gives the lowest-numbered one
        {1, "ttyS2", "ttyUSB1"},
        {-1, "ttyS2", "ttyS0"},  // unreadable: the stored port is not used either
    };
    for (const Case& c : cases) {
        Utility::SetAutoDetect(c.autoDetect);
        Utility::SetCurrentComPort(c.stored);
        QString pane;
        CPreferenceDialog dialog(
            m_ports, [&pane](const QString& port) { pane = port; }, nullptr,
            std::chrono::milliseconds(0));
        EXPECT_EQ(dialog.SelectedPort(), c.selected) << c.stored << " " << c.autoDetect;
        EXPECT_EQ(pane.toStdString(), c.selected);
        EXPECT_EQ(dialog.PortList()->isEnabled(), c.autoDetect != 1);
    }

    Utility::SetAutoDetect(0);
    Utility::SetCurrentComPort("ttyS2");
    QString pane;
    CPreferenceDialog dialog(
        m_ports, [&pane](const QString& port) { pane = port; }, nullptr,
        std::chrono::milliseconds(0));
    QStringList order;
    for (int i = 0; i < dialog.PortList()->count(); ++i) {
        order << dialog.PortList()->itemText(i);
    }
    EXPECT_EQ(order, QStringList({"ttyS0", "ttyS2", "ttyS10", "ttyUSB1 (br qmv cable)"}));
    dialog.show();
    QTest::mouseClick(dialog.AutoDetectBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog.PortList()->isEnabled());
    EXPECT_EQ(pane, QStringLiteral("ttyUSB1"));
    QTest::mouseClick(dialog.AutoDetectBox(), Qt::LeftButton);
    EXPECT_TRUE(dialog.PortList()->isEnabled());
    EXPECT_EQ(dialog.SelectedPort(), "ttyUSB1");
    QTest::mouseClick(dialog.AutoDetectBox(), Qt::LeftButton);
    dialog.reject();
    EXPECT_EQ(Utility::GetAutoDetect(), 0);
    EXPECT_EQ(Utility::GetCurrentComPort(), "ttyS2");
    dialog.accept();
    EXPECT_EQ(Utility::GetAutoDetect(), 1);
    EXPECT_EQ(Utility::GetCurrentComPort(), "ttyUSB1");
}

// The dealer tools are off until ticked in the preferences; once stored, a write backs the radio
// up, verifies it (a faulty radio's difference is shown) and leaves a trace, and the Device menu
// opens the backup folder.
TEST_F(RadioCommandsTest, DealerToolsAreStoredInThePreferencesAndUsedByAWrite) {
    CSimFaults faults;
    faults.corruptContact = 1;
    CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
    OpenWindow(sim);
    {
        CPreferenceDialog dialog(m_ports, {}, m_window.get(), std::chrono::milliseconds(0));
        dialog.show();
        for (QCheckBox* box : {dialog.BackupBox(), dialog.VerifyBox(), dialog.TraceBox()}) {
            EXPECT_FALSE(box->isChecked()) << box->text().toStdString();
            EXPECT_FALSE(box->accessibleName().isEmpty());
            EXPECT_GT(box->property("ctrlId").toInt(), 0);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
            EXPECT_TRUE(box->isChecked());
        }
        dialog.grab().save("/tmp/dealerradio-preferences.png");
        QTest::keyClick(&dialog, Qt::Key_Return);
    }
    EXPECT_TRUE(Utility::GetBackupBeforeWrite());
    EXPECT_TRUE(Utility::GetVerifyAfterWrite());
    EXPECT_TRUE(Utility::GetWireTrace());

    OpenSample();
    m_ui.shown.clear();
    m_ui.answers = {MessageStyle::kIdYes};
    DialogDriver driver(DialogDriver::Plan::kOk);
    m_window->Action(MainCommand::kWrite)->trigger();
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].finished, QDialog::Accepted);
    const auto verifyFailed =
        std::count_if(m_ui.shown.begin(), m_ui.shown.end(), [](const auto& t) {
            return t.rfind(LoadString(MessageId::kVerifyFailed) + "\nContact 1 (", 0) == 0;
        });
    EXPECT_EQ(verifyFailed, 1);
    const auto count = [](const std::filesystem::path& folder) {
        std::error_code ec;
        return std::distance(std::filesystem::directory_iterator(folder, ec),
                             std::filesystem::directory_iterator());
    };
    EXPECT_EQ(count(m_config.Path() / "backups"), 1);
    EXPECT_EQ(count(m_config.Path() / "traces"), 1);

    m_window->Action(MainCommand::kOpenBackupFolder)->trigger();
    ASSERT_EQ(m_ui.openedUrls.size(), 1u);
    EXPECT_EQ(m_ui.openedUrls[0].toLocalFile().toStdString(),
              (m_config.Path() / "backups").string());
}

}  // namespace

TEST_F(RadioCommandsTest, CompareWithRadioListsWhatTheRadioHoldsOtherwise) {
    CVirtualCodeplug image;
    {
        CQMVVLTDoc sample(*m_settings, TestInstallFolder(), m_ui);
        ASSERT_TRUE(sample.ImportXml(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml"));
        sample.GetVirtualCPData(image, u"10000001");
    }
    for (std::u16string& text : image.texts) {
        if (text == u"On my way") {
            text = u"Changed on the radio";
        }
    }
    CSimRadio sim(image);
    OpenWindow(sim);
    OpenSample();
    DialogDriver driver(DialogDriver::Plan::kOk);
    m_window->Action(MainCommand::kCompareWithRadio)->trigger();

    ASSERT_EQ(driver.seen.size(), 1u);
    const auto windows = m_window->findChildren<CTextListDialog*>();
    ASSERT_EQ(windows.size(), 1);
    windows[0]->grab().save("/tmp/qmvvlt-compare-with-radio.png");
    const QString text = windows[0]->Text();
    EXPECT_TRUE(
        text.contains(QStringLiteral("[TextMessages]\n  removed: \"On my way\"\n"
                                     "  added: \"Changed on the radio\"")))
        << text.toStdString();
    // Every contact came back from the radio: matched, not added or removed.
    EXPECT_FALSE(text.contains(QStringLiteral("added: Private"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("removed: Private"))) << text.toStdString();
    EXPECT_EQ(m_window->Frames().size(), 1) << "the radio's data opens no window";
    EXPECT_FALSE(m_window->Frames()[0]->Document().IsModified());
}

// The radio commands need only what ICommandHost offers: a read runs without a main window and
// hands the radio's image to the host.
TEST_F(RadioCommandsTest, ReadRunsAgainstAHostWithoutAMainWindow) {
    class Host : public ICommandHost {
      public:
        Host(CAppSettings& settings, IAppUi& ui) : m_settings(settings), m_ui(ui) {}
        QWidget* Window() override { return &window; }
        IAppUi& Ui() override { return m_ui; }
        CAppSettings& Settings() override { return m_settings; }
        const std::filesystem::path& InstallPath() const override { return m_install; }
        CChildFrame* ActiveFrame() const override { return nullptr; }
        QList<CChildFrame*> Frames() const override { return {}; }
        CChildFrame* AddFrame(std::unique_ptr<CQMVVLTDoc>) override { return nullptr; }
        bool NewDocumentFromImage(const CVirtualCodeplug& image) override {
            images.push_back(image);
            return true;
        }
        bool ReplaceDocument(CChildFrame&, const CVirtualCodeplug&) override { return false; }
        void ShowPort(const QString& text) override { ports << text; }
        void ShowStatus(const QString&) override {}

        QWidget window;
        std::vector<CVirtualCodeplug> images;
        QStringList ports;

      private:
        CAppSettings& m_settings;
        IAppUi& m_ui;
        std::filesystem::path m_install = TestInstallFolder();
    };
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.texts[0] = u"Hosted";
    CSimRadio sim(image);
    Utility::SetAutoDetect(0);
    Utility::SetCurrentComPort(sim.Port());
    Host host(*m_settings, m_ui);
    CRadioCommands radio(host, m_ports);
    radio.Context().finishPause = std::chrono::milliseconds(0);
    DialogDriver driver(DialogDriver::Plan::kOk);
    radio.Read();

    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].title, Text(MessageId::kReadingSuccessful));
    ASSERT_EQ(host.images.size(), 1u);
    EXPECT_EQ(host.images[0].limits.pid, u"10000001");
    EXPECT_EQ(host.images[0].texts[0], u"Hosted");
    EXPECT_TRUE(host.ports.contains(QString::fromStdString(sim.Port())));
    EXPECT_FALSE(radio.Running());
}
