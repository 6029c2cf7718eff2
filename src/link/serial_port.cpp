#include "serial_port.h"

#include <cctype>
#include <cstdio>

namespace velora {

std::optional<PortSettings> parsePortSettings(const std::string& text) {
    PortSettings settings;
    char comma[3] = {};
    char extra = 0;
    // Exactly four fields: a positive baud rate, N/E/O, 7 or 8, 1 or 2.
    const int fields =
        std::sscanf(text.c_str(), "%d%c%c%c%d%c%d%c", &settings.baud, &comma[0], &settings.parity,
                    &comma[1], &settings.dataBits, &comma[2], &settings.stopBits, &extra);
    if (fields != 7 || comma[0] != ',' || comma[1] != ',' || comma[2] != ',') return std::nullopt;
    settings.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(settings.parity)));
    if (settings.baud <= 0 || std::string("NEO").find(settings.parity) == std::string::npos ||
        (settings.dataBits != 7 && settings.dataBits != 8) ||
        (settings.stopBits != 1 && settings.stopBits != 2))
        return std::nullopt;
    return settings;
}

void SerialPort::raiseReceiveEvents() {
    while (onComm && inBufferCount() > 0) {
        const int waiting = inBufferCount();
        onComm();
        if (inBufferCount() >= waiting) break;
    }
}

}  // namespace velora
