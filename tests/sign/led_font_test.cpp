#include "sign/led_font.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "protocol/sign_codes.h"

namespace velora {
namespace {

TEST(LedFont, EveryIndexTheTranslationsProduceHasAGlyphButTheBigAtSign) {
    std::set<int> normalMissing;
    std::set<int> bigMissing;
    for (int b = 0; b < 256; ++b) {
        const std::uint8_t normal = CodiceNormale(static_cast<std::uint8_t>(b));
        const std::uint8_t big = CodiceGrande(static_cast<std::uint8_t>(b));
        if (!normalFont().glyph(normal)) normalMissing.insert(normal);
        if (big != 0x00 && !bigFont().glyph(big)) bigMissing.insert(big);
    }
    EXPECT_TRUE(normalMissing.empty());
    EXPECT_EQ(bigMissing, std::set<int>{0x40});
}

TEST(LedFont, HoldsExactlyTheGlyphsOfBothFonts) {
    for (int index = 0; index < 256; ++index) {
        const bool normal = index <= 0x63;
        const bool big = (index >= 0x01 && index <= 0x18) || (index >= 0x20 && index <= 0x38);
        EXPECT_EQ(normalFont().glyph(static_cast<std::uint8_t>(index)) != nullptr, normal) << index;
        EXPECT_EQ(bigFont().glyph(static_cast<std::uint8_t>(index)) != nullptr, big) << index;
    }
    // The big font spans both rows at twice the height; the clock row has its degree sign.
    EXPECT_EQ(bigFont().glyphHeight(), 2 * normalFont().glyphHeight());
    ASSERT_NE(normalFont().infoGlyph(), nullptr);
    // What the glyphs show is what the warning line names.
    EXPECT_EQ(normalFont().glyph(0x21)->name, "A");
    EXPECT_EQ(normalFont().glyph(0x5C)->name, "é");
    EXPECT_EQ(normalFont().glyph(0x63)->name, "ù");
    EXPECT_EQ(bigFont().glyph(0x38)->name, "Z");
    EXPECT_EQ(bigFont().glyph(0x01)->name, "(");
}

TEST(LedFont, ReadsAGlyphAndRefusesMalformedText) {
    const std::optional<LedFont> font = LedFont::parse(
        "# a comment\n\nglyph 0x41 A\n.#.\n#.#\r\n###\n\nglyph info °\n#..\n...\n...\n");
    ASSERT_TRUE(font);
    const Glyph* a = font->glyph(0x41);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->name, "A");
    EXPECT_EQ(a->width, 3);
    EXPECT_EQ(a->height, 3);
    EXPECT_TRUE(a->lit(1, 0));
    EXPECT_FALSE(a->lit(0, 0));
    EXPECT_TRUE(a->lit(2, 2));
    EXPECT_EQ(font->glyph(0x42), nullptr);
    ASSERT_NE(font->infoGlyph(), nullptr);

    const struct {
        const char* text;
        const char* error;
    } bad[] = {
        {"", "line 1: no glyphs"},
        {"glyph 0x41\n#.\n#\n", "line 3: dot rows of one glyph differ in length"},
        {"glyph 0x41\n#.\nglyph 0x42\n#.#\n",
         "line 3: glyph size differs from the font's first glyph"},
        {"glyph 41\n#\n", "line 1: index is not a byte written as 0xNN"},
        {"glyph 0x100\n#\n", "line 1: index is not a byte written as 0xNN"},
        {"glyph 0x41\n#\nglyph 0x41\n.\n", "line 3: index given twice"},
        {"glyph 0x41\n\n", "line 1: glyph without dot rows"},
        {"#.#\n", "line 1: expected a glyph header"},
    };
    for (const auto& c : bad) {
        std::string error;
        EXPECT_FALSE(LedFont::parse(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

}  // namespace
}  // namespace velora
