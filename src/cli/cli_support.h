#pragma once

#include <string>

#include "core/modulo1.h"

namespace velora {

// What every command of velora-cli shares: the exit codes, the one usage text and the reading of
// a sequence file, so that no command reads more, or answers differently, than the others.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitNoLink = 2;
constexpr int kExitUsage = 64;

extern const char* const kUsage;

// Names what was wrong with the command line, then the usage text, on standard error.
int usage(const std::string& problem);

// Reads the sequence file at `path` (the system's own bytes of the name) into `state` as the
// program opens one; false, with the reason and the file's name on standard error, when the file
// is missing, not a file, unreadable, malformed or larger than the program itself would open.
bool loadSequence(const std::string& path, Modulo1& state);

}  // namespace velora
