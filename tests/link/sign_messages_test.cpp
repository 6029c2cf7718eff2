#include <gtest/gtest.h>

#include <sstream>

#include "link/sign_messages.h"

namespace velora {
namespace {

using Bytes = std::vector<std::uint8_t>;

// "01 0A FF" as bytes; "00*15" repeats a byte.
Bytes hex(const std::string& text) {
    Bytes out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        const auto star = word.find('*');
        const int count = star == std::string::npos ? 1 : std::stoi(word.substr(star + 1));
        const auto value = static_cast<std::uint8_t>(std::stoi(word.substr(0, star), nullptr, 16));
        out.insert(out.end(), count, value);
    }
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

class UploadStreamTest : public ::testing::Test {
protected:
    void page(int slot, std::uint8_t kind, std::uint8_t pause, std::string row1, std::string row2) {
        state.PageKind[slot] = kind;
        state.PagePause[slot] = pause;
        state.PageText[slot][1] = std::move(row1);
        state.PageText[slot][2] = std::move(row2);
    }
    Modulo1 state;
};

TEST_F(UploadStreamTest, TwoFixedRowsOfNineCharacters) {
    state.PageCount = 1;
    state.RowChars = 9;
    page(1, 1, 5, "CIAO     ", "A B      ");
    EXPECT_EQ(uploadStream(state).values(),
              hex("01 01 05 09  23 29 21 2F 00*5 00*15  21 00 22 00*6 00*15  E9 FD"));
}

TEST_F(UploadStreamTest, EmptySequenceIsTheEndByteAlone) {
    const PacedStream stream = uploadStream(state);
    EXPECT_EQ(stream.leadingDelays, 0);
    EXPECT_EQ(stream.bytes, (std::vector<PacedByte>{{0xFD, 2}}));
}

struct KindCase {
    const char* name;
    std::uint8_t kind;
    int rowChars;
    std::string row1;
    std::string row2;
    Bytes body;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.name;
}

class RecordBodyTest : public UploadStreamTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(RecordBodyTest, BodyFollowsTheKind) {
    const KindCase& c = GetParam();
    state.PageCount = 1;
    state.RowChars = static_cast<std::uint8_t>(c.rowChars);
    page(1, c.kind, 7, c.row1, c.row2);
    const Bytes expected =
        concat({{c.kind, 1, 7, static_cast<std::uint8_t>(c.rowChars)}, c.body, {0xE9}});
    EXPECT_EQ(pageRecord(state, 1), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RecordBodyTest,
    ::testing::Values(KindCase{"Kind1Width24NoFill", 1, 24, std::string(24, 'A'),
                               std::string(24, '!'), hex("21*24 01*24")},
                      KindCase{"Kind1Width0AllFill", 1, 0, "", "", hex("00*48")},
                      KindCase{"Kind2EmptyScroll", 2, 9, "ABCDEFGHI", "",
                               hex("21 22 23 24 25 26 27 28 29 00*15 80")},
                      KindCase{"Kind2Scroll", 2, 9, "ABCDEFGHI", "a\xB0",
                               hex("21 22 23 24 25 26 27 28 29 00*15 41 00 80")},
                      KindCase{"Kind3BigHalfWidth", 3, 18, "Ciao Yz!!", "Ciao Yz!!",
                               hex("22 28 20 2E 00 35 38 00 00")},
                      KindCase{"Kind3Width9TakesFour", 3, 9, "ABCD", "ABCD", hex("20 21 22 23")},
                      KindCase{"Kind3Width0Empty", 3, 0, "", "", {}},
                      KindCase{"Kind4BigScroll", 4, 18, "yes", "yes", hex("00*24 35 24 32 80")},
                      KindCase{"Kind5ShortRow1", 5, 9, "ABCDEFGHI", "05/12 09:01 +20\xB0",
                               hex("21 22 23 24 25 26 27 28 29")},
                      KindCase{"Kind6ShortRow2", 6, 9, "05/12 09:01 +20\xB0", "ABCDEFGHI",
                               hex("21 22 23 24 25 26 27 28 29")},
                      KindCase{"Kind5Width0Empty", 5, 0, "", "", {}},
                      KindCase{"Kind7Row2First", 7, 9, "ab", "ABCDEFGHI",
                               hex("21 22 23 24 25 26 27 28 29 00*15 41 42 80")},
                      KindCase{"Kind8LikeKind3", 8, 18, "Ciao Yz!!", "Ciao Yz!!",
                               hex("22 28 20 2E 00 35 38 00 00")},
                      KindCase{"UnknownKindNoBody", 0, 18, "ABC", "ABC", {}},
                      KindCase{"TooShortFixedIsPadded", 1, 9, "AB", "",
                               hex("21 22 00*7 00*15 00*24")},
                      KindCase{"TooShortBigIsPadded", 3, 24, "AB", "AB", hex("20 21 00*10")},
                      KindCase{"TooShortShortRowIsPadded", 5, 12, "AB", "", hex("21 22 00*10")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(UploadStreamTest, EveryRecordCarriesTheCountAndTheWidth) {
    state.PageCount = 3;
    state.RowChars = 12;
    page(1, 1, 1, std::string(12, 'x'), std::string(12, 'y'));
    page(2, 4, 20, "", "");
    page(3, 5, 253, std::string(12, 'z'), "");  // a pause that looks like the end byte
    const PacedStream stream = uploadStream(state);
    const Bytes values = stream.values();
    ASSERT_EQ(stream.pageEnds, (std::vector<std::size_t>{53, 53 + 30, 53 + 30 + 17}));
    EXPECT_EQ(values.size(), 53u + 30 + 17 + 1);
    EXPECT_EQ(Bytes(values.begin(), values.begin() + 4), hex("01 03 01 0C"));
    EXPECT_EQ(Bytes(values.begin() + 53, values.begin() + 57), hex("04 03 14 0C"));
    EXPECT_EQ(Bytes(values.begin() + 83, values.begin() + 87), hex("05 03 FD 0C"));
    EXPECT_EQ(values.back(), 0xFD);
}

// Three gaps before the first byte, one after every byte, two after each page end and the end.
TEST_F(UploadStreamTest, PacingPattern) {
    state.PageCount = 2;
    state.RowChars = 18;
    page(1, 3, 2, "ABCDEFGHI", "ABCDEFGHI");
    page(2, 2, 2, std::string(18, ' '), "");
    const PacedStream stream = uploadStream(state);
    EXPECT_EQ(stream.leadingDelays, 3);
    for (std::size_t i = 0; i < stream.bytes.size(); ++i) {
        const bool pageEnd = std::find(stream.pageEnds.begin(), stream.pageEnds.end(), i + 1) !=
                             stream.pageEnds.end();
        const bool last = i + 1 == stream.bytes.size();
        EXPECT_EQ(stream.bytes[i].delaysAfter, pageEnd || last ? 2 : 1) << "byte " << i;
    }
    EXPECT_EQ(stream.bytes[stream.pageEnds[0] - 1].value, 0xE9);
}

TEST_F(UploadStreamTest, CountAboveTheStoreStopsAtTheLastSlot) {
    state.PageCount = 255;
    EXPECT_EQ(uploadStream(state).pageEnds.size(), 200u);
}

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

}  // namespace
}  // namespace velora
