#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QObject>
#include <QTcpSocket>

#include "link/network_address.h"
#include "link/serial_port.h"
#include "protocol/telnet_codec.h"

namespace velora {

// A serial line behind a converter on the network, over TCP: "socket://HOST:PORT" carries the
// bytes as they are, "rfc2217://HOST:PORT" speaks telnet and sets the far end's line from the
// port settings. Written bytes have left the program when output() returns; the far end closing
// the connection is a lost line, as a pulled adapter is. Text a converter sends before any answer
// of the sign (its own complaint, such as "Port already in use") ends the connection with that
// text as the reason, instead of passing for the sign's reply.
class NetworkPort : public QObject, public SerialPort {
    Q_OBJECT

public:
    // How long connecting, and each answer of the telnet set-up, may take.
    static constexpr int kConnectTimeoutMs = 5000;

    explicit NetworkPort(QObject* parent = nullptr);
    ~NetworkPort() override;

    void setCommPort(const std::string& name) override { m_name = name; }
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& settings) override;
    void setInputLen(int length) override { m_inputLen = length; }
    void setPortOpen(bool open) override;
    bool portOpen() const override { return m_open; }
    void output(std::uint8_t byte) override;
    int inBufferCount() const override { return static_cast<int>(m_in.size()); }
    std::string input() override;
    void setRThreshold(int) override {}
    std::string errorText() const override { return m_error; }

Q_SIGNALS:
    void received();
    void lineLost();

private:
    void readSocket();
    void onDisconnected();
    void take(const std::string& data);
    void loseLine(const std::string& why);
    void shut();
    // Waits for the telnet set-up's answers, at most kConnectTimeoutMs for each step.
    bool negotiate();
    [[noreturn]] void failOpen(const std::string& why);
    std::string where() const;

    QTcpSocket m_socket;
    std::string m_name;
    std::string m_error;
    int m_inputLen = 0;
    bool m_open = false;
    bool m_opening = false;
    PortSettings m_settings;
    NetworkAddress m_address;
    std::unique_ptr<TelnetCodec> m_codec;
    std::string m_in;
    // Printable text held back until it is known to be the sign's or the converter's.
    std::string m_text;
    bool m_signSpoke = false;
};

}  // namespace velora
