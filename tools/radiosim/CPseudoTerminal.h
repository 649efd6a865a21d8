#pragma once

#include <filesystem>
#include <string>

// A pseudo-terminal pair in raw mode: the virtual radio holds the master side, a program opens the
// slave device as its serial port. The radio keeps the slave open too, so the line stays up while
// programs come and go.
class CPseudoTerminal {
  public:
    // Opens the pair; when linkPath is given, a symbolic link to the slave device is made there
    // (replacing an older link). Check IsOpen() afterwards.
    explicit CPseudoTerminal(const std::filesystem::path& linkPath = {});
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    const std::string& Error() const { return m_error; }
    // The slave device path (or the link when one was made).
    std::string PortName() const;
    std::string DevicePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }

    // Closes both sides: the program on the slave sees the line hang up.
    void HangUp();

  private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::filesystem::path m_link;
    std::string m_error;
};
