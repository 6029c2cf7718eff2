#pragma once

#include "serial_port.h"

namespace velora {

// The port the user chose: the built-in virtual sign by its name kVirtualSignPort, a network
// address (socket://, rfc2217://) the network port when there is one, any other name the
// system's port. The transmission window drives this one port; the choice is made when
// the name is set, and the port left behind is closed.
class PortSelector : public SerialPort {
public:
    PortSelector(SerialPort& system, SerialPort& virtualSign, SerialPort* network = nullptr)
        : m_system(system), m_virtual(virtualSign), m_network(network), m_current(&system) {}

    void setCommPort(const std::string& name) override;
    const std::string& commPort() const override { return m_current->commPort(); }
    void setSettings(const std::string& settings) override { m_current->setSettings(settings); }
    void setInputLen(int length) override { m_current->setInputLen(length); }
    void setPortOpen(bool open) override { m_current->setPortOpen(open); }
    bool portOpen() const override { return m_current->portOpen(); }
    void output(std::uint8_t byte) override { m_current->output(byte); }
    int inBufferCount() const override { return m_current->inBufferCount(); }
    std::string input() override { return m_current->input(); }
    void setRThreshold(int threshold) override { m_current->setRThreshold(threshold); }
    std::string errorText() const override { return m_current->errorText(); }

private:
    SerialPort& m_system;
    SerialPort& m_virtual;
    SerialPort* m_network;
    SerialPort* m_current;
};

}  // namespace velora
