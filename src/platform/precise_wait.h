#pragma once

namespace velora {

// Holds the calling thread for at least `seconds` on the monotonic clock, counted from the
// moment of the call (the moment the byte before it was written). The thread sleeps to a little
// before that deadline and spins the last few tens of microseconds, so that a gap of 2 ms takes
// little more than 2 ms while pacing a long upload costs a few per cent of a core at most.
void preciseWait(double seconds);

}  // namespace velora
