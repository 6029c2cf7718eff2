#include "network_port.h"

#include <QDeadlineTimer>
#include <QHostAddress>

#include "core/run_time_error.h"

namespace velora {
namespace {

// A byte the connection has not taken after this long will not be taken: the far end is gone.
constexpr int kWriteTimeoutMs = 2000;

bool isText(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x20 && b < 0x7F) || b == '\r' || b == '\n' || b == '\t';
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \r\n\t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \r\n\t") - first + 1);
}

}  // namespace

NetworkPort::NetworkPort(QObject* parent) : QObject(parent) {
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkPort::readSocket);
    connect(&m_socket, &QTcpSocket::disconnected, this, &NetworkPort::onDisconnected);
}

NetworkPort::~NetworkPort() {
    m_socket.disconnect(this);
    m_socket.abort();
}

std::string NetworkPort::where() const {
    return m_address.host + ":" + std::to_string(m_address.port);
}

void NetworkPort::setSettings(const std::string& settings) {
    const std::optional<PortSettings> parsed = parsePortSettings(settings);
    if (!parsed) throw RunTimeError(kInvalidPropertyValue);
    m_settings = *parsed;
}

void NetworkPort::failOpen(const std::string& why) {
    m_error = why;
    shut();
    throw RunTimeError(kPortOpenFailed);
}

void NetworkPort::shut() {
    m_open = false;
    m_socket.abort();
    m_codec.reset();
    // As on a serial port, what came before the close is not waiting after it.
    m_in.clear();
    m_text.clear();
}

void NetworkPort::setPortOpen(bool open) {
    if (!open) {
        shut();
        return;
    }
    if (m_open) return;
    m_error.clear();
    m_in.clear();
    m_text.clear();
    m_signSpoke = false;
    const std::optional<NetworkAddress> address = parseNetworkAddress(m_name);
    if (!address) {
        m_error =
            "indirizzo di rete non valido, si scrive socket://HOST:PORTA o "
            "rfc2217://HOST:PORTA";
        throw RunTimeError(kPortOpenFailed);
    }
    m_address = *address;
    m_opening = true;
    m_socket.connectToHost(QString::fromStdString(m_address.host),
                           static_cast<quint16>(m_address.port));
    const bool connected = m_socket.waitForConnected(kConnectTimeoutMs);
    if (!connected) {
        m_opening = false;
        switch (m_socket.error()) {
            case QAbstractSocket::HostNotFoundError:
                failOpen("nome non trovato: " + m_address.host);
            case QAbstractSocket::ConnectionRefusedError:
                failOpen("connessione rifiutata da " + where());
            case QAbstractSocket::SocketTimeoutError:
                failOpen("nessuna risposta da " + where() + " entro 5 s");
            default:
                failOpen(m_socket.errorString().toStdString());
        }
    }
    // Each byte is its own packet, at once: the pacing gap is a gap on the wire.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_open = true;
    if (m_address.telnet) {
        m_codec = std::make_unique<TelnetCodec>();
        const bool negotiated = negotiate();
        m_opening = false;
        if (!negotiated) failOpen(m_error);
    }
    m_opening = false;
}

bool NetworkPort::negotiate() {
    const auto send = [this](const std::vector<std::uint8_t>& bytes) {
        m_socket.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qint64>(bytes.size()));
        m_socket.flush();
    };
    // Waits until `done` or the time-out; an answer that does not come is not waited for longer,
    // and the port is used as the far end has it.
    const auto waitFor = [this](const auto& done) {
        QDeadlineTimer deadline(kConnectTimeoutMs);
        while (m_open && !done() && !deadline.hasExpired())
            m_socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        return m_open;
    };
    send(m_codec->opening());
    if (!waitFor([this] { return m_codec->comPortAnswered(); })) return false;
    if (!m_codec->comPortAccepted()) return true;
    send(TelnetCodec::settingsRequests(m_settings.baud, m_settings.parity, m_settings.dataBits,
                                       m_settings.stopBits));
    return waitFor([this] { return m_codec->settingsAnswered() >= 5; });
}

void NetworkPort::readSocket() {
    if (!m_open) return;
    const QByteArray raw = m_socket.readAll();
    std::string data(raw.constData(), static_cast<std::size_t>(raw.size()));
    if (m_codec) {
        data = m_codec->decode(data);
        const std::vector<std::uint8_t> replies = m_codec->takeReplies();
        if (!replies.empty())
            m_socket.write(reinterpret_cast<const char*>(replies.data()),
                           static_cast<qint64>(replies.size()));
    }
    if (!data.empty()) take(data);
}

void NetworkPort::take(const std::string& data) {
    std::size_t i = 0;
    // Until the sign's first byte, text is the converter talking: a whole line of it ends the
    // connection with that line as the reason.
    for (; i < data.size() && !m_signSpoke; ++i) {
        if (!isText(data[i])) {
            m_signSpoke = true;
            m_in += m_text;
            m_text.clear();
            break;
        }
        m_text.push_back(data[i]);
        if (data[i] == '\n' && !trimmed(m_text).empty()) {
            loseLine(trimmed(m_text));
            return;
        }
    }
    if (i < data.size()) m_in.append(data, i, std::string::npos);
    if (!m_in.empty()) Q_EMIT received();
}

void NetworkPort::onDisconnected() {
    if (!m_open) return;
    // Whatever came before the close is read first: it may say why.
    if (m_socket.bytesAvailable() > 0) readSocket();
    if (!m_open) return;
    const std::string said = trimmed(m_text);
    loseLine(said.empty() ? "connessione chiusa dall'altro capo (" + where() + ")" : said);
}

void NetworkPort::loseLine(const std::string& why) {
    m_error = why;
    shut();
    if (!m_opening) Q_EMIT lineLost();
}

void NetworkPort::output(std::uint8_t byte) {
    if (!m_open) throw RunTimeError(kPortNotOpen);
    std::vector<std::uint8_t> wire;
    if (m_codec)
        TelnetCodec::encode(byte, wire);
    else
        wire.push_back(byte);
    if (m_socket.write(reinterpret_cast<const char*>(wire.data()),
                       static_cast<qint64>(wire.size())) != static_cast<qint64>(wire.size())) {
        onDisconnected();
        throw RunTimeError(kPortWriteFailed);
    }
    m_socket.flush();
    while (m_open && m_socket.bytesToWrite() > 0) {
        if (!m_socket.waitForBytesWritten(kWriteTimeoutMs)) {
            if (m_open) onDisconnected();
            throw RunTimeError(kPortWriteFailed);
        }
    }
    // The far end may have gone while the byte was on its way.
    if (!m_open || m_socket.state() != QAbstractSocket::ConnectedState) {
        onDisconnected();
        throw RunTimeError(kPortWriteFailed);
    }
}

std::string NetworkPort::input() {
    const std::size_t want =
        m_inputLen > 0 ? std::min(m_in.size(), static_cast<std::size_t>(m_inputLen)) : m_in.size();
    std::string taken = m_in.substr(0, want);
    m_in.erase(0, want);
    return taken;
}

}  // namespace velora
