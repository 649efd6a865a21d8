#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "CChildFrame.h"
#include "CDocumentCommands.h"
#include "CMainFrame.h"
#include "CQMVVLTApp.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommands.h"
#include "CRegister.h"
#include "CRegisterCommands.h"
#include "CRegisterDialog.h"
#include "CRegisterTableModel.h"
#include "ConfigTestFolder.h"
#include "ExpectSoon.h"
#include "IPortLister.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "RadioProtocol.h"
#include "RadioResult.h"
#include "RegisterCsv.h"
#include "ScriptedUi.h"
#include "SimFixture.h"
#include "StringTable.h"
#include "TestInstall.h"
#include "Utility.h"

namespace {

namespace fs = std::filesystem;

class NoPorts : public IPortLister {
  public:
    std::vector<PortDescription> Ports() const override { return {}; }
};

// The register window of a main window whose register holds a few records, with the sample
// profile active; the virtual radio on the cable has the PID 10000001.
class RegisterWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Utility::SetInstallPathOverride(TestInstallFolder());
        m_settings = CQMVVLTApp::Start(m_ui);
        ASSERT_NE(m_settings, nullptr);
        Utility::SetAutoDetect(0);
        Utility::SetCurrentComPort(m_sim.Port());
        m_window = std::make_unique<CMainFrame>(*m_settings, TestInstallFolder(), &m_ui, &m_ports);
        m_window->show();
        const fs::path profile = m_config.Path() / "Sample.lam";
        fs::copy_file(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml", profile);
        ASSERT_TRUE(m_window->Documents().Open(profile.string()));
        m_backup = m_config.Path() / "10000002-20240302-080000.lam";
        fs::copy_file(profile, m_backup);

        const std::string active =
            ProfileHash(m_window->ActiveFrame()->Document().Model().ProfileText());
        CRegister& reg = *m_window->Radio().Register();
        reg.Record(Make("2024-03-01T08:00:00.000Z", RegisterOperation::kWrite, "10000001",
                        "Sample.lam", active));
        reg.Record(Make("2024-03-02T08:00:00.000Z", RegisterOperation::kWrite, "10000002",
                        "Old.lam", std::string(64, 'b'), m_backup.string()));
        reg.Record(Make("2024-03-03T08:00:00.000Z", RegisterOperation::kRead, "10000001"));
        reg.Record(Make("2024-02-01T08:00:00.000Z", RegisterOperation::kStationWrite, "10000003",
                        "Old.lam", std::string(64, 'b')));
        ASSERT_TRUE(reg.Flush());
        m_window->RegisterCommands().Show();
        m_dialog = m_window->RegisterCommands().Dialog();
        ASSERT_NE(m_dialog, nullptr);
        ASSERT_TRUE(m_dialog->IsOpen());
    }
    void TearDown() override {
        for (CChildFrame* frame : m_window->Frames()) {
            frame->Document().SetModified(false);
        }
        m_window.reset();
        Utility::SetInstallPathOverride(std::nullopt);
    }

    static CRegisterRecord Make(std::string time, std::string operation, std::string pid,
                                std::string profile = {}, std::string hash = {},
                                std::string backup = {}) {
        CRegisterRecord r = CRegisterRecord::ForOperation(operation, "/dev/ttyUSB0", 1);
        r.time = std::move(time);
        r.pid = std::move(pid);
        r.profileFile = std::move(profile);
        r.profileHash = std::move(hash);
        r.backupFile = std::move(backup);
        return r;
    }

    // The shown column of a RegisterColumns key.
    static int Column(std::string_view key) {
        const auto columns = RegisterColumns();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (key == columns[i]) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    std::vector<std::string> Shown(std::string_view key) const {
        std::vector<std::string> cells;
        const CRegisterTableModel& model = *m_dialog->Model();
        for (int row = 0; row < model.rowCount(); ++row) {
            cells.push_back(model.index(row, Column(key)).data().toString().toStdString());
        }
        return cells;
    }
    void SelectPid(const std::string& pid) {
        const CRegisterTableModel& model = *m_dialog->Model();
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.RecordAt(row).pid == pid) {
                m_dialog->Table()->selectRow(row);
                return;
            }
        }
        FAIL() << "no row of " << pid;
    }
    void Click(int ctrlId) {
        auto* button = qobject_cast<QPushButton*>(m_dialog->Control(ctrlId));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << ctrlId;
        button->click();
    }

    ConfigTestFolder m_config;
    ScriptedUi m_ui;
    NoPorts m_ports;
    CSimRadio m_sim;
    std::unique_ptr<CAppSettings> m_settings;
    std::unique_ptr<CMainFrame> m_window;
    CRegisterDialog* m_dialog = nullptr;
    fs::path m_backup;
};

}  // namespace

