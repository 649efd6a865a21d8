#include <gtest/gtest.h>

#include <thread>

#include "CTransferWorker.h"
#include "RadioResult.h"
#include "TransferFixture.h"

namespace {

using namespace std::chrono_literals;

CVirtualCodeplug RadioWithContent() {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.settings.password = u"9876";
    image.contacts[0].name = u"Crew";
    image.contacts[0].pid = u"10000100";
    image.contacts[0].cntct_type = kContactPrivateGroup;
    image.texts[0] = u"Text";
    return image;
}

TEST(ReadRadioVersion, CopiesTheReport) {
    CVirtualCodeplug image = RadioWithContent();
    image.version = {'R', 94, 7, 3, 3, 17, 6};
    CTransferBench bench(image);
    CVersionBlock version;
    ASSERT_EQ(bench.operations.ReadRadioVersion(bench.sim.Port(), version), kRadioSuccess);
    EXPECT_EQ(version, image.version);
    EXPECT_EQ(bench.observer.done, 1);
    EXPECT_EQ(CTransferOperations::FirmwareVersionText(version), "5E.07.03");
    EXPECT_EQ(CTransferOperations::FirmwareVersionText(CVersionBlock{}), "5E.08.00");
}

TEST(ReadRadioPassword, GivesTheSettingsPassword) {
    CTransferBench bench(RadioWithContent());
    std::u16string password;
    ASSERT_EQ(bench.operations.ReadRadioPassword(bench.sim.Port(), password), kRadioSuccess);
    EXPECT_EQ(password, u"9876");
}

TEST(ReadOwnPid, KeepsItAsTheCurrentRadioPid) {
    CTransferBench bench(RadioWithContent());
    std::u16string pid;
    ASSERT_EQ(bench.operations.ReadOwnPid(bench.sim.Port(), pid), kRadioSuccess);
    EXPECT_EQ(pid, u"10000001");
    EXPECT_EQ(bench.context.CurrentRadioPid(), u"10000001");
}

// Every operation refuses a radio of another model family.
TEST(Compatibility, TwentyIsRejectedByEveryOperation) {
    CVirtualCodeplug image = RadioWithContent();
    image.limits.clone_compatibility_version = 20;
    CTransferBench bench(image);
    const std::string port = bench.sim.Port();
    auto& ops = bench.operations;
    std::u16string text;
    CVirtualCodeplug read;
    EXPECT_EQ(ops.ReadOwnPid(port, text), kModelUnsupported);
    EXPECT_EQ(ops.ReadCodeplug(port, read), kModelUnsupported);
    EXPECT_EQ(ops.WriteCodeplug(port, RadioWithContent()), kModelUnsupported);
    EXPECT_EQ(ops.PerformReset(port), kModelUnsupported);
    EXPECT_EQ(ops.CaptureRadioPid(port, text), kModelUnsupported);
    EXPECT_EQ(bench.observer.failures, std::vector<int>(5, kModelUnsupported));
    EXPECT_FALSE(bench.Received(kOpResetRadio));
    EXPECT_FALSE(bench.Received(kOpStartIdCapture));
}

TEST(PerformReset, SendsLimitsThenResetWithoutIdentify) {
    CTransferBench bench(RadioWithContent());
    ASSERT_EQ(bench.operations.PerformReset(bench.sim.Port()), kRadioSuccess);
    EXPECT_EQ(bench.Requests(), (std::vector<std::uint8_t>{kOpReadLimits, kOpResetRadio}));
    EXPECT_FALSE(bench.sim.radio.Image().contacts[0].InUse());
    EXPECT_EQ(bench.observer.done, 1);
}

TEST(CaptureRadioPid, ReturnsThePidAfterWaitingPolls) {
    CTransferBench bench(RadioWithContent());
    bench.sim.radio.SetCapture(u"10000777", 2);
    std::u16string pid;
    ASSERT_EQ(bench.operations.CaptureRadioPid(bench.sim.Port(), pid), kRadioSuccess);
    EXPECT_EQ(pid, u"10000777");
    EXPECT_EQ(bench.context.CapturedPid(), u"10000777");
    EXPECT_EQ(bench.observer.progress, (std::vector<int>{20, 40, 60}));
}

TEST(CaptureRadioPid, FourPollsWithoutACaptureTimeOut) {
    CTransferBench bench(RadioWithContent());
    std::u16string pid = u"keep";
    EXPECT_EQ(bench.operations.CaptureRadioPid(bench.sim.Port(), pid), kTimedOut);
    const auto opcodes = bench.Requests();
    EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), kOpPollIdCapture), 4);
    EXPECT_EQ(bench.observer.progress, (std::vector<int>{20, 40, 60, 80, 100}));
    EXPECT_EQ(bench.observer.failures, std::vector<int>{kTimedOut});
    EXPECT_EQ(pid, u"keep");
}

