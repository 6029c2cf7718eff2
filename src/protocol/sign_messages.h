#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/clock.h"
#include "core/modulo1.h"

namespace velora {

// Requests and replies on the line to the sign: each is one byte, apart from the upload and the
// date and time message below.
inline constexpr std::uint8_t kConnectRequest = 212;
inline constexpr std::uint8_t kConnectAck = 200;
inline constexpr std::uint8_t kCountFollows = 222;
inline constexpr std::uint8_t kDateTimeAck = 227;
inline constexpr std::uint8_t kDateTimeStart = 0xE0;
inline constexpr std::uint8_t kDateTimeEnd = 0xF9;

// The upload of pages 1..PageCount: one record per page (pageRecord), then 0xFD.
struct UploadMessage {
    std::vector<std::uint8_t> bytes;
    // Index one past the end-of-page byte of each page record, in order.
    std::vector<std::size_t> pageEnds;
};
UploadMessage uploadMessage(const Modulo1& state);

// The date and time message: 0xE0, minutes, hours, weekday (Monday 1 .. Sunday 7), day,
// month, year of the century, all but the weekday in packed decimal, then 0xF9. Seconds are
// not sent.
inline constexpr std::size_t kDateTimeMessageBytes = 8;
std::vector<std::uint8_t> dateTimeMessage(const DateTime& at);

// What a date and time message sets the sign's clock to.
struct SignClock {
    int minute = 0;
    int hour = 0;
    int weekday = 1;  // Monday 1 .. Sunday 7
    int day = 1;
    int month = 1;
    int yearOfCentury = 0;

    bool operator==(const SignClock&) const = default;
};

// Reads a whole date and time message. Nothing when its length, its start or end byte, a digit
// that is not decimal or a field out of its range says it is not one.
std::optional<SignClock> decodeDateTimeMessage(std::span<const std::uint8_t> message);

// Monday 1 .. Sunday 7 of a date of the Gregorian calendar.
int isoWeekday(int year, int month, int day);

// Two decimal digits of `value` (0..99) as one byte: tens in the high nibble.
std::uint8_t packedDecimal(int value);
// The value of such a byte; nothing when a nibble is not a decimal digit.
std::optional<int> unpackedDecimal(std::uint8_t packed);

}  // namespace velora
