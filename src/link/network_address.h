#pragma once

#include <optional>
#include <string>

namespace velora {

// A port reached over the network: "socket://HOST:PORT" (the bytes as they are, the line set at
// the far end) or "rfc2217://HOST:PORT" (telnet, the line set from here). HOST is a name, an IPv4
// address or an IPv6 address in brackets.
struct NetworkAddress {
    bool telnet = false;
    std::string host;  // without the brackets
    int port = 0;
};

// True when the name asks for a network port at all, even a malformed one.
bool isNetworkPortName(const std::string& name);
std::optional<NetworkAddress> parseNetworkAddress(const std::string& name);

}  // namespace velora
