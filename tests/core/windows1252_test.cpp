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

// A file's name shows as meant whether the system wrote it in UTF-8 or in Latin-1; bytes that
// are no UTF-8 at all, a cut sequence among them, show as themselves.
TEST(Windows1252Test, FileNamesShowInUtf8OrAsTheirBytes) {
    const struct {
        const char* name;
        const char* shown;
    } cases[] = {
        {"caf\xC3\xA9.inf", "caf\xE9.inf"},
        {"caf\xE9.inf", "caf\xE9.inf"},
        {"\xE2\x82\xAC \xC3", "\x80 \xC3"},
        {"\xC0\xAF", "\xC0\xAF"},  // an overlong "/", not UTF-8
        {"a\xE6\x97\xA5"
         "b",
         "a?b"},
    };
    for (const auto& c : cases) EXPECT_EQ(windows1252::fromFileName(c.name), c.shown) << c.name;
}

TEST(Windows1252Test, EveryByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(windows1252::fromUtf8(windows1252::toUtf8(byte)), byte) << b;
    }
}

}  // namespace
}  // namespace velora
