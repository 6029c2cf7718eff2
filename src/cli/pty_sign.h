#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/virtual_sign.h"

namespace velora {

// The virtual sign at the far end of a new pseudo-terminal: programs open devicePath() as their
// serial port. It reads on a thread of its own (start) or on the caller's (run), and keeps the
// last bytes it received, at most kKeptBytes of them: a sign left running keeps the same size
// however much arrives.
class PtySign {
public:
    // Opens the pseudo-terminal; throws std::runtime_error when the system has none to give.
    static constexpr std::size_t kKeptBytes = 1024 * 1024;

    PtySign();
    ~PtySign();
    PtySign(const PtySign&) = delete;
    PtySign& operator=(const PtySign&) = delete;

    const std::string& devicePath() const { return m_path; }
    // Set up before start(): the sign's behaviour and its log of exchanges.
    VirtualSign& sign() { return m_sign; }

    void start();
    // Reads until stop() or until the line goes away.
    void run();
    void stop();

    // Test control: the sign hangs up after receiving this many bytes.
    void hangUpAfter(std::size_t bytes) { m_hangUpAfter = bytes; }
    // Test control: the sign sends these bytes now, whatever it was asked (a late answer).
    void say(const std::vector<std::uint8_t>& bytes);

    // The last bytes received, at most kKeptBytes, and how many arrived in all.
    std::vector<std::uint8_t> received() const;
    std::size_t receivedCount() const;

private:
    void hangUp();

    int m_master = -1;
    int m_slave = -1;  // held open so that the line stays up between the program's opens
    std::string m_path;
    VirtualSign m_sign;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_hangUpAfter{static_cast<std::size_t>(-1)};
    mutable std::mutex m_mutex;
    std::vector<std::uint8_t> m_received;  // up to twice kKeptBytes between trims
    std::size_t m_receivedCount = 0;
};

}  // namespace velora
