#pragma once

#include <string>
#include <string_view>

namespace velora::windows1252 {

// Texts in the model are Windows-1252 bytes, one byte a character. These convert at the edges:
// a character that Windows-1252 cannot hold becomes "?", exactly as the sign would receive it.
std::string fromUtf8(std::string_view utf8);
std::string toUtf8(std::string_view bytes);

// The same for single Unicode code points.
char fromCodePoint(char32_t codePoint);
char32_t toCodePoint(char byte);

}  // namespace velora::windows1252
