#include "sign/spelled_out.h"

#include <gtest/gtest.h>

#include <string>

namespace velora {
namespace {

using Written = std::vector<std::pair<std::string, std::string>>;

// Texts are Windows-1252: \x80 is the euro sign, \260 (octal) the degree sign.
TEST(SpelledOut, WritesEuroAndDegreesOutWithTheLongestFormThatFits) {
    const struct {
        const char* text;
        std::size_t limit;
        const char* expected;
        Written written;
    } cases[] = {
        {"PREZZO 5\x80", 18, "PREZZO 5 EUR", {{"\x80", "EUR"}}},
        // Blanks that fill a fixed row give way first.
        {"PREZZO 5\x80        ", 18, "PREZZO 5 EUR      ", {{"\x80", "EUR"}}},
        {"5\x80 - 7\x80", 18, "5 EUR - 7 EUR", {{"\x80", "EUR"}}},
        // After a blank, or at the start, the form's own blank is left out.
        {"20 \260C", 18, "20 GRADI", {{"\260C", "GRADI"}}},
        {"\x80 5", 18, "EUR 5", {{"\x80", "EUR"}}},
        {"+4\xB0 FRIGO", 18, "+4 GRADI FRIGO", {{"\xB0", "GRADI"}}},
        {"2-8\260c", 0, "2-8 GRADI", {{"\260c", "GRADI"}}},
        // Shorter forms where the row is full: the same form everywhere in the row.
        {"CONSERVARE 2-8\260C", 18, "CONSERVARE 2-8 C", {{"\260C", "C"}}},
        {"CONSERVARE A 2-8\260C", 18, "CONSERVARE A 2-8 C", {{"\260C", "C"}}},
        {"TENERE A 2-8\260C 5\x80", 18, "TENERE A 2-8C 5EUR", {{"\260C", "C"}, {"\x80", "EUR"}}},
        {"FRIGO A 4\xB0 SEMPRE", 18, "FRIGO A 4GR SEMPRE", {{"\xB0", "GR"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto spelled = spellOut(c.text, SignFont::Normal, c.limit);
        ASSERT_TRUE(spelled.has_value());
        EXPECT_EQ(spelled->text, c.expected);
        EXPECT_EQ(spelled->written, c.written);
    }
}

TEST(SpelledOut, OffersNothingWhenThereIsNothingToWriteOrNoRoom) {
    EXPECT_FALSE(spellOut("PREZZO 5 EURO", SignFont::Normal, 18));
    EXPECT_FALSE(spellOut("", SignFont::Big, 9));
    // Even "EUR" would push letters past the row's end.
    EXPECT_FALSE(spellOut("ABCDEFGHIJKLMNOPQ\x80", SignFont::Normal, 18));
    // The big font has no euro sign either.
    const auto big = spellOut("5\x80", SignFont::Big, 9);
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->text, "5 EUR");
}

}  // namespace
}  // namespace velora
