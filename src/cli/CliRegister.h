#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "CCommandRecorder.h"
#include "CliContext.h"

// The register the radio commands record in (--register, else the configuration's). What is amiss
// with it is said on standard error as the command ends; it never changes the exit status.
class CCliRegister {
  public:
    explicit CCliRegister(const CliContext& ctx);
    ~CCliRegister();
    CCliRegister(const CCliRegister&) = delete;
    CCliRegister& operator=(const CCliRegister&) = delete;

    void Record(const CRadioCommandOutcome& outcome) { m_recorder->Record(outcome); }
    // For CRadioCommandChain::SetOutcomeObserver.
    std::function<void(const CRadioCommandOutcome&)> Observer() {
        return [this](const CRadioCommandOutcome& outcome) { Record(outcome); };
    }

  private:
    std::mutex m_mutex;
    std::string m_status;  // the register's last word, from its threads
    std::unique_ptr<CCommandRecorder> m_recorder;
};
