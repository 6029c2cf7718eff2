#include "virtual_sign.h"

#include <cstdio>

#include "protocol/sign_messages.h"

namespace velora {
namespace {

// The row width in a record's header: kind, page count, pause, row width.
constexpr std::size_t kRowCharsByte = 3;

}  // namespace

std::vector<std::uint8_t> VirtualSign::answer(std::vector<std::uint8_t> bytes) const {
    if (silent) return {};
    if (answerWith) return *answerWith;
    return bytes;
}

void VirtualSign::report(const std::string& line) {
    if (onExchange) onExchange(line);
}

void VirtualSign::startUpload() {
    m_records.clear();
    m_pages = 0;
    m_otherWidth = 0;
}

void VirtualSign::dropRecord() {
    m_current.clear();
    m_current.shrink_to_fit();
    m_reader = {};
    m_state = State::Idle;
}

std::vector<std::uint8_t> VirtualSign::readRecord(std::uint8_t byte) {
    m_current.push_back(byte);
    switch (m_reader.take(byte)) {
        case PageRecordReader::Status::Reading:
            if (m_current.size() < kLongestRecord) return {};
            break;
        case PageRecordReader::Status::Complete:
            ++m_pages;
            if (rowChars > 0 && m_current[kRowCharsByte] != rowChars)
                m_otherWidth = m_current[kRowCharsByte];
            if (m_records.size() < kKeptRecords) m_records.push_back(std::move(m_current));
            m_current.clear();
            m_reader = {};
            m_state = State::BetweenRecords;
            return {};
        case PageRecordReader::Status::Invalid:
            break;
    }
    // A record longer or shorter than its kind says: the upload is garbled. The sign drops it
    // and waits for the next request.
    report("Record non valido alla pagina " + std::to_string(m_pages + 1));
    startUpload();
    dropRecord();
    return {};
}

std::vector<std::uint8_t> VirtualSign::endUpload() {
    m_state = State::Idle;
    m_lastPages = m_pages;
    const auto count = static_cast<std::uint8_t>(m_lastPages + countAdjust);
    std::string line = "Pagine ricevute: " + std::to_string(m_lastPages);
    if (m_otherWidth > 0)
        line += " (righe da " + std::to_string(m_otherWidth) + " caratteri, l'insegna ne ha " +
                std::to_string(rowChars) + ")";
    report(line);
    if (onUploadReceived) onUploadReceived();
    return answer({kCountFollows, count});
}

std::vector<std::uint8_t> VirtualSign::endDateTime() {
    m_state = State::Idle;
    const std::optional<SignClock> clock = decodeDateTimeMessage(m_current);
    if (!clock) {
        report("Messaggio Data/Ora non valido");
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "Data/Ora: %02d/%02d/%02d %02d:%02d giorno %d", clock->day,
                  clock->month, clock->yearOfCentury, clock->hour, clock->minute, clock->weekday);
    report(text);
    return answer({kDateTimeAck});
}

std::vector<std::uint8_t> VirtualSign::receive(std::uint8_t byte, double atSeconds) {
    if (m_timed && m_state != State::Idle && atSeconds - m_lastAt > kAbandonedAfter) {
        report("Invio interrotto: dati incompleti scartati");
        startUpload();
        dropRecord();
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
            startUpload();
            if (byte == kUploadEnd) return endUpload();
            m_state = State::Record;
            return readRecord(byte);
        case State::BetweenRecords:
            if (byte == kUploadEnd) return endUpload();
            m_state = State::Record;
            return readRecord(byte);
        case State::Record:
            return readRecord(byte);
        case State::DateTime:
            m_current.push_back(byte);
            if (m_current.size() < kDateTimeMessageBytes) return {};
            return endDateTime();
    }
    return {};
}

}  // namespace velora
