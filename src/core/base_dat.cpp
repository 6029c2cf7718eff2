#include "base_dat.h"

#include "numbers.h"

namespace velora {

std::string baseDatBytes(int rowChars) {
    return ' ' + decimalText(rowChars) + " \r\n";
}

std::optional<std::uint8_t> parseBaseDat(std::string_view contents) {
    if (contents.empty()) return std::nullopt;
    const double width = readNumber(contents.substr(0, contents.find_first_of("\r\n")));
    // Only what the settings window writes: three characters for each of 3 to 8 boards. A
    // board count typed by hand ("8"), a fraction or a single character would give rows no sign
    // has.
    for (int boards = kFewestBoards; boards <= kMostBoards; ++boards) {
        if (width == boards * kRowCharsPerBoard)
            return static_cast<std::uint8_t>(boards * kRowCharsPerBoard);
    }
    return std::nullopt;
}

}  // namespace velora
