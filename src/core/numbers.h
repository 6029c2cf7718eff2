#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velora {

// Lenient reading of a number from text, as captions, BASE.dat and the pause list are read:
// blanks are ignored anywhere, the longest leading decimal number is taken (sign, digits, one
// decimal point, an exponent), and text without one reads as 0.
double readNumber(std::string_view text);

// Conversion to an unsigned 8-bit value: nearest whole number, halves to the even neighbour;
// a result outside 0..255 fails with overflow (6).
std::uint8_t toUnsignedByte(double value);

// The same conversion from text: the text, blanks aside, must be a decimal number as a whole,
// otherwise it fails with type mismatch (13). Used where the program converts a text that the
// user typed freely, such as the pause list.
std::uint8_t toUnsignedByte(std::string_view text);

// A whole number as text, plain decimal with a minus sign where needed and no leading blank.
std::string decimalText(long long value);

}  // namespace velora
