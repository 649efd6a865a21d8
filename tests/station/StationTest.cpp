#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>

#include "CQMVVLTDoc.h"
#include "CRegister.h"
#include "CStation.h"
#include "CUnitList.h"
#include "CUnitProfile.h"
#include "ExpectSoon.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "SimFixture.h"
#include "StringTable.h"
#include "TempFolder.h"
#include "TestAppSettings.h"
#include "TextCodec.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Kind = CStationRadioResult::Kind;
using Phase = CStationPortState::Phase;

// What the ports report, kept for the test to look at.
class CRecordingObserver : public IStationObserver {
  public:
    void OnPortState(int port, const CStationPortState& state) override {
        std::lock_guard lock(m_mutex);
        m_states[port].push_back(state);
        if (m_stopAt && port == 0 && state.phase == *m_stopAt && state.percent >= m_stopPercent &&
            m_station) {
            m_station->Stop();
        }
    }
    void OnRadio(int port, const CStationRadioResult& result) override {
        std::lock_guard lock(m_mutex);
        m_radios[port].push_back(result);
    }
    // Stops the station the moment port 0 reaches phase (and for a write, percent).
    void StopAt(Phase phase, int percent, CStation* station) {
        std::lock_guard lock(m_mutex);
        m_stopAt = phase;
        m_stopPercent = percent;
        m_station = station;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_states.clear();
        m_radios.clear();
        m_stopAt.reset();
        m_station = nullptr;
    }
    std::vector<CStationRadioResult> Radios(int port) const {
        std::lock_guard lock(m_mutex);
        const auto it = m_radios.find(port);
        return it == m_radios.end() ? std::vector<CStationRadioResult>{} : it->second;
    }
    std::vector<CStationPortState> States(int port) const {
        std::lock_guard lock(m_mutex);
        return m_states.at(port);
    }

  private:
    mutable std::mutex m_mutex;
    std::map<int, std::vector<CStationPortState>> m_states;
    std::map<int, std::vector<CStationRadioResult>> m_radios;
    std::optional<Phase> m_stopAt;
    int m_stopPercent = 0;
    CStation* m_station = nullptr;
};

std::vector<std::u16string> Pids(std::initializer_list<const char*> pids) {
    std::vector<std::u16string> out;
    for (const char* pid : pids) {
        out.push_back(Utf8ToUtf16(pid));
    }
    return out;
}

// The kind of each result, with its PID: "10000101 written".
std::vector<std::string> Outcomes(const std::vector<CStationRadioResult>& results) {
    std::vector<std::string> out;
    for (const auto& r : results) {
        out.push_back(r.record.pid + (r.kind == Kind::kWritten  ? " written"
                                      : r.kind == Kind::kFailed ? " failed"
                                                                : " refused"));
    }
    return out;
}

