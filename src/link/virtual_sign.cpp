#include "virtual_sign.h"

#include <algorithm>
#include <cstdio>

#include "sign_messages.h"

namespace velora {
namespace {

constexpr int kScrolling = -1;
constexpr std::size_t kHeaderBytes = 4;

std::string twoDigits(std::uint8_t packed) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", packed);
    return text;
}

}  // namespace

std::vector<std::uint8_t> VirtualSign::answer(std::vector<std::uint8_t> bytes) const {
    if (silent) return {};
    if (answerWith) return *answerWith;
    return bytes;
}

void VirtualSign::report(const std::string& line) {
    if (onExchange) onExchange(line);
}

void VirtualSign::startRecord(std::uint8_t kind) {
    m_current.assign(1, kind);
    m_state = State::Header;
}

void VirtualSign::nextBlock() {
    if (m_blocks.empty()) {
        m_state = State::PageEnd;
        return;
    }
    const int block = m_blocks.front();
    m_blocks.erase(m_blocks.begin());
    if (block == kScrolling) {
        m_state = State::ScrollBlock;
    } else if (block == 0) {
        nextBlock();
    } else {
        m_blockLeft = block;
        m_state = State::FixedBlock;
    }
}

std::vector<std::uint8_t> VirtualSign::endUpload() {
    m_state = State::Idle;
    m_lastPages = static_cast<int>(m_records.size());
    const auto count = static_cast<std::uint8_t>(m_lastPages + countAdjust);
    report("Pagine ricevute: " + std::to_string(m_lastPages));
    return answer({kCountFollows, count});
}

std::vector<std::uint8_t> VirtualSign::endDateTime() {
    m_state = State::Idle;
    const auto& m = m_current;
    report("Data/Ora: " + twoDigits(m[4]) + "/" + twoDigits(m[5]) + "/" + twoDigits(m[6]) + " " +
           twoDigits(m[2]) + ":" + twoDigits(m[1]) + " giorno " + std::to_string(m[3]));
    return answer({kDateTimeAck});
}

std::vector<std::uint8_t> VirtualSign::receive(std::uint8_t byte, double atSeconds) {
    if (m_timed && m_state != State::Idle && atSeconds - m_lastAt > kAbandonedAfter) {
        report("Invio interrotto: dati incompleti scartati");
        m_records.clear();
        m_state = State::Idle;
    }
    m_timed = true;
    m_lastAt = atSeconds;
    return receive(byte);
}

std::vector<std::uint8_t> VirtualSign::receive(std::uint8_t byte) {
    switch (m_state) {
        case State::Idle:
            if (byte == kConnectRequest) {
                report("Connessione");
                return answer({kConnectAck});
            }
            if (byte == kDateTimeStart) {
                m_current.assign(1, byte);
                m_state = State::DateTime;
                return {};
            }
            m_records.clear();
            if (byte == kUploadEnd) return endUpload();
            startRecord(byte);
            return {};
        case State::BetweenRecords:
            if (byte == kUploadEnd) return endUpload();
            startRecord(byte);
            return {};
        case State::Header: {
            m_current.push_back(byte);
            if (m_current.size() < kHeaderBytes) return {};
            const int rowChars = m_current[3];
            const int fixed = std::max(rowChars, kFixedBlockBytes);
            switch (m_current[0]) {
                case 1:
                    m_blocks = {fixed, fixed};
                    break;
                case 2:
                    m_blocks = {fixed, kScrolling};
                    break;
                case 3:
                case 8:
                    m_blocks = {rowChars / 2};
                    break;
                case 4:
                    m_blocks = {kFixedBlockBytes, kScrolling};
                    break;
                case 5:
                case 6:
                    m_blocks = {rowChars};
                    break;
                case 7:
                    m_blocks = {fixed, kScrolling};
                    break;
                default:
                    m_blocks.clear();
                    break;
            }
            nextBlock();
            return {};
        }
        case State::FixedBlock:
            m_current.push_back(byte);
            if (--m_blockLeft == 0) nextBlock();
            return {};
        case State::ScrollBlock:
            m_current.push_back(byte);
            if (byte == kScrollEnd) nextBlock();
            return {};
        case State::PageEnd:
            if (byte != kPageEnd) {
                // A record longer or shorter than its kind says: the upload is garbled. The sign
                // drops it and waits for the next request.
                report("Record non valido alla pagina " + std::to_string(m_records.size() + 1));
                m_records.clear();
                m_state = State::Idle;
                return {};
            }
            m_current.push_back(byte);
            m_records.push_back(m_current);
            m_state = State::BetweenRecords;
            return {};
        case State::DateTime:
            m_current.push_back(byte);
            if (m_current.size() < 8) return {};
            if (byte == kDateTimeEnd) return endDateTime();
            report("Messaggio Data/Ora non valido");
            m_state = State::Idle;
            return {};
    }
    return {};
}

}  // namespace velora
