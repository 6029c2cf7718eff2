#pragma once

// The serial port of the system the program runs on: the Win32 calls on Windows (there is no Qt
// Serial Port there), QSerialPort elsewhere. Both have the same face.
#ifdef _WIN32
#include "win_serial_port.h"
#else
#include "qt_serial_port.h"
#endif

namespace velora {

#ifdef _WIN32
using SystemSerialPort = WinSerialPort;
#else
using SystemSerialPort = QtSerialPort;
#endif

}  // namespace velora
