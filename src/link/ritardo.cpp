#include "ritardo.h"

#include "core/pacing.h"

namespace velora {

void Ritardo(Clock& clock) {
    clock.wait(kPacingInterval);
}

}  // namespace velora
