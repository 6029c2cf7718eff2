#include "core/windows1252.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

TEST(Windows1252Test, OneByteForEveryCharacterTheCodePageHolds) {
    EXPECT_EQ(windows1252::fromUtf8("°"), "\xB0");
    EXPECT_EQ(windows1252::fromUtf8("è à ù"), "\xE8 \xE0 \xF9");
    EXPECT_EQ(windows1252::fromUtf8("€"), "\x80");
    EXPECT_EQ(windows1252::fromUtf8("“ok”"), "\x93ok\x94");
}

TEST(Windows1252Test, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(windows1252::fromUtf8("a日b"), "a?b");
    EXPECT_EQ(windows1252::fromUtf8("😀"), "?");
    EXPECT_EQ(windows1252::fromUtf8("\xFF"), "?");  // not UTF-8 at all
}

TEST(Windows1252Test, EveryByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(windows1252::fromUtf8(windows1252::toUtf8(byte)), byte) << b;
    }
}

}  // namespace
}  // namespace velora
