#pragma once

#include <QObject>

#include "core/clock.h"
#include "lazy_port.h"
#include "link/port_selector.h"
#include "link/virtual_port.h"
#include "network_port_maker.h"
#include "system_serial_port.h"

namespace velora {

// The ports a Qt shell offers the transmission window: the system's serial ports, a serial
// line on the network and the virtual sign inside the program, chosen by name through `chosen`,
// which the window drives. Both announce their arrivals and a lost line through the signals below,
// always from the event loop, so that the owner can hold them back while an exchange is being sent.
// The network port is made by `makeNetwork` the first time a network address is chosen.
class LinkPorts : public QObject {
    Q_OBJECT

public:
    explicit LinkPorts(const Clock& clock, QObject* parent = nullptr)
        : LinkPorts(clock, &linkedNetworkPort, parent) {}
    LinkPorts(const Clock& clock, NetworkPortMaker makeNetwork, QObject* parent = nullptr);

    SystemSerialPort system;
    VirtualPort virtualSign;
    LazyPort network;
    PortSelector chosen{system, virtualSign, &network};

    // Closes whichever port is open, as the program does when it ends.
    void close() {
        system.close();
        network.setPortOpen(false);
        virtualSign.setPortOpen(false);
    }

Q_SIGNALS:
    void received();
    void lineLost();
};

}  // namespace velora
