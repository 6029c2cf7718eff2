#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <QObject>
#include <QSerialPort>

#include "link/serial_port.h"
#include "link/virtual_sign.h"

namespace velora {

// The serial port over QSerialPort, or the virtual sign inside the program when the port chosen
// is kVirtualSignPort. Each byte written has left the program when output() returns, so that the
// pacing gap that follows is a gap on the line.
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT

public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    void setCommPort(const std::string& name) override;
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& settings) override;
    void setInputLen(int length) override { m_inputLen = length; }
    void setPortOpen(bool open) override;
    bool portOpen() const override;
    void output(std::uint8_t byte) override;
    int inBufferCount() const override;
    std::string input() override;
    void setRThreshold(int threshold) override { m_threshold = threshold; }
    std::string errorText() const override { return m_error; }

    // Closes the port, as the program does when it ends.
    void close() { setPortOpen(false); }

    // The sign that answers when the port chosen is kVirtualSignPort.
    VirtualSign& virtualSign() { return m_virtualSign; }

    // The serial ports present on this machine, by the names setCommPort takes.
    static std::vector<std::string> presentPorts();
    // The port to offer when the user has chosen none yet.
    static std::string defaultPort();

Q_SIGNALS:
    // Bytes arrived; the owner raises the receive events when no other handler runs.
    void received();

private:
    bool isVirtual() const { return m_name == kVirtualSignPort; }
    [[noreturn]] void fail(int code);

    QSerialPort m_port;
    std::string m_name;
    std::string m_error;
    int m_inputLen = 0;
    int m_threshold = 0;
    qint32 m_baudRate = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;

    bool m_virtualOpen = false;
    VirtualSign m_virtualSign;
    std::deque<std::uint8_t> m_virtualInput;
};

}  // namespace velora
