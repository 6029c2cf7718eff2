#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/modulo1.h"

namespace velora {

// Bytes of a page record and of an upload that are not text.
inline constexpr std::uint8_t kPageEnd = 0xE9;
inline constexpr std::uint8_t kUploadEnd = 0xFD;
inline constexpr std::uint8_t kScrollEnd = 0x80;

// Width of a fixed row block on the line: the sign always reads 24 bytes of it.
inline constexpr int kFixedBlockBytes = 24;

// Bytes before a record's body: kind, page count, pause, row width.
inline constexpr std::size_t kRecordHeaderBytes = 4;

// The sign's two fonts: the normal font of the small rows and the big font of the single big row.
enum class SignFont : std::uint8_t { Normal, Big };

// What one row of the sign does with the indices it was sent.
enum class RowShow : std::uint8_t {
    Blank,      // nothing lit
    Fixed,      // the indices stand still from the left edge
    Scrolling,  // the indices run through the row
    Info,       // the sign's own date, time and temperature; nothing is sent for it
};

// How much of a row's text goes on the line.
enum class RowWidth : std::uint8_t {
    None,        // nothing: a blank or an info row
    FixedBlock,  // the row's characters in a block of at least kFixedBlockBytes, zeros after
    Row,         // the row's characters and nothing more
    HalfRow,     // half the row's characters, rounded down: a big fixed row
    WholeText,   // the whole text, then kScrollEnd
};

struct RowLayout {
    RowShow show = RowShow::Blank;
    SignFont font = SignFont::Normal;
    RowWidth width = RowWidth::None;
    // The stored text the row is sent from (PageText[slot][text]); 0 when nothing is sent.
    int text = 0;

    bool sent() const { return width != RowWidth::None; }
};

// One page kind on the line and on the sign's face. A big page has its single row in `row1`.
struct PageLayout {
    RowLayout row1;
    RowLayout row2;
    // A blank fixed block goes before the body: the big scrolling row comes second on the line.
    bool blankBlockFirst = false;
    // Row 2's block goes before row 1's: the fixed row is always sent first.
    bool row2First = false;
    bool inverse = false;  // lit background, dark characters
    // What the page list calls the kind, in Windows-1252: "Due righe", "Grande", ...
    const char* words = "";
};

// The layout of a page kind (PageKindCode); a kind the sign does not know has no body and shows
// nothing.
const PageLayout& pageLayout(std::uint8_t kind);

// Whether the sign knows `kind`: the kinds 1..8, those with a layout of their own.
bool knownKind(std::uint8_t kind);

// Characters a row in `font` holds on a sign whose normal rows hold `rowChars`: the big font is
// twice as wide, so its row holds half as many, rounded down.
int fontChars(SignFont font, int rowChars);

// The width a stored text of `row` has at `rowChars`, padded or cut: the fixed rows. Nothing for
// a text kept as it is (scrolling) or not sent.
std::optional<std::size_t> storedWidth(const RowLayout& row, int rowChars);

// Whether a stored text of `row` loses more than blanks when brought to its width at `rowChars`.
bool cutsText(const RowLayout& row, std::string_view text, int rowChars);

// Width of the single big row of the editor, at the store's row width.
inline int bigRowChars(const Modulo1& state) {
    return fontChars(SignFont::Big, state.RowChars);
}

// Characters of a text of `textLength` that the row sends at a row width of `rowChars`.
std::size_t sentChars(const RowLayout& row, int rowChars, std::size_t textLength);

}  // namespace velora
