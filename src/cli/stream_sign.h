#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "link/virtual_sign.h"

namespace velora {

// The virtual sign on a line that already exists: a serial device (the far end of a socat pair,
// a cable to another computer), or TCP clients, one at a time, raw or speaking telnet with the
// COM-PORT-OPTION. Each returns an exit code of velora-cli, with the reason on standard error.
int serveSignOnDevice(const std::string& device, VirtualSign& sign);
// `where` is "HOST:PORT", with an IPv6 host in brackets. Prints the address it listens on.
int serveSignOnTcp(const std::string& where, bool telnet, VirtualSign& sign);

// The virtual sign behind a TCP port, one client at a time: the next is taken when the last one
// hangs up. Waits in the system's calls, so that no CPU is spent while nothing arrives.
class TcpSign {
public:
    // Listens on `where` ("HOST:PORT", an IPv6 host in brackets; port 0 takes a free one).
    // Throws std::runtime_error with the reason when it cannot.
    TcpSign(const std::string& where, bool telnet, VirtualSign& sign);
    ~TcpSign();
    TcpSign(const TcpSign&) = delete;
    TcpSign& operator=(const TcpSign&) = delete;

    // The port it listens on, and the name a client opens it by ("socket://127.0.0.1:PORT").
    int port() const { return m_port; }
    std::string address() const;

    // Serves on a thread of its own until stop(), or on the caller's.
    void start();
    void run();
    // Hangs up on the client and stops listening; the far end sees its connection closed.
    void stop();

private:
    std::string m_host;
    int m_port = 0;
    bool m_telnet = false;
    VirtualSign& m_sign;
    int m_listener = -1;
    std::mutex m_mutex;
    int m_client = -1;  // the client served, under m_mutex
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace velora
