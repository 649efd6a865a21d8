#include "CPseudoTerminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

CPseudoTerminal::CPseudoTerminal(const std::filesystem::path& linkPath) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        m_error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        HangUp();
        return;
    }
    const char* name = ptsname(m_master);
    m_slavePath = name ? name : "";
    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        m_error = "cannot open " + m_slavePath + ": " + std::strerror(errno);
        HangUp();
        return;
    }
    // Raw both ways: no echo, no line editing, no newline translation.
    termios tio{};
    tcgetattr(m_slave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(m_slave, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (!linkPath.empty()) {
        std::error_code ec;
        // Only a link this program left behind (one to a pseudo-terminal) is replaced; anything
        // else at that path is somebody's file.
        const auto status = std::filesystem::symlink_status(linkPath, ec);
        if (std::filesystem::exists(status)) {
            const bool ownLink =
                std::filesystem::is_symlink(status) &&
                std::filesystem::read_symlink(linkPath, ec).string().rfind("/dev/pts/", 0) == 0;
            if (!ownLink) {
                m_error = "refusing to replace " + linkPath.string() +
                          ": it is not a link to a pseudo-terminal";
                HangUp();
                return;
            }
        }
        std::filesystem::remove(linkPath, ec);
        std::filesystem::create_symlink(m_slavePath, linkPath, ec);
        if (ec) {
            m_error = "cannot link " + linkPath.string() + ": " + ec.message();
            HangUp();
            return;
        }
        m_link = linkPath;
    }
}

CPseudoTerminal::~CPseudoTerminal() {
    HangUp();
    if (!m_link.empty()) {
        std::error_code ec;
        std::filesystem::remove(m_link, ec);
    }
}

std::string CPseudoTerminal::PortName() const {
    return m_link.empty() ? m_slavePath : m_link.string();
}

void CPseudoTerminal::HangUp() {
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
