#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/page_layout.h"

namespace velora {

// One glyph: its dots, row by row, and what it shows as text (empty for the blank).
struct Glyph {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dots;  // width * height, 1 for a lit dot
    std::string name;                // UTF-8

    bool lit(int x, int y) const { return dots[static_cast<std::size_t>(y * width + x)] != 0; }
};

// A font read from its text form: for each glyph a header line "glyph 0xNN name" followed by
// one line of `#` (lit) and `.` (dark) per dot row; lines starting with "#" followed by a blank
// are comments. The header "glyph info name" holds a glyph of the sign's clock row instead.
class LedFont {
public:
    // The font, or nothing with `error` saying which line is wrong.
    static std::optional<LedFont> parse(std::string_view text, std::string* error = nullptr);

    // The glyph at a font index, or nullptr when the font has none there.
    const Glyph* glyph(std::uint8_t index) const;
    // The extra glyph of the clock row.
    const Glyph* infoGlyph() const { return m_info ? &*m_info : nullptr; }

    int glyphHeight() const { return m_height; }

private:
    std::array<std::optional<Glyph>, 256> m_glyphs;
    std::optional<Glyph> m_info;
    int m_width = 0;
    int m_height = 0;
};

// The two fonts built into the program.
const LedFont& normalFont();
const LedFont& bigFont();
const LedFont& fontFor(SignFont font);

// Their text, embedded by the build from src/sign/fonts.
extern const char* const kNormalFontText;
extern const char* const kBigFontText;

}  // namespace velora
