#include "qt_serial_port.h"

#include <map>

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#if defined(Q_OS_UNIX)
#include <unistd.h>

#include <cerrno>
#endif

#include "core/run_time_error.h"
#include "link/port_reasons.h"

namespace velora {
namespace {

// A byte that the line has not taken after this long will not be taken: the far end is gone.
constexpr int kWriteTimeoutMs = 2000;

QSerialPort::Parity parity(char letter) {
    switch (letter) {
        case 'E':
            return QSerialPort::EvenParity;
        case 'O':
            return QSerialPort::OddParity;
        default:
            return QSerialPort::NoParity;
    }
}

}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::received);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() {
    close();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    // A resource error is the device gone (a hang-up, an adapter pulled out); a read error on an
    // open port means the same to the link. Left open, the port would report "readable" for ever.
    if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && m_port.isOpen())
        loseLine();
}

void QtSerialPort::loseLine() {
    m_error = portReason::kLineLost;
    m_port.close();
    m_port.clearError();
    Q_EMIT lineLost();
}

void QtSerialPort::fail(int code) {
    if (m_port.error() != QSerialPort::NoError) m_error = m_port.errorString().toStdString();
    m_port.clearError();
    throw RunTimeError(code);
}

void QtSerialPort::setSettings(const std::string& settings) {
    const std::optional<PortSettings> parsed = parsePortSettings(settings);
    if (!parsed) throw RunTimeError(kInvalidPropertyValue);
    m_settings = *parsed;
}

void QtSerialPort::setPortOpen(bool open) {
    if (!open) {
        if (m_port.isOpen()) m_port.close();
        return;
    }
    if (m_port.isOpen()) return;
    m_error.clear();
    if (m_name.empty()) {
        m_error = portReason::kNoneChosen;
        throw RunTimeError(kPortOpenFailed);
    }
    // Port names are the system's: device paths are file names, in UTF-8.
    m_port.setPortName(QString::fromStdString(m_name));
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = openFailureText();
        m_port.clearError();
        throw RunTimeError(kPortOpenFailed);
    }
    const bool configured =
        m_port.setBaudRate(m_settings.baud) && m_port.setParity(parity(m_settings.parity)) &&
        m_port.setDataBits(m_settings.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8) &&
        m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop
                                                    : QSerialPort::OneStop) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_error = m_port.errorString().toStdString();
        m_port.close();
        throw RunTimeError(kPortOpenFailed);
    }
    // Replies left from an earlier exchange are not answers to this one.
    m_port.clear(QSerialPort::AllDirections);
}

void QtSerialPort::output(std::uint8_t byte) {
    if (!m_port.isOpen()) throw RunTimeError(kPortNotOpen);
    const char c = static_cast<char>(byte);
    if (m_port.write(&c, 1) != 1) fail(kPortWriteFailed);
    // Qt keeps written bytes until its event loop runs: hand this one to the line now.
    m_port.flush();
    while (m_port.isOpen() && m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(kWriteTimeoutMs)) fail(kPortWriteFailed);
    }
    // The line may have gone while the byte was on its way.
    if (!m_port.isOpen()) throw RunTimeError(kPortWriteFailed);
    if (m_port.error() != QSerialPort::NoError) fail(kPortWriteFailed);
}

int QtSerialPort::inBufferCount() const {
    return m_port.isOpen() ? static_cast<int>(m_port.bytesAvailable()) : 0;
}

std::string QtSerialPort::input() {
    const int want = m_inputLen > 0 ? m_inputLen : inBufferCount();
    if (!m_port.isOpen() || want <= 0) return {};
    const QByteArray bytes = m_port.read(want);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string QtSerialPort::openFailureText() const {
    switch (m_port.error()) {
        case QSerialPort::DeviceNotFoundError:
            return portReason::kNotThere;
        case QSerialPort::OpenError:
            return portReason::kInUse;
        case QSerialPort::PermissionError: {
#if defined(Q_OS_UNIX)
            // The system says "permission" both for a device the user may not open and for one
            // that another program holds locked; only the first is denied to the user.
            // Some failures to make the lock file are said as "permission" too: the device itself
            // tells which it was.
            const std::string path = m_name.rfind('/', 0) == 0 ? m_name : "/dev/" + m_name;
            if (::access(path.c_str(), R_OK | W_OK) == 0) return portReason::kInUse;
            switch (errno) {
                case EACCES:
                case EPERM:
                case EROFS:
                    return "permesso negato: aggiungere l'utente al gruppo dialout "
                           "(sudo usermod -aG dialout NOMEUTENTE), poi uscire e rientrare";
                case ENOENT:
                case ENOTDIR:
                    return portReason::kNotThere;
                case ENAMETOOLONG:
                    return portReason::kNameTooLong;
                default:
                    return m_port.errorString().toStdString();
            }
#else
            return portReason::kInUse;
#endif
        }
        default:
            return m_port.errorString().toStdString();
    }
}

std::vector<PortInfo> QtSerialPort::portInfos() {
    // The stable names are links to the devices: the device each one reaches names it.
    std::map<QString, QString> stable;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files))
        stable.emplace(link.canonicalFilePath(), link.absoluteFilePath());
    std::vector<PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const auto found = stable.find(QFileInfo(info.systemLocation()).canonicalFilePath());
        ports.push_back({info.portName().toStdString(), info.description().toStdString(),
                         info.manufacturer().toStdString(),
                         found == stable.end() ? std::string() : found->second.toStdString()});
    }
    return ports;
}

std::vector<std::string> QtSerialPort::presentPorts() {
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names.push_back(info.portName().toStdString());
    return names;
}

std::string QtSerialPort::defaultPort() {
#if defined(Q_OS_WIN)
    return "COM1";
#else
    const std::vector<std::string> present = presentPorts();
    return present.empty() ? std::string("ttyS0") : present.front();
#endif
}

}  // namespace velora
