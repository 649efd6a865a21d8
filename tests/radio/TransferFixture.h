#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "CTransferContext.h"
#include "CTransferOperations.h"
#include "ITransferObserver.h"
#include "SimFixture.h"

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
    void OnFailed(int code) override {
        std::lock_guard lock(m_mutex);
        failures.push_back(code);
    }
    void OnWarning(int warning) override {
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
    int Finals() const {
        std::lock_guard lock(m_mutex);
        return done + static_cast<int>(failures.size());
    }

    std::map<int, bool> answers;
    std::vector<int> progress;
    std::vector<int> failures;
    std::vector<int> warnings;
    int done = 0;

  private:
    CTransferContext& m_context;
    mutable std::mutex m_mutex;
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
    CTransferOperations operations;
};
