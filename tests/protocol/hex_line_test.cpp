#include "protocol/hex_line.h"

#include <gtest/gtest.h>

#include "protocol/wire_bytes.h"

namespace velora {
namespace {

using testing::Bytes;
using testing::hex;

TEST(HexLineTest, TwoUpperCaseDigitsABlankBetween) {
    EXPECT_EQ(hexLine(Bytes{}), "");
    EXPECT_EQ(hexLine(Bytes{0x00}), "00");
    EXPECT_EQ(hexLine(Bytes{0xD4, 0x0A, 0xFF, 0xC8}), "D4 0A FF C8");
}

TEST(HexLineTest, AFloodIsCutAfterTheShownBytesAndCounted) {
    EXPECT_EQ(hexLine(hex("DE 05 01"), 2), "DE 05 ... (3 byte)");
    EXPECT_EQ(hexLine(hex("DE 05"), 2), "DE 05");
}

}  // namespace
}  // namespace velora
