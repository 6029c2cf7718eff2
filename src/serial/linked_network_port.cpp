#include "network_port.h"
#include "network_port_maker.h"

namespace velora {

std::unique_ptr<SerialPort> linkedNetworkPort(NetworkPortEvents events) {
    auto port = std::make_unique<NetworkPort>();
    if (events.received)
        QObject::connect(port.get(), &NetworkPort::received, port.get(),
                         std::move(events.received));
    if (events.lineLost)
        QObject::connect(port.get(), &NetworkPort::lineLost, port.get(),
                         std::move(events.lineLost));
    return port;
}

}  // namespace velora
