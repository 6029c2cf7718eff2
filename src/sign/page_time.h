#pragma once

#include <cstddef>
#include <cstdint>

#include "core/modulo1.h"

namespace velora {

// How long the sign keeps a page: its scrolling row runs through once, one character every
// kScrollStepSeconds and then the blanks that run it out, and the page stands for its whole pause.
// The preview's shorter waits and the page list's time of one pass are both worked out from here.

// Steps the scrolling row of a page of `kind` takes, given the characters of the sign's row 1 and
// row 2 (for a big page, its one row in row 1); 0 when nothing scrolls.
int scrollSteps(std::uint8_t kind, std::size_t row1Chars, std::size_t row2Chars);

// Seconds the sign holds a page of `pause` once it has scrolled: the whole pause, at least a
// second (a pause of 0 only comes from a file; the pause list starts at 1).
double signPauseSeconds(int pause);

// Seconds the scrolling row of the page in `slot` takes to run through once.
double scrollSeconds(const Modulo1& state, int slot);

// Seconds the sign shows the page in `slot`: its scrolling, then its pause.
double signPageSeconds(const Modulo1& state, int slot);

}  // namespace velora
