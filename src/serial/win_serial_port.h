#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QObject>

#include "link/port_finder.h"
#include "link/serial_port.h"
#include "platform/win_serial_line.h"

namespace velora {

// The serial port on Windows, over the Win32 calls of WinSerialLine, with the same face as
// QtSerialPort on Linux. The line's reader runs on a thread of its own; what it receives is
// handed to the user-interface thread and waits there in a buffer for input(). Each byte written
// has left the program when output() returns, so that the pacing gap that follows is a gap on
// the line. A line that goes away under the open port (the adapter pulled out, a read failing)
// closes the port and is announced with lineLost().
class WinSerialPort : public QObject, public SerialPort {
    Q_OBJECT

public:
    explicit WinSerialPort(QObject* parent = nullptr);
    ~WinSerialPort() override;

    void setCommPort(const std::string& name) override { m_name = name; }
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& settings) override;
    void setInputLen(int length) override { m_inputLen = length; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return m_line.isOpen(); }
    void output(std::uint8_t byte) override;
    int inBufferCount() const override;
    std::string input() override;
    void setRThreshold(int) override {}
    std::string errorText() const override { return m_error; }

    // Closes the port, as the program does when it ends.
    void close() { setPortOpen(false); }

    // The serial ports present on this machine, by the names setCommPort takes.
    static std::vector<std::string> presentPorts();
    // The same ports with what the system says of them.
    static std::vector<PortInfo> portInfos();
    // The port to offer when the user has chosen none yet: COM1, unless only others are there.
    static std::string defaultPort();

Q_SIGNALS:
    // Bytes arrived; the owner raises the receive events when no other handler runs.
    void received();
    // The line went away and the port closed; the owner raises the line-lost event.
    void lineLost();

private:
    // On the reader's thread: hands the bytes, or the news of the lost line, to this object's.
    void deliver(const std::string& bytes);
    void announceLoss();

    WinSerialLine m_line;
    // Counts the openings, so that what a closed line's reader sent on its way is dropped rather
    // than taken for a reply on the next one. Changed only while no reader runs.
    unsigned m_opening = 0;
    std::string m_waiting;
    std::string m_name;
    std::string m_error;
    int m_inputLen = 0;
    PortSettings m_settings;
};

}  // namespace velora
