#include <gtest/gtest.h>

#include <QApplication>
#include <QLockFile>
#include <QMdiArea>
#include <QProcess>
#include <filesystem>
#include <optional>

#include "CChildFrame.h"
#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTTreeView.h"
#include "CRecoveryRecord.h"
#include "CRecoverySession.h"
#include "ConfigTestFolder.h"
#include "DataFile.h"
#include "ExpectSoon.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "ScriptedUi.h"
#include "TestInstall.h"
#include "VncKeyboard.h"
#include "WaitForChange.h"
#include "XmlDom.h"

namespace {

namespace fs = std::filesystem;

// The recovery copies in folder.
std::vector<fs::path> Copies(const fs::path& folder) {
    std::vector<fs::path> copies;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path().extension() == ".recovery") {
            copies.push_back(entry.path());
        }
    }
    return copies;
}

// A main window with its recovery session, as the program starts them, over a copy of the sample.
class RecoveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Utility::SetInstallPathOverride(TestInstallFolder());
        m_settings = CQMVVLTApp::Start(m_ui);
        ASSERT_NE(m_settings, nullptr);
        fs::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", m_profile);
        m_window = std::make_unique<CMainFrame>(*m_settings, TestInstallFolder(), &m_ui);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
    }
    void TearDown() override {
        m_session.reset();
        for (CChildFrame* frame : m_window->Frames()) {
            frame->Document().SetModified(false);
        }
        m_window.reset();
        Utility::SetInstallPathOverride(std::nullopt);
    }
    CChildFrame* Frame() const { return m_window->ActiveFrame(); }
    // Renames the private at position in the profile, as an edit in a view does.
    static void Rename(CChildFrame& frame, int position, const char* name) {
        ASSERT_EQ(frame.Tree()
                      ->ListItem(kKindPrivates)
                      .GetChildByIndex(position)
                      .SetAttributeValue("name", ScriptText(name))
                      .result,
                  0);
        frame.MarkModified();
    }
    std::optional<CRecoveryRecord> OnlyCopy() const {
        const auto copies = Copies(m_recovered);
        return copies.size() == 1 ? CRecoveryRecord::Read(copies[0]) : std::nullopt;
    }

    ConfigTestFolder m_config;
    ScriptedUi m_ui;
    std::unique_ptr<CAppSettings> m_settings;
    fs::path m_profile = m_config.Path() / "Sample.lam";
    fs::path m_recovered = m_config.Path() / "recovered";
    std::unique_ptr<CMainFrame> m_window;
    std::unique_ptr<CRecoverySession> m_session;
};

// The copy holds the unsaved profile with its file and title; saving, or closing without saving,
// removes it.
TEST_F(RecoveryTest, ACopyIsKeptOnlyWhileThereAreUnsavedChanges) {
    m_session = std::make_unique<CRecoverySession>(*m_window);
    ASSERT_TRUE(m_window->Documents().Open(m_profile.string()));
    CChildFrame& frame = *Frame();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Copies(m_recovered).empty());

    Rename(frame, 1, "Kept Once");
    EXPECT_SOON(OnlyCopy().has_value());
    const auto record = OnlyCopy();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->path, m_profile);
    EXPECT_EQ(record->title, "Sample.lam");
    EXPECT_NE(record->profile.find("name=\"Kept Once\""), std::string::npos);

    ASSERT_TRUE(m_window->Documents().Save(frame));
    EXPECT_TRUE(Copies(m_recovered).empty());

    Rename(frame, 1, "Kept Twice");
    EXPECT_SOON(OnlyCopy() && OnlyCopy()->profile.find("Kept Twice") != std::string::npos);
    m_ui.answers = {MessageStyle::kIdNo};  // close without saving
    m_window->MdiArea()->closeAllSubWindows();
    EXPECT_SOON(m_window->Frames().isEmpty() && Copies(m_recovered).empty());
}

// At the start, the copies of a program that no longer runs are offered; those of a running one
// are not. Restore opens them as modified documents of their file; Discard removes them.
TEST_F(RecoveryTest, CopiesLeftByAnEndedProgramAreRestoredOrDiscarded) {
    fs::create_directories(m_recovered);
    std::string text = ReadFileBytes(m_profile);
    text.replace(text.find("Bruno Costa"), 11, "Left Behind");
    const CRecoveryRecord left{m_profile, "Sample.lam", text, false};
    const fs::path ended = m_recovered / "session-1-1-1.recovery";
    const fs::path running = m_recovered / "session-2-2-1.recovery";
    QLockFile held(QString::fromStdString((m_recovered / "session-2-2.lock").string()));
    ASSERT_TRUE(held.tryLock(0));

    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore);
        left.Write(ended);
        left.Write(running);
        m_ui.offeredUnsaved.clear();
        m_ui.answers = {restore ? MessageStyle::kIdYes : MessageStyle::kIdNo};
        m_session = std::make_unique<CRecoverySession>(*m_window);
        m_session->OfferLeftCopies();
        ASSERT_EQ(m_ui.offeredUnsaved,
                  (std::vector<std::vector<std::string>>{{m_profile.string()}}));
        EXPECT_FALSE(fs::exists(ended));
        EXPECT_TRUE(fs::exists(running));
        if (!restore) {
            EXPECT_TRUE(m_window->Frames().isEmpty());
            continue;
        }
        ASSERT_EQ(m_window->Frames().size(), 1);
        CQMVVLTDoc& document = Frame()->Document();
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(document.Path(), m_profile);
        EXPECT_TRUE(Frame()->windowTitle().startsWith("Sample.lam"));
        const CXPath query(document.Model().GetProfileDoc());
        EXPECT_EQ(GetAttribute(query.SelectFirst("//dfns:Private[@pid='10000003']"), "name"),
                  "Left Behind");
        // The restored window's copy is this program's now.
        EXPECT_EQ(Copies(m_recovered).size(), 2u);
    }
}

