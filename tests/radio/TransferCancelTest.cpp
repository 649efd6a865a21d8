#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <thread>

#include "CTransferRun.h"
#include "CTransferSignals.h"
#include "FullProfile.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"
#include "TransferFixture.h"

namespace {

using namespace std::chrono_literals;

int Count(const std::vector<std::uint8_t>& opcodes, std::uint8_t opcode) {
    return static_cast<int>(std::count(opcodes.begin(), opcodes.end(), opcode));
}

// Cancels when the given record of a list has gone over the line.
class CCancelAtRecord : public CRecordingObserver {
  public:
    CCancelAtRecord(CTransferContext& context, int record)
        : CRecordingObserver(context), m_context(context), m_record(record) {}
    void OnRecord(int record, int) override {
        if (record == m_record) {
            m_context.RequestCancel();
        }
    }

  private:
    CTransferContext& m_context;
    int m_record;
};

void WaitUntil(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!condition() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(2ms);
    }
}

}  // namespace

// A cancel in the middle of either list stops at the next exchange; a read leaves its destination
// alone, a write commits nothing and is marked as having touched the radio.
TEST(TransferCancel, MidListStopsAtTheNextExchange) {
    for (const bool write : {false, true}) {
        const CVirtualCodeplug full = MakeFullImage();
        CVirtualCodeplug radio = write ? FullRadio() : full;
        CTransferBench bench(radio);
        CCancelAtRecord observer(bench.context, 3);
        bench.context.SetObserver(&observer);
        CVirtualCodeplug destination;
        const int code = write ? bench.operations.WriteCodeplug(bench.sim.Port(), full)
                               : bench.operations.ReadCodeplug(bench.sim.Port(), destination);
        EXPECT_EQ(code, kUserCancelled) << write;
        EXPECT_EQ(observer.failures, std::vector<int>{kUserCancelled});
        const auto opcodes = bench.Requests();
        EXPECT_EQ(Count(opcodes, write ? kOpWriteContact : kOpReadContact), 3) << write;
        EXPECT_EQ(Count(opcodes, kOpFinishWrite), 0);
        EXPECT_EQ(bench.context.RadioTouched(), write);
        EXPECT_EQ(bench.sim.radio.Image(), radio);
        EXPECT_EQ(destination, CVirtualCodeplug{});
    }
}

// Once the radio has acknowledged FinishWrite it holds the whole profile: a cancel pressed during
// the final pause does not turn that into "User Canceled".
TEST(TransferCancel, AfterFinishWriteWasSentTheWriteSucceeds) {
    CTransferBench bench(FullRadio());
    bench.sim.radio.SetFinishDelayMs(300);
    int code = 0;
    std::thread writer(
        [&] { code = bench.operations.WriteCodeplug(bench.sim.Port(), MakeFullImage()); });
    WaitUntil([&] { return bench.Received(kOpFinishWrite); });
    bench.context.RequestCancel();
    writer.join();
    EXPECT_EQ(code, kRadioSuccess);
    EXPECT_EQ(bench.observer.done, 1);
    EXPECT_TRUE(bench.observer.failures.empty());
}

// A write that fails while a cancel is pending reports the failure, which says more.
TEST(TransferCancel, AFailureOutranksACancelInAWrite) {
    CSimFaults faults;
    faults.silentFromFrame = 10;  // a WriteContact, and every retry of it
    faults.silentFrames = 3;
    CTransferBench bench(FullRadio(), faults);
    int code = 0;
    std::thread writer(
        [&] { code = bench.operations.WriteCodeplug(bench.sim.Port(), MakeFullImage()); });
    WaitUntil([&] { return bench.Requests().size() >= 10; });
    bench.context.RequestCancel();
    writer.join();
    EXPECT_EQ(code, kNoConnection);
    EXPECT_EQ(bench.observer.failures, std::vector<int>{kNoConnection});
}

TEST(TransferFaults, ATransientSilenceIsRetriedWithinTheExchange) {
    CSimFaults faults;
    faults.silentFromFrame = 12;
    faults.silentFrames = 2;
    CTransferBench bench(FullRadio(), faults);
    const CVirtualCodeplug source = MakeFullImage();
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    const auto requests = bench.Requests();
    EXPECT_EQ(requests[11], requests[12]);
    EXPECT_EQ(requests[12], requests[13]);
    EXPECT_EQ(bench.observer.done, 1);
    EXPECT_EQ(bench.sim.radio.Image().texts, source.texts);
}

// A radio that keeps answering record 1 of 255 cannot keep the read going for ever.
TEST(TransferFaults, AListThatDoesNotAdvanceFailsTheRead) {
    CSimFaults faults;
    faults.stuckList = true;
    CTransferBench bench(MakeFullImage(), faults);
    CVirtualCodeplug destination;
    EXPECT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), destination), kOperationFailed);
    EXPECT_EQ(Count(bench.Requests(), kOpReadContact), 2);
}

// An operation started from an observer callback, on the worker holding the lock, fails at once
// instead of waiting for itself; the running operation is not disturbed.
TEST(TransferLock, AnOperationStartedFromACallbackFailsInsteadOfDeadlocking) {
    CTransferBench bench;
    class CReentering : public CRecordingObserver {
      public:
        CReentering(CTransferContext& context, const std::string& port)
            : CRecordingObserver(context), m_operations(context), m_port(port) {}
        void OnProgress(int percent) override {
            CRecordingObserver::OnProgress(percent);
            if (percent == 20) {
                std::u16string pid;
                inner = m_operations.ReadOwnPid(m_port, pid);
            }
        }
        int inner = 0;

      private:
        CTransferOperations m_operations;
        std::string m_port;
    } observer(bench.context, bench.sim.Port());
    bench.context.SetObserver(&observer);
    CVirtualCodeplug destination;
    EXPECT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), destination), kRadioSuccess);
    EXPECT_EQ(observer.inner, kRadioBusy);
    EXPECT_EQ(observer.done, 1);
    EXPECT_TRUE(observer.failures.empty());
}

