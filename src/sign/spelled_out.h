#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "protocol/page_layout.h"

namespace velora {

// Characters a shop's signs need that the sign's fonts cannot show, written out in letters they
// can: prices in euro and storage temperatures. "€" becomes " EUR", "°C" " GRADI", a lone "°"
// " GRADI"; where the row has no room, a shorter form ("EUR", "GRADI", " C", " GR" ...).
struct SpelledOut {
    std::string text;  // Windows-1252, as the model holds texts
    // What was written for what, each once, in the order first met: {"\x80", "EUR"}, {"\xB0C",
    // "GRADI"}. Windows-1252, the written form without its leading blank.
    std::vector<std::pair<std::string, std::string>> written;
};

// `text` (Windows-1252) with what `font` cannot show written out, fitted to `limit` characters
// (0: no limit): blanks at the end of the text give way first, then the forms get shorter, the
// same form for every place in the text. Nothing when the text holds nothing to write out, or
// when no form fits.
std::optional<SpelledOut> spellOut(std::string_view text, SignFont font, std::size_t limit);

}  // namespace velora
