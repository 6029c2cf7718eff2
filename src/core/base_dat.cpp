#include "base_dat.h"

#include "numbers.h"
#include "run_time_error.h"

namespace velora {

std::string baseDatBytes(int rowChars) {
    return ' ' + decimalText(rowChars) + " \r\n";
}

std::optional<std::uint8_t> parseBaseDat(std::string_view contents) {
    if (contents.empty()) return std::nullopt;
    try {
        const std::uint8_t rowChars =
            toUnsignedByte(readNumber(contents.substr(0, contents.find_first_of("\r\n"))));
        if (rowChars == 0) return std::nullopt;
        return rowChars;
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

}  // namespace velora
