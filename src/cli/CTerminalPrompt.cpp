#include "CTerminalPrompt.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "CCliInterrupt.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

// Puts the terminal's settings back when the prompt ends, however it ends.
class CEchoOff {
  public:
    CEchoOff() : m_active(::tcgetattr(STDIN_FILENO, &m_saved) == 0) {
        if (m_active) {
            termios silent = m_saved;
            silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSANOW, &silent);
        }
    }
    ~CEchoOff() {
        if (m_active) {
            ::tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
        }
    }
    CEchoOff(const CEchoOff&) = delete;
    CEchoOff& operator=(const CEchoOff&) = delete;

  private:
    termios m_saved{};
    bool m_active;
};

constexpr int kPollMs = 50;

}  // namespace

std::optional<std::string> CTerminalPrompt::ReadLine(bool echo) {
    std::optional<CEchoOff> silent;
    if (!echo) {
        silent.emplace();
    }
    std::string line;
    for (;;) {
        if (CCliInterrupt::Interrupted()) {
            return std::nullopt;
        }
        pollfd fd{STDIN_FILENO, POLLIN, 0};
        if (::poll(&fd, 1, kPollMs) <= 0) {
            continue;
        }
        char c = 0;
        const auto n = ::read(STDIN_FILENO, &c, 1);
        if (n <= 0) {
            return line.empty() ? std::nullopt : std::optional(line);
        }
        if (c == '\n') {
            return line;
        }
        line += c;
    }
}

bool CTerminalPrompt::AskYesNo(const std::string& question, bool yesToAll) {
    if (yesToAll) {
        std::cerr << question << " [y/N] y (--yes)\n";
        return true;
    }
    if (!::isatty(STDIN_FILENO)) {
        std::cerr << question << " [y/N] n (" << LoadString(MessageId::kCliNoTerminal) << ")\n";
        return false;
    }
    std::cerr << question << " [y/N] " << std::flush;
    const auto answer = ReadLine();
    if (!answer) {
        std::cerr << "\n";
        return false;
    }
    return !answer->empty() && ((*answer)[0] == 'y' || (*answer)[0] == 'Y');
}
