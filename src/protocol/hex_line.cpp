#include "hex_line.h"

namespace velora {

std::string hexLine(std::span<const std::uint8_t> bytes, std::size_t shown) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    const std::size_t written = bytes.size() < shown ? bytes.size() : shown;
    text.reserve(written * 3);
    for (std::size_t i = 0; i < written; ++i) {
        if (i > 0) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    if (bytes.size() > written) text += " ... (" + std::to_string(bytes.size()) + " byte)";
    return text;
}

}  // namespace velora
