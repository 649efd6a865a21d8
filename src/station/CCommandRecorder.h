#pragma once

#include <memory>
#include <string>

#include "CRadioCommandOutcome.h"
#include "CRegister.h"
#include "CRegisterRecord.h"

// The register's record of each single-radio command (read, write, restore, reset, PID capture),
// for the desktop program and the command line alike. A command never waits for it nor fails
// because of it: the register keeps the records on this computer until a shared register answers.
// A register that cannot be made (an address that is not one) is told by Problem(), and the
// commands go on without records.
class CCommandRecorder {
  public:
    explicit CCommandRecorder(const CRegisterOptions& options) noexcept;

    // Hands the outcome's record to the register; never throws, never waits.
    void Record(const CRadioCommandOutcome& outcome) noexcept;
    // Null when the register could not be made.
    CRegister* Register() const { return m_register.get(); }
    // What the user should know about the register ("" when nothing is amiss).
    std::string Problem() const;

    // The register's record of a command's outcome.
    static CRegisterRecord RecordOf(const CRadioCommandOutcome& outcome);

  private:
    std::unique_ptr<CRegister> m_register;
    std::string m_problem;
};
