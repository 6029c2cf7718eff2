#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/serial_port.h"

namespace velora {

// A port made the first time it is used: until then it is closed and has no name, and closing
// it does nothing. Whatever sets up the port (its name, settings, opening, a write or read)
// makes it first, so that it fails or answers as the port itself does.
class LazyPort : public SerialPort {
public:
    using Maker = std::function<std::unique_ptr<SerialPort>()>;
    explicit LazyPort(Maker make) : m_make(std::move(make)) {}

    void setCommPort(const std::string& name) override { port().setCommPort(name); }
    const std::string& commPort() const override;
    void setSettings(const std::string& settings) override { port().setSettings(settings); }
    void setInputLen(int length) override { port().setInputLen(length); }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return m_port && m_port->portOpen(); }
    void output(std::uint8_t byte) override { port().output(byte); }
    int inBufferCount() const override { return m_port ? m_port->inBufferCount() : 0; }
    std::string input() override { return port().input(); }
    void setRThreshold(int threshold) override { port().setRThreshold(threshold); }
    std::string errorText() const override { return m_port ? m_port->errorText() : std::string(); }

    // Whether the port has been made.
    bool made() const { return m_port != nullptr; }

private:
    SerialPort& port();

    Maker m_make;
    std::unique_ptr<SerialPort> m_port;
};

}  // namespace velora
