#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_port.h"

namespace velora {

// What a network port tells its owner: bytes arrived, the line was lost (see NetworkPort).
struct NetworkPortEvents {
    std::function<void()> received;
    std::function<void()> lineLost;
};

// Makes the network port. Qt Network and the libraries under it (name lookup, proxies,
// Kerberos) come with that port alone: the desktop program loads them the first time a
// network address is used instead of at every start (see networkPortFromModule).
using NetworkPortMaker = std::function<std::unique_ptr<SerialPort>(NetworkPortEvents events)>;

// The network port linked into the program (velora-cli, the tests).
std::unique_ptr<SerialPort> linkedNetworkPort(NetworkPortEvents events);

// The network port from the first module file of `candidates` that loads, loaded when the first
// port is made. When none loads, the port made fails to open, and its error text says why.
NetworkPortMaker networkPortModule(std::vector<std::string> candidates);

// The network port from the module beside the program where the build makes one (see
// src/serial/CMakeLists.txt), otherwise the linked one.
NetworkPortMaker networkPortFromModule();

}  // namespace velora
