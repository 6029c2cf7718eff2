#include "serial_port.h"

namespace velora {

void SerialPort::raiseReceiveEvents() {
    while (onComm && inBufferCount() > 0) {
        const int waiting = inBufferCount();
        onComm();
        if (inBufferCount() >= waiting) break;
    }
}

}  // namespace velora