// The built program on the VNC platform, so that the test types on its keyboard.
class Program {
  public:
    Program(const fs::path& config, const QStringList& files) {
        m_port = VncKeyboard::FreePort();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("vnc:size=1024x768:port=%1").arg(m_port));
        m_process.setProcessEnvironment(environment);
        m_process.start(
            QStringLiteral(QMVVLT_APP_BINARY),
            QStringList{QStringLiteral("--no-splash"), QStringLiteral("--config"),
                        QString::fromStdString(config.string()), QStringLiteral("--install"),
                        QString::fromStdString(TestInstallFolder().string())} +
                files);
    }
    ~Program() { Kill(); }
    // Ends the program as a crash would: no handler of its runs.
    void Kill() {
        m_process.kill();
        m_process.waitForFinished();
    }
    bool Running() const { return m_process.state() == QProcess::Running; }
    bool ConnectKeyboard() { return m_process.waitForStarted() && m_keyboard.Connect(m_port); }
    VncKeyboard& Keyboard() { return m_keyboard; }

  private:
    QProcess m_process;
    quint16 m_port = 0;
    VncKeyboard m_keyboard;
};

// A profile renamed in the running program, which is then killed: the next start offers the
// unsaved change, Restore brings it back as a modified profile of the same file, and saving it
// writes the change there and leaves no recovery copy behind.
TEST(ProgramRecovery, AnEditSurvivesAKillAndIsRestoredAtTheNextStart) {
    if (!VncKeyboard::Available()) {
        GTEST_SKIP() << "this Qt has no VNC platform to type on";
    }
    ConfigTestFolder config;
    const fs::path profile = config.Path() / "Sample.lam";
    fs::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", profile);
    const fs::path recovered = config.Path() / "recovered";
    fs::create_directories(recovered);
    const QStringList watched = {QString::fromStdString(recovered.string())};
    const auto renamed = [](const std::string& text) {
        return text.find("name=\"Zed\" pid=\"10000002\"") != std::string::npos;
    };

    {
        Program first(config.Path(), {QString::fromStdString(profile.string())});
        ASSERT_TRUE(first.ConnectKeyboard());
        // The tree has the focus on the model node: down to the first private, and rename it.
        VncKeyboard& keys = first.Keyboard();
        for (int i = 0; i < 3; ++i) {
            keys.Press(VncKeyboard::kDown);
        }
        keys.Press(VncKeyboard::kF2);
        keys.Type(QStringLiteral("Zed"));
        keys.Press(VncKeyboard::kReturn);
        ASSERT_TRUE(WaitForChange(watched, [&] {
            const auto copies = Copies(recovered);
            const auto record = copies.size() == 1 ? CRecoveryRecord::Read(copies[0])
                                                   : std::optional<CRecoveryRecord>();
            return record && renamed(record->profile);
        })) << "no recovery copy with the new name";
        ASSERT_TRUE(first.Running());
        first.Kill();
    }
    const fs::path left = Copies(recovered).at(0);

    Program second(config.Path(), {});
    ASSERT_TRUE(second.ConnectKeyboard());
    second.Keyboard().Press(VncKeyboard::kReturn);  // Restore, the default answer
    // The restored window takes the copy over under its own program's name.
    ASSERT_TRUE(WaitForChange(watched, [&] {
        const auto copies = Copies(recovered);
        return copies.size() == 1 && copies[0] != left;
    })) << "the profile was not restored";
    EXPECT_FALSE(renamed(ReadProfileText(profile).utf8));

    second.Keyboard().PressWithControl('s');
    EXPECT_TRUE(WaitForChange({QString::fromStdString(config.Path().string())},
                              [&] { return renamed(ReadProfileText(profile).utf8); }));
    EXPECT_TRUE(WaitForChange(watched, [&] { return Copies(recovered).empty(); }));
    EXPECT_TRUE(second.Running());
}

}  // namespace
