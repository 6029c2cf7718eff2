#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/page_record.h"

namespace velora {

// The sign's side of the link: answers the connect request with 200, reads an upload record by
// record to its end byte and answers 222 and the number of pages received, and answers a date and
// time message with 227. Records are read by the same reader as the LED view's, by their kinds
// and lengths.
//
// It keeps what it needs and no more, however much arrives: the record being read (at most
// kLongestRecord bytes) and the records of one upload (at most kKeptRecords of them).
//
// A sender that stops in the middle of an exchange (killed, unplugged, cancelled) leaves the sign
// halfway through a record. Like the sign, the virtual one gives up on it when the line stays
// quiet for longer than kAbandonedAfter, and reads the next byte as the start of a new request.
class VirtualSign {
public:
    // The longest gap a sender keeps inside one exchange is the 68 ms lead of the date and time
    // message; a line quiet for well over that means the sender has gone.
    static constexpr double kAbandonedAfter = 0.5;
    // Far longer than any record the editor makes (fixed rows of at most 255 characters,
    // scrolling texts of 114): a longer one is taken for a garbled upload.
    static constexpr std::size_t kLongestRecord = 64 * 1024;
    // The page count on the line is one byte; the sign holds fewer pages still.
    static constexpr std::size_t kKeptRecords = 256;

    // Takes one byte from the line, which arrived at `atSeconds` on a monotonic clock, and
    // returns the bytes the sign answers with.
    std::vector<std::uint8_t> receive(std::uint8_t byte, double atSeconds);
    // The same without a time: no gap is ever long enough to drop what was begun.
    std::vector<std::uint8_t> receive(std::uint8_t byte);

    // Test controls: added to the page count answered; no answer at all; these bytes in place of
    // every answer.
    int countAdjust = 0;
    bool silent = false;
    std::optional<std::vector<std::uint8_t>> answerWith;
    // The characters of the sign's fixed rows, three per board; 0 for a sign of any width. An
    // upload made for another width is still counted, and its line says so.
    int rowChars = 0;

    // One line for every exchange that ended, as the sign would log it.
    std::function<void(const std::string&)> onExchange;
    // An upload has been read to its end byte: records() holds its pages.
    std::function<void()> onUploadReceived;

    int pagesReceived() const { return m_lastPages; }
    // The pages of the upload running now, or of the last one (its first kKeptRecords).
    const std::vector<std::vector<std::uint8_t>>& records() const { return m_records; }

private:
    enum class State { Idle, Record, BetweenRecords, DateTime };

    void startUpload();
    std::vector<std::uint8_t> readRecord(std::uint8_t byte);
    void dropRecord();
    std::vector<std::uint8_t> endUpload();
    std::vector<std::uint8_t> endDateTime();
    void report(const std::string& line);
    std::vector<std::uint8_t> answer(std::vector<std::uint8_t> bytes) const;

    State m_state = State::Idle;
    std::vector<std::uint8_t> m_current;  // bytes of the record or message being read
    PageRecordReader m_reader;
    std::vector<std::vector<std::uint8_t>> m_records;
    int m_pages = 0;       // records of the upload running now, kept or not
    int m_otherWidth = 0;  // a row width of the upload running now that is not the sign's
    int m_lastPages = 0;
    double m_lastAt = 0;
    bool m_timed = false;
};

}  // namespace velora