TEST_F(RegisterWindowTest, FiltersSortsAndMarksTheRecordsOfAnotherProfile) {
    // Newest first when it opens.
    EXPECT_EQ(Shown("pid"),
              (std::vector<std::string>{"10000001", "10000002", "10000001", "10000003"}));
    EXPECT_EQ(Shown("operation")[0], LoadString(MessageId::kRegisterOpRead));
    const int mark = CRegisterTableModel::MarkColumn();
    const CRegisterTableModel& model = *m_dialog->Model();
    const QString other = QString::fromStdString(LoadString(MessageId::kRegisterOtherProfile));
    const QString same = QString::fromStdString(LoadString(MessageId::kRegisterSameProfile));
    EXPECT_EQ(model.index(0, mark).data().toString(), QString());
    EXPECT_EQ(model.index(1, mark).data().toString(), other);
    EXPECT_EQ(model.index(2, mark).data().toString(), same);
    EXPECT_TRUE(model.index(1, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.index(2, 0).data(Qt::BackgroundRole).isValid());

    m_dialog->Table()->horizontalHeader()->setSortIndicator(Column("pid"), Qt::AscendingOrder);
    EXPECT_EQ(Shown("pid"),
              (std::vector<std::string>{"10000001", "10000001", "10000002", "10000003"}));

    struct Case {
        const char* pid;
        const char* profile;
        std::vector<std::string> pids;
    };
    auto* pid = qobject_cast<QLineEdit*>(m_dialog->Control(CRegisterDialog::kPidFilter));
    auto* profile = qobject_cast<QLineEdit*>(m_dialog->Control(CRegisterDialog::kProfileFilter));
    ASSERT_TRUE(pid && profile);
    for (const Case& c : {Case{"10000001", "", {"10000001", "10000001"}},
                          Case{"", "", {"10000001", "10000001", "10000002", "10000003"}},
                          Case{"", "Old.lam", {"10000002", "10000003"}},
                          Case{"10000003", "Old.lam", {"10000003"}}, Case{"10000009", "", {}}}) {
        SCOPED_TRACE(std::string(c.pid) + "/" + c.profile);
        pid->clear();
        QTest::keyClicks(pid, c.pid);
        profile->setText(c.profile);
        EXPECT_EQ(Shown("pid"), c.pids);
        EXPECT_EQ(pid->accessibleDescription(), c.pid);
    }
}

TEST_F(RegisterWindowTest, ExportsWhatItShowsAndOpensABackupAsANewProfile) {
    const fs::path csv = m_config.Path() / "register.csv";
    m_ui.savePath = csv.string();
    qobject_cast<QLineEdit*>(m_dialog->Control(CRegisterDialog::kProfileFilter))
        ->setText("Old.lam");
    Click(CRegisterDialog::kExportCsv);
    CRegisterFilter filter;
    filter.profileFile = "Old.lam";
    std::ifstream in(csv, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(written, RegisterCsv(m_window->Radio().Register()->List(filter)));
    EXPECT_NE(written.find("10000003"), std::string::npos);

    SelectPid("10000003");
    EXPECT_FALSE(m_dialog->Control(CRegisterDialog::kOpenBackup)->isEnabled());
    SelectPid("10000002");
    const int frames = static_cast<int>(m_window->Frames().size());
    Click(CRegisterDialog::kOpenBackup);
    ASSERT_EQ(static_cast<int>(m_window->Frames().size()), frames + 1);
    const CQMVVLTDoc& opened = m_window->ActiveFrame()->Document();
    EXPECT_TRUE(opened.Path().empty());
    EXPECT_EQ(opened.Title(), m_backup.stem().string());
    EXPECT_TRUE(opened.IsModified());
}

// A backup goes back only into the radio it came from: the PID is read first, and another radio
// is left untouched with a message; the refusal is on record.
TEST_F(RegisterWindowTest, RestoreIsRefusedForARadioWithAnotherPid) {
    SelectPid("10000002");
    m_ui.answers = {MessageStyle::kIdYes};
    Click(CRegisterDialog::kRestoreBackup);
    EXPECT_TRUE(m_ui.Count(CStringTable::Instance().Format(MessageId::kRestoreOtherRadio,
                                                           {"10000001", "10000002"})) == 1)
        << (m_ui.shown.empty() ? "" : m_ui.shown.back());
    for (std::uint8_t op : m_sim.radio.Requests()) {
        EXPECT_NE(op, kOpWriteSettings);
    }
    const auto restores = m_window->Radio().Register()->History("10000001");
    ASSERT_FALSE(restores.empty());
    EXPECT_EQ(restores.back().operation, RegisterOperation::kRestore);
    EXPECT_EQ(restores.back().outcome, kOperationFailed);
    EXPECT_EQ(Shown("operation")[0], LoadString(MessageId::kRegisterOpRestore));
}

// Every control has its id, a name for screen readers and a way from the keyboard.
TEST_F(RegisterWindowTest, EveryControlHasItsIdNameAndKeyboardPath) {
    for (int id = CRegisterDialog::kPidFilter; id <= CRegisterDialog::kCloseButton; ++id) {
        QWidget* control = m_dialog->Control(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << id;
        EXPECT_NE(control->focusPolicy() & Qt::TabFocus, 0) << id;
    }
}
