#pragma once

#include "clock.h"
#include "dialogs.h"
#include "files.h"
#include "program.h"

namespace velora {

// The outside world as the window models reach it. The desktop program passes Qt implementations,
// tests pass fakes.
struct Services {
    Dialogs& dialogs;
    Clock& clock;
    Files& files;
    Program& program;
};

}  // namespace velora
