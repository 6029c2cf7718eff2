#include "win_serial_line.h"

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <string_view>

#include "link/port_reasons.h"
#include "windows_text.h"

namespace velora {
namespace {

// How long one read waits for a first byte before the reader looks again. close() does not wait
// for it: it wakes the reader at once.
constexpr DWORD kReadWaitMs = 100;
// A byte that the port has not taken after this long will not be taken: the far end is gone.
constexpr DWORD kWriteTimeoutMs = 2000;
// The driver's buffers: far more than a reply or a page of the upload.
constexpr DWORD kBufferBytes = 4096;

// Windows 10's device classes, spelled here so that no header has to define them first.
constexpr GUID kComPortInterface = {
    0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
constexpr GUID kPortsClass = {
    0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

constexpr const char* kDevicePrefix = "\\\\.\\";

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

BYTE parityOf(char letter) {
    switch (letter) {
        case 'E':
            return EVENPARITY;
        case 'O':
            return ODDPARITY;
        default:
            return NOPARITY;
    }
}

// One overlapped call on the port, waited for here. `wake`, when given, ends the wait early: the
// call is then cancelled. The count of bytes moved is valid whatever the outcome.
struct Transfer {
    DWORD moved = 0;
    DWORD error = ERROR_SUCCESS;
};

template <typename Start>
Transfer transfer(HANDLE port, HANDLE done, HANDLE wake, Start start) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = done;
    ResetEvent(done);
    Transfer result;
    if (start(&result.moved, &overlapped)) return result;
    result.error = GetLastError();
    if (result.error != ERROR_IO_PENDING) return result;
    if (wake) {
        const HANDLE waits[] = {done, wake};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
            CancelIoEx(port, &overlapped);
    }
    // Waits for the end of the call, cancelled or not: the buffer and the OVERLAPPED are ours
    // until then.
    result.error = GetOverlappedResult(port, &overlapped, &result.moved, TRUE) ? ERROR_SUCCESS
                                                                               : GetLastError();
    return result;
}

std::string registryText(const std::wstring& text) {
    // Registry strings may carry their final zero, or several.
    return narrow(text.substr(0, text.find(L'\0')));
}

std::string deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t buffer[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(buffer), sizeof buffer - 2,
                                           nullptr))
        return {};
    return registryText(buffer);
}

std::string devicePortName(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    const HKEY key =
        SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - 2;
    DWORD type = 0;
    const bool read = RegQueryValueExW(key, L"PortName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
                      type == REG_SZ;
    RegCloseKey(key);
    return read ? registryText(buffer) : std::string();
}

// The serial ports the device manager knows, through both ways it lists them: by the COM port
// interface (what most drivers register) and by the Ports class (what older ones do, together
// with the printer ports, left out here).
void addDeviceManagerPorts(std::map<std::string, PortInfo>& ports) {
    const struct {
        const GUID* guid;
        DWORD flags;
    } lists[] = {{&kComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE},
                 {&kPortsClass, DIGCF_PRESENT}};
    for (const auto& list : lists) {
        const HDEVINFO devices = SetupDiGetClassDevsW(list.guid, nullptr, nullptr, list.flags);
        if (devices == INVALID_HANDLE_VALUE) continue;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
            const std::string name = devicePortName(devices, device);
            if (name.empty() || upper(name).rfind("LPT", 0) == 0) continue;
            std::string description = deviceProperty(devices, device, SPDRP_FRIENDLYNAME);
            if (description.empty())
                description = deviceProperty(devices, device, SPDRP_DEVICEDESC);
            ports[upper(name)] = {name,
                                  withoutPortName(description, name),
                                  deviceProperty(devices, device, SPDRP_MFG),
                                  {}};
        }
        SetupDiDestroyDeviceInfoList(devices);
    }
}

// The system's list of serial devices, which every serial driver fills and Wine fills with the
// ports it maps to Linux devices; it says nothing of them but the name.
void addSerialDeviceMap(std::map<std::string, PortInfo>& ports) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t device[256];
        DWORD deviceSize = 256;
        wchar_t port[256] = {};
        DWORD portSize = sizeof port - 2;
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, i, device, &deviceSize, nullptr, &type,
                                          reinterpret_cast<BYTE*>(port), &portSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        const std::string name = registryText(port);
        if (!name.empty()) ports.try_emplace(upper(name), PortInfo{name, {}, {}, {}});
    }
    RegCloseKey(key);
}

}  // namespace

