#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/clock.h"
#include "core/modulo1.h"
#include "protocol/sign_messages.h"

namespace velora {

// The pacing of the messages of the line: the sign reads a byte at a time and needs the gaps
// between them. The bytes themselves are the protocol's.

// One byte of a paced transmission and the pacing gaps that follow it.
struct PacedByte {
    std::uint8_t value;
    int delaysAfter;

    bool operator==(const PacedByte&) const = default;
};

// A whole transmission as it goes on the line: gaps before the first byte, then the bytes.
struct PacedStream {
    int leadingDelays = 0;
    std::vector<PacedByte> bytes;
    // Index one past the end-of-page byte of each page record, in order.
    std::vector<std::size_t> pageEnds;

    std::vector<std::uint8_t> values() const;
};

// The upload (uploadMessage) with its gaps.
PacedStream uploadStream(const Modulo1& state);

// What an upload costs before it is sent: its pages, its bytes on the line and the time its
// pacing gaps take.
struct StreamSize {
    int pages = 0;
    std::size_t bytes = 0;
    double seconds = 0;
};
StreamSize streamSize(const PacedStream& stream);

// Pacing gaps after the start byte of the date and time message: the sign needs them to get
// ready for the clock bytes.
inline constexpr int kDateTimeLeadDelays = 34;

// The date and time message (dateTimeMessage) as it goes on the line, in two parts sent one
// after the other: the start byte with its lead gap, then the clock bytes, each but the last
// followed by one gap. The clock is read between the two, so that the time sent is the time
// after the lead gap.
PacedStream dateTimeLead();
PacedStream dateTimeStream(const DateTime& at);

}  // namespace velora
