#pragma once

#include <cstddef>
#include <limits>
#include <vector>

#include "core/modulo1.h"
#include "sequence_file.h"

namespace velora {

// A page made for another row width, brought to `rowChars`: fixed rows padded with blanks or cut,
// every scrolling text, a big one's included, cut to `scrollingLimit` characters, a big page's
// text in both columns. Answers whether text other than blanks was cut (the fixed rows' and the
// scrolling rows' apart).
struct FitCuts {
    bool fixed = false;
    bool scrolling = false;
};
FitCuts fitToWidth(SequenceRecord& page, int rowChars,
                   std::size_t scrollingLimit = static_cast<std::size_t>(kScrollingLimit));

// Scrolling texts kept whole: a sign scrolls a text of any length, whatever its width.
inline constexpr std::size_t kWholeScrollingText = std::numeric_limits<std::size_t>::max();

// Brings the sequence in `sequence` (slots 1..PageCount) to a sign whose fixed rows hold
// `rowChars` characters, page by page as fitToWidth does, scrolling texts kept whole, and sets
// its row width. Answers the pages, numbered from 1 as the selector shows them, whose fixed rows
// held more than blanks beyond the new width: when there are any, what `sequence` now holds has
// lost text and must not reach the sign.
std::vector<int> bringToWidth(Modulo1& sequence, int rowChars);

}  // namespace velora
