#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "CAppSettings.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommandChain.h"
#include "LoadSettingDoc.h"
#include "RadioCommandFixture.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "ScriptedStream.h"
#include "SimFixture.h"
#include "StringTable.h"
#include "TestInstall.h"
#include "TransferFixture.h"
#include "Utility.h"

namespace {
namespace fs = std::filesystem;
}  // namespace

TEST_F(RadioCommands, ReadAsksForAPasswordOnlyWhereTheGroupHasOne) {
    struct Case {
        int firmwareVersion;  // 5: group 2, 8: group 3
        std::u16string password;
        int prompts;
    };
    for (const Case& c : {Case{5, u"1234", 0}, Case{8, u"", 0}, Case{8, u"1234", 1}}) {
        Setup s(RadioImage(c.firmwareVersion, c.password), m_settings);
        s.ui.passwords = {"1234"};
        CVirtualCodeplug image;
        EXPECT_EQ(s.chain.Read(s.bench.sim.Port(), image), kRadioSuccess);
        EXPECT_EQ(s.ui.passwordPrompts, c.prompts) << c.firmwareVersion;
        EXPECT_EQ(s.chain.RadioModelGroup(), c.firmwareVersion == 5 ? 2 : 3);
        EXPECT_EQ(image.version.firmware_version, c.firmwareVersion);
    }
}

TEST_F(RadioCommands, WrongPasswordIsToldThenTheRightOneReadsAndIsKept) {
    Setup s(RadioImage(8, u"4321"), m_settings);
    s.ui.passwords = {"1111", "4321"};
    CVirtualCodeplug image;
    ASSERT_EQ(s.chain.Read(s.bench.sim.Port(), image), kRadioSuccess);
    EXPECT_EQ(s.ui.messages, (std::vector<std::string>{LoadString(302)}));
    EXPECT_EQ(s.ui.passwordPrompts, 2);
    // The same radio again in this run: nothing is asked.
    ASSERT_EQ(s.chain.Read(s.bench.sim.Port(), image), kRadioSuccess);
    EXPECT_EQ(s.ui.passwordPrompts, 2);

    // Cancelling the prompt reads nothing.
    Setup other(RadioImage(8, u"4321"), m_settings);
    CVirtualCodeplug untouched;
    untouched.texts[0] = u"mine";
    EXPECT_EQ(other.chain.Read(other.bench.sim.Port(), untouched), kUserCancelled);
    EXPECT_EQ(untouched.texts[0], u"mine");
    EXPECT_TRUE(other.ui.messages.empty());
}

TEST_F(RadioCommands, ModifiedBandNoticeUntilTicked) {
    Setup s(RadioImage(8, u"", 15), m_settings);
    CVirtualCodeplug image;
    ASSERT_EQ(s.chain.Read(s.bench.sim.Port(), image), kRadioSuccess);
    EXPECT_EQ(s.ui.notices, 1);
    s.ui.tickDontShowAgain = true;
    ASSERT_EQ(s.chain.Read(s.bench.sim.Port(), image), kRadioSuccess);
    EXPECT_EQ(s.ui.notices, 2);
    EXPECT_EQ(Utility::GetRegionalizationPromptFlag(), 0);
    ASSERT_EQ(s.chain.Read(s.bench.sim.Port(), image), kRadioSuccess);
    EXPECT_EQ(s.ui.notices, 2);
}

TEST_F(RadioCommands, WritingANewerProfileToAnOlderRadioIsAskedFirst) {
    const fs::path lib = TestInstallFolder() / "lib";
    CAppSettings app(CHelpPaneSetting(LoadSettingDocFile(lib / "HelpPane.stv")),
                     CRegionSetting(LoadSettingDocFile(lib / "Region.stv")),
                     CUpDownGradeSetting(LoadSettingDocFile(lib / "UpDownGradeSetting.stv")));
    struct CNoUi : IDocumentUi {
        bool AskYesNo(int) override { return false; }
        void ShowError(int, const std::string&) override {}
    } docUi;
    CQMVVLTDoc doc(app, TestInstallFolder(), docUi);
    ASSERT_TRUE(doc.Open(fs::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml"));
    ASSERT_EQ(doc.Model().GetModelGroup(), 3);

    for (const bool answer : {false, true}) {
        Setup s(RadioImage(5, u""), m_settings);  // a group-2 radio
        s.ui.yes = answer;
        const int code = s.chain.Write(s.bench.sim.Port(), doc);
        EXPECT_EQ(s.ui.asked, (std::vector<int>{10031}));
        if (!answer) {
            EXPECT_EQ(code, kUserCancelled);
            EXPECT_FALSE(s.bench.Received(0x30)) << "nothing written";
        } else {
            EXPECT_EQ(code, kRadioSuccess);
            // Accepted in advance: the transfer does not raise it again.
            const auto& w = s.bench.observer.warnings;
            EXPECT_EQ(std::count(w.begin(), w.end(), TransferWarning::kNotSupported), 0);
            EXPECT_EQ(s.chain.EnteredPassword(), u"");
        }
    }
}

TEST_F(RadioCommands, FailuresShowTheMainWindowMessage) {
    CSimFaults silent;
    silent.silenceAfterFrames = 0;
    CTransferBench bench(CVirtualRadio::DefaultImage(), silent);
    CScriptedRadioUi ui(bench.context);
    CRadioCommandChain chain(bench.context, m_settings, ui);
    const int code = chain.Reset(bench.sim.Port());
    EXPECT_LT(code, 0);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{RadioResultText(code)}));
}

