#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>

#include "core/clock.h"
#include "protocol/hex_line.h"

namespace velora {

// The journal of the exchanges with the sign, a line each as it happens, in UTF-8:
//   "14:07:33.125 TX D4"            bytes sent, as hexLine writes them
//   "14:07:33.190 RX C8"            bytes received
//   "14:07:33.190 # ..."            what the program made of them: pages, outcome
// The bytes of an upload go out one line per page record, then the end byte on a line of its
// own, as `velora-cli dump` prints them.
class Journal {
public:
    // Lines kept for the session; the oldest go first.
    static constexpr std::size_t kLinesKept = 20000;

    explicit Journal(const Clock& clock) : m_clock(clock) {}

    void transmitted(std::span<const std::uint8_t> bytes) { add("TX " + hexLine(bytes)); }
    void received(std::span<const std::uint8_t> bytes) { add("RX " + hexLine(bytes)); }
    // A comment line: "# " and `text`.
    void note(const std::string& text) { add("# " + text); }
    // Reads the page record at the start of `bytes` as the sign does, and notes its kind and
    // texts; a record the sign would not read is noted as such.
    void notePage(int number, std::span<const std::uint8_t> bytes);

    const std::deque<std::string>& lines() const { return m_lines; }
    // Every line, each ended by a newline.
    std::string text() const;

    // Called with every line as it is added.
    std::function<void(const std::string&)> onLine;

private:
    void add(const std::string& entry);
    std::string stamp();

    const Clock& m_clock;
    std::deque<std::string> m_lines;
    bool m_anchored = false;
    double m_anchorSecondOfDay = 0;
    double m_anchorMonotonic = 0;
};

}  // namespace velora
