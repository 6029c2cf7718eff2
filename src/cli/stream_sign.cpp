#include "stream_sign.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "protocol/telnet_codec.h"

namespace velora {
namespace {

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Reads `fd` until the far end goes away, answering as the sign does. Blocks in read: no CPU is
// spent while nothing arrives.
void serve(int fd, VirtualSign& sign, TelnetCodec* codec) {
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return;
        const double at = now();
        std::string data(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
        if (codec) {
            data = codec->decode(buffer, static_cast<std::size_t>(count));
            if (!writeAll(fd, codec->takeReplies())) return;
        }
        for (char c : data) {
            const std::vector<std::uint8_t> replies =
                sign.receive(static_cast<std::uint8_t>(c), at);
            if (replies.empty()) continue;
            if (!writeAll(fd, codec ? TelnetCodec::encode(replies) : replies)) return;
        }
    }
}

}  // namespace

int serveSignOnDevice(const std::string& device, VirtualSign& sign) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        std::cerr << "Impossibile aprire " << device << ": " << std::strerror(errno) << std::endl;
        return 2;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B9600);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    std::cout << device << std::endl;
    serve(fd, sign, nullptr);
    ::close(fd);
    return 0;
}

int serveSignOnTcp(const std::string& where, bool telnet, VirtualSign& sign) {
    const std::size_t colon = where.rfind(':');
    if (colon == std::string::npos || colon + 1 >= where.size()) {
        std::cerr << "--listen vuole HOST:PORTA." << std::endl;
        return 64;
    }
    try {
        TcpSign server(where, telnet, sign);
        std::cout << (telnet ? "rfc2217://" : "socket://") << where << std::endl;
        server.run();
    } catch (const std::runtime_error& error) {
        std::cerr << error.what() << std::endl;
    }
    return 2;
}

TcpSign::TcpSign(const std::string& where, bool telnet, VirtualSign& sign)
    : m_telnet(telnet), m_sign(sign) {
    const std::size_t colon = where.rfind(':');
    if (colon == std::string::npos || colon + 1 >= where.size())
        throw std::runtime_error("--listen vuole HOST:PORTA.");
    std::string host = where.substr(0, colon);
    const std::string port = where.substr(colon + 1);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0)
        throw std::runtime_error("Indirizzo non valido " + where + ": " + ::gai_strerror(error));
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, ::freeaddrinfo);
    int listener = -1;
    for (addrinfo* a = found; a && listener < 0; a = a->ai_next) {
        listener = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (listener < 0) continue;
        const int yes = 1;
        ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(listener, a->ai_addr, a->ai_addrlen) != 0 || ::listen(listener, 1) != 0) {
            ::close(listener);
            listener = -1;
        }
    }
    if (listener < 0)
        throw std::runtime_error("Impossibile ascoltare su " + where + ": " + std::strerror(errno));
    m_listener = listener;
    m_host = host.find(':') == std::string::npos ? host : "[" + host + "]";
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length);
    m_port =
        ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port
                                          : reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
}

TcpSign::~TcpSign() {
    stop();
    ::close(m_listener);
}

std::string TcpSign::address() const {
    return (m_telnet ? "rfc2217://" : "socket://") + m_host + ":" + std::to_string(m_port);
}

void TcpSign::start() {
    m_stop = false;
    m_thread = std::thread([this] { run(); });
}

void TcpSign::stop() {
    m_stop = true;
    // Wakes the thread from accept or read.
    ::shutdown(m_listener, SHUT_RDWR);
    {
        const std::lock_guard lock(m_mutex);
        if (m_client >= 0) ::shutdown(m_client, SHUT_RDWR);
    }
    if (m_thread.joinable()) m_thread.join();
}

void TcpSign::run() {
    while (!m_stop) {
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_client = client;
            // A stop that came between accept and here finds the client already.
            if (m_stop) ::shutdown(client, SHUT_RDWR);
        }
        const int yes = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        TelnetCodec codec(TelnetCodec::Role::Server);
        serve(client, m_sign, m_telnet ? &codec : nullptr);
        const std::lock_guard lock(m_mutex);
        m_client = -1;
        ::close(client);
    }
}

}  // namespace velora