// Contacts capped by the radio's capacity are announced with the number actually sent; texts with
// empty slots between them are numbered without gaps.
TEST(WriteCodeplug, IndexAndTotalOnTheWireWhenCappedAndWithGaps) {
    CVirtualCodeplug radio = FullRadio();
    radio.limits.max_num_of_private_grps = 1;
    CVirtualCodeplug source = MakeFullImage();
    source.texts = CVirtualCodeplug{}.texts;
    source.texts[1] = u"second";
    source.texts[4] = u"fifth";
    CTransferBench bench(radio);
    bench.observer.answers[TransferWarning::kNotSupported] = true;
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    const auto opcodes = bench.Requests();
    const auto data = bench.sim.radio.RequestData();
    std::vector<std::pair<int, int>> contacts;
    std::vector<std::vector<std::uint8_t>> texts;
    for (std::size_t i = 0; i < opcodes.size(); ++i) {
        if (opcodes[i] == kOpWriteContact) {
            contacts.emplace_back(data[i][0], data[i][1]);
        } else if (opcodes[i] == kOpWriteTextMessage) {
            texts.push_back(data[i]);
        }
    }
    ASSERT_FALSE(contacts.empty());
    const int sent = static_cast<int>(contacts.size());
    for (int n = 0; n < sent; ++n) {
        EXPECT_EQ(contacts[static_cast<std::size_t>(n)], std::make_pair(n + 1, sent));
    }
    EXPECT_EQ(texts,
              (std::vector<std::vector<std::uint8_t>>{{1, 2, 's', 'e', 'c', 'o', 'n', 'd', 0},
                                                      {2, 2, 'f', 'i', 'f', 't', 'h', 0}}));
}

TEST(WriteCodeplug, ARadioThatCannotVibrateGetsVibracallTwo) {
    CVirtualCodeplug radio = FullRadio();
    radio.limits.capability_flags |= 1u << 12;  // vibracall_dis
    CVirtualCodeplug source = MakeFullImage();
    source.settings.vibracall = 1;
    CTransferBench bench(radio);
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    EXPECT_EQ(bench.sim.radio.Image().settings.vibracall, 2);
}

TEST(WriteCodeplug, SeveralWarningsAreAskedInOrderInOneWrite) {
    CVirtualCodeplug radio = FullRadio();
    radio.limits.pid = u"10009999";  // in no profile
    radio.limits.clone_compatibility_version = 15;
    radio.limits.max_num_of_channels = 4;
    radio.limits.max_num_of_private_grps = 1;
    CVirtualCodeplug source = MakeFullImage();
    source.contacts[0].channel = 6;
    CTransferBench bench(radio);
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    EXPECT_EQ(bench.observer.warnings,
              (std::vector<TransferWarning>{TransferWarning::kNotSupported,
                                            TransferWarning::kRadioNotInProfile,
                                            TransferWarning::kChannelRemap}));
}

// The Qt adapter: the worker's calls arrive as signals on the GUI thread, and a warning answered
// later from yet another thread releases the write.
TEST(TransferSignals, AWarningAnsweredLaterFromAnotherThread) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    CVirtualCodeplug radio = FullRadio();
    radio.limits.pid = u"10009999";
    CTransferBench bench(radio);
    CTransferSignals adapter(bench.context);
    std::vector<QThread*> threads;
    std::thread answerer;
    QObject::connect(&adapter, &CTransferSignals::warning, [&](TransferWarning) {
        threads.push_back(QThread::currentThread());
        answerer = std::thread([&] {
            std::this_thread::sleep_for(50ms);
            adapter.AnswerWarning(true);
        });
    });
    int result = 0;
    QObject::connect(&adapter, &CTransferSignals::done, [&] {
        threads.push_back(QThread::currentThread());
        app.quit();
    });
    QObject::connect(&adapter, &CTransferSignals::failed, [&](RadioResult code) {
        result = code;
        app.quit();
    });
    CTransferOperations operations(bench.context);
    const CVirtualCodeplug source = MakeFullImage();
    CTransferRun run(bench.context, &adapter,
                     [&] { return operations.WriteCodeplug(bench.sim.Port(), source); });
    app.exec();
    ASSERT_TRUE(run.Wait(10000));
    answerer.join();
    EXPECT_EQ(run.Result(), kRadioSuccess) << result;
    EXPECT_EQ(threads, (std::vector<QThread*>{app.thread(), app.thread()}));
}

TEST(RadioResultText, TransferDialogsHaveTheirOwnColumn) {
    struct Case {
        int code;
        int dialogId;
        int mainId;
    };
    for (const Case& c : {Case{kPortUnavailable, 10133, 10155}, Case{kNoConnection, 10134, 10157},
                          Case{kResetRequired, 10129, 10160}, Case{kRadioBusy, 10131, 10154},
                          Case{kPortBusy, 34330, 34330}}) {
        EXPECT_EQ(RadioTransferText(c.code), LoadString(c.dialogId)) << c.code;
        EXPECT_EQ(RadioResultText(c.code), LoadString(c.mainId)) << c.code;
    }
    EXPECT_EQ(RadioTransferText(kPasswordUnavailable), "Error: Operation Failed (-17).");
    EXPECT_EQ(RadioResultText(kPasswordUnavailable), LoadString(303));
}
