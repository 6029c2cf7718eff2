#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace velora {

// Run-time errors of the serial port, numbered as the link has always reported them.
inline constexpr int kPortOpenFailed = 8002;
inline constexpr int kPortNotOpen = 8018;
inline constexpr int kPortWriteFailed = 8020;

// The port choice that runs the sign's side of the protocol inside the program.
inline constexpr const char* kVirtualSignPort = "Insegna virtuale";

// The line settings "baud,parity,data bits,stop bits", such as "9600,N,8,1".
struct PortSettings {
    int baud = 9600;
    char parity = 'N';  // N, E or O
    int dataBits = 8;   // 7 or 8
    int stopBits = 1;   // 1 or 2
};
// The settings a port accepts; anything else is refused with 380 by every port alike.
std::optional<PortSettings> parsePortSettings(const std::string& text);

// The serial port as the transmission window drives it. The members follow the order in which
// the link uses them; failures are run-time errors.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // The port to use: a system name ("COM1", "ttyUSB0"), a device path, or kVirtualSignPort.
    // Names are the system's own (file paths in UTF-8 where the system has them), not
    // Windows-1252 text.
    virtual void setCommPort(const std::string& name) = 0;
    virtual const std::string& commPort() const = 0;
    // "baud,parity,data bits,stop bits", such as "9600,N,8,1"; anything else fails with 380.
    virtual void setSettings(const std::string& settings) = 0;
    // Characters a read returns at most; 0 means all that are waiting.
    virtual void setInputLen(int length) = 0;
    // Opening fails with kPortOpenFailed (the reason is in errorText()); closing a closed port
    // does nothing. Replies still waiting when the port closes are gone when it opens again.
    virtual void setPortOpen(bool open) = 0;
    virtual bool portOpen() const = 0;
    // Hands one byte to the line; it has left the program when this returns. Fails with
    // kPortNotOpen on a closed port and kPortWriteFailed when the line refuses it.
    virtual void output(std::uint8_t byte) = 0;
    // Received bytes waiting to be read.
    virtual int inBufferCount() const = 0;
    // Takes up to InputLen waiting bytes.
    virtual std::string input() = 0;
    virtual void setRThreshold(int threshold) = 0;
    // Why the last open or write failed, or why the line was lost, in the system's words (UTF-8).
    virtual std::string errorText() const = 0;

    // The receive event. The owner of the port raises it with raiseReceiveEvents() when no
    // other handler runs.
    std::function<void()> onComm;

    // Raises the receive event once per waiting byte, as a receive threshold of 1 does. Stops when
    // the handler leaves the bytes unread, so a handler that reads nothing cannot loop forever.
    void raiseReceiveEvents();

    // The line went away under an open port (the far end hung up, the adapter was pulled out,
    // a read failed): the port has closed itself. Raised by the owner, like onComm, when no
    // other handler runs.
    std::function<void()> onLineLost;
    void raiseLineLost() {
        if (onLineLost) onLineLost();
    }
};

}  // namespace velora
