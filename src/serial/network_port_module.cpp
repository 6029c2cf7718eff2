// The module that holds the network port, and with it Qt Network: the desktop program loads it
// the first time a network address is used (see networkPortFromModule).
#include <QtGlobal>

#include "network_port_maker.h"

extern "C" Q_DECL_EXPORT velora::SerialPort* veloraNetworkPort(velora::NetworkPortEvents* events) {
    return velora::linkedNetworkPort(std::move(*events)).release();
}