// The sample profile as a job: ports poll often and the radio answers FinishWrite at once.
class StationTest : public testing::Test {
  protected:
    StationTest() : m_app(TestAppSettings()), m_doc(m_app, TestInstallFolder(), m_ui) {
        EXPECT_TRUE(
            m_doc.ImportXml(fs::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml"));
        m_job.environment = m_app.ModelEnvironment(TestInstallFolder());
        m_job.profile = m_doc.TakeSnapshot();
        m_job.profileFile = "/fleet/fleet.lam";
        m_job.app = &m_app;
        m_job.acceptUnsupported = true;
        m_job.pollInterval = 20ms;
        m_job.finishPause = 0ms;
        NewRegister();
    }

    // A register of its own for what comes next.
    void NewRegister() {
        CRegisterOptions options;
        options.localFile = m_folder.Path() / ("register-" + std::to_string(++m_registers));
        m_register = std::make_unique<CRegister>(options);
        m_job.reg = m_register.get();
    }

    // A unit list for the job, checked against its profile.
    const CUnitList& Units(const std::string& csv) {
        CUnitProfile profile(m_job.environment, m_job.profile);
        m_units = std::make_unique<CUnitList>(CUnitList::Read(csv, profile));
        EXPECT_TRUE(m_units->Accepted());
        m_job.units = m_units.get();
        return *m_units;
    }

    // Runs the job on the cables until it has written count radios.
    void Run(std::vector<std::unique_ptr<CSimSeriesRadio>>& cables, int count) {
        m_job.count = count;
        m_job.ports.clear();
        for (const auto& cable : cables) {
            m_job.ports.push_back(cable->Port());
        }
        CStation station(m_job, &m_observer);
        ASSERT_TRUE(station.Start());
        ASSERT_TRUE(station.Wait(60000)) << "the job did not end";
        m_summary = station.Summary();
    }

    // A cable whose radios are swapped quickly: unless swap says otherwise, the next radio
    // answers before the port has seen the cable silent.
    static std::unique_ptr<CSimSeriesRadio> Cable(CSimSeries series, CSimFaults faults = {},
                                                  std::chrono::milliseconds swap = 50ms) {
        series.swap = swap;
        return std::make_unique<CSimSeriesRadio>(CVirtualRadio::DefaultImage(), std::move(series),
                                                 faults);
    }

    TempFolder m_folder;
    CAppSettings m_app;
    CNoQuestionsUi m_ui;
    CQMVVLTDoc m_doc;
    CStationJob m_job;
    std::unique_ptr<CRegister> m_register;
    int m_registers = 0;
    std::unique_ptr<CUnitList> m_units;
    CRecordingObserver m_observer;
    std::vector<CStationPortSummary> m_summary;
};

}  // namespace

// Cables side by side: every radio written and verified, one record each; a radio pulled out in
// the middle of its write fails as partly programmed, and its port goes on with the next one.
TEST_F(StationTest, EveryCableWritesItsRadiosSideBySide) {
    const struct {
        int cables;
        int pulledOut;  // the first radio of cable 0 is pulled out at this write frame (0: none)
    } cases[] = {{2, 0}, {4, 0}, {2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cables << " cables, pulled out " << c.pulledOut);
        m_job.verify = true;
        std::vector<std::unique_ptr<CSimSeriesRadio>> cables;
        for (int i = 0; i < c.cables; ++i) {
            CSimSeries series;
            const std::string base = std::to_string(10000100 + 10 * i + 100 * c.pulledOut);
            series.pids = Pids({(base + "1").c_str(), (base + "2").c_str()});
            const bool pulling = i == 0 && c.pulledOut > 0;
            if (pulling) {
                series.pullOuts = {{1, c.pulledOut}};
            }
            // The next radio must not answer the pulled-out radio's write: swapped as a person
            // swaps them, after the port has given up on that write.
            cables.push_back(Cable(series, {}, pulling ? 1500ms : 50ms));
        }
        Run(cables, 2 * c.cables - (c.pulledOut > 0 ? 1 : 0));
        ASSERT_TRUE(m_register->Flush());
        std::size_t records = 0;
        for (int i = 0; i < c.cables; ++i) {
            const auto results = m_observer.Radios(i);
            const auto units = cables[static_cast<std::size_t>(i)]->radios.Units();
            ASSERT_EQ(results.size(), 2u);
            records += results.size();
            for (std::size_t r = 0; r < 2; ++r) {
                const bool pulled = i == 0 && r == 0 && c.pulledOut > 0;
                const CRegisterRecord& record = results[r].record;
                EXPECT_EQ(record.pid, Utf16ToUtf8(units[r].pid));
                EXPECT_EQ(units[r].written, !pulled) << record.pid;
                if (pulled) {
                    EXPECT_EQ(results[r].kind, Kind::kFailed);
                    EXPECT_TRUE(results[r].partlyProgrammed);
                    EXPECT_THAT(record.outcomeText,
                                testing::HasSubstr(LoadString(MessageId::kPartlyProgrammed)));
                    EXPECT_EQ(units[r].image.texts, CVirtualRadio::DefaultImage().texts);
                    continue;
                }
                EXPECT_EQ(results[r].kind, Kind::kWritten) << record.outcomeText;
                EXPECT_EQ(record.outcome, kRadioSuccess);
                EXPECT_EQ(record.verify, RegisterVerify::kPassed);
                EXPECT_EQ(record.profileFile, "fleet.lam");
                EXPECT_EQ(record.imageHash.size(), 64u);
                EXPECT_NE(units[r].image.texts, CVirtualRadio::DefaultImage().texts);
            }
            EXPECT_EQ(m_summary[static_cast<std::size_t>(i)].written,
                      i == 0 && c.pulledOut > 0 ? 1 : 2);
        }
        EXPECT_EQ(m_register->List().size(), records);
        m_observer.Clear();
        NewRegister();
    }
}

// One cable, radio after radio: what the job writes, refuses or leaves alone.
TEST_F(StationTest, EachRadioIsHandledOnceByTheJobsRules) {
    const struct {
        const char* name;
        std::vector<std::u16string> pids;
        int stayVersions;  // version reads a written radio still answers
        bool listedOnly;
        std::chrono::milliseconds swap;
        std::vector<std::string> expected;
    } cases[] = {
        {"left on the cable",
         Pids({"10000301", "10000302"}),
         8,
         false,
         50ms,
         {"10000301 written", "10000302 written"}},
        {"not listed",
         Pids({"10000301", "10000399", "10000302"}),
         1,
         true,
         50ms,
         {"10000301 written", "10000399 refused", "10000302 written"}},
        // A radio with the same PID is told from the first one only once the cable was silent.
        {"same PID twice",
         Pids({"10000301", "10000301", "10000302"}),
         1,
         false,
         1500ms,
         {"10000301 written", "10000301 refused", "10000302 written"}},
    };
    Units("pid,unit\n10000301,Truck 1\n10000302,Truck 2\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_job.listedOnly = c.listedOnly;
        CSimSeries series;
        series.pids = c.pids;
        series.stayVersions = c.stayVersions;
        series.dwell = 1s;  // a radio that is not written is taken off after a while
        std::vector<std::unique_ptr<CSimSeriesRadio>> cables;
        cables.push_back(Cable(series, {}, c.swap));
        Run(cables, 2);
        const auto results = m_observer.Radios(0);
        EXPECT_EQ(Outcomes(results), c.expected);
        const auto units = cables[0]->radios.Units();
        for (std::size_t i = 0; i < results.size() && i < units.size(); ++i) {
            const bool written = results[i].kind == Kind::kWritten;
            EXPECT_EQ(units[i].written, written) << i;
            if (!written) {
                // Nothing was sent: the radio keeps its codeplug.
                EXPECT_EQ(units[i].image.settings, CVirtualRadio::DefaultImage().settings);
                EXPECT_EQ(results[i].record.outcome, kUserCancelled);
                EXPECT_TRUE(results[i].record.imageHash.empty());
            }
        }
        if (results.size() > 1 && results[1].kind == Kind::kRefused) {
            EXPECT_EQ(results[1].record.outcomeText,
                      LoadString(c.listedOnly ? MessageId::kStationNotListed
                                              : MessageId::kStationAlreadyWritten));
        }
        m_observer.Clear();
    }
}

// A unit's settings go to its radio only: the other radio keeps the profile's.
TEST_F(StationTest, OverridesGoToTheirRadioOnly) {
    Units("pid,unit,password,language\n10000401,Truck 1,1234,4\n10000402,Truck 2,,\n");
    CSimSeries series;
    series.pids = Pids({"10000401", "10000402"});
    std::vector<std::unique_ptr<CSimSeriesRadio>> cables;
    cables.push_back(Cable(series));
    Run(cables, 2);
    const auto units = cables[0]->radios.Units();
    ASSERT_EQ(units.size(), 2u);
    const CVirtualCodeplug profile = CUnitProfile(m_job.environment, m_job.profile).Image(u"");
    ASSERT_NE(profile.settings.language, 4);
    EXPECT_EQ(units[0].image.settings.password, u"1234");
    EXPECT_EQ(units[0].image.settings.language, 4);
    EXPECT_EQ(units[1].image.settings.password, profile.settings.password);
    EXPECT_EQ(units[1].image.settings.language, profile.settings.language);
    const auto results = m_observer.Radios(0);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].record.unit, "Truck 1");
    EXPECT_EQ(results[0].record.overrides, R"({"language":"4","password":"1234"})");
    EXPECT_NE(results[0].record.imageHash, results[1].record.imageHash);
    EXPECT_EQ(results[0].record.profileHash, results[1].record.profileHash);
}

