#include "telnet_codec.h"

namespace velora {
namespace {

// A subnegotiation longer than this is no port setting: its bytes are dropped, not kept.
constexpr std::size_t kLongestSub = 64;

}  // namespace

std::vector<std::uint8_t> TelnetCodec::opening() const {
    return {kIac, kWill, kBinary,          kIac, kDo,   kBinary, kIac, kWill, kSuppressGoAhead,
            kIac, kDo,   kSuppressGoAhead, kIac, kWill, kComPort};
}

std::vector<std::uint8_t> TelnetCodec::settingsRequests(int baud, char parity, int dataBits,
                                                        int stopBits) {
    std::vector<std::uint8_t> wire;
    const auto request = [&wire](std::uint8_t command, std::initializer_list<std::uint8_t> value) {
        for (std::uint8_t b : {kIac, kSb, kComPort}) wire.push_back(b);
        encode(command, wire);
        for (std::uint8_t b : value) encode(b, wire);
        wire.push_back(kIac);
        wire.push_back(kSe);
    };
    const auto b = static_cast<std::uint32_t>(baud);
    request(kSetBaudRate, {static_cast<std::uint8_t>(b >> 24), static_cast<std::uint8_t>(b >> 16),
                           static_cast<std::uint8_t>(b >> 8), static_cast<std::uint8_t>(b)});
    request(kSetDataSize, {static_cast<std::uint8_t>(dataBits)});
    request(kSetParity, {static_cast<std::uint8_t>(parity == 'O' ? 2 : parity == 'E' ? 3 : 1)});
    request(kSetStopSize, {static_cast<std::uint8_t>(stopBits == 2 ? 2 : 1)});
    // 1: no flow control, outbound and inbound alike.
    request(kSetControl, {1});
    return wire;
}

void TelnetCodec::encode(std::uint8_t byte, std::vector<std::uint8_t>& wire) {
    wire.push_back(byte);
    if (byte == kIac) wire.push_back(kIac);
}

std::vector<std::uint8_t> TelnetCodec::encode(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> wire;
    wire.reserve(data.size());
    for (std::uint8_t b : data) encode(b, wire);
    return wire;
}

std::string TelnetCodec::decode(const std::uint8_t* bytes, std::size_t count) {
    std::string data;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        switch (m_state) {
            case State::Data:
                if (b == kIac)
                    m_state = State::Iac;
                else
                    data.push_back(static_cast<char>(b));
                break;
            case State::Iac:
                if (b == kIac) {
                    data.push_back(static_cast<char>(b));
                    m_state = State::Data;
                } else if (b >= kWill && b <= kDont) {
                    m_verb = b;
                    m_state = State::Option;
                } else if (b == kSb) {
                    m_sub.clear();
                    m_state = State::Sub;
                } else {
                    // NOP, GA, a stray SE and the other one-byte commands carry nothing here.
                    m_state = State::Data;
                }
                break;
            case State::Option:
                option(m_verb, b);
                m_state = State::Data;
                break;
            case State::Sub:
                if (b == kIac)
                    m_state = State::SubIac;
                else if (m_sub.size() < kLongestSub)
                    m_sub.push_back(b);
                break;
            case State::SubIac:
                if (b == kSe) {
                    subnegotiation();
                    m_state = State::Data;
                } else {
                    // A doubled 0xFF inside the value, or a command the far end should not have
                    // put there; either way the subnegotiation goes on.
                    if (b == kIac && m_sub.size() < kLongestSub) m_sub.push_back(b);
                    m_state = State::Sub;
                }
                break;
        }
    }
    return data;
}

std::vector<std::uint8_t> TelnetCodec::takeReplies() {
    std::vector<std::uint8_t> taken;
    taken.swap(m_replies);
    return taken;
}

void TelnetCodec::reply(std::initializer_list<std::uint8_t> bytes) {
    m_replies.insert(m_replies.end(), bytes);
}

bool TelnetCodec::ours(std::uint8_t code) const {
    return code == kBinary || code == kSuppressGoAhead || code == kComPort;
}

void TelnetCodec::option(std::uint8_t verb, std::uint8_t code) {
    const bool offered = m_role == Role::Client;
    switch (verb) {
        case kWill:
            // The far end will do the option on its side.
            if (code == kComPort && m_role == Role::Client) break;  // a server never offers it
            if (ours(code)) {
                // The client asked with DO already; the server agrees once.
                if (!m_agreedDo[code] && !offered) reply({kIac, kDo, code});
                m_agreedDo[code] = true;
            } else {
                reply({kIac, kDont, code});
            }
            break;
        case kWont:
            m_agreedDo[code] = false;
            break;
        case kDo:
            // The far end asks this side to do the option.
            if (code == kComPort && m_role == Role::Client) {
                m_comPortAnswered = m_comPortAccepted = true;
            }
            if (ours(code) && !(code == kComPort && m_role == Role::Server)) {
                if (!m_agreedWill[code] && !offered) reply({kIac, kWill, code});
                m_agreedWill[code] = true;
            } else {
                reply({kIac, kWont, code});
            }
            break;
        case kDont:
            if (code == kComPort && m_role == Role::Client) {
                m_comPortAnswered = true;
                m_comPortAccepted = false;
            }
            m_agreedWill[code] = false;
            break;
        default:
            break;
    }
}

void TelnetCodec::subnegotiation() {
    if (m_sub.size() < 2 || m_sub[0] != kComPort) return;
    const std::uint8_t command = m_sub[1];
    if (m_role == Role::Client) {
        if (command >= kServerOffset + kSetBaudRate && command <= kServerOffset + kSetControl)
            ++m_settingsAnswered;
        return;
    }
    // The server takes every setting as asked and says so, value for value.
    if (command == kSetBaudRate && m_sub.size() == 6)
        m_requestedBaud = (std::uint32_t{m_sub[2]} << 24) | (std::uint32_t{m_sub[3]} << 16) |
                          (std::uint32_t{m_sub[4]} << 8) | m_sub[5];
    if (command < 1 || command > 12) return;
    m_replies.insert(m_replies.end(),
                     {kIac, kSb, kComPort, static_cast<std::uint8_t>(command + kServerOffset)});
    for (std::size_t i = 2; i < m_sub.size(); ++i) encode(m_sub[i], m_replies);
    m_replies.insert(m_replies.end(), {kIac, kSe});
}

}  // namespace velora
