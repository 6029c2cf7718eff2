#include "qt_serial_port.h"

#include <QSerialPortInfo>

#include "core/run_time_error.h"

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
    // After a hang-up the system's text names whatever call failed last ("No such file or
    // directory", "Inappropriate ioctl"), which misleads more than it tells.
    m_error = "dispositivo scollegato o linea chiusa dall'altro capo";
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
        m_error = "nessuna porta scelta";
        throw RunTimeError(kPortOpenFailed);
    }
    // Port names are the system's: device paths are file names, in UTF-8.
    m_port.setPortName(QString::fromStdString(m_name));
    if (!m_port.open(QIODevice::ReadWrite)) fail(kPortOpenFailed);
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
