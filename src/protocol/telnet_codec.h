#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velora {

// The telnet layer of a network serial port with the COM-PORT-OPTION (RFC 2217): what a client
// sends to set the far end's line, the doubling of 0xFF in the data, and the reading of the far
// end's stream, from which telnet commands are taken out so that only the sign's bytes remain.
// No I/O: the port hands it the bytes it read and sends what it returns.
//
// The client asks for BINARY and SUPPRESS-GO-AHEAD both ways and offers COM-PORT-OPTION; the
// server role (the virtual sign on TCP) accepts these and answers every port setting.
class TelnetCodec {
public:
    enum class Role { Client, Server };

    static constexpr std::uint8_t kIac = 255;
    static constexpr std::uint8_t kDont = 254;
    static constexpr std::uint8_t kDo = 253;
    static constexpr std::uint8_t kWont = 252;
    static constexpr std::uint8_t kWill = 251;
    static constexpr std::uint8_t kSb = 250;
    static constexpr std::uint8_t kSe = 240;
    static constexpr std::uint8_t kBinary = 0;
    static constexpr std::uint8_t kSuppressGoAhead = 3;
    static constexpr std::uint8_t kComPort = 44;
    // COM-PORT-OPTION commands from the client; the server answers each with the code + 100.
    static constexpr std::uint8_t kSetBaudRate = 1;
    static constexpr std::uint8_t kSetDataSize = 2;
    static constexpr std::uint8_t kSetParity = 3;
    static constexpr std::uint8_t kSetStopSize = 4;
    static constexpr std::uint8_t kSetControl = 5;
    static constexpr std::uint8_t kServerOffset = 100;

    explicit TelnetCodec(Role role = Role::Client) : m_role(role) {}

    // What the client sends first: its offers and requests of the options it needs.
    std::vector<std::uint8_t> opening() const;
    // The requests that set the far end's line: speed, data bits, parity, stop bits, and no flow
    // control. Parity is 'N', 'E' or 'O'.
    static std::vector<std::uint8_t> settingsRequests(int baud, char parity, int dataBits,
                                                      int stopBits);
    // Appends one data byte as it goes on the wire (0xFF doubled).
    static void encode(std::uint8_t byte, std::vector<std::uint8_t>& wire);
    static std::vector<std::uint8_t> encode(const std::vector<std::uint8_t>& data);

    // Reads bytes from the far end, in pieces as they came; returns the data among them. Commands
    // are consumed, even when split across reads.
    std::string decode(const std::uint8_t* bytes, std::size_t count);
    std::string decode(const std::string& bytes) {
        return decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    // Answers the far end's commands called for (agreement to options, refusals of the rest,
    // the server's answers to the port settings); empty once taken.
    std::vector<std::uint8_t> takeReplies();

    // Client side: the far end answered the COM-PORT-OPTION offer (either way), and agreed.
    bool comPortAnswered() const { return m_comPortAnswered; }
    bool comPortAccepted() const { return m_comPortAccepted; }
    // Client side: how many answers to the port settings came back.
    int settingsAnswered() const { return m_settingsAnswered; }
    // Server side: the last speed the client asked for, 0 before any.
    std::uint32_t requestedBaud() const { return m_requestedBaud; }

private:
    enum class State { Data, Iac, Option, Sub, SubIac };

    void option(std::uint8_t verb, std::uint8_t code);
    void subnegotiation();
    void reply(std::initializer_list<std::uint8_t> bytes);
    bool ours(std::uint8_t code) const;

    Role m_role;
    State m_state = State::Data;
    std::uint8_t m_verb = 0;
    std::vector<std::uint8_t> m_sub;
    std::vector<std::uint8_t> m_replies;
    // Options already agreed, so that an agreement is never answered again (no loops).
    bool m_agreedDo[256] = {};
    bool m_agreedWill[256] = {};
    bool m_comPortAnswered = false;
    bool m_comPortAccepted = false;
    int m_settingsAnswered = 0;
    std::uint32_t m_requestedBaud = 0;
};

}  // namespace velora