// A transfer shows its own failure; the command adds only what the radio's state is, and keeps
// the profile's password as the entered one.
TEST_F(RadioCommands, AFailedWriteIsShownOnceAndSaysTheRadioMayBePartlyProgrammed) {
    SampleDocument sample;
    CSimFaults faults;
    faults.reject = CSimFaults::Reject::kQ;
    faults.rejectValue = 1;
    faults.rejectOpcode = kOpWriteContact;
    CTransferBench bench(RadioImage(8, u""), faults);
    CScriptedRadioUi ui(bench.context);
    CRadioCommandChain chain(bench.context, m_settings, ui);
    EXPECT_EQ(chain.Write(bench.sim.Port(), sample.doc), kOperationFailed);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{LoadString(30206)}));
    EXPECT_EQ(ui.kinds, (std::vector<RadioOperation>{
                            RadioOperation::kOwnPid, RadioOperation::kVersion,
                            RadioOperation::kPassword, RadioOperation::kWriteCodeplug}));
    CVirtualCodeplug image;
    sample.doc.GetVirtualCPData(image, u"");
    EXPECT_EQ(chain.EnteredPassword(), image.settings.password);
}

TEST_F(RadioCommands, APortThatDoesNotOpenIsShownWithItsReason) {
    Setup s(RadioImage(8, u""), m_settings);
    CVirtualCodeplug image;
    EXPECT_EQ(s.chain.Read("/dev/no-such-radio-qmv", image), kPortUnavailable);
    EXPECT_EQ(s.ui.messages, (std::vector<std::string>{
                                 LoadString(10155) + "\n/dev/no-such-radio-qmv: no such device."}));
}

// A port in use elsewhere ends the command at its first operation, shown once, with nothing sent;
// a context that holds its port already (a station's cable) writes through it and keeps it.
TEST_F(RadioCommands, APortInUseElsewhereIsRefusedAndAHeldOneWrittenThrough) {
    SampleDocument sample;
    Setup s(RadioImage(8, u""), m_settings);
    CTransferContext elsewhere;
    ASSERT_TRUE(elsewhere.HoldPort(s.bench.sim.Port()));
    EXPECT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kPortBusy);
    EXPECT_EQ(s.ui.messages, (std::vector<std::string>{RadioResultText(kPortBusy)}));
    EXPECT_TRUE(s.bench.Requests().empty());
    elsewhere.ReleasePort();

    ASSERT_TRUE(s.bench.context.HoldPort(s.bench.sim.Port()));
    EXPECT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kRadioSuccess);
    EXPECT_TRUE(s.bench.context.Holds(s.bench.sim.Port()));
    EXPECT_FALSE(elsewhere.HoldPort(s.bench.sim.Port()));
}

TEST_F(RadioCommands, TheDocumentsPcClockFlagSetsTheRadiosClock) {
    SampleDocument sample;
    for (const bool usePcClock : {false, true}) {
        Setup s(RadioImage(8, u""), m_settings);
        sample.doc.SetUsePcClock(usePcClock);
        const std::uint32_t before = RadioClockNow();
        ASSERT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kRadioSuccess);
        const std::uint32_t stored = s.bench.sim.radio.Image().settings.current_time;
        EXPECT_EQ(stored >= before && stored <= RadioClockNow(), usePcClock) << stored;
    }
}

// A settings block that cannot be decoded while fetching the password: -17, shown as 303.
TEST_F(RadioCommands, AnUndecodablePasswordIsUnableToGetRadioPassword) {
    const std::vector<std::uint8_t> version =
        MakeReply('A', {'E', 0x5E, 8, 0, 0, 0, 0, 'R'});  // model group 3
    const std::vector<std::uint8_t> ack = MakeReply('A', {'P'});
    std::deque<std::vector<std::vector<std::uint8_t>>> scripts = {
        {version, ack, version},                         // the version read
        {version, ack, MakeReply('A', {'G', 1, 2, 3})},  // the password read: a short block
    };
    CTransferBench bench;
    bench.context.SetPortFactory([&](const std::string&) {
        auto stream = std::make_unique<CScriptedStream>();
        if (!scripts.empty()) {
            for (auto& reply : scripts.front()) {
                stream->AddReply(reply);
            }
            scripts.pop_front();
        }
        return stream;
    });
    CScriptedRadioUi ui(bench.context);
    CRadioCommandChain chain(bench.context, m_settings, ui);
    CVirtualCodeplug image;
    EXPECT_EQ(chain.Read("scripted", image), kPasswordUnavailable);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{LoadString(303)}));
}