// Stopping ends every port at a safe point: the radio being backed up is left untouched, the one
// being written is partly programmed, and each is recorded so.
TEST_F(StationTest, StopEndsEveryPortAtASafePoint) {
    const struct {
        Phase stopAt;
        int percent;
        bool partly;
    } cases[] = {{Phase::kBackingUp, 0, false}, {Phase::kWriting, 60, true}};
    CSimFaults paced;
    paced.pace = true;  // real timing, so the stop comes in the middle of things
    m_job.backupFolder = m_folder.Path() / "backups";
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stopAt));
        std::vector<std::unique_ptr<CSimSeriesRadio>> cables;
        for (const char* pid : {"10000501", "10000601"}) {
            CSimSeries series;
            series.pids = Pids({pid});
            cables.push_back(Cable(series, paced));
            m_job.ports.push_back(cables.back()->Port());
        }
        CStation station(m_job, &m_observer);
        m_observer.StopAt(c.stopAt, c.percent, &station);
        ASSERT_TRUE(station.Start());
        ASSERT_TRUE(station.Wait(30000));
        const auto results = m_observer.Radios(0);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].kind, Kind::kFailed);
        EXPECT_EQ(results[0].partlyProgrammed, c.partly);
        EXPECT_EQ(results[0].record.outcome, kUserCancelled);
        EXPECT_THAT(results[0].record.outcomeText,
                    testing::HasSubstr(LoadString(c.partly ? MessageId::kPartlyProgrammed
                                                           : MessageId::kStationUntouched)));
        EXPECT_FALSE(cables[0]->radios.Units()[0].written);
        for (int port = 0; port < 2; ++port) {
            EXPECT_EQ(m_observer.States(port).back().phase, Phase::kStopped);
            for (const auto& result : m_observer.Radios(port)) {
                EXPECT_NE(result.kind, Kind::kWritten);
            }
        }
        m_observer.Clear();
        m_job.ports.clear();
    }
}

