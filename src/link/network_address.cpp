#include "network_address.h"

#include <cctype>

namespace velora {
namespace {

constexpr const char* kRaw = "socket://";
constexpr const char* kTelnet = "rfc2217://";

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool isNetworkPortName(const std::string& name) {
    return startsWith(name, kRaw) || startsWith(name, kTelnet);
}

std::optional<NetworkAddress> parseNetworkAddress(const std::string& name) {
    NetworkAddress address;
    std::string rest;
    if (startsWith(name, kRaw)) {
        rest = name.substr(std::string(kRaw).size());
    } else if (startsWith(name, kTelnet)) {
        address.telnet = true;
        rest = name.substr(std::string(kTelnet).size());
    } else {
        return std::nullopt;
    }
    std::string portText;
    if (!rest.empty() && rest[0] == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return std::nullopt;
        address.host = rest.substr(1, close - 1);
        portText = rest.substr(close + 2);
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string::npos) return std::nullopt;
        address.host = rest.substr(0, colon);
        portText = rest.substr(colon + 1);
        // An IPv6 address must come in brackets, or its last group would read as the port.
        if (address.host.find(':') != std::string::npos) return std::nullopt;
    }
    if (address.host.empty() || portText.empty() || portText.size() > 5) return std::nullopt;
    for (char c : portText)
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    for (char c : address.host)
        if (std::isspace(static_cast<unsigned char>(c)) || c == '/') return std::nullopt;
    address.port = std::stoi(portText);
    if (address.port < 1 || address.port > 65535) return std::nullopt;
    return address;
}

}  // namespace velora
