#include "CPtyCli.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

CPtyCli::CPtyCli(const std::vector<std::string>& args) {
    m_child = forkpty(&m_master, nullptr, nullptr, nullptr);
    if (m_child == 0) {
        std::vector<char*> argv{const_cast<char*>(QMVVLT_CLI_PATH)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(QMVVLT_CLI_PATH, argv.data());
        _exit(127);
    }
    if (m_master >= 0) {
        // Kept open so the terminal's settings can be read after the program has ended.
        m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    }
}

CPtyCli::~CPtyCli() {
    if (m_child > 0) {
        ::kill(m_child, SIGKILL);
        ::waitpid(m_child, nullptr, 0);
    }
    for (int fd : {m_slave, m_master}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool CPtyCli::Drain(int waitMs) {
    pollfd fd{m_master, POLLIN, 0};
    if (::poll(&fd, 1, waitMs) <= 0) {
        return false;
    }
    char buffer[4096];
    const auto n = ::read(m_master, buffer, sizeof buffer);
    if (n > 0) {
        m_output.append(buffer, static_cast<std::size_t>(n));
    }
    return n > 0;
}

bool CPtyCli::WaitFor(const std::string& text, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (m_output.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        Drain(20);
    }
    return true;
}

void CPtyCli::Type(const std::string& bytes) {
    [[maybe_unused]] const auto n = ::write(m_master, bytes.data(), bytes.size());
}

std::optional<int> CPtyCli::Wait(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (m_child > 0) {
        int status = 0;
        if (::waitpid(m_child, &status, WNOHANG) == m_child) {
            m_child = -1;
            while (Drain(0)) {
            }
            return WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= end) {
            break;
        }
        Drain(20);
    }
    return std::nullopt;
}

bool CPtyCli::Echoes() const {
    termios settings{};
    return m_slave >= 0 && ::tcgetattr(m_slave, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
}
