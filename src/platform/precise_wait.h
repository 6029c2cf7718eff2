#pragma once

namespace velora {

// Holds the calling thread for at least `seconds` on the monotonic clock: it sleeps for most of
// the interval and spins only at its end, so it is exact without burning a core.
void preciseWait(double seconds);

}  // namespace velora
