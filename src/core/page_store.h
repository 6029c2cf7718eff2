#pragma once

#include <cstdint>
#include <string>

#include "modulo1.h"

namespace velora {

// The operations on the four parallel page tables of Modulo1 (row 1, row 2, kind, pause), so that
// a slot always moves or empties as one. Slot numbers are those of the tables, 0..kLastSlot.

// Moves slots from..to-1 one place up, into from+1..to, the highest first; slot `from` keeps
// what it held. Nothing moves into slot 0 or below.
void movePagesUp(Modulo1& state, int from, int to);

// Moves slots from+1..to+1 one place down, into from..to. Past the last slot an empty slot
// (never stored, pause 0) comes in, so a full store ends with an empty last slot.
void movePagesDown(Modulo1& state, int from, int to);

// Puts one page into a slot, its two texts, kind and pause together. A slot outside the tables
// is left alone.
void putPage(Modulo1& state, int slot, std::uint8_t kind, const std::string& row1,
             const std::string& row2, std::uint8_t pause);

// Empties the two texts of a slot; its kind and pause stay. A slot outside the tables (the
// new-page slot of a full store) is left alone.
void clearPageTexts(Modulo1& state, int slot);

// Empties slots first..last whole: no texts, never stored, pause 0.
void clearPages(Modulo1& state, int first, int last);

// Empties slots first..kLastSlot: no texts, and `kind` and `pause` in each.
void clearPagesFrom(Modulo1& state, int first, std::uint8_t kind, std::uint8_t pause);

}  // namespace velora
