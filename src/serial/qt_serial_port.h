#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QObject>
#include <QSerialPort>

#include "link/port_finder.h"
#include "link/serial_port.h"

namespace velora {

// The serial port over QSerialPort. Each byte written has left the program when output()
// returns, so that the pacing gap that follows is a gap on the line. A line that goes away under
// the open port (the far end hangs up, a USB adapter is pulled out, a read fails) closes the
// port at once and is announced with lineLost().
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT

public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    void setCommPort(const std::string& name) override { m_name = name; }
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& settings) override;
    void setInputLen(int length) override { m_inputLen = length; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return m_port.isOpen(); }
    void output(std::uint8_t byte) override;
    int inBufferCount() const override;
    std::string input() override;
    void setRThreshold(int) override {}
    std::string errorText() const override { return m_error; }

    // Closes the port, as the program does when it ends.
    void close() { setPortOpen(false); }

    // The serial ports present on this machine, by the names setCommPort takes.
    static std::vector<std::string> presentPorts();
    // The same ports with what the system says of them and their stable names.
    static std::vector<PortInfo> portInfos();
    // The port to offer when the user has chosen none yet.
    static std::string defaultPort();

Q_SIGNALS:
    // Bytes arrived; the owner raises the receive events when no other handler runs.
    void received();
    // The line went away and the port closed; the owner raises the line-lost event.
    void lineLost();

private:
    void onError(QSerialPort::SerialPortError error);
    void loseLine();
    [[noreturn]] void fail(int code);
    // Why the port did not open, in the user's words.
    std::string openFailureText() const;

    QSerialPort m_port;
    std::string m_name;
    std::string m_error;
    int m_inputLen = 0;
    PortSettings m_settings;
};

}  // namespace velora
