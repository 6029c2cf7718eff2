#include "link/paced_stream.h"

#include <gtest/gtest.h>

#include "protocol/wire_bytes.h"

namespace velora {
namespace {

using testing::Bytes;
using testing::hex;

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

}  // namespace
}  // namespace velora
