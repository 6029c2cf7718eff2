#include "sign_codes.h"

namespace velora {

std::uint8_t CodiceNormale(std::uint8_t c) {
    // The accented letters sit in the slots the font has past "~"; the euro sign borrows é.
    switch (c) {
        case 0xE0:
            return 0x5E;
        case 0xE8:
            return 0x5F;
        case 0xE9:
            return 0x5C;
        case 0xEC:
            return 0x61;
        case 0xF2:
            return 0x62;
        case 0xF9:
            return 0x63;
        case 0x80:
            return 0x5C;
        default:
            break;
    }
    if (c >= 0x20 && c <= 0x83) return static_cast<std::uint8_t>(c - 0x20);
    return 0x00;
}

std::uint8_t CodiceGrande(std::uint8_t c) {
    if (c >= 0x61 && c <= 0x7A) c = static_cast<std::uint8_t>(c - 0x20);
    if (c == 0x27) return 0x14;
    if (c < 0x28 || c > 0x5A) return 0x00;
    // The big font has no Y: it shows V, and Z closes up over the gap.
    if (c == 0x59) return 0x35;
    if (c == 0x5A) c = 0x59;
    if (c >= 0x41) return static_cast<std::uint8_t>(c - 0x21);
    if (c <= 0x3F) return static_cast<std::uint8_t>(c - 0x27);
    return c;
}

}  // namespace velora
