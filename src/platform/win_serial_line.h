#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "link/port_finder.h"
#include "link/serial_port.h"

namespace velora {

// A COM port through the Win32 calls, without Qt; the Windows serial port adapter stands on it.
// Windows only.
//
// Reads and writes are overlapped, each waited for at once. A handle opened for plain blocking
// calls lets one call at a time through: a write would wait behind the reader's pending read,
// and the 2 ms between two bytes to the sign would grow to the read's time-out. Reads finish at
// the first byte or after a short time-out set with SetCommTimeouts; the port's line events
// (WaitCommEvent) are not used, since a port that has no modem lines (a USB adapter without
// them, a pseudo-terminal under Wine) aborts that wait at once.
class WinSerialLine {
public:
    // Called on the reader's own thread, never after close() has returned.
    using Received = std::function<void(const std::string& bytes)>;
    // Called once, on the reader's thread, when a read fails on the open port (the adapter was
    // pulled out, the far end hung up). The reader has stopped; the owner closes the line, from
    // another thread: close() waits for the reader, so it must not be called from these calls.
    using Lost = std::function<void()>;

    WinSerialLine(Received received, Lost lost);
    ~WinSerialLine();
    WinSerialLine(const WinSerialLine&) = delete;
    WinSerialLine& operator=(const WinSerialLine&) = delete;

    // Opens `name` ("COM3", "\\.\COM12") with `settings` and no flow control, drops whatever the
    // port still held and starts the reader. False, with the reason in the user's words (UTF-8)
    // in `why`, when it cannot.
    bool open(const std::string& name, const PortSettings& settings, std::string& why);
    // Stops the reader (without waiting for its time-out) and closes the port. Does nothing on a
    // closed line.
    void close();
    bool isOpen() const { return m_port != nullptr; }
    // Hands one byte to the port and returns once the system has taken it from the program.
    // False, with the system's reason in `why`, when the port refuses it or does not take it
    // within two seconds.
    bool write(std::uint8_t byte, std::string& why);

private:
    void readUntilStopped();

    Received m_received;
    Lost m_lost;
    // The port and the event that stops the reader: HANDLEs, kept untyped so that this header
    // needs no <windows.h>.
    void* m_port = nullptr;
    void* m_stop = nullptr;
    std::thread m_reader;
};

// The path the system opens a port by: "COM7" and "\\.\COM7" both give "\\.\COM7", as does a
// port with a name of its own ("CNCA0"). Empty for a name that would reach something other than
// a device (a path with folders, a drive): such a name is not a port.
std::string comDevicePath(const std::string& name);

// Why a port did not open, from the error code of the failed CreateFile, in the user's words.
// A port held by another program is refused as "access denied" on Windows.
std::string comOpenFailureText(unsigned long error);

// The system's own words for an error code (UTF-8, without the final full stop).
std::string windowsErrorText(unsigned long error);

// Port names in the order a person counts them: COM2 before COM10, letters without case.
bool comPortLess(const std::string& a, const std::string& b);

// Each name without the port's own in brackets at its end: "USB Serial Port (COM3)" is said as
// "USB Serial Port" beside COM3.
std::string withoutPortName(const std::string& friendlyName, const std::string& port);

// The COM ports present now, in comPortLess order: those the device manager knows, with their
// friendly names and makers, and those only the system's list of serial devices names (where
// Wine puts the ports it maps to Linux devices).
std::vector<PortInfo> listComPorts();

}  // namespace velora
