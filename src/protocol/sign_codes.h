#pragma once

#include <cstdint>

namespace velora {

// The sign knows no text: each character travels as an index into one of its two fonts. Both
// translations take the character's Windows-1252 byte. The tables are part of the wire format.

// Index in the normal font (100 glyphs, 0x00..0x63) of the two small rows.
std::uint8_t CodiceNormale(std::uint8_t c);

// Index in the big font (0x01..0x18 and 0x20..0x38) of the single big row. The at sign stays
// 0x40, outside both ranges: the sign has always been sent that byte for it.
std::uint8_t CodiceGrande(std::uint8_t c);

}  // namespace velora
