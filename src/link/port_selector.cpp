#include "port_selector.h"

namespace velora {

void PortSelector::setCommPort(const std::string& name) {
    SerialPort* next = name == kVirtualSignPort ? &m_virtual : &m_system;
    if (next != m_current) {
        m_current->setPortOpen(false);
        m_current = next;
    }
    m_current->setCommPort(name);
}

}  // namespace velora
