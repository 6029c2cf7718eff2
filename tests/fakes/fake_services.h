#pragma once

#include "core/pacing.h"
#include "core/services.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_program.h"

namespace velora::testing {

// The whole outside world as fakes, ready to hand to a window model.
struct FakeServices {
    FakeDialogs dialogs;
    FakeClock clock;
    FakeFiles files;
    FakeProgram program;
    Services services{dialogs, clock, files, program};

    // The start-up's counting loop timed on the fake clock, without running it: two readings,
    // `clock.autoAdvance` apart.
    LoopTimingSource loopTiming() {
        return [this] { return LoopTiming{clock.monotonicSeconds(), clock.monotonicSeconds()}; };
    }
};

}  // namespace velora::testing