WinSerialLine::WinSerialLine(Received received, Lost lost)
    : m_received(std::move(received)), m_lost(std::move(lost)) {}

WinSerialLine::~WinSerialLine() {
    close();
}

bool WinSerialLine::open(const std::string& name, const PortSettings& settings, std::string& why) {
    close();
    if (name.empty()) {
        why = portReason::kNoneChosen;
        return false;
    }
    const std::string path = comDevicePath(name);
    if (path.empty()) {
        why = portReason::kNotThere;
        return false;
    }
    // Exclusive, as every COM port is: a second program is refused with "access denied".
    const HANDLE port = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        why = comOpenFailureText(GetLastError());
        return false;
    }
    const auto refuse = [&](std::string reason) {
        CloseHandle(port);
        why = std::move(reason);
        return false;
    };
    DCB line{};
    line.DCBlength = sizeof line;
    // Only a serial port has line settings to read: anything else opened by a device name is not
    // one.
    if (!GetCommState(port, &line)) return refuse("il nome non \u00E8 quello di una porta seriale");
    line.BaudRate = static_cast<DWORD>(settings.baud);
    line.ByteSize = static_cast<BYTE>(settings.dataBits);
    line.Parity = parityOf(settings.parity);
    line.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    line.fBinary = TRUE;
    line.fParity = settings.parity != 'N';
    // No flow control of either kind: the sign has no handshake lines, and XON and XOFF are
    // ordinary bytes of its messages.
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDsrSensitivity = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    // Every byte arrives as it was sent: NULs kept, nothing replaced, no read stopped by an error.
    line.fErrorChar = FALSE;
    line.fNull = FALSE;
    line.fAbortOnError = FALSE;
    if (!SetCommState(port, &line)) return refuse(windowsErrorText(GetLastError()));
    SetupComm(port, kBufferBytes, kBufferBytes);
    // A read ends at its first byte or after kReadWaitMs; a write after kWriteTimeoutMs at most.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    if (!SetCommTimeouts(port, &timeouts)) return refuse(windowsErrorText(GetLastError()));
    // Replies left from an earlier exchange are not answers to this one.
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop) return refuse(windowsErrorText(GetLastError()));
    m_port = port;
    m_stop = stop;
    m_reader = std::thread([this] { readUntilStopped(); });
    return true;
}

void WinSerialLine::close() {
    if (!m_port) return;
    SetEvent(m_stop);
    if (m_reader.joinable()) m_reader.join();
    CloseHandle(m_port);
    CloseHandle(m_stop);
    m_port = nullptr;
    m_stop = nullptr;
}

bool WinSerialLine::write(std::uint8_t byte, std::string& why) {
    if (!m_port) {
        why = windowsErrorText(ERROR_INVALID_HANDLE);
        return false;
    }
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!done) {
        why = windowsErrorText(GetLastError());
        return false;
    }
    const Transfer written =
        transfer(m_port, done, nullptr, [&](DWORD* moved, OVERLAPPED* overlapped) {
            return WriteFile(m_port, &byte, 1, moved, overlapped);
        });
    CloseHandle(done);
    if (written.error != ERROR_SUCCESS) {
        why = windowsErrorText(written.error);
        return false;
    }
    // A write that timed out ends without error, having moved nothing.
    if (written.moved != 1) {
        why = windowsErrorText(ERROR_TIMEOUT);
        return false;
    }
    return true;
}

