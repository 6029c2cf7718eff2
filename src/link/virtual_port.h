#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "core/clock.h"
#include "serial_port.h"
#include "virtual_sign.h"

namespace velora {

// The built-in virtual sign as a serial port. A byte written reaches the sign at once; its
// answers wait in the port's input buffer, and onReceived announces them. The owner must turn
// that into a later event, as a real line would, never a call inside the handler that is sending.
class VirtualPort : public SerialPort {
public:
    explicit VirtualPort(const Clock& clock) : m_clock(clock) {}

    void setCommPort(const std::string& name) override { m_name = name; }
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& settings) override;
    void setInputLen(int length) override { m_inputLen = length; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return m_open; }
    void output(std::uint8_t byte) override;
    int inBufferCount() const override { return static_cast<int>(m_input.size()); }
    std::string input() override;
    void setRThreshold(int) override {}
    std::string errorText() const override { return {}; }

    VirtualSign& sign() { return m_sign; }
    std::function<void()> onReceived;

private:
    const Clock& m_clock;
    std::string m_name = kVirtualSignPort;
    int m_inputLen = 0;
    bool m_open = false;
    VirtualSign m_sign;
    std::deque<std::uint8_t> m_input;
};

}  // namespace velora
