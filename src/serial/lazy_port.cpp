#include "lazy_port.h"

namespace velora {

const std::string& LazyPort::commPort() const {
    static const std::string kNone;
    return m_port ? m_port->commPort() : kNone;
}

void LazyPort::setPortOpen(bool open) {
    // A port never made was never opened.
    if (!open && !m_port) return;
    port().setPortOpen(open);
}

SerialPort& LazyPort::port() {
    if (!m_port) m_port = m_make();
    return *m_port;
}

}  // namespace velora
