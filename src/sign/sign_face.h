#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/clock.h"
#include "led_font.h"
#include "protocol/page_record.h"

namespace velora {

// Geometry of the sign: boards of three normal characters side by side, two rows high. A normal
// character takes a cell of 6 x 8 dots, a big one 12 x 16, spanning both rows.
inline constexpr int kCharsPerBoard = 3;
inline constexpr int kWidestSignChars = 24;  // eight boards
inline constexpr int kCellWidth = 6;
inline constexpr int kCellHeight = 8;
inline constexpr int kFaceHeight = 2 * kCellHeight;

// A scrolling row moves one character every 0.2 s and runs out through blanks: 7 after row 2,
// 11 after row 1 and the big row, the same timing as the editor's preview.
inline constexpr double kScrollStepSeconds = 0.2;
inline constexpr int kRow2RunOut = 7;
inline constexpr int kRow1RunOut = 11;

// Characters across the sign: `rowChars` / 3 whole boards of three.
int signChars(int rowChars);

// What a scrolling row does once it has run out.
enum class ScrollEnd : std::uint8_t {
    Repeat,  // starts again, as the sign does while it keeps the page
    Dark,    // stays dark, as the preview leaves it
};

// A font index the sign was sent that its font has no glyph for; it is drawn as an empty cell.
struct MissingGlyph {
    SignFont font = SignFont::Normal;
    std::uint8_t index = 0;

    bool operator==(const MissingGlyph&) const = default;
};

// The lit dots of the sign's face at one moment.
struct SignFace {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dots;     // width * height, 1 for a lit dot
    std::vector<MissingGlyph> missing;  // each at most once, in the order met

    bool lit(int x, int y) const { return dots[static_cast<std::size_t>(y * width + x)] != 0; }
    // Rows of `#` (lit) and `.` (dark), one line each.
    std::string toText() const;
};

// Steps a scrolling row of a page takes before it has run out (0 when nothing scrolls).
int scrollSteps(const SignPage& page);

// The face at `seconds` after the page came up. An info row shows `clock` as the sign's own clock
// would, with the temperature the editor shows; a page whose layout is inverse is drawn so.
SignFace renderSignFace(const SignPage& page, double seconds, const DateTime& clock,
                        ScrollEnd end = ScrollEnd::Repeat);

}  // namespace velora
