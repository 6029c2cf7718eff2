#pragma once

#include <string>

#include "core/clock.h"
#include "led_font.h"
#include "protocol/page_record.h"

namespace velora {

// What a row shows, as text (UTF-8): each index by the name of its glyph, a blank or an index
// without a glyph as a blank, trailing blanks dropped. An info row shows `clock`.
std::string rowShows(const SignRow& row, const DateTime& clock);

// What the sign shows on this page, in words, for a screen reader: "Riga 1: «CIAO». Riga 2,
// scorrevole: «éuro»."
std::string describeSignPage(const SignPage& page, const DateTime& clock);

}  // namespace velora