// A shared register that does not answer holds nothing up: the radios are written, their records
// wait on this computer and reach the register once it answers.
TEST_F(StationTest, RadiosAreWrittenWhileTheRegisterCannotBeReached) {
    const fs::path blocker = m_folder.Path() / "share";
    std::ofstream(blocker) << "not a folder";
    CRegisterOptions options;
    options.url = "sqlite://" + (blocker / "register.sqlite").string();
    options.localFile = m_folder.Path() / "local.sqlite";
    options.retry = std::chrono::hours(1);
    m_register = std::make_unique<CRegister>(options);
    m_job.reg = m_register.get();
    CSimSeries series;
    series.pids = Pids({"10000701", "10000702"});
    std::vector<std::unique_ptr<CSimSeriesRadio>> cables;
    cables.push_back(Cable(series));
    Run(cables, 2);
    EXPECT_EQ(Outcomes(m_observer.Radios(0)),
              (std::vector<std::string>{"10000701 written", "10000702 written"}));
    ASSERT_TRUE(m_register->Flush());
    EXPECT_SOON(m_register->Status().state == CRegisterStatus::State::kUnreachable &&
                m_register->Status().waiting == 2);
    fs::remove(blocker);
    m_register->RetryNow();
    EXPECT_SOON(m_register->Status().waiting == 0);
    EXPECT_EQ(m_register->List().size(), 2u);
}

// A unit list with refusals, or a port another operation uses, starts nothing.
TEST_F(StationTest, NothingStartsWithARefusedListOrABusyPort) {
    CUnitProfile profile(m_job.environment, m_job.profile);
    const CUnitList refused = CUnitList::Read("pid,language\n10000801,99\n", profile);
    ASSERT_FALSE(refused.Accepted());
    CSimSeries series;
    series.pids = Pids({"10000801"});
    const auto cable = Cable(series);
    m_job.ports = {cable->Port()};
    m_job.units = &refused;
    EXPECT_FALSE(CStation(m_job).Start());
    m_job.units = nullptr;
    CTransferContext other;
    ASSERT_TRUE(other.HoldPort(cable->Port()));
    CStation station(m_job);
    EXPECT_FALSE(station.Start());
    EXPECT_EQ(station.BusyPort(), cable->Port());
    other.ReleasePort();
    EXPECT_TRUE(station.Start());
    station.Stop();
    EXPECT_TRUE(station.Wait(10000));
    EXPECT_FALSE(cable->radios.Units()[0].written);
}
