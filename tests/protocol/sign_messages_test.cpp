#include "protocol/sign_messages.h"

#include <gtest/gtest.h>

#include "protocol/page_layout.h"
#include "protocol/wire_bytes.h"

namespace velora {
namespace {

using testing::Bytes;
using testing::hex;

struct ClockCase {
    const char* name;
    DateTime at;
    const char* bytes;
};

void PrintTo(const ClockCase& c, std::ostream* out) {
    *out << c.name;
}

class DateTimeMessageTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(DateTimeMessageTest, PackedDecimalWithTheWeekday) {
    EXPECT_EQ(dateTimeMessage(GetParam().at), hex(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DateTimeMessageTest,
    ::testing::Values(
        ClockCase{"SaturdayAfternoon", {2026, 12, 5, 14, 7, 33}, "E0 07 14 06 05 12 26 F9"},
        ClockCase{"Midnight", {2026, 12, 7, 0, 0, 0}, "E0 00 00 01 07 12 26 F9"},
        ClockCase{"NewYear", {2027, 1, 1, 0, 0, 59}, "E0 00 00 05 01 01 27 F9"},
        ClockCase{"Sunday", {2026, 12, 6, 23, 59, 0}, "E0 59 23 07 06 12 26 F9"},
        ClockCase{"LeapDay2000", {2000, 2, 29, 9, 30, 0}, "E0 30 09 02 29 02 00 F9"}),
    [](const auto& row) { return std::string(row.param.name); });

// What the sign makes of the message is what was sent, the weekday included.
TEST_P(DateTimeMessageTest, ReadsBackAsSent) {
    const DateTime& at = GetParam().at;
    const std::optional<SignClock> read = decodeDateTimeMessage(hex(GetParam().bytes));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, (SignClock{at.minute, at.hour, isoWeekday(at.year, at.month, at.day), at.day,
                                at.month, at.year % 100}));
}

struct BadMessage {
    const char* name;
    const char* bytes;
};

class BadDateTimeMessageTest : public ::testing::TestWithParam<BadMessage> {};

TEST_P(BadDateTimeMessageTest, IsNoClock) {
    EXPECT_EQ(decodeDateTimeMessage(hex(GetParam().bytes)), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, BadDateTimeMessageTest,
    ::testing::Values(BadMessage{"Empty", ""}, BadMessage{"Short", "E0 07 14 06 05 12 F9"},
                      BadMessage{"Long", "E0 07 14 06 05 12 26 00 F9"},
                      BadMessage{"NoStart", "E1 07 14 06 05 12 26 F9"},
                      BadMessage{"NoEnd", "E0 07 14 06 05 12 26 FD"},
                      BadMessage{"HexDigitInMinutes", "E0 1A 14 06 05 12 26 F9"},
                      BadMessage{"SixtyMinutes", "E0 60 14 06 05 12 26 F9"},
                      BadMessage{"HourTwentyFour", "E0 00 24 06 05 12 26 F9"},
                      BadMessage{"WeekdayZero", "E0 07 14 00 05 12 26 F9"},
                      BadMessage{"WeekdayEight", "E0 07 14 08 05 12 26 F9"},
                      BadMessage{"DayZero", "E0 07 14 06 00 12 26 F9"},
                      BadMessage{"MonthThirteen", "E0 07 14 06 05 13 26 F9"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PackedDecimalTest, EveryValueReadsBack) {
    for (int value = 0; value < 100; ++value)
        EXPECT_EQ(unpackedDecimal(packedDecimal(value)), value) << value;
    EXPECT_EQ(unpackedDecimal(0x0A), std::nullopt);
    EXPECT_EQ(unpackedDecimal(0xA0), std::nullopt);
}

TEST(UploadMessageTest, PageEndsFallOnEndOfPageBytes) {
    Modulo1 state;
    state.PageCount = 2;
    state.RowChars = 12;
    state.PageKind[1] = 1;
    state.PageKind[2] = 4;
    const UploadMessage upload = uploadMessage(state);
    ASSERT_EQ(upload.pageEnds, (std::vector<std::size_t>{53, 53 + 30}));
    EXPECT_EQ(upload.bytes.size(), 53u + 30 + 1);
    for (std::size_t end : upload.pageEnds) EXPECT_EQ(upload.bytes[end - 1], kPageEnd);
    EXPECT_EQ(upload.bytes.back(), kUploadEnd);
}

}  // namespace
}  // namespace velora
