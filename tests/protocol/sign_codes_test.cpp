#include "protocol/sign_codes.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

struct CodeCase {
    int input;
    int expected;
};

class CodiceNormaleTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CodiceNormaleTest, GivesTheNormalFontIndex) {
    EXPECT_EQ(CodiceNormale(static_cast<std::uint8_t>(GetParam().input)), GetParam().expected)
        << "input 0x" << std::hex << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CodiceNormaleTest,
    ::testing::Values(CodeCase{' ', 0x00}, CodeCase{'!', 0x01}, CodeCase{'A', 0x21},
                      CodeCase{'a', 0x41}, CodeCase{'~', 0x5E}, CodeCase{0xE9, 0x5C},  // é
                      CodeCase{0x80, 0x5C},                                            // euro
                      CodeCase{0xF9, 0x63}, CodeCase{0xB0, 0x00}, CodeCase{0x09, 0x00},
                      CodeCase{0x83, 0x63}, CodeCase{0x84, 0x00}, CodeCase{0xE0, 0x5E},
                      CodeCase{0xE8, 0x5F}, CodeCase{0xEC, 0x61}, CodeCase{0xF2, 0x62},
                      CodeCase{0xC0, 0x00}, CodeCase{0xFF, 0x00}, CodeCase{0x00, 0x00}));

// Characters that share a glyph with an accented letter, as the font has always had them.
TEST(CodiceNormaleShared, IndicesSharedWithTheAccentedLetters) {
    const std::pair<int, int> shared[] = {{'|', 0xE9},  {'~', 0xE0},  {0x7F, 0xE8},
                                          {0x81, 0xEC}, {0x82, 0xF2}, {0x83, 0xF9}};
    for (const auto& [plain, accented] : shared)
        EXPECT_EQ(CodiceNormale(plain), CodiceNormale(accented)) << std::hex << plain;
}

TEST(CodiceNormaleRange, EveryIndexIsInsideTheFont) {
    for (int c = 0; c < 256; ++c) EXPECT_LE(CodiceNormale(static_cast<std::uint8_t>(c)), 0x63);
}

class CodiceGrandeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CodiceGrandeTest, GivesTheBigFontIndex) {
    EXPECT_EQ(CodiceGrande(static_cast<std::uint8_t>(GetParam().input)), GetParam().expected)
        << "input 0x" << std::hex << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CodiceGrandeTest,
    ::testing::Values(CodeCase{'a', 0x20}, CodeCase{'A', 0x20}, CodeCase{'y', 0x35},
                      CodeCase{'Y', 0x35}, CodeCase{'V', 0x35}, CodeCase{'z', 0x38},
                      CodeCase{'Z', 0x38}, CodeCase{'X', 0x37}, CodeCase{'\'', 0x14},
                      CodeCase{';', 0x14}, CodeCase{' ', 0x00}, CodeCase{'!', 0x00},
                      CodeCase{'[', 0x00}, CodeCase{'(', 0x01}, CodeCase{'?', 0x18},
                      CodeCase{'0', 0x09}, CodeCase{'9', 0x12}, CodeCase{0xE0, 0x00},
                      CodeCase{0xE9, 0x00}, CodeCase{0xC8, 0x00}, CodeCase{'@', 0x40}));

// The big font: 0x01..0x18 are "(" to "?", 0x20..0x38 the letters without Y.
TEST(CodiceGrandeLayout, FontHoldsTheListedGlyphsInOrder) {
    const std::string punctuationAndDigits = "()*+,-./0123456789:;<=>?";
    for (std::size_t i = 0; i < punctuationAndDigits.size(); ++i)
        EXPECT_EQ(CodiceGrande(punctuationAndDigits[i]), 0x01 + i) << punctuationAndDigits[i];
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXZ";
    for (std::size_t i = 0; i < letters.size(); ++i)
        EXPECT_EQ(CodiceGrande(letters[i]), 0x20 + i) << letters[i];
}

}  // namespace
}  // namespace velora
