#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// qmvvlt-cli run on a pseudo-terminal of its own, as a dealer runs it: standard input, output and
// error are the terminal, and Ctrl-C typed on it reaches the program as SIGINT.
class CPtyCli {
  public:
    explicit CPtyCli(const std::vector<std::string>& args);
    ~CPtyCli();
    CPtyCli(const CPtyCli&) = delete;
    CPtyCli& operator=(const CPtyCli&) = delete;

    // Reads what the program shows until text appears (true) or the time is up (false).
    bool WaitFor(const std::string& text, std::chrono::milliseconds timeout);
    // Types bytes on the terminal; "\x03" is Ctrl-C.
    void Type(const std::string& bytes);
    // The exit status once the program has ended within timeout; nothing if it has not (it is
    // then killed) or it did not exit normally.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    // Everything shown so far.
    const std::string& Output() const { return m_output; }
    // Whether the terminal echoes what is typed.
    bool Echoes() const;

  private:
    // Reads what arrived within waitMs; false when nothing did.
    bool Drain(int waitMs);

    int m_master = -1;
    int m_slave = -1;
    pid_t m_child = -1;
    std::string m_output;
};
