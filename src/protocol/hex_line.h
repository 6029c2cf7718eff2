#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

namespace velora {

// Bytes of the line as people read them: two-digit upper-case hex, one blank between, such as
// "D4 C8". When there are more than `shown`, the first `shown` are written and then how many
// there were: "DE 05 ... (300 byte)". The journal, `velora-cli dump` and the window all write
// bytes this way, so that their lines compare as text.
std::string hexLine(std::span<const std::uint8_t> bytes,
                    std::size_t shown = std::numeric_limits<std::size_t>::max());

}  // namespace velora
