#include "win_serial_port.h"

#include <algorithm>
#include <cctype>

#include "core/run_time_error.h"
#include "link/port_reasons.h"

namespace velora {

WinSerialPort::WinSerialPort(QObject* parent)
    : QObject(parent),
      m_line([this](const std::string& bytes) { deliver(bytes); }, [this] { announceLoss(); }) {}

WinSerialPort::~WinSerialPort() {
    close();
}

void WinSerialPort::deliver(const std::string& bytes) {
    const unsigned opening = m_opening;
    QMetaObject::invokeMethod(
        this,
        [this, bytes, opening] {
            if (opening != m_opening || !m_line.isOpen()) return;
            m_waiting += bytes;
            Q_EMIT received();
        },
        Qt::QueuedConnection);
}

void WinSerialPort::announceLoss() {
    const unsigned opening = m_opening;
    // Queued behind the bytes that came before it, which the owner sees first.
    QMetaObject::invokeMethod(
        this,
        [this, opening] {
            if (opening != m_opening || !m_line.isOpen()) return;
            close();
            m_error = portReason::kLineLost;
            Q_EMIT lineLost();
        },
        Qt::QueuedConnection);
}

void WinSerialPort::setSettings(const std::string& settings) {
    const std::optional<PortSettings> parsed = parsePortSettings(settings);
    if (!parsed) throw RunTimeError(kInvalidPropertyValue);
    m_settings = *parsed;
}

void WinSerialPort::setPortOpen(bool open) {
    if (!open) {
        if (!m_line.isOpen()) return;
        m_line.close();
        ++m_opening;
        m_waiting.clear();
        return;
    }
    if (m_line.isOpen()) return;
    m_error.clear();
    m_waiting.clear();
    std::string why;
    if (!m_line.open(m_name, m_settings, why)) {
        m_error = why;
        throw RunTimeError(kPortOpenFailed);
    }
}

void WinSerialPort::output(std::uint8_t byte) {
    if (!m_line.isOpen()) throw RunTimeError(kPortNotOpen);
    std::string why;
    if (!m_line.write(byte, why)) {
        m_error = why;
        throw RunTimeError(kPortWriteFailed);
    }
}

int WinSerialPort::inBufferCount() const {
    return m_line.isOpen() ? static_cast<int>(m_waiting.size()) : 0;
}

std::string WinSerialPort::input() {
    const int want = m_inputLen > 0 ? m_inputLen : inBufferCount();
    if (!m_line.isOpen() || want <= 0) return {};
    const std::size_t taken = std::min(m_waiting.size(), static_cast<std::size_t>(want));
    std::string bytes = m_waiting.substr(0, taken);
    m_waiting.erase(0, taken);
    return bytes;
}

std::vector<PortInfo> WinSerialPort::portInfos() {
    return listComPorts();
}

std::vector<std::string> WinSerialPort::presentPorts() {
    std::vector<std::string> names;
    for (const PortInfo& info : listComPorts()) names.push_back(info.name);
    return names;
}

std::string WinSerialPort::defaultPort() {
    const std::vector<std::string> present = presentPorts();
    const bool com1 = std::any_of(present.begin(), present.end(), [](const std::string& name) {
        return name.size() == 4 && std::equal(name.begin(), name.end(), "COM1", [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == b;
               });
    });
    return com1 || present.empty() ? std::string("COM1") : present.front();
}

}  // namespace velora
