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
    std::string host;
    std::string port;
    const std::size_t colon = where.rfind(':');
    if (colon == std::string::npos || colon + 1 >= where.size()) {
        std::cerr << "--listen vuole HOST:PORTA." << std::endl;
        return 64;
    }
    host = where.substr(0, colon);
    port = where.substr(colon + 1);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0) {
        std::cerr << "Indirizzo non valido " << where << ": " << ::gai_strerror(error) << std::endl;
        return 2;
    }
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
    if (listener < 0) {
        std::cerr << "Impossibile ascoltare su " << where << ": " << std::strerror(errno)
                  << std::endl;
        return 2;
    }
    std::cout << (telnet ? "rfc2217://" : "socket://") << where << std::endl;
    // One client at a time; the next is taken when the last one hangs up.
    for (;;) {
        const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break;
        }
        const int yes = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        TelnetCodec codec(TelnetCodec::Role::Server);
        serve(client, sign, telnet ? &codec : nullptr);
        ::close(client);
    }
    ::close(listener);
    return 2;
}

}  // namespace velora
