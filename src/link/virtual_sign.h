#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velora {

// The sign's side of the link: answers the connect request with 200, reads an upload record by
// record to its end byte and answers 222 and the number of pages received, and answers a date and
// time message with 227. Records are read by their kinds and lengths, never by looking for an end
// byte, since a pause, a page count or a row width can take the value of one.
class VirtualSign {
public:
    // Takes one byte from the line and returns the bytes the sign answers with.
    std::vector<std::uint8_t> receive(std::uint8_t byte);

    // Test controls: added to the page count answered; no answer at all.
    int countAdjust = 0;
    bool silent = false;

    // One line for every exchange that ended, as the sign would log it.
    std::function<void(const std::string&)> onExchange;

    int pagesReceived() const { return m_lastPages; }
    // The pages of the upload running now, or of the last one.
    const std::vector<std::vector<std::uint8_t>>& records() const { return m_records; }

private:
    enum class State { Idle, Header, FixedBlock, ScrollBlock, PageEnd, BetweenRecords, DateTime };

    void startRecord(std::uint8_t kind);
    void nextBlock();
    std::vector<std::uint8_t> endUpload();
    std::vector<std::uint8_t> endDateTime();
    void report(const std::string& line);
    std::vector<std::uint8_t> answer(std::vector<std::uint8_t> bytes) const;

    State m_state = State::Idle;
    std::vector<std::uint8_t> m_current;  // bytes of the record or message being read
    std::vector<std::vector<std::uint8_t>> m_records;
    // The blocks of the body still to read: a length, or -1 for a scrolling block.
    std::vector<int> m_blocks;
    int m_blockLeft = 0;
    int m_lastPages = 0;
};

}  // namespace velora