TEST(CaptureRadioPid, RefusedStartIsBusy) {
    CSimFaults faults;
    faults.reject = CSimFaults::Reject::kQ;
    faults.rejectValue = 0x01;
    faults.rejectOpcode = kOpStartIdCapture;
    CTransferBench bench(RadioWithContent(), faults);
    std::u16string pid;
    EXPECT_EQ(bench.operations.CaptureRadioPid(bench.sim.Port(), pid), kRadioBusy);
    EXPECT_FALSE(bench.Received(kOpPollIdCapture));
}

TEST(CaptureRadioPid, CancelDuringTheWaitEndsWithUserCanceled) {
    CTransferBench bench(RadioWithContent());
    bench.context.capturePollInterval = 3000ms;
    std::u16string pid;
    int code = 0;
    CTransferWorker worker(
        [&] { code = bench.operations.Direct().CaptureRadioPid(bench.sim.Port(), pid); });
    const auto start = std::chrono::steady_clock::now();
    worker.Start();
    while (bench.observer.ProgressCount() == 0 && std::chrono::steady_clock::now() - start < 2s) {
        std::this_thread::sleep_for(5ms);
    }
    bench.context.RequestCancel();
    ASSERT_TRUE(worker.Wait(4000));
    EXPECT_EQ(code, kUserCancelled);
    EXPECT_EQ(bench.observer.failures, std::vector<int>{kUserCancelled});
    EXPECT_FALSE(bench.Received(kOpPollIdCapture));
}

TEST(TransferLock, OperationsOnTwoWorkersRunOneAfterTheOther) {
    CTransferBench bench(RadioWithContent());
    CVirtualCodeplug first;
    CVirtualCodeplug second;
    int codeFirst = 0;
    int codeSecond = 0;
    CTransferWorker a(
        [&] { codeFirst = bench.operations.Direct().ReadCodeplug(bench.sim.Port(), first); });
    CTransferWorker b(
        [&] { codeSecond = bench.operations.Direct().ReadCodeplug(bench.sim.Port(), second); });
    a.Start();
    b.Start();
    ASSERT_TRUE(a.Wait(10000));
    ASSERT_TRUE(b.Wait(10000));
    // Both got the exclusive port in turn and read the same radio.
    EXPECT_EQ(codeFirst, kRadioSuccess);
    EXPECT_EQ(codeSecond, kRadioSuccess);
    EXPECT_EQ(first, second);
    EXPECT_EQ(bench.observer.done, 2);
}

TEST(Warnings, CancelWhileAWarningWaitsEndsTheWrite) {
    CVirtualCodeplug radio = RadioWithContent();
    radio.limits.pid = u"10009999";
    CTransferBench bench(radio);
    // An observer that never answers: only the cancel releases the write.
    class CSilentObserver : public CRecordingObserver {
      public:
        using CRecordingObserver::CRecordingObserver;
        void OnWarning(TransferWarning) override { asked = true; }
        std::atomic<bool> asked{false};
    } silent(bench.context);
    bench.context.SetObserver(&silent);
    int code = 0;
    CTransferWorker worker([&] {
        code = bench.operations.Direct().WriteCodeplug(bench.sim.Port(), RadioWithContent());
    });
    worker.Start();
    const auto start = std::chrono::steady_clock::now();
    while (!silent.asked && std::chrono::steady_clock::now() - start < 3s) {
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_TRUE(silent.asked);
    EXPECT_FALSE(worker.Wait(100));
    bench.context.RequestCancel();
    ASSERT_TRUE(worker.Wait(2000));
    EXPECT_EQ(code, kUserCancelled);
    EXPECT_EQ(silent.failures, std::vector<int>{kUserCancelled});
    EXPECT_FALSE(bench.Received(kOpWriteSettings));
}

}  // namespace