void WinSerialLine::readUntilStopped() {
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    char buffer[kBufferBytes];
    bool lost = done == nullptr;
    while (!lost && WaitForSingleObject(m_stop, 0) == WAIT_TIMEOUT) {
        // Takes all that is waiting, or waits for one byte: a read of more would wait for all of
        // them, or for its time-out, before handing any over.
        COMSTAT status{};
        DWORD errors = 0;
        if (!ClearCommError(m_port, &errors, &status)) {
            lost = true;
            break;
        }
        const DWORD wanted = std::clamp<DWORD>(status.cbInQue, 1, sizeof buffer);
        const Transfer read =
            transfer(m_port, done, m_stop, [&](DWORD* moved, OVERLAPPED* overlapped) {
                return ReadFile(m_port, buffer, wanted, moved, overlapped);
            });
        if (read.moved > 0) m_received(std::string(buffer, read.moved));
        // A read that timed out ends without error on Windows and with ERROR_TIMEOUT under Wine.
        if (read.error == ERROR_SUCCESS || read.error == ERROR_TIMEOUT) continue;
        lost = WaitForSingleObject(m_stop, 0) == WAIT_TIMEOUT;
    }
    if (done) CloseHandle(done);
    if (lost) m_lost();
}

std::string comDevicePath(const std::string& name) {
    const bool prefixed = name.rfind(kDevicePrefix, 0) == 0;
    std::string bare = prefixed ? name.substr(4) : name;
    // "COM1:" is how the port has long been written.
    if (!prefixed && !bare.empty() && bare.back() == ':') bare.pop_back();
    const bool device = !bare.empty() && std::none_of(bare.begin(), bare.end(), [](char c) {
        return c == '\\' || c == '/' || c == ':' || static_cast<unsigned char>(c) < 0x20;
    });
    return device ? kDevicePrefix + bare : std::string();
}

std::string comOpenFailureText(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_DEVICE_NOT_CONNECTED:
            return portReason::kNotThere;
        case ERROR_FILENAME_EXCED_RANGE:
            return portReason::kNameTooLong;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return portReason::kInUse;
        case ERROR_PRIVILEGE_NOT_HELD:
            return "permesso negato: chiedere a chi amministra il computer di concedere la porta a "
                   "questo utente";
        default:
            return windowsErrorText(error);
    }
}

std::string windowsErrorText(unsigned long error) {
    wchar_t buffer[512] = {};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::string text = narrow(std::wstring(buffer, length));
    while (!text.empty() &&
           (std::isspace(static_cast<unsigned char>(text.back())) || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "errore di sistema " + std::to_string(error) : text;
}

bool comPortLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            // Numbers by their value: without leading zeros, the longer one is the larger.
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && digit(a[endA])) ++endA;
            while (endB < b.size() && digit(b[endB])) ++endB;
            std::size_t startA = i;
            std::size_t startB = j;
            while (startA + 1 < endA && a[startA] == '0') ++startA;
            while (startB + 1 < endB && b[startB] == '0') ++startB;
            const std::string_view numberA(a.data() + startA, endA - startA);
            const std::string_view numberB(b.data() + startB, endB - startB);
            if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
            if (numberA != numberB) return numberA < numberB;
            i = endA;
            j = endB;
            continue;
        }
        const int upperA = std::toupper(static_cast<unsigned char>(a[i]));
        const int upperB = std::toupper(static_cast<unsigned char>(b[j]));
        if (upperA != upperB) return upperA < upperB;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
    // Names that differ only in case or zeros still keep one order.
    return a < b;
}

std::string withoutPortName(const std::string& friendlyName, const std::string& port) {
    const std::string suffix = " (" + upper(port) + ")";
    const std::string said = upper(friendlyName);
    if (said.size() > suffix.size() &&
        said.compare(said.size() - suffix.size(), suffix.size(), suffix) == 0)
        return friendlyName.substr(0, friendlyName.size() - suffix.size());
    return friendlyName;
}

std::vector<PortInfo> listComPorts() {
    // By name without case: the device manager and the device map may spell it differently.
    std::map<std::string, PortInfo> found;
    addDeviceManagerPorts(found);
    addSerialDeviceMap(found);
    std::vector<PortInfo> ports;
    for (auto& [key, info] : found) ports.push_back(std::move(info));
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return comPortLess(a.name, b.name); });
    return ports;
}

}  // namespace velora
