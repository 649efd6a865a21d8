#pragma once

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "CTransferContext.h"
#include "CTransferOperations.h"
#include "CTransferWorker.h"
#include "ITransferObserver.h"
#include "RadioProtocol.h"
#include "SimFixture.h"
#include "SimOptions.h"

// Records what an operation reports; answers warnings as told (Yes unless told otherwise).
class CRecordingObserver : public ITransferObserver {
  public:
    explicit CRecordingObserver(CTransferContext& context) : m_context(context) {}

    void OnProgress(int percent) override {
        std::lock_guard lock(m_mutex);
        progress.push_back(percent);
    }
    void OnDone() override {
        std::lock_guard lock(m_mutex);
        ++done;
    }
    void OnFailed(RadioResult code) override {
        std::lock_guard lock(m_mutex);
        failures.push_back(code);
    }
    void OnWarning(TransferWarning warning) override {
        bool yes = true;
        {
            std::lock_guard lock(m_mutex);
            warnings.push_back(warning);
            if (auto it = answers.find(warning); it != answers.end()) {
                yes = it->second;
            }
        }
        m_context.AnswerWarning(yes);
    }
    std::size_t ProgressCount() const {
        std::lock_guard lock(m_mutex);
        return progress.size();
    }
    int Finals() const {
        std::lock_guard lock(m_mutex);
        return done + static_cast<int>(failures.size());
    }

    std::map<TransferWarning, bool> answers;
    std::vector<int> progress;
    std::vector<int> failures;
    std::vector<TransferWarning> warnings;
    int done = 0;

  private:
    CTransferContext& m_context;
    mutable std::mutex m_mutex;
};

// The operations, each run on a worker thread of its own as the program runs them.
class COperationsOnWorker {
  public:
    explicit COperationsOnWorker(CTransferContext& context) : m_operations(context) {}

    template <class Operation>
    int Run(Operation operation) {
        int code = 0;
        CTransferWorker worker([&] { code = operation(m_operations); });
        worker.Start();
        worker.Wait();
        return code;
    }
    int ReadRadioVersion(const std::string& port, CVersionBlock& version) {
        return Run([&](auto& ops) { return ops.ReadRadioVersion(port, version); });
    }
    int ReadRadioPassword(const std::string& port, std::u16string& password) {
        return Run([&](auto& ops) { return ops.ReadRadioPassword(port, password); });
    }
    int ReadOwnPid(const std::string& port, std::u16string& pid) {
        return Run([&](auto& ops) { return ops.ReadOwnPid(port, pid); });
    }
    int ReadCodeplug(const std::string& port, CVirtualCodeplug& destination) {
        return Run([&](auto& ops) { return ops.ReadCodeplug(port, destination); });
    }
    int WriteCodeplug(const std::string& port, const CVirtualCodeplug& source) {
        return Run([&](auto& ops) { return ops.WriteCodeplug(port, source); });
    }
    int PerformReset(const std::string& port) {
        return Run([&](auto& ops) { return ops.PerformReset(port); });
    }
    int CaptureRadioPid(const std::string& port, std::u16string& pid) {
        return Run([&](auto& ops) { return ops.CaptureRadioPid(port, pid); });
    }
    // For tests that start their own worker.
    CTransferOperations& Direct() { return m_operations; }

  private:
    CTransferOperations m_operations;
};

// A virtual radio on a pseudo-terminal and a transfer context of its own with short pauses.
struct CTransferBench {
    explicit CTransferBench(CVirtualCodeplug image = CVirtualRadio::DefaultImage(),
                            CSimFaults faults = {})
        : sim(std::move(image), faults), observer(context), operations(context) {
        context.finishPause = std::chrono::milliseconds(100);
        context.capturePollInterval = std::chrono::milliseconds(20);
        context.SetObserver(&observer);
    }

    // Opcodes the radio received.
    std::vector<std::uint8_t> Requests() const { return sim.radio.Requests(); }
    bool Received(std::uint8_t opcode) const {
        const auto r = Requests();
        return std::find(r.begin(), r.end(), opcode) != r.end();
    }

    CSimRadio sim;
    CTransferContext context;
    CRecordingObserver observer;
    COperationsOnWorker operations;
};
