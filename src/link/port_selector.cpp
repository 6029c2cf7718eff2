#include "port_selector.h"

#include "network_address.h"

namespace velora {

void PortSelector::setCommPort(const std::string& name) {
    SerialPort* next = name == kVirtualSignPort               ? &m_virtual
                       : m_network && isNetworkPortName(name) ? m_network
                                                              : &m_system;
    if (next != m_current) {
        m_current->setPortOpen(false);
        m_current = next;
    }
    m_current->setCommPort(name);
}

}  // namespace velora
