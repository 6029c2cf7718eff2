#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "led_font.h"

namespace velora {

// A character the sign shows differently from the way it was typed. Both sides are UTF-8;
// `shown` is "spazio" for a blank and "vuoto" for an index the font has no glyph for.
struct Substitution {
    std::string typed;
    std::string shown;

    bool operator==(const Substitution&) const = default;
};

// The characters of `typedUtf8` that a row in `font` shows differently, each pair once, in the
// order first met. A character Windows-1252 cannot hold reaches the sign as "?".
std::vector<Substitution> substitutions(std::string_view typedUtf8, SignFont font);

// The same for a page of `kind` as the editor holds it: the rows the page sends, each cut to
// the characters it sends (a fixed row `rowChars`, a big fixed row half of it); info rows send
// nothing and are left out.
std::vector<Substitution> pageSubstitutions(std::uint8_t kind, std::string_view row1Utf8,
                                            std::string_view row2Utf8, int rowChars);

// "€ → é  ° → spazio", or empty when the sign shows everything as typed. Small letters shown as
// capitals are named once, as "minuscole → MAIUSCOLE", where the first of them is met.
std::string substitutionLine(const std::vector<Substitution>& found);

// The characters of a page of `kind` that its fixed rows cannot show, blanks at their ends
// aside: those past `rowChars` (past half of it for a big fixed row).
std::size_t charactersBeyondWidth(std::uint8_t kind, std::string_view row1Utf8,
                                  std::string_view row2Utf8, int rowChars);

// The LED view's warning line for a page: what the sign shows differently, then what falls
// beyond its width ("oltre la larghezza: 3 caratteri").
std::string pageWarningLine(std::uint8_t kind, std::string_view row1Utf8, std::string_view row2Utf8,
                            int rowChars);

}  // namespace velora
