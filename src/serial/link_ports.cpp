#include "link_ports.h"

namespace velora {

LinkPorts::LinkPorts(const Clock& clock, NetworkPortMaker makeNetwork, QObject* parent)
    : QObject(parent), virtualSign(clock), network([this, makeNetwork] {
          return makeNetwork({[this] { Q_EMIT received(); }, [this] { Q_EMIT lineLost(); }});
      }) {
    connect(&system, &SystemSerialPort::received, this, &LinkPorts::received);
    connect(&system, &SystemSerialPort::lineLost, this, &LinkPorts::lineLost);
    // The virtual sign answers inside the write; its answer is announced later, as a line would.
    virtualSign.onReceived = [this] {
        QMetaObject::invokeMethod(this, &LinkPorts::received, Qt::QueuedConnection);
    };
}

}  // namespace velora
