#pragma once

#include <string>
#include <utility>

#include "run_time_error.h"
#include "services.h"

namespace velora {

// The common error report of the handlers' error traps: shows the error number, then asks whether
// to quit; exactly "S" or "s" ends the program. `code` arrives cut to its low 16 bits.
void ReportFatalError(Services& services, int code);

// The text of the report for `code` (already cut to 16 bits).
std::string fatalErrorText(int code);

// Runs `body` under an error trap: a run-time error ends the body at that point and is reported
// through ReportFatalError; what the body changed before stays changed.
template <typename Body>
void trapErrors(Services& services, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const RunTimeError& error) {
        ReportFatalError(services, error.code());
    }
}

// An error that reached an event handler without a trap: a plain message naming the error, then
// the program ends.
void reportUntrappedError(Services& services, int code);

}  // namespace velora
