#pragma once

#include <string>

#include "core/modulo1.h"

namespace velora {

// Reads a ".inf" sequence (a header line with the page count and the row width, then two lines
// per page: kind, quoted text, pause) into the page store. Returns false for a file that is
// malformed, ends inside a page, or holds more pages than the store has slots.
bool readSequence(const std::string& bytes, Modulo1& state);

}  // namespace velora
