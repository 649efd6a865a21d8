#include <gtest/gtest.h>

#include <unistd.h>

#include <condition_variable>
#include <filesystem>

#include "CPortHold.h"
#include "CPortRegistry.h"
#include "CWriteVerify.h"
#include "FullProfile.h"
#include "RadioResult.h"
#include "SerialPort.h"
#include "TransferFixture.h"

namespace {

using namespace std::chrono_literals;

// A meeting point for two operations: each waits at it until the other has come too, which only
// happens when both are under way at the same time.
class CMeeting {
  public:
    // False when the other did not come within ten seconds.
    bool Arrive() {
        std::unique_lock lock(m_mutex);
        ++m_arrived;
        m_all.notify_all();
        return m_all.wait_for(lock, 10s, [this] { return m_arrived >= 2; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_all;
    int m_arrived = 0;
};

// Meets the other operation at the first contact written, and cancels at record cancelAt.
class CMeetingObserver : public CRecordingObserver {
  public:
    CMeetingObserver(CTransferContext& context, CMeeting& meeting, int cancelAt)
        : CRecordingObserver(context),
          m_context(context),
          m_meeting(meeting),
          m_cancelAt(cancelAt) {}
    void OnRecord(int record, int) override {
        if (record == 1 && !m_metYet) {
            m_metYet = true;
            met = m_meeting.Arrive();
        }
        if (record == m_cancelAt && !m_cancelled) {
            m_cancelled = true;
            m_context.RequestCancel();
        }
    }
    bool met = false;

  private:
    CTransferContext& m_context;
    CMeeting& m_meeting;
    int m_cancelAt;
    bool m_metYet = false;
    bool m_cancelled = false;
};

}  // namespace

// Two writes with contexts of their own on two ports run at the same time and each radio holds
// exactly what was sent to it; cancelling one leaves the other alone.
TEST(TransferSideBySide, TwoPortsAtOnceEachWrittenByteExact) {
    const CVirtualCodeplug source = MakeFullImage();
    for (const bool cancelFirst : {false, true}) {
        CMeeting meeting;
        struct Side {
            Side(CMeeting& meeting, int cancelAt)
                : bench(FullRadio()), observer(bench.context, meeting, cancelAt) {
                bench.context.SetObserver(&observer);
            }
            CTransferBench bench;
            CMeetingObserver observer;
            CRadioBlocks sent;
            int code = 0;
        };
        Side first(meeting, cancelFirst ? 3 : -1);
        Side second(meeting, -1);
        {
            const auto write = [&source](Side& side) {
                return [&side, &source] {
                    side.code = side.bench.operations.Direct().WriteCodeplug(side.bench.sim.Port(),
                                                                             source, &side.sent);
                };
            };
            CTransferWorker one(write(first));
            CTransferWorker two(write(second));
            one.Start();
            two.Start();
        }
        EXPECT_TRUE(first.observer.met && second.observer.met) << "the writes ran one by one";
        EXPECT_EQ(first.code, cancelFirst ? kUserCancelled : kRadioSuccess);
        EXPECT_EQ(second.code, kRadioSuccess) << cancelFirst;
        for (Side* side : {&first, &second}) {
            if (side->code != kRadioSuccess) {
                EXPECT_EQ(side->bench.sim.radio.Image(), FullRadio());
                continue;
            }
            CRadioBlocks radio;
            ASSERT_EQ(side->bench.operations.Run([&](CTransferOperations& operations) {
                return operations.ReadBack(side->bench.sim.Port(), radio);
            }),
                      kRadioSuccess);
            EXPECT_EQ(CWriteVerify::Differences(side->sent, radio), std::vector<std::string>{});
        }
    }
}

// A port in use is refused at once, whether a command holds it or an operation runs on it: the
// port is not even opened, and the operation reports kPortBusy once.
TEST(TransferSideBySide, ASecondOperationOnABusyPortIsRefusedWithoutTouchingIt) {
    for (const bool heldByCommand : {true, false}) {
        CTransferBench owner;
        CTransferContext other;
        int opened = 0;
        other.SetPortFactory([&opened](const std::string& port) {
            ++opened;
            return std::make_unique<SerialPort>(port);
        });
        CRecordingObserver refused(other);
        other.SetObserver(&refused);
        COperationsOnWorker operations(other);
        int code = 0;
        std::u16string pid;
        if (heldByCommand) {
            ASSERT_TRUE(owner.context.HoldPort(owner.sim.Port()));
            code = operations.ReadOwnPid(owner.sim.Port(), pid);
        } else {
            // From inside the running operation's callback, on its own thread: no deadlock.
            class CIntruding : public CRecordingObserver {
              public:
                CIntruding(CTransferContext& context, std::function<void()> intrude)
                    : CRecordingObserver(context), m_intrude(std::move(intrude)) {}
                void OnProgress(int percent) override {
                    if (percent == 20) {
                        m_intrude();
                    }
                }

              private:
                std::function<void()> m_intrude;
            } intruding(owner.context,
                        [&] { code = operations.Direct().ReadOwnPid(owner.sim.Port(), pid); });
            owner.context.SetObserver(&intruding);
            CVirtualCodeplug read;
            EXPECT_EQ(owner.operations.ReadCodeplug(owner.sim.Port(), read), kRadioSuccess);
        }
        EXPECT_EQ(code, kPortBusy) << heldByCommand;
        EXPECT_EQ(refused.failures, std::vector<int>{kPortBusy});
        EXPECT_EQ(opened, 0);
        const auto requests = owner.Requests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), kOpGetVersion),
                  heldByCommand ? 0 : 1);
        owner.context.ReleasePort();
        EXPECT_EQ(operations.ReadOwnPid(owner.sim.Port(), pid), kRadioSuccess);
        EXPECT_EQ(pid, u"10000001");
    }
}

// A command's hold, under the device's name or a link to it, keeps others out until it ends; a
// context holding its port already (a station's cable) keeps it after a command on it.
TEST(TransferSideBySide, APortHoldCoversEveryNameOfTheDeviceAndNestsInAnEarlierOne) {
    CSimRadio sim;
    const auto link =
        std::filesystem::temp_directory_path() / ("qmv-hold-" + std::to_string(::getpid()));
    std::filesystem::remove(link);
    std::filesystem::create_symlink(sim.Port(), link);
    CTransferContext station;
    CTransferContext command;
    {
        const CPortHold hold(command, link.string());
        EXPECT_TRUE(command.Holds(link.string()));
        EXPECT_TRUE(CPortRegistry::Instance().Busy(sim.Port()));
        EXPECT_FALSE(station.HoldPort(sim.Port()));
        EXPECT_TRUE(command.Holds(sim.Port()));
    }
    EXPECT_FALSE(CPortRegistry::Instance().Busy(sim.Port()));
    ASSERT_TRUE(station.HoldPort(sim.Port()));
    {
        const CPortHold nested(station, link.string());
        EXPECT_TRUE(station.Holds(link.string()));
        const CPortHold refused(command, sim.Port());
        EXPECT_FALSE(command.Holds(sim.Port()));
    }
    EXPECT_TRUE(station.Holds(sim.Port()));
    station.ReleasePort();
    EXPECT_FALSE(CPortRegistry::Instance().Busy(link.string()));
    std::filesystem::remove(link);
}
