#include "core/numbers.h"

#include <gtest/gtest.h>

#include "core/run_time_error.h"

namespace velora {
namespace {

struct ReadCase {
    const char* text;
    double expected;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ReadNumberTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberTest, TakesTheLongestLeadingNumberIgnoringBlanks) {
    EXPECT_DOUBLE_EQ(readNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadNumberTest,
                         ::testing::Values(ReadCase{"24", 24}, ReadCase{" 2 4", 24},
                                           ReadCase{"12.5", 12.5}, ReadCase{"-1", -1},
                                           ReadCase{"abc", 0}, ReadCase{"", 0},
                                           ReadCase{"1e2", 100}, ReadCase{"18abc", 18},
                                           ReadCase{"1,5", 1}, ReadCase{".5", 0.5},
                                           ReadCase{"\t7\n", 7}, ReadCase{"-", 0},
                                           ReadCase{"3e", 3}, ReadCase{"+4.", 4}));

struct ByteCase {
    const char* text;
    int expected;  // the byte, or -error number
};

void PrintTo(const ByteCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ToUnsignedByteTest : public ::testing::TestWithParam<ByteCase> {};

int convert(const char* text) {
    try {
        return toUnsignedByte(std::string_view(text));
    } catch (const RunTimeError& error) {
        return -error.code();
    }
}

TEST_P(ToUnsignedByteTest, RoundsHalvesToEvenAndFailsLikeTheRuntime) {
    EXPECT_EQ(convert(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToUnsignedByteTest,
    ::testing::Values(ByteCase{"24", 24}, ByteCase{" 2 4", 24}, ByteCase{"12.5", 12},
                      ByteCase{"13.5", 14}, ByteCase{"0.5", 0}, ByteCase{"255.4", 255},
                      ByteCase{"255.5", -kOverflow}, ByteCase{"300", -kOverflow},
                      ByteCase{"-1", -kOverflow}, ByteCase{"-0.4", 0}, ByteCase{"1e2", 100},
                      ByteCase{"1e999", -kOverflow}, ByteCase{"abc", -kTypeMismatch},
                      ByteCase{"", -kTypeMismatch}, ByteCase{"3abc", -kTypeMismatch},
                      ByteCase{" ", -kTypeMismatch}));

TEST(ToUnsignedByteTest, ConvertsNumbersWithTheSameRules) {
    EXPECT_EQ(toUnsignedByte(2.5), 2);
    EXPECT_EQ(toUnsignedByte(3.5), 4);
    EXPECT_THROW(toUnsignedByte(256.0), RunTimeError);
    EXPECT_THROW(toUnsignedByte(-0.6), RunTimeError);
}

}  // namespace
}  // namespace velora
