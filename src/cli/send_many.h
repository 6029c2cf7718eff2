#pragma once

#include <string>
#include <vector>

#include "link/send_to_signs.h"

namespace velora {

// velora-cli send FILE.inf --sign A --sign B (or --all-signs): the sequence to each sign in turn.
// Prints a line for each sign as its turn ends: name, port, outcome and, when it did not go
// well, the reason, separated by tabs. `log`, when not empty, receives the journal of every
// exchange, a section for each sign. Exit code 0 when every sign confirmed, 1 for a file that
// cannot be read, 2 for anything else.
int sendToMany(const std::string& path, const std::vector<SignTarget>& targets,
               const std::string& log);

// The same to the program's signs of those names, in that order, or to every sign when `names`
// is empty. A name that is no sign is a usage error, and nothing is sent.
int sendToNamedSigns(const std::string& path, const std::vector<std::string>& names,
                     const std::string& log);

}  // namespace velora
