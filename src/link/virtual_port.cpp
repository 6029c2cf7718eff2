#include "virtual_port.h"

#include "core/run_time_error.h"

namespace velora {

void VirtualPort::setSettings(const std::string& settings) {
    if (!parsePortSettings(settings)) throw RunTimeError(kInvalidPropertyValue);
}

void VirtualPort::setPortOpen(bool open) {
    // What the sign said before the port closed is not an answer to anything sent after.
    if (open != m_open) m_input.clear();
    m_open = open;
}

void VirtualPort::output(std::uint8_t byte) {
    if (!m_open) throw RunTimeError(kPortNotOpen);
    const std::vector<std::uint8_t> replies = m_sign.receive(byte, m_clock.monotonicSeconds());
    if (replies.empty()) return;
    m_input.insert(m_input.end(), replies.begin(), replies.end());
    if (onReceived) onReceived();
}

std::string VirtualPort::input() {
    std::string read;
    const std::size_t want = m_inputLen > 0 ? static_cast<std::size_t>(m_inputLen) : m_input.size();
    while (!m_input.empty() && read.size() < want) {
        read.push_back(static_cast<char>(m_input.front()));
        m_input.pop_front();
    }
    return read;
}

}  // namespace velora
