#pragma once

namespace velora {

// Holds the calling thread for at least `seconds` on the monotonic clock, counted from the
// moment of the call (the moment the byte before it was written): the thread sleeps to that
// deadline rather than spinning, so pacing a long upload costs next to no processor time.
void preciseWait(double seconds);

}  // namespace velora
