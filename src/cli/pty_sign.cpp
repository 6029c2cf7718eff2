#include "pty_sign.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace velora {
namespace {

void makeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return;
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

PtySign::PtySign() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal available");
    const char* name = ptsname(m_master);
    if (!name) throw std::runtime_error("no pseudo-terminal available");
    m_path = name;
    m_slave = ::open(m_path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    // A program started from this one must not inherit the sign's end of the line: it would
    // keep the line up after the sign hangs up.
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    // Bytes pass unchanged both ways, whatever the program sets on its side.
    makeRaw(m_master);
    if (m_slave >= 0) makeRaw(m_slave);
}

PtySign::~PtySign() {
    stop();
    hangUp();
}

void PtySign::hangUp() {
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
    m_master = m_slave = -1;
}

void PtySign::say(const std::vector<std::uint8_t>& bytes) {
    if (m_master < 0 || bytes.empty()) return;
    [[maybe_unused]] const ssize_t written = ::write(m_master, bytes.data(), bytes.size());
}

void PtySign::start() {
    m_stop = false;
    m_thread = std::thread([this] { run(); });
}

void PtySign::stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
}

void PtySign::run() {
    std::uint8_t buffer[4096];
    while (!m_stop && m_master >= 0) {
        pollfd fd{m_master, POLLIN, 0};
        const int ready = ::poll(&fd, 1, 20);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0 || !(fd.revents & POLLIN)) continue;
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count <= 0) {
            if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            break;
        }
        const auto at = std::chrono::steady_clock::now();
        for (ssize_t i = 0; i < count; ++i) {
            std::size_t total;
            {
                std::lock_guard lock(m_mutex);
                m_received.push_back(buffer[i]);
                // Trimmed by halves, so that each byte is moved at most once.
                if (m_received.size() >= 2 * kKeptBytes)
                    m_received.erase(m_received.begin(),
                                     m_received.end() - static_cast<std::ptrdiff_t>(kKeptBytes));
                total = ++m_receivedCount;
            }
            const std::vector<std::uint8_t> replies = m_sign.receive(
                buffer[i], std::chrono::duration<double>(at.time_since_epoch()).count());
            if (!replies.empty()) {
                [[maybe_unused]] const ssize_t written =
                    ::write(m_master, replies.data(), replies.size());
            }
            if (total >= m_hangUpAfter) {
                hangUp();
                return;
            }
        }
    }
}

std::vector<std::uint8_t> PtySign::received() const {
    std::lock_guard lock(m_mutex);
    const std::size_t kept = std::min(m_received.size(), kKeptBytes);
    return {m_received.end() - static_cast<std::ptrdiff_t>(kept), m_received.end()};
}

std::size_t PtySign::receivedCount() const {
    std::lock_guard lock(m_mutex);
    return m_receivedCount;
}

}  // namespace velora
