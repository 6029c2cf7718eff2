#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velora::windows1252 {

// Texts in the model are Windows-1252 bytes, one byte a character. These convert at the edges:
// a character that Windows-1252 cannot hold becomes "?", exactly as the sign would receive it.
std::string fromUtf8(std::string_view utf8);
std::string toUtf8(std::string_view bytes);

// A file's name, the system's bytes, as the user reads it: UTF-8 where it is UTF-8, and any
// other byte taken as itself, so that a name written in Latin-1 by an older system shows as it
// was meant ("caf\xE9.inf" and "caf\xC3\xA9.inf" both show "caf\xE9.inf").
std::string fromFileName(std::string_view name);

// The length of the well-formed UTF-8 sequence of two or more bytes at `at`, 0 when there is
// none (ASCII, a stray byte, an overlong form, a cut sequence); its character in `character`.
std::size_t multiByteAt(std::string_view text, std::size_t at, char32_t& character);

// The same for single Unicode code points.
char fromCodePoint(char32_t codePoint);
char32_t toCodePoint(char byte);

}  // namespace velora::windows1252
