#include "qt_serial_port.h"

#include <QSerialPortInfo>
#include <QStringList>

#include "core/run_time_error.h"
#include "core/windows1252.h"

namespace velora {
namespace {

// A byte that the line has not taken after this long will not be taken: the far end is gone.
constexpr int kWriteTimeoutMs = 2000;

}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::received);
}

QtSerialPort::~QtSerialPort() {
    close();
}

void QtSerialPort::fail(int code) {
    m_error = windows1252::fromUtf8(m_port.errorString().toStdString());
    m_port.clearError();
    throw RunTimeError(code);
}

void QtSerialPort::setCommPort(const std::string& name) {
    m_name = name;
}

void QtSerialPort::setSettings(const std::string& settings) {
    const QStringList parts = QString::fromStdString(settings).split(QLatin1Char(','));
    bool baudOk = false;
    const int baud = parts.value(0).toInt(&baudOk);
    const QString parity = parts.value(1).toUpper();
    const QString dataBits = parts.value(2);
    const QString stopBits = parts.value(3);
    if (parts.size() != 4 || !baudOk || baud <= 0) throw RunTimeError(kInvalidPropertyValue);
    if (parity == QLatin1String("N"))
        m_parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("E"))
        m_parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("O"))
        m_parity = QSerialPort::OddParity;
    else
        throw RunTimeError(kInvalidPropertyValue);
    if (dataBits == QLatin1String("8"))
        m_dataBits = QSerialPort::Data8;
    else if (dataBits == QLatin1String("7"))
        m_dataBits = QSerialPort::Data7;
    else
        throw RunTimeError(kInvalidPropertyValue);
    if (stopBits == QLatin1String("1"))
        m_stopBits = QSerialPort::OneStop;
    else if (stopBits == QLatin1String("2"))
        m_stopBits = QSerialPort::TwoStop;
    else
        throw RunTimeError(kInvalidPropertyValue);
    m_baudRate = baud;
}

void QtSerialPort::setPortOpen(bool open) {
    if (!open) {
        if (m_port.isOpen()) m_port.close();
        m_virtualOpen = false;
        m_virtualInput.clear();
        return;
    }
    if (portOpen()) return;
    m_error.clear();
    if (isVirtual()) {
        m_virtualOpen = true;
        return;
    }
    m_port.setPortName(QString::fromStdString(m_name));
    if (m_name.empty() || !m_port.open(QIODevice::ReadWrite)) {
        if (m_name.empty()) {
            m_error = "nessuna porta scelta";
            throw RunTimeError(kPortOpenFailed);
        }
        fail(kPortOpenFailed);
    }
    const bool configured = m_port.setBaudRate(m_baudRate) && m_port.setParity(m_parity) &&
                            m_port.setDataBits(m_dataBits) && m_port.setStopBits(m_stopBits) &&
                            m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_error = windows1252::fromUtf8(m_port.errorString().toStdString());
        m_port.close();
        throw RunTimeError(kPortOpenFailed);
    }
    // Replies left from an earlier exchange are not answers to this one.
    m_port.clear(QSerialPort::AllDirections);
}

bool QtSerialPort::portOpen() const {
    return isVirtual() ? m_virtualOpen : m_port.isOpen();
}

void QtSerialPort::output(std::uint8_t byte) {
    if (!portOpen()) throw RunTimeError(kPortNotOpen);
    if (isVirtual()) {
        const std::vector<std::uint8_t> replies = m_virtualSign.receive(byte);
        if (replies.empty()) return;
        m_virtualInput.insert(m_virtualInput.end(), replies.begin(), replies.end());
        // Announced later, as a real line would, never inside the handler that is sending.
        QMetaObject::invokeMethod(this, &QtSerialPort::received, Qt::QueuedConnection);
        return;
    }
    const char c = static_cast<char>(byte);
    if (m_port.write(&c, 1) != 1) fail(kPortWriteFailed);
    // Qt keeps written bytes until its event loop runs: hand this one to the line now.
    m_port.flush();
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(kWriteTimeoutMs)) fail(kPortWriteFailed);
    }
    if (m_port.error() != QSerialPort::NoError) fail(kPortWriteFailed);
}

int QtSerialPort::inBufferCount() const {
    if (isVirtual()) return static_cast<int>(m_virtualInput.size());
    return m_port.isOpen() ? static_cast<int>(m_port.bytesAvailable()) : 0;
}

std::string QtSerialPort::input() {
    std::string read;
    const int want = m_inputLen > 0 ? m_inputLen : inBufferCount();
    if (isVirtual()) {
        while (!m_virtualInput.empty() && static_cast<int>(read.size()) < want) {
            read.push_back(static_cast<char>(m_virtualInput.front()));
            m_virtualInput.pop_front();
        }
        return read;
    }
    if (!m_port.isOpen() || want <= 0) return read;
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
