#include "CCliInterrupt.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace {

std::atomic<bool> g_interrupted{false};
// The handler's way to wake the watcher: write() is safe in a signal handler, a mutex is not.
int g_wakeFds[2] = {-1, -1};
struct sigaction g_previous {};

void OnInterrupt(int) {
    g_interrupted = true;
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_wakeFds[1], &byte, 1);
}

}  // namespace

CCliInterrupt::CCliInterrupt(CTransferContext& context)
    : CCliInterrupt([&context] { context.RequestCancel(); }) {}

CCliInterrupt::CCliInterrupt(std::function<void()> cancel) {
    g_interrupted = false;
    if (::pipe2(g_wakeFds, O_CLOEXEC) != 0) {
        g_wakeFds[0] = g_wakeFds[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_previous);
    m_watcher = std::thread([cancel = std::move(cancel), fd = g_wakeFds[0]] {
        char byte = 0;
        // Ends when the write end closes.
        while (fd >= 0) {
            const auto n = ::read(fd, &byte, 1);
            if (n == 1) {
                cancel();
            } else if (n == 0 || errno != EINTR) {
                break;
            }
        }
    });
}

CCliInterrupt::~CCliInterrupt() {
    sigaction(SIGINT, &g_previous, nullptr);
    if (g_wakeFds[1] >= 0) {
        ::close(g_wakeFds[1]);
    }
    m_watcher.join();
    if (g_wakeFds[0] >= 0) {
        ::close(g_wakeFds[0]);
    }
    g_wakeFds[0] = g_wakeFds[1] = -1;
}

bool CCliInterrupt::Interrupted() {
    return g_interrupted;
}
